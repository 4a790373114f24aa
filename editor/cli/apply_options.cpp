// Reading apply's and dialog's options from the command line.
#include "editor/cli/apply_options.h"

#include <cstdlib>

#include "editor/effect_description.h"
#include "editor/output_naming.h"

namespace cli {

namespace {

using editor::UsageError;

uint32_t parseCount(const std::string& option, const std::string& text) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end || value == 0 || value > 0x7fffffff)
        throw UsageError(option + " needs a whole number of at least 1, got \"" + text + "\"");
    return uint32_t(value);
}

std::vector<int32_t> parseInts(const std::string& option, const std::string& text, char separator, size_t count) {
    std::vector<int32_t> values;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        const std::string part = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        char* stop = nullptr;
        const long value = std::strtol(part.c_str(), &stop, 10);
        if (part.empty() || *stop || value < 0 || value > 1000000000) {
            values.clear();
            break;
        }
        values.push_back(int32_t(value));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (values.size() != count)
        throw UsageError(option + " needs " + std::to_string(count) + " whole numbers separated by '" +
                         std::string(1, separator) + "', got \"" + text + "\"");
    return values;
}

// The positionals: FILTER INPUT OUTPUT, FILTER INPUT [OUTPUT] for the dialog, or
// FILTER INPUT... with --out.
void takePositionals(ApplyOptions& options, const std::vector<std::string>& positional, bool formatGiven, bool jobsGiven) {
    if (options.dialog) {
        if (options.isBatch() || formatGiven || jobsGiven)
            throw UsageError("dialog takes one INPUT; --out, --format and -j are apply's");
        if (positional.size() != 2 && positional.size() != 3) throw UsageError("dialog needs FILTER INPUT [OUTPUT]");
        if (positional[1].empty() || (positional.size() == 3 && positional[2].empty()))
            throw UsageError("dialog needs file names for INPUT and OUTPUT");
    } else if (options.isBatch()) {
        if (positional.size() < 2) throw UsageError("apply --out needs FILTER INPUT...");
        for (size_t i = 1; i < positional.size(); ++i)
            if (positional[i].empty()) throw UsageError("apply needs file names for its inputs, got \"\"");
        if (!options.savePreset.empty() || !options.registry.empty())
            throw UsageError("--save-preset and --registry go with one INPUT OUTPUT, not with --out");
        options.filter = positional[0];
        options.inputs.assign(positional.begin() + 1, positional.end());
        return;
    } else {
        if (formatGiven || jobsGiven) throw UsageError("--format and -j go with --out");
        if (positional.size() != 3) throw UsageError("apply needs FILTER INPUT OUTPUT, or FILTER INPUT... --out DIR");
        if (positional[1].empty() || positional[2].empty()) throw UsageError("apply needs file names for INPUT and OUTPUT");
    }
    options.filter = positional[0];
    options.input = positional[1];
    if (positional.size() == 3) options.output = positional[2];
}

}  // namespace

ApplyOptions parseApply(const std::vector<std::string>& args, bool dialog) {
    ApplyOptions options;
    options.dialog = dialog;
    std::vector<std::string> positional;
    bool formatGiven = false, jobsGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const size_t optionStart = i;
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
            return args[++i];
        };
        // An empty file name is refused rather than taken as "no file".
        auto fileName = [&]() -> const std::string& {
            const std::string& name = value();
            if (name.empty()) throw UsageError(arg + " needs a file name, got \"\"");
            return name;
        };
        bool perFile = true;
        if (arg == "--set") options.settings.push_back(value());
        else if (arg == "--preset") options.preset = fileName();
        else if (arg == "--save-preset") options.savePreset = fileName();
        else if (arg == "--registry") options.registry = fileName();
        else if (dialog && arg == "--script") options.script = fileName();
        else if (dialog && arg == "--snapshot") options.snapshot = fileName();
        else if (arg == "--tile") {
            const std::vector<int32_t> size = parseInts(arg, value(), 'x', 2);
            if (size[0] < 1 || size[1] < 1 || size[0] > 32767 || size[1] > 32767)
                throw UsageError("--tile needs HxW with each side from 1 to 32767");
            options.tileHeight = size[0];
            options.tileWidth = size[1];
        } else if (arg == "--rect") {
            const std::vector<int32_t> r = parseInts(arg, value(), ',', 4);
            options.rect = std::array<int32_t, 4>{r[0], r[1], r[2], r[3]};
        } else if (arg == "--depth") {
            const std::string& depth = value();
            if (depth != "8" && depth != "16") throw UsageError("--depth takes 8 or 16, got \"" + depth + "\"");
            options.depth = std::stoi(depth);
        } else if (arg == "--max-pixels") {
            const std::string& text = value();
            const bool digits = !text.empty() && text.size() <= 10 && text.find_first_not_of("0123456789") == text.npos;
            const uint64_t pixels = digits ? std::stoull(text) : 0;
            if (pixels == 0 || pixels > editor::kMaxPicturePixels)
                throw UsageError("--max-pixels needs a whole number from 1 to " +
                                 std::to_string(editor::kMaxPicturePixels) + ", got \"" + text + "\"");
            options.maxPixels = pixels;
        } else if (arg == "--compression") {
            const std::string& name = value();
            const std::optional<editor::Compression> compression = editor::compressionNamed(name);
            if (!compression) throw UsageError("--compression takes fast, default or best, got \"" + name + "\"");
            options.compression = *compression;
        } else if (arg == "--threads") {
            options.threads = parseCount(arg, value());
        } else if (arg == "--withhold") options.faults.withheldSuites.insert(value());
        else if (arg == "--fail-buffer") options.faults.failBufferAllocation = parseCount(arg, value());
        else if (arg == "--fail-handle") options.faults.failHandleAllocation = parseCount(arg, value());
        else if (arg == "--abort-at-tile") options.faults.abortFromTile = parseCount(arg, value());
        else if (arg == "--progress-lines") options.progressLines = true;
        else {
            perFile = false;
            if (arg == "--quiet") options.quiet = true;
            else if (arg == "--out") {
                options.out = value();
                if (options.out.empty()) throw UsageError("--out needs a folder or a pattern, got \"\"");
            } else if (arg == "--format") {
                options.format = editor::formatNamed(value());
                formatGiven = true;
            } else if (arg == "-j" || arg == "--jobs") {
                options.jobs = parseCount(arg, value());
                jobsGiven = true;
            } else if (arg.size() > 2 && arg.compare(0, 2, "-j") == 0 &&
                       arg.find_first_not_of("0123456789", 2) == std::string::npos) {
                options.jobs = parseCount("-j", arg.substr(2));
                jobsGiven = true;
            } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') throw UsageError("unknown option " + arg);
            else positional.push_back(arg);
        }
        if (perFile) options.perFileOptions.insert(options.perFileOptions.end(), args.begin() + optionStart, args.begin() + i + 1);
    }
    takePositionals(options, positional, formatGiven, jobsGiven);
    return options;
}

}  // namespace cli
