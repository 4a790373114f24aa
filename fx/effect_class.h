// Builds an effect's static class table from its record type.
//
// An effect type E derives from Effect and provides:
//   static constexpr const char* kTitle, kDescription;
//   static constexpr uint32_t kEffectFlags;        bits ORed into the effect flags
//   Parameter params[kParameterCount];              its parameter array
//   static void define(E&);                         defines every record in order
// and any of the optional hooks, as static member functions:
//   isActive, beginRender, render, parameterChanged, requiredSource
// with the signatures of EffectClass (taking E& instead of Effect*).
#pragma once

#include <new>
#include <type_traits>

#include "fx/effect.h"
#include "fx/memory_handler.h"

namespace effect_class_detail {

template <class E>
E* construct(void (*initHeader)(E&, const Effect*), const Effect* source) {
    void* memory = fxAllocate(sizeof(E));
    E* effect = nullptr;
    try {
        effect = new (memory) E();
        initHeader(*effect, source);
        E::define(*effect);
        effect->setParameters(effect->params, uint32_t(std::size(effect->params)));
    } catch (...) {
        if (effect) effect->~E();
        fxRelease(memory);
        throw;
    }
    return effect;
}

template <class E>
const EffectClass& classOf();

template <class E>
Effect* create() {
    return construct<E>([](E& e, const Effect*) { e.init(&classOf<E>()); e.addFlags(E::kEffectFlags); }, nullptr);
}

template <class E>
Effect* clone(const Effect* source) {
    return construct<E>([](E& e, const Effect* s) { e.initCopy(*s); }, source);
}

template <class E>
void destroy(Effect* effect) {
    if (!effect) return;
    E* typed = static_cast<E*>(effect);
    typed->~E();
    fxRelease(typed);
}

template <class E>
const char* title() { return E::kTitle; }
template <class E>
const char* description() { return E::kDescription; }

template <class E>
bool isActive(Effect* e, const fx::Plugin::RenderInfo* info) {
    if constexpr (requires(E& x) { E::isActive(x, *info); })
        return E::isActive(static_cast<E&>(*e), *info);
    else
        return EffectDefaults::isActive(e, info);
}
template <class E>
void beginRender(Effect* e, const fx::Plugin::RenderInfo* info) {
    if constexpr (requires(E& x) { E::beginRender(x, *info); }) E::beginRender(static_cast<E&>(*e), *info);
}
template <class E>
void render(Effect* e, const fx::Plugin::RenderInfo* info) {
    if constexpr (requires(E& x) { E::render(x, *info); }) E::render(static_cast<E&>(*e), *info);
}
template <class E>
void parameterChanged(Effect* e, uint32_t index) {
    if constexpr (requires(E& x) { E::parameterChanged(x, index); }) E::parameterChanged(static_cast<E&>(*e), index);
}
template <class E>
void requiredSource(Effect* e, const fx::Plugin::RenderInfo* info, PixelRect* rect) {
    if constexpr (requires(E& x) { E::requiredSource(x, *info, *rect); })
        E::requiredSource(static_cast<E&>(*e), *info, *rect);
}

template <class E>
const EffectClass& classOf() {
    static const EffectClass table = {
        &create<E>,          &clone<E>,
        &destroy<E>,         &title<E>,
        &EffectDefaults::category, &EffectDefaults::group,
        &EffectDefaults::hostTag,  &description<E>,
        &EffectDefaults::classId,  &EffectDefaults::version,
        &isActive<E>,        &beginRender<E>,
        &render<E>,          &parameterChanged<E>,
        &requiredSource<E>,
    };
    return table;
}

}  // namespace effect_class_detail

// The static class table of effect type E.
template <class E>
const EffectClass& effectClassOf() {
    return effect_class_detail::classOf<E>();
}
