#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "fx/effect_registry.h"
#include "tests/fx/test_effect.h"

namespace {

TEST(EffectRegistry, RegisteredEffectsFollowTheSuiteOrder) {
    const char* const order[] = {
        "BlackMist",     "BleachBypass",   "BlackAndWhite", "CenterSpot",    "ColorCorrect", "ColorGrad",
        "CombinedGrad",  "CoolMist",       "Defocus",       "Diffusion",     "DualTint",     "FastBlur",
        "FauxFilm",      "Fluorescent",    "Fog",           "Glow",          "Grain",        "InfraRed",
        "Light",         "LowContrast",    "MatteGenerator", "Mist",         "NDGrad",       "NightVision",
        "Overexpose",    "Ozone",          "Polarizer",     "SelectiveColor", "SelectiveFocus", "SelectiveGrad",
        "SkinSmoother",  "Star",           "Streaks",       "Temperature",   "Tint",         "WarmCool",
        "WarmMist"};
    const EffectRegistry& registry = EffectRegistry::instance();
    ASSERT_GE(registry.count(), 3u);
    size_t position = 0;
    for (uint32_t i = 0; i < registry.count(); ++i) {
        while (position < std::size(order) && std::strcmp(order[position], registry.keyAt(i)) != 0) ++position;
        ASSERT_LT(position, std::size(order)) << registry.keyAt(i) << " is out of order or unknown";
    }
}

TEST(EffectRegistry, EveryClassAnswersTheSharedTexts) {
    const EffectRegistry& registry = EffectRegistry::instance();
    const uint8_t* id = registry.classAt(0)->classId();
    for (uint32_t i = 0; i < registry.count(); ++i) {
        const EffectClass* c = registry.classAt(i);
        EXPECT_STREQ(c->category(), "Tessarine");
        EXPECT_STREQ(c->group(), "QEL Ravo");
        EXPECT_STREQ(c->hostTag(), "Ravo PS");
        EXPECT_EQ(std::memcmp(c->classId(), id, 16), 0);
        int32_t major = 0, minor = 1, patch = 1;
        c->version(&major, &minor, &patch);
        EXPECT_EQ(major * 100 + minor * 10 + patch, 300);
        EXPECT_EQ(std::string(c->title()).rfind("Ravo ", 0), 0u);
    }
}

TEST(EffectRegistry, RepeatedKeyFindsTheFirst) {
    EffectRegistry registry;
    const char* key = registry.add("TestKinds", &effectClassOf<KindsEffect>());
    registry.add("TestKinds", EffectRegistry::instance().classAt(0));
    EXPECT_STREQ(key, "TestKinds");
    EXPECT_EQ(registry.count(), 2u);
    std::unique_ptr<Effect, EffectDeleter> effect(registry.create("TestKinds"));
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->effectClass, &effectClassOf<KindsEffect>());
}

TEST(EffectRegistry, CloneHasDefaultsAndTheSourceFlags) {
    std::unique_ptr<Effect, EffectDeleter> source(effectClassOf<KindsEffect>().create());
    source->parameter(2).number = 99;
    source->addFlags(32768);
    std::unique_ptr<Effect, EffectDeleter> copy(source->effectClass->clone(source.get()));
    EXPECT_EQ(copy->effectClass, source->effectClass);
    EXPECT_EQ(copy->effectFlags, source->effectFlags);
    EXPECT_EQ(copy->numberValue(2), 25.0);
    EXPECT_EQ(copy->parameterCount, 9u);
}

}  // namespace
