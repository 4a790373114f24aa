#include "paramblock/parameter_kind.h"

const char* parameterKindName(ParameterKind kind) {
    switch (kind) {
        case ParameterKind::Input: return "Input";
        case ParameterKind::Number: return "Number";
        case ParameterKind::Boolean: return "Boolean";
        case ParameterKind::List: return "List";
        case ParameterKind::Color: return "Color";
        case ParameterKind::Point: return "Point";
        case ParameterKind::GroupBegin: return "GroupBegin";
        case ParameterKind::GroupEnd: return "GroupEnd";
        case ParameterKind::ImageFile: return "ImageFile";
        default: return "None";
    }
}
