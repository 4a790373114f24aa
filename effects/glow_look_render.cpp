#include "effects/glow_look_render.h"

#include <iterator>
#include <utility>

#include "fx/render_margin.h"
#include "imaging/pixel_utils.h"

namespace {
constexpr const char* kViewItems[] = {"Output", "Matte", "Original"};
constexpr const char* kTextureViewItems[] = {"Output", "Matte", "Texture", "Original"};
static_assert(GlowLookView::kMatte == TextureLookView::kMatte);

// The texture under the render rectangle in grey, or opaque black without one.
void drawTexture(GlowLookRender& render, LookTexture& texture, const fx::Plugin::RenderInfo& info) {
    ImagePtr shown = texture.under(render.area.rect, info);
    if (!shown) {
        shown = ImagePtr::make({render.rect().width(), render.rect().height()}, 1, render.output.bytesPerChannel);
        clearRect(*shown, render.rect());
    }
    expandGrayToRGBA(*shown, render.output, render.rect());
}

}  // namespace

void defineGlowLookView(Parameter& record) {
    record.defineList("view", "View", kViewItems, uint32_t(std::size(kViewItems)), GlowLookView::kOutput);
}

void defineTextureLookView(Parameter& record) {
    record.defineList("view", "View", kTextureViewItems, uint32_t(std::size(kTextureViewItems)),
                      TextureLookView::kOutput);
}

std::unique_ptr<GlowLookRender> startGlowLook(const Effect& effect, const GlowLookRecords& records,
                                              const fx::Plugin::RenderInfo& info, LookTexture* texture) {
    const uint32_t view = effect.listValue(records.view);
    const uint32_t original = texture ? TextureLookView::kOriginal : GlowLookView::kOriginal;
    auto area = startRender(effect, info, {records.input, view == original, OutputStart::AsGiven});
    if (!area) return nullptr;
    auto render = std::make_unique<GlowLookRender>(std::move(*area), effect.numberInRange(records.brightness) / 100);
    if (texture && view == TextureLookView::kTexture) {
        drawTexture(*render, *texture, info);
        return nullptr;
    }
    if (view != GlowLookView::kMatte && render->brightness <= 0.0) return render;

    // The matte is built from the source before the output, which may be the same pixels, changes.
    render->matte = buildGroupMatte(effect, records.matte, render->source, render->rect(), info);
    if (texture) {
        if (ImagePtr combined = texture->under(render->area.rect, info)) {
            texture->combine(*render->matte, *combined);
            render->matte = combined;
        }
    }
    if (view != GlowLookView::kMatte) return render;
    expandGrayToRGBA(*render->matte, render->output, render->rect());
    return nullptr;
}

void applyLookGlow(const Effect& effect, const GlowLookRecords& records, GlowLookRender& render,
                   const BlurSizes& blur, const GlowColor& color, const fx::Plugin::RenderInfo& info,
                   ScratchImage& lightMemory) {
    if (render.brightness <= 0.0) return;
    applyGlow(render.output, *render.matte, render.rect(), blur.horizontal * info.scaleX,
              blur.vertical * info.scaleY, render.brightness, int32_t(effect.listValue(records.glowMode)),
              int32_t(effect.listValue(records.glowBlend)), color, info.extraBlurPasses(), lightMemory);
    if (info.tileCount <= 0 || info.tileIndex >= info.tileCount - 1) lightMemory.release();
}

SourceMargin glowLookMargin(const Effect& effect, const MatteGroup& matte, const BlurSizes& glowBlur,
                            const fx::Plugin::RenderInfo& info) {
    return matteMargin(matteGroupSettings(effect, matte), info) + blurMargin(glowBlur, info);
}
