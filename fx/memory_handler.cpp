#include "fx/memory_handler.h"

#include <cstdlib>
#include <new>

void* PS_MemHandler::allocate(size_t size) {
    void* pointer = std::malloc(size == 0 ? 1 : size);
    if (!pointer) throw fx::OutOfMemory();
    return pointer;
}

void PS_MemHandler::release(void* pointer) { std::free(pointer); }

PS_MemHandler& PS_MemHandler::instance() {
    // Made once and never destroyed: effect instances and shared tables hand their memory back
    // through it while the plug-in file is being unloaded, whatever the order of destruction.
    alignas(PS_MemHandler) static unsigned char storage[sizeof(PS_MemHandler)];
    static PS_MemHandler* handler = new (storage) PS_MemHandler();
    return *handler;
}

void* fxAllocate(size_t size) { return PS_MemHandler::instance().allocate(size); }
void fxRelease(void* pointer) { PS_MemHandler::instance().release(pointer); }
