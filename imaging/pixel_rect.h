// A rectangle of pixels: top and left inclusive, bottom and right exclusive.
#pragma once

#include <algorithm>
#include <cstdint>

struct PixelRect {
    int32_t top = 0;
    int32_t left = 0;
    int32_t bottom = 0;
    int32_t right = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool isEmpty() const { return bottom <= top || right <= left; }

    PixelRect intersected(const PixelRect& other) const {
        return {std::max(top, other.top), std::max(left, other.left),
                std::min(bottom, other.bottom), std::min(right, other.right)};
    }
    PixelRect grown(int32_t vertical, int32_t horizontal) const {
        return {top - vertical, left - horizontal, bottom + vertical, right + horizontal};
    }

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};
