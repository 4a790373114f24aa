#include "imaging/pixel_utils.h"

#include <cstring>

#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

template <class Sample>
void expandGray(const Image& source, Image& destination, const PixelRect& rect) {
    const Sample full = Sample(SampleTraits<Sample>::full);
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Sample* in = source.pixel<Sample>(rect.left, y);
        Sample* out = destination.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, ++in, out += 4) {
            out[0] = out[1] = out[2] = *in;
            out[3] = full;
        }
    }
}

template <class Sample>
void applyTable(Image& image, const Sample* table, const PixelRect& rect) {
    if (rect.isEmpty()) return;
    const int32_t width = rect.width();
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* p = image.pixel<Sample>(rect.left, y);
        if (image.channels == 4) {
            for (int32_t x = 0; x < width; ++x, p += 4) {
                p[0] = table[p[0]];
                p[1] = table[p[1]];
                p[2] = table[p[2]];
            }
        } else if (image.channels == 1) {
            for (int32_t x = 0; x < width; ++x, ++p) *p = table[*p];
        }
    }
}

template <class Sample>
void applyTables(Image& image, const Sample* const tables[3], const PixelRect& rect) {
    if (rect.isEmpty() || image.channels != 4) return;
    const Sample* red = tables[0];
    const Sample* green = tables[1];
    const Sample* blue = tables[2];
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* p = image.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, p += 4) {
            p[0] = red[p[0]];
            p[1] = green[p[1]];
            p[2] = blue[p[2]];
        }
    }
}

}  // namespace

void expandGrayToRGBA(const Image& source, Image& destination, const PixelRect& rect) {
    if (rect.isEmpty()) return;
    withSampleType(source, [&]<class Sample>() { expandGray<Sample>(source, destination, rect); });
}

void applyLUT(Image& image, const uint8_t* table, const PixelRect& rect) { applyTable(image, table, rect); }
void applyLUT(Image& image, const uint16_t* table, const PixelRect& rect) { applyTable(image, table, rect); }

void applyChannelLUTs(Image& image, const uint8_t* const tables[3], const PixelRect& rect) {
    applyTables(image, tables, rect);
}
void applyChannelLUTs(Image& image, const uint16_t* const tables[3], const PixelRect& rect) {
    applyTables(image, tables, rect);
}

void copyRect(const Image& source, Image& destination, const PixelRect& rect) {
    if (rect.isEmpty()) return;
    const size_t length = size_t(rect.width()) * source.bytesPerPixel;
    for (int32_t y = rect.top; y < rect.bottom; ++y)
        std::memcpy(destination.pixelBytes(rect.left, y), source.pixelBytes(rect.left, y), length);
}

void clearRect(Image& image, const PixelRect& rect) {
    if (rect.isEmpty()) return;
    const size_t length = size_t(rect.width()) * image.bytesPerPixel;
    for (int32_t y = rect.top; y < rect.bottom; ++y)
        std::memset(image.data + size_t(y) * image.rowBytes + size_t(rect.left) * image.bytesPerPixel, 0, length);
}
