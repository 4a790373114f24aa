// The grain module: its generator, where its noise comes from, the film response, the cases
// in which it must leave the picture alone, and the effect at both depths. That tiles get the
// grain of the whole picture is tested through the host's tile loop (the strip tests).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "effects/grain_module.h"
#include "imaging/image_scaler.h"
#include "imaging/random_sequence.h"
#include "tests/support/effect_harness.h"

namespace {

using namespace GrainParameter;

struct GrainSettings {
    std::array<double, 3> size = {1, 1, 1};
    std::array<double, 3> amount = {15, 15, 15};
    double position = 50;
    double range = 80;
    double minimum = 20;
};

// The module's records holding these settings, read into a fresh module.
GrainModule moduleWith(const GrainSettings& settings) {
    GrainModule module;
    std::array<Parameter, kCount> records;
    module.defineParameters(records.data());
    for (uint32_t c = 0; c < 3; ++c) {
        records[kRedSize + c].number = settings.size[c];
        records[kRedAmount + c].number = settings.amount[c];
    }
    records[kPosition].number = settings.position;
    records[kRange].number = settings.range;
    records[kMinimum].number = settings.minimum;
    module.takeParameters(records.data());
    return module;
}

// One render of a whole picture of width x height (the document's size; a preview at `scale`
// sees it zoomed) in one tile.
fx::Plugin::RenderInfo wholePicture(int32_t width, int32_t height, double scaleX = 1.0, double scaleY = 1.0) {
    fx::Plugin::RenderInfo info;
    info.scaleX = scaleX;
    info.scaleY = scaleY;
    info.imageWidth = width;
    info.imageHeight = height;
    info.outputRect = {0, 0, int32_t(height * scaleY), int32_t(width * scaleX)};
    info.tileCount = 1;
    info.tileIndex = 0;
    return info;
}

ImagePtr grained(GrainModule& module, const Image& source, const fx::Plugin::RenderInfo& info) {
    ImagePtr output = source.clone();
    module.apply(*output, output->bounds, info, {});
    return output;
}

// With the response at full weight everywhere and the amount at 100%, a mid-grey pixel moves by
// exactly its noise: 8-bit 127 becomes the noise byte, 16-bit 16384 becomes 16384 + 128 (noise - 127).
constexpr uint32_t kGrey8 = 127;
constexpr uint32_t kGrey16 = 16384;
GrainSettings fullWeight(double size) {
    GrainSettings settings;
    settings.size = {size, size, size};
    settings.amount = {100, 100, 100};
    settings.range = 0;
    settings.minimum = 100;
    return settings;
}

int32_t noiseOf(uint32_t sample, uint32_t bytesPerChannel) {
    return bytesPerChannel == 1 ? int32_t(sample) : (int32_t(sample) - int32_t(kGrey16)) / 128 + 127;
}

// The noise bytes a whole-picture fill of w x h with this seed gives, one per cell.
ImagePtr noiseField(int32_t width, int32_t height, uint32_t seed) {
    ImagePtr field = makeImage(width, height, 1, 1, {0});
    RandomSequence random(seed);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) setSample(*field, x, y, 0, random.next() >> 7);
    return field;
}

TEST(GrainModule, GeneratorSequence) {
    // state = state x 214013 + 2531011; draw = (state >> 16) & 0x7FFF; from state 0.
    RandomSequence random(0);
    for (uint32_t expected : {38u, 7719u, 21238u, 2437u, 8855u}) EXPECT_EQ(random.next(), expected);
    for (uint64_t count : {0ull, 1ull, 2ull, 7ull, 1000ull, 123457ull}) {
        RandomSequence stepped(99), skipped(99);
        for (uint64_t i = 0; i < count; ++i) stepped.next();
        skipped.skip(count);
        EXPECT_EQ(stepped.next(), skipped.next()) << count;
    }
}

// Cells below 2 pixels at the render's scale draw one noise byte per pixel, numbered along the
// picture's rows; channel c uses seed c. Larger cells enlarge a field of one byte per cell with
// the cubic filter. 8 and 16 bits get the same noise.
TEST(GrainModule, NoiseFieldsAtEachCellSize) {
    constexpr int32_t kWidth = 37;
    constexpr int32_t kHeight = 23;
    struct Case {
        double size;
        double scaleX, scaleY;
        // The cell in pixels at this scale; 0 for one byte per pixel.
        int32_t cell;
    };
    const Case cases[] = {
        {1, 1.0, 1.0, 0}, {1.9, 1.0, 1.0, 0}, {3, 0.5, 0.5, 0}, {3, 1.0, 0.5, 0}, {2, 1.0, 1.0, 2}, {5, 1.0, 1.0, 5},
        {4, 0.5, 0.5, 2},
    };
    for (const Case& c : cases)
        for (uint32_t bytes : {1u, 2u}) {
            SCOPED_TRACE(testing::Message() << "size " << c.size << " scale " << c.scaleX << "x" << c.scaleY << ", "
                                            << bytes * 8 << "-bit");
            const fx::Plugin::RenderInfo info = wholePicture(kWidth, kHeight, c.scaleX, c.scaleY);
            const int32_t width = info.outputRect.right;
            const int32_t height = info.outputRect.bottom;
            const uint32_t grey = bytes == 1 ? kGrey8 : kGrey16;
            const ImagePtr source = makeImage(width, height, 4, bytes, {grey, grey, grey, 7});
            GrainModule module = moduleWith(fullWeight(c.size));
            const ImagePtr output = grained(module, *source, info);
            for (uint32_t channel = 0; channel < 3; ++channel) {
                ImagePtr expected;
                if (c.cell == 0) {
                    expected = noiseField(width, height, channel);
                } else {
                    const ImagePtr field = noiseField(kWidth / c.cell, kHeight / c.cell, channel);
                    expected = makeImage(width, height, 1, 1, {0});
                    fx::scaleImage(*field, {0, 0, height / c.cell, width / c.cell}, *expected, 2);
                }
                int32_t wrong = 0;
                for (int32_t y = 0; y < height; ++y)
                    for (int32_t x = 0; x < width; ++x)
                        wrong += noiseOf(sampleAt(*output, x, y, channel), bytes) !=
                                 int32_t(sampleAt(*expected, x, y, 0));
                EXPECT_EQ(wrong, 0) << "channel " << channel;
            }
            for (int32_t y = 0; y < height; ++y)
                for (int32_t x = 0; x < width; ++x) ASSERT_EQ(sampleAt(*output, x, y, 3), 7u);
        }
}

// Every pixel against the formula: L the pixel's luminance, w = table[L] / 255 in single
// precision (16-bit: table[trunc(L / 128.5)]), c' = trunc(c + (n - 127) w amount), x 128 at
// 16 bits, held to the range; alpha kept. Fine cells, so n is the noise byte at the pixel.
TEST(GrainModule, EveryPixelFollowsTheFormula) {
    constexpr int32_t kWidth = 96;
    constexpr int32_t kHeight = 64;
    const std::array<double, 3> amounts[] = {{15, 37, 100}, {3, 0, 71.5}};
    for (const auto& amount : amounts)
        for (uint32_t bytes : {1u, 2u}) {
            SCOPED_TRACE(testing::Message() << "amounts " << amount[0] << "," << amount[1] << "," << amount[2] << ", "
                                            << bytes * 8 << "-bit");
            GrainSettings settings;
            settings.amount = amount;
            settings.position = 40;
            settings.range = 60;
            GrainModule module = moduleWith(settings);
            const auto table = module.responseTable();
            ImagePtr source = makeNoiseImage(kWidth, kHeight, 4, bytes, 21);
            const uint32_t full = bytes == 1 ? 255 : 32768;
            // The extremes of the range, where the results are held.
            for (int32_t x = 0; x < kWidth; ++x)
                for (uint32_t c = 0; c < 3; ++c) {
                    setSample(*source, x, 0, c, full);
                    setSample(*source, x, 1, c, 0);
                    setSample(*source, x, 2, c, x % 2 ? full : 0);
                }
            const ImagePtr output = grained(module, *source, wholePicture(kWidth, kHeight));
            int32_t wrong = 0;
            for (uint32_t c = 0; c < 3; ++c) {
                const ImagePtr noise = noiseField(kWidth, kHeight, c);
                for (int32_t y = 0; y < kHeight; ++y)
                    for (int32_t x = 0; x < kWidth; ++x) {
                        const int64_t r = sampleAt(*source, x, y, 0), g = sampleAt(*source, x, y, 1),
                                      b = sampleAt(*source, x, y, 2);
                        const int64_t luminance =
                            bytes == 1 ? (76 * r + 150 * g + 29 * b) / 255 : (9798 * r + 19235 * g + 3735 * b) / 32768;
                        const size_t index = bytes == 1 ? size_t(luminance) : size_t(double(luminance) / 128.5);
                        const float w = float(table[index]) * 0.003921569f;
                        const float push = float(int32_t(sampleAt(*noise, x, y, 0)) - 127) * w;
                        double moved = double(push) * (amount[c] / 100);
                        if (bytes == 2) moved *= 128;
                        const int64_t expected =
                            std::clamp<int64_t>(int64_t(double(sampleAt(*source, x, y, c)) + moved), 0, full);
                        wrong += int64_t(sampleAt(*output, x, y, c)) != expected;
                    }
            }
            EXPECT_EQ(wrong, 0);
            for (int32_t y = 0; y < kHeight; ++y)
                for (int32_t x = 0; x < kWidth; ++x) ASSERT_EQ(sampleAt(*output, x, y, 3), sampleAt(*source, x, y, 3));
        }
}

// Settings under which the picture must come out as it went in though the module is active (all
// amounts at 0, which makes it inactive, is tested with the effect).
TEST(GrainModule, LeavesThePictureAlone) {
    struct Case {
        const char* name;
        GrainSettings settings;
    };
    GrainSettings noResponse;
    noResponse.range = 0;
    noResponse.minimum = 0;
    GrainSettings coarserThanPicture;
    coarserThanPicture.size = {10, 10, 10};
    const Case cases[] = {
        {"response range 0 at minimum 0", noResponse},
        {"cells coarser than the picture", coarserThanPicture},
    };
    for (const Case& c : cases)
        for (uint32_t bytes : {1u, 2u}) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << bytes * 8 << "-bit");
            GrainModule module = moduleWith(c.settings);
            EXPECT_TRUE(module.isActive());
            const ImagePtr source = makeNoiseImage(9, 6, 4, bytes, 3);
            const ImagePtr output = grained(module, *source, wholePicture(9, 6));
            EXPECT_EQ(maxDifference(*output, *source), 0u);
        }
}

// A response range of 0 puts all five points on the position: every luminance gets the minimum.
TEST(GrainModule, ResponseTable) {
    struct Case {
        double position, range, minimum;
        uint8_t everywhere;
    };
    const Case cases[] = {{50, 0, 20, 51}, {10, 0, 50, 127}, {90, 0, 0, 0}, {50, 0, 100, 255}};
    for (const Case& c : cases) {
        GrainSettings settings;
        settings.position = c.position;
        settings.range = c.range;
        settings.minimum = c.minimum;
        const auto table = moduleWith(settings).responseTable();
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(table[size_t(i)], c.everywhere) << "minimum " << c.minimum << " at " << i;
    }
    // The defaults: full weight at the mid-tones, the floor (20%) far from them.
    const auto table = moduleWith(GrainSettings{}).responseTable();
    EXPECT_EQ(table[127], 255);
    EXPECT_EQ(table[128], 255);
    EXPECT_LT(table[0], table[64]);
    EXPECT_LT(table[255], table[192]);
    EXPECT_GE(table[0], 51);
}

TEST(GrainModule, SameSettingsSameGrain) {
    GrainSettings settings;
    settings.size = {1, 3, 6};
    settings.amount = {40, 15, 90};
    const ImagePtr source = makeNoiseImage(40, 30, 4, 2, 5);
    GrainModule first = moduleWith(settings);
    GrainModule second = moduleWith(settings);
    const ImagePtr a = grained(first, *source, wholePicture(40, 30));
    const ImagePtr b = grained(second, *source, wholePicture(40, 30));
    EXPECT_EQ(maxDifference(*a, *b), 0u);
    EXPECT_GT(maxDifference(*a, *source), 0u);
    // The same module again, and a copy of it, give the same grain.
    std::array<Parameter, kCount> records;
    first.defineParameters(records.data());
    first.takeParameters(records.data());
    GrainModule copy(first);
    EXPECT_EQ(maxDifference(*grained(first, *source, wholePicture(40, 30)), *a), 0u);
    EXPECT_EQ(maxDifference(*grained(copy, *source, wholePicture(40, 30)), *a), 0u);
}

TEST(GrainModule, SettingsAndTheirReadings) {
    GrainSettings settings;
    settings.size = {3, 8.5, 2};
    GrainModule module = moduleWith(settings);
    EXPECT_EQ(module.largestSize(), 8.5);  // the margins it gives are tested with the effects' hooks

    // Reading the same values again reports no change; another value does.
    std::array<Parameter, kCount> records;
    module.defineParameters(records.data());
    EXPECT_EQ(records[kGreenSize].numberDefault, 8.5);
    EXPECT_FALSE(module.takeParameters(records.data()));
    records[kRange].number = 10;
    EXPECT_TRUE(module.takeParameters(records.data()));

    module.setSizeAndAmount(2, 0);
    EXPECT_FALSE(module.isActive());
    module.setSizeAndAmount(4, 0.25);
    EXPECT_TRUE(module.isActive());
    EXPECT_EQ(module.largestSize(), 4);
    module.setSizes(-3);
    EXPECT_EQ(module.largestSize(), 0);
}

// Through the effect: the same noise moves 8 and 16-bit samples alike; the response table is
// read at a luminance index that may differ by one between the depths.
TEST(Grain, EightAndSixteenBitsAgree) {
    const ImagePtr source8 = makeNoiseImage(48, 32, 4, 1, 11);
    EXPECT_LE(renderDepthDifference("Grain", {{"grainGSize", 3}, {"grainRAmount", 70}}, *source8), 2u);
}

}  // namespace
