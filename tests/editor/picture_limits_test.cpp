// Pictures whose files claim more than they hold: sizes over the pixel limit are refused
// from the header, a lowered or raised limit is kept exactly, and files that end before
// their last pixel fail at the first row they cannot supply, named in the host's words.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/picture.h"
#include "editor/picture_file.h"
#include "tests/support/crafted_files.h"
#include "tests/support/temp_folder.h"

namespace editor {
namespace {

// The problem readPicture names, or "read" when it reads the file.
std::string readProblem(const std::string& path, uint64_t pixelLimit = kDefaultPixelLimit) {
    try {
        readPicture(path, pixelLimit);
        return "read";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos) << error.what();
        return error.problem();
    }
}

// A real 8x8 JPEG whose frame header is changed to state width x height.
std::vector<uint8_t> jpegStating(const TempFolder& folder, uint16_t width, uint16_t height) {
    writePicture(Picture::blank(8, 8, 3, 8), folder / "small.jpg");
    std::vector<uint8_t> bytes = readBytes(folder / "small.jpg");
    for (size_t at = 2; at + 9 < bytes.size(); ++at)
        if (bytes[at] == 0xff && (bytes[at + 1] == 0xc0 || bytes[at + 1] == 0xc1 || bytes[at + 1] == 0xc2)) {
            bytes[at + 5] = uint8_t(height >> 8);
            bytes[at + 6] = uint8_t(height);
            bytes[at + 7] = uint8_t(width >> 8);
            bytes[at + 8] = uint8_t(width);
            return bytes;
        }
    ADD_FAILURE() << "no frame header in the JPEG";
    return bytes;
}

crafted::TiffStating tiffStating(uint32_t width, uint32_t height, uint16_t bits, uint16_t samples) {
    crafted::TiffStating tiff;
    tiff.width = width;
    tiff.height = height;
    tiff.bitsPerSample = bits;
    tiff.samplesPerPixel = samples;
    tiff.rowsPerStrip = height;
    return tiff;
}

// A file of these bytes and the problem readPicture names for it (the start of it, when
// `whole` is false).
struct ProblemCase {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* problem;
};

void expectProblems(const TempFolder& folder, const std::vector<ProblemCase>& cases, bool whole = true) {
    for (const ProblemCase& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(folder / c.name, c.bytes);
        const std::string problem = readProblem(folder / c.name);
        EXPECT_TRUE(whole ? problem == c.problem : problem.rfind(c.problem, 0) == 0) << problem;
    }
}

// Files of a few dozen bytes that state sizes over the limit are refused before anything
// is allocated for their pixels.
TEST(PictureLimits, SizesOverTheLimitAreRefusedFromTheHeader) {
    TempFolder folder;
    crafted::TiffStating bigTile;  // one pixel in a tile of 12 GB
    bigTile.width = bigTile.height = 1;
    bigTile.tileWidth = bigTile.tileHeight = 65536;
    bigTile.pixels = {1, 2, 3};
    expectProblems(folder, {
        {"rgba16.png", crafted::pngStating(40000, 40000, 16, 6),
         "the picture is too large (40000 x 40000 pixels; the limit is 1000000000 pixels, raised with --max-pixels)"},
        {"tall.png", crafted::pngStating(1, 2147483647, 8, 2),
         "the picture is too large (1 x 2147483647 pixels; the limit is 1000000000 pixels, raised with --max-pixels)"},
        {"wide.png", crafted::pngStating(2147483647, 2, 8, 2),
         "the picture is too large (2147483647 x 2 pixels; at most 2^31 pixels)"},
        {"rgba16.tif", tiffStating(40000, 40000, 16, 4).bytes(),
         "the picture is too large (40000 x 40000 pixels; the limit is 1000000000 pixels, raised with --max-pixels)"},
        {"tall.tif", tiffStating(1, 4294967295u, 8, 3).bytes(),
         "the picture is too large (1 x 4294967295 pixels; at most 2^31 pixels)"},
        {"wide.jpg", jpegStating(folder, 40000, 30000),
         "the picture is too large (40000 x 30000 pixels; the limit is 1000000000 pixels, raised with --max-pixels)"},
        {"square.jpg", jpegStating(folder, 65500, 65500),
         "the picture is too large (65500 x 65500 pixels; at most 2^31 pixels)"},
        {"big-tile.tif", bigTile.bytes(), "unsupported TIFF tile size (65536 x 65536 pixels for a 1 x 1 picture)"},
    });
}

// The limit counts pixels whatever the format and depth: a picture of exactly the limit is
// read, one pixel fewer allowed refuses it; the host's own ceiling cannot be raised.
TEST(PictureLimits, APictureJustInsideALoweredLimitIsRead) {
    TempFolder folder;
    for (const char* name : {"p.png", "p.tif", "p.jpg"})
        for (const int depth : {8, 16}) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(depth));
            writePicture(Picture::blank(30, 20, std::string(name) == "p.jpg" ? 3 : 4, depth), folder / name);
            EXPECT_EQ(readProblem(folder / name, 600), "read");
            EXPECT_EQ(readProblem(folder / name, 599),
                      "the picture is too large (30 x 20 pixels; the limit is 599 pixels, raised with --max-pixels)");
        }
    writeBytes(folder / "wide.png", crafted::pngStating(2147483647, 2, 8, 2));
    EXPECT_EQ(readProblem(folder / "wide.png", ~uint64_t(0)),
              "the picture is too large (2147483647 x 2 pixels; at most 2^31 pixels)");
}

// Within the limit, a file whose data stops short fails at the first row it cannot supply
// (24-megapixel headers over a few bytes of data).
TEST(PictureLimits, FilesThatEndEarlyFailAtTheFirstMissingRow) {
    TempFolder folder;
    expectProblems(folder, {
        {"rgb.png", crafted::pngStating(6000, 4000, 8, 2), "damaged or truncated PNG file"},
        {"rgba16.png", crafted::pngStating(6000, 4000, 16, 6), "damaged or truncated PNG file"},
        {"rgb.tif", tiffStating(6000, 4000, 8, 3).bytes(),
         "damaged or truncated TIFF file (the pixels of row 1 of 4000 cannot be read)"},
        {"rgba16.tif", tiffStating(6000, 4000, 16, 4).bytes(),
         "damaged or truncated TIFF file (the pixels of row 1 of 4000 cannot be read)"},
        {"rgb.jpg", jpegStating(folder, 6000, 4000), "damaged or truncated JPEG file"},
    }, false);
}

// libtiff's own wording ("Read error at scanline 4294967295", directory internals) stays
// out of the message: it names the row where the pixels stop, or that the file is damaged.
TEST(PictureLimits, DamagedTiffIsDescribedInTheHostsWords) {
    TempFolder folder;
    crafted::TiffStating eightRows;
    eightRows.width = eightRows.height = 8;
    eightRows.rowsPerStrip = 2;  // strips of 48 bytes
    std::vector<uint8_t> pixels(8 * 8 * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i);
    auto cutAfter = [&](size_t pixelBytes) {
        crafted::TiffStating cut = eightRows;
        cut.pixels.assign(pixels.begin(), pixels.begin() + std::ptrdiff_t(pixelBytes));
        return cut.bytes();
    };
    crafted::TiffStating tiled;  // 20 x 20 in four tiles of 16 x 16, 768 bytes each
    tiled.width = tiled.height = 20;
    tiled.tileWidth = tiled.tileHeight = 16;
    tiled.pixels.assign(2 * 768 + 100, 7);
    writePicture(Picture::blank(8, 8, 3, 8), folder / "libtiff.tif");
    const std::vector<uint8_t> written = readBytes(folder / "libtiff.tif");
    ASSERT_GT(written.size(), 100u);
    const std::vector<uint8_t> directoryLast(written.begin(), written.end() - 20);  // libtiff writes it last

    expectProblems(folder, {
        {"no-pixels.tif", cutAfter(0), "damaged or truncated TIFF file (the pixels of row 1 of 8 cannot be read)"},
        {"first-strip.tif", cutAfter(47), "damaged or truncated TIFF file (the pixels of row 1 of 8 cannot be read)"},
        {"second-strip.tif", cutAfter(60), "damaged or truncated TIFF file (the pixels of row 3 of 8 cannot be read)"},
        {"last-byte.tif", cutAfter(191), "damaged or truncated TIFF file (the pixels of row 7 of 8 cannot be read)"},
        {"third-tile.tif", tiled.bytes(), "damaged or truncated TIFF file (the pixels of row 17 of 20 cannot be read)"},
        {"directory-cut.tif", directoryLast, "damaged TIFF file (its first picture cannot be found)"},
    });
    // The whole file reads, so the cuts above are what fails.
    writeBytes(folder / "whole.tif", cutAfter(pixels.size()));
    const Picture whole = readPicture(folder / "whole.tif");
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), whole.data.begin(), whole.data.end()));
}

}  // namespace
}  // namespace editor
