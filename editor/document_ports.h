// The stand-in host's document as the plug-in sees it: one channel port per
// target channel (red, green, blue and, with transparency, its alpha), read and
// written through the channel-ports suite, with resampled reads for previews.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "editor/picture.h"
#include "sdk/pi_channel_ports.h"

namespace editor {

class DocumentPorts {
public:
    explicit DocumentPorts(Picture& picture);
    ~DocumentPorts();
    DocumentPorts(const DocumentPorts&) = delete;
    DocumentPorts& operator=(const DocumentPorts&) = delete;

    const ps::PSChannelPortsSuite1* suite() const { return &suite_; }
    ps::ReadImageDocumentDesc* documentInfo() { return &document_; }
    Picture& picture() { return picture_; }
    // What the read ports serve: the document as it was when the filter started writing, so
    // that the margins of later tiles read pixels the filter has not changed yet.
    const Picture& readablePicture() const { return original_ ? *original_ : picture_; }
    // Keeps the unfiltered document for the read ports before the first write of a run.
    void keepOriginal();
    // A new filter run reads the document as it is now.
    void startRun() { original_.reset(); }

    // Tile size and origin the document advertises on every channel.
    void setTiling(int32_t tileHeight, int32_t tileWidth);

    // Counters for tests: pixel reads, writes and scaled reads since construction.
    uint32_t reads = 0;
    uint32_t writes = 0;
    uint32_t scaledReads = 0;

    static DocumentPorts* current();
    void makeCurrent() { current_ = this; }

    struct Port {
        int channel;
        bool writable;
    };
    // The port's channel, or -1 for a port that is not one of this document's.
    int channelOf(ps::PIChannelPort port, bool forWriting) const;

private:
    Picture& picture_;
    std::optional<Picture> original_;
    ps::PSChannelPortsSuite1 suite_{};
    ps::ReadImageDocumentDesc document_{};
    std::array<ps::ReadChannelDesc, 4> channels_{};
    std::array<Port, 8> ports_{};
    static DocumentPorts* current_;
};

}  // namespace editor
