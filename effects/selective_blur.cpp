#include "effects/selective_blur.h"

#include <algorithm>

#include "imaging/blur.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

using namespace SelectiveBlurParameter;

namespace {

// The selection: each colour of the source times mask / full, alpha = mask. selection covers
// rect only (its pixel (0, 0) is the source's (rect.left, rect.top)).
template <class Sample>
void premultiply(const Image& source, const Image& mask, Image& selection, const PixelRect& rect) {
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Sample* in = source.pixel<Sample>(rect.left, y);
        const Sample* m = mask.pixel<Sample>(rect.left, y);
        Sample* out = selection.row<Sample>(y - rect.top);
        for (int32_t x = rect.left; x < rect.right; ++x, in += 4, ++m, out += 4) {
            const uint32_t weight = *m;
            out[0] = Sample(divideByFull<Sample>(in[0] * weight));
            out[1] = Sample(divideByFull<Sample>(in[1] * weight));
            out[2] = Sample(divideByFull<Sample>(in[2] * weight));
            out[3] = Sample(weight);
        }
    }
}

// out = out x (full - a) / full + X per colour channel; the output's alpha stays.
template <class Sample>
void layOver(const Image& selection, Image& output, const PixelRect& rect) {
    constexpr uint32_t full = SampleTraits<Sample>::full;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Sample* in = selection.row<Sample>(y - rect.top);
        Sample* out = output.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, in += 4, out += 4) {
            const uint32_t keep = full - in[3];
            for (int c = 0; c < 3; ++c)
                out[c] = clampSample<Sample>(divideByFull<Sample>(out[c] * keep) + in[c]);
        }
    }
}

template <class Sample>
void layBlurredSelectionOf(const Image& source, const Image& mask, Image& output, const PixelRect& rect,
                           const BlurSizes& sizes, const fx::Plugin::RenderInfo& info) {
    ImagePtr selection = ImagePtr::make({rect.width(), rect.height()}, 4, sizeof(Sample));
    premultiply<Sample>(source, mask, *selection, rect);
    Blur blur;
    prepareBlur(blur, sizes, info);
    blur.apply(*selection, selection->bounds);
    layOver<Sample>(*selection, output, rect);
}

}  // namespace

void defineSelectiveBlurHead(Parameter* params, const char* const* viewItems, uint32_t viewItemCount,
                             double maximum, double defaultSize) {
    params[kBackground].defineInput("background", "Background", 0);
    params[kView].defineList("view", "View", viewItems, viewItemCount, kViewOutput);
    params[kBlurGroup].defineGroupBegin("blur", "Blur", true);
    defineBlurPair(params, kBlurX, {"blurX", "Horizontal", "blurY", "Vertical", "gang", "Gang", maximum, defaultSize});
    params[kBlurGroupEnd].defineGroupEnd();
    static_assert(kBlurY == kBlurX + BlurPairParameter::kVertical && kGang == kBlurX + BlurPairParameter::kGang);
}

bool selectiveBlurIsActive(const Effect& effect, uint32_t viewOriginal) {
    const uint32_t view = effect.listValue(kView);
    if (view == viewOriginal) return false;
    if (view != kViewOutput) return true;
    const BlurSizes sizes = blurPairSizes(effect.parameters, kBlurX);
    return sizes.horizontal > 0.0 || sizes.vertical > 0.0;
}

void layBlurredSelection(const Image& source, const Image& mask, Image& output, const PixelRect& rect,
                         const BlurSizes& sizes, const fx::Plugin::RenderInfo& info) {
    if (rect.isEmpty()) return;
    withSampleType(source, [&]<class Sample>() {
        layBlurredSelectionOf<Sample>(source, mask, output, rect, sizes, info);
    });
}
