#include "fx/texture_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "fx/host.h"
#include "tests/support/encoded_files.h"
#include "tests/support/temp_folder.h"

namespace {

// A host whose Textures folder is a temporary folder, counting the lookups.
class FolderHost : public fx::Host {
public:
    bool resourcePath(const char*, const char* folder, const char* fileName, char* out) override {
        ++lookups;
        EXPECT_STREQ(folder, "Textures");
        std::snprintf(out, kPathSize, "%s", (textures / (fileName ? fileName : "")).c_str());
        return true;
    }
    TempFolder textures;
    int lookups = 0;
};

void writeGreyPng(const std::string& path, uint8_t level) {
    encoded::RawPng raw;
    raw.width = 3;
    raw.height = 2;
    raw.colorType = PNG_COLOR_TYPE_GRAY;
    raw.rows.assign(6, level);
    writeBytes(path, encoded::png(raw));
}

TEST(TextureFile, ReadsOncePerNameAndSampleSize) {
    FolderHost host;
    writeGreyPng(host.textures / "net.png", 255);
    writeGreyPng(host.textures / "dots.png", 10);
    fx::TextureFile file;

    const Image* first = file.image("net.png", false);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->channels, 1u);
    EXPECT_EQ(*first->pixel<uint8_t>(2, 1), 255);
    EXPECT_EQ(file.image("net.png", false), first);
    EXPECT_EQ(host.lookups, 1);

    // Another depth reads the file again, in that depth.
    const Image* deep = file.image("net.png", true);
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(*deep->pixel<uint16_t>(0, 0), 32768);
    EXPECT_EQ(host.lookups, 2);

    // Another name reads that file; going back reads the first again.
    EXPECT_EQ(*file.image("dots.png", true)->pixel<uint16_t>(0, 0), 10 * 128 + 5);
    EXPECT_NE(file.image("net.png", true), nullptr);
    EXPECT_EQ(host.lookups, 4);

    file.clear();
    EXPECT_NE(file.image("net.png", true), nullptr);
    EXPECT_EQ(host.lookups, 5);
}

TEST(TextureFile, NamesThatLeaveTheFolderOrFailGiveNoImage) {
    FolderHost host;
    TempFolder elsewhere;
    writeGreyPng(elsewhere / "outside.png", 200);
    writeGreyPng(host.textures / "good.png", 200);
    std::ofstream(host.textures / "broken.png") << "not a picture";
    const std::string relative = "../" + elsewhere.path().filename().string() + "/outside.png";
    fx::TextureFile file;
    for (const std::string& name : {std::string(), std::string("missing.png"), std::string("broken.png"), relative,
                                    elsewhere / "outside.png", std::string(".."), std::string("C:good.png"),
                                    std::string("sub\\good.png")}) {
        EXPECT_EQ(file.image(name.c_str(), false), nullptr) << name;
        EXPECT_EQ(file.image(name.c_str(), false), nullptr) << name;
    }
    EXPECT_EQ(file.image(nullptr, false), nullptr);
    // Only the plain names were looked up, each once: a failure is kept like an image.
    EXPECT_EQ(host.lookups, 2);
    EXPECT_NE(file.image("good.png", false), nullptr);
}

}  // namespace
