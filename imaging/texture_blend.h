// How a grey texture combines with a matte, sample by sample: the eight blends of a diffusion
// screen laid over the highlights. Both are one-channel images of one sample size; every rule
// works on levels 0..full (255 or 32768) and its divisions truncate.
//
//   Texture Only   t
//   Add            min(m + t, full)
//   Subtract       max(t - m, 0)
//   Multiply       m t / full
//   Screen         m + t - m t / full
//   Difference     m + t - 2 m t / full
//   Darken         min(m, t)
//   Lighten        max(m, t)
#pragma once

#include <cstdint>

#include "imaging/image.h"

// The blends in the order of their list items.
enum class TextureBlend : uint32_t {
    TextureOnly,
    Add,
    Subtract,
    Multiply,
    Screen,
    Difference,
    Darken,
    Lighten,
};
constexpr uint32_t kTextureBlendCount = 8;

// destination = matte blended with texture, over the whole of three one-channel images of one
// size and sample size; destination may be matte or texture. Throws std::invalid_argument for
// other layouts or an unknown blend.
void blendTexture(const Image& matte, const Image& texture, Image& destination, TextureBlend blend);
