#include "host/render_context.h"

#include <algorithm>

#include "imaging/sample_traits.h"

RenderContext::RenderContext(ChannelSet& channels, Effect* effect, bool preview)
    : channels_(channels), effect_(effect), preview_(preview), effectClass_(effect->effectClass) {
    // The context holds its two image records itself: handles given to the effect never free them.
    output_.refCount = 1;
    input_.refCount = 1;
}

RenderContext::~RenderContext() { end(); }

void RenderContext::begin(ImageSize size, bool is16, bool preview) {
    preview_ = preview;
    imageSize_ = size;
    info_ = PS_RenderInfo();
    info_.scaleX = scaleX_;
    info_.scaleY = scaleY_;
    info_.is16 = is16;
    info_.imageWidth = size.width;
    info_.imageHeight = size.height;
    info_.tileCount = 0;
    info_.tileIndex = -1;
    info_.isPreview = preview;
    info_.outputImage = &output_;
    effectClass_->beginRender(effect_, &info_);
}

bool RenderContext::isActive() { return effectClass_->isActive(effect_, &info_); }

PixelRect RenderContext::requiredSource(const PixelRect& rect) {
    PixelRect grown = rect;
    effectClass_->requiredSource(effect_, &info_, &grown);
    return grown;
}

void RenderContext::viewBlock(Image& image, PixelBlock& block) {
    image.assign(block.width(), block.height(), PixelBlock::kSlotCount, block.bytesPerChannel, block.rowBytes,
                 block.pixels);
}

void RenderContext::detach(Image& image) { image.assign(0, 0, 0, 0, 0, nullptr); }

bool RenderContext::renderTile(PixelBlock& source, PixelBlock& destination, const PixelRect& sourceRect,
                               const PixelRect& outputRect, int32_t tileIndex, int32_t tileCount) {
    viewBlock(output_, destination);
    viewBlock(input_, source);
    info_.is16 = source.bytesPerChannel == 2;
    info_.outputImage = &output_;
    info_.renderRect = {0, 0, sourceRect.height(), sourceRect.width()};
    info_.outputRect = outputRect;
    info_.tileIndex = tileIndex;
    info_.tileCount = tileCount;
    Parameter& input = effect_->parameter(0);
    input.image = ImagePtr(&input_);
    bool rendered = true;
    try {
        effectClass_->render(effect_, &info_);
    } catch (...) {
        rendered = false;
    }
    input.image.reset();
    return rendered;
}

bool RenderContext::renderPreview(const PixelRect& viewRect, double zoom, PixelBlock& destination, bool sourceOnly) {
    imageSize_ = channels_.documentSize();
    const int32_t zoomedWidth = truncToInt(imageSize_.width * zoom);
    const int32_t zoomedHeight = truncToInt(imageSize_.height * zoom);
    scaleX_ = scaleY_ = float(zoom);

    // Clip the view to the zoomed image; a view starting above or left of it skips that much of the destination.
    const int32_t skipV = std::max(0, -viewRect.top);
    const int32_t skipH = std::max(0, -viewRect.left);
    PixelRect area = {std::max(viewRect.top, 0), std::max(viewRect.left, 0), viewRect.bottom, viewRect.right};
    area.bottom = std::min({area.bottom, zoomedHeight, area.top + destination.height() - skipV});
    area.right = std::min({area.right, zoomedWidth, area.left + destination.width() - skipH});
    if (area.isEmpty()) return true;
    const ImageSize documentSize = imageSize_;

    if (area == PixelRect{0, 0, zoomedHeight, zoomedWidth}) {
        if (previewCache_ && (previewCache_->width() != destination.width() ||
                              previewCache_->height() != destination.height())) {
            channels_.releaseBlock(previewCache_);
            previewCache_ = nullptr;
        }
        bool fresh = false;
        if (!previewCache_) {
            try {
                previewCache_ = channels_.makeBlock(destination.rect, PixelBlock::kSlotCount,
                                                    destination.bytesPerChannel, destination.imageMode);
            } catch (...) {
                destination.clear();
                return false;
            }
            fresh = true;
        }
        if (fresh || zoomedWidth != cacheZoomedWidth_ || zoomedHeight != cacheZoomedHeight_) {
            ps::PSScaling scaling{{0, 0, documentSize.height, documentSize.width}, {0, 0, zoomedHeight, zoomedWidth}};
            channels_.readScaled(*previewCache_, scaling);
            cacheZoomedWidth_ = zoomedWidth;
            cacheZoomedHeight_ = zoomedHeight;
        }
        begin(documentSize, false, true);
        if (!isActive()) {
            destination.copyFrom(*previewCache_);
            return true;
        }
        if (!renderTile(*previewCache_, destination, previewCache_->rect, viewRect, 0, 1)) {
            destination.clear();
            return false;
        }
        return true;
    }

    begin(documentSize, false, true);
    PixelRect grown = area;
    if (!sourceOnly) grown = requiredSource(area).intersected({0, 0, zoomedHeight, zoomedWidth});
    BlockGuard source(channels_, channels_.makeBlock(grown, PixelBlock::kSlotCount, destination.bytesPerChannel,
                                                     destination.imageMode));
    BlockGuard rendered(channels_, channels_.makeBlock(grown, PixelBlock::kSlotCount, destination.bytesPerChannel,
                                                       destination.imageMode));
    const PixelRect documentArea = {truncToInt(grown.top / zoom), truncToInt(grown.left / zoom),
                                    truncToInt(grown.bottom / zoom), truncToInt(grown.right / zoom)};
    ps::PSScaling scaling{{documentArea.top, documentArea.left, documentArea.bottom, documentArea.right},
                          {0, 0, grown.height(), grown.width()}};
    channels_.readScaled(*source, scaling);
    rendered->copyFrom(*source);

    bool succeeded = true;
    if (!sourceOnly && isActive()) {
        succeeded = renderTile(*source, *rendered, grown, viewRect, 0, 1);
        if (!succeeded) destination.clear();
    } else {
        rendered->copyFrom(*source);
    }
    if (succeeded)
        destination.copyRect(*rendered, {skipV, skipH, skipV + area.height(), skipH + area.width()},
                             area.top - grown.top, area.left - grown.left);
    return succeeded;
}

void RenderContext::end() {
    if (previewCache_) {
        channels_.releaseBlock(previewCache_);
        previewCache_ = nullptr;
    }
    detach(output_);
    detach(input_);
}
