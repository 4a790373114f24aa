// The pixel record shared by all imaging code, and its counting handle.
//
// An Image holds 1 or 4 interleaved channels (2 is accepted) of 8-bit or 16-bit
// samples. It either owns its pixel memory or views memory owned elsewhere
// (a host buffer, a row of a larger image). ImagePtr counts the handles that hold
// a record; the last one frees the record and, if owned, its pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "imaging/pixel_memory.h"
#include "imaging/pixel_rect.h"

class ImagePtr;

struct ImageSize {
    int32_t width = 0;
    int32_t height = 0;
};

struct Image {
    uint8_t* data = nullptr;
    uint32_t refCount = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t channels = 0;
    uint32_t bytesPerChannel = 0;
    uint32_t bytesPerPixel = 0;
    uint32_t rowBytes = 0;
    bool hasAlpha = false;
    bool ownsData = false;
    PixelRect bounds;

    Image() = default;
    // Allocates rowBytes x height bytes (not cleared) when both dimensions are at least 1.
    Image(ImageSize size, uint32_t channels, uint32_t bytesPerChannel);
    // With externalData the record views that memory; rowBytes 0 means width x bytesPerPixel.
    Image(int32_t width, int32_t height, uint32_t channels, uint32_t bytesPerChannel, uint32_t rowBytes,
          void* externalData);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Rewrites the header. With externalData the record views it; with null the caller allocates
    // (allocatePixels) and the record owns the memory.
    void assign(int32_t width, int32_t height, uint32_t channels, uint32_t bytesPerChannel, uint32_t rowBytes,
                void* externalData);
    // Allocates owned pixel memory for the current header (rowBytes x height bytes).
    void allocatePixels();
    // A new record with its own copy of the pixels and the same row bytes.
    ImagePtr clone() const;

    bool is16() const { return bytesPerChannel == 2; }
    size_t byteCount() const { return size_t(rowBytes) * size_t(height > 0 ? height : 0); }

    template <class Sample>
    Sample* row(int32_t y) {
        return reinterpret_cast<Sample*>(data + size_t(y) * rowBytes);
    }
    template <class Sample>
    const Sample* row(int32_t y) const {
        return reinterpret_cast<const Sample*>(data + size_t(y) * rowBytes);
    }
    // The samples of pixel (x, y): the row's samples from column x on.
    template <class Sample>
    Sample* pixel(int32_t x, int32_t y) {
        return row<Sample>(y) + size_t(x) * channels;
    }
    template <class Sample>
    const Sample* pixel(int32_t x, int32_t y) const {
        return row<Sample>(y) + size_t(x) * channels;
    }
    // The first byte of pixel (x, y), whatever the sample size.
    uint8_t* pixelBytes(int32_t x, int32_t y) const {
        return data + size_t(y) * rowBytes + size_t(x) * bytesPerPixel;
    }

private:
    void releasePixels();
    PixelMemory storage_;
};

// A record viewing the pixels of rect of image (no copy): its pixel (0, 0) is the image's
// (rect.left, rect.top), its bounds are the rect's size. rect must lie within the image.
Image viewOf(const Image& image, const PixelRect& rect);

class ImagePtr {
public:
    ImagePtr() = default;
    explicit ImagePtr(Image* image) : image_(image) { retain(); }
    ImagePtr(const ImagePtr& other) : image_(other.image_) { retain(); }
    ImagePtr(ImagePtr&& other) noexcept : image_(other.image_) { other.image_ = nullptr; }
    ImagePtr& operator=(ImagePtr other) noexcept {
        std::swap(image_, other.image_);
        return *this;
    }
    ~ImagePtr() { release(); }

    // A new owning record of the given size.
    static ImagePtr make(ImageSize size, uint32_t channels, uint32_t bytesPerChannel);

    Image* get() const { return image_; }
    Image* operator->() const { return image_; }
    Image& operator*() const { return *image_; }
    explicit operator bool() const { return image_ != nullptr; }
    void reset() { release(); }

private:
    void retain() {
        if (image_) ++image_->refCount;
    }
    void release();
    Image* image_ = nullptr;
};
