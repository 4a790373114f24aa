// Running sums along a row of interleaved pixels, one per channel: prefix[k x channels + c]
// is the sum of channel c over the row's first k pixels, for k = 0 .. pixels. Sums wrap
// modulo 2^32, so differences of two of them are exact sums of up to 65536 full-scale
// 16-bit samples. The blur takes every window sum along a row from them.
#pragma once

#include <cstddef>
#include <cstdint>

// prefix holds (pixels + 1) x channels entries; channels is 1 to 4.
void prefixSums(const uint8_t* row, size_t pixels, uint32_t channels, uint32_t* prefix);
void prefixSums(const uint16_t* row, size_t pixels, uint32_t channels, uint32_t* prefix);
