#include "imaging/image.h"

#include <cstring>

Image::Image(ImageSize size, uint32_t channelCount, uint32_t sampleBytes)
    : Image(size.width, size.height, channelCount, sampleBytes, 0, nullptr) {}

Image::Image(int32_t w, int32_t h, uint32_t channelCount, uint32_t sampleBytes, uint32_t stride,
             void* externalData) {
    assign(w, h, channelCount, sampleBytes, stride, externalData);
    if (!externalData) allocatePixels();
}

Image::~Image() { releasePixels(); }

void Image::assign(int32_t w, int32_t h, uint32_t channelCount, uint32_t sampleBytes, uint32_t stride,
                   void* externalData) {
    releasePixels();
    width = w;
    height = h;
    channels = channelCount;
    bytesPerChannel = sampleBytes;
    bytesPerPixel = channelCount * sampleBytes;
    rowBytes = stride != 0 ? stride : uint32_t(w > 0 ? w : 0) * bytesPerPixel;
    hasAlpha = channelCount == 2 || channelCount == 4;
    bounds = {0, 0, h, w};
    data = static_cast<uint8_t*>(externalData);
    ownsData = externalData == nullptr;
}

void Image::allocatePixels() {
    if (!ownsData) return;
    storage_.reset();
    data = nullptr;
    if (width >= 1 && height >= 1) {
        storage_ = allocatePixelMemory(byteCount());
        data = storage_.get();
    }
}

void Image::releasePixels() {
    storage_.reset();
    data = nullptr;
}

ImagePtr Image::clone() const {
    ImagePtr copy(new Image(width, height, channels, bytesPerChannel, rowBytes, nullptr));
    if (data && copy->data) {
        const size_t rowLength = size_t(width) * bytesPerPixel;
        if (rowBytes == rowLength) {
            std::memcpy(copy->data, data, byteCount());
        } else {
            for (int32_t y = 0; y < height; ++y)
                std::memcpy(copy->data + size_t(y) * rowBytes, data + size_t(y) * rowBytes, rowLength);
        }
    }
    return copy;
}

Image viewOf(const Image& image, const PixelRect& rect) {
    return Image(rect.width(), rect.height(), image.channels, image.bytesPerChannel, image.rowBytes,
                 image.pixelBytes(rect.left, rect.top));
}

ImagePtr ImagePtr::make(ImageSize size, uint32_t channels, uint32_t bytesPerChannel) {
    return ImagePtr(new Image(size, channels, bytesPerChannel));
}

void ImagePtr::release() {
    if (image_ && --image_->refCount == 0) delete image_;
    image_ = nullptr;
}
