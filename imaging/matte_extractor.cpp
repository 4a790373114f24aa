#include "imaging/matte_extractor.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "imaging/blur.h"
#include "imaging/matte_morphology.h"
#include "imaging/pixel_measure.h"
#include "imaging/sample_dispatch.h"

namespace {

// The peak height of the window's shoulders, held as a 32-bit float.
constexpr float kShoulder = 0.2f;
// The factor of the reserved clip fields.
constexpr float kReservedClipFactor = 0.25f;

template <class Sample>
void fillIdentity(Sample* table) {
    for (int32_t v = 0; v < SampleTraits<Sample>::tableSize; ++v) table[v] = Sample(v);
}

// Sets every sample of a one-channel image outside rect to 0.
template <class Sample>
void clearOutside(Image& image, const PixelRect& rect) {
    for (int32_t y = 0; y < image.height; ++y) {
        Sample* row = image.row<Sample>(y);
        if (y < rect.top || y >= rect.bottom || rect.isEmpty()) {
            std::fill(row, row + image.width, Sample(0));
        } else {
            std::fill(row, row + rect.left, Sample(0));
            std::fill(row + rect.right, row + image.width, Sample(0));
        }
    }
}

void clearOutside(Image& image, const PixelRect& rect) {
    withSampleType(image, [&]<class Sample>() { clearOutside<Sample>(image, rect); });
}

// Runs measure over every pixel of rect and writes table[measure] into the matte. A pixel that
// the measure leaves unmeasured (a grey on "Hue") gets matte 0 without the table.
template <class Sample, uint32_t Channels, class Measure>
void extractRows(const Image& source, Image& matte, const PixelRect& rect, const Sample* table, Measure measure) {
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Sample* in = source.pixel<Sample>(rect.left, y);
        Sample* out = matte.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, in += Channels, ++out) {
            const int32_t v = measure(in);
            *out = v == kUnmeasured ? Sample(0) : table[v];
        }
    }
}

template <class Sample>
void invertRect(Image& matte, const PixelRect& rect) {
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* m = matte.row<Sample>(y);
        for (int32_t x = rect.left; x < rect.right; ++x) {
            if constexpr (sizeof(Sample) == 1)
                m[x] = Sample(~m[x]);
            else
                m[x] = Sample(SampleTraits<Sample>::full - m[x]);
        }
    }
}

// trunc(amount x full) for a clip amount, held to 0..1 first so that a damaged stored
// value cannot leave the table's range.
int32_t clipLevel(float amount, int32_t full) {
    const float unit = std::clamp(amount, 0.0f, 1.0f);
    // The amount is a 32-bit float field, so the product is taken in single precision.
    return truncToInt(unit * float(full));
}

}  // namespace

MatteExtractor::MatteExtractor() {
    fillIdentity(table8_.data());
    fillIdentity(table16_.data());
}

bool MatteExtractor::update(const MatteSettings& settings, uint32_t bytesPerChannel) {
    const uint32_t depth = bytesPerChannel == 2 ? 2 : 1;
    const bool reshape = depth != tableDepth_ || settings.extractOn != extractOn_ ||
                         settings.position != position_ || settings.range != range_ ||
                         settings.clipBlack != clipBlack_ || settings.clipWhite != clipWhite_;
    const bool changed = reshape || settings.shrinkGrow != shrinkGrow_ || settings.blurX != blurX_ ||
                         settings.blurY != blurY_ || settings.gang != gang_ || settings.invert != invert_;
    extractOn_ = settings.extractOn;
    position_ = settings.position;
    range_ = settings.range;
    shrinkGrow_ = settings.shrinkGrow;
    blurX_ = settings.blurX;
    blurY_ = settings.blurY;
    gang_ = settings.gang;
    invert_ = settings.invert;
    if (reshape) {
        // The tables are now for this sample size; setClip rebuilds the current one.
        tableDepth_ = depth;
        setWindow(position_, range_);
        setClip(settings.clipBlack, settings.clipWhite);
    }
    if (changed) cached_.reset();
    return changed;
}

void MatteExtractor::setExtractOn(uint32_t index) {
    if (index == extractOn_) return;
    extractOn_ = index;
    cached_.reset();
}

void MatteExtractor::setPosition(float position) {
    if (position == position_) return;
    position_ = position;
    cached_.reset();
}

void MatteExtractor::setRange(float range) {
    if (range == range_) return;
    range_ = range;
    cached_.reset();
}

void MatteExtractor::setBlur(float size) {
    if (size == blurX_ && size == blurY_) return;
    blurX_ = size;
    blurY_ = size;
    cached_.reset();
}

void MatteExtractor::applyPositionRange() {
    setWindow(position_, range_);
    tablesDirty_ = true;
}

void MatteExtractor::setAlwaysExtract(bool on) {
    alwaysExtract_ = on;
    if (on) cached_.reset();
}

void MatteExtractor::setWindow(float p, float r) {
    // Position and range are 32-bit floats: the abscissae are computed in single precision.
    const double shoulder = double(kShoulder);
    const CurvePoint points[] = {
        {double(p - r), 0.0},
        {double(p - r / 2.0f), shoulder},
        {double(p), 1.0},
        {double(p + r / 2.0f), shoulder},
        {double(p + r), 0.0},
    };
    window_.setPoints(points, std::size(points));
    tablesDirty_ = true;
}

void MatteExtractor::setClip(float black, float white) {
    float low = black;
    if (black > 1.0f - white) low = 1.0f - white;
    clipBlack_ = black;
    clipLow_ = low;
    clipWhite_ = white;
    reservedFactorA_ = kReservedClipFactor;
    reservedFactorB_ = kReservedClipFactor;
    if (tableDepth_ != 0)
        buildTable(tableDepth_);
    else
        tablesDirty_ = true;  // no sample size yet: the first build makes the table
}

template <class Sample>
void MatteExtractor::buildTableOf(Sample* table) {
    constexpr int32_t full = SampleTraits<Sample>::full;
    constexpr int32_t size = SampleTraits<Sample>::tableSize;
    if (window_.isIdentity()) {
        fillIdentity(table);
    } else {
        for (int32_t v = 0; v < size; ++v) table[v] = Sample(truncToInt(window_.evaluate(double(v) / full) * full));
    }
    if (clipLow_ == 0.0f && clipWhite_ == 0.0f) return;

    // The stretch T: 0 below L, full above H, linear between. When the clips meet, L and H
    // coincide and the stretch is a hard threshold at L.
    const int32_t low = clipLevel(clipLow_, full);
    const int32_t high = full - clipLevel(clipWhite_, full);
    std::array<Sample, size> stretch;
    for (int32_t i = 0; i < size; ++i) {
        if (i < low)
            stretch[i] = 0;
        else if (i > high || high <= low)
            stretch[i] = Sample(full);
        else
            stretch[i] = Sample(truncToInt(double(i - low) / double(high - low) * full));
    }
    for (int32_t v = 0; v < size; ++v) table[v] = stretch[table[v]];
}

void MatteExtractor::buildTable(uint32_t bytesPerChannel) {
    withSampleType(bytesPerChannel == 2, [&]<class Sample>() { buildTableOf(tableOf<Sample>()); });
    tableDepth_ = bytesPerChannel;
    tablesDirty_ = false;
}

void MatteExtractor::extract(const Image& source, Image& matte, const PixelRect& rect) {
    if (source.bytesPerChannel != tableDepth_ || tablesDirty_) buildTable(source.bytesPerChannel);
    clearOutside(matte, rect);
    withSampleType(source, [&]<class Sample>() {
        const Sample* table = tableOf<Sample>();
        auto extractWith = [&]<uint32_t Channels>() {
            withPixelMeasure<Sample, Channels, GreyHue::Unmeasured>(extractOn_, [&](auto measure) {
                extractRows<Sample, Channels>(source, matte, rect, table, measure);
            });
        };
        if (source.channels == 4)
            extractWith.template operator()<4>();
        else
            extractWith.template operator()<1>();
    });
}

ImagePtr MatteExtractor::build(const Image& source, const PixelRect& rect, const MatteBuildContext& context) {
    if ((source.channels != 1 && source.channels != 4) ||
        (source.bytesPerChannel != 1 && source.bytesPerChannel != 2))
        throw std::invalid_argument("a matte is extracted from 1 or 4 channels of 8 or 16 bits");
    const PixelRect area = rect.intersected(source.bounds);
    ImagePtr matte = ImagePtr::make({source.width, source.height}, 1, source.bytesPerChannel);

    if (alwaysExtract_) {
        cached_.reset();
        extract(source, *matte, area);
    } else if (!cacheEnabled_) {
        extract(source, *matte, area);
    } else if (context.reuseCached && cached_ && cached_->width == matte->width &&
               cached_->height == matte->height && cached_->bytesPerChannel == matte->bytesPerChannel) {
        const size_t rowLength = size_t(matte->width) * matte->bytesPerPixel;
        if (cached_->rowBytes == matte->rowBytes) {
            std::memcpy(matte->data, cached_->data, matte->byteCount());
        } else {
            for (int32_t y = 0; y < matte->height; ++y)
                std::memcpy(matte->row<uint8_t>(y), cached_->row<uint8_t>(y), rowLength);
        }
    } else {
        extract(source, *matte, area);
        cached_ = matte->clone();
    }

    if (shrinkGrow_ == 0.0f && blurX_ == 0.0f && blurY_ == 0.0f && !invert_) return matte;

    if (shrinkGrow_ != 0.0f) {
        ImagePtr adjusted = ImagePtr::make({source.width, source.height}, 1, source.bytesPerChannel);
        clearOutside(*adjusted, area);
        shrinkGrow(*matte, *adjusted, area, double(shrinkGrow_) * context.scaleX, double(shrinkGrow_) * context.scaleY);
        matte = adjusted;
    }

    if (blurX_ != 0.0f || blurY_ != 0.0f) {
        Blur blur;
        blur.setExtraPasses(context.extraBlurPasses);
        const float vertical = gang_ ? blurX_ : blurY_;
        blur.setSize(float(double(blurX_) * context.scaleX), float(double(vertical) * context.scaleY));
        blur.apply(*matte, area);
    }

    if (invert_) {
        withSampleType(*matte, [&]<class Sample>() { invertRect<Sample>(*matte, area); });
    }
    return matte;
}
