// Selective Soft Focus and Skin Smoother: blur only the part of the picture that a luminance
// matte selects.
//
//   Selective Soft Focus  blurs the selected pixels and lays them over the sharp picture
//                         (by default the highlights)
//   Skin Smoother         blends a blurred copy in where the matte says (by default the
//                         mid-tones, where skin lies), then brings the sharp picture back along
//                         edges, so that pores soften while eyes, lips and outlines stay crisp
//
// Both run one render routine, parameterised by the places of their records and by how the
// blur is laid on. Sizes are pixels at full image size, scaled by the render's scale factors.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "effects/selective_blur.h"
#include "fx/blur_pair.h"
#include "fx/effect_class.h"
#include "fx/matte_group.h"
#include "fx/render_margin.h"
#include "imaging/blur.h"
#include "imaging/edge_detect.h"
#include "imaging/matte_extractor.h"
#include "imaging/pixel_mix.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

using namespace SelectiveBlurParameter;

// Selective Soft Focus (records 0 to 6: selective_blur.h)
constexpr MatteGroup kFocusMatte = {7};  // records 7 to 11
constexpr uint32_t kFocusParameterCount = 12;

// Skin Smoother (records 0 to 6: selective_blur.h)
constexpr uint32_t kEdgeGroup = 7;
constexpr uint32_t kEdgeBrightness = 8;
constexpr uint32_t kEdgeBlur = 9;
constexpr uint32_t kEdgeOpacity = 10;
constexpr uint32_t kEdgeGroupEnd = 11;
constexpr MatteGroup kSkinMatte = {12};  // records 12 to 16
constexpr uint32_t kSkinParameterCount = 17;

constexpr const char* kFocusViewItems[] = {"Output", "Matte", "Original"};
constexpr const char* kSkinViewItems[] = {"Output", "Matte", "Edge", "Original"};

// A record or View item a member does not have.
constexpr uint32_t kAbsent = UINT32_MAX;

// How the blurred picture meets the sharp one in the "Output" view.
enum class BlurLaying {
    // The selection, premultiplied by the matte and blurred, laid over the picture.
    OverSelection,
    // A blurred copy mixed in by the matte, then the sharp picture mixed back by the edges.
    MixedByMatteAndEdges,
};

void defineSelectiveFocus(Parameter* params);
void defineSkinSmoother(Parameter* params);

// What sets the members apart: their title, their records and View items, and how they lay on
// the blur.
struct SelectiveLayout {
    const char* title;
    uint32_t parameterCount;
    void (*define)(Parameter* params);
    uint32_t viewMatte;
    uint32_t viewEdge;
    uint32_t viewOriginal;
    uint32_t edgeBrightness;
    uint32_t edgeBlur;
    uint32_t edgeOpacity;
    MatteGroup matte;
    BlurLaying laying;
};

constexpr SelectiveLayout kFocusLayout = {
    .title = "Ravo Selective Soft Focus",
    .parameterCount = kFocusParameterCount,
    .define = defineSelectiveFocus,
    .viewMatte = 1,
    .viewEdge = kAbsent,
    .viewOriginal = 2,
    .edgeBrightness = kAbsent,
    .edgeBlur = kAbsent,
    .edgeOpacity = kAbsent,
    .matte = kFocusMatte,
    .laying = BlurLaying::OverSelection,
};
constexpr SelectiveLayout kSkinLayout = {
    .title = "Ravo Skin Smoother",
    .parameterCount = kSkinParameterCount,
    .define = defineSkinSmoother,
    .viewMatte = 1,
    .viewEdge = 2,
    .viewOriginal = 3,
    .edgeBrightness = kEdgeBrightness,
    .edgeBlur = kEdgeBlur,
    .edgeOpacity = kEdgeOpacity,
    .matte = kSkinMatte,
    .laying = BlurLaying::MixedByMatteAndEdges,
};

// ---- Definitions -------------------------------------------------------------------------

void defineSelectiveFocus(Parameter* params) {
    defineSelectiveBlurHead(params, kFocusViewItems, std::size(kFocusViewItems), 500.0, 10.0);
    defineMatteGroup(params, kFocusMatte, {100.0, 80.0});
    static_assert(kFocusParameterCount == kFocusMatte.end() + 1);
}

void defineSkinSmoother(Parameter* params) {
    defineSelectiveBlurHead(params, kSkinViewItems, std::size(kSkinViewItems), 100.0, 3.0);
    params[kEdgeGroup].defineGroupBegin("edge", "Edge", true);
    params[kEdgeBrightness].defineNumber("EdgeBrightness", "Brightness", 1.0, 10.0, 5.0, 1);
    params[kEdgeBlur].defineNumber("EdgeBlur", "Blur", 0.0, 50.0, 2.0, 1);
    params[kEdgeOpacity].defineNumber("EdgeOpacity", "Opacity", 0.0, 100.0, 100.0, 1);
    params[kEdgeGroupEnd].defineGroupEnd();
    defineMatteGroup(params, kSkinMatte, {50.0, 25.0});
    params[kEdgeOpacity].addFlags(ParameterFlag::Percent);
    static_assert(kSkinParameterCount == kSkinMatte.end() + 1);
}

// ---- Pixel operations --------------------------------------------------------------------

// Brightens the edges: e = min(full, trunc(e x brightness)), through a table.
template <class Sample>
void brightenEdges(Image& edges, const PixelRect& rect, double brightness) {
    constexpr int32_t full = SampleTraits<Sample>::full;
    std::vector<Sample> table(SampleTraits<Sample>::tableSize);
    for (int32_t v = 0; v <= full; ++v)
        table[size_t(v)] = Sample(truncToInt(std::min(double(full), double(v) * brightness)));
    applyLUT(edges, table.data(), rect);
}

// Skin Smoother's "Output" rows: mix(source, blurred, matte, 1.0), then, when there are edges,
// mix(that, source, edges, opacity).
template <class Sample>
void mixByMatteAndEdges(const Image& source, const Image& blurred, const Image& matte, const Image* edges,
                        double opacity, Image& output, const PixelRect& rect) {
    constexpr Sample wholeStrength = Sample(SampleTraits<Sample>::full);
    // k is kept to the sample width.
    const Sample edgeStrength = Sample(truncToInt(opacity * SampleTraits<Sample>::full));
    const int32_t width = rect.width();
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Sample* sharp = source.pixel<Sample>(rect.left, y);
        Sample* out = output.pixel<Sample>(rect.left, y);
        mixRow<Sample>(sharp, blurred.pixel<Sample>(rect.left, y), matte.pixel<Sample>(rect.left, y), out,
                       width, wholeStrength);
        if (edges) mixRow<Sample>(out, sharp, edges->pixel<Sample>(rect.left, y), out, width, edgeStrength);
    }
}

// ---- The family's render -----------------------------------------------------------------

// The edge image of the source over rect, blurred and brightened.
ImagePtr buildEdges(const Effect& effect, const SelectiveLayout& layout, const Image& source, const PixelRect& rect,
                    const fx::Plugin::RenderInfo& info) {
    ImagePtr edges = ImagePtr::make({source.width, source.height}, 1, source.bytesPerChannel);
    detectEdges(source, *edges, rect);
    const double size = effect.numberInRange(layout.edgeBlur);
    // Every blur of the render runs with its extra passes, this one too.
    Blur blur;
    prepareBlur(blur, {size, size}, info);
    blur.apply(*edges, rect);
    const double brightness = effect.numberInRange(layout.edgeBrightness);
    if (brightness > 1.0) {
        withSampleType(*edges, [&]<class Sample>() { brightenEdges<Sample>(*edges, rect, brightness); });
    }
    return edges;
}

void renderSelective(Effect& effect, MatteExtractor& extractor, const SelectiveLayout& layout,
                     const fx::Plugin::RenderInfo& info) {
    const uint32_t view = effect.listValue(kView);
    const bool showsMatte = view == layout.viewMatte;
    const bool showsEdges = view == layout.viewEdge;
    const bool showsOriginal = view != kViewOutput && !showsMatte && !showsEdges;
    const auto area = startRender(effect, info, {kBackground, showsOriginal, OutputStart::AsGiven});
    if (!area) return;
    const ImagePtr& source = area->source;
    Image& output = *area->output;
    const PixelRect& rect = area->rect;

    const BlurSizes sizes = blurPairSizes(effect.parameters, kBlurX);
    const bool blurs = sizes.horizontal > 0.0 || sizes.vertical > 0.0;
    const bool mixesEdges = layout.laying == BlurLaying::MixedByMatteAndEdges;
    const double opacity = mixesEdges ? effect.numberInRange(layout.edgeOpacity) / 100 : 0.0;
    const bool usesEdges = showsEdges || (view == kViewOutput && blurs && opacity > 0.0);

    // Without a blur the output view is the source: the lay-over adds nothing, and mixing a
    // picture with itself gives it back exactly.
    if (view == kViewOutput && !blurs) {
        area->copySource();
        return;
    }

    ImagePtr matte;
    if (!showsEdges) {
        // Every build extracts afresh (a kept matte could belong to another tile), so none is kept.
        extractor.setCacheEnabled(false);
        matte = buildGroupMatte(extractor, effect, layout.matte, *source, rect, info);
    }
    ImagePtr edges;
    if (usesEdges) edges = buildEdges(effect, layout, *source, rect, info);

    if (showsMatte || showsEdges) {
        expandGrayToRGBA(showsMatte ? *matte : *edges, output, rect);
        return;
    }

    if (layout.laying == BlurLaying::OverSelection) {
        area->copySource();
        layBlurredSelection(*source, *matte, output, rect, sizes, info);
        return;
    }

    ImagePtr blurred = source->clone();
    Blur blur;
    prepareBlur(blur, sizes, info);
    blur.apply(*blurred, rect);
    withSampleType(*source, [&]<class Sample>() {
        mixByMatteAndEdges<Sample>(*source, *blurred, *matte, edges.get(), opacity, output, rect);
    });
}

// Selective Soft Focus blurs the selection, which the blurred matte makes, so the two reaches
// add up; Skin Smoother blurs the picture and the matte side by side. The edge image reads one
// pixel around for its differences before its blur.
PixelRect selectiveRequiredSource(const Effect& effect, const SelectiveLayout& layout,
                                  const fx::Plugin::RenderInfo& info, const PixelRect& rect) {
    const SourceMargin picture = blurMargin(blurPairSizes(effect.parameters, kBlurX), info);
    const SourceMargin matte = matteMargin(matteGroupSettings(effect, layout.matte), info);
    SourceMargin reach = layout.laying == BlurLaying::OverSelection ? matte + picture : widest(matte, picture);
    if (layout.edgeBlur != kAbsent) {
        const double edgeBlur = effect.numberInRange(layout.edgeBlur);
        reach = widest(reach, SourceMargin{1, 1} + blurMargin({edgeBlur, edgeBlur}, info));
    }
    return reach.grow(rect);
}

// ---- The effect type of both members ----------------------------------------------------

template <const SelectiveLayout& layout>
struct SelectiveBlurEffect : Effect {
    static constexpr const char* kTitle = layout.title;
    static constexpr const char* kDescription = "Selectively adjust blur.";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard;

    Parameter params[layout.parameterCount];
    MatteExtractor extractor;

    static void define(SelectiveBlurEffect& effect) { layout.define(effect.params); }
    static bool isActive(SelectiveBlurEffect& effect, const fx::Plugin::RenderInfo&) {
        return selectiveBlurIsActive(effect, layout.viewOriginal);
    }
    static void parameterChanged(SelectiveBlurEffect& effect, uint32_t index) {
        blurPairChanged(effect.params, kBlurX, index);
    }
    static void requiredSource(SelectiveBlurEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect) {
        rect = selectiveRequiredSource(effect, layout, info, rect);
    }
    static void render(SelectiveBlurEffect& effect, const fx::Plugin::RenderInfo& info) {
        renderSelective(effect, effect.extractor, layout, info);
    }
};

}  // namespace

const EffectClass& selectiveFocusClass() { return effectClassOf<SelectiveBlurEffect<kFocusLayout>>(); }
const EffectClass& skinSmootherClass() { return effectClassOf<SelectiveBlurEffect<kSkinLayout>>(); }
