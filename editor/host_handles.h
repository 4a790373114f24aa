// The stand-in host's handles: movable memory blocks the plug-in reaches through
// the handle procedures (new, dispose, size, lock, unlock). A handle points at a
// record whose first field is the data pointer, as on the real hosts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sdk/pi_filter.h"

namespace editor {

class HostHandles {
public:
    HostHandles();
    ~HostHandles();
    HostHandles(const HostHandles&) = delete;
    HostHandles& operator=(const HostHandles&) = delete;

    // The table handed to the plug-in; its procedures act on the current handle set.
    ps::HandleProcs* procs() { return &procs_; }

    ps::Handle create(size_t size);
    ps::Handle createWith(const void* bytes, size_t size);
    void dispose(ps::Handle handle);
    bool resize(ps::Handle handle, size_t size);
    char* lock(ps::Handle handle);
    void unlock(ps::Handle handle);
    size_t size(ps::Handle handle) const;
    // The bytes of a handle (no lock needed inside the host).
    std::vector<uint8_t> bytes(ps::Handle handle) const;
    bool isLive(ps::Handle handle) const;
    size_t liveCount() const { return live_.size(); }

    // Fault injection: the Nth allocation from now on (1 = the next) fails; 0 never.
    void failAllocation(uint32_t n) {
        failAt_ = n;
        allocations_ = 0;
    }

    static HostHandles* current();
    void makeCurrent() { current_ = this; }

private:
    struct Record;
    Record* find(ps::Handle handle) const;
    ps::HandleProcs procs_{};
    std::vector<Record*> live_;
    uint32_t failAt_ = 0;
    uint32_t allocations_ = 0;
    static HostHandles* current_;
};

}  // namespace editor
