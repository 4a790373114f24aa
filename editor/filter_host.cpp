#include "editor/filter_host.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "editor/device_display.h"
#include "paramblock/parameter_block.h"
#include "sdk/pi_actions.h"
#include "sdk/pi_channel_ports.h"

namespace editor {

FilterHost* FilterHost::current_ = nullptr;

namespace {

FilterHost& host() { return *FilterHost::current(); }

ps::SPErr acquireSuite(const char* name, ps::int32 version, const void** suite) {
    return host().acquire(name, version, suite);
}
ps::SPErr releaseSuite(const char* name, ps::int32 version) { return host().release(name, version); }
ps::SPBoolean isEqual(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }
ps::SPErr allocateBlock(size_t size, void** block) {
    if (!block) return ps::kSPBadParameterError;
    *block = std::malloc(size ? size : 1);
    return *block ? ps::kSPNoError : ps::kSPOutOfMemoryError;
}
ps::SPErr freeBlock(void* block) {
    std::free(block);
    return ps::kSPNoError;
}
ps::SPErr reallocateBlock(void* block, size_t size, void** result) {
    if (!result) return ps::kSPBadParameterError;
    void* grown = std::realloc(block, size ? size : 1);
    if (!grown) return ps::kSPOutOfMemoryError;
    *result = grown;
    return ps::kSPNoError;
}
ps::SPErr undefinedCall() { return ps::kSPUnimplementedError; }

ps::Ptr newBuffer(ps::unsigned32* size, ps::unsigned32 minimum) { return host().newBuffer(size, minimum); }
void disposeBuffer(ps::Ptr* buffer) { host().disposeBuffer(buffer); }
ps::unsigned32 bufferSize(ps::Ptr buffer) { return host().bufferSize(buffer); }
ps::unsigned32 bufferSpace() { return 0x40000000u; }

ps::SPErr pluginFileSpecification(ps::SPPluginRef, ps::SPPlatformFileSpecification* fileSpec) {
    if (!fileSpec) return ps::kSPBadParameterError;
    const std::string& path = host().pluginPath();
    // A path that does not fit the 300-byte path buffer is refused, never cut.
    if (path.size() >= sizeof fileSpec->path) return ps::kSPBadParameterError;
    std::memset(fileSpec->path, 0, sizeof fileSpec->path);
    std::memcpy(fileSpec->path, path.data(), path.size());
    return ps::kSPNoError;
}

ps::Boolean testAbort() { return host().testAbort() ? 1 : 0; }
void reportProgress(ps::int32 done, ps::int32 total) { host().reportProgress(done, total); }
// Draws 8-bit RGB or grey pixels into a dialog drawer (the platform context this host hands
// out) or, on Windows, into a device context (what the plug-in's own dialog manager hands
// out), clipped to either. Anything else is refused, as a real host does with a map it
// cannot show.
ps::OSErr displayPixels(const ps::PSPixelMap* source, const ps::VRect* srcRect, ps::int32 dstRow, ps::int32 dstCol,
                        void* platformContext) {
    if (!platformContext || !source || !srcRect || !source->baseAddr) return ps::paramErr;
    const bool rgb = source->imageMode == ps::plugInModeRGBColor;
    if (!rgb && source->imageMode != ps::plugInModeGrayScale) return ps::paramErr;
    if (source->depth != 0 && source->depth != 8) return ps::paramErr;
    const ps::VRect& b = source->bounds;
    const ps::int32 top = std::max(srcRect->top, b.top), bottom = std::min(srcRect->bottom, b.bottom);
    const ps::int32 left = std::max(srcRect->left, b.left), right = std::min(srcRect->right, b.right);
    if (top >= bottom || left >= right) return ps::noErr;
    // The shown area as opaque RGBA rows.
    DevicePixels pixels{right - left, bottom - top, dstRow + (top - srcRect->top), dstCol + (left - srcRect->left), {}};
    pixels.rgba.resize(size_t(pixels.width) * size_t(pixels.height) * 4);
    const auto* base = static_cast<const uint8_t*>(source->baseAddr);
    uint8_t* out = pixels.rgba.data();
    for (ps::int32 y = top; y < bottom; ++y)
        for (ps::int32 x = left; x < right; ++x, out += 4) {
            const uint8_t* p = base + ptrdiff_t(y - b.top) * source->rowBytes + ptrdiff_t(x - b.left) * source->colBytes;
            for (int c = 0; c < 3; ++c) out[c] = rgb ? p[ptrdiff_t(c) * source->planeBytes] : p[0];
            out[3] = 255;
        }
    DialogCanvas* canvas = host().dialogs().canvas(platformContext);
    if (!canvas) return displayOnDevice(pixels, platformContext) ? ps::noErr : ps::paramErr;
    for (ps::int32 y = 0; y < pixels.height; ++y) {
        const ps::int32 cy = pixels.row + y;
        if (cy < 0 || cy >= canvas->height()) continue;
        for (ps::int32 x = 0; x < pixels.width; ++x) {
            const ps::int32 cx = pixels.column + x;
            if (cx < 0 || cx >= canvas->width()) continue;
            std::copy_n(pixels.rgba.begin() + (size_t(y) * size_t(pixels.width) + size_t(x)) * 4, 4,
                        canvas->rgba().begin() + (size_t(cy) * size_t(canvas->width()) + size_t(cx)) * 4);
        }
    }
    return ps::noErr;
}

// The suites this host offers, by name and version.
struct OfferedSuite {
    const char* name;
    int32_t version;
};
const OfferedSuite kOfferedSuites[] = {
    {ps::kSPBasicSuite, ps::kSPBasicSuiteVersion},
    {ps::kPSBufferSuite, ps::kPSBufferSuiteVersion1},
    {ps::kPSChannelPortsSuite, ps::kPSChannelPortsSuiteVersion2},
    {ps::kSPPluginsSuite, ps::kSPPluginsSuiteVersion4},
    {ps::kPSDescriptorRegistrySuite, ps::kPSDescriptorRegistrySuiteVersion},
    {ps::kPSActionDescriptorSuite, ps::kPSActionDescriptorSuiteVersion},
};

}  // namespace

FilterHost::FilterHost(Picture& picture, HostOptions options)
    : picture_(picture), options_(std::move(options)), descriptors_(handles_), ports_(picture_),
      record_(std::make_unique<ps::FilterRecord>()) {
    current_ = this;
    handles_.failAllocation(options_.faults.failHandleAllocation);

    basic_.AcquireSuite = acquireSuite;
    basic_.ReleaseSuite = releaseSuite;
    basic_.IsEqual = isEqual;
    basic_.AllocateBlock = allocateBlock;
    basic_.FreeBlock = freeBlock;
    basic_.ReallocateBlock = reallocateBlock;
    basic_.Undefined = undefinedCall;
    buffers_.New = editor::newBuffer;
    buffers_.Dispose = editor::disposeBuffer;
    buffers_.GetSize = editor::bufferSize;
    buffers_.GetSpace = bufferSpace;
    plugins_.GetPluginFileSpecification = pluginFileSpecification;

    ps::FilterRecord& r = *record_;
    std::memset(&r, 0, sizeof r);
    const bool withoutBasic = options_.faults.withheldSuites.count(ps::kSPBasicSuite) != 0;
    r.abortProc = editor::testAbort;
    r.progressProc = editor::reportProgress;
    r.parameters = nullptr;
    r.imageSize = {ps::int16(std::min(picture_.height, 32767)), ps::int16(std::min(picture_.width, 32767))};
    r.planes = ps::int16(picture_.channels);
    std::array<int32_t, 4> filter = options_.filterRect.value_or(std::array<int32_t, 4>{0, 0, picture_.height, picture_.width});
    r.filterRect = {ps::int16(std::min(filter[0], 32767)), ps::int16(std::min(filter[1], 32767)),
                    ps::int16(std::min(filter[2], 32767)), ps::int16(std::min(filter[3], 32767))};
    r.maxSpace = 0x40000000;
    r.autoMask = 1;
    r.hostSig = ps::kPhotoshopSignature;
    r.imageMode = picture_.depth == 16 ? ps::plugInModeRGB48 : ps::plugInModeRGBColor;
    r.imageHRes = r.imageVRes = 72 << 16;
    r.wholeSize = r.imageSize;
    r.platformData = &platform_;
    r.displayPixels = displayPixels;
    r.handleProcs = handles_.procs();
    r.filterCase = ps::int16(picture_.hasAlpha() ? 4 : 1);
    r.dummyPlaneValue = -1;
    r.inputRate = r.maskRate = 1 << 16;
    r.outTileHeight = r.inTileHeight = ps::int16(std::clamp(options_.tileHeight, 0, 32767));
    r.outTileWidth = r.inTileWidth = ps::int16(std::clamp(options_.tileWidth, 0, 32767));
    r.outTileOrigin = r.inTileOrigin = {ps::int16(options_.tileOriginV), ps::int16(options_.tileOriginH)};
    scripting_.descriptorParametersVersion = ps::kCurrentDescriptorParametersVersion;
    scripting_.playInfo = ps::plugInDialogDisplay;
    scripting_.recordInfo = ps::plugInDialogOptional;
    scripting_.readDescriptorProcs = descriptors_.readProcs();
    scripting_.writeDescriptorProcs = descriptors_.writeProcs();
    r.descriptorParameters = &scripting_;
    r.errorString = reinterpret_cast<ps::Str255*>(errorString_);
    r.documentInfo = ports_.documentInfo();
    r.sSPBasic = withoutBasic ? nullptr : &basic_;
    r.plugInRef = this;
    r.depth = picture_.depth;
    bigDocument_.imageSize32 = {picture_.height, picture_.width};
    bigDocument_.filterRect32 = {filter[0], filter[1], filter[2], filter[3]};
    bigDocument_.wholeSize32 = bigDocument_.imageSize32;
    r.bigDocumentData = &bigDocument_;
    ports_.setTiling(options_.tileHeight, options_.tileWidth);

    about_.platformData = &platform_;
    about_.sSPBasic = r.sSPBasic;
    about_.plugInRef = this;
}

FilterHost::~FilterHost() {
    for (auto& [buffer, size] : liveBuffers_) std::free(buffer);
    if (current_ == this) current_ = nullptr;
}

FilterHost* FilterHost::current() { return current_; }

int16_t FilterHost::call(const EntryCall& entry, int16_t selector) {
    current_ = this;
    handles_.makeCurrent();
    descriptors_.makeCurrent();
    ports_.makeCurrent();
    dialogs_.makeCurrent();
    int16_t result = 0;
    errorString_[0] = 0;
    if (selector == ps::filterSelectorStart) ports_.startRun();
    if (selector == ps::filterSelectorAbout)
        entry(selector, &about_, &privateValue_, &result);
    else
        entry(selector, record_.get(), &privateValue_, &result);
    return result;
}

void FilterHost::setScriptingBlock(const std::vector<uint8_t>& block, int16_t playMode) {
    if (scripting_.descriptor) handles_.dispose(scripting_.descriptor);
    DescriptorContents contents{{parameter_block::kDescriptorKey, kTextType, block}};
    scripting_.descriptor = descriptors_.makeDescriptorHandle(contents);
    scripting_.playInfo = playMode;
}

void FilterHost::setInteractive() {
    if (scripting_.descriptor) handles_.dispose(scripting_.descriptor);
    scripting_.descriptor = nullptr;
    scripting_.playInfo = ps::plugInDialogDisplay;
}

int16_t FilterHost::replay(const EntryCall& entry, const std::vector<uint8_t>& block, int16_t playMode) {
    int16_t result = call(entry, ps::filterSelectorParameters);
    if (result != 0) return result;
    setScriptingBlock(block, playMode);
    result = call(entry, ps::filterSelectorStart);
    if (result != 0) return result;
    return call(entry, ps::filterSelectorFinish);
}

std::vector<uint8_t> FilterHost::parametersBlock() const { return handles_.bytes(record_->parameters); }

std::vector<uint8_t> FilterHost::recordedBlock() const {
    DescriptorContents contents;
    if (!scripting_.descriptor || !descriptors_.readDescriptorHandle(scripting_.descriptor, contents)) return {};
    for (const DescriptorItem& item : contents)
        if (item.key == parameter_block::kDescriptorKey) return item.bytes;
    return {};
}

std::string FilterHost::errorMessage() const {
    return std::string(reinterpret_cast<const char*>(errorString_ + 1), errorString_[0]);
}

bool FilterHost::wasRequested(const std::string& suiteName) const {
    return std::any_of(suiteRequests_.begin(), suiteRequests_.end(),
                       [&](const SuiteRequest& r) { return r.name == suiteName; });
}

ps::SPErr FilterHost::acquire(const char* name, int32_t version, const void** suite) {
    SuiteRequest request{name ? name : "", version, false};
    if (suite) *suite = nullptr;
    const void* dialogSuite = DialogManager::suite(request.name, version);
    const bool offered = dialogSuite || std::any_of(std::begin(kOfferedSuites), std::end(kOfferedSuites),
                                                    [&](const OfferedSuite& s) {
                                                        return request.name == s.name && version == s.version;
                                                    });
    if (!suite || !offered || options_.faults.withheldSuites.count(request.name)) {
        suiteRequests_.push_back(request);
        return ps::kSPSuiteNotFoundError;
    }
    if (request.name == ps::kSPBasicSuite) *suite = &basic_;
    else if (request.name == ps::kPSBufferSuite) *suite = &buffers_;
    else if (request.name == ps::kPSChannelPortsSuite) *suite = ports_.suite();
    else if (request.name == ps::kSPPluginsSuite) *suite = &plugins_;
    else if (request.name == ps::kPSDescriptorRegistrySuite) *suite = descriptors_.registrySuite();
    else if (request.name == ps::kPSActionDescriptorSuite) *suite = descriptors_.actionDescriptorSuite();
    else *suite = dialogSuite;
    request.granted = true;
    suiteRequests_.push_back(request);
    ++acquired_;
    return ps::kSPNoError;
}

ps::SPErr FilterHost::release(const char*, int32_t) {
    ++released_;
    return ps::kSPNoError;
}

ps::Ptr FilterHost::newBuffer(ps::unsigned32* size, ps::unsigned32 minimum) {
    if (!size) return nullptr;
    ++bufferAllocations_;
    if (options_.faults.failBufferAllocation != 0 && bufferAllocations_ == options_.faults.failBufferAllocation)
        return nullptr;
    const size_t wanted = std::max<size_t>(*size, minimum);
    void* memory = std::malloc(wanted ? wanted : 1);
    if (!memory) return nullptr;
    *size = ps::unsigned32(wanted);
    liveBuffers_.emplace_back(memory, wanted);
    return static_cast<ps::Ptr>(memory);
}

void FilterHost::disposeBuffer(ps::Ptr* buffer) {
    if (!buffer || !*buffer) return;
    auto found = std::find_if(liveBuffers_.begin(), liveBuffers_.end(),
                              [&](const auto& entry) { return entry.first == *buffer; });
    if (found != liveBuffers_.end()) {
        std::free(found->first);
        liveBuffers_.erase(found);
    }
    *buffer = nullptr;
}

ps::unsigned32 FilterHost::bufferSize(ps::Ptr buffer) const {
    for (const auto& [memory, size] : liveBuffers_)
        if (memory == buffer) return ps::unsigned32(size);
    return 0;
}

bool FilterHost::testAbort() {
    ++abortTests_;
    return options_.faults.abortFromTile != 0 && abortTests_ >= options_.faults.abortFromTile;
}

void FilterHost::reportProgress(int32_t done, int32_t total) {
    progress_.emplace_back(done, total);
    if (onProgress) onProgress(done, total);
}

std::string describeResult(int16_t result) {
    switch (result) {
        case 0: return "done";
        case -108: return "out of memory (result -108)";
        case -128: return "cancelled (result -128)";
        case -30900: return "the host lacks a service the plug-in needs (result -30900)";
        case -30904: return "the filter is not available in this build (result -30904)";
        default: return "the filter failed with result " + std::to_string(result);
    }
}

}  // namespace editor
