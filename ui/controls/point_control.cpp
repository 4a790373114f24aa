#include "ui/controls/point_control.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace PSDriver {

namespace {

// The forms a typed point is read in, the first that yields two numbers winning.
const char* const kPointForms[] = {"%lg, %lg", "%lg,%lg", "%lg %lg"};

// The two numbers of a typed point. Infinite or not-a-number readings are refused too: a
// point holds only finite coordinates.
std::optional<PointValue> typedPercentages(const std::string& text) {
    for (const char* form : kPointForms) {
        double a = 0.0, b = 0.0;
        if (std::sscanf(text.c_str(), form, &a, &b) != 2) continue;
        if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
        return PointValue{a, b};
    }
    return std::nullopt;
}

}  // namespace

PointControl::PointControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex)
    : LabelledControl(dialog, bounds, parameter, parameterIndex),
      field_(addPart<ADM::Edit>(ps::kRavoControlValue, valueLineStart(kFieldWidth))) {
    field_.connect(ADM::kChanged, this, &PointControl::fieldChanged);
    update();
}

void PointControl::update() {
    char text[64];
    std::snprintf(text, sizeof text, "%5.2lg, %5.2lg", parameter->point.x * 100, parameter->point.y * 100);
    field_.setText(text);
}

void PointControl::fieldChanged(ADM::CallbackObject&, void*) {
    if (const auto typed = typedPercentages(field_.text())) parameter->point = {typed->x * 0.01, typed->y * 0.01};
    update();
    changed();
}

}  // namespace PSDriver
