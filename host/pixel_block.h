// Pixel blocks in host memory and the channel set that moves pixels between the
// document and the blocks through the host's channel ports. Blocks hold the
// document's own samples (8-bit, or 16-bit at the host's 0..32768 scale),
// interleaved in document channel order, always four slots wide.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"
#include "sdk/pi_channel_ports.h"
#include "sdk/pi_filter.h"

class ChannelSet;

// The host's pixel-memory descriptor of one channel, plus the channel type.
struct ChannelSlot {
    ps::PixelMemoryDesc memory{};
    int16_t channelType = 0;
};

struct PixelBlock {
    static constexpr uint32_t kSlotCount = 4;

    ChannelSet* owner = nullptr;
    PixelRect rect;
    std::array<ChannelSlot, kSlotCount> channels{};
    uint32_t bytesPerChannel = 0;
    uint32_t rowBytes = 0;
    uint32_t bytesPerPixel = 0;
    uint16_t imageMode = 0;
    uint8_t* pixels = nullptr;

    int32_t width() const { return rect.width(); }
    int32_t height() const { return rect.height(); }
    size_t byteCount() const { return size_t(rowBytes) * size_t(rect.height()); }

    void clear();
    // Copies all pixels and the channel types of a block of the same size.
    void copyFrom(const PixelBlock& other);
    // Copies the rows of rect (this block's coordinates) from other, starting at offset in other.
    void copyRect(const PixelBlock& other, const PixelRect& rect, int32_t offsetV, int32_t offsetH);
};

class ChannelSet {
public:
    explicit ChannelSet(ps::FilterRecord* record);

    uint32_t count() const { return count_; }
    // The document's size in pixels, from the filter record (its 32-bit form when the host has one).
    ImageSize documentSize() const;
    size_t bytesHeld() const { return bytesHeld_; }

    // A zero-filled block from the host's buffer suite. Raises SuiteError when the suite is
    // missing and HostError(-108) when the host gives no memory.
    PixelBlock* makeBlock(const PixelRect& rect, uint32_t channels, uint32_t bytesPerChannel, uint16_t imageMode);
    void releaseBlock(PixelBlock* block);

    // Reads rect (document coordinates) into the block, its top-left pixel at the block's first.
    void read(PixelBlock& block, const PixelRect& rect);
    // Writes rect (document coordinates) from the block, starting at offset inside it.
    void write(PixelBlock& block, const PixelRect& rect, int32_t offsetV, int32_t offsetH);
    // Reads scaling.sourceRect of the document resampled by the host into scaling.destinationRect of the block.
    void readScaled(PixelBlock& block, const ps::PSScaling& scaling);

private:
    const ps::ReadChannelDesc* channel(uint32_t index) const;
    ps::FilterRecord* record_;
    const ps::ReadChannelDesc* first_ = nullptr;
    uint32_t count_ = 0;
    size_t bytesHeld_ = 0;
};

// A block released through its channel set when the guard ends.
class BlockGuard {
public:
    BlockGuard(ChannelSet& set, PixelBlock* block) : set_(set), block_(block) {}
    ~BlockGuard() {
        if (block_) set_.releaseBlock(block_);
    }
    BlockGuard(const BlockGuard&) = delete;
    BlockGuard& operator=(const BlockGuard&) = delete;
    PixelBlock* get() const { return block_; }
    PixelBlock* operator->() const { return block_; }
    PixelBlock& operator*() const { return *block_; }
    explicit operator bool() const { return block_ != nullptr; }

private:
    ChannelSet& set_;
    PixelBlock* block_;
};
