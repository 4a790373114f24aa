// JPEG textures with the IJG library interface, from memory.
//
// The memory source hands the library the whole file at once and never anything past its
// end: when the library asks for more, the data has run out, and the source supplies an
// end-of-image marker and raises the library's own "premature end" warning, as the
// library's documentation describes for such sources. The error manager turns that warning,
// and the others that mean pixels are missing, into errors, so that a truncated or damaged
// file gives no texture rather than a partly grey one. No message is ever printed.
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>
// After jpeglib.h: which messages exist depends on its configuration.
#include <jerror.h>

#include <csetjmp>
#include <vector>

#include "imaging/texture_decoders.h"

namespace texture {
namespace {

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void errorExit(j_common_ptr common) { std::longjmp(reinterpret_cast<JpegErrors*>(common->err)->jump, 1); }

bool meansMissingPixels(int code) {
#if JPEG_LIB_VERSION >= 70 || defined(D_ARITH_CODING_SUPPORTED)
    if (code == JWRN_ARITH_BAD_CODE) return true;
#endif
    return code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_HUFF_BAD_CODE || code == JWRN_MUST_RESYNC;
}

// Level -1 is a warning, higher levels are trace messages.
void emitMessage(j_common_ptr common, int level) {
    if (level < 0 && meansMissingPixels(common->err->msg_code)) errorExit(common);
}

void outputMessage(j_common_ptr) {}

void initSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr info) {
    static const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};
    WARNMS(info, JWRN_JPEG_EOF);
    info->src->next_input_byte = kEndOfImage;
    info->src->bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
}

void skipInputData(j_decompress_ptr info, long count) {
    jpeg_source_mgr* source = info->src;
    while (count > long(source->bytes_in_buffer)) {
        count -= long(source->bytes_in_buffer);
        fillInputBuffer(info);
    }
    if (count > 0) {
        source->next_input_byte += count;
        source->bytes_in_buffer -= size_t(count);
    }
}

void termSource(j_decompress_ptr) {}

// Owns the decompressor and its source; destroying one that was never created is harmless.
struct JpegReader {
    JpegErrors errors;
    jpeg_source_mgr source{};
    jpeg_decompress_struct info{};

    JpegReader(const uint8_t* data, size_t size) {
        jpeg_std_error(&errors.base);
        errors.base.error_exit = errorExit;
        errors.base.emit_message = emitMessage;
        errors.base.output_message = outputMessage;
        info.err = &errors.base;
        source.next_input_byte = data;
        source.bytes_in_buffer = size;
        source.init_source = initSource;
        source.fill_input_buffer = fillInputBuffer;
        source.skip_input_data = skipInputData;
        source.resync_to_restart = jpeg_resync_to_restart;
        source.term_source = termSource;
    }
    ~JpegReader() { jpeg_destroy_decompress(&info); }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;
};

// Reads the header; true for grey and colour files (the output is grey or RGB).
bool readJpegHeader(JpegReader* jpeg) {
    if (setjmp(jpeg->errors.jump)) return false;
    jpeg_create_decompress(&jpeg->info);
    jpeg->info.src = &jpeg->source;
    jpeg_read_header(&jpeg->info, TRUE);
    jpeg->info.quantize_colors = FALSE;
    jpeg_calc_output_dimensions(&jpeg->info);
    const J_COLOR_SPACE space = jpeg->info.out_color_space;
    const int components = jpeg->info.output_components;
    return (space == JCS_GRAYSCALE && components == 1) || (space == JCS_RGB && components == 3);
}

bool readJpegRows(JpegReader* jpeg, JSAMPROW row, Image* image) {
    if (setjmp(jpeg->errors.jump)) return false;
    jpeg_start_decompress(&jpeg->info);
    while (jpeg->info.output_scanline < jpeg->info.output_height) {
        const int32_t y = int32_t(jpeg->info.output_scanline);
        jpeg_read_scanlines(&jpeg->info, &row, 1);
        storeRow(*image, y, row, jpeg->info.output_components);
    }
    jpeg_finish_decompress(&jpeg->info);
    return true;
}

}  // namespace

ImagePtr decodeJpeg(const uint8_t* data, size_t size, bool sixteenBit) {
    JpegReader jpeg(data, size);
    if (!readJpegHeader(&jpeg)) return {};
    ImagePtr image = makeTextureImage(jpeg.info.output_width, jpeg.info.output_height, sixteenBit);
    if (!image) return {};
    std::vector<JSAMPLE> row(size_t(jpeg.info.output_width) * size_t(jpeg.info.output_components));
    if (!readJpegRows(&jpeg, row.data(), image.get())) return {};
    return image;
}

}  // namespace texture
