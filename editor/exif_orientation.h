// The orientation entry of Exif data, which the picture files carry in different places:
// JPEG and PNG keep the whole Exif block, TIFF an orientation field of its own. The block is
// in its TIFF-header form ("II*\0" or "MM\0*", then the offset of the first directory).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace editor {

// How a viewer turns the stored pixels upright, 1 (as stored) to 8; 0 when the data gives no
// valid orientation (missing, damaged, or out of range).
int exifOrientation(std::span<const uint8_t> exif);

// The smallest Exif block that holds this orientation (1..8) and nothing else.
std::vector<uint8_t> exifWithOrientation(int orientation);

}  // namespace editor
