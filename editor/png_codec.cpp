// PNG reading and writing with libpng.
//
// libpng reports errors by longjmp. Every call that may jump runs inside a
// small function whose frame holds setjmp and nothing with a destructor; the
// structures, buffers and the picture are owned by the caller's frame, which
// longjmp never skips.
#include <png.h>
#include <zlib.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "editor/picture_codecs.h"

namespace editor::codecs {
namespace {

struct PngErrorState {
    char message[256] = {};
    int systemError = 0;  // errno when the error was raised, meaningful after a failed write
};

void pngError(png_structp png, png_const_charp message) {
    auto* state = static_cast<PngErrorState*>(png_get_error_ptr(png));
    state->systemError = errno;
    copyMessage(state->message, sizeof state->message, message);
    png_longjmp(png, 1);
}

// Warnings (a damaged ancillary chunk, extra data after the image) do not stop
// a read; the pixels are intact.
void pngWarning(png_structp, png_const_charp) {}

class PngReadStruct {
public:
    explicit PngReadStruct(PngErrorState* state)
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, state, pngError, pngWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {}
    ~PngReadStruct() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
    PngReadStruct(const PngReadStruct&) = delete;
    PngReadStruct& operator=(const PngReadStruct&) = delete;
    bool ok() const { return png_ && info_; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

class PngWriteStruct {
public:
    explicit PngWriteStruct(PngErrorState* state)
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, state, pngError, pngWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {}
    ~PngWriteStruct() { png_destroy_write_struct(&png_, info_ ? &info_ : nullptr); }
    PngWriteStruct(const PngWriteStruct&) = delete;
    PngWriteStruct& operator=(const PngWriteStruct&) = delete;
    bool ok() const { return png_ && info_; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

// The size the header states, and the layout of the rows libpng delivers once the
// transforms are set.
struct PngRowLayout {
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0;
    int channels = 0;
    size_t rowBytes = 0;
    int passes = 1;
};

// Reads the chunks up to the pixel data. Returns false after a libpng error.
bool readPngInfo(png_structp png, png_infop info, std::FILE* file, PngRowLayout* layout) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    // The host's own size limit applies instead of libpng's default of 1e6.
    png_set_user_limits(png, 0x7fffffffu, 0x7fffffffu);
    png_read_info(png, info);
    layout->width = png_get_image_width(png, info);
    layout->height = png_get_image_height(png, info);
    return true;
}

// Asks for 8 or 16-bit RGB or RGBA rows whatever the file holds: palettes and
// grey expanded, grey depths below 8 widened, a tRNS chunk turned into alpha.
// libpng sizes its own row buffers here, so this runs only once the size is
// known to be within the limit. Returns false after a libpng error.
bool choosePngRows(png_structp png, png_infop info, PngRowLayout* layout) {
    if (setjmp(png_jmpbuf(png))) return false;
    const int colorType = png_get_color_type(png, info);
    const int fileBitDepth = png_get_bit_depth(png, info);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && fileBitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    layout->passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    layout->bitDepth = png_get_bit_depth(png, info);
    layout->channels = png_get_channels(png, info);
    layout->rowBytes = png_get_rowbytes(png, info);
    return true;
}

// Reads every row straight into the picture (each pass of an interlaced file
// over the same rows) and the end of the file. A file that ends early fails at
// the first row it cannot supply.
bool readPngRows(png_structp png, png_infop info, const PngRowLayout* layout, Picture* picture) {
    if (setjmp(png_jmpbuf(png))) return false;
    for (int pass = 0; pass < layout->passes; ++pass)
        for (int32_t y = 0; y < picture->height; ++y) png_read_row(png, picture->row8(y), nullptr);
    png_read_end(png, info);
    return true;
}

// The picture's row y as PNG stores it: 16-bit samples on the file scale,
// big-endian.
void packRow16(const Picture& picture, int32_t y, png_bytep out) {
    const uint16_t* samples = picture.row16(y);
    const size_t count = size_t(picture.width) * size_t(picture.channels);
    for (size_t i = 0; i < count; ++i) {
        const uint16_t v = hostToFile16(samples[i]);
        out[2 * i] = png_byte(v >> 8);
        out[2 * i + 1] = png_byte(v & 0xff);
    }
}

// The zlib settings and row filters for a compression level. Choosing a filter for each row
// tries all five on it; the fast level takes Up for every row and has zlib look only for runs
// of one repeated byte. On photographs that is as small as zlib's level 1 and about three
// times as fast: their filtered samples hardly ever repeat a longer string.
void setPngCompression(png_structp png, Compression compression) {
    switch (compression) {
        case Compression::fast:
            png_set_compression_level(png, 1);
            png_set_compression_strategy(png, Z_RLE);
            png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
            break;
        case Compression::standard:
            png_set_compression_level(png, 6);
            break;
        case Compression::best:
            png_set_compression_level(png, 9);
            break;
    }
}

bool writePngRows(png_structp png, png_infop info, std::FILE* file, const Picture* picture, png_bytep rowBuffer,
                  Compression compression) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_user_limits(png, 0x7fffffffu, 0x7fffffffu);
    setPngCompression(png, compression);
    png_set_IHDR(png, info, png_uint_32(picture->width), png_uint_32(picture->height), picture->depth,
                 picture->hasAlpha() ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // libpng checks the profile; one it cannot use (damaged, grey, another white point) is
    // left out with a warning instead of failing the whole file.
    // (Turning them back into errors afterwards would also drop libpng's own defaults.)
    if (!picture->iccProfile.empty() && picture->iccProfile.size() <= 0x7fffffffu) {
        png_set_benign_errors(png, 1);
        png_set_iCCP(png, info, "ICC profile", PNG_COMPRESSION_TYPE_BASE, picture->iccProfile.data(),
                     png_uint_32(picture->iccProfile.size()));
    }
#ifdef PNG_eXIf_SUPPORTED
    if (!picture->exif.empty() && picture->exif.size() <= 0x7fffffffu)
        png_set_eXIf_1(png, info, png_uint_32(picture->exif.size()), const_cast<png_bytep>(picture->exif.data()));
#endif
    png_write_info(png, info);
    for (int32_t y = 0; y < picture->height; ++y) {
        if (picture->depth == 16) {
            packRow16(*picture, y, rowBuffer);
            png_write_row(png, rowBuffer);
        } else {
            png_write_row(png, picture->row8(y));
        }
    }
    // Everything is written before the pixels. Given the info again, libpng would write
    // the eXIf chunk a second time, which PNG does not allow.
    png_write_end(png, nullptr);
    return true;
}

// The colour profile and the Exif data of a file read to its end (an eXIf chunk may follow
// the pixels). Neither call can raise a libpng error.
void keepMetadata(png_structp png, png_infop info, Picture& picture) {
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 profileSize = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &profileSize) && profile && profileSize > 0)
        picture.iccProfile.assign(profile, profile + profileSize);
#ifdef PNG_eXIf_SUPPORTED
    png_bytep exif = nullptr;
    png_uint_32 exifSize = 0;
    if (png_get_eXIf_1(png, info, &exifSize, &exif) && exif && exifSize > 0) picture.exif.assign(exif, exif + exifSize);
#endif
}

std::string pngProblem(const PngErrorState& state) {
    // libpng's word for running out of file.
    const std::string detail =
        std::strcmp(state.message, "Read Error") == 0 ? std::string("the file ends too soon") : oneLine(state.message);
    return "damaged or truncated PNG file (" + detail + ")";
}

}  // namespace

Picture readPng(std::FILE* file, const std::string& path, uint64_t pixelLimit) {
    PngErrorState state;
    PngReadStruct reader(&state);
    if (!reader.ok()) throw FileError::reading(path, "not enough memory to read a PNG file");
    PngRowLayout layout;
    if (!readPngInfo(reader.png(), reader.info(), file, &layout)) throw FileError::reading(path, pngProblem(state));
    const std::string sizeProblem = pictureSizeProblem(layout.width, layout.height, pixelLimit);
    if (!sizeProblem.empty()) throw FileError::reading(path, sizeProblem);
    if (!choosePngRows(reader.png(), reader.info(), &layout)) throw FileError::reading(path, pngProblem(state));
    if ((layout.bitDepth != 8 && layout.bitDepth != 16) || (layout.channels != 3 && layout.channels != 4))
        throw FileError::reading(path, "unsupported kind of PNG file");

    Picture picture =
        Picture::unfilled(int32_t(layout.width), int32_t(layout.height), layout.channels, layout.bitDepth);
    if (layout.rowBytes != picture.rowBytes()) throw FileError::reading(path, "unsupported kind of PNG file");
    if (!readPngRows(reader.png(), reader.info(), &layout, &picture)) throw FileError::reading(path, pngProblem(state));
    keepMetadata(reader.png(), reader.info(), picture);

    if (picture.depth == 16) {
        // Big-endian file values to native host values, in place.
        uint8_t* bytes = picture.data.data();
        uint16_t* samples = picture.samples16();
        const size_t count = picture.sampleCount();
        for (size_t i = 0; i < count; ++i) samples[i] = fileToHost16(uint16_t(bytes[2 * i] << 8 | bytes[2 * i + 1]));
    }
    return picture;
}

void writePng(const Picture& picture, std::FILE* file, const std::string& path, Compression compression) {
    PngErrorState state;
    PngWriteStruct writer(&state);
    if (!writer.ok()) throw FileError::writing(path, "not enough memory to write a PNG file");
    std::vector<png_byte> rowBuffer(picture.depth == 16 ? picture.rowBytes() : 0);
    if (!writePngRows(writer.png(), writer.info(), file, &picture, rowBuffer.data(), compression)) {
        if (std::ferror(file) && state.systemError) throw FileError::writing(path, systemProblem(state.systemError));
        throw FileError::writing(path, oneLine(state.message));
    }
}

}  // namespace editor::codecs
