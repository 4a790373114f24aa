// The spine of the plug-in: one call of an entry point, bound to its effect,
// dispatched by selector; the parameter synchronisation; the filter run.
#pragma once

#include <cstdint>

#include "fx/effect.h"
#include "host/entry_table.h"
#include "host/plugin_call.h"

// What every exported entry point does.
void pluginMain(const EntryPoint& entry, int16_t selector, void* record, intptr_t* data, int16_t* result);

// The cached instance for a key, created on first use; null when the key is not registered.
Effect* findOrCreateEffect(const char* key);
void dispatch(PluginCall& call, int16_t selector);
void syncParameters(PluginCall& call);
void runFilter(PluginCall& call);

// The private record the host keeps for the plug-in between calls of one run.
namespace private_record {
constexpr int32_t kSize = 16;
// Byte 0: show the parameter dialog at the next start.
constexpr int32_t kShowDialogOffset = 0;
}  // namespace private_record

// Process-wide state, exposed for the tests of the stand-in host and the spine.
namespace plugin_state {
uint32_t callCount();
// Forgets the cached host verdict and the call count (tests only).
void resetForTests();
}  // namespace plugin_state
