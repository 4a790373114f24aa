// The 36 menu commands of the plug-in: export name, registry key, the GUID under
// which the host keeps the last-used values, the About flag, the resource id of
// the command's PiPL and AETE, and its short name ("Ravo " + short name + "..." is
// the menu item).
#pragma once

#include <cstddef>
#include <cstdint>

struct EntryPoint {
    const char* exportName;
    const char* registryKey;
    const char* descriptorKey;
    bool showAbout;
    int16_t resourceId;
    const char* shortName;
};

inline constexpr size_t kEntryCount = 36;
inline constexpr int16_t kFirstResourceId = 16000;

// In resource id order (16000 .. 16035).
extern const EntryPoint kEntryPoints[kEntryCount];

// The entry with this export name, registry key or resource id; null if none.
const EntryPoint* findEntryByExport(const char* exportName);
const EntryPoint* findEntryByKey(const char* registryKey);
