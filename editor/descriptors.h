// The stand-in host's scripting and persistence services: action descriptors,
// the descriptor registry (with its persistent entries), and the descriptor read
// and write procedures used to replay and record actions.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "editor/host_handles.h"
#include "sdk/pi_actions.h"

namespace editor {

struct DescriptorItem {
    uint32_t key = 0;
    uint32_t type = 0;
    std::vector<uint8_t> bytes;
};
using DescriptorContents = std::vector<DescriptorItem>;

struct RegistryEntry {
    DescriptorContents contents;
    bool persistent = false;
};
using DescriptorRegistry = std::map<std::string, RegistryEntry>;

class DescriptorServices {
public:
    explicit DescriptorServices(HostHandles& handles);
    ~DescriptorServices();
    DescriptorServices(const DescriptorServices&) = delete;
    DescriptorServices& operator=(const DescriptorServices&) = delete;

    const ps::PSActionDescriptorProcs* actionDescriptorSuite() const { return &actions_; }
    const ps::PSDescriptorRegistryProcs* registrySuite() const { return &registrySuite_; }
    ps::ReadDescriptorProcs* readProcs() { return &reader_; }
    ps::WriteDescriptorProcs* writeProcs() { return &writer_; }

    // A scripting descriptor handle holding the items, and the items of one.
    ps::Handle makeDescriptorHandle(const DescriptorContents& contents);
    bool readDescriptorHandle(ps::Handle handle, DescriptorContents& contents) const;

    DescriptorRegistry& registry() { return registry_; }
    // Action descriptors, readers and writers the plug-in made and has not freed or closed.
    size_t liveObjects() const { return liveObjects_.size(); }

    static DescriptorServices* current();
    void makeCurrent() { current_ = this; }

    // Used by the procedures.
    HostHandles& handles() { return handles_; }
    void* track(void* object, void (*deleter)(void*)) {
        liveObjects_[object] = deleter;
        return object;
    }
    bool untrack(void* object) { return liveObjects_.erase(object) == 1; }
    bool isLive(void* object) const { return liveObjects_.count(object) == 1; }

private:
    HostHandles& handles_;
    ps::PSActionDescriptorProcs actions_{};
    ps::PSDescriptorRegistryProcs registrySuite_{};
    ps::ReadDescriptorProcs reader_{};
    ps::WriteDescriptorProcs writer_{};
    DescriptorRegistry registry_;
    std::map<void*, void (*)(void*)> liveObjects_;
    static DescriptorServices* current_;
};

constexpr uint32_t kTextType = 0x54455854;  // 'TEXT'
constexpr uint32_t kDataType = 0x74647461;  // 'tdta'

}  // namespace editor
