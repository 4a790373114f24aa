#include "imaging/tint.h"

#include <algorithm>
#include <array>
#include <optional>
#include <stdexcept>
#include <vector>

#include "imaging/color.h"
#include "imaging/matte_extractor.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

void requireLayouts(const Image& image, const Image* matte) {
    if (image.channels != 4 || (image.bytesPerChannel != 1 && image.bytesPerChannel != 2))
        throw std::invalid_argument("the tint operations take an RGBA picture of 8 or 16 bits");
    if (matte && (matte->channels != 1 || matte->bytesPerChannel != image.bytesPerChannel))
        throw std::invalid_argument("the tint matte must be one channel of the picture's depth");
}

template <class Sample>
void darken(Image& image, const Image& matte, const PixelRect& rect, double amount) {
    constexpr uint32_t full = SampleTraits<Sample>::full;
    // The 16-bit amount is held in a 16-bit word.
    const uint32_t a = uint32_t(truncToInt64(amount * full)) & (sizeof(Sample) == 2 ? 0xFFFFu : 0xFFFFFFFFu);
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* p = image.pixel<Sample>(rect.left, y);
        const Sample* m = matte.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, p += 4, ++m) {
            if (*m == 0) continue;
            const uint32_t k = full - divideByFull<Sample>(uint32_t(*m) * a);
            for (int c = 0; c < 3; ++c) p[c] = Sample(divideByFull<Sample>(uint32_t(p[c]) * k));
        }
    }
}

// The highlight matte that HLS mode protects: the picture's luminance through a window at the
// top of the scale (position 1.0, range 0.8).
ImagePtr highlightMatte(const Image& image, const PixelRect& rect) {
    MatteExtractor extractor;
    extractor.setCacheEnabled(false);
    extractor.setPosition(1.0f);
    extractor.setRange(0.8f);
    extractor.applyPositionRange();
    return extractor.build(image, rect, MatteBuildContext{});
}

// A tinted colour: hsvToRgb back to levels as trunc(value x full), held to the scale.
template <class Sample>
std::array<Sample, 3> tintedLevels(float hue, float saturation, float value) {
    constexpr float full = float(SampleTraits<Sample>::full);
    const Rgb rgb = hsvToRgb(hue, saturation, value);
    return {clampSample<Sample>(truncToInt(rgb.r * full)), clampSample<Sample>(truncToInt(rgb.g * full)),
            clampSample<Sample>(truncToInt(rgb.b * full))};
}

// In "HSV" and "HLS" modes the tinted colour takes the tint's hue and saturation and the
// pixel's value, the largest of its levels: one colour per level, worked out the first time
// the level is met, so that a small tile pays only for the levels it holds. Levels above full
// (a malformed 16-bit sample) are worked out every time.
template <class Sample>
class TintByLevel {
public:
    TintByLevel(const Hsv& tint, float scale)
        : tint_(tint), scale_(scale), colours_(SampleTraits<Sample>::tableSize), known_(colours_.size()) {}

    const std::array<Sample, 3>& colour(uint32_t level) {
        if (level >= colours_.size()) {
            spare_ = tintedLevels<Sample>(tint_.h, tint_.s, float(level) * scale_);
            return spare_;
        }
        if (!known_[level]) {
            colours_[level] = tintedLevels<Sample>(tint_.h, tint_.s, float(level) * scale_);
            known_[level] = 1;
        }
        return colours_[level];
    }

private:
    Hsv tint_;
    float scale_;
    std::vector<std::array<Sample, 3>> colours_;
    std::vector<uint8_t> known_;
    std::array<Sample, 3> spare_{};
};

// Pixel levels are scaled to 0..1 by the single-precision 1 / full and come back as
// trunc(value x full), as the colour-correct pass converts them. The tint colour is divided
// by full instead (in single precision the two differ in the last bit for about half of the
// 8-bit levels; at 16 bits full is a power of two and they agree).
template <class Sample>
void tint(Image& image, const Image* matte, const PixelRect& rect, const TintSettings& settings) {
    constexpr uint32_t full = SampleTraits<Sample>::full;
    const float scale = 1.0f / float(full);
    const Hsv tintHsv = rgbToHsv(float(settings.color[0]) / float(full), float(settings.color[1]) / float(full),
                                 float(settings.color[2]) / float(full));
    const uint32_t opacity = uint32_t(truncToInt64(settings.opacity * full));
    const uint32_t protection = uint32_t(truncToInt64(settings.highlights * full));
    const bool hls = settings.mode == TintMode::kHls;
    const bool keepSaturation = settings.mode == TintMode::kReplace;
    const ImagePtr highlights = hls ? highlightMatte(image, rect) : ImagePtr();
    std::optional<TintByLevel<Sample>> byLevel;
    if (!keepSaturation) byLevel.emplace(tintHsv, scale);

    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* p = image.pixel<Sample>(rect.left, y);
        const Sample* m = matte ? matte->pixel<Sample>(rect.left, y) : nullptr;
        const Sample* h = hls ? highlights->pixel<Sample>(rect.left, y) : nullptr;
        for (int32_t x = rect.left; x < rect.right; ++x, p += 4) {
            const uint32_t level = m ? uint32_t(m[x - rect.left]) : full;
            if (level == 0) continue;
            const uint32_t a = divideByFull<Sample>(level * opacity);
            std::array<Sample, 3> replaced;
            if (keepSaturation) {
                const Hsv pixel = rgbToHsv(float(p[0]) * scale, float(p[1]) * scale, float(p[2]) * scale);
                replaced = tintedLevels<Sample>(tintHsv.h, pixel.s, pixel.v);
            }
            const std::array<Sample, 3>& t =
                keepSaturation ? replaced : byLevel->colour(std::max(p[0], std::max(p[1], p[2])));
            const uint32_t u = hls ? divideByFull<Sample>(uint32_t(h[x - rect.left]) * protection) : 0;
            for (int c = 0; c < 3; ++c) {
                const uint32_t original = p[c];
                const uint32_t blended = divideByFull<Sample>(original * (full - a) + uint32_t(t[c]) * a);
                p[c] = Sample(hls ? divideByFull<Sample>(original * u + blended * (full - u)) : blended);
            }
        }
    }
}

}  // namespace

void applyNdDarken(Image& image, const Image& matte, const PixelRect& rect, double amount) {
    requireLayouts(image, &matte);
    const PixelRect area = rect.intersected(image.bounds).intersected(matte.bounds);
    if (area.isEmpty()) return;
    withSampleType(image, [&]<class Sample>() { darken<Sample>(image, matte, area, amount); });
}

void applyTint(Image& image, const Image& matte, const PixelRect& rect, const TintSettings& settings) {
    requireLayouts(image, &matte);
    const PixelRect area = rect.intersected(image.bounds).intersected(matte.bounds);
    if (area.isEmpty()) return;
    withSampleType(image, [&]<class Sample>() { tint<Sample>(image, &matte, area, settings); });
}

void applyWholeTint(Image& image, const PixelRect& rect, const TintSettings& settings) {
    requireLayouts(image, nullptr);
    const PixelRect area = rect.intersected(image.bounds);
    if (area.isEmpty()) return;
    withSampleType(image, [&]<class Sample>() { tint<Sample>(image, nullptr, area, settings); });
}
