#include "editor/font_face.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "editor/program_path.h"
#include "editor/whole_file.h"

namespace editor {

namespace {

// The next code point of UTF-8 text; a malformed byte stands for itself.
char32_t nextCodePoint(std::string_view text, size_t& at) {
    const auto lead = uint8_t(text[at++]);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || at + size_t(extra) > text.size()) return lead;
    char32_t code = lead & (0x3F >> extra);
    for (int n = 0; n < extra; ++n) {
        const auto next = uint8_t(text[at]);
        if ((next & 0xC0) != 0x80) return lead;
        code = (code << 6) | (next & 0x3F);
        ++at;
    }
    return code;
}

}  // namespace

// The FreeType library and the one face opened in it, released in reverse order.
struct FontFace::Library {
    std::vector<uint8_t> bytes;  // the font file, read whole: the face reads from it
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int32_t size = 0;
    ~Library() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

FontFace::FontFace(const std::string& path) : library_(std::make_unique<Library>()) {
    library_->bytes = readWholeFile(path);
    if (FT_Init_FreeType(&library_->library) != 0) throw std::runtime_error("the font engine could not start");
    if (FT_New_Memory_Face(library_->library, library_->bytes.data(), FT_Long(library_->bytes.size()), 0,
                           &library_->face) != 0 ||
        !FT_IS_SCALABLE(library_->face))
        throw std::runtime_error("\"" + path + "\" is not a scalable font file");
}

FontFace::~FontFace() = default;

std::vector<std::string> FontFace::searchPaths() {
    std::vector<std::string> paths;
    if (const char* named = std::getenv("RAVO_FONT"); named && *named) paths.emplace_back(named);
    paths.push_back(programFolder() + "/fonts/DejaVuSans.ttf");
    paths.emplace_back("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    return paths;
}

FontFace* FontFace::shared() {
    static const std::unique_ptr<FontFace> face = []() -> std::unique_ptr<FontFace> {
        for (const std::string& path : searchPaths()) {
            try {
                return std::make_unique<FontFace>(path);
            } catch (const std::runtime_error&) {
                // not there or not a font: the next place
            }
        }
        return nullptr;
    }();
    return face.get();
}

void FontFace::setSize(int32_t pixelSize) {
    if (library_->size == pixelSize) return;
    FT_Set_Pixel_Sizes(library_->face, 0, FT_UInt(std::max(pixelSize, 1)));
    library_->size = pixelSize;
}

int32_t FontFace::ascent(int32_t pixelSize) {
    setSize(pixelSize);
    return int32_t(library_->face->size->metrics.ascender >> 6);
}

int32_t FontFace::lineHeight(int32_t pixelSize) {
    setSize(pixelSize);
    return int32_t(library_->face->size->metrics.height >> 6);
}

int32_t FontFace::lineWidth(std::string_view text, int32_t pixelSize) {
    setSize(pixelSize);
    int32_t width = 0;
    for (size_t at = 0; at < text.size();) {
        if (FT_Load_Char(library_->face, nextCodePoint(text, at), FT_LOAD_DEFAULT) == 0)
            width += int32_t(library_->face->glyph->advance.x >> 6);
    }
    return width;
}

void FontFace::draw(DialogCanvas& canvas, std::string_view text, int32_t x, int32_t baseline, int32_t pixelSize,
                    const ps::ADMRect& clip) {
    setSize(pixelSize);
    const FT_GlyphSlot glyph = library_->face->glyph;
    for (size_t at = 0; at < text.size();) {
        if (FT_Load_Char(library_->face, nextCodePoint(text, at), FT_LOAD_RENDER) != 0) continue;
        const FT_Bitmap& bitmap = glyph->bitmap;
        if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
            const int32_t left = x + glyph->bitmap_left, top = baseline - glyph->bitmap_top;
            for (int32_t row = 0; row < int32_t(bitmap.rows); ++row) {
                const int32_t y = top + row;
                if (y < clip.top || y >= clip.bottom) continue;
                const unsigned char* coverage = bitmap.buffer + ptrdiff_t(row) * bitmap.pitch;
                for (int32_t column = 0; column < int32_t(bitmap.width); ++column) {
                    const int32_t px = left + column;
                    if (px >= clip.left && px < clip.right) canvas.blend(px, y, coverage[column]);
                }
            }
        }
        x += int32_t(glyph->advance.x >> 6);
    }
}

}  // namespace editor
