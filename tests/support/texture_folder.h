// A stand-in Textures folder for the tests of effects that read texture files: a host whose
// resource folder is a temporary folder, counting the lookups (each lookup is one read of a
// file), and grey PNG files written into it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "fx/host.h"
#include "tests/support/encoded_files.h"
#include "tests/support/temp_folder.h"

class TextureFolderHost : public fx::Host {
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

// A grey 8-bit PNG of width x height whose rows repeat `row` (width samples).
inline void writeGreyPng(const std::string& path, const std::vector<uint8_t>& row, uint32_t height) {
    encoded::RawPng raw;
    raw.width = uint32_t(row.size());
    raw.height = height;
    raw.colorType = PNG_COLOR_TYPE_GRAY;
    for (uint32_t y = 0; y < height; ++y) raw.rows.insert(raw.rows.end(), row.begin(), row.end());
    const std::vector<uint8_t> bytes = encoded::png(raw);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A uniform 3 x 2 grey PNG.
inline void writeGreyPng(const std::string& path, uint8_t level) { writeGreyPng(path, {level, level, level}, 2); }
