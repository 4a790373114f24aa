// How a parameter record takes a value read from a stored block (a parameters handle, the
// descriptor registry, a scripting descriptor, a preset file). A stored block may come from
// anywhere, so whoever reads one holds each value to what its record can hold, before any
// effect sees it:
//  - a Number is held to its record's range (numberRange); a non-finite one keeps the current value;
//  - each colour component is held to 0..1; a colour with a non-finite component keeps the current colour;
//  - a point has no range, since corners and positions may lie outside the picture; a point
//    with a non-finite coordinate keeps the current point;
//  - a list index beyond the items keeps the current index.
#pragma once

#include <cstdint>

#include "paramblock/parameter_values.h"

// The values a Number record can hold: minimum to maximum, and for a whole number also the
// whole numbers its slider offers, from trunc(minimum) to trunc(maximum); so 0.5..10 whole
// holds 0 to 10.
struct NumberRange {
    double minimum = 0.0;
    double maximum = 0.0;

    bool holds(double value) const { return value >= minimum && value <= maximum; }
};
NumberRange numberRange(double minimum, double maximum, bool whole);

double heldNumber(double stored, double current, const NumberRange& range);
RGBValue heldColor(const RGBValue& stored, const RGBValue& current);
PointValue heldPoint(const PointValue& stored, const PointValue& current);
uint32_t heldListIndex(uint32_t stored, uint32_t current, uint32_t itemCount);
