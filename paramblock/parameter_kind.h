// The kinds of parameter record. A stored block names each record's kind by these codes,
// and the plug-in's published parameter descriptions name them by parameterKindName.
#pragma once

#include <cstdint>

enum class ParameterKind : uint32_t {
    None = 0,
    Input = 1,
    Number = 2,
    Boolean = 3,
    List = 4,
    Color = 5,
    Point = 6,
    GroupBegin = 7,
    GroupEnd = 8,
    ImageFile = 10,
};

const char* parameterKindName(ParameterKind kind);
