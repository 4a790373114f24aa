// Dialog text: one TrueType face drawn through FreeType, anti-aliased, in the canvas's current
// colour. The face is found once per process: the file RAVO_FONT names, then
// fonts/DejaVuSans.ttf beside the program, then the system's DejaVu Sans. Without one the
// dialogs are drawn without text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/dialog_canvas.h"

namespace editor {

class FontFace {
public:
    // Loads the face from a file; throws std::runtime_error (FileError for a file that cannot be
    // read) naming the file when it cannot.
    explicit FontFace(const std::string& path);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // The face the lookup finds, loaded on first use; null when none of the places holds one.
    static FontFace* shared();
    // The places the lookup tries, in order.
    static std::vector<std::string> searchPaths();

    // Line metrics at a pixel size, in whole pixels.
    int32_t ascent(int32_t pixelSize);
    int32_t lineHeight(int32_t pixelSize);
    // The advance of a line of UTF-8 text.
    int32_t lineWidth(std::string_view text, int32_t pixelSize);
    // Draws one line with its baseline's left end at (x, baseline), clipped to `clip` and the canvas.
    void draw(DialogCanvas& canvas, std::string_view text, int32_t x, int32_t baseline, int32_t pixelSize,
              const ps::ADMRect& clip);

private:
    struct Library;
    void setSize(int32_t pixelSize);
    std::unique_ptr<Library> library_;
};

}  // namespace editor
