// The registry of effects by key ("BlackMist"), filled once when the plug-in loads.
#pragma once

#include <cstdint>
#include <vector>

#include "fx/effect.h"

class EffectRegistry {
public:
    // The registry of the process, filled when the plug-in loads.
    static EffectRegistry& instance();
    EffectRegistry();

    // Appends the pair (no duplicate check) and returns the key.
    const char* add(const char* key, const EffectClass* effectClass);
    // The first class registered under exactly this key (case-sensitive) creates an instance; null if none.
    Effect* create(const char* key) const;
    const EffectClass* find(const char* key) const;

    uint32_t count() const { return uint32_t(keys_.size()); }
    const char* keyAt(uint32_t index) const { return keys_[index]; }
    const EffectClass* classAt(uint32_t index) const { return classes_[index]; }

private:
    std::vector<const char*> keys_;
    std::vector<const EffectClass*> classes_;
};

// Destroys an effect instance through its class.
struct EffectDeleter {
    void operator()(Effect* effect) const {
        if (effect) effect->effectClass->destroy(effect);
    }
};
