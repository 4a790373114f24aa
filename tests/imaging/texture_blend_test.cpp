#include "imaging/texture_blend.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/effect_harness.h"

namespace {

// One sample of matte m and texture t, blended at 8 bits and at 16 (where full is 32768).
struct BlendCase {
    TextureBlend blend;
    uint32_t m8, t8, out8;
    uint32_t m16, t16, out16;
};

const BlendCase kCases[] = {
    {TextureBlend::TextureOnly, 200, 100, 100, 20000, 10000, 10000},
    {TextureBlend::Add, 200, 100, 255, 20000, 10000, 30000},
    {TextureBlend::Add, 255, 255, 255, 32768, 32768, 32768},
    {TextureBlend::Subtract, 100, 200, 100, 10000, 20000, 10000},  // texture minus matte
    {TextureBlend::Subtract, 200, 100, 0, 20000, 10000, 0},
    {TextureBlend::Multiply, 200, 100, 78, 20000, 10000, 6103},  // 20000 / 255, 2e8 / 32768, truncated
    {TextureBlend::Multiply, 255, 255, 255, 32768, 32768, 32768},
    {TextureBlend::Screen, 200, 100, 222, 20000, 10000, 23897},
    {TextureBlend::Screen, 255, 255, 255, 32768, 32768, 32768},
    {TextureBlend::Difference, 200, 100, 144, 20000, 10000, 17793},  // 2 m t is divided once
    {TextureBlend::Difference, 255, 255, 0, 32768, 32768, 0},        // 2 m t = 2^31 at 16 bits
    {TextureBlend::Difference, 255, 0, 255, 32768, 0, 32768},
    {TextureBlend::Darken, 200, 100, 100, 20000, 10000, 10000},
    {TextureBlend::Lighten, 200, 100, 200, 20000, 10000, 20000},
};

TEST(TextureBlend, EachBlendOnKnownLevels) {
    for (const BlendCase& c : kCases)
        for (uint32_t bytes : {1u, 2u}) {
            SCOPED_TRACE("blend " + std::to_string(uint32_t(c.blend)) + (bytes == 2 ? " 16-bit" : " 8-bit"));
            const ImagePtr matte = makeImage(3, 2, 1, bytes, {bytes == 2 ? c.m16 : c.m8});
            const ImagePtr texture = makeImage(3, 2, 1, bytes, {bytes == 2 ? c.t16 : c.t8});
            const ImagePtr kept = matte->clone();
            // Into the texture, as the effect combines: the matte stays as built.
            blendTexture(*matte, *texture, *texture, c.blend);
            EXPECT_TRUE(isUniform(*texture));
            EXPECT_EQ(sampleAt(*texture, 2, 1, 0), bytes == 2 ? c.out16 : c.out8);
            EXPECT_EQ(maxDifference(*matte, *kept), 0u);
        }
}

TEST(TextureBlend, RefusesMismatchedImagesAndUnknownBlends) {
    const ImagePtr matte = makeImage(3, 2, 1, 1, {10});
    for (const ImagePtr& other :
         {makeImage(2, 2, 1, 1, {10}), makeImage(3, 2, 1, 2, {10}), makeImage(3, 2, 4, 1, {10})})
        EXPECT_THROW(blendTexture(*matte, *other, *other, TextureBlend::Add), std::invalid_argument);
    const ImagePtr texture = makeImage(3, 2, 1, 1, {10});
    EXPECT_THROW(blendTexture(*matte, *texture, *texture, TextureBlend(kTextureBlendCount)), std::invalid_argument);
}

}  // namespace
