// The options of `ravo apply` and `ravo dialog`, read from the command line.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/filter_host.h"
#include "editor/picture_file.h"

namespace cli {

struct ApplyOptions {
    std::string filter, input, output;
    std::vector<std::string> settings;
    std::string preset, savePreset, registry;
    int32_t tileHeight = 256, tileWidth = 256;
    std::optional<std::array<int32_t, 4>> rect;
    int depth = 0;
    uint64_t maxPixels = editor::kDefaultPixelLimit;
    editor::Compression compression = editor::Compression::fast;
    // Threads that compress the output (TIFF's strips); 0: one per core, or the cores shared
    // among the files of a run over many.
    unsigned threads = 0;
    editor::FaultPlan faults;
    // dialog: the script that plays the person at the dialog, and a picture of the dialog as
    // it opens. Without a script the dialog is answered with OK.
    bool dialog = false;
    std::string script, snapshot;

    // No progress display, even on a terminal.
    bool quiet = false;
    // Progress as "progress DONE TOTAL" lines on the error output, for the run that started
    // this one over many files.
    bool progressLines = false;

    // Many files: INPUT... --out DIR or --out PATTERN, in the input's format or --format's,
    // `jobs` files at once (0: one per core).
    std::vector<std::string> inputs;
    std::string out;
    std::optional<editor::FileFormat> format;
    unsigned jobs = 0;
    // The options each file's own run takes: all but the positionals and those above.
    std::vector<std::string> perFileOptions;

    bool isBatch() const { return !out.empty(); }
};

// Throws editor::UsageError naming what is wrong.
ApplyOptions parseApply(const std::vector<std::string>& args, bool dialog);

}  // namespace cli
