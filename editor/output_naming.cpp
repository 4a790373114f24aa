// Output names for a run over many inputs, from a folder or a pattern.
#include "editor/output_naming.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <unordered_map>

#include "editor/effect_description.h"
#include "editor/same_file.h"
#include "editor/whole_file.h"

namespace editor {

namespace {

namespace fs = std::filesystem;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

const char* extensionOf(FileFormat format) {
    switch (format) {
        case FileFormat::png: return "png";
        case FileFormat::tiff: return "tif";
        case FileFormat::jpeg: return "jpg";
    }
    return "";
}

// The {ext} of one input: the format's extension, or the input's own when it names a
// format this host writes.
std::string outputExtension(const std::string& input, std::optional<FileFormat> format) {
    if (format) return extensionOf(*format);
    const std::string extension = fs::path(input).extension().string();
    try {
        outputFormatFor(input);
    } catch (const FileError&) {
        throw UsageError("cannot tell the format of \"" + input +
                         "\" from its name (.png, .tif, .tiff, .jpg, .jpeg); give --format");
    }
    return extension.substr(1);
}

std::string expand(const std::string& pattern, const std::string& input, std::optional<FileFormat> format) {
    std::string name;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if ((c == '{' || c == '}') && i + 1 < pattern.size() && pattern[i + 1] == c) {
            name += c;
            ++i;
            continue;
        }
        if (c == '}') throw UsageError("--out \"" + pattern + "\" has a '}' without its '{'; write }} for a brace");
        if (c != '{') {
            name += c;
            continue;
        }
        const size_t close = pattern.find('}', i);
        if (close == std::string::npos)
            throw UsageError("--out \"" + pattern + "\" has a '{' without its '}'; write {{ for a brace");
        const std::string field = pattern.substr(i + 1, close - i - 1);
        if (field == "name") name += fs::path(input).stem().string();
        else if (field == "ext") name += outputExtension(input, format);
        else throw UsageError("--out \"" + pattern + "\" has an unknown field {" + field + "}; fields: {name}, {ext}");
        i = close;
    }
    return name;
}

// What two paths naming one file always share: the size and time of an existing file,
// the normalised name (in lower case, as some systems compare names) of a missing one.
std::string candidateKey(const std::string& path) {
    std::error_code error;
    if (!nothingAt(path)) {
        const uintmax_t size = fs::file_size(path, error);
        const auto time = fs::last_write_time(path, error);
        return error ? "?" : "=" + std::to_string(size) + ":" + std::to_string(time.time_since_epoch().count());
    }
    fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
    if (error) resolved = fs::absolute(path, error).lexically_normal();
    return "-" + lowerCase(resolved.string());
}

}  // namespace

FileFormat formatNamed(const std::string& name) {
    const std::string lower = lowerCase(name);
    if (lower == "png") return FileFormat::png;
    if (lower == "tif" || lower == "tiff") return FileFormat::tiff;
    if (lower == "jpg" || lower == "jpeg") return FileFormat::jpeg;
    throw UsageError("--format takes png, tif, tiff, jpg or jpeg, got \"" + name + "\"");
}

std::vector<std::string> outputNames(const std::vector<std::string>& inputs, const std::string& out,
                                     std::optional<FileFormat> format) {
    const bool isPattern = out.find_first_of("{}") != std::string::npos;
    const std::string pattern = isPattern ? out : (fs::path(out) / "{name}.{ext}").string();
    std::vector<std::string> outputs;
    outputs.reserve(inputs.size());
    for (const std::string& input : inputs) outputs.push_back(expand(pattern, input, format));
    return outputs;
}

void checkOutputsDistinct(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs) {
    // Only paths that share a key can name one file, so each is compared with few others
    // even in a run over thousands of files.
    std::unordered_map<std::string, std::vector<size_t>> inputsByKey, outputsByKey;
    for (size_t i = 0; i < inputs.size(); ++i) inputsByKey[candidateKey(inputs[i])].push_back(i);
    for (size_t i = 0; i < outputs.size(); ++i) {
        const std::string key = candidateKey(outputs[i]);
        if (const auto found = inputsByKey.find(key); found != inputsByKey.end())
            for (const size_t j : found->second)
                if (sameFile(outputs[i], inputs[j]))
                    throw UsageError("the output \"" + outputs[i] + "\" of \"" + inputs[i] + "\" is the input \"" +
                                     inputs[j] + "\"; choose another --out");
        std::vector<size_t>& earlier = outputsByKey[key];
        for (const size_t j : earlier)
            if (outputs[j] == outputs[i] || sameFile(outputs[j], outputs[i]))
                throw UsageError("\"" + inputs[j] + "\" and \"" + inputs[i] + "\" would both write \"" + outputs[i] +
                                 "\"; choose an --out pattern that tells them apart");
        earlier.push_back(i);
    }
}

}  // namespace editor
