// Output names for a run over many inputs, from a folder or a pattern.
#include "editor/output_naming.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "editor/effect_description.h"
#include "editor/same_file.h"

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
    for (size_t i = 0; i < outputs.size(); ++i) {
        for (const std::string& input : inputs)
            if (sameFile(outputs[i], input))
                throw UsageError("the output \"" + outputs[i] + "\" of \"" + inputs[i] + "\" is the input \"" + input +
                                 "\"; choose another --out");
        for (size_t j = 0; j < i; ++j)
            if (outputs[j] == outputs[i] || sameFile(outputs[j], outputs[i]))
                throw UsageError("\"" + inputs[j] + "\" and \"" + inputs[i] + "\" would both write \"" + outputs[i] +
                                 "\"; choose an --out pattern that tells them apart");
    }
}

}  // namespace editor
