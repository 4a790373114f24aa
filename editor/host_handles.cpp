#include "editor/host_handles.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace editor {

struct HostHandles::Record {
    char* data = nullptr;  // first field: a handle is a pointer to it
    size_t size = 0;
    int32_t locks = 0;
};

HostHandles* HostHandles::current_ = nullptr;

namespace {

ps::Handle newHandle(ps::int32 size) {
    HostHandles* handles = HostHandles::current();
    return handles && size >= 0 ? handles->create(size_t(size)) : nullptr;
}
void disposeHandle(ps::Handle handle) {
    if (HostHandles* handles = HostHandles::current()) handles->dispose(handle);
}
ps::int32 handleSize(ps::Handle handle) {
    HostHandles* handles = HostHandles::current();
    return handles && handles->isLive(handle) ? ps::int32(handles->size(handle)) : 0;
}
ps::OSErr setHandleSize(ps::Handle handle, ps::int32 size) {
    HostHandles* handles = HostHandles::current();
    if (!handles || !handles->isLive(handle) || size < 0) return ps::nilHandleErr;
    return handles->resize(handle, size_t(size)) ? ps::noErr : ps::memFullErr;
}
ps::Ptr lockHandle(ps::Handle handle, ps::Boolean) {
    HostHandles* handles = HostHandles::current();
    return handles ? handles->lock(handle) : nullptr;
}
void unlockHandle(ps::Handle handle) {
    if (HostHandles* handles = HostHandles::current()) handles->unlock(handle);
}
void recoverSpace(ps::int32) {}

}  // namespace

HostHandles::HostHandles() {
    procs_.handleProcsVersion = 1;
    procs_.numHandleProcs = 8;
    procs_.newProc = newHandle;
    procs_.disposeProc = disposeHandle;
    procs_.getSizeProc = handleSize;
    procs_.setSizeProc = setHandleSize;
    procs_.lockProc = lockHandle;
    procs_.unlockProc = unlockHandle;
    procs_.recoverSpaceProc = recoverSpace;
    procs_.disposeRegularHandleProc = disposeHandle;
    current_ = this;
}

HostHandles::~HostHandles() {
    for (Record* record : live_) {
        std::free(record->data);
        delete record;
    }
    if (current_ == this) current_ = nullptr;
}

HostHandles* HostHandles::current() { return current_; }

ps::Handle HostHandles::create(size_t size) {
    ++allocations_;
    if (failAt_ != 0 && allocations_ == failAt_) return nullptr;
    auto* record = new Record;
    record->data = static_cast<char*>(std::calloc(size ? size : 1, 1));
    if (!record->data) {
        delete record;
        return nullptr;
    }
    record->size = size;
    live_.push_back(record);
    return &record->data;
}

ps::Handle HostHandles::createWith(const void* bytes, size_t size) {
    ps::Handle handle = create(size);
    if (handle && size) std::memcpy(*handle, bytes, size);
    return handle;
}

HostHandles::Record* HostHandles::find(ps::Handle handle) const {
    if (!handle) return nullptr;
    auto* record = reinterpret_cast<Record*>(handle);
    return std::find(live_.begin(), live_.end(), record) != live_.end() ? record : nullptr;
}

bool HostHandles::isLive(ps::Handle handle) const { return find(handle) != nullptr; }

void HostHandles::dispose(ps::Handle handle) {
    Record* record = find(handle);
    if (!record) return;
    live_.erase(std::find(live_.begin(), live_.end(), record));
    std::free(record->data);
    delete record;
}

bool HostHandles::resize(ps::Handle handle, size_t size) {
    Record* record = find(handle);
    if (!record) return false;
    char* grown = static_cast<char*>(std::realloc(record->data, size ? size : 1));
    if (!grown) return false;
    if (size > record->size) std::memset(grown + record->size, 0, size - record->size);
    record->data = grown;
    record->size = size;
    return true;
}

char* HostHandles::lock(ps::Handle handle) {
    Record* record = find(handle);
    if (!record) return nullptr;
    ++record->locks;
    return record->data;
}

void HostHandles::unlock(ps::Handle handle) {
    Record* record = find(handle);
    if (record && record->locks > 0) --record->locks;
}

size_t HostHandles::size(ps::Handle handle) const {
    const Record* record = find(handle);
    return record ? record->size : 0;
}

std::vector<uint8_t> HostHandles::bytes(ps::Handle handle) const {
    const Record* record = find(handle);
    if (!record) return {};
    return std::vector<uint8_t>(record->data, record->data + record->size);
}

}  // namespace editor
