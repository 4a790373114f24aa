#include "editor/exif_orientation.h"

#include <stdexcept>

namespace editor {
namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;

// Reads 16 and 32-bit numbers in the block's byte order; every read is bounds-checked.
class ExifReader {
public:
    ExifReader(std::span<const uint8_t> bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}
    bool fits(uint64_t offset, uint64_t size) const { return offset <= bytes_.size() && size <= bytes_.size() - offset; }
    uint16_t u16(size_t offset) const {
        const uint16_t a = bytes_[offset], b = bytes_[offset + 1];
        return bigEndian_ ? uint16_t(a << 8 | b) : uint16_t(b << 8 | a);
    }
    uint32_t u32(size_t offset) const {
        const uint32_t high = u16(offset + (bigEndian_ ? 0 : 2)), low = u16(offset + (bigEndian_ ? 2 : 0));
        return high << 16 | low;
    }

private:
    std::span<const uint8_t> bytes_;
    bool bigEndian_;
};

}  // namespace

int exifOrientation(std::span<const uint8_t> exif) {
    if (exif.size() < 8) return 0;
    const bool little = exif[0] == 'I' && exif[1] == 'I' && exif[2] == 42 && exif[3] == 0;
    const bool big = exif[0] == 'M' && exif[1] == 'M' && exif[2] == 0 && exif[3] == 42;
    if (!little && !big) return 0;
    const ExifReader reader(exif, big);
    const uint32_t directory = reader.u32(4);
    if (!reader.fits(directory, 2)) return 0;
    const uint16_t count = reader.u16(directory);
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t entry = uint64_t(directory) + 2 + uint64_t(i) * 12;
        if (!reader.fits(entry, 12)) return 0;
        if (reader.u16(size_t(entry)) != kOrientationTag) continue;
        if (reader.u16(size_t(entry) + 2) != kShortType || reader.u32(size_t(entry) + 4) != 1) return 0;
        const uint16_t value = reader.u16(size_t(entry) + 8);
        return value >= 1 && value <= 8 ? value : 0;
    }
    return 0;
}

std::vector<uint8_t> exifWithOrientation(int orientation) {
    if (orientation < 1 || orientation > 8) throw std::invalid_argument("an orientation runs from 1 to 8");
    // Little-endian header, one directory at offset 8 with one entry, no next directory.
    return {'I', 'I', 42, 0, 8, 0, 0, 0,                                   // header
            1,   0,                                                        // one entry
            0x12, 0x01, kShortType, 0, 1, 0, 0, 0, uint8_t(orientation), 0, 0, 0,  // orientation
            0,   0,   0, 0};                                               // no next directory
}

}  // namespace editor
