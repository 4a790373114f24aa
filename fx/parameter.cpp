#include "fx/parameter.h"

#include <cstdio>

#include "imaging/sample_traits.h"

void Parameter::defineNamed(ParameterKind k, const char* key, const char* text) {
    kind = k;
    name = key;
    label = text;
}

void Parameter::defineInput(const char* key, const char* text, uint8_t secondary) {
    defineNamed(ParameterKind::Input, key, text);
    image.reset();
    secondaryInput = secondary;
}

void Parameter::defineNumber(const char* key, const char* text, double min, double max, double def, uint32_t word) {
    defineNamed(ParameterKind::Number, key, text);
    minimum = min;
    maximum = max;
    numberDefault = def;
    number = def;
    numberWord = word;
}

void Parameter::defineBoolean(const char* key, const char* text, bool def) {
    defineNamed(ParameterKind::Boolean, key, text);
    booleanDefault = def;
    boolean = def;
}

void Parameter::defineList(const char* key, const char* text, const char* const* listItems, uint32_t count,
                           uint32_t def) {
    defineNamed(ParameterKind::List, key, text);
    items = listItems;
    itemCount = count;
    listDefault = def;
    listIndex = def;
}

void Parameter::defineColor(const char* key, const char* text, double red, double green, double blue) {
    defineNamed(ParameterKind::Color, key, text);
    colorDefault = {red, green, blue};
    color = colorDefault;
}

void Parameter::definePoint(const char* key, const char* text, double x, double y) {
    defineNamed(ParameterKind::Point, key, text);
    pointDefault = {x, y};
    point = pointDefault;
}

void Parameter::defineGroupBegin(const char* key, const char* text, bool open) {
    defineNamed(ParameterKind::GroupBegin, key, text);
    setOpen(open);
}

void Parameter::defineGroupEnd() { defineNamed(ParameterKind::GroupEnd, nullptr, nullptr); }

void Parameter::defineImageFile(const char* key, const char* text, const char* menuGroup, const char* resourceFolder) {
    defineNamed(ParameterKind::ImageFile, key, text);
    group = menuGroup;
    folder = resourceFolder;
    path.clear();
}

void Parameter::setBit(uint16_t bit, bool on) {
    if (hasFlag(bit) == on) return;
    flags = uint16_t(on ? (flags | bit) : (flags & ~bit));
    flags = uint16_t(flags | ParameterFlag::NeedsRefresh);
}

void Parameter::resetToDefault() {
    switch (kind) {
        case ParameterKind::Number: number = numberDefault; break;
        case ParameterKind::Boolean: boolean = booleanDefault; break;
        case ParameterKind::List: listIndex = listDefault; break;
        case ParameterKind::Color: color = colorDefault; break;
        case ParameterKind::Point: point = pointDefault; break;
        case ParameterKind::ImageFile: path.clear(); break;
        default: break;
    }
}

std::string Parameter::formatNumber() const {
    char text[64];
    if (hasFlag(ParameterFlag::Whole))
        std::snprintf(text, sizeof text, "%d", truncToInt(number));
    else
        std::snprintf(text, sizeof text, "%lg", number);
    return text;
}
