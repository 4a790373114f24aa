// A small effect used by the framework tests: one parameter of every kind.
#pragma once

#include "fx/effect.h"
#include "fx/effect_class.h"

struct KindsEffect : Effect {
    static constexpr const char* kTitle = "Ravo Test Kinds";
    static constexpr const char* kDescription = "Every parameter kind.";
    static constexpr uint32_t kEffectFlags = 10;
    static constexpr const char* kItems[] = {"Output", "Original", "Matte"};

    Parameter params[9];

    static void define(KindsEffect& e) {
        e.params[0].defineInput("background", "Background", 0);
        e.params[1].defineGroupBegin("group", "Group", true);
        e.params[2].defineNumber("amount", "Amount", -100, 100, 25);
        e.params[3].defineBoolean("invert", "Invert", false);
        e.params[4].defineList("view", "View", kItems, 3, 0);
        e.params[5].defineColor("tint", "Tint", 1.0, 0.5, 0.0);
        e.params[6].definePoint("center", "Center", 0.0, 0.0);
        e.params[7].defineImageFile("texture", "Texture", "QEL Ravo", "Textures");
        e.params[8].defineGroupEnd();
        e.params[2].addFlags(ParameterFlag::Whole);
    }
};
