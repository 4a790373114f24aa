#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "editor/picture_file.h"
#include "imaging/texture_image.h"
#include "tests/support/crafted_files.h"
#include "tests/support/effect_harness.h"
#include "tests/support/encoded_files.h"
#include "tests/support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string samplePath(const std::string& name) { return std::string(RAVO_SOURCE_DIR) + "/samples/" + name; }

// Decodes from a heap block of exactly the file's size, so that the sanitizer build catches
// any read past its end.
ImagePtr decodeExactly(const Bytes& bytes, bool sixteenBit) {
    std::unique_ptr<uint8_t[]> block(new uint8_t[bytes.size() ? bytes.size() : 1]);
    if (!bytes.empty()) std::memcpy(block.get(), bytes.data(), bytes.size());
    return decodeTextureImage(bytes.empty() ? nullptr : block.get(), bytes.size(), sixteenBit);
}

// The texture rule for a 16-bit render, as stated: trunc(s x 128.5 + 0.5), which takes 128 to
// 16448 and 255 to 32768 (checked in the first test).
uint32_t textureLevel16(uint32_t level8) { return uint32_t(std::trunc(level8 * 128.5 + 0.5)); }

// ---------------------------------------------------------------------------------------
// Writing small test files

struct PngPicture {
    int colourType;
    int bitDepth;
    bool interlaced;
    std::vector<uint32_t> pixels;         // a pixel's samples each, cycled over the picture
    std::vector<png_color> palette = {};  // for PNG_COLOR_TYPE_PALETTE
};

constexpr int32_t kPngWidth = 13;
constexpr int32_t kPngHeight = 11;
// Pixel (x, y) of a test picture is entry (x + 3y) mod count of its list.
size_t patternIndex(int32_t x, int32_t y, size_t count) { return size_t(x + 3 * y) % count; }

Bytes encodePng(const PngPicture& picture) {
    encoded::RawPng raw;
    raw.width = kPngWidth;
    raw.height = kPngHeight;
    raw.colorType = picture.colourType;
    raw.bitDepth = picture.bitDepth;
    raw.interlaced = picture.interlaced;
    raw.samplePerByte = picture.bitDepth < 8;
    raw.palette = picture.palette;
    const size_t channels = size_t(raw.channels()), pixelCount = picture.pixels.size() / channels;
    for (int32_t y = 0; y < kPngHeight; ++y)
        for (int32_t x = 0; x < kPngWidth; ++x)
            for (size_t c = 0; c < channels; ++c) {
                const uint32_t v = picture.pixels[patternIndex(x, y, pixelCount) * channels + c];
                if (picture.bitDepth == 16) raw.rows.push_back(uint8_t(v >> 8));
                raw.rows.push_back(uint8_t(v));
            }
    return encoded::png(raw);
}

// A grey JPEG of a test pattern.
Bytes encodeGreyJpeg(int32_t width, int32_t height) {
    Bytes samples;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) samples.push_back(uint8_t((x * 7 + y * 13) & 0xff));
    return encoded::jpeg(uint32_t(width), uint32_t(height), 1, JCS_GRAYSCALE, samples, 90);
}

// ---------------------------------------------------------------------------------------

struct PngCase {
    const char* name;
    PngPicture picture;
    std::vector<uint32_t> expected;  // the grey level of each listed pixel
};

TEST(TextureImage, EveryKindOfPngGivesItsGreyLevels) {
    ASSERT_EQ(textureLevel16(128), 16448u);
    ASSERT_EQ(textureLevel16(255), 32768u);
    const PngCase cases[] = {
        {"grey 8", {PNG_COLOR_TYPE_GRAY, 8, false, {0, 1, 128, 255}}, {0, 1, 128, 255}},
        {"grey 16 keeps the high byte", {PNG_COLOR_TYPE_GRAY, 16, false, {0x0000, 0x01ff, 0x80ff, 0xffff}},
         {0, 1, 128, 255}},
        {"grey 1", {PNG_COLOR_TYPE_GRAY, 1, false, {0, 1, 1}}, {0, 255, 255}},
        {"grey 2", {PNG_COLOR_TYPE_GRAY, 2, false, {0, 1, 2, 3}}, {0, 85, 170, 255}},
        {"grey 4", {PNG_COLOR_TYPE_GRAY, 4, false, {0, 7, 8, 15}}, {0, 119, 136, 255}},
        {"grey 8 interlaced", {PNG_COLOR_TYPE_GRAY, 8, true, {3, 250, 77, 128, 9}}, {3, 250, 77, 128, 9}},
        {"grey 2 interlaced", {PNG_COLOR_TYPE_GRAY, 2, true, {3, 0, 2}}, {255, 0, 170}},
        {"grey and alpha", {PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {77, 0, 200, 255}}, {77, 200}},
        {"RGB average", {PNG_COLOR_TYPE_RGB, 8, false, {10, 20, 31, 255, 255, 254, 0, 0, 2, 1, 1, 1}},
         {20, 254, 0, 1}},
        {"RGB 16", {PNG_COLOR_TYPE_RGB, 16, false, {0x0aff, 0x1400, 0x1fff, 0xffff, 0xff00, 0xfe80}},
         {20, 254}},
        {"RGBA ignores alpha", {PNG_COLOR_TYPE_RGB_ALPHA, 8, false, {10, 20, 31, 0, 90, 90, 93, 255}}, {20, 91}},
        {"RGB interlaced", {PNG_COLOR_TYPE_RGB, 8, true, {10, 20, 31, 90, 90, 93, 255, 0, 0}}, {20, 91, 85}},
        {"palette", {PNG_COLOR_TYPE_PALETTE, 8, false, {1, 0, 2}, {{10, 20, 31}, {90, 90, 93}, {255, 255, 255}}},
         {91, 20, 255}},
        {"palette 4", {PNG_COLOR_TYPE_PALETTE, 4, false, {1, 0}, {{10, 20, 31}, {90, 90, 93}}}, {91, 20}},
    };
    for (const PngCase& test : cases) {
        SCOPED_TRACE(test.name);
        const Bytes file = encodePng(test.picture);
        const ImagePtr eight = decodeExactly(file, false);
        const ImagePtr sixteen = decodeExactly(file, true);
        ASSERT_TRUE(eight && sixteen && eight->width == kPngWidth && eight->height == kPngHeight &&
                    eight->channels == 1 && eight->bytesPerChannel == 1);
        for (int32_t y = 0; y < kPngHeight; ++y)
            for (int32_t x = 0; x < kPngWidth; ++x) {
                const uint32_t expected = test.expected[patternIndex(x, y, test.expected.size())];
                ASSERT_EQ(sampleAt(*eight, x, y, 0), expected) << x << "," << y;
                ASSERT_EQ(sampleAt(*sixteen, x, y, 0), textureLevel16(expected)) << x << "," << y;
            }
    }
}

// The bundled textures, the sample photos and a grey JPEG, against the stand-in host's own
// reader (which reads grey as R = G = B); the 16-bit texture is the 8-bit one widened by the
// texture rule, pixel for pixel.
TEST(TextureImage, SampleFilesMatchThePictureReader) {
    TempFolder folder;
    writeBytes(folder / "grey.jpg", encodeGreyJpeg(37, 21));
    for (const std::string& path : {samplePath("Textures/brick.png"), samplePath("Textures/grass.png"),
                                    samplePath("Textures/gravel.png"), samplePath("rocket.jpg"),
                                    samplePath("astronaut.png"), folder / "grey.jpg"}) {
        SCOPED_TRACE(path);
        const editor::Picture picture = editor::readPicture(path);
        const ImagePtr eight = readTextureImage(path.c_str(), false);
        const ImagePtr sixteen = readTextureImage(path.c_str(), true);
        ASSERT_TRUE(eight && sixteen && eight->width == picture.width && eight->height == picture.height &&
                    sixteen->width == picture.width && sixteen->height == picture.height && sixteen->is16());
        for (int32_t y = 0; y < picture.height; ++y)
            for (int32_t x = 0; x < picture.width; ++x) {
                const uint8_t* p = picture.row8(y) + size_t(x) * size_t(picture.channels);
                ASSERT_EQ(sampleAt(*eight, x, y, 0), (uint32_t(p[0]) + p[1] + p[2]) / 3) << x << "," << y;
                ASSERT_EQ(sampleAt(*sixteen, x, y, 0), textureLevel16(sampleAt(*eight, x, y, 0))) << x << "," << y;
            }
    }
}

// ---------------------------------------------------------------------------------------
// Files that give no texture

TEST(TextureImage, DamagedAndForeignFilesGiveNoTexture) {
    const Bytes png = readBytes(samplePath("Textures/brick.png"));
    const Bytes jpeg = readBytes(samplePath("rocket.jpg"));
    ASSERT_GT(png.size(), 1000u);
    ASSERT_GT(jpeg.size(), 1000u);
    auto cut = [](const Bytes& file, size_t length) { return Bytes(file.begin(), file.begin() + length); };
    auto flip = [](Bytes file, size_t at) {
        file[at] ^= 0x5a;
        return file;
    };
    const std::string text = "not a picture, just some words that are long enough to look at";

    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"text", Bytes(text.begin(), text.end())},
        {"PNG signature only", cut(png, 8)},
        {"PNG cut in the header", cut(png, 20)},
        {"PNG cut after the header", cut(png, 33)},
        {"PNG cut in the image data", cut(png, png.size() / 2)},
        {"PNG without its end chunk", cut(png, png.size() - 12)},
        {"PNG one byte short", cut(png, png.size() - 1)},
        {"PNG header checksum wrong", flip(png, 18)},
        {"PNG image data damaged", flip(png, png.size() / 2)},
        {"PNG larger than textures may be", crafted::pngStating(20000, 20000, 8, 2)},
        {"PNG of width 0", crafted::pngStating(0, 1, 8, 2)},
        {"JPEG start marker only", cut(jpeg, 2)},
        {"JPEG cut in the header", cut(jpeg, 100)},
        {"JPEG cut in the image data", cut(jpeg, jpeg.size() / 2)},
        {"JPEG without its end marker", cut(jpeg, jpeg.size() - 2)},
        {"JPEG start marker damaged", flip(jpeg, 1)},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_FALSE(decodeExactly(test.file, false));
        EXPECT_FALSE(decodeExactly(test.file, true));
    }
}

// Random damage inside the files: whatever the decoders make of it, a texture of the file's
// size or none, never a crash or a read past the data (the sanitizer build checks that).
TEST(TextureImage, RandomDamageGivesATextureOfTheFileSizeOrNone) {
    std::mt19937 random(11);
    for (const char* name : {"Textures/gravel.png", "rocket.jpg"}) {
        const Bytes original = readBytes(samplePath(name));
        const ImagePtr whole = decodeExactly(original, false);
        ASSERT_TRUE(whole) << name;
        for (int trial = 0; trial < 40; ++trial) {
            Bytes file = original;
            std::uniform_int_distribution<size_t> position(0, file.size() - 1);
            for (int i = 0; i < 1 + trial % 8; ++i) file[position(random)] = uint8_t(random());
            if (trial % 3 == 0) file.resize(position(random));
            const ImagePtr damaged = decodeExactly(file, trial % 2 == 1);
            if (damaged) {
                EXPECT_EQ(damaged->width, whole->width) << name << " trial " << trial;
                EXPECT_EQ(damaged->height, whole->height) << name << " trial " << trial;
            }
        }
    }
}

TEST(TextureImage, FilesThatCannotBeReadGiveNoTexture) {
    TempFolder folder;
    const std::string empty = folder / "empty.png";
    std::ofstream(empty).close();
    EXPECT_FALSE(readTextureImage(nullptr, false));
    EXPECT_FALSE(readTextureImage((folder / "missing.png").c_str(), false));
    EXPECT_FALSE(readTextureImage(empty.c_str(), false));
    EXPECT_FALSE(readTextureImage(folder.path().string().c_str(), false));  // a folder
}

}  // namespace
