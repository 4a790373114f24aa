// The command line's --set values, held to the range the plug-in holds stored values to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/effect_description.h"
#include "editor/texture_folder.h"
#include "tests/support/temp_folder.h"

namespace {

// Number -50..50 and whole Number 0.5..10 (flag 8192).
editor::EffectDescription testEffect() {
    return editor::EffectDescription::parse(
        "effect\tTest\tRavo Test\t3\n0\tInput\tbackground\tBackground\t33\n"
        "1\tNumber\ttemperature\tTemperature\t33\t-50\t50\t0\n2\tNumber\tgrainSize\tSize\t8225\t0.5\t10\t1\n");
}

// --set takes the numbers a preset may hold and no others: a whole number also the whole
// numbers its slider offers.
TEST(EffectDescription, SetTakesTheRangeAPresetHolds) {
    const std::pair<const char*, bool> cases[] = {{"temperature=50", true}, {"temperature=51", false},
                                                  {"grainSize=0", true},    {"grainSize=10.5", false},
                                                  {"grainSize=-0.5", false}};
    const editor::EffectDescription effect = testEffect();
    for (const auto& [assignment, accepted] : cases) {
        ParameterBlock values = effect.defaults();
        if (accepted)
            EXPECT_NO_THROW(editor::applySetting(effect, values, assignment, "")) << assignment;
        else
            EXPECT_THROW(editor::applySetting(effect, values, assignment, ""), editor::UsageError) << assignment;
    }
}

// A texture setting names a PNG or JPEG file directly in the Textures folder, told by its
// first bytes; anything else is refused with the value, the folder and what it holds.
TEST(EffectDescription, TextureSettingNamesAPictureOfTheFolder) {
    TempFolder folder;
    writeBytes(folder / "net.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0});
    writeBytes(folder / "paper.jpg", {0xff, 0xd8, 0xff, 0xe0});
    writeBytes(folder / "fake.png", {'t', 'e', 'x', 't'});
    writeBytes(folder / "LICENSES.txt", {'C', 'C', '0'});
    std::filesystem::create_directory(folder / "sub.png");
    const std::string path = folder.path().string();
    const editor::EffectDescription effect = editor::EffectDescription::parse(
        "effect\tTest\tRavo Test\t2\n0\tInput\tbackground\tBackground\t33\n"
        "1\tImageFile\tdiffTexture\tTexture\t16\ttextures\n");
    const std::string listing = editor::formatParameters(effect, editor::textureFileNames(path));
    EXPECT_NE(listing.find("file in textures: net.png, paper.jpg\n"), std::string::npos) << listing;

    const std::pair<std::string, std::string> cases[] = {
        {"net.png", ""}, {"paper.jpg", ""}, {"", ""}, {"missing.png", "no such file"}, {"Net.png", "no such file"},
        {"sub.png", "no such file"}, {"fake.png", "not a PNG or JPEG file"}, {"LICENSES.txt", "not a PNG or JPEG file"},
        {"../net.png", "not a plain file name"}, {"c:net.png", "not a plain file name"}, {"..", "not a plain file name"},
        {std::string(60, 'n') + ".png", "longer than the 63 bytes a setting holds"},
    };
    for (const auto& [name, problem] : cases) {
        ParameterBlock values = effect.defaults();
        values.records[1].fileName = "before.png";
        const std::string setting = "diffTexture=" + name;
        std::string message;
        try {
            editor::applySetting(effect, values, setting, path);
        } catch (const editor::UsageError& e) {
            message = e.what();
        }
        EXPECT_EQ(message, problem.empty() ? "" : setting + " is not a picture file of the textures folder " + path +
                                                      " (" + problem + "); available: net.png, paper.jpg");
        EXPECT_EQ(values.records[1].fileName, problem.empty() ? name : "before.png") << setting;
    }
}

}  // namespace
