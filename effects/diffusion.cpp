// Diffusion: the glow and mist look seen through a diffusion screen. The highlight matte is
// combined with a grey texture (a net, a pattern, a screen) chosen from the Textures folder and
// placed over the picture, and the glow is built from the combination.
//
//   matte M     as in the mist looks: a luminance window at Position / Range, blurred
//   texture T   the file in grey, moved, scaled, rotated or pinned by the DVE group, then
//               stretched over the picture
//   glow        M combined with T by Texture Blend, blurred, tinted and laid on the
//               colour-corrected picture as in the mist looks
//
// Without a texture file the matte glows as built, and Diffusion renders as Mist does with
// its blur of 20. The View list adds "Texture", which shows T alone.
#include <cstdint>
#include <iterator>

#include "effects/effect_classes.h"
#include "effects/glow_family.h"
#include "effects/glow_look_render.h"
#include "effects/placed_texture.h"
#include "effects/render_area.h"
#include "fx/dve_parameters.h"
#include "fx/effect_class.h"
#include "imaging/dve_transform.h"
#include "imaging/texture_blend.h"

namespace {

// 54 records: the 27 of the mist looks, then the texture group.
constexpr uint32_t kTextureGroup = 27;
constexpr uint32_t kDiffTexture = 28;
constexpr uint32_t kDiffTexBlend = 29;
constexpr uint32_t kDve = 30;  // the 23 records of the placement, to 52
constexpr uint32_t kTextureGroupEnd = kDve + DveParameter::kCount;
constexpr uint32_t kParameterCount = 54;
static_assert(kTextureGroup == MistLook::kParameterCount && kTextureGroupEnd + 1 == kParameterCount);

constexpr const char* kBlendItems[] = {"Texture Only", "Add", "Subtract", "Multiply",
                                       "Screen",       "Difference", "Darken", "Lighten"};
static_assert(std::size(kBlendItems) == kTextureBlendCount);

struct DiffusionEffect : Effect {
    static constexpr const char* kTitle = "Ravo Diffusion";
    static constexpr const char* kDescription =
        "Creates atmosphere by reducing contrast and sharpness and creating a glow around the highlights.";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard | EffectFlag::Mark1;

    Parameter params[kParameterCount];
    DveTransform placement;
    // The texture placed over the picture, kept while its file and placement stay the same.
    PlacedTexture texture;
    // The glow's light image, kept for the tiles of a run.
    ScratchImage lightMemory;

    static void define(DiffusionEffect& effect);
    static void beginRender(DiffusionEffect& effect, const fx::Plugin::RenderInfo& info);
    static void parameterChanged(DiffusionEffect& effect, uint32_t index);
    static void requiredSource(DiffusionEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect);
    static void render(DiffusionEffect& effect, const fx::Plugin::RenderInfo& info);
};

void DiffusionEffect::define(DiffusionEffect& effect) {
    Parameter* p = effect.params;
    GlowLookDefinition look = mistDefinition("warmCool", 100.0);
    look.defineView = defineTextureLookView;
    look.blur.defaultSize = 20.0;
    defineMistLook(p, look);

    p[kTextureGroup].defineGroupBegin("texture", "Texture", true);
    p[kDiffTexture].defineImageFile("diffTexture", "Texture", "QEL Ravo", "textures");
    p[kDiffTexture].addFlags(ParameterFlag::NotifyOnChange);
    p[kDiffTexBlend].defineList("diffTexBlend", "Texture Blend", kBlendItems, kTextureBlendCount,
                                uint32_t(TextureBlend::TextureOnly));
    defineParameters(effect.placement, p, kDve);
    p[kTextureGroupEnd].defineGroupEnd();
}

// The placement holds for the whole run.
void DiffusionEffect::beginRender(DiffusionEffect& effect, const fx::Plugin::RenderInfo&) {
    update(effect.placement, effect.params + kDve);
}

// The blur pair's gang as in the mist looks; the blend matters only once a file is chosen.
void DiffusionEffect::parameterChanged(DiffusionEffect& effect, uint32_t index) {
    Parameter* p = effect.params;
    if (index == kDiffTexture) p[kDiffTexBlend].setEnabled(!p[kDiffTexture].path.empty());
    if (index >= kDve && index < kTextureGroupEnd) onParameterChanged(effect.placement, p + kDve, index - kDve);
    mistLookParameterChanged(effect, index);
}

// The texture is placed over the whole picture, so it reads nothing beyond the mist look's
// margin.
void DiffusionEffect::requiredSource(DiffusionEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect) {
    rect = mistLookMargin(effect, info).grow(rect);
}

// The effect's texture as the glow look's frame asks for it: the placed texture under the
// block's rectangle, found on the picture through the margin the block was grown by.
class DiffusionTexture final : public LookTexture {
public:
    explicit DiffusionTexture(DiffusionEffect& effect) : effect_(effect) {}

    ImagePtr under(const PixelRect& rect, const fx::Plugin::RenderInfo& info) override {
        return effect_.texture.under(effect_.params[kDiffTexture].path.c_str(), effect_.placement, info,
                                     pictureRect(rect, mistLookMargin(effect_, info), info));
    }
    void combine(const Image& matte, Image& texture) override {
        blendTexture(matte, texture, texture, TextureBlend(effect_.listValue(kDiffTexBlend)));
    }

private:
    DiffusionEffect& effect_;
};

void DiffusionEffect::render(DiffusionEffect& effect, const fx::Plugin::RenderInfo& info) {
    DiffusionTexture texture(effect);
    renderMistLook(effect, info, effect.lightMemory, &texture);
}

}  // namespace

const EffectClass& diffusionClass() { return effectClassOf<DiffusionEffect>(); }
