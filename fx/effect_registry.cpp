#include "fx/effect_registry.h"

#include <cstring>

EffectRegistry::EffectRegistry() {
    keys_.reserve(40);
    classes_.reserve(40);
}

EffectRegistry& EffectRegistry::instance() {
    static EffectRegistry registry;
    return registry;
}

const char* EffectRegistry::add(const char* key, const EffectClass* effectClass) {
    keys_.push_back(key);
    classes_.push_back(effectClass);
    return key;
}

const EffectClass* EffectRegistry::find(const char* key) const {
    if (!key) return nullptr;
    for (size_t i = 0; i < keys_.size(); ++i)
        if (std::strcmp(keys_[i], key) == 0) return classes_[i];
    return nullptr;
}

Effect* EffectRegistry::create(const char* key) const {
    const EffectClass* effectClass = find(key);
    return effectClass ? effectClass->create() : nullptr;
}
