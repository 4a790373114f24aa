#include "host/persistence.h"

#include <cstring>
#include <vector>

#include "fx/parameter_block.h"
#include "host/host_resources.h"
#include "sdk/pi_actions.h"

namespace {

constexpr ps::DescriptorKeyID kParametersKey = parameter_block::kDescriptorKey;
constexpr ps::DescriptorKeyID kTestKey = ps::fourCharCode("tesT");

// The descriptor suites used together for the registry.
struct RegistrySuites {
    explicit RegistrySuites(const ps::SPBasicSuite* basic)
        : registry(basic, ps::kPSDescriptorRegistrySuite, ps::kPSDescriptorRegistrySuiteVersion),
          descriptors(registry ? basic : nullptr, ps::kPSActionDescriptorSuite, ps::kPSActionDescriptorSuiteVersion) {}
    explicit operator bool() const { return registry && descriptors; }
    // Declared in this order so the descriptor suite is released first.
    AcquiredSuite<ps::PSDescriptorRegistryProcs> registry;
    AcquiredSuite<ps::PSActionDescriptorProcs> descriptors;
};

}  // namespace

ps::Handle writeBlock(PluginCall& call) {
    const ps::HandleProcs* procs = call.handleProcs();
    if (!procs || !procs->newProc) return nullptr;
    const std::vector<uint8_t> bytes = encodeBlock(*call.effect());
    OwnedHandle handle(procs, procs->newProc(ps::int32(bytes.size())));
    if (!handle.get()) return nullptr;
    {
        HandleLock lock(procs, handle.get());
        if (!lock || lock.size() < bytes.size()) return nullptr;
        std::memcpy(lock.data(), bytes.data(), bytes.size());
    }
    return handle.release();
}

bool readBlockFromHandle(PluginCall& call, ps::Handle handle) {
    if (!handle) return false;
    HandleLock lock(call.handleProcs(), handle);
    if (!lock) return false;
    const size_t size = lock.size();
    const auto* bytes = reinterpret_cast<const uint8_t*>(lock.data());
    if (size < 4 || bytes[0] != 1 || bytes[1] != 0 || bytes[2] != 0 || bytes[3] != 0) return false;
    return readBlock(*call.effect(), bytes, size);
}

void remember(PluginCall& call) {
    if (!call.basicSuite()) return;
    RegistrySuites suites(call.basicSuite());
    if (!suites) return;
    ps::PIActionDescriptor descriptor = nullptr;
    if (suites.descriptors->Make(&descriptor) != ps::noErr || !descriptor) return;
    if (ps::Handle block = writeBlock(call)) {
        OwnedHandle owned(call.handleProcs(), block);
        HandleLock lock(call.handleProcs(), block);
        if (lock) suites.descriptors->PutData(descriptor, kParametersKey, ps::int32(lock.size()), lock.data());
    }
    suites.registry->Register(call.descriptorKey(), descriptor, true);
    suites.descriptors->Free(descriptor);
}

void restore(PluginCall& call) {
    if (!call.basicSuite()) return;
    RegistrySuites suites(call.basicSuite());
    if (!suites) return;
    ps::PIActionDescriptor descriptor = nullptr;
    if (suites.registry->Get(call.descriptorKey(), &descriptor) != ps::noErr || !descriptor) return;
    ps::int32 length = 0;
    if (suites.descriptors->GetDataLength(descriptor, kParametersKey, &length) == ps::noErr && length > 0) {
        std::vector<uint8_t> bytes(static_cast<size_t>(length));
        if (suites.descriptors->GetData(descriptor, kParametersKey, bytes.data()) == ps::noErr)
            readBlock(*call.effect(), bytes.data(), bytes.size());
    }
    suites.descriptors->Free(descriptor);
}

bool dialogAllowed(PluginCall& call) {
    restore(call);
    ps::PIDescriptorParameters* scripting = call.record()->descriptorParameters;
    if (!scripting || !scripting->readDescriptorProcs || !scripting->descriptor) return true;
    const ps::ReadDescriptorProcs& procs = *scripting->readDescriptorProcs;
    ps::DescriptorKeyID keys[] = {kTestKey, kParametersKey, 0};
    ps::PIReadDescriptor reader = procs.openReadDescriptorProc(scripting->descriptor, keys);
    if (!reader) return scripting->playInfo == ps::plugInDialogDisplay;
    ps::DescriptorKeyID key = 0;
    ps::DescriptorTypeID type = 0;
    ps::int32 flags = 0;
    while (procs.getKeyProc(reader, &key, &type, &flags)) {
        if (key != kParametersKey) continue;
        ps::Handle text = nullptr;
        if (procs.getTextProc(reader, &text) == ps::noErr && text) {
            OwnedHandle owned(call.handleProcs(), text);
            readBlockFromHandle(call, text);
        }
    }
    procs.closeReadDescriptorProc(reader);
    if (const ps::HandleProcs* handles = call.handleProcs(); handles && handles->disposeProc)
        handles->disposeProc(scripting->descriptor);
    scripting->descriptor = nullptr;
    return scripting->playInfo == ps::plugInDialogDisplay;
}

void record(PluginCall& call) {
    ps::PIDescriptorParameters* scripting = call.record()->descriptorParameters;
    if (!scripting || !scripting->writeDescriptorProcs) return;
    const ps::WriteDescriptorProcs& procs = *scripting->writeDescriptorProcs;
    ps::PIWriteDescriptor writer = procs.openWriteDescriptorProc();
    if (!writer) return;
    if (ps::Handle block = writeBlock(call)) {
        OwnedHandle owned(call.handleProcs(), block);
        procs.putTextProc(writer, kParametersKey, block);
    }
    if (scripting->descriptor) {
        if (const ps::HandleProcs* handles = call.handleProcs(); handles && handles->disposeProc)
            handles->disposeProc(scripting->descriptor);
        scripting->descriptor = nullptr;
    }
    ps::PIDescriptorHandle descriptor = nullptr;
    procs.closeWriteDescriptorProc(writer, &descriptor);
    scripting->descriptor = descriptor;
    scripting->recordInfo = ps::plugInDialogOptional;
}
