#include "fx/color_correct_group.h"

#include "imaging/color_correct.h"

void defineColorCorrectGroup(Parameter* parameters, const ColorCorrectGroup& group,
                             const ColorCorrectGroupDefaults& defaults) {
    Parameter* p = parameters;
    p[group.begin].defineGroupBegin("density", defaults.label, true);
    p[group.hue()].defineNumber("hue", "Hue", -360.0, 360.0, 0.0);
    p[group.saturation()].defineNumber("saturation", "Saturation", -100.0, 100.0, defaults.saturation);
    p[group.brightness()].defineNumber("brightness", "Brightness", -100.0, 100.0, defaults.brightness);
    p[group.contrast()].defineNumber("contrast", "Contrast", -100.0, 100.0, 0.0);
    p[group.gamma()].defineNumber("gamma", "Gamma", -100.0, 100.0, 0.0);
    for (uint32_t i = group.saturation(); i <= group.gamma(); ++i) p[i].addFlags(ParameterFlag::Percent);
    p[group.red()].defineNumber("red", "Red", -100.0, 100.0, 0.0);
    p[group.green()].defineNumber("green", "Green", -100.0, 100.0, 0.0);
    p[group.blue()].defineNumber("blue", "Blue", -100.0, 100.0, 0.0);
    p[group.warmCool()].defineNumber(defaults.warmCoolKey, "Warm/Cool", -50.0, 50.0, 0.0);
    p[group.end()].defineGroupEnd();
    p[group.begin].addFlags(defaults.groupFlags);
    p[group.end()].addFlags(defaults.groupFlags);
}

void applyColorCorrectGroup(const Effect& effect, const ColorCorrectGroup& group, PercentReading reading,
                            Image& image, const PixelRect& rect) {
    auto fraction = [&](uint32_t index) {
        const double value = effect.numberInRange(index);
        return reading == PercentReading::OverOneHundred ? value / 100.0 : value * 0.01;
    };
    colorCorrect(image, rect, effect.numberInRange(group.hue()), fraction(group.saturation()),
                 fraction(group.brightness()), fraction(group.contrast()), fraction(group.gamma()),
                 fraction(group.red()), fraction(group.green()), fraction(group.blue()), false);
    warmCoolShift(image, rect, fraction(group.warmCool()));
}
