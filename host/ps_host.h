// The framework's host on this plug-in interface: resource folders beside the
// plug-in file, whose path the host reports once per process.
#pragma once

#include "fx/host.h"
#include "host/plugin_call.h"

class PS_Host : public fx::Host {
public:
    bool resourcePath(const char* group, const char* folder, const char* fileName, char* out) override;
    static PS_Host& instance();
};

namespace plugin_path {
// Asks the host's plug-ins suite for the full path of this plug-in file; kept for the process
// once it is known.
void fetch(const PluginCall& call);
// The path, empty when unknown (the host gave none, or a path that does not fit its 300 bytes).
const char* get();
// Sets the path directly (tests); false when it does not fit.
bool set(const char* path);
}  // namespace plugin_path
