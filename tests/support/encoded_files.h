// PNG and JPEG files made in memory with libpng and libjpeg, exactly as a test lays them out:
// every colour type, bit depth, palette and transparency a PNG may hold, and JPEGs of any
// colour space libjpeg writes.
#pragma once

#include <png.h>

#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <cstdlib>
#include <optional>
#include <vector>

#include <jpeglib.h>

namespace encoded {

// A PNG as the file stores it: packed rows, 16-bit samples big-endian.
struct RawPng {
    uint32_t width = 0, height = 0;
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    bool samplePerByte = false;  // samples below 8 bits given one a byte, for libpng to pack
    std::vector<uint8_t> rows;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;             // tRNS of a palette file
    std::optional<png_color_16> transparentColour;  // tRNS of a grey or RGB file

    int channels() const {
        return colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_PALETTE ? 1
               : colorType == PNG_COLOR_TYPE_GRAY_ALPHA                                ? 2
               : colorType == PNG_COLOR_TYPE_RGB                                       ? 3
                                                                                       : 4;
    }
    size_t rowBytes() const {
        const size_t bits = samplePerByte ? 8 : size_t(bitDepth);
        return (size_t(width) * size_t(channels()) * bits + 7) / 8;
    }
};

inline void appendPngBytes(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
inline void flushNothing(png_structp) {}

// The file's bytes, or nothing when libpng refuses the description. The libpng calls run in a
// frame holding nothing with a destructor, as libpng's longjmp requires.
inline bool encodePngInto(const RawPng* raw, std::vector<uint8_t>* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, appendPngBytes, flushNothing);
    png_set_user_limits(png, 0x7fffffffu, 0x7fffffffu);
    png_set_IHDR(png, info, raw->width, raw->height, raw->bitDepth, raw->colorType,
                 raw->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!raw->palette.empty()) png_set_PLTE(png, info, raw->palette.data(), int(raw->palette.size()));
    if (!raw->paletteAlpha.empty())
        png_set_tRNS(png, info, raw->paletteAlpha.data(), int(raw->paletteAlpha.size()), nullptr);
    if (raw->transparentColour) png_set_tRNS(png, info, nullptr, 0, &*raw->transparentColour);
    png_write_info(png, info);
    if (raw->samplePerByte) png_set_packing(png);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (uint32_t y = 0; y < raw->height; ++y) png_write_row(png, raw->rows.data() + size_t(y) * raw->rowBytes());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

inline std::vector<uint8_t> png(const RawPng& raw) {
    std::vector<uint8_t> out;
    if (!encodePngInto(&raw, &out)) out.clear();
    return out;
}

// A JPEG of interleaved 8-bit samples. (libjpeg's own error handler ends the test program,
// fine for inputs this simple.)
inline std::vector<uint8_t> jpeg(uint32_t width, uint32_t height, int components, J_COLOR_SPACE space,
                                 const std::vector<uint8_t>& samples, int quality = 100) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + size_t(info.next_scanline) * width * size_t(components));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

}  // namespace encoded
