// Temperature, Warm/Cool and Fluorescent: worked pixels.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/constant_pixel.h"
#include "tests/support/effect_harness.h"

namespace {

// ---- Pixels ------------------------------------------------------------------------------

INSTANTIATE_TEST_SUITE_P(
    TemperatureEffects, ConstantPixel,
    ::testing::Values(
        // Warm/Cool: k = trunc(t x 0.01 x one), blue + k, red - k.
        ConstantPixelCase{"WarmCool", {{"temperature", 50}}, 1, {100, 100, 100}, {0, 100, 227}},
        ConstantPixelCase{"WarmCool", {{"temperature", 50}}, 2, {16384, 16384, 16384}, {0, 16384, 32768}},
        ConstantPixelCase{"WarmCool", {{"temperature", -50}}, 1, {100, 100, 100}, {227, 100, 0}},
        ConstantPixelCase{"WarmCool", {{"temperature", 10}}, 1, {200, 7, 0}, {175, 7, 25}},
        // Fluorescent: k = 51 at 20; blue 179 + 35, green 77 + 15, red 128 + 25.
        ConstantPixelCase{"Fluorescent", {{"temperature", 20}}, 1, {128, 128, 128}, {153, 92, 214}},
        // At 16 bits k = trunc(0.2f x 32768) = 6553: blue 22937 + 4587, green 9831 + 1966, red 16384 + 3276.
        ConstantPixelCase{"Fluorescent", {{"temperature", 20}}, 2, {16384, 16384, 16384}, {19660, 11797, 27524}},
        ConstantPixelCase{"Fluorescent", {{"temperature", 20}}, 1, {255, 255, 255}, {255, 244, 255}},
        // f = 0.1: k = 25; blue 25 + 2; green stays at 0.
        ConstantPixelCase{"Fluorescent", {{"temperature", 10}}, 1, {0, 0, 0}, {0, 0, 27}},
        // Temperature: half-scale sliders.
        ConstantPixelCase{"Temperature", {{"temperature", 100}}, 1, {100, 100, 100}, {0, 100, 227}},
        ConstantPixelCase{"Temperature", {{"temperature", 100}}, 2, {16384, 16384, 16384}, {0, 16384, 32768}},
        ConstantPixelCase{"Temperature", {{"cyanMagenta", 100}}, 1, {100, 100, 100}, {227, 0, 227}},
        ConstantPixelCase{"Temperature", {{"cyanMagenta", -100}}, 1, {100, 100, 100}, {0, 227, 227}},
        ConstantPixelCase{"Temperature", {{"cyanMagenta", -100}}, 2, {16384, 16384, 16384}, {0, 32768, 32768}},
        // T = 51, C = 25, A = 25.
        ConstantPixelCase{
            "Temperature", {{"temperature", 40}, {"cyanMagenta", -20}}, 1, {200, 100, 50}, {124, 125, 126}},
        // Brightness +100 is x 1.5 through the rounded table, clamped.
        ConstantPixelCase{"Temperature", {{"brightness", 100}}, 1, {100, 102, 200}, {150, 153, 255}},
        ConstantPixelCase{"Temperature", {{"brightness", 100}}, 2, {16384, 8192, 30000}, {24576, 12288, 32768}},
        ConstantPixelCase{"Temperature", {{"brightness", -100}}, 1, {100, 102, 255}, {50, 51, 128}},
        // The shift comes first, then the brightness table: red 101 - 25 = 76 -> 114, blue 126 -> 189.
        ConstantPixelCase{
            "Temperature", {{"temperature", 20}, {"brightness", 100}}, 1, {101, 100, 101}, {114, 150, 189}}));

}  // namespace
