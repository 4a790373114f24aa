// The in-memory picture: allocation, validity and depth conversion.
#include "editor/picture.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace editor {
namespace {

bool validShape(int32_t width, int32_t height, int channels, int depth) {
    return width >= 0 && height >= 0 && (channels == 3 || channels == 4) && (depth == 8 || depth == 16);
}

// The bytes of a picture of a valid shape; false when the count does not fit in 64 bits.
bool byteSizeOf(int32_t width, int32_t height, int channels, int depth, uint64_t& bytes) {
    const uint64_t pixels = uint64_t(width) * uint64_t(height);  // below 2^62
    const uint64_t pixelBytes = uint64_t(channels) * uint64_t(depth / 8);
    if (pixels > std::numeric_limits<uint64_t>::max() / pixelBytes) return false;
    bytes = pixels * pixelBytes;
    return true;
}

}  // namespace

Picture Picture::unfilled(int32_t width, int32_t height, int channels, int depth) {
    if (!validShape(width, height, channels, depth)) throw std::invalid_argument("picture shape out of range");
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.channels = channels;
    picture.depth = depth;
    // Size computed in 64 bits, checked against what a vector can hold.
    uint64_t bytes = 0;
    if (!byteSizeOf(width, height, channels, depth, bytes) || bytes > uint64_t(std::numeric_limits<ptrdiff_t>::max()))
        throw std::length_error("picture too large");
    picture.data.resize(size_t(bytes));
    return picture;
}

Picture Picture::blank(int32_t width, int32_t height, int channels, int depth) {
    Picture picture = unfilled(width, height, channels, depth);
    std::fill(picture.data.begin(), picture.data.end(), uint8_t(0));
    return picture;
}

bool Picture::isValid() const {
    uint64_t bytes = 0;
    return validShape(width, height, channels, depth) && byteSizeOf(width, height, channels, depth, bytes) &&
           bytes == uint64_t(data.size());
}

Picture convertDepth(const Picture& picture, int depth) {
    if (depth != 8 && depth != 16) throw std::invalid_argument("depth must be 8 or 16");
    if (!picture.isValid()) throw std::invalid_argument("picture is malformed");
    if (picture.depth == depth) return picture;
    Picture converted = Picture::unfilled(picture.width, picture.height, picture.channels, depth);
    converted.iccProfile = picture.iccProfile;
    converted.exif = picture.exif;
    const size_t count = picture.sampleCount();
    if (depth == 16) {
        const uint8_t* from = picture.data.data();
        uint16_t* to = converted.samples16();
        for (size_t i = 0; i < count; ++i) to[i] = widen8To16(from[i]);
    } else {
        const uint16_t* from = picture.samples16();
        uint8_t* to = converted.data.data();
        for (size_t i = 0; i < count; ++i) to[i] = narrow16To8(from[i]);
    }
    return converted;
}

}  // namespace editor
