// The batch progress line: carriage return and spaces only, which every terminal
// and the Windows console understand.
#include "editor/cli/progress_display.h"

#include <cstdio>

namespace cli {

namespace {

// Long names keep their end, which tells files of one shoot apart.
constexpr size_t kNameWidth = 40;

std::string shortened(const std::string& name) {
    return name.size() <= kNameWidth ? name : "..." + name.substr(name.size() - (kNameWidth - 3));
}

}  // namespace

ProgressDisplay::ProgressDisplay(size_t files, bool shown) : files_(files), shown_(shown) {
    std::lock_guard<std::mutex> lock(mutex_);
    draw();
}

ProgressDisplay::~ProgressDisplay() {
    if (shown_ && drawnWidth_) std::fputc('\n', stderr);
}

void ProgressDisplay::tiles(const std::string& file, int32_t done, int32_t total) {
    std::lock_guard<std::mutex> lock(mutex_);
    file_ = file;
    tilesDone_ = done;
    tilesTotal_ = total;
    draw();
}

void ProgressDisplay::fileDone() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++filesDone_;
    draw();
}

void ProgressDisplay::message(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (shown_ && drawnWidth_) std::fprintf(stderr, "\r%*s\r", int(drawnWidth_), "");
    std::fprintf(stderr, "%s\n", line.c_str());
    drawnWidth_ = 0;
    draw();
}

void ProgressDisplay::draw() {
    if (!shown_) return;
    std::string text = std::to_string(filesDone_) + "/" + std::to_string(files_) + " files done";
    if (!file_.empty() && filesDone_ < files_)
        text += ", " + shortened(file_) + " " + std::to_string(tilesDone_) + "/" + std::to_string(tilesTotal_) + " tiles";
    const size_t width = text.size();
    // Spaces over what is left of a longer line drawn before.
    if (width < drawnWidth_) text.append(drawnWidth_ - width, ' ');
    std::fprintf(stderr, "\r%s", text.c_str());
    std::fflush(stderr);
    drawnWidth_ = width;
}

}  // namespace cli
