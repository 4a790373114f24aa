// Scaling a window of one image onto a window of another with a chosen reconstruction filter,
// separably (across the rows, then down the columns) with integer weights worked out once per
// destination column and once per destination row. 8 and 16-bit, one and four channels.
#pragma once

#include <cstdint>
#include <memory>

#include "imaging/image.h"
#include "imaging/image_buffer.h"
#include "imaging/pixel_rect.h"
#include "imaging/scale_filters.h"

namespace fx {

class ImageScaler {
public:
    // A window of pixels with inclusive corners (x0, y0) and (x1, y1).
    struct Window {
        int32_t x0 = 0;
        int32_t y0 = 0;
        int32_t x1 = -1;
        int32_t y1 = -1;
        int32_t width() const { return x1 - x0 + 1; }
        int32_t height() const { return y1 - y0 + 1; }
    };

    // An Image read through the span interface; writing does nothing.
    class ImageReadInterface : public ImageBuffer {
    public:
        explicit ImageReadInterface(const Image& image) : image_(&image) {}
        uint32_t channels() const override { return image_->channels; }
        uint32_t bytesPerChannel() const override { return image_->bytesPerChannel; }
        void getSize(int32_t& width, int32_t& height) const override;
        void readSpan(int32_t row, int32_t column, int32_t count, void* destination) const override;
        void writeSpan(int32_t, int32_t, int32_t, const void*) override {}

    private:
        const Image* image_;
    };

    // An Image written through the span interface; reading does nothing.
    class ImageWriteInterface : public ImageBuffer {
    public:
        explicit ImageWriteInterface(Image& image) : image_(&image) {}
        uint32_t channels() const override { return image_->channels; }
        uint32_t bytesPerChannel() const override { return image_->bytesPerChannel; }
        void getSize(int32_t& width, int32_t& height) const override;
        void readSpan(int32_t, int32_t, int32_t, void*) const override {}
        void writeSpan(int32_t row, int32_t column, int32_t count, const void* source) override;

    private:
        Image* image_;
    };

    // The filter for one axis from the quality and the axis' source and destination lengths:
    // 0 or 4 "point", 1 "triangle", 2 or 3 "cubic", 5 "cubic" at equal lengths, "triangle"
    // when shrinking and "cubic" when enlarging; null for any other quality.
    static const ScaleFilter* filterFor(int quality, int32_t sourceLength, int32_t destinationLength);

    ImageScaler(const ImageBuffer& source, ImageBuffer& destination);
    ~ImageScaler();
    ImageScaler(const ImageScaler&) = delete;
    ImageScaler& operator=(const ImageScaler&) = delete;

    // Scales the source window onto the destination window. Only the part of the destination
    // window that lies inside the destination image is computed and written, and each of those
    // pixels is exactly what a destination holding the whole window would get: a window may
    // stand for a larger picture of which the destination shows one piece. The scaler keeps the
    // weights of its last call, so pieces of one window drawn one after the other share them.
    //
    // Throws std::invalid_argument when the two images differ in channels or sample size, when
    // a window is empty or the source window leaves the source image, or when the quality
    // selects no filter; allocation failure raises std::bad_alloc.
    void scale(const Window& sourceWindow, const Window& destinationWindow, int quality);

private:
    struct WeightCache;
    const ImageBuffer& source_;
    ImageBuffer& destination_;
    std::unique_ptr<WeightCache> weights_;
};

// Scales sourceRect of source onto the whole of destination.
void scaleImage(const Image& source, const PixelRect& sourceRect, Image& destination, int quality);

}  // namespace fx
