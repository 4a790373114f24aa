#include "host/ps_host.h"

#include <cstdio>
#include <cstring>

#include "host/host_resources.h"

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

char pluginFilePath[ps::kMaxPathLength] = {};

}  // namespace

namespace plugin_path {

void fetch(const PluginCall& call) {
    AcquiredSuite<ps::SPPluginsSuite4> plugins(call.basicSuite(), ps::kSPPluginsSuite, ps::kSPPluginsSuiteVersion4);
    if (!plugins || !plugins->GetPluginFileSpecification) return;
    ps::SPPlatformFileSpecification fileSpec;
    std::memset(&fileSpec, 0, sizeof fileSpec);
    if (plugins->GetPluginFileSpecification(static_cast<ps::SPPluginRef>(call.plugInRef()), &fileSpec) != ps::kSPNoError)
        return;
    // A path that fills the whole buffer without its terminator was cut by the host: refuse it.
    if (!std::memchr(fileSpec.path, 0, sizeof fileSpec.path)) return;
    std::memcpy(pluginFilePath, fileSpec.path, sizeof pluginFilePath);
}

const char* get() { return pluginFilePath; }

bool set(const char* path) {
    if (std::strlen(path) >= sizeof pluginFilePath) return false;
    std::strcpy(pluginFilePath, path);
    return true;
}

}  // namespace plugin_path

bool PS_Host::resourcePath(const char*, const char* folder, const char* fileName, char* out) {
    out[0] = '\0';
    const char* path = plugin_path::get();
    const char* cut = std::strrchr(path, kSeparator);
    if (!cut) return false;
    const int folderLength = int(cut - path);
    const int written = std::snprintf(out, kPathSize, "%.*s%c%s%c%s", folderLength, path, kSeparator, folder,
                                      kSeparator, fileName ? fileName : "");
    if (written < 0 || size_t(written) >= kPathSize) {
        out[0] = '\0';
        return false;
    }
    return true;
}

PS_Host& PS_Host::instance() {
    static PS_Host host;
    return host;
}
