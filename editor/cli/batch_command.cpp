// `ravo apply FILTER INPUT... --out DIR|PATTERN`: many pictures through one filter.
//
// Every name, option and value is checked before anything runs. Then each picture
// is filtered by a run of this same program of its own (`ravo apply FILTER INPUT
// OUTPUT` with the per-file options), up to -j at once: no two pictures share a
// plug-in instance, a document or a failure. A failed file's messages are printed
// with its name and the others go on; the exit status is that of the first file
// (in the order given) that failed, 0 when none did. The cores are shared among the
// runs: each compresses its output on cores / -j threads (at least one) unless --threads
// names a number for all of them.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "editor/child_process.h"
#include "editor/cli/commands.h"
#include "editor/cli/exit_status.h"
#include "editor/cli/progress_display.h"
#include "editor/output_naming.h"
#include "editor/program_path.h"
#include "editor/replacing_file.h"

namespace cli {

namespace {

using namespace editor;

// Reads "progress DONE TOTAL", the line a file's run reports its tiles with.
bool parseProgress(const std::string& line, int32_t& done, int32_t& total) {
    int consumed = 0;
    return std::sscanf(line.c_str(), "progress %d %d%n", &done, &total, &consumed) == 2 &&
           size_t(consumed) == line.size();
}

class BatchRun {
public:
    BatchRun(const ApplyOptions& options, std::vector<std::string> outputs)
        : options_(options),
          outputs_(std::move(outputs)),
          statuses_(outputs_.size(), kDone),
          display_(outputs_.size(), !options.quiet && isatty(STDERR_FILENO)) {}

    int run() {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        const size_t jobs = std::min<size_t>(options_.jobs ? options_.jobs : cores, outputs_.size());
        // Each file's run compresses on its share of the cores, unless --threads says otherwise.
        if (!options_.threads) threadsOption_ = std::to_string(std::max<size_t>(1, cores / jobs));
        std::vector<std::thread> workers;
        for (size_t i = 1; i < jobs; ++i) workers.emplace_back([this] { work(); });
        work();
        for (std::thread& worker : workers) worker.join();
        return report();
    }

private:
    void work() {
        for (size_t file; (file = next_++) < outputs_.size();) {
            statuses_[file] = runFile(file);
            display_.fileDone();
        }
    }

    int runFile(size_t file) {
        const std::string& input = options_.inputs[file];
        std::vector<std::string> arguments = {"apply", options_.filter, input, outputs_[file]};
        arguments.insert(arguments.end(), options_.perFileOptions.begin(), options_.perFileOptions.end());
        if (!threadsOption_.empty()) arguments.insert(arguments.end(), {"--threads", threadsOption_});
        if (display_.shown()) arguments.push_back("--progress-lines");
        std::vector<std::string> messages;
        int status;
        try {
            ChildProcess child(programFile(), arguments);
            std::string text;
            while (child.readErrorOutput(text)) {
                for (size_t end; (end = text.find('\n')) != std::string::npos; text.erase(0, end + 1))
                    takeLine(input, text.substr(0, end), messages);
            }
            if (!text.empty()) takeLine(input, text, messages);
            status = child.wait();
        } catch (const std::exception& e) {
            // Not started, or no memory for its messages: this file fails, the others go on.
            messages.push_back(e.what());
            status = kFilterFailed;
        }
        if (status == ChildProcess::kEndedAbnormally) {
            messages.push_back("the run ended abnormally; nothing written");
            status = kFilterFailed;
        } else if (status != kDone && messages.empty()) {
            messages.push_back("failed with status " + std::to_string(status));
        }
        for (const std::string& message : messages) display_.message("ravo: " + input + ": " + message);
        return status;
    }

    // A line of a file's error output: its tiles, or a message for the end of its run
    // (without the program's own "ravo: ", which the file's name follows instead).
    // Lines from a Windows run end in "\r\n", as its error output is in text mode.
    void takeLine(const std::string& input, std::string line, std::vector<std::string>& messages) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        int32_t done = 0, total = 0;
        if (parseProgress(line, done, total)) display_.tiles(input, done, total);
        else messages.push_back(line.compare(0, 6, "ravo: ") == 0 ? line.substr(6) : line);
    }

    int report() {
        std::string failed;
        size_t failures = 0;
        int status = kDone;
        for (size_t file = 0; file < statuses_.size(); ++file) {
            if (statuses_[file] == kDone) continue;
            if (status == kDone) status = statuses_[file];
            failed += (failures++ ? ", " : "") + options_.inputs[file];
        }
        if (failures)
            display_.message("ravo: " + std::to_string(failures) + " of " + std::to_string(statuses_.size()) +
                             " files failed: " + failed);
        return status;
    }

    const ApplyOptions& options_;
    const std::vector<std::string> outputs_;
    std::vector<int> statuses_;
    std::atomic<size_t> next_{0};
    std::string threadsOption_;  // --threads for each file's run, when the user gave none
    ProgressDisplay display_;
};

}  // namespace

int applyBatch(const PluginLibrary& plugin, const ApplyOptions& options) {
    // The filter, the values and every output name are checked here once, so that a
    // mistake in them is one message rather than one per file.
    const FilterChoice choice = chooseFilter(plugin, options.filter);
    if (!plugin.entryFor(choice.registryKey)) throw FilterUnavailable(choice);
    startingValues(plugin, choice, options, {});
    std::vector<std::string> outputs = outputNames(options.inputs, options.out, options.format);
    checkOutputsDistinct(options.inputs, outputs);
    for (const std::string& output : outputs) {
        outputFormatFor(output);
        checkReplaceable(output);
    }
    if (programFile().empty()) throw UsageError("cannot tell where this program lies, to run it for each file");
    return BatchRun(options, std::move(outputs)).run();
}

}  // namespace cli
