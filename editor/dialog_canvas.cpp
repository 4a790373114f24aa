#include "editor/dialog_canvas.h"

#include <algorithm>
#include <stdexcept>

namespace editor {

namespace {

// A light grey dialog face with darker shades for edges, as desktop toolkits draw them.
constexpr ps::ADMRGBColor kPalette[ps::kADMColorCount] = {
    {0x0000, 0x0000, 0x0000},  // black
    {0xFFFF, 0xFFFF, 0xFFFF},  // white
    {0x3333, 0x6666, 0xCCCC},  // highlight
    {0xFFFF, 0xFFFF, 0xFFFF},  // highlighted text
    {0xF0F0, 0xF0F0, 0xF0F0},  // light edge
    {0xD4D4, 0xD0D0, 0xC8C8},  // background
    {0x8080, 0x8080, 0x8080},  // shadow
    {0xA0A0, 0xA0A0, 0xA0A0},  // disabled
    {0xE0E0, 0xE0E0, 0xE0E0},  // button up
    {0xB0B0, 0xB0B0, 0xB0B0},  // button down
    {0x0000, 0x0000, 0x0000},  // text
};

// 16-bit component to 8 bits, rounded.
uint8_t to8(uint16_t v) { return uint8_t((uint32_t(v) * 255 + 32767) / 65535); }

}  // namespace

DialogCanvas::DialogCanvas(int32_t width, int32_t height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {
    if (int64_t(width_) * height_ > (int64_t(1) << 28)) throw std::length_error("dialog canvas too large");
    rgba_.assign(size_t(width_) * size_t(height_) * 4, 0);
}

void DialogCanvas::setIndexedColor(int32_t index) {
    if (index >= 0 && index < ps::kADMColorCount) color_ = kPalette[index];
}

void DialogCanvas::fill(const ps::ADMRect& rect) {
    const int32_t left = std::max(rect.left, 0), right = std::min(rect.right, width_);
    const int32_t top = std::max(rect.top, 0), bottom = std::min(rect.bottom, height_);
    const uint8_t value[4] = {to8(color_.red), to8(color_.green), to8(color_.blue), 255};
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x)
            std::copy(value, value + 4, rgba_.begin() + (size_t(y) * size_t(width_) + size_t(x)) * 4);
}

void DialogCanvas::frame(const ps::ADMRect& rect) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    fill({rect.left, rect.top, rect.right, rect.top + 1});
    fill({rect.left, rect.bottom - 1, rect.right, rect.bottom});
    fill({rect.left, rect.top, rect.left + 1, rect.bottom});
    fill({rect.right - 1, rect.top, rect.right, rect.bottom});
}

void DialogCanvas::blend(int32_t x, int32_t y, uint8_t coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage == 0) return;
    uint8_t* at = rgba_.data() + (size_t(y) * size_t(width_) + size_t(x)) * 4;
    const uint8_t colour[3] = {to8(color_.red), to8(color_.green), to8(color_.blue)};
    for (int c = 0; c < 3; ++c) at[c] = uint8_t((at[c] * (255 - coverage) + colour[c] * coverage + 127) / 255);
    at[3] = uint8_t(255 - (255 - at[3]) * (255 - coverage) / 255);
}

std::array<uint8_t, 4> DialogCanvas::pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) throw std::out_of_range("pixel outside the canvas");
    const auto at = rgba_.begin() + (size_t(y) * size_t(width_) + size_t(x)) * 4;
    return {at[0], at[1], at[2], at[3]};
}

}  // namespace editor
