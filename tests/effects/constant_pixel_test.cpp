#include "tests/support/constant_pixel.h"

void PrintTo(const ConstantPixelCase& c, std::ostream* out) {
    *out << c.key;
    for (const Setting& s : c.settings) *out << " " << s.key << "=" << s.value;
    *out << ", " << 8 * c.bytesPerChannel << "-bit (" << c.in[0] << ", " << c.in[1] << ", " << c.in[2] << ")";
}

std::vector<Setting> plus(std::vector<Setting> settings, Setting extra) {
    settings.push_back(extra);
    return settings;
}

TEST_P(ConstantPixel, EveryPixelIsTheWorkedValueAndAlphaIsKept) {
    const ConstantPixelCase& c = GetParam();
    const uint32_t alpha = c.bytesPerChannel == 2 ? 12345 : 77;
    const ImagePtr source = makeImage(5, 3, 4, c.bytesPerChannel, {c.in[0], c.in[1], c.in[2], alpha});
    EffectHarness harness(c.key);
    harness.apply(c.settings);
    const ImagePtr output = harness.render(*source);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x) {
            const std::array<uint32_t, 3> pixel = {sampleAt(*output, x, y, 0), sampleAt(*output, x, y, 1),
                                                   sampleAt(*output, x, y, 2)};
            ASSERT_EQ(pixel, c.out) << "at " << x << "," << y;
            ASSERT_EQ(sampleAt(*output, x, y, 3), alpha);
        }
}
