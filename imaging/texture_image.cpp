#include "imaging/texture_image.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "imaging/texture_decoders.h"

namespace texture {

ImagePtr makeTextureImage(uint64_t width, uint64_t height, bool sixteenBit) {
    if (width == 0 || height == 0 || width > kMaxTexturePixels || height > kMaxTexturePixels ||
        width * height > kMaxTexturePixels)
        return {};
    return ImagePtr::make({int32_t(width), int32_t(height)}, 1, sixteenBit ? 2 : 1);
}

namespace {

// trunc(s x 128.5 + 0.5), in whole numbers.
inline uint16_t widen8To16(uint32_t s) { return uint16_t((257 * s + 1) >> 1); }

}  // namespace

void storeRow(Image& image, int32_t y, const uint8_t* samples, int channels) {
    const int32_t width = image.width;
    const bool colour = channels >= 3;
    auto level = [&](int32_t x) -> uint32_t {
        const uint8_t* pixel = samples + size_t(x) * size_t(channels);
        return colour ? (uint32_t(pixel[0]) + pixel[1] + pixel[2]) / 3 : pixel[0];
    };
    if (image.is16()) {
        uint16_t* out = image.row<uint16_t>(y);
        for (int32_t x = 0; x < width; ++x) out[x] = widen8To16(level(x));
    } else {
        uint8_t* out = image.row<uint8_t>(y);
        for (int32_t x = 0; x < width; ++x) out[x] = uint8_t(level(x));
    }
}

}  // namespace texture

ImagePtr decodeTextureImage(const uint8_t* data, size_t size, bool sixteenBit) {
    if (texture::hasPngSignature(data, size)) return texture::decodePng(data, size, sixteenBit);
    return texture::decodeJpeg(data, size, sixteenBit);
}

ImagePtr readTextureImage(const char* path, bool sixteenBit) {
    if (!path) return {};
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file) return {};
    // Read in pieces to the end rather than trusting a size from seeking, which a folder or a
    // device answers with nonsense.
    std::vector<uint8_t> bytes;
    constexpr size_t kPiece = size_t(1) << 16;
    for (;;) {
        const size_t used = bytes.size();
        bytes.resize(used + kPiece);
        const size_t got = std::fread(bytes.data() + used, 1, kPiece, file.get());
        bytes.resize(used + got);
        if (got < kPiece) break;
    }
    if (std::ferror(file.get())) return {};
    return decodeTextureImage(bytes.data(), bytes.size(), sixteenBit);
}
