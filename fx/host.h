// The framework's view of its host: where resource files beside the plug-in file are.
#pragma once

#include <cstddef>

namespace fx {

class Host {
public:
    // Size of every path buffer handed to resourcePath.
    static constexpr size_t kPathSize = 300;

    Host();
    virtual ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Writes into out (kPathSize bytes) the full path of fileName in the resource folder
    // beside the plug-in file; with a null fileName, the folder itself with a trailing
    // separator. Returns false (out empty) when the path does not fit.
    virtual bool resourcePath(const char* group, const char* folder, const char* fileName, char* out) = 0;

    // The process-wide host: the one made last that still exists, or null before one exists.
    static Host* instance();

private:
    static Host* current_;
    Host* previous_;
};

}  // namespace fx
