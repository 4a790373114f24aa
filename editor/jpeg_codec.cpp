// JPEG reading and writing with libjpeg.
//
// libjpeg reports errors through error_exit, which must not return; ours
// records the message and longjmps. As with PNG, every call that may jump runs
// in a small function whose frame holds setjmp and nothing with a destructor.
// Corrupt-data warnings that mean pixels are missing (a truncated file, a bad
// entropy code) are errors here: the picture would otherwise come back with
// grey or smeared areas and be written out as if whole.
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>
// After jpeglib.h: which messages exist depends on its configuration.
#include <jerror.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdlib>
#include <vector>

#include "editor/picture_codecs.h"

namespace editor::codecs {
namespace {

constexpr int kJpegQuality = 95;
constexpr int kExifMarker = JPEG_APP0 + 1;
constexpr int kIccMarker = JPEG_APP0 + 2;
// An Exif marker starts with this name and its terminator and a pad byte.
constexpr JOCTET kExifName[6] = {'E', 'x', 'i', 'f', 0, 0};
// Largest content of a marker.
constexpr size_t kMarkerLimit = 65533;
// Largest colour profile the markers can hold: 255 pieces, each after a 14-byte name and count.
constexpr size_t kIccLimit = 255 * (kMarkerLimit - 14);

struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    int systemError;  // errno when the error was raised, meaningful after a failed write
};

void jpegErrorExit(j_common_ptr common) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(common->err);
    manager->systemError = errno;
    (*common->err->format_message)(common, manager->message);
    std::longjmp(manager->jump, 1);
}

bool meansMissingPixels(int code) {
#if JPEG_LIB_VERSION >= 70 || defined(C_ARITH_CODING_SUPPORTED) || defined(D_ARITH_CODING_SUPPORTED)
    if (code == JWRN_ARITH_BAD_CODE) return true;
#endif
    return code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_HUFF_BAD_CODE || code == JWRN_MUST_RESYNC;
}

// Level -1 is a warning; higher levels are trace messages. Neither is printed.
void jpegEmitMessage(j_common_ptr common, int level) {
    if (level < 0 && meansMissingPixels(common->err->msg_code)) jpegErrorExit(common);
}

void jpegOutputMessage(j_common_ptr) {}

void installErrorManager(JpegErrorManager& manager) {
    jpeg_std_error(&manager.base);
    manager.base.error_exit = jpegErrorExit;
    manager.base.emit_message = jpegEmitMessage;
    manager.base.output_message = jpegOutputMessage;
    manager.message[0] = '\0';
    manager.systemError = 0;
}

// Owns the decompressor; destroying one that was never created is harmless.
struct JpegDecompressor {
    JpegErrorManager errors;
    jpeg_decompress_struct info{};
    JpegDecompressor() {
        installErrorManager(errors);
        info.err = &errors.base;
    }
    ~JpegDecompressor() { jpeg_destroy_decompress(&info); }
    JpegDecompressor(const JpegDecompressor&) = delete;
    JpegDecompressor& operator=(const JpegDecompressor&) = delete;
};

struct JpegCompressor {
    JpegErrorManager errors;
    jpeg_compress_struct info{};
    JpegCompressor() {
        installErrorManager(errors);
        info.err = &errors.base;
    }
    ~JpegCompressor() { jpeg_destroy_compress(&info); }
    JpegCompressor(const JpegCompressor&) = delete;
    JpegCompressor& operator=(const JpegCompressor&) = delete;
};

// The colour profile as libjpeg hands it out: malloc'ed, freed here.
struct JpegProfile {
    JOCTET* data = nullptr;
    unsigned int size = 0;
    ~JpegProfile() { std::free(data); }
};

// Reads the header, keeping the Exif and ICC markers, and, for colour and grey files, asks
// for RGB output.
bool readJpegHeader(JpegDecompressor* jpeg, std::FILE* file, JpegProfile* profile) {
    if (setjmp(jpeg->errors.jump)) return false;
    jpeg_create_decompress(&jpeg->info);
    jpeg_stdio_src(&jpeg->info, file);
    jpeg_save_markers(&jpeg->info, kExifMarker, 0xffff);
    jpeg_save_markers(&jpeg->info, kIccMarker, 0xffff);
    jpeg_read_header(&jpeg->info, TRUE);
    // A profile split over markers that do not fit together is left out rather than refused.
    if (!jpeg_read_icc_profile(&jpeg->info, &profile->data, &profile->size)) profile->size = 0;
    const J_COLOR_SPACE space = jpeg->info.jpeg_color_space;
    if (space == JCS_GRAYSCALE || space == JCS_YCbCr || space == JCS_RGB) jpeg->info.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&jpeg->info);
    return true;
}

// Reads every row straight into the picture. A file that ends early fails at the
// first row it cannot supply (its warning is an error here).
bool readJpegRows(JpegDecompressor* jpeg, Picture* picture) {
    if (setjmp(jpeg->errors.jump)) return false;
    jpeg_start_decompress(&jpeg->info);
    while (jpeg->info.output_scanline < jpeg->info.output_height) {
        JSAMPROW row = picture->row8(int32_t(jpeg->info.output_scanline));
        jpeg_read_scanlines(&jpeg->info, &row, 1);
    }
    jpeg_finish_decompress(&jpeg->info);
    return true;
}

// The picture's row y as 8-bit RGB: 8-bit rows as they are, 16-bit rows
// narrowed with narrow16To8.
const JSAMPLE* rgbRow(const Picture& picture, int32_t y, JSAMPLE* buffer) {
    if (picture.depth == 8) return picture.row8(y);
    const uint16_t* samples = picture.row16(y);
    const size_t count = size_t(picture.width) * 3;
    for (size_t i = 0; i < count; ++i) buffer[i] = narrow16To8(samples[i]);
    return buffer;
}

bool writeJpegRows(JpegCompressor* jpeg, std::FILE* file, const Picture* picture, JSAMPLE* rowBuffer,
                   const std::vector<JOCTET>* exifMarker, Compression compression) {
    if (setjmp(jpeg->errors.jump)) return false;
    jpeg_create_compress(&jpeg->info);
    jpeg_stdio_dest(&jpeg->info, file);
    jpeg->info.image_width = JDIMENSION(picture->width);
    jpeg->info.image_height = JDIMENSION(picture->height);
    jpeg->info.input_components = 3;
    jpeg->info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&jpeg->info);
    jpeg_set_quality(&jpeg->info, kJpegQuality, TRUE);
    // Full-resolution colour (4:4:4): at this quality halving the chroma would
    // cost more than the quantisation does.
    for (int c = 0; c < jpeg->info.num_components; ++c) {
        jpeg->info.comp_info[c].h_samp_factor = 1;
        jpeg->info.comp_info[c].v_samp_factor = 1;
    }
    // Huffman tables made for the picture save a few percent of the file, but libjpeg then
    // holds every coefficient of the picture (twice its 8-bit size) and codes them in a second
    // pass. The fast level keeps the standard tables; the pixels are the same either way.
    jpeg->info.optimize_coding = compression == Compression::fast ? FALSE : TRUE;
    jpeg_start_compress(&jpeg->info, TRUE);
    if (!exifMarker->empty())
        jpeg_write_marker(&jpeg->info, kExifMarker, exifMarker->data(), unsigned(exifMarker->size()));
    if (!picture->iccProfile.empty() && picture->iccProfile.size() <= kIccLimit)
        jpeg_write_icc_profile(&jpeg->info, picture->iccProfile.data(), unsigned(picture->iccProfile.size()));
    while (jpeg->info.next_scanline < jpeg->info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgbRow(*picture, int32_t(jpeg->info.next_scanline), rowBuffer));
        jpeg_write_scanlines(&jpeg->info, &row, 1);
    }
    jpeg_finish_compress(&jpeg->info);
    return true;
}

}  // namespace

Picture readJpeg(std::FILE* file, const std::string& path, uint64_t pixelLimit) {
    JpegDecompressor jpeg;
    JpegProfile profile;
    if (!readJpegHeader(&jpeg, file, &profile))
        throw FileError::reading(path, "damaged or truncated JPEG file (" + oneLine(jpeg.errors.message) + ")");

    const J_COLOR_SPACE space = jpeg.info.jpeg_color_space;
    if (space == JCS_CMYK || space == JCS_YCCK) throw FileError::reading(path, "CMYK JPEG files are not supported");
    if (jpeg.info.out_color_space != JCS_RGB) throw FileError::reading(path, "unsupported kind of JPEG file");
    if (jpeg.info.output_components != 3) throw FileError::reading(path, "unsupported kind of JPEG file");
    const std::string sizeProblem = pictureSizeProblem(jpeg.info.output_width, jpeg.info.output_height, pixelLimit);
    if (!sizeProblem.empty()) throw FileError::reading(path, sizeProblem);

    Picture picture = Picture::unfilled(int32_t(jpeg.info.output_width), int32_t(jpeg.info.output_height), 3, 8);
    if (profile.size > 0) picture.iccProfile.assign(profile.data, profile.data + profile.size);
    for (jpeg_saved_marker_ptr marker = jpeg.info.marker_list; marker; marker = marker->next) {
        const size_t length = marker->data_length;
        if (marker->marker == kExifMarker && length > sizeof kExifName &&
            std::equal(kExifName, kExifName + sizeof kExifName, marker->data)) {
            picture.exif.assign(marker->data + sizeof kExifName, marker->data + length);
            break;
        }
    }
    if (!readJpegRows(&jpeg, &picture))
        throw FileError::reading(path, "damaged or truncated JPEG file (" + oneLine(jpeg.errors.message) + ")");
    return picture;
}

void writeJpeg(const Picture& picture, std::FILE* file, const std::string& path, Compression compression) {
    if (picture.hasAlpha())
        throw FileError::writing(path, "JPEG cannot hold transparency; save as .png or .tif to keep it");
    if (picture.width > JPEG_MAX_DIMENSION || picture.height > JPEG_MAX_DIMENSION)
        throw FileError::writing(path, "too large for JPEG (at most " + std::to_string(JPEG_MAX_DIMENSION) +
                                           " pixels a side); save as .png or .tif");
    JpegCompressor jpeg;
    std::vector<JSAMPLE> rowBuffer(picture.depth == 16 ? size_t(picture.width) * 3 : 0);
    // Exif data too large for one marker (it can come from a PNG file) is left out.
    std::vector<JOCTET> exifMarker;
    if (!picture.exif.empty() && picture.exif.size() <= kMarkerLimit - sizeof kExifName) {
        exifMarker.assign(kExifName, kExifName + sizeof kExifName);
        exifMarker.insert(exifMarker.end(), picture.exif.begin(), picture.exif.end());
    }
    if (!writeJpegRows(&jpeg, file, &picture, rowBuffer.data(), &exifMarker, compression)) {
        if (std::ferror(file) && jpeg.errors.systemError)
            throw FileError::writing(path, systemProblem(jpeg.errors.systemError));
        throw FileError::writing(path, oneLine(jpeg.errors.message));
    }
}

}  // namespace editor::codecs
