#include "editor/same_file.h"

#include <cwctype>
#include <filesystem>

#include "editor/whole_file.h"

namespace editor {

namespace fs = std::filesystem;

namespace {

// The path as the system would resolve it, as far as it exists.
fs::path normalised(const std::string& path) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
    if (error) resolved = fs::absolute(path, error).lexically_normal();
    return resolved;
}

}  // namespace

bool sameFile(const std::string& a, const std::string& b) {
    const bool aMissing = nothingAt(a), bMissing = nothingAt(b);
    if (aMissing != bMissing) return false;
    std::error_code error;
    if (!aMissing) {
        const bool same = fs::equivalent(a, b, error);
        if (!error) return same;
    }
#ifdef _WIN32
    std::wstring x = normalised(a).wstring(), y = normalised(b).wstring();
    for (wchar_t& c : x) c = wchar_t(std::towlower(c));
    for (wchar_t& c : y) c = wchar_t(std::towlower(c));
    return x == y;
#else
    return normalised(a) == normalised(b);
#endif
}

}  // namespace editor
