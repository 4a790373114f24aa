// Tests of the picture and its files: sample scales, depth conversion, round
// trips through every writable format, the input kinds each reader accepts,
// bad files, and writes that must leave the destination alone when they fail.
#include <sys/resource.h>
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor/picture.h"
#include "editor/picture_file.h"
#include "tests/e2e/strip_check.h"
#include "tests/support/encoded_files.h"
#include "tests/support/temp_folder.h"

namespace editor {
namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// Helpers: a fresh folder per test, pictures, raw files made with the libraries.

uint32_t fullScale(int depth) { return depth == 16 ? kHostFullScale16 : 255; }

uint32_t sampleAt(const Picture& p, size_t i) { return p.depth == 16 ? p.samples16()[i] : p.data[i]; }

void setSample(Picture& p, size_t i, uint32_t v) {
    if (p.depth == 16)
        p.samples16()[i] = uint16_t(v);
    else
        p.data[i] = uint8_t(v);
}

// Values spread over the whole scale, both ends included.
Picture patterned(int32_t width, int32_t height, int channels, int depth) {
    Picture p = Picture::blank(width, height, channels, depth);
    const uint32_t full = fullScale(depth);
    for (size_t i = 0; i < p.sampleCount(); ++i)
        setSample(p, i, i == 0 ? 0 : i == 1 ? full : uint32_t((i * 7919 + 31) % (full + 1)));
    return p;
}

// Pseudo-random samples, which no compression can shrink much.
Picture noise(int32_t width, int32_t height, int channels, int depth) {
    Picture p = Picture::blank(width, height, channels, depth);
    uint32_t state = 2463534242u;
    for (size_t i = 0; i < p.sampleCount(); ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        setSample(p, i, state % (fullScale(depth) + 1));
    }
    return p;
}

// Smooth ramps, the kind of content JPEG keeps well.
Picture ramps(int32_t width, int32_t height, int depth) {
    Picture p = Picture::blank(width, height, 3, depth);
    const uint32_t full = fullScale(depth);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
            setSample(p, i, uint32_t(x) * full / uint32_t(width - 1));
            setSample(p, i + 1, uint32_t(y) * full / uint32_t(height - 1));
            setSample(p, i + 2, uint32_t(x + y) * full / uint32_t(width + height - 2));
        }
    return p;
}

void expectSamePicture(const Picture& expected, const Picture& actual) {
    ASSERT_TRUE(expected.width == actual.width && expected.height == actual.height &&
                expected.channels == actual.channels && expected.depth == actual.depth);
    EXPECT_TRUE(expected.data == actual.data);
}

using test_support::largestDifference;
using encoded::RawPng;

// The PNG file at path as stored, or false. libpng's longjmp requires a frame holding nothing
// with a destructor.
bool readRawPng(const char* path, RawPng* raw) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    raw->width = png_get_image_width(png, info);
    raw->height = png_get_image_height(png, info);
    raw->colorType = png_get_color_type(png, info);
    raw->bitDepth = png_get_bit_depth(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    png_bytepp rows = png_get_rows(png, info);
    raw->rows.resize(rowBytes * raw->height);
    for (uint32_t y = 0; y < raw->height; ++y) std::memcpy(raw->rows.data() + y * rowBytes, rows[y], rowBytes);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return true;
}

// A TIFF as written with libtiff: samples listed pixel by pixel on the file scale.
struct RawTiff {
    uint32_t width = 0, height = 0;
    uint16_t samplesPerPixel = 3, bitsPerSample = 8;
    uint16_t photometric = PHOTOMETRIC_RGB, planar = PLANARCONFIG_CONTIG, sampleFormat = SAMPLEFORMAT_UINT;
    uint16_t compression = COMPRESSION_NONE;
    std::vector<uint16_t> extraSamples;
    uint32_t tileSize = 0;  // 0: strips of 3 rows
    bool bigEndian = false;
    std::vector<uint32_t> samples;
};

void storeTiffSample(std::vector<uint8_t>& buffer, size_t index, uint16_t bits, uint32_t value) {
    if (bits == 8) {
        buffer[index] = uint8_t(value);
    } else if (bits == 16) {
        const uint16_t v = uint16_t(value);
        std::memcpy(buffer.data() + 2 * index, &v, 2);
    } else {
        const uint32_t v = value;
        std::memcpy(buffer.data() + 4 * index, &v, 4);
    }
}

void writeRawTiff(const std::string& path, const RawTiff& raw) {
    TIFF* tiff = TIFFOpen(path.c_str(), raw.bigEndian ? "wb" : "wl");
    ASSERT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, raw.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, raw.height);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, raw.samplesPerPixel);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, raw.bitsPerSample);
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, raw.sampleFormat);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, raw.photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, raw.planar);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, raw.compression);
    if (!raw.extraSamples.empty())
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, uint16_t(raw.extraSamples.size()), raw.extraSamples.data());
    if (raw.compression == COMPRESSION_JPEG) {
        TIFFSetField(tiff, TIFFTAG_JPEGQUALITY, 95);
        TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    }
    // Strips are blocks as wide as the picture.
    const bool tiled = raw.tileSize != 0, separate = raw.planar == PLANARCONFIG_SEPARATE;
    const uint32_t blockWidth = tiled ? raw.tileSize : raw.width;
    const uint32_t blockHeight = tiled ? raw.tileSize : raw.compression == COMPRESSION_JPEG ? 16u : 3u;
    if (tiled) {
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, blockWidth);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, blockHeight);
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, blockHeight);
    }
    const size_t spp = raw.samplesPerPixel, samplesInRun = separate ? 1 : spp;
    const size_t rowBytes = size_t(blockWidth) * samplesInRun * (raw.bitsPerSample / 8);
    std::vector<uint8_t> block(rowBytes * blockHeight);
    for (size_t plane = 0; plane < (separate ? spp : 1); ++plane)
        for (uint32_t top = 0; top < raw.height; top += blockHeight)
            for (uint32_t left = 0; left < raw.width; left += blockWidth) {
                std::fill(block.begin(), block.end(), 0);
                const uint32_t rows = std::min(blockHeight, raw.height - top);
                for (uint32_t r = 0; r < rows; ++r)
                    for (uint32_t c = 0; c < blockWidth && left + c < raw.width; ++c)
                        for (size_t s = 0; s < samplesInRun; ++s)
                            storeTiffSample(block, (size_t(r) * blockWidth + c) * samplesInRun + s, raw.bitsPerSample,
                                            raw.samples[(size_t(top + r) * raw.width + left + c) * spp +
                                                        (separate ? plane : s)]);
                if (tiled)
                    ASSERT_GE(TIFFWriteTile(tiff, block.data(), left, top, 0, uint16_t(plane)), 0);
                else
                    ASSERT_GE(TIFFWriteEncodedStrip(tiff, TIFFComputeStrip(tiff, top, uint16_t(plane)), block.data(),
                                                    tmsize_t(rowBytes * rows)),
                              0);
            }
    TIFFClose(tiff);
}

// Reads back a contiguous, stripped TIFF such as writePicture makes.
RawTiff readRawTiff(const std::string& path) {
    RawTiff raw;
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    EXPECT_NE(tiff, nullptr) << path;
    if (!tiff) return raw;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &raw.width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &raw.height);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &raw.samplesPerPixel);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &raw.bitsPerSample);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &raw.planar);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &raw.photometric);
    uint16_t extraCount = 0;
    uint16_t* extraKinds = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extraKinds))
        raw.extraSamples.assign(extraKinds, extraKinds + extraCount);
    std::vector<uint8_t> line(size_t(TIFFScanlineSize64(tiff)));
    for (uint32_t y = 0; y < raw.height; ++y) {
        EXPECT_GE(TIFFReadScanline(tiff, line.data(), y, 0), 0);
        for (size_t i = 0; i < size_t(raw.width) * raw.samplesPerPixel; ++i) {
            uint16_t v = line[i];
            if (raw.bitsPerSample == 16) std::memcpy(&v, line.data() + 2 * i, 2);
            raw.samples.push_back(v);
        }
    }
    TIFFClose(tiff);
    return raw;
}

// ---------------------------------------------------------------------------
// Sample scales.

// Worked values of the four mappings, at the ends and around rounding steps.
TEST(SampleScale, ExactValues) {
    const std::vector<std::pair<uint16_t, uint16_t>> fileToHost = {
        {0, 0}, {1, 1}, {2, 1}, {3, 2}, {32767, 16384}, {32768, 16384}, {65533, 32767}, {65534, 32767}, {65535, 32768}};
    for (const auto& [v, s] : fileToHost) EXPECT_EQ(fileToHost16(v), s) << v;
    const std::vector<std::pair<uint16_t, uint16_t>> hostToFile = {{0, 0},         {1, 2},         {2, 4},
                                                                   {16384, 32768}, {32767, 65533}, {32768, 65535}};
    for (const auto& [s, v] : hostToFile) EXPECT_EQ(hostToFile16(s), v) << s;
    const std::vector<std::pair<uint8_t, uint16_t>> widen = {{0, 0},       {1, 129},     {2, 257},    {127, 16320},
                                                             {128, 16448}, {254, 32639}, {255, 32768}};
    for (const auto& [v, s] : widen) EXPECT_EQ(widen8To16(v), s) << int(v);
    const std::vector<std::pair<uint16_t, uint8_t>> narrow = {{0, 0},   {64, 0},      {65, 1},      {192, 1},
                                                              {193, 2}, {16384, 128}, {32704, 255}, {32768, 255}};
    for (const auto& [s, v] : narrow) EXPECT_EQ(narrow16To8(s), v) << s;
}

// Every file value lands on the host scale in order, and every host value comes back.
TEST(SampleScale, FileValuesMapMonotonicallyAndHostValuesRoundTrip) {
    uint16_t previous = 0;
    for (uint32_t v = 0; v <= 65535; ++v) {
        const uint16_t s = fileToHost16(uint16_t(v));
        ASSERT_LE(s, kHostFullScale16) << v;
        ASSERT_GE(s, previous) << v;
        previous = s;
        if (v <= kHostFullScale16) {
            ASSERT_EQ(fileToHost16(hostToFile16(uint16_t(v))), v) << v;
        }
    }
}

// Every 8-bit value, alpha included, widens by the mapping and narrows back to itself.
TEST(ConvertDepth, EveryEightBitValueRoundTripsThroughSixteen) {
    Picture eight = Picture::blank(256, 1, 4, 8);
    for (size_t i = 0; i < eight.sampleCount(); ++i) eight.data[i] = uint8_t(i / 4);
    const Picture sixteen = convertDepth(eight, 16);
    ASSERT_EQ(sixteen.depth, 16);
    ASSERT_TRUE(sixteen.isValid());
    for (size_t i = 0; i < sixteen.sampleCount(); ++i) ASSERT_EQ(sixteen.samples16()[i], widen8To16(eight.data[i]));
    expectSamePicture(eight, convertDepth(sixteen, 8));
}

// ---------------------------------------------------------------------------
// Round trips.

TEST(PictureFile, LosslessFormatsRoundTripExactly) {
    TempFolder folder;
    for (const char* extension : {".png", ".tif", ".TIFF"})
        for (const int depth : {8, 16})
            for (const int channels : {3, 4}) {
                const std::string path =
                    folder / ("round" + std::to_string(depth) + "-" + std::to_string(channels) + extension);
                SCOPED_TRACE(path);
                const Picture original = patterned(37, 23, channels, depth);
                writePicture(original, path);
                expectSamePicture(original, readPicture(path));
            }
}

// Every compression level stores the same pixels, over several TIFF strips with a short last
// one; the levels differ only in size: the best level makes smooth pictures smaller than the
// fast one, in JPEG too, whose pixels are the same at every level.
TEST(PictureFile, EveryCompressionLevelStoresTheSamePixels) {
    TempFolder folder;
    const Compression levels[] = {Compression::fast, Compression::standard, Compression::best};
    for (const char* extension : {".png", ".tif"})
        for (const int depth : {8, 16})
            for (const int channels : {3, 4})
                for (const Compression level : levels) {
                    const std::string path = folder / ("level" + std::to_string(int(level)) + extension);
                    SCOPED_TRACE(path + " at " + std::to_string(depth) + " bits, " + std::to_string(channels));
                    const Picture original = patterned(1000, 150, channels, depth);
                    writePicture(original, path, level);
                    expectSamePicture(original, readPicture(path));
                }
    for (const char* extension : {".png", ".tif", ".jpg"}) {
        SCOPED_TRACE(extension);
        const std::string fast = folder / (std::string("fast") + extension);
        const std::string best = folder / (std::string("best") + extension);
        writePicture(ramps(400, 300, 16), fast, Compression::fast);
        writePicture(ramps(400, 300, 16), best, Compression::best);
        expectSamePicture(readPicture(fast), readPicture(best));
        EXPECT_LT(fs::file_size(best), fs::file_size(fast));
    }
}

// TIFF strips are compressed on several threads; the file is the same on one thread as on
// three, over enough strips (up to 10, the last one short) to reuse every buffer in flight.
TEST(PictureFile, TiffBytesDoNotDependOnTheThreadCount) {
    TempFolder folder;
    const struct {
        int depth, channels;
        Compression level;
    } cases[] = {{8, 3, Compression::fast},
                 {16, 4, Compression::fast},
                 {8, 4, Compression::best},
                 {16, 3, Compression::standard}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.depth) + " bits, " + std::to_string(c.channels) + " channels, level " +
                     std::to_string(int(c.level)));
        const Picture original = noise(1024, 1200, c.channels, c.depth);
        writePicture(original, folder / "one.tif", c.level, 1);
        writePicture(original, folder / "three.tif", c.level, 3);
        EXPECT_EQ(readBytes(folder / "one.tif"), readBytes(folder / "three.tif"));
        expectSamePicture(original, readPicture(folder / "three.tif"));
    }
}

// JPEG holds 8 bits: a 16-bit picture comes back as its 8-bit reduction. Colour is stored at full
// resolution: one-pixel stripes of red and blue stay apart instead of blending into purple.
TEST(PictureFile, JpegRoundTripIsClose) {
    TempFolder folder;
    Picture stripes = Picture::blank(32, 32, 3, 8);
    for (size_t p = 0; p < 32 * 32; ++p) stripes.data[3 * p + (p % 2 == 0 ? 0 : 2)] = 255;
    const std::pair<Picture, uint32_t> cases[] = {{ramps(64, 48, 8), 5}, {ramps(64, 48, 16), 5}, {stripes, 12}};
    int n = 0;
    for (const auto& [original, tolerance] : cases) {
        const std::string path = folder / ("round" + std::to_string(n++) + ".jpg");
        writePicture(original, path);
        const Picture back = readPicture(path);
        ASSERT_TRUE(back.depth == 8 && back.channels == 3 && back.width == original.width &&
                    back.height == original.height) << n;
        EXPECT_LE(largestDifference(convertDepth(original, 8), back), tolerance) << n;
    }
}

// Every host value written at 16 bits is stored as hostToFile16 of it, big-endian in PNG, and
// read back as itself. 257 x 43 x 3 samples hold all 32769 host values.
TEST(PictureFile, SixteenBitValuesSurviveWriteAndRead) {
    TempFolder folder;
    for (const int channels : {3, 4})
        for (const char* extension : {".png", ".tif"}) {
            const std::string path = folder / ("all16-" + std::to_string(channels) + extension);
            SCOPED_TRACE(path);
            Picture picture = Picture::blank(257, 43, channels, 16);
            for (size_t i = 0; i < picture.sampleCount(); ++i)
                picture.samples16()[i] = uint16_t(i % (kHostFullScale16 + 1));
            writePicture(picture, path);
            std::vector<uint32_t> stored;
            if (std::string(extension) == ".png") {
                RawPng raw;
                ASSERT_TRUE(readRawPng(path.c_str(), &raw));
                EXPECT_EQ(raw.bitDepth, 16);
                EXPECT_EQ(raw.colorType, channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB);
                for (size_t i = 0; i + 1 < raw.rows.size(); i += 2) stored.push_back(raw.rows[i] << 8 | raw.rows[i + 1]);
            } else {
                const RawTiff raw = readRawTiff(path);
                EXPECT_EQ(raw.bitsPerSample, 16);
                EXPECT_EQ(raw.samplesPerPixel, channels);
                EXPECT_EQ(raw.extraSamples, channels == 4 ? std::vector<uint16_t>{EXTRASAMPLE_UNASSALPHA}
                                                          : std::vector<uint16_t>{});
                stored = raw.samples;
            }
            ASSERT_EQ(stored.size(), picture.sampleCount());
            for (size_t i = 0; i < stored.size(); ++i)
                ASSERT_EQ(stored[i], hostToFile16(picture.samples16()[i])) << i;
            expectSamePicture(picture, readPicture(path));
        }
}

// ---------------------------------------------------------------------------
// PNG kinds: each becomes 8 or 16-bit RGB or RGBA.

struct PngKindCase {
    const char* name;
    RawPng file;
    Picture expected;
};

Picture pictureOf(int32_t width, int32_t height, int channels, int depth, std::vector<uint32_t> samples) {
    Picture p = Picture::blank(width, height, channels, depth);
    for (size_t i = 0; i < samples.size() && i < p.sampleCount(); ++i) setSample(p, i, samples[i]);
    return p;
}

RawPng rawPng(uint32_t width, uint32_t height, int colorType, int bitDepth, std::vector<uint8_t> rows) {
    RawPng raw;
    raw.width = width;
    raw.height = height;
    raw.colorType = colorType;
    raw.bitDepth = bitDepth;
    raw.rows = std::move(rows);
    return raw;
}

std::vector<PngKindCase> pngKindCases() {
    std::vector<PngKindCase> cases;
    cases.push_back({"grey 8", rawPng(3, 1, PNG_COLOR_TYPE_GRAY, 8, {0, 100, 255}),
                     pictureOf(3, 1, 3, 8, {0, 0, 0, 100, 100, 100, 255, 255, 255})});
    cases.push_back({"grey 16", rawPng(2, 1, PNG_COLOR_TYPE_GRAY, 16, {0x00, 0x00, 0xff, 0xff}),
                     pictureOf(2, 1, 3, 16, {0, 0, 0, 32768, 32768, 32768})});
    cases.push_back({"grey+alpha 8", rawPng(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {10, 0, 200, 128}),
                     pictureOf(2, 1, 4, 8, {10, 10, 10, 0, 200, 200, 200, 128})});
    // 0x8000 = 32768 -> (32768*32768 + 32767) / 65535 = 16384
    cases.push_back({"grey+alpha 16", rawPng(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, {0x80, 0x00, 0xff, 0xff}),
                     pictureOf(1, 1, 4, 16, {16384, 16384, 16384, 32768})});
    cases.push_back({"grey 1-bit", rawPng(3, 1, PNG_COLOR_TYPE_GRAY, 1, {0b10100000}),
                     pictureOf(3, 1, 3, 8, {255, 255, 255, 0, 0, 0, 255, 255, 255})});
    cases.push_back({"grey 2-bit", rawPng(4, 1, PNG_COLOR_TYPE_GRAY, 2, {0b00011011}),
                     pictureOf(4, 1, 3, 8, {0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255})});
    cases.push_back({"grey 4-bit", rawPng(2, 1, PNG_COLOR_TYPE_GRAY, 4, {0x3f}),
                     pictureOf(2, 1, 3, 8, {51, 51, 51, 255, 255, 255})});
    const std::vector<png_color> palette = {{255, 0, 0}, {0, 128, 255}, {7, 8, 9}};
    // tRNS shorter than the palette: later entries are opaque.
    auto withPalette = [&](RawPng raw, std::vector<png_byte> alpha) {
        raw.palette = palette;
        raw.paletteAlpha = std::move(alpha);
        return raw;
    };
    auto withTransparent = [](RawPng raw, png_color_16 colour) {
        raw.transparentColour = colour;
        return raw;
    };
    cases.push_back({"palette 8", withPalette(rawPng(3, 1, PNG_COLOR_TYPE_PALETTE, 8, {2, 0, 1}), {}),
                     pictureOf(3, 1, 3, 8, {7, 8, 9, 255, 0, 0, 0, 128, 255})});
    cases.push_back({"palette 4-bit with tRNS",
                     withPalette(rawPng(3, 1, PNG_COLOR_TYPE_PALETTE, 4, {0x01, 0x20}), {0, 77}),
                     pictureOf(3, 1, 4, 8, {255, 0, 0, 0, 0, 128, 255, 77, 7, 8, 9, 255})});
    cases.push_back({"RGB 8 with a transparent colour",
                     withTransparent(rawPng(2, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6}), {0, 4, 5, 6, 0}),
                     pictureOf(2, 1, 4, 8, {1, 2, 3, 255, 4, 5, 6, 0})});
    cases.push_back({"grey 8 with a transparent grey",
                     withTransparent(rawPng(2, 1, PNG_COLOR_TYPE_GRAY, 8, {9, 30}), {0, 0, 0, 0, 9}),
                     pictureOf(2, 1, 4, 8, {9, 9, 9, 0, 30, 30, 30, 255})});
    {
        // Interlaced: all seven passes land in the right places.
        RawPng file = rawPng(9, 9, PNG_COLOR_TYPE_RGB_ALPHA, 16, {});
        file.interlaced = true;
        Picture expected = Picture::blank(9, 9, 4, 16);
        for (size_t i = 0; i < expected.sampleCount(); ++i) {
            const uint16_t s = uint16_t(i * 331 % (kHostFullScale16 + 1));
            const uint16_t v = hostToFile16(s);
            file.rows.push_back(uint8_t(v >> 8));
            file.rows.push_back(uint8_t(v));
            expected.samples16()[i] = s;
        }
        cases.push_back({"interlaced RGBA 16", file, expected});
    }
    return cases;
}

TEST(PictureFile, PngKindsBecomeRgbOrRgba) {
    TempFolder folder;
    int n = 0;
    for (const PngKindCase& c : pngKindCases()) {
        SCOPED_TRACE(c.name);
        const std::string path = folder / ("kind" + std::to_string(n++) + ".png");
        writeBytes(path, encoded::png(c.file));
        expectSamePicture(c.expected, readPicture(path));
    }
}

// ---------------------------------------------------------------------------
// TIFF kinds.

struct TiffKindCase {
    const char* name;
    RawTiff file;
    int channels;             // of the picture read
    std::vector<int> sample;  // file sample each picture channel takes
};

std::vector<TiffKindCase> tiffKindCases() {
    auto make = [](uint16_t spp, uint16_t bits, uint16_t photometric, uint16_t planar, uint32_t tile,
                   std::vector<uint16_t> extras) {
        RawTiff raw;
        raw.width = 37;
        raw.height = 21;
        raw.samplesPerPixel = spp;
        raw.bitsPerSample = bits;
        raw.photometric = photometric;
        raw.planar = planar;
        raw.tileSize = tile;
        raw.extraSamples = std::move(extras);
        const uint32_t full = bits == 16 ? 65535 : 255;
        for (size_t i = 0; i < size_t(raw.width) * raw.height * spp; ++i)
            raw.samples.push_back(i == 0 ? 0 : i == 1 ? full : uint32_t(i * 7919 % (full + 1)));
        return raw;
    };
    const uint16_t contig = PLANARCONFIG_CONTIG, separate = PLANARCONFIG_SEPARATE;
    const uint16_t alpha = EXTRASAMPLE_UNASSALPHA, unspecified = EXTRASAMPLE_UNSPECIFIED;
    std::vector<TiffKindCase> cases = {
        {"RGB 8 separate planes", make(3, 8, PHOTOMETRIC_RGB, separate, 0, {}), 3, {0, 1, 2}},
        {"RGBA 16 separate planes", make(4, 16, PHOTOMETRIC_RGB, separate, 0, {alpha}), 4, {0, 1, 2, 3}},
        {"RGB 16 tiles", make(3, 16, PHOTOMETRIC_RGB, contig, 16, {}), 3, {0, 1, 2}},
        {"RGBA 8 tiles, separate planes", make(4, 8, PHOTOMETRIC_RGB, separate, 16, {alpha}), 4, {0, 1, 2, 3}},
        {"grey 8", make(1, 8, PHOTOMETRIC_MINISBLACK, contig, 0, {}), 3, {0, 0, 0}},
        {"grey+alpha 16", make(2, 16, PHOTOMETRIC_MINISBLACK, contig, 0, {alpha}), 4, {0, 0, 0, 1}},
        {"RGB 8 with an unspecified extra sample", make(4, 8, PHOTOMETRIC_RGB, contig, 0, {unspecified}), 3, {0, 1, 2}},
        {"RGB 16 with a mask before the alpha",
         make(5, 16, PHOTOMETRIC_RGB, separate, 0, {unspecified, alpha}),
         4,
         {0, 1, 2, 4}},
    };
    TiffKindCase bigEndian{"RGBA 16 big-endian", make(4, 16, PHOTOMETRIC_RGB, contig, 0, {alpha}), 4, {0, 1, 2, 3}};
    bigEndian.file.bigEndian = true;
    bigEndian.file.compression = COMPRESSION_LZW;
    cases.push_back(bigEndian);
    return cases;
}

TEST(PictureFile, TiffKindsBecomeRgbOrRgba) {
    TempFolder folder;
    int n = 0;
    for (const TiffKindCase& c : tiffKindCases()) {
        SCOPED_TRACE(c.name);
        const std::string path = folder / ("kind" + std::to_string(n++) + ".tif");
        writeRawTiff(path, c.file);
        const Picture picture = readPicture(path);
        ASSERT_EQ(picture.width, int32_t(c.file.width));
        ASSERT_EQ(picture.height, int32_t(c.file.height));
        ASSERT_EQ(picture.channels, c.channels);
        ASSERT_EQ(picture.depth, c.file.bitsPerSample);
        for (size_t p = 0; p < size_t(picture.width) * size_t(picture.height); ++p)
            for (int ch = 0; ch < c.channels; ++ch) {
                const uint32_t v = c.file.samples[p * c.file.samplesPerPixel + size_t(c.sample[size_t(ch)])];
                const uint32_t expected = picture.depth == 16 ? fileToHost16(uint16_t(v)) : v;
                ASSERT_EQ(sampleAt(picture, p * size_t(c.channels) + size_t(ch)), expected)
                    << "pixel " << p << " channel " << ch;
            }
    }
}

TEST(PictureFile, JpegCompressedYCbCrTiffReadsAsRgb) {
    if (!TIFFIsCODECConfigured(COMPRESSION_JPEG)) GTEST_SKIP() << "libtiff built without JPEG";
    TempFolder folder;
    const Picture original = ramps(40, 32, 8);
    RawTiff raw;
    raw.width = 40;
    raw.height = 32;
    raw.photometric = PHOTOMETRIC_YCBCR;
    raw.compression = COMPRESSION_JPEG;
    raw.samples.assign(original.data.begin(), original.data.end());
    const std::string path = folder / "ycbcr.tif";
    writeRawTiff(path, raw);
    const Picture back = readPicture(path);
    ASSERT_EQ(back.channels, 3);
    ASSERT_EQ(back.width, 40);
    EXPECT_LE(largestDifference(original, back), 8u);
}

TEST(PictureFile, GreyJpegBecomesRgb) {
    TempFolder folder;
    std::vector<uint8_t> grey(32 * 16);
    for (size_t i = 0; i < grey.size(); ++i) grey[i] = uint8_t((i % 32) * 8);
    const std::string path = folder / "grey.jpeg";
    writeBytes(path, encoded::jpeg(32, 16, 1, JCS_GRAYSCALE, grey));
    const Picture picture = readPicture(path);
    ASSERT_EQ(picture.channels, 3);
    ASSERT_EQ(picture.depth, 8);
    for (size_t p = 0; p < grey.size(); ++p) {
        EXPECT_EQ(picture.data[3 * p], picture.data[3 * p + 1]);
        EXPECT_EQ(picture.data[3 * p], picture.data[3 * p + 2]);
        EXPECT_NEAR(picture.data[3 * p], grey[p], 3) << p;
    }
}

// ---------------------------------------------------------------------------
// Bad input: a FileError of one line naming the file, never a crash. (Files that state more
// pixels than they hold or than the limit allows are tested with the picture limits.)

TEST(PictureFile, BadFilesGiveOneLineErrors) {
    TempFolder folder;
    const Picture good = noise(64, 64, 3, 8);
    writePicture(good, folder / "good.png");
    writePicture(good, folder / "good.jpg");
    writePicture(good, folder / "good.tif");
    const std::vector<uint8_t> png = readBytes(folder / "good.png");
    const std::vector<uint8_t> jpeg = readBytes(folder / "good.jpg");
    const std::vector<uint8_t> tiff = readBytes(folder / "good.tif");
    auto firstPart = [](const std::vector<uint8_t>& bytes, size_t size) {
        return std::vector<uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
    };
    std::vector<uint8_t> badCrc = png;
    badCrc[png.size() / 2] ^= 0x55;  // inside the image data

    std::vector<uint8_t> cmyk(8 * 8 * 4, 100);
    writeBytes(folder / "cmyk.jpg", encoded::jpeg(8, 8, 4, JCS_CMYK, cmyk));

    RawTiff premultiplied;
    premultiplied.width = premultiplied.height = 4;
    premultiplied.samplesPerPixel = 4;
    premultiplied.extraSamples = {EXTRASAMPLE_ASSOCALPHA};
    premultiplied.samples.assign(4 * 4 * 4, 50);
    writeRawTiff(folder / "premultiplied.tif", premultiplied);

    RawTiff floats = premultiplied;
    floats.bitsPerSample = 32;
    floats.sampleFormat = SAMPLEFORMAT_IEEEFP;
    floats.extraSamples = {EXTRASAMPLE_UNASSALPHA};
    writeRawTiff(folder / "float.tif", floats);

    fs::create_directory(folder / "folder.png");

    struct BadCase {
        std::string name;
        std::optional<std::vector<uint8_t>> bytes;  // nothing: the file is made above or does not exist
        std::string problem;                        // part of the message
    };
    const std::vector<BadCase> cases = {
        {"missing.png", std::nullopt, "no such file"},
        {"empty.png", std::vector<uint8_t>{}, "empty"},
        {"text.png", std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', '\n'}, "not a PNG, TIFF or JPEG file"},
        {"one-byte.jpg", std::vector<uint8_t>{0xff}, "not a PNG, TIFF or JPEG file"},
        {"folder.png", std::nullopt, "folder"},
        {"truncated.png", firstPart(png, png.size() / 2), "damaged or truncated PNG"},
        {"signature-only.png", firstPart(png, 8), "damaged or truncated PNG"},
        {"bad-crc.png", badCrc, "damaged or truncated PNG"},
        {"truncated.jpg", firstPart(jpeg, jpeg.size() / 2), "damaged or truncated JPEG"},
        {"header-only.jpg", firstPart(jpeg, 40), "damaged or truncated JPEG"},
        {"truncated.tif", firstPart(tiff, tiff.size() / 2), "TIFF"},
        {"header-only.tif", firstPart(tiff, 8), "TIFF"},
        {"cmyk.jpg", std::nullopt, "CMYK"},
        {"premultiplied.tif", std::nullopt, "premultiplied"},
        {"float.tif", std::nullopt, "32 bits"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder / c.name;
        if (c.bytes) writeBytes(path, *c.bytes);
        try {
            readPicture(path);
            ADD_FAILURE() << "read without an error";
        } catch (const FileError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.find('\n'), std::string::npos) << message;
            EXPECT_EQ(message.rfind("cannot read \"" + path + "\": ", 0), 0u) << message;
            EXPECT_NE(message.find(c.problem), std::string::npos) << message;
        }
    }
}

TEST(PictureFile, FormatComesFromTheContentNotTheName) {
    TempFolder folder;
    const Picture original = patterned(8, 8, 4, 16);
    writePicture(original, folder / "really-a.png");
    fs::rename(folder / "really-a.png", folder / "named-as.jpg");
    expectSamePicture(original, readPicture(folder / "named-as.jpg"));
}

// ---------------------------------------------------------------------------
// Writing.

TEST(PictureFile, ExtensionsAreCaseInsensitive) {
    TempFolder folder;
    const Picture picture = patterned(6, 5, 3, 8);
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> cases = {{"a.PNG", {0x89, 'P', 'N', 'G'}},
                                                                             {"b.Tif", {'I', 'I', 42, 0}},
                                                                             {"c.JPEG", {0xff, 0xd8, 0xff}},
                                                                             {"d.JpG", {0xff, 0xd8, 0xff}}};
    for (const auto& [name, signature] : cases) {
        SCOPED_TRACE(name);
        writePicture(picture, folder / name);
        const std::vector<uint8_t> bytes = readBytes(folder / name);
        ASSERT_GE(bytes.size(), signature.size());
        EXPECT_TRUE(std::equal(signature.begin(), signature.end(), bytes.begin()));
    }
}

TEST(PictureFile, RefusedWritesCreateNothing) {
    TempFolder folder;
    const Picture rgba = patterned(4, 4, 4, 8);
    Picture malformed = patterned(4, 4, 3, 8);
    malformed.data.pop_back();
    struct Case {
        std::string name;
        const Picture* picture;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {"transparent.jpg", &rgba, "JPEG cannot hold transparency"},
        {"picture.bmp", &rgba, ".png, .tif, .tiff, .jpg or .jpeg"},
        {"no-extension", &rgba, ".png, .tif, .tiff, .jpg or .jpeg"},
        {"malformed.png", &malformed, "malformed"},
        {"missing-folder/out.png", &rgba, "folder does not exist"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            writePicture(*c.picture, folder / c.name);
            ADD_FAILURE() << "written without an error";
        } catch (const FileError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("cannot write \"" + (folder / c.name) + "\": ", 0), 0u) << message;
            EXPECT_NE(message.find(c.problem), std::string::npos) << message;
        }
        EXPECT_TRUE(folder.names().empty());
    }
}

TEST(PictureFile, WritingOverAFolderFailsAndLeavesIt) {
    TempFolder folder;
    fs::create_directory(folder / "taken.png");
    writeBytes(folder / "taken.png/inside", {1, 2, 3});
    EXPECT_THROW(writePicture(patterned(4, 4, 3, 8), folder / "taken.png"), FileError);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"taken.png"});
    EXPECT_EQ(readBytes(folder / "taken.png/inside"), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(PictureFile, WriteProtectedFileIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    TempFolder folder;
    const std::string path = folder / "kept.png";
    writeBytes(path, {9, 9, 9});
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_THROW(writePicture(patterned(4, 4, 3, 8), path), FileError);
    EXPECT_EQ(readBytes(path), (std::vector<uint8_t>{9, 9, 9}));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"kept.png"});
}

// The file-size limit makes the write itself fail half-way, after the
// temporary file was created.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(PictureFile, FailedWriteLeavesTheDestinationUntouched) {
    TempFolder folder;
    const Picture big = noise(300, 200, 3, 16);
    for (const char* name : {"old.png", "old.tif", "old.jpg"}) {
        SCOPED_TRACE(name);
        const std::string path = folder / name;
        const std::vector<uint8_t> old(3000, 0xab);
        writeBytes(path, old);
        {
            FileSizeLimit limit(8192);
            try {
                writePicture(big, path);
                ADD_FAILURE() << "written past the size limit";
            } catch (const FileError& error) {
                EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos);
            }
        }
        EXPECT_EQ(readBytes(path), old);
        EXPECT_EQ(folder.names().size(), 1u);  // no temporary file left beside it
        fs::remove(path);
    }
}

TEST(PictureFile, ReplacesAnExistingFileWithTheNewPicture) {
    TempFolder folder;
    const std::string path = folder / "same.tif";
    writePicture(patterned(9, 7, 3, 8), path);
    Picture edited = readPicture(path);
    for (uint8_t& sample : edited.data) sample = uint8_t(255 - sample);
    writePicture(edited, path);  // input and output are one path
    expectSamePicture(edited, readPicture(path));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"same.tif"});
}

}  // namespace
}  // namespace editor
