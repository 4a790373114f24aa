#include "imaging/scratch_image.h"

Image& ScratchImage::imageOf(ImageSize size, uint32_t channels, uint32_t bytesPerChannel) {
    const int32_t width = size.width > 0 ? size.width : 0;
    const int32_t height = size.height > 0 ? size.height : 0;
    const size_t rowBytes = size_t(width) * channels * bytesPerChannel;
    const size_t bytes = rowBytes * size_t(height);
    if (bytes > capacity_) {
        // The old memory goes first, so that the two are never held at once.
        release();
        storage_ = allocatePixelMemory(bytes);
        capacity_ = bytes;
    }
    view_.assign(width, height, channels, bytesPerChannel, uint32_t(rowBytes), storage_.get());
    return view_;
}

void ScratchImage::release() {
    view_.assign(0, 0, 0, 0, 0, nullptr);
    storage_.reset();
    capacity_ = 0;
}
