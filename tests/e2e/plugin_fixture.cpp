#include "tests/e2e/plugin_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>

#include "editor/effect_description.h"

namespace test_support {

namespace fs = std::filesystem;

fs::path buildDir() { return RAVO_BUILD_DIR; }
fs::path sourceDir() { return RAVO_SOURCE_DIR; }

fs::path tempDir() {
    struct Folder {
        fs::path path;
        Folder() {
            path = fs::temp_directory_path() / ("ravo-tests-" + std::to_string(getpid()));
            fs::create_directories(path);
        }
        ~Folder() {
            std::error_code error;
            fs::remove_all(path, error);
        }
    };
    static Folder folder;
    return folder.path;
}

editor::PluginLibrary& sharedPlugin() {
    static std::unique_ptr<editor::PluginLibrary> plugin = editor::PluginLibrary::open((buildDir() / "Ravo.so").string());
    return *plugin;
}

std::unique_ptr<editor::PluginLibrary> freshPlugin() {
    static std::atomic<int> copies{0};
    const fs::path copy = tempDir() / ("Ravo-" + std::to_string(++copies) + ".so");
    fs::copy_file(buildDir() / "Ravo.so", copy, fs::copy_options::overwrite_existing);
    return editor::PluginLibrary::open(copy.string());
}

editor::Picture uniformPicture(int32_t width, int32_t height, int channels, int depth, std::vector<uint16_t> pixel) {
    editor::Picture picture = editor::Picture::blank(width, height, channels, depth);
    for (size_t i = 0; i < picture.sampleCount(); ++i) {
        const uint16_t value = pixel[i % size_t(channels)];
        if (depth == 16)
            picture.samples16()[i] = value;
        else
            picture.data[i] = uint8_t(value);
    }
    return picture;
}

editor::Picture patternPicture(int32_t width, int32_t height, int channels, int depth) {
    editor::Picture picture = editor::Picture::blank(width, height, channels, depth);
    const uint32_t full = depth == 16 ? 32768 : 255;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c) {
                const size_t i = (size_t(y) * size_t(width) + size_t(x)) * size_t(channels) + size_t(c);
                const uint32_t value = c == 3 ? full : uint32_t(x * 7 + y * 13 + c * 50) % (full + 1);
                if (depth == 16)
                    picture.samples16()[i] = uint16_t(value);
                else
                    picture.data[i] = uint8_t(value);
            }
    return picture;
}

uint16_t sample(const editor::Picture& picture, int32_t x, int32_t y, int channel) {
    const size_t i = (size_t(y) * size_t(picture.width) + size_t(x)) * size_t(picture.channels) + size_t(channel);
    return picture.depth == 16 ? picture.samples16()[i] : picture.data[i];
}

std::vector<uint8_t> blockWith(const editor::PluginLibrary& plugin, const std::string& key,
                               const std::vector<std::pair<std::string, std::string>>& settings) {
    const editor::EffectDescription effect = editor::EffectDescription::parse(plugin.describe(key));
    ParameterBlock values = effect.defaults();
    // Image files are named from the Textures folder beside the plug-in.
    const std::string textures = (buildDir() / "Textures").string();
    for (const auto& [name, value] : settings) editor::applySetting(effect, values, name + "=" + value, textures);
    return values.encode();
}

}  // namespace test_support
