// Light!: light and shadow thrown into a scene through a shape, like light falling through a
// window or a cut-out in front of a lamp.
//
//   matte    which parts of the picture can catch light (the extractor's window on one measure)
//   shape    a grey pattern file placed over the picture (position, scale, rotation ...),
//            spread by its own blur, and optionally pushed about by the picture's luminance so
//            that it seems to wrap over the objects; laid into the matte by the Blend Mode
//   light    the picture's pixels where the combined matte lets light through, spread by the
//            light blur, added or screened back with a colour and a brightness
//   shadow   everything the spread light does not reach darkened
//
// The shape is stretched over the whole picture, so it falls on the same place whatever tile or
// strip is rendered; placing and blurring it happens once on the file's own pixels and is kept.
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "effects/effect_classes.h"
#include "effects/placed_shape.h"
#include "effects/render_area.h"
#include "fx/blur_pair.h"
#include "fx/dve_parameters.h"
#include "fx/effect_class.h"
#include "fx/matte_group.h"
#include "fx/render_margin.h"
#include "imaging/glow.h"
#include "imaging/matte_extractor.h"
#include "imaging/pixel_utils.h"
#include "imaging/scratch_image.h"
#include "imaging/shadow.h"
#include "imaging/shape_blend.h"
#include "imaging/shape_reading.h"

namespace {

// 52 records.
constexpr uint32_t kBackground = 0;
constexpr uint32_t kView = 1;
constexpr uint32_t kLightGroup = 2;
constexpr uint32_t kBlend = 3;
constexpr uint32_t kBrightness = 4;
constexpr uint32_t kDisplacement = 5;
constexpr uint32_t kBlurX = 6;  // then the vertical blur at 7 and the gang switch at 8
constexpr uint32_t kBlurY = 7;
constexpr uint32_t kBlurGang = 8;
constexpr uint32_t kColor = 9;
constexpr uint32_t kLightGroupEnd = 10;
constexpr uint32_t kShadowGroup = 11;
constexpr uint32_t kShadowBrightness = 12;
constexpr uint32_t kShadowGroupEnd = 13;
constexpr MatteGroup kMatte{14, true};  // records 14 to 19
constexpr uint32_t kShapeGroup = 20;
constexpr uint32_t kPattern = 21;
constexpr uint32_t kShapeInput = 22;
constexpr uint32_t kCompositeFunc = 23;
constexpr uint32_t kOpacity = 24;
constexpr uint32_t kShapeBlurX = 25;  // then the vertical blur at 26 and the gang switch at 27
constexpr uint32_t kShapeBlurY = 26;
constexpr uint32_t kShapeBlurGang = 27;
constexpr uint32_t kPlacement = 28;  // the 23 records of the placement group, 28 to 50
constexpr uint32_t kShapeGroupEnd = 51;
constexpr uint32_t kParameterCount = 52;
static_assert(kBlurY == kBlurX + BlurPairParameter::kVertical && kBlurGang == kBlurX + BlurPairParameter::kGang);
static_assert(kShapeBlurY == kShapeBlurX + BlurPairParameter::kVertical &&
              kShapeBlurGang == kShapeBlurX + BlurPairParameter::kGang);
static_assert(kMatte.end() + 1 == kShapeGroup && kPlacement + DveParameter::kCount == kShapeGroupEnd);

constexpr const char* kViewItems[] = {"Output", "Original", "Shape", "Matte"};
constexpr uint32_t kViewOutput = 0;
constexpr uint32_t kViewOriginal = 1;
constexpr uint32_t kViewShape = 2;

constexpr const char* kBlendItems[] = {"Add", "Screen"};
constexpr uint32_t kBlendAdd = 0;

constexpr const char* kCompositeItems[] = {"Shape Only", "Add",        "Subtract", "Multiply",
                                           "Screen",     "Difference", "Darken",   "Lighten"};
static_assert(std::size(kCompositeItems) == kShapeBlendCount);

struct LightEffect : Effect {
    static constexpr const char* kTitle = "Ravo Light!";
    static constexpr const char* kDescription = "Add light and shadow into a scene.";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard | EffectFlag::Mark1;

    Parameter params[kParameterCount];
    MatteExtractor extractor;
    DveTransform placement;
    PlacedShape shape;
    // The shape as it falls on the block and the spread light, kept for the tiles of a run.
    ScratchImage shapeMemory;
    ScratchImage lightMemory;

    static void define(LightEffect& effect);
    static void beginRender(LightEffect& effect, const fx::Plugin::RenderInfo& info);
    static void parameterChanged(LightEffect& effect, uint32_t index);
    static void requiredSource(LightEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect);
    static void render(LightEffect& effect, const fx::Plugin::RenderInfo& info);
};

void LightEffect::define(LightEffect& effect) {
    Parameter* p = effect.params;
    p[kBackground].defineInput("background", "Background", 0);
    p[kView].defineList("view", "View", kViewItems, uint32_t(std::size(kViewItems)), kViewOutput);

    p[kLightGroup].defineGroupBegin("light", "Light", true);
    p[kBlend].defineList("lBlend", "Blend", kBlendItems, uint32_t(std::size(kBlendItems)), kBlendAdd);
    p[kBlend].addFlags(ParameterFlag::NotifyOnChange);
    p[kBrightness].defineNumber("lBrightness", "Brightness", 0.0, 500.0, 75.0);
    p[kDisplacement].defineNumber("lDisplacement", "Displacement", -100.0, 100.0, 0.0);
    BlurPairDefinition lightBlur{"lBlurX", "Horizontal Blur", "lBlurY", "Vertical Blur", "lBlurGang", "Gang Blur",
                                 500.0, 20.0};
    lightBlur.sizeFlags = 0;
    defineBlurPair(p, kBlurX, lightBlur);
    p[kColor].defineColor("lColor", "Color", 1.0, 1.0, 1.0);
    p[kLightGroupEnd].defineGroupEnd();

    p[kShadowGroup].defineGroupBegin("shadow", "Shadow", true);
    p[kShadowBrightness].defineNumber("sBrightness", "Brightness", 0.0, 100.0, 0.0);
    p[kShadowGroupEnd].defineGroupEnd();

    defineMatteGroup(p, kMatte, {100.0, 80.0});

    p[kShapeGroup].defineGroupBegin("shape", "Shape", true);
    p[kPattern].defineImageFile("pattern", "Pattern", "QEL Ravo", "textures");
    p[kPattern].addFlags(ParameterFlag::NotifyOnChange);
    // A second picture as the shape: defined for stored values and hosts, read by no render.
    p[kShapeInput].defineInput("shapeInput", "Input", 1);
    p[kCompositeFunc].defineList("compositeFunc", "Blend Mode", kCompositeItems, kShapeBlendCount,
                                 uint32_t(ShapeBlend::Add));
    p[kOpacity].defineNumber("sOpacity", "Opacity", 0.0, 100.0, 100.0);
    p[kOpacity].addFlags(ParameterFlag::Percent);
    BlurPairDefinition shapeBlur{"sBlurX", "Horizontal Blur", "sBlurY", "Vertical Blur", "sBlurGang", "Gang Blur",
                                 200.0, 0.0};
    shapeBlur.sizeFlags = 0;
    defineBlurPair(p, kShapeBlurX, shapeBlur);
    defineParameters(effect.placement, p, kPlacement);
    p[kShapeGroupEnd].defineGroupEnd();
}

void LightEffect::beginRender(LightEffect& effect, const fx::Plugin::RenderInfo&) {
    update(effect.placement, effect.params + kPlacement);
}

// The gangs enable their vertical sizes while off. A pattern enables the shape's controls and
// greys out the second input; without one the shape's controls are greyed out.
void LightEffect::parameterChanged(LightEffect& effect, uint32_t index) {
    Parameter* p = effect.params;
    blurGangChanged(p, kBlurX, index);
    blurGangChanged(p, kShapeBlurX, index);
    if (index >= kPlacement && index < kPlacement + DveParameter::kCount)
        onParameterChanged(effect.placement, p + kPlacement, index - kPlacement);
    if (index != kPattern) return;
    const bool chosen = effect.imageFilePath(kPattern) != nullptr;
    if (chosen) p[kShapeInput].setEnabled(false);
    for (uint32_t i = kCompositeFunc; i < kPlacement + DveParameter::kCount; ++i) p[i].setEnabled(chosen);
    if (!chosen) return;
    // Enabling the group re-enabled the vertical sizes; they stay greyed out while ganged.
    blurGangChanged(p, kShapeBlurX, kShapeBlurGang);
    onParameterChanged(effect.placement, p + kPlacement, DveParameter::kScaleGang);
}

// The light is spread from the matte, which is blurred already: the two reaches add up. The
// shape is read at each pixel's own place in the picture (displaced by that pixel's
// luminance), and its blur runs on the whole shape, so neither reads around the output.
SourceMargin lightMargin(const LightEffect& effect, const fx::Plugin::RenderInfo& info) {
    return matteMargin(matteGroupSettings(effect, kMatte), info) +
           blurMargin(blurPairSizes(effect.params, kBlurX), info);
}

void LightEffect::requiredSource(LightEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect) {
    rect = lightMargin(effect, info).grow(rect);
}

// The shape for this render, in the file's pixels, and where the block at rect lies on it.
const Image* placedShape(LightEffect& effect, const fx::Plugin::RenderInfo& info) {
    ShapeRecipe recipe;
    const char* pattern = effect.imageFilePath(kPattern);
    recipe.pattern = pattern ? pattern : "";
    recipe.sixteenBit = info.is16;
    recipe.placement = dveSettings(effect.params + kPlacement);
    recipe.sampling = dveSampling(info);
    const BlurSizes blur = blurPairSizes(effect.params, kShapeBlurX);
    recipe.blurX = float(blur.horizontal * info.scaleX);
    recipe.blurY = float(blur.vertical * info.scaleY);
    recipe.extraPasses = info.extraBlurPasses();
    return effect.shape.image(recipe);
}

// The tile loop starts the block at the top left of outputRect grown by the margin, held inside
// the picture; a preview's picture is the document zoomed.
ShapeReading shapeReading(const LightEffect& effect, const fx::Plugin::RenderInfo& info, const Image* shape,
                          const PixelRect& rect) {
    const PixelRect read = lightMargin(effect, info).grow(info.outputRect);
    const double width = truncToInt(info.imageWidth * info.scaleX);
    const double height = truncToInt(info.imageHeight * info.scaleY);
    const double displacement = effect.numberInRange(kDisplacement) * 0.01;
    ShapeReading reading;
    reading.originX = std::max(0, read.left) + rect.left;
    reading.originY = std::max(0, read.top) + rect.top;
    if (shape && width > 0.0 && height > 0.0) {
        reading.ratioX = shape->width / width;
        reading.ratioY = shape->height / height;
    }
    reading.shiftX = info.imageWidth * info.scaleX * displacement;
    reading.shiftY = info.imageHeight * info.scaleY * displacement;
    return reading;
}

// A list index beyond the items, set from code, counts as the last item.
ShapeBlend compositeFunc(const LightEffect& effect) {
    return ShapeBlend(std::min(effect.listValue(kCompositeFunc), kShapeBlendCount - 1));
}

void LightEffect::render(LightEffect& effect, const fx::Plugin::RenderInfo& info) {
    const uint32_t view = effect.listValue(kView);
    const auto area = startRender(effect, info, {kBackground, view == kViewOriginal, OutputStart::AsGiven});
    if (!area) return;
    // The blurs spread over whole images: work on the render rectangle alone.
    const Image source = viewOf(*area->source, area->rect);
    Image output = viewOf(*area->output, area->rect);
    const PixelRect& rect = output.bounds;
    const double brightness = effect.numberInRange(kBrightness) / 100;
    const double shadow = effect.numberInRange(kShadowBrightness) / 100;
    if (view == kViewOutput) {
        area->copySource();
        if (brightness <= 0.0 && shadow <= 0.0) return;
    }

    // The matte, with the shape laid into it ("Shape" shows the shape alone).
    const ShapeBlend blend = view == kViewShape ? ShapeBlend::ShapeOnly : compositeFunc(effect);
    const ImagePtr matte = blend == ShapeBlend::ShapeOnly
                               ? ImagePtr::make({source.width, source.height}, 1, source.bytesPerChannel)
                               : buildGroupMatte(effect.extractor, effect, kMatte, source, rect, info);
    const Image* placed = placedShape(effect, info);
    const ShapeReading reading = shapeReading(effect, info, placed, area->rect);
    Image& shape = effect.shapeMemory.imageOf({source.width, source.height}, 1, source.bytesPerChannel);
    readShape(placed, source, shape, rect, reading);
    if (keepsInsideShape(blend)) effect.shape.clearOutside(*matte, rect, reading);
    blendShape(*matte, shape, rect, blend, effect.numberInRange(kOpacity) / 100);
    const bool lastTile = info.tileCount <= 0 || info.tileIndex >= info.tileCount - 1;
    if (lastTile) effect.shapeMemory.release();
    if (view != kViewOutput) {
        expandGrayToRGBA(*matte, output, rect);
        return;
    }

    const BlurSizes blur = blurPairSizes(effect.params, kBlurX);
    const Image& light = spreadLight(output, *matte, blur.horizontal * info.scaleX, blur.vertical * info.scaleY,
                                     info.extraBlurPasses(), effect.lightMemory);
    const RGBValue color = effect.colorValue(kColor);
    if (brightness > 0.0)
        compositeLight(output, light, rect, {color.red, color.green, color.blue}, brightness,
                       effect.listValue(kBlend) == kBlendAdd ? kGlowAdd : kGlowScreen);
    darkenUnlit(output, light, rect, shadow);
    if (lastTile) effect.lightMemory.release();
}

}  // namespace

const EffectClass& lightClass() { return effectClassOf<LightEffect>(); }
