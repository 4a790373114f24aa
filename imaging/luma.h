// The luminance of an RGBA pixel shared by many effects, in integer arithmetic.
#pragma once

#include <cstdint>

inline int32_t luma(const uint8_t* pixel) {
    return (76 * pixel[0] + 150 * pixel[1] + 29 * pixel[2]) / 255;
}

inline int32_t luma(const uint16_t* pixel) {
    return static_cast<int32_t>((9798 * int64_t(pixel[0]) + 19235 * int64_t(pixel[1]) + 3735 * int64_t(pixel[2])) / 32768);
}
