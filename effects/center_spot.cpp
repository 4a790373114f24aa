// Center Spot: the picture stays sharp in a round spot and blurs progressively towards the
// outside, as through a centre-spot filter.
//
// A spot mask rises linearly from 0 at the spot's centre to full at the spot's radius (Size %
// of half the smaller image side) and stays full beyond it. The picture, premultiplied by the
// mask, is blurred and laid over the sharp picture, the way Selective Soft Focus lays its
// selection (effects/selective_blur.h). The mask depends only on the geometry, so it is kept
// and reused while the spot and the area it covers stay the same.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "effects/selective_blur.h"
#include "fx/effect_class.h"
#include "fx/render_margin.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

using namespace SelectiveBlurParameter;

// Records 0 to 6: selective_blur.h
constexpr uint32_t kSpotGroup = 7;
constexpr uint32_t kSpotPosition = 8;
constexpr uint32_t kSpotSize = 9;
constexpr uint32_t kSpotGroupEnd = 10;
constexpr uint32_t kParameterCount = 11;

constexpr const char* kViewItems[] = {"Output", "Spot", "Original"};
constexpr uint32_t kViewSpot = 1;
constexpr uint32_t kViewOriginal = 2;

// Everything the spot mask is made from. The mask is block-sized: its pixel (0, 0) lies at
// `origin` of the picture the render sees.
struct SpotGeometry {
    int32_t centreX = 0;
    int32_t centreY = 0;
    double sizeFraction = 0.0;
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
    PixelRect outputRect;
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t bytesPerChannel = 0;

    friend bool operator==(const SpotGeometry&, const SpotGeometry&) = default;
};

// The mask over the block: value = min(one, trunc(sqrt(dx^2 + dy^2) / s)) with dx = (cx - x) x
// one / r and dy = (cy - y) x one / r, r half the smaller image side; 0 at the centre, full
// from the distance s x r on.
template <class Sample>
void drawSpot(Image& mask, const SpotGeometry& spot) {
    constexpr int64_t one = SampleTraits<Sample>::full;
    const double radius = std::min(spot.imageWidth, spot.imageHeight) * 0.5;
    std::vector<double> dx(size_t(spot.width));
    for (int32_t i = 0; i < spot.width; ++i)
        dx[size_t(i)] = double((int64_t(spot.centreX) - (spot.originX + i)) * one) / radius;
    for (int32_t j = 0; j < spot.height; ++j) {
        const double dy = double((int64_t(spot.centreY) - (spot.originY + j)) * one) / radius;
        Sample* out = mask.row<Sample>(j);
        for (int32_t i = 0; i < spot.width; ++i) {
            const double distance = std::sqrt(dx[size_t(i)] * dx[size_t(i)] + dy * dy) / spot.sizeFraction;
            out[i] = Sample(truncToInt(std::min(double(one), distance)));
        }
    }
}

struct CenterSpotEffect : Effect {
    static constexpr const char* kTitle = "Ravo Center Spot";
    static constexpr const char* kDescription = "Selectively adjust blur.";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard;

    Parameter params[kParameterCount];
    // The last spot mask and what it was made from.
    ImagePtr spotMask;
    SpotGeometry spotMaskGeometry;

    static void define(CenterSpotEffect& effect);
    static bool isActive(CenterSpotEffect& effect, const fx::Plugin::RenderInfo& info);
    static void parameterChanged(CenterSpotEffect& effect, uint32_t index);
    static void requiredSource(CenterSpotEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect);
    static void render(CenterSpotEffect& effect, const fx::Plugin::RenderInfo& info);

    static SpotGeometry geometry(const CenterSpotEffect& effect, const Image& source,
                                 const fx::Plugin::RenderInfo& info);
    static const Image& maskFor(CenterSpotEffect& effect, const SpotGeometry& spot);
};

void CenterSpotEffect::define(CenterSpotEffect& effect) {
    Parameter* params = effect.params;
    defineSelectiveBlurHead(params, kViewItems, std::size(kViewItems), 500.0, 10.0);
    params[kSpotGroup].defineGroupBegin("spot", "Spot", true);
    params[kSpotPosition].definePoint("pos", "Position", 0.0, 0.0);
    params[kSpotSize].defineNumber("size", "Size", 1.0, 500.0, 100.0, 1);
    params[kSpotGroupEnd].defineGroupEnd();
}

// "Spot" always shows the mask; "Output" without a blur is the source.
bool CenterSpotEffect::isActive(CenterSpotEffect& effect, const fx::Plugin::RenderInfo&) {
    return selectiveBlurIsActive(effect, kViewOriginal);
}

void CenterSpotEffect::parameterChanged(CenterSpotEffect& effect, uint32_t index) {
    blurPairChanged(effect.params, kBlurX, index);
}

// What the blur reads around each pixel; the mask reads nothing around.
SourceMargin spotMargin(const CenterSpotEffect& effect, const fx::Plugin::RenderInfo& info) {
    return blurMargin(blurPairSizes(effect.parameters, kBlurX), info);
}

void CenterSpotEffect::requiredSource(CenterSpotEffect& effect, const fx::Plugin::RenderInfo& info,
                                      PixelRect& rect) {
    rect = spotMargin(effect, info).grow(rect);
}

SpotGeometry CenterSpotEffect::geometry(const CenterSpotEffect& effect, const Image& source,
                                        const fx::Plugin::RenderInfo& info) {
    SpotGeometry spot;
    // A preview sees the picture zoomed while the image size stays the document's: the spot is
    // placed on the zoomed picture (at scale 1 this is the document itself).
    spot.imageWidth = truncToInt(info.imageWidth * info.scaleX);
    spot.imageHeight = truncToInt(info.imageHeight * info.scaleY);
    const auto centre = effect.pointPixel(kSpotPosition, spot.imageWidth, spot.imageHeight);
    spot.centreX = centre[0];
    spot.centreY = centre[1];
    spot.sizeFraction = effect.numberInRange(kSpotSize) * 0.01;
    spot.outputRect = info.outputRect;
    // The block holds the output rectangle grown by the margins, cut at the picture's top and left.
    const PixelRect read = spotMargin(effect, info).grow(info.outputRect);
    spot.originX = std::max(0, read.left);
    spot.originY = std::max(0, read.top);
    spot.width = source.width;
    spot.height = source.height;
    spot.bytesPerChannel = source.bytesPerChannel;
    return spot;
}

const Image& CenterSpotEffect::maskFor(CenterSpotEffect& effect, const SpotGeometry& spot) {
    if (effect.spotMask && effect.spotMaskGeometry == spot) return *effect.spotMask;
    effect.spotMask.reset();
    ImagePtr mask = ImagePtr::make({spot.width, spot.height}, 1, spot.bytesPerChannel);
    withSampleType(spot.bytesPerChannel == 2, [&]<class Sample>() { drawSpot<Sample>(*mask, spot); });
    effect.spotMask = mask;
    effect.spotMaskGeometry = spot;
    return *effect.spotMask;
}

void CenterSpotEffect::render(CenterSpotEffect& effect, const fx::Plugin::RenderInfo& info) {
    const uint32_t view = effect.listValue(kView);
    const auto area =
        startRender(effect, info, {kBackground, view != kViewOutput && view != kViewSpot, OutputStart::AsGiven});
    if (!area) return;
    const ImagePtr& source = area->source;
    Image& output = *area->output;
    const PixelRect& rect = area->rect;
    if (view == kViewSpot) {
        expandGrayToRGBA(maskFor(effect, geometry(effect, *source, info)), output, rect);
        return;
    }

    area->copySource();
    const BlurSizes sizes = blurPairSizes(effect.parameters, kBlurX);
    if (sizes.horizontal <= 0.0 && sizes.vertical <= 0.0) return;
    const Image& mask = maskFor(effect, geometry(effect, *source, info));
    layBlurredSelection(*source, mask, output, rect, sizes, info);
}

}  // namespace

const EffectClass& centerSpotClass() { return effectClassOf<CenterSpotEffect>(); }
