// The in-memory picture a document of the stand-in host holds: 8 or 16-bit
// RGB, with or without transparency, samples interleaved, rows without gaps.
// 16-bit samples are native uint16_t on the host scale 0..32768, the scale the
// plug-in works in; files use 0..65535 and are mapped on the way in and out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace editor {

// An allocator whose construction without a value leaves the element as it is, so that a
// buffer of pixels can be sized without writing every byte first: a reader that fills every
// sample itself pays neither the time nor, for pages it never reaches, the memory.
template <typename T>
struct UnfilledAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UnfilledAllocator<U>;
    };
    UnfilledAllocator() = default;
    template <typename U>
    UnfilledAllocator(const UnfilledAllocator<U>&) noexcept {}
    template <typename U>
    void construct(U* at) noexcept {
        ::new (static_cast<void*>(at)) U;
    }
    template <typename U, typename... Arguments>
    void construct(U* at, Arguments&&... arguments) {
        ::new (static_cast<void*>(at)) U(std::forward<Arguments>(arguments)...);
    }
};

// Interleaved sample bytes; resizing leaves new bytes undefined.
using PixelBytes = std::vector<uint8_t, UnfilledAllocator<uint8_t>>;

// Full scale of a 16-bit host sample.
inline constexpr uint32_t kHostFullScale16 = 32768;

struct Picture {
    int32_t width = 0, height = 0;
    int channels = 3;           // 3 (RGB) or 4 (RGBA: a document with transparency)
    int depth = 8;              // bits per channel: 8 or 16
    PixelBytes data;            // interleaved rows without gaps
    // What the file says about the pixels besides their values, written back with them: the
    // colour profile (ICC) and the Exif data (camera settings, orientation) in its TIFF-header
    // form. Empty when the file has none.
    std::vector<uint8_t> iccProfile;
    std::vector<uint8_t> exif;

    // A zero-filled picture of the given shape. Throws std::length_error when
    // the byte size does not fit in memory's address range.
    static Picture blank(int32_t width, int32_t height, int channels, int depth);
    // The same with the samples left undefined, for a reader that writes every one of them.
    static Picture unfilled(int32_t width, int32_t height, int channels, int depth);

    bool hasAlpha() const { return channels == 4; }
    size_t bytesPerChannel() const { return depth == 16 ? 2 : 1; }
    size_t pixelBytes() const { return bytesPerChannel() * size_t(channels); }
    size_t rowBytes() const { return pixelBytes() * size_t(width); }
    size_t byteSize() const { return rowBytes() * size_t(height); }
    size_t sampleCount() const { return size_t(width) * size_t(height) * size_t(channels); }

    // Whether the fields describe a picture this host can hold and data has
    // exactly the size they imply.
    bool isValid() const;

    uint8_t* row8(int32_t y) { return data.data() + size_t(y) * rowBytes(); }
    const uint8_t* row8(int32_t y) const { return data.data() + size_t(y) * rowBytes(); }
    uint16_t* row16(int32_t y) { return reinterpret_cast<uint16_t*>(row8(y)); }
    const uint16_t* row16(int32_t y) const { return reinterpret_cast<const uint16_t*>(row8(y)); }
    uint16_t* samples16() { return reinterpret_cast<uint16_t*>(data.data()); }
    const uint16_t* samples16() const { return reinterpret_cast<const uint16_t*>(data.data()); }
};

// 16-bit file value 0..65535 -> host value 0..32768, rounding up from just
// under a half: s = (v*32768 + 32767) / 65535.
constexpr uint16_t fileToHost16(uint16_t v) { return uint16_t((uint32_t(v) * 32768u + 32767u) / 65535u); }

// Host value 0..32768 -> 16-bit file value, rounding halves up:
// v = (s*65535 + 16384) / 32768. With fileToHost16 every host value comes back
// unchanged. Values above full scale (not a valid host sample) write as 65535.
constexpr uint16_t hostToFile16(uint16_t s) {
    if (s >= kHostFullScale16) return 65535;
    return uint16_t((uint32_t(s) * 65535u + 16384u) / 32768u);
}

// 8-bit value -> 16-bit host value: s = (v*32768 + 127) / 255, nearest (an
// exact half cannot occur since 255 is odd).
constexpr uint16_t widen8To16(uint8_t v) { return uint16_t((uint32_t(v) * 32768u + 127u) / 255u); }

// 16-bit host value -> 8-bit value: v = (s*255 + 16384) / 32768, nearest with
// halves up. widen8To16 followed by this gives back every 8-bit value.
constexpr uint8_t narrow16To8(uint16_t s) {
    if (s >= kHostFullScale16) return 255;
    return uint8_t((uint32_t(s) * 255u + 16384u) / 32768u);
}

// The picture at another depth (8 or 16), samples mapped with widen8To16 /
// narrow16To8, alpha included. The same depth gives a copy.
Picture convertDepth(const Picture& picture, int depth);

}  // namespace editor
