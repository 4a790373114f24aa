#include "effects/tone_table.h"

#include <stdexcept>

#include "imaging/color.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

void ToneTable::prepare(double gain, double contrast, double bend, bool is16) {
    if (built_ && is16 == is16_ && gain == gain_ && contrast == contrast_ && bend == bend_) return;
    built_ = false;
    gain_ = gain;
    contrast_ = contrast;
    bend_ = bend;
    is16_ = is16;
    withSampleType(is16, [&]<class Sample>() {
        OwnedTable<Sample>& table = tableOf<Sample>();
        table.resize(SampleTraits<Sample>::tableSize);
        fill(table.data());
    });
    built_ = true;
}

template <class Sample>
void ToneTable::fill(Sample* table) const {
    using Traits = SampleTraits<Sample>;
    constexpr int32_t one = Traits::full;
    if (isIdentity()) {
        for (int32_t i = 0; i < Traits::tableSize; ++i) table[i] = Sample(i);
        return;
    }
    const double offset = rounding_ == Rounding::Nearest ? 0.5 : 0.0;
    for (int32_t i = 0; i < Traits::tableSize; ++i)
        table[i] = clampSample<Sample>(truncToInt(toneAdjust(double(i) / one, gain_, contrast_, bend_) * one + offset));
}

template <class Sample>
const Sample* ToneTable::levels() const {
    constexpr bool is16 = sizeof(Sample) == 2;
    if (!built_ || is16_ != is16) throw std::logic_error("tone table not prepared for this sample size");
    if constexpr (is16)
        return levels16_.data();
    else
        return levels8_.data();
}

template const uint8_t* ToneTable::levels<uint8_t>() const;
template const uint16_t* ToneTable::levels<uint16_t>() const;

void ToneTable::apply(Image& image, const PixelRect& rect) {
    if (isIdentity()) return;
    prepare(gain_, contrast_, bend_, image.is16());
    withSampleType(image, [&]<class Sample>() { applyLUT(image, levels<Sample>(), rect); });
}
