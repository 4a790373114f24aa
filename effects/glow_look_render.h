// The frame that the glow looks share around their own steps: the glow and mist family,
// Diffusion, Infra-Red and Night Vision. Each has a View list of "Output", "Matte" and
// "Original", takes a highlight matte from the source before anything changes the picture,
// turns a copy of the source into its own picture and lays the blurred highlights back over
// that. A look with a texture (Diffusion) combines the matte with it before the glow is built
// and shows the texture in a "Texture" view of its own.
//
// The render works on views of the render rectangle: the blurs spread over whole images, and
// the part of a tile loop's block outside the rectangle holds no pixels of this tile.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "effects/render_area.h"
#include "fx/blur_pair.h"
#include "fx/effect.h"
#include "fx/matte_group.h"
#include "fx/render_info.h"
#include "imaging/glow.h"
#include "imaging/image.h"
#include "imaging/pixel_rect.h"
#include "imaging/scratch_image.h"
#include "imaging/source_margin.h"

// Items of the View list.
namespace GlowLookView {
constexpr uint32_t kOutput = 0;
constexpr uint32_t kMatte = 1;
constexpr uint32_t kOriginal = 2;
}  // namespace GlowLookView

// Items of the View list of a look with a texture.
namespace TextureLookView {
constexpr uint32_t kOutput = 0;
constexpr uint32_t kMatte = 1;
constexpr uint32_t kTexture = 2;
constexpr uint32_t kOriginal = 3;
}  // namespace TextureLookView

// The View list: key "view", items "Output", "Matte", "Original", default "Output".
void defineGlowLookView(Parameter& record);
// The View list of a look with a texture: items "Output", "Matte", "Texture", "Original".
void defineTextureLookView(Parameter& record);

// A grey texture laid over the picture that a look combines with its highlight matte.
class LookTexture {
public:
    virtual ~LookTexture() = default;
    // The texture under rect of the tile loop's block: a new one-channel image of the rect's
    // size in the render's sample size, or null when the look has no texture.
    virtual ImagePtr under(const PixelRect& rect, const fx::Plugin::RenderInfo& info) = 0;
    // texture = matte combined with texture; the matte stays as it is.
    virtual void combine(const Image& matte, Image& texture) = 0;
};

// Where a glow look keeps the records the frame reads.
struct GlowLookRecords {
    uint32_t input;
    uint32_t view;
    uint32_t glowMode;
    uint32_t glowBlend;
    uint32_t brightness;
    MatteGroup matte;
};

// A render under way in the "Output" view.
struct GlowLookRender {
    GlowLookRender(RenderArea started, double glowBrightness)
        : area(std::move(started)),
          source(viewOf(*area.source, area.rect)),
          output(viewOf(*area.output, area.rect)),
          brightness(glowBrightness) {}

    // The tile loop's block and the render rectangle within it.
    RenderArea area;
    // The render rectangle of the source and of the output; the output holds what the caller
    // gave until the look writes it.
    Image source;
    Image output;
    // The highlight matte over the rectangle, when the picture glows.
    ImagePtr matte;
    // The glow's strength as a fraction; 0 lays no glow.
    double brightness = 0.0;

    const PixelRect& rect() const { return output.bounds; }
    // Copies the rectangle of the source into the output, unless they are the same pixels.
    void copySource() { area.copySource(); }
};

// Starts a render. Nothing is left to draw (null) when the picture passes through (startRender)
// or when the "Matte" view has been drawn: the matte, in grey, whatever the brightness. With a
// texture the View list is the four-item one; the matte is combined with the texture when
// there is one, and the "Texture" view draws it in grey, or opaque black without one.
std::unique_ptr<GlowLookRender> startGlowLook(const Effect& effect, const GlowLookRecords& records,
                                              const fx::Plugin::RenderInfo& info, LookTexture* texture = nullptr);

// Lays the glow over the output: the matte (Subtle) or the output's lit pixels (Spread) blurred
// by the sizes at full image size, tinted by color, blended by Screen or ADD. Nothing when the
// brightness is 0. The light is made in the effect's own memory, which serves the tiles of one
// run: the effect outlives the run (a host keeps the plug-in loaded), so the memory is freed
// after the last tile.
void applyLookGlow(const Effect& effect, const GlowLookRecords& records, GlowLookRender& render,
                   const BlurSizes& blur, const GlowColor& color, const fx::Plugin::RenderInfo& info,
                   ScratchImage& lightMemory);

// What a glow look reads around its output: the glow spreads a matte that is blurred already,
// so the matte's reach and the glow blur's add up.
SourceMargin glowLookMargin(const Effect& effect, const MatteGroup& matte, const BlurSizes& glowBlur,
                            const fx::Plugin::RenderInfo& info);
