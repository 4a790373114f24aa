// The colour profile and the Exif data a picture file carries: read from every format,
// written back into every format, and the orientation entry across the formats that keep it
// in different places.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "editor/exif_orientation.h"
#include "editor/picture.h"
#include "editor/picture_file.h"
#include "tests/support/temp_folder.h"

namespace editor {
namespace {

namespace fs = std::filesystem;

void put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(value >> (24 - 8 * i));
}

// A display profile with a well-formed header and one private tag of varied bytes (a real
// profile's tables do not compress to almost nothing either): enough for every library to
// accept and keep it.
std::vector<uint8_t> rgbProfile() {
    constexpr uint32_t kTagStart = 144, kTagSize = 256, kSize = kTagStart + kTagSize;
    std::vector<uint8_t> profile(kSize, 0);
    put32(profile, 0, kSize);
    put32(profile, 8, 0x02100000);   // version 2.1
    put32(profile, 12, 0x6d6e7472);  // 'mntr'
    put32(profile, 16, 0x52474220);  // 'RGB '
    put32(profile, 20, 0x58595a20);  // 'XYZ '
    put32(profile, 36, 0x61637370);  // 'acsp'
    put32(profile, 68, 0x0000f6d6);  // D50 white
    put32(profile, 72, 0x00010000);
    put32(profile, 76, 0x0000d32d);
    put32(profile, 128, 1);           // one tag
    put32(profile, 132, 0x72617631);  // 'rav1'
    put32(profile, 136, kTagStart);
    put32(profile, 140, kTagSize);
    uint32_t state = 12345;
    for (uint32_t i = kTagStart; i < kSize; ++i) {
        state = state * 1103515245u + 12345u;
        profile[i] = uint8_t(state >> 16);
    }
    return profile;
}

// Big-endian Exif data with a camera make and the orientation "turn 90 degrees clockwise".
std::vector<uint8_t> cameraExif() {
    return {'M', 'M', 0, 42, 0, 0, 0, 8,                         // header, directory at 8
            0, 2,                                                 // two entries
            0x01, 0x0f, 0, 2, 0, 0, 0, 4, 'R', 'a', 'v', 0,      // make: "Rav"
            0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 6, 0, 0,            // orientation 6
            0, 0, 0, 0};
}

Picture pictureWithMetadata(int depth) {
    Picture picture = Picture::blank(9, 5, 3, depth);
    for (size_t i = 0; i < picture.data.size(); ++i) picture.data[i] = uint8_t(i * 37);
    if (depth == 16)
        for (size_t i = 0; i < picture.sampleCount(); ++i) picture.samples16()[i] &= 0x7fff;
    picture.iccProfile = rgbProfile();
    picture.exif = cameraExif();
    return picture;
}

TEST(ExifOrientation, ReadsTheEntryOrRefusesDamage) {
    std::vector<uint8_t> wrongType = cameraExif();
    wrongType[25] = 4;  // LONG instead of SHORT
    std::vector<uint8_t> tooLarge = cameraExif();
    tooLarge[29] = 9;
    std::vector<uint8_t> pastTheEnd = cameraExif();
    pastTheEnd[9] = 200;  // more entries than the block holds, none of them orientation
    pastTheEnd[23] = 0x13;
    std::vector<uint8_t> farDirectory = cameraExif();
    farDirectory[4] = 0xff;
    std::vector<uint8_t> cutShort = cameraExif();
    cutShort.resize(30);
    struct Case {
        const char* name;
        std::vector<uint8_t> exif;
        int orientation;
    };
    const Case cases[] = {
        {"big-endian camera data", cameraExif(), 6},
        {"made here", exifWithOrientation(3), 3},
        {"empty", {}, 0},
        {"header only", {'I', 'I', 42, 0}, 0},
        {"not Exif", {'J', 'F', 'I', 'F', 0, 0, 0, 8, 0, 0}, 0},
        {"wrong type", wrongType, 0},
        {"out of range", tooLarge, 0},
        {"entries past the end", pastTheEnd, 0},
        {"directory past the end", farDirectory, 0},
        {"cut short", cutShort, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(exifOrientation(c.exif), c.orientation) << c.name;
    for (int orientation = 1; orientation <= 8; ++orientation)
        EXPECT_EQ(exifOrientation(exifWithOrientation(orientation)), orientation);
    EXPECT_THROW(exifWithOrientation(0), std::invalid_argument);
    EXPECT_THROW(exifWithOrientation(9), std::invalid_argument);
}

// Damaged data never leads the reader outside the block: every cut and many random changes of
// a valid block give an orientation of 0..8 (the sanitizer build checks the reads).
TEST(ExifOrientation, DamagedBlocksStayInside) {
    const std::vector<uint8_t> valid = cameraExif();
    for (size_t length = 0; length <= valid.size(); ++length) {
        const std::vector<uint8_t> cut(valid.begin(), valid.begin() + std::ptrdiff_t(length));
        const int orientation = exifOrientation(cut);
        // The orientation entry ends at byte 34; the next-directory offset after it is not needed.
        EXPECT_EQ(orientation, length >= 34 ? 6 : 0) << length;
    }
    uint32_t state = 99;
    for (int trial = 0; trial < 20000; ++trial) {
        std::vector<uint8_t> damaged = valid;
        for (int change = 0; change < 3; ++change) {
            state = state * 1664525u + 1013904223u;
            damaged[(state >> 8) % damaged.size()] = uint8_t(state >> 24);
        }
        const int orientation = exifOrientation(damaged);
        ASSERT_GE(orientation, 0);
        ASSERT_LE(orientation, 8);
    }
}

// Every format keeps the profile; JPEG and PNG keep the Exif data as it is, TIFF its
// orientation. A file written from another format's picture keeps what both can hold.
TEST(PictureMetadata, TravelsThroughEveryFormat) {
    const char* const extensions[] = {".png", ".tif", ".jpg"};
    for (int depth : {8, 16})
        for (const char* from : extensions)
            for (const char* to : extensions) {
                SCOPED_TRACE(std::string(from) + " to " + to + " at " + std::to_string(depth));
                TempFolder folder;
                writePicture(pictureWithMetadata(depth), folder / (std::string("a") + from));
                const Picture first = readPicture(folder / (std::string("a") + from));
                writePicture(first, folder / (std::string("b") + to));
                const Picture second = readPicture(folder / (std::string("b") + to));
                EXPECT_EQ(first.iccProfile, rgbProfile());
                EXPECT_EQ(second.iccProfile, rgbProfile());
                EXPECT_EQ(exifOrientation(second.exif), 6);
                const bool exifKept = std::string(from) != ".tif" && std::string(to) != ".tif";
                if (exifKept) {
                    EXPECT_EQ(second.exif, cameraExif());
                }
            }
}

// The chunk types of a PNG file in order; empty when the chunks do not fit together.
std::vector<std::string> pngChunkTypes(const std::vector<uint8_t>& bytes) {
    std::vector<std::string> types;
    size_t at = 8;
    while (at + 12 <= bytes.size()) {
        const uint32_t length = uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 |
                                uint32_t(bytes[at + 2]) << 8 | uint32_t(bytes[at + 3]);
        if (length > bytes.size() - at - 12) return {};
        types.emplace_back(bytes.begin() + std::ptrdiff_t(at + 4), bytes.begin() + std::ptrdiff_t(at + 8));
        at += 12 + length;
    }
    return at == bytes.size() ? types : std::vector<std::string>{};
}

// PNG allows one eXIf chunk, before the pixel data. Exif data comes into a picture from a
// JPEG or PNG file as it is, or from a TIFF file's orientation field.
TEST(PictureMetadata, PngHoldsOneExifChunkBeforeThePixels) {
    for (const char* source : {".png", ".jpg", ".tif"})
        for (int depth : {8, 16}) {
            SCOPED_TRACE(std::string(source) + " at " + std::to_string(depth));
            TempFolder folder;
            writePicture(pictureWithMetadata(depth), folder / (std::string("in") + source));
            writePicture(readPicture(folder / (std::string("in") + source)), folder / "out.png");
            std::ifstream in(folder / "out.png", std::ios::binary);
            const std::vector<std::string> types =
                pngChunkTypes({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
            ASSERT_FALSE(types.empty());
            EXPECT_EQ(std::count(types.begin(), types.end(), "eXIf"), 1);
            const auto exif = std::find(types.begin(), types.end(), "eXIf");
            EXPECT_LT(exif - types.begin(), std::find(types.begin(), types.end(), "IDAT") - types.begin());
            EXPECT_EQ(types.back(), "IEND");
        }
}

// Files without metadata stay without; a profile that a format's library cannot use does not
// stop the picture being written.
TEST(PictureMetadata, FilesWithoutItStayWithoutAndDamagedProfilesDoNotStopTheWrite) {
    Picture damaged = pictureWithMetadata(8);
    damaged.iccProfile = {1, 2, 3, 4, 5};
    for (const char* extension : {".png", ".tif", ".jpg"}) {
        TempFolder folder;
        writePicture(Picture::blank(4, 3, 3, 8), folder / (std::string("plain") + extension));
        const Picture back = readPicture(folder / (std::string("plain") + extension));
        EXPECT_TRUE(back.iccProfile.empty() && back.exif.empty()) << extension;
        ASSERT_NO_THROW(writePicture(damaged, folder / (std::string("x") + extension))) << extension;
        EXPECT_EQ(readPicture(folder / (std::string("x") + extension)).data.size(), damaged.data.size()) << extension;
    }
}

}  // namespace
}  // namespace editor
