// PNG textures with libpng, from memory. Whatever the file holds, libpng is asked for rows
// of 8-bit samples: 16-bit samples keep their high byte, grey depths below 8 are widened,
// palettes become RGB, interlaced files are put together pass by pass.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "imaging/texture_decoders.h"

namespace texture {
namespace {

// The file in memory and how much of it libpng has taken.
struct PngMemory {
    const uint8_t* data;
    size_t size;
    size_t position;
};

void readFromMemory(png_structp png, png_bytep out, size_t count) {
    auto* memory = static_cast<PngMemory*>(png_get_io_ptr(png));
    if (count > memory->size - memory->position) png_error(png, "Read Error");
    std::memcpy(out, memory->data + memory->position, count);
    memory->position += count;
}

// Errors end the read without a message; warnings (a damaged ancillary chunk) do not stop it.
void pngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void pngWarning(png_structp, png_const_charp) {}

class PngReader {
public:
    PngReader()
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {}
    ~PngReader() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
    bool ok() const { return png_ && info_; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

struct PngLayout {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int channels = 0;
    bool interlaced = false;
};

bool readPngHeader(png_structp png, png_infop info, PngMemory* memory, PngLayout* layout) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, memory, readFromMemory);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, nullptr, nullptr);
    if (bitDepth == 16) png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    layout->interlaced = interlace != PNG_INTERLACE_NONE;
    if (layout->interlaced) png_set_interlace_handling(png);
    png_read_update_info(png, info);
    layout->width = width;
    layout->height = height;
    layout->channels = png_get_channels(png, info);
    return png_get_bit_depth(png, info) == 8 && png_get_rowbytes(png, info) == size_t(width) * layout->channels;
}

// Non-interlaced files row by row through one row buffer; interlaced ones into the whole
// picture first, since every pass adds pixels to every row.
bool readPngRows(png_structp png, png_infop info, const PngLayout* layout, std::vector<png_bytep>* rows,
                 Image* image) {
    if (setjmp(png_jmpbuf(png))) return false;
    if (layout->interlaced) {
        png_read_image(png, rows->data());
        for (png_uint_32 y = 0; y < layout->height; ++y) storeRow(*image, int32_t(y), (*rows)[y], layout->channels);
    } else {
        for (png_uint_32 y = 0; y < layout->height; ++y) {
            png_read_row(png, (*rows)[0], nullptr);
            storeRow(*image, int32_t(y), (*rows)[0], layout->channels);
        }
    }
    png_read_end(png, info);
    return true;
}

}  // namespace

bool hasPngSignature(const uint8_t* data, size_t size) {
    return size >= 8 && png_sig_cmp(data, 0, 8) == 0;
}

ImagePtr decodePng(const uint8_t* data, size_t size, bool sixteenBit) {
    PngReader reader;
    if (!reader.ok()) return {};
    PngMemory memory{data, size, 0};
    PngLayout layout;
    if (!readPngHeader(reader.png(), reader.info(), &memory, &layout)) return {};
    ImagePtr image = makeTextureImage(layout.width, layout.height, sixteenBit);
    if (!image) return {};

    const size_t rowBytes = size_t(layout.width) * size_t(layout.channels);
    std::vector<png_byte> pixels(rowBytes * (layout.interlaced ? layout.height : 1));
    std::vector<png_bytep> rows(layout.interlaced ? layout.height : 1);
    for (size_t y = 0; y < rows.size(); ++y) rows[y] = pixels.data() + y * rowBytes;
    if (!readPngRows(reader.png(), reader.info(), &layout, &rows, image.get())) return {};
    return image;
}

}  // namespace texture
