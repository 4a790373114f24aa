#include "host/pixel_block.h"

#include <cstring>
#include <memory>

#include "host/host_errors.h"
#include "host/host_resources.h"

namespace {

ps::VRect toVRect(const PixelRect& rect) { return {rect.top, rect.left, rect.bottom, rect.right}; }

}  // namespace

void PixelBlock::clear() {
    if (pixels) std::memset(pixels, 0, size_t(width()) * size_t(height()) * bytesPerChannel * kSlotCount);
}

void PixelBlock::copyFrom(const PixelBlock& other) {
    std::memcpy(pixels, other.pixels, byteCount());
    for (uint32_t i = 0; i < kSlotCount; ++i) channels[i].channelType = other.channels[i].channelType;
}

void PixelBlock::copyRect(const PixelBlock& other, const PixelRect& area, int32_t offsetV, int32_t offsetH) {
    if (area.isEmpty()) return;
    const size_t length = size_t(area.width()) * bytesPerPixel;
    for (int32_t y = area.top; y < area.bottom; ++y)
        std::memcpy(pixels + size_t(y) * rowBytes + size_t(area.left) * bytesPerPixel,
                    other.pixels + size_t(y - area.top + offsetV) * other.rowBytes + size_t(offsetH) * other.bytesPerPixel,
                    length);
    for (uint32_t i = 0; i < kSlotCount; ++i) channels[i].channelType = other.channels[i].channelType;
}

ChannelSet::ChannelSet(ps::FilterRecord* record) : record_(record) {
    const ps::ReadImageDocumentDesc* document = record ? record->documentInfo : nullptr;
    if (!document) return;
    first_ = document->targetCompositeChannels ? document->targetCompositeChannels : document->alphaChannels;
    for (const ps::ReadChannelDesc* c = first_; c; c = c->next) ++count_;
}

ImageSize ChannelSet::documentSize() const {
    if (!record_) return {};
    if (const ps::BigDocumentStruct* big = record_->bigDocumentData) return {big->imageSize32.h, big->imageSize32.v};
    return {record_->imageSize.h, record_->imageSize.v};
}

const ps::ReadChannelDesc* ChannelSet::channel(uint32_t index) const {
    const ps::ReadChannelDesc* c = first_;
    while (c && index-- > 0) c = c->next;
    return c;
}

PixelBlock* ChannelSet::makeBlock(const PixelRect& rect, uint32_t, uint32_t bytesPerChannel, uint16_t imageMode) {
    // Every block is four slots wide, whatever the channel count asked for.
    const uint32_t channelCount = PixelBlock::kSlotCount;
    AcquiredSuite<ps::PSBufferSuite1> buffers(record_ ? record_->sSPBasic : nullptr, ps::kPSBufferSuite,
                                              ps::kPSBufferSuiteVersion1);
    const ps::PSBufferSuite1& suite = buffers.required();

    auto block = std::make_unique<PixelBlock>();
    block->owner = this;
    block->rect = {0, 0, rect.height(), rect.width()};
    block->bytesPerChannel = bytesPerChannel;
    block->bytesPerPixel = channelCount * bytesPerChannel;
    block->rowBytes = uint32_t(rect.width()) * block->bytesPerPixel;
    block->imageMode = imageMode;
    const uint64_t size = uint64_t(block->rowBytes) * uint64_t(rect.height());
    if (rect.isEmpty() || size > 0xFFFFFFFFu) throw HostError{result_code::kMemoryFull};
    ps::unsigned32 granted = ps::unsigned32(size);
    ps::Ptr memory = suite.New(&granted, 0);
    if (!memory) throw HostError{result_code::kMemoryFull};
    block->pixels = reinterpret_cast<uint8_t*>(memory);
    std::memset(block->pixels, 0, size_t(size));
    for (uint32_t i = 0; i < channelCount; ++i) {
        ps::PixelMemoryDesc& slot = block->channels[i].memory;
        slot.data = block->pixels + i * bytesPerChannel;
        slot.rowBits = ps::int32(block->rowBytes * 8);
        slot.colBits = ps::int32(block->bytesPerPixel * 8);
        slot.bitOffset = 0;
        slot.depth = ps::int32(bytesPerChannel * 8);
    }
    bytesHeld_ += size_t(size);
    return block.release();
}

void ChannelSet::releaseBlock(PixelBlock* block) {
    if (!block) return;
    std::unique_ptr<PixelBlock> owned(block);
    bytesHeld_ -= block->byteCount();
    AcquiredSuite<ps::PSBufferSuite1> buffers(record_ ? record_->sSPBasic : nullptr, ps::kPSBufferSuite,
                                              ps::kPSBufferSuiteVersion1);
    if (buffers && block->pixels) {
        ps::Ptr memory = reinterpret_cast<ps::Ptr>(block->pixels);
        buffers->Dispose(&memory);
    }
}

void ChannelSet::read(PixelBlock& block, const PixelRect& rect) {
    AcquiredSuite<ps::PSChannelPortsSuite1> ports(record_->sSPBasic, ps::kPSChannelPortsSuite,
                                                  ps::kPSChannelPortsSuiteVersion2);
    const ps::PSChannelPortsSuite1& suite = ports.required();
    for (uint32_t i = 0; i < count_ && i < PixelBlock::kSlotCount; ++i) {
        const ps::ReadChannelDesc* c = channel(i);
        block.channels[i].channelType = c->channelType;
        ps::VRect bounds = toVRect(rect);
        const ps::SPErr error = suite.ReadPixelsFromLevel(c->port, 0, &bounds, &block.channels[i].memory);
        checkSuiteCall(error);
    }
}

void ChannelSet::write(PixelBlock& block, const PixelRect& rect, int32_t offsetV, int32_t offsetH) {
    AcquiredSuite<ps::PSChannelPortsSuite1> ports(record_->sSPBasic, ps::kPSChannelPortsSuite,
                                                  ps::kPSChannelPortsSuiteVersion2);
    const ps::PSChannelPortsSuite1& suite = ports.required();
    const size_t offset = size_t(offsetV) * block.rowBytes + size_t(offsetH) * block.bytesPerPixel;
    for (uint32_t i = 0; i < count_ && i < PixelBlock::kSlotCount; ++i) {
        const ps::ReadChannelDesc* c = channel(i);
        ps::PixelMemoryDesc source = block.channels[i].memory;
        source.data = static_cast<uint8_t*>(source.data) + offset;
        ps::VRect bounds = toVRect(rect);
        const ps::SPErr error = suite.WritePixelsToBaseLevel(c->writePort, &bounds, &source);
        checkSuiteCall(error);
    }
}

void ChannelSet::readScaled(PixelBlock& block, const ps::PSScaling& scaling) {
    const ps::VRect& destination = scaling.destinationRect;
    if (block.rect.height() != destination.bottom - destination.top ||
        block.rect.width() != destination.right - destination.left)
        block.clear();
    AcquiredSuite<ps::PSChannelPortsSuite1> ports(record_->sSPBasic, ps::kPSChannelPortsSuite,
                                                  ps::kPSChannelPortsSuiteVersion2);
    const ps::PSChannelPortsSuite1& suite = ports.required();
    for (uint32_t i = 0; i < count_ && i < PixelBlock::kSlotCount; ++i) {
        const ps::ReadChannelDesc* c = channel(i);
        block.channels[i].channelType = c->channelType;
        ps::VRect readRect = scaling.sourceRect;
        const ps::SPErr error = suite.ReadScaledPixels(c->port, &readRect, &scaling, &block.channels[i].memory);
        checkSuiteCall(error);
    }
}
