#include "paramblock/held_values.h"

#include <algorithm>
#include <cmath>

namespace {

double heldFraction(double value) { return std::min(std::max(value, 0.0), 1.0); }

}  // namespace

NumberRange numberRange(double minimum, double maximum, bool whole) {
    if (!whole) return {minimum, maximum};
    return {std::min(minimum, std::trunc(minimum)), std::max(maximum, std::trunc(maximum))};
}

double heldNumber(double stored, double current, const NumberRange& range) {
    if (!std::isfinite(stored)) return current;
    return std::min(std::max(stored, range.minimum), range.maximum);
}

RGBValue heldColor(const RGBValue& stored, const RGBValue& current) {
    if (!std::isfinite(stored.red) || !std::isfinite(stored.green) || !std::isfinite(stored.blue)) return current;
    return {heldFraction(stored.red), heldFraction(stored.green), heldFraction(stored.blue)};
}

PointValue heldPoint(const PointValue& stored, const PointValue& current) {
    if (!std::isfinite(stored.x) || !std::isfinite(stored.y)) return current;
    return stored;
}

uint32_t heldListIndex(uint32_t stored, uint32_t current, uint32_t itemCount) {
    return stored < itemCount ? stored : current;
}
