// Picture files made byte by byte, as a damaged or hostile file would be: a PNG whose
// header states any size, a classic TIFF with its directory first and its pixel data after.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace crafted {

inline void putBig32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

inline void putLittle(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

// One PNG chunk with its length and a valid CRC.
inline void pngChunk(std::vector<uint8_t>& out, const char (&type)[5], const std::vector<uint8_t>& data) {
    putBig32(out, uint32_t(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBig32(out, uint32_t(crc32(0, out.data() + typeAt, uInt(out.size() - typeAt))));
}

// A PNG that states width x height (colour type 2 RGB, 6 RGBA) and holds a few bytes of
// compressed pixel data, far fewer than that size needs.
inline std::vector<uint8_t> pngStating(uint32_t width, uint32_t height, int bitDepth, int colorType) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<uint8_t> header;
    putBig32(header, width);
    putBig32(header, height);
    header.insert(header.end(), {uint8_t(bitDepth), uint8_t(colorType), 0, 0, 0});
    pngChunk(out, "IHDR", header);
    // zlib stream of four zero bytes (filter byte and three samples of a first row)
    pngChunk(out, "IDAT", {0x78, 0x9c, 0x63, 0x60, 0x60, 0x60, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01});
    pngChunk(out, "IEND", {});
    return out;
}

// A little-endian classic TIFF: header, one directory right after it, then the pixel data
// as given (uncompressed RGB or RGBA with unassociated alpha, contiguous, in strips of
// rowsPerStrip rows or, when tileWidth is set, in tiles). Offsets and byte counts describe
// the full picture wherever the data stops.
struct TiffStating {
    uint32_t width = 0, height = 0;
    uint16_t bitsPerSample = 8;
    uint16_t samplesPerPixel = 3;
    uint32_t rowsPerStrip = 1;
    uint32_t tileWidth = 0, tileHeight = 0;
    std::vector<uint8_t> pixels;

    std::vector<uint8_t> bytes() const {
        const uint64_t pixelBytes = uint64_t(samplesPerPixel) * (bitsPerSample / 8);
        const bool tiled = tileWidth != 0;
        const uint64_t across = tiled ? (uint64_t(width) + tileWidth - 1) / tileWidth : 1;
        const uint64_t down = tiled ? (uint64_t(height) + tileHeight - 1) / tileHeight
                                    : (uint64_t(height) + rowsPerStrip - 1) / rowsPerStrip;
        const uint32_t chunks = uint32_t(across * down);
        const uint64_t chunkBytes =
            tiled ? uint64_t(tileWidth) * tileHeight * pixelBytes : uint64_t(width) * rowsPerStrip * pixelBytes;
        struct Entry {
            uint16_t tag, type;
            uint32_t count, value;
        };
        std::vector<Entry> entries = {{256, 4, 1, width}, {257, 4, 1, height}, {258, 3, 1, bitsPerSample},
                                      {259, 3, 1, 1},     {262, 3, 1, 2},      {277, 3, 1, samplesPerPixel}};
        if (tiled)
            entries.insert(entries.end(), {{322, 4, 1, tileWidth}, {323, 4, 1, tileHeight}});
        else
            entries.push_back({278, 4, 1, rowsPerStrip});
        if (samplesPerPixel == 4) entries.push_back({338, 3, 1, 2});  // unassociated alpha
        const uint16_t offsetsTag = tiled ? 324 : 273, countsTag = tiled ? 325 : 279;
        const uint32_t directorySize = uint32_t(2 + 12 * (entries.size() + 2) + 4);
        // Arrays of more than one value follow the directory, then the pixel data.
        const uint32_t arrayBytes = chunks > 1 ? 4 * chunks : 0;
        const uint32_t offsetsAt = 8 + directorySize, countsAt = offsetsAt + arrayBytes;
        const uint32_t dataAt = countsAt + arrayBytes;
        entries.push_back({offsetsTag, 4, chunks, chunks > 1 ? offsetsAt : dataAt});
        entries.push_back({countsTag, 4, chunks, chunks > 1 ? countsAt : uint32_t(chunkBytes)});
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.tag < b.tag; });

        std::vector<uint8_t> out = {'I', 'I', 42, 0, 8, 0, 0, 0};
        putLittle(out, entries.size(), 2);
        for (const Entry& entry : entries) {
            putLittle(out, entry.tag, 2);
            putLittle(out, entry.type, 2);
            putLittle(out, entry.count, 4);
            putLittle(out, entry.value, 4);  // a short sits in the first two bytes
        }
        putLittle(out, 0, 4);
        if (chunks > 1) {
            for (uint32_t c = 0; c < chunks; ++c) putLittle(out, dataAt + uint64_t(c) * chunkBytes, 4);
            for (uint32_t c = 0; c < chunks; ++c) putLittle(out, chunkBytes, 4);
        }
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

}  // namespace crafted
