// A memory handler that runs out after a set number of allocations, for the paths an effect
// takes when its tables cannot be had; it counts what it hands out and takes back.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "fx/memory_handler.h"

class RationedMemory : public fx::MemoryHandler {
public:
    void* allocate(size_t size) override {
        if (allowed == 0) throw fx::OutOfMemory();
        --allowed;
        ++allocations;
        return std::malloc(size);
    }
    void release(void* pointer) override {
        if (pointer) ++releases;
        std::free(pointer);
    }
    uint32_t allowed = 1000;
    uint32_t allocations = 0;
    uint32_t releases = 0;
};
