// The drawer of the stand-in host's dialog manager: an RGBA picture that an item or a dialog
// draws into with a current colour, filled and framed rectangles clipped to its bounds.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sdk/adm_suites.h"

namespace editor {

class DialogCanvas {
public:
    DialogCanvas(int32_t width, int32_t height);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    ps::ADMRect bounds() const { return {0, 0, width_, height_}; }

    // Indexed colours come from the host palette; an index outside it leaves the colour as it was.
    void setIndexedColor(int32_t index);
    void setColor(ps::ADMRGBColor color) { color_ = color; }
    ps::ADMRGBColor color() const { return color_; }

    void fill(const ps::ADMRect& rect);
    // The one-pixel outline just inside the rectangle.
    void frame(const ps::ADMRect& rect);

    // Mixes the current colour into one pixel by a coverage of 0..255 (anti-aliased text and
    // shapes); a pixel outside the bounds is left alone.
    void blend(int32_t x, int32_t y, uint8_t coverage);

    // R, G, B, A of one pixel, 8 bits each; the pixel must be inside the bounds.
    std::array<uint8_t, 4> pixel(int32_t x, int32_t y) const;
    const std::vector<uint8_t>& rgba() const { return rgba_; }
    std::vector<uint8_t>& rgba() { return rgba_; }

private:
    int32_t width_, height_;
    ps::ADMRGBColor color_{0, 0, 0};
    std::vector<uint8_t> rgba_;
};

}  // namespace editor
