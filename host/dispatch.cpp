#include "host/dispatch.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "fx/effect_registry.h"
#include "fx/parameter_block.h"
#include "host/host_errors.h"
#include "host/host_resources.h"
#include "host/persistence.h"
#include "host/pixel_block.h"
#include "host/ps_host.h"
#include "host/render_context.h"
#include "host/tile_plan.h"
#include "ui/about_dialog.h"
#include "ui/param_dialog.h"

namespace {

// The effect instances, one per key, kept until the plug-in file is unloaded.
class InstanceCache {
public:
    ~InstanceCache() {
        for (Effect* effect : instances_) effect->effectClass->destroy(effect);
    }
    Effect* find(const char* key) const {
        const EffectRegistry& registry = EffectRegistry::instance();
        for (Effect* effect : instances_)
            if (registry.find(key) == effect->effectClass) return effect;
        return nullptr;
    }
    void add(Effect* effect) { instances_.push_back(effect); }

private:
    std::vector<Effect*> instances_;
};

InstanceCache& instanceCache() {
    static InstanceCache cache;
    return cache;
}

uint32_t calls = 0;
bool firstHostTest = true;
bool hostVerdict = false;

bool hostIsSufficient(const PluginCall& call) {
    if (!firstHostTest) return hostVerdict;
    firstHostTest = false;
    const ps::SPBasicSuite* basic = call.basicSuite();
    if (!basic) return hostVerdict = false;
    {
        AcquiredSuite<ps::PSChannelPortsSuite1> ports(basic, ps::kPSChannelPortsSuite, ps::kPSChannelPortsSuiteVersion2);
        if (!ports) return hostVerdict = false;
    }
    AcquiredSuite<ps::PSBufferSuite1> buffers(basic, ps::kPSBufferSuite, ps::kPSBufferSuiteVersion1);
    return hostVerdict = bool(buffers);
}

void setShowDialog(PluginCall& call, bool show) {
    HandleLock lock(call.handleProcs(), call.privateHandle());
    if (!lock) throw HostError{result_code::kMemoryFull};
    lock.data()[private_record::kShowDialogOffset] = show ? 1 : 0;
}

bool takeShowDialog(PluginCall& call) {
    HandleLock lock(call.handleProcs(), call.privateHandle());
    if (!lock) throw HostError{result_code::kMemoryFull};
    const bool show = lock.data()[private_record::kShowDialogOffset] == 1;
    lock.data()[private_record::kShowDialogOffset] = 0;
    return show;
}

// Tells the host the menu command's effect is not part of this build.
void reportNotAvailable(const EntryPoint& entry, void* record, int16_t* result) {
    if (result) *result = result_code::kReportString;
    auto* filterRecord = static_cast<ps::FilterRecord*>(record);
    if (!filterRecord || !filterRecord->errorString) return;
    char text[256];
    const int length = std::snprintf(text, sizeof text, "Ravo %s is not available in this build.", entry.shortName);
    unsigned char* pascal = *filterRecord->errorString;
    pascal[0] = static_cast<unsigned char>(std::min(length, 255));
    std::memcpy(pascal + 1, text, pascal[0]);
}

void replaceParametersHandle(PluginCall& call) {
    ps::FilterRecord* record = call.record();
    const ps::HandleProcs* procs = call.handleProcs();
    ps::Handle fresh = writeBlock(call);
    if (!fresh) return;
    if (record->parameters && procs->disposeProc) procs->disposeProc(record->parameters);
    record->parameters = fresh;
}

void runTiles(PluginCall& call, ChannelSet& channels, RenderContext& context, const TilePlan& plan, uint32_t bytesPerChannel,
              uint16_t imageMode) {
    ps::FilterRecord* record = call.record();
    const PixelRect blockRect = {0, 0, plan.blockHeight, plan.blockWidth};
    PixelBlock* sourceBlock = nullptr;
    PixelBlock* destinationBlock = nullptr;
    try {
        sourceBlock = channels.makeBlock(blockRect, 4, bytesPerChannel, imageMode);
    } catch (const HostError&) {
        call.setResult(result_code::kMemoryFull);
        return;
    }
    BlockGuard source(channels, sourceBlock);
    try {
        destinationBlock = channels.makeBlock(blockRect, 4, bytesPerChannel, imageMode);
    } catch (const HostError&) {
        call.setResult(result_code::kMemoryFull);
        return;
    }
    BlockGuard destination(channels, destinationBlock);

    const int32_t total = plan.total();
    int32_t done = 0;
    int32_t rendered = 0;
    for (int32_t row = 0; row < plan.rows; ++row) {
        for (int32_t column = 0; column < plan.columns; ++column) {
            const PixelRect output = plan.outputRect(row, column);
            const PixelRect sourceRect = plan.sourceRect(output);
            channels.read(*source, sourceRect);
            destination->copyFrom(*source);
            const int32_t offsetV = output.top - sourceRect.top;
            const int32_t offsetH = output.left - sourceRect.left;
            if (context.isActive()) {
                if (!context.renderTile(*source, *destination, sourceRect, output, rendered++, total))
                    destination->clear();
            } else {
                destination->copyFrom(*source);
            }
            channels.write(*destination, output, offsetV, offsetH);
            ++done;
            if (record->progressProc) record->progressProc(done, total);
            if (record->abortProc && record->abortProc()) {
                call.setResult(result_code::kCancelled);
                return;
            }
        }
    }
}

}  // namespace

namespace plugin_state {
uint32_t callCount() { return calls; }
void resetForTests() {
    calls = 0;
    firstHostTest = true;
    hostVerdict = false;
}
}  // namespace plugin_state

Effect* findOrCreateEffect(const char* key) {
    InstanceCache& cache = instanceCache();
    if (Effect* effect = cache.find(key)) return effect;
    Effect* effect = EffectRegistry::instance().create(key);
    if (effect) cache.add(effect);
    return effect;
}

void syncParameters(PluginCall& call) {
    ps::FilterRecord* record = call.record();
    const ps::HandleProcs* procs = call.handleProcs();
    if (!procs) throw HostError{result_code::kMemoryFull};
    if (!record->parameters) {
        record->parameters = writeBlock(call);
        if (!record->parameters) throw HostError{result_code::kMemoryFull};
    }
    if (!call.privateHandle()) {
        OwnedHandle handle(procs, procs->newProc ? procs->newProc(private_record::kSize) : nullptr);
        if (!handle.get()) throw HostError{result_code::kMemoryFull};
        {
            HandleLock lock(procs, handle.get());
            if (!lock) throw HostError{result_code::kMemoryFull};
            std::memset(lock.data(), 0, private_record::kSize);
            lock.data()[private_record::kShowDialogOffset] = 1;
        }
        call.setPrivateHandle(handle.release());
    }
    HandleLock lock(procs, record->parameters);
    if (!lock) throw HostError{result_code::kMemoryFull};
    readBlock(*call.effect(), reinterpret_cast<const uint8_t*>(lock.data()), lock.size());
}

void runFilter(PluginCall& call) {
    syncParameters(call);
    const bool allowed = dialogAllowed(call);
    const bool show = takeShowDialog(call);
    if (show && allowed && runParameterDialog(call) == DialogOutcome::Cancelled) {
        call.setResult(result_code::kCancelled);
        return;
    }

    ps::FilterRecord* record = call.record();
    ChannelSet channels(record);
    RenderContext context(channels, call.effect(), false);

    PixelRect filter = {record->filterRect.top, record->filterRect.left, record->filterRect.bottom,
                        record->filterRect.right};
    if (ps::BigDocumentStruct* big = record->bigDocumentData) {
        big->PluginUsing32BitCoordinates = 1;
        filter = {big->filterRect32.top, big->filterRect32.left, big->filterRect32.bottom, big->filterRect32.right};
    }
    const ImageSize imageSize = channels.documentSize();
    const uint32_t bytesPerChannel = record->depth / 8 == 2 ? 2 : 1;
    const uint16_t imageMode = uint16_t(record->imageMode);
    const PixelRect hostTile = {record->outTileOrigin.v, record->outTileOrigin.h,
                                record->outTileOrigin.v + record->outTileHeight,
                                record->outTileOrigin.h + record->outTileWidth};

    context.begin(imageSize, bytesPerChannel == 2, false);
    const TilePlan plan = planTiles(filter, imageSize, hostTile, context.requiredSource(hostTile));
    if (plan.total() > 0 && plan.blockHeight > 0 && plan.blockWidth > 0)
        runTiles(call, channels, context, plan, bytesPerChannel, imageMode);
    replaceParametersHandle(call);
    context.end();
}

void dispatch(PluginCall& call, int16_t selector) {
    try {
        if (selector != ps::filterSelectorAbout) {
            // Until the host has told the plug-in where its file lies (its Textures folder is
            // beside it), each call asks again: a host may not know it on the first call.
            ++calls;
            if (plugin_path::get()[0] == '\0') plugin_path::fetch(call);
            if (!hostIsSufficient(call)) {
                call.setResult(result_code::kHostInsufficient);
                return;
            }
        }
        switch (selector) {
            case ps::filterSelectorAbout:
                // Only the one entry point that carries the about flag shows the box.
                if (call.showAbout()) showAbout(call);
                break;
            case ps::filterSelectorParameters:
                syncParameters(call);
                setShowDialog(call, true);
                break;
            case ps::filterSelectorPrepare:
            case ps::filterSelectorContinue: syncParameters(call); break;
            case ps::filterSelectorStart: runFilter(call); break;
            case ps::filterSelectorFinish:
                syncParameters(call);
                remember(call);
                record(call);
                break;
            default: break;
        }
    } catch (const HostError& error) {
        call.setResult(error.code);
    } catch (const SuiteError&) {
        call.setResult(result_code::kHostInsufficient);
    } catch (const std::bad_alloc&) {
        call.setResult(result_code::kMemoryFull);
    }
}

void pluginMain(const EntryPoint& entry, int16_t selector, void* record, intptr_t* data, int16_t* result) {
    PS_Host::instance();
    Effect* effect = nullptr;
    try {
        effect = findOrCreateEffect(entry.registryKey);
    } catch (const std::bad_alloc&) {
        if (result) *result = result_code::kMemoryFull;
        return;
    }
    if (!effect) {
        if (result) *result = 0;
        if (selector != ps::filterSelectorAbout) reportNotAvailable(entry, record, result);
        return;
    }
    if (selector == ps::filterSelectorAbout) {
        PluginCall call(effect, static_cast<ps::AboutRecord*>(record), data, result, entry);
        dispatch(call, selector);
    } else {
        PluginCall call(effect, static_cast<ps::FilterRecord*>(record), data, result, entry);
        dispatch(call, selector);
    }
}
