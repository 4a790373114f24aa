// Memory for effect instances and their working state.
#pragma once

#include <cstddef>
#include <new>

namespace fx {

// The out-of-memory exception of the framework.
class OutOfMemory : public std::bad_alloc {
public:
    const char* what() const noexcept override { return "bad allocation"; }
};

class MemoryHandler {
public:
    constexpr MemoryHandler() = default;
    virtual ~MemoryHandler() = default;
    // Never returns null; raises OutOfMemory when no memory can be had.
    virtual void* allocate(size_t size) = 0;
    // Null is ignored.
    virtual void release(void* pointer) = 0;
};

}  // namespace fx

// The memory handler on the C runtime heap; one instance per process.
class PS_MemHandler : public fx::MemoryHandler {
public:
    constexpr PS_MemHandler() = default;
    void* allocate(size_t size) override;
    void release(void* pointer) override;
    static PS_MemHandler& instance();
};

void* fxAllocate(size_t size);
void fxRelease(void* pointer);
