// The one-line progress display of a run over many files, redrawn on the error
// output: files done of all, and the tiles of the file that last reported. Runs of
// several files at once report from several threads.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

namespace cli {

class ProgressDisplay {
public:
    // Draws nothing unless `shown`; messages are printed either way.
    ProgressDisplay(size_t files, bool shown);
    // Ends the display's line.
    ~ProgressDisplay();
    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;

    bool shown() const { return shown_; }
    void tiles(const std::string& file, int32_t done, int32_t total);
    void fileDone();
    // A line of its own above the display.
    void message(const std::string& line);

private:
    void draw();  // with mutex_ held

    std::mutex mutex_;
    const size_t files_;
    const bool shown_;
    size_t filesDone_ = 0;
    std::string file_;
    int32_t tilesDone_ = 0, tilesTotal_ = 0;
    size_t drawnWidth_ = 0;
};

}  // namespace cli
