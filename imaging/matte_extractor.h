// Turns an RGBA picture into a one-channel matte that selects part of it.
//
// Every pixel is measured (luminance, hue, saturation, a channel or the mean of two),
// the measure goes through a soft window centred on a position, the result is
// stretched between black and white clip points, and the matte is then optionally
// shrunk or grown, blurred and inverted. The window and the clip stretch are folded
// into one lookup table per sample size, rebuilt only when they change.
//
// The extractor keeps the last extracted matte (before shrink/grow, blur and invert)
// and may hand it back instead of extracting again when the caller allows it. The
// parameter records that drive it from an effect's dialog live in fx/matte_parameters.h.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/image.h"
#include "imaging/pixel_measure.h"
#include "imaging/pixel_rect.h"
#include "imaging/sample_traits.h"
#include "imaging/tone_curve.h"

// The measured property of a pixel, in the order of the "Extract On" list. A grey measures
// no hue and gets matte 0, whatever the window.
using MatteMeasure = PixelMeasure;
constexpr uint32_t kMatteMeasureCount = kPixelMeasureCount;

// The values of the extractor's parameter group, already in the extractor's units
// (position and clips 0..1, range 0..2, sizes in pixels at full image size).
struct MatteSettings {
    uint32_t extractOn = 0;
    float position = 0.5f;
    float range = 0.5f;
    float clipBlack = 0.0f;
    float clipWhite = 0.0f;
    float shrinkGrow = 0.0f;
    float blurX = 0.0f;
    float blurY = 0.0f;
    bool gang = true;
    bool invert = false;
};

// What one build takes from the render it serves.
struct MatteBuildContext {
    // Pixel sizes are multiplied by these (1.0 for the final render, the zoom in a preview).
    double scaleX = 1.0;
    double scaleY = 1.0;
    // Extra passes of the matte blur in each direction.
    uint32_t extraBlurPasses = 1;
    // Whether the kept matte may stand in for a new extraction.
    bool reuseCached = false;
};

class MatteExtractor {
public:
    MatteExtractor();

    // Takes the group's values and the sample size (1 or 2 bytes) of the coming render.
    // A change of sample size, measure, position, range or a clip rebuilds the window and
    // the table; any change drops the kept matte. Returns whether anything changed.
    bool update(const MatteSettings& settings, uint32_t bytesPerChannel);

    // Setters for effects that drive the extractor without the parameter group; each
    // drops the kept matte when the value changes. setBlur sets both directions.
    void setExtractOn(uint32_t index);
    void setPosition(float position);
    void setRange(float range);
    void setBlur(float size);
    // Rebuilds the window from the current position and range and marks the tables stale.
    void applyPositionRange();

    // The window: 0 outside position +- range, 1 at the position, a smooth bell between.
    void setWindow(float position, float range);
    // The clip stretch: levels below the black point become 0, levels above the white point
    // full, the rest are stretched linearly. Rebuilds the table of the current sample size.
    void setClip(float black, float white);

    // Builds the matte of source (1 or 4 channels, 8 or 16 bits) over rect: a new one-channel
    // image of the source's size and sample size, 0 outside rect. Throws
    // std::invalid_argument for another layout.
    ImagePtr build(const Image& source, const PixelRect& rect, const MatteBuildContext& context);

    // Extract on every build, dropping the kept matte (for sources that change between renders).
    void setAlwaysExtract(bool on);
    void setCacheEnabled(bool on) { cacheEnabled_ = on; }
    void dropCachedMatte() { cached_.reset(); }

    uint32_t extractOn() const { return extractOn_; }
    float position() const { return position_; }
    float range() const { return range_; }
    float clipLow() const { return clipLow_; }
    float clipWhite() const { return clipWhite_; }
    float shrinkGrowAmount() const { return shrinkGrow_; }
    float blurX() const { return blurX_; }
    float blurY() const { return blurY_; }
    bool gang() const { return gang_; }
    bool invert() const { return invert_; }
    const ImagePtr& cachedMatte() const { return cached_; }
    // The current tables (valid for the sample size they were last built for).
    const uint8_t* table8() const { return table8_.data(); }
    const uint16_t* table16() const { return table16_.data(); }
    uint32_t tableDepth() const { return tableDepth_; }

private:
    // Rebuilds the table of the given sample size from the window and the clip stretch.
    void buildTable(uint32_t bytesPerChannel);
    template <class Sample>
    void buildTableOf(Sample* table);
    // The table of the sample type.
    template <class Sample>
    Sample* tableOf() {
        if constexpr (sizeof(Sample) == 2)
            return table16_.data();
        else
            return table8_.data();
    }
    void extract(const Image& source, Image& matte, const PixelRect& rect);

    float clipLow_ = 0.0f;
    float clipWhite_ = 0.0f;
    // Two factors that setClip sets to 0.25; nothing reads them.
    float reservedFactorA_ = 0.0f;
    float reservedFactorB_ = 0.0f;
    ToneCurve window_ = ToneCurve::identity();
    std::array<uint8_t, SampleTraits<uint8_t>::tableSize> table8_;
    std::array<uint16_t, SampleTraits<uint16_t>::tableSize> table16_;
    uint32_t tableDepth_ = 0;
    bool tablesDirty_ = true;
    uint32_t extractOn_ = 0;
    float position_ = 0.5f;
    float range_ = 0.5f;
    float shrinkGrow_ = 0.0f;
    float blurX_ = 0.0f;
    float blurY_ = 0.0f;
    bool gang_ = true;
    bool invert_ = false;
    bool alwaysExtract_ = false;
    ImagePtr cached_;
    bool cacheEnabled_ = true;
    // The black clip as asked for; clipLow_ may be lowered from it so that the clips meet.
    float clipBlack_ = 0.0f;
};
