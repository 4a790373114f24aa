#include "editor/document_ports.h"

#include <algorithm>
#include <cstring>

namespace editor {

DocumentPorts* DocumentPorts::current_ = nullptr;

namespace {

const char* const kChannelNames[] = {"Red", "Green", "Blue", "Transparency"};
const ps::int16 kChannelTypes[] = {ps::ctRed, ps::ctGreen, ps::ctBlue, ps::ctTransparency};

// The pixel descriptor layouts this host supports: whole bytes, samples of the document's depth
// (or, for scaled reads, 8 or 16 bits).
bool usableDescriptor(const ps::PixelMemoryDesc* desc) {
    return desc && desc->data && desc->bitOffset == 0 && desc->rowBits % 8 == 0 && desc->colBits % 8 == 0 &&
           desc->rowBits >= 0 && desc->colBits > 0 && (desc->depth == 8 || desc->depth == 16);
}

uint8_t* sampleAddress(const ps::PixelMemoryDesc* desc, int32_t row, int32_t column) {
    return static_cast<uint8_t*>(desc->data) + size_t(row) * size_t(desc->rowBits / 8) +
           size_t(column) * size_t(desc->colBits / 8);
}

uint32_t readSample(const Picture& picture, int32_t x, int32_t y, int channel) {
    const size_t index = (size_t(y) * size_t(picture.width) + size_t(x)) * size_t(picture.channels) + size_t(channel);
    return picture.depth == 16 ? picture.samples16()[index] : picture.data[index];
}

void storeSample(const ps::PixelMemoryDesc* desc, int32_t row, int32_t column, uint32_t value) {
    uint8_t* at = sampleAddress(desc, row, column);
    if (desc->depth == 16) {
        const uint16_t sample = uint16_t(value);
        std::memcpy(at, &sample, 2);
    } else {
        *at = uint8_t(value);
    }
}

uint32_t loadSample(const ps::PixelMemoryDesc* desc, int32_t row, int32_t column) {
    const uint8_t* at = sampleAddress(desc, row, column);
    if (desc->depth == 16) {
        uint16_t sample;
        std::memcpy(&sample, at, 2);
        return sample;
    }
    return *at;
}

// Converts a level between the document's depth and a descriptor's depth.
uint32_t convertLevel(uint32_t value, int fromDepth, int toDepth) {
    if (fromDepth == toDepth) return value;
    return toDepth == 8 ? narrow16To8(uint16_t(value)) : widen8To16(uint8_t(value));
}

bool clipToPicture(const Picture& picture, ps::VRect& rect) {
    rect.top = std::max(rect.top, 0);
    rect.left = std::max(rect.left, 0);
    rect.bottom = std::min(rect.bottom, picture.height);
    rect.right = std::min(rect.right, picture.width);
    return rect.bottom > rect.top && rect.right > rect.left;
}

ps::SPErr readPixels(ps::PIChannelPort port, ps::int32 level, ps::VRect* bounds, const ps::PixelMemoryDesc* desc) {
    DocumentPorts* document = DocumentPorts::current();
    const int channel = document ? document->channelOf(port, false) : -1;
    if (channel < 0 || !bounds) return ps::errUnknownPort;
    if (level != 0) return ps::paramErr;
    if (!usableDescriptor(desc)) return ps::errUnsupportedColBits;
    const Picture& picture = document->readablePicture();
    if (desc->depth != picture.depth) return ps::errUnsupportedDepth;
    const ps::VRect wanted = *bounds;
    if (!clipToPicture(picture, *bounds)) return ps::noErr;
    for (int32_t y = bounds->top; y < bounds->bottom; ++y)
        for (int32_t x = bounds->left; x < bounds->right; ++x)
            storeSample(desc, y - wanted.top, x - wanted.left, readSample(picture, x, y, channel));
    ++document->reads;
    return ps::noErr;
}

ps::SPErr writePixels(ps::PIChannelPort port, ps::VRect* bounds, const ps::PixelMemoryDesc* desc) {
    DocumentPorts* document = DocumentPorts::current();
    const int channel = document ? document->channelOf(port, true) : -1;
    if (channel < 0 || !bounds) return ps::errUnknownPort;
    if (!usableDescriptor(desc)) return ps::errUnsupportedColBits;
    document->keepOriginal();
    Picture& picture = document->picture();
    if (desc->depth != picture.depth) return ps::errUnsupportedDepth;
    const ps::VRect wanted = *bounds;
    if (!clipToPicture(picture, *bounds)) return ps::noErr;
    for (int32_t y = bounds->top; y < bounds->bottom; ++y)
        for (int32_t x = bounds->left; x < bounds->right; ++x) {
            const size_t index =
                (size_t(y) * size_t(picture.width) + size_t(x)) * size_t(picture.channels) + size_t(channel);
            const uint32_t value = loadSample(desc, y - wanted.top, x - wanted.left);
            if (picture.depth == 16)
                picture.samples16()[index] = uint16_t(std::min<uint32_t>(value, kHostFullScale16));
            else
                picture.data[index] = uint8_t(value);
        }
    ++document->writes;
    return ps::noErr;
}

// Resamples scaling.sourceRect of the channel to the extent of scaling.destinationRect, writing
// the destination's top-left pixel at the descriptor's first pixel. Each destination pixel is
// the mean of the source pixels under it (a box filter; when enlarging, the nearest pixel).
ps::SPErr readScaledPixels(ps::PIChannelPort port, ps::VRect* readRect, const ps::PSScaling* scaling,
                           const ps::PixelMemoryDesc* desc) {
    DocumentPorts* document = DocumentPorts::current();
    const int channel = document ? document->channelOf(port, false) : -1;
    if (channel < 0 || !scaling) return ps::errUnknownPort;
    if (!usableDescriptor(desc)) return ps::errUnsupportedColBits;
    const Picture& picture = document->readablePicture();
    ps::VRect source = scaling->sourceRect;
    const int64_t destinationHeight = int64_t(scaling->destinationRect.bottom) - scaling->destinationRect.top;
    const int64_t destinationWidth = int64_t(scaling->destinationRect.right) - scaling->destinationRect.left;
    if (!clipToPicture(picture, source) || destinationHeight <= 0 || destinationWidth <= 0) return ps::noErr;
    const int64_t sourceHeight = source.bottom - source.top;
    const int64_t sourceWidth = source.right - source.left;
    for (int64_t dy = 0; dy < destinationHeight; ++dy) {
        const int32_t y0 = source.top + int32_t(dy * sourceHeight / destinationHeight);
        const int32_t y1 = std::max(y0 + 1, source.top + int32_t((dy + 1) * sourceHeight / destinationHeight));
        for (int64_t dx = 0; dx < destinationWidth; ++dx) {
            const int32_t x0 = source.left + int32_t(dx * sourceWidth / destinationWidth);
            const int32_t x1 = std::max(x0 + 1, source.left + int32_t((dx + 1) * sourceWidth / destinationWidth));
            uint64_t sum = 0;
            for (int32_t y = y0; y < y1; ++y)
                for (int32_t x = x0; x < x1; ++x) sum += readSample(picture, x, y, channel);
            const uint64_t count = uint64_t(y1 - y0) * uint64_t(x1 - x0);
            const uint32_t mean = uint32_t((sum + count / 2) / count);
            storeSample(desc, int32_t(dy), int32_t(dx), convertLevel(mean, picture.depth, desc->depth));
        }
    }
    if (readRect) *readRect = source;
    ++document->scaledReads;
    return ps::noErr;
}

ps::SPErr countLevels(ps::PIChannelPort port, ps::int32* count) {
    DocumentPorts* document = DocumentPorts::current();
    if (!document || document->channelOf(port, false) < 0 || !count) return ps::errUnknownPort;
    *count = 1;
    return ps::noErr;
}

ps::SPErr getDepth(ps::PIChannelPort port, ps::int32, ps::int32* depth) {
    DocumentPorts* document = DocumentPorts::current();
    if (!document || document->channelOf(port, false) < 0 || !depth) return ps::errUnknownPort;
    *depth = document->picture().depth;
    return ps::noErr;
}

ps::SPErr getDataBounds(ps::PIChannelPort port, ps::int32, ps::VRect* bounds) {
    DocumentPorts* document = DocumentPorts::current();
    if (!document || document->channelOf(port, false) < 0 || !bounds) return ps::errUnknownPort;
    *bounds = {0, 0, document->picture().height, document->picture().width};
    return ps::noErr;
}

}  // namespace

DocumentPorts::DocumentPorts(Picture& picture) : picture_(picture) {
    suite_.CountLevels = countLevels;
    suite_.GetDepth = getDepth;
    suite_.GetDataBounds = getDataBounds;
    suite_.ReadPixelsFromLevel = readPixels;
    suite_.WritePixelsToBaseLevel = writePixels;
    suite_.ReadScaledPixels = readScaledPixels;

    document_.minVersion = 0;
    document_.maxVersion = 1;
    document_.imageMode = picture.depth == 16 ? ps::plugInModeRGB48 : ps::plugInModeRGBColor;
    document_.depth = picture.depth;
    document_.bounds = {0, 0, picture.height, picture.width};
    document_.hResolution = document_.vResolution = 72 << 16;
    const int count = std::min(picture.channels, 4);
    for (int c = 0; c < count; ++c) {
        ports_[size_t(2 * c)] = {c, false};
        ports_[size_t(2 * c + 1)] = {c, true};
        ps::ReadChannelDesc& desc = channels_[size_t(c)];
        desc.minVersion = 0;
        desc.maxVersion = 1;
        desc.next = c + 1 < count ? &channels_[size_t(c + 1)] : nullptr;
        desc.port = reinterpret_cast<ps::PIChannelPort>(&ports_[size_t(2 * c)]);
        desc.writePort = reinterpret_cast<ps::PIChannelPort>(&ports_[size_t(2 * c + 1)]);
        desc.bounds = document_.bounds;
        desc.depth = picture.depth;
        desc.target = 1;
        desc.shown = 1;
        desc.channelType = kChannelTypes[c];
        desc.name = kChannelNames[c];
    }
    document_.targetCompositeChannels = count > 0 ? &channels_[0] : nullptr;
    document_.compositeChannelCount = count;
    current_ = this;
}

DocumentPorts::~DocumentPorts() {
    if (current_ == this) current_ = nullptr;
}

DocumentPorts* DocumentPorts::current() { return current_; }

void DocumentPorts::setTiling(int32_t tileHeight, int32_t tileWidth) {
    for (ps::ReadChannelDesc& desc : channels_) desc.tileSize = {tileHeight, tileWidth};
}

void DocumentPorts::keepOriginal() {
    if (!original_) original_ = picture_;
}

int DocumentPorts::channelOf(ps::PIChannelPort port, bool forWriting) const {
    for (const Port& candidate : ports_)
        if (reinterpret_cast<const void*>(&candidate) == static_cast<const void*>(port) &&
            candidate.writable == forWriting && candidate.channel < std::min(picture_.channels, 4))
            return candidate.channel;
    return -1;
}

}  // namespace editor
