// ravo_dump_resources PLUGIN FOLDER
//
// Test helper of the Windows build: loads the plug-in file as the stand-in host
// does and writes every PIPL and AETE resource it finds, byte for byte, as
// FOLDER/pipl_<id>.bin and FOLDER/aete_<id>.bin, one id per line on stdout.
// scripts/test-windows.sh runs it under Wine and compares the files with the
// ones the resource generator wrote.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "editor/plugin_library.h"
#include "editor/plugin_module.h"

namespace {

constexpr uint32_t kPiplType = 0x5049504C;  // 'PIPL'
constexpr uint32_t kAeteType = 0x41455445;  // 'AETE'

bool write(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: ravo_dump_resources PLUGIN FOLDER\n");
        return 2;
    }
    try {
        const auto plugin = editor::PluginModule::load(argv[1]);
        const std::filesystem::path folder = argv[2];
        std::filesystem::create_directories(folder);
        for (const int16_t id : plugin->piplIds()) {
            const std::string number = std::to_string(id);
            for (const auto& [type, name] : {std::pair{kPiplType, "pipl_"}, std::pair{kAeteType, "aete_"}}) {
                const auto bytes = plugin->resource(type, id);
                if (!bytes) {
                    std::fprintf(stderr, "ravo_dump_resources: no %s resource %d\n", name, id);
                    return 1;
                }
                if (!write(folder / (name + number + ".bin"), *bytes)) {
                    std::fprintf(stderr, "ravo_dump_resources: cannot write into %s\n", argv[2]);
                    return 1;
                }
            }
            std::printf("%d\n", id);
        }
    } catch (const editor::PluginError& e) {
        std::fprintf(stderr, "ravo_dump_resources: %s\n", e.what());
        return 1;
    }
    return 0;
}
