// Checks a run of parameter records against a table of what they must be: kind, flags, key
// and label, and the range and default that the kind carries.
#pragma once

#include <cstdint>
#include <vector>

#include "fx/parameter.h"

struct ParameterRow {
    const char* key;  // null for a GroupEnd
    const char* label;
    ParameterKind kind;
    uint16_t flags;
    // Number: range and default; List: the default index; Boolean: the default (non-zero on).
    double minimum = 0, maximum = 0, value = 0;
    std::vector<const char*> items = {};  // List
    PointValue point = {};                // Point: the default
};

// records[i] against rows[i] for every row; the current value must be the default.
void expectParameterRows(const Parameter* records, const std::vector<ParameterRow>& rows);
