// The Textures folder the build lays beside the plug-in, and the command line's view of it.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/effect_description.h"
#include "editor/texture_folder.h"
#include "tests/e2e/cli_run.h"
#include "tests/e2e/plugin_fixture.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace test_support;
namespace fs = std::filesystem;

// Presets and recorded actions keep these names: a file renamed or dropped breaks them.
// The first three are photographs; the build draws the others.
const struct {
    const char* name;
    uint32_t width, height;
} kBundled[] = {
    {"brick.png", 512, 512},         {"grass.png", 512, 512},          {"gravel.png", 512, 512},
    {"fine-net.png", 1024, 1024},    {"coarse-net.png", 1024, 1024},   {"dots.png", 1024, 1024},
    {"soft-spot.png", 1024, 1024},   {"diagonal-lines.png", 1024, 1024}, {"soft-spots.png", 1024, 1024},
    {"window.png", 1600, 1067},      {"window-blind.png", 1600, 1067}, {"horizontal-streaks.png", 1600, 1067},
    {"vignette.png", 1600, 1067},    {"dappled-light.png", 1600, 1067}, {"gradient.png", 1600, 1067},
    {"vertical-streaks.png", 1067, 1600},
};
constexpr size_t kPhotographs = 3;

fs::path texturesDir() { return buildDir() / "Textures"; }

// Every picture of the folder is listed above, an 8-bit grey PNG of the stated size (its header
// chunk comes first: width, height, bit depth, colour type 0), and the licence note names it.
// The drawn ones reach from black to white; a second run of the writer gives the same bytes.
TEST(TexturesFolder, HoldsTheListedGreyPicturesDrawnTheSameOnEveryRun) {
    TempFolder again;
    const std::string writer = quoted(buildDir() / "ravo_texture_patterns");
    ASSERT_EQ(std::system((writer + " " + quoted(again.path())).c_str()), 0);
    EXPECT_NE(std::system((writer + " " + quoted(again.path() / "dots.png") + " 2>/dev/null").c_str()), 0);
    const std::vector<uint8_t> noteBytes = readBytes((texturesDir() / "LICENSES.txt").string());
    const std::string note(noteBytes.begin(), noteBytes.end());
    const std::vector<std::string> pictures = editor::textureFileNames(texturesDir().string());
    EXPECT_EQ(pictures.size(), std::size(kBundled));
    EXPECT_EQ(again.names().size(), std::size(kBundled) - kPhotographs);
    for (const auto& file : kBundled) {
        const bool isDrawn = &file - kBundled >= std::ptrdiff_t(kPhotographs);
        EXPECT_TRUE(std::count(pictures.begin(), pictures.end(), file.name)) << file.name;
        EXPECT_NE(note.find(std::string(file.name) + " "), std::string::npos) << file.name;
        const std::vector<uint8_t> bytes = readBytes((texturesDir() / file.name).string());
        ASSERT_GT(bytes.size(), 33u) << file.name;
        auto word = [&](size_t at) {
            return uint32_t(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
        };
        EXPECT_EQ(std::vector<uint32_t>({word(16), word(20), bytes[24], bytes[25]}),
                  std::vector<uint32_t>({file.width, file.height, 8, 0})) << file.name;
        if (!isDrawn) continue;
        EXPECT_TRUE(readBytes(again / file.name) == bytes) << file.name;
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) << file.name;
        std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
        ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << file.name;
        const auto [darkest, lightest] = std::minmax_element(pixels.begin(), pixels.end());
        EXPECT_TRUE(*darkest <= 8 && *lightest >= 247) << file.name << " " << int(*darkest) << ".." << int(*lightest);
    }
}

// The texture parameters of the effects this build runs: `ravo params` lists the folder's
// pictures, and a name that is none of them is refused before anything is written.
TEST(TexturesFolder, CommandLineOffersTheFolderAndRefusesOtherNames) {
    const fs::path input = writeInput("textured-in.png", uniformPicture(8, 8, 3, 8, {200, 200, 200}));
    const fs::path output = tempDir() / "textured-out.png";
    const std::string run = quoted(input) + " " + quoted(output) + " --set ";
    std::string listed;
    for (const std::string& name : editor::textureFileNames(texturesDir().string()))
        listed.append(listed.empty() ? "" : ", ").append(name);
    int checked = 0;
    for (const auto& command : sharedPlugin().commands()) {
        if (!command.available) continue;
        const std::string& key = command.registryKey;
        const auto effect = editor::EffectDescription::parse(sharedPlugin().describe(key));
        for (const editor::ParameterInfo& p : effect.parameters) {
            if (p.kind != ParameterKind::ImageFile) continue;
            ++checked;
            const std::string line = p.address + "  \"" + p.label + "\"  ImageFile file in " + p.folder + ": " + listed;
            EXPECT_NE(ravo("params " + key).out.find(line + "\n"), std::string::npos) << key;
            const std::string setting = p.address + "=no-such-texture.png";
            const Outcome refused = ravo("apply " + key + " " + run + setting);
            EXPECT_EQ(refused.status, 2);
            EXPECT_EQ(refused.err, "ravo: " + setting + " is not a picture file of the textures folder " +
                                       texturesDir().string() + " (no such file); available: " + listed + "\n");
            EXPECT_FALSE(fs::exists(output));
            EXPECT_EQ(ravo("apply " + key + " " + run + p.address + "=fine-net.png").status, 0) << key;
            fs::remove(output);
        }
    }
    if (checked == 0) GTEST_SKIP() << "no effect of this build names a texture file";
}

}  // namespace
