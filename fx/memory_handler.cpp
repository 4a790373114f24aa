#include "fx/memory_handler.h"

#include <cstdlib>

void* PS_MemHandler::allocate(size_t size) {
    void* pointer = std::malloc(size == 0 ? 1 : size);
    if (!pointer) throw fx::OutOfMemory();
    return pointer;
}

void PS_MemHandler::release(void* pointer) { std::free(pointer); }

namespace {
// Constant-initialised, so it outlives every object that releases memory through it at exit.
constinit PS_MemHandler memoryHandler;
}  // namespace

PS_MemHandler& PS_MemHandler::instance() { return memoryHandler; }

void* fxAllocate(size_t size) { return PS_MemHandler::instance().allocate(size); }
void fxRelease(void* pointer) { PS_MemHandler::instance().release(pointer); }
