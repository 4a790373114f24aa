// Drives one effect through its render information: one tile of the filter run,
// or one frame of the dialog's preview.
#pragma once

#include <cstdint>

#include "fx/effect.h"
#include "fx/render_info.h"
#include "host/pixel_block.h"
#include "imaging/image.h"

class PS_RenderInfo : public fx::Plugin::RenderInfo {};

class RenderContext {
public:
    RenderContext(ChannelSet& channels, Effect* effect, bool preview);
    ~RenderContext();
    RenderContext(const RenderContext&) = delete;
    RenderContext& operator=(const RenderContext&) = delete;

    // Fills the render information for a new render and calls the effect's beginRender.
    void begin(ImageSize size, bool is16, bool preview);
    bool isActive();
    // The source rectangle the effect needs to produce rect.
    PixelRect requiredSource(const PixelRect& rect);
    // Renders one tile from source into destination. False when the effect's render failed.
    bool renderTile(PixelBlock& source, PixelBlock& destination, const PixelRect& sourceRect,
                    const PixelRect& outputRect, int32_t tileIndex, int32_t tileCount);
    // Renders the visible area viewRect (zoomed-image coordinates) of the document at zoom into
    // the preview's 8-bit destination block. False when the effect's render failed.
    bool renderPreview(const PixelRect& viewRect, double zoom, PixelBlock& destination, bool sourceOnly);
    // Releases the cached preview block and detaches the image records.
    void end();

    const PS_RenderInfo& info() const { return info_; }

private:
    void viewBlock(Image& image, PixelBlock& block);
    void detach(Image& image);

    ChannelSet& channels_;
    Effect* effect_;
    float scaleX_ = 1.0f;
    float scaleY_ = 1.0f;
    bool preview_;
    const EffectClass* effectClass_;
    PS_RenderInfo info_;
    Image output_;
    Image input_;
    PixelBlock* previewCache_ = nullptr;
    int32_t cacheZoomedWidth_ = 0;
    int32_t cacheZoomedHeight_ = 0;
    ImageSize imageSize_;
};
