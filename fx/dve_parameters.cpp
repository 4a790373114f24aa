#include "fx/dve_parameters.h"

using namespace DveParameter;

namespace {

// Carried on the group records; no behaviour of the framework or the dialog depends on it.
constexpr uint16_t kGroupMark = 256;

PlanePoint planePoint(const PointValue& point) { return {point.x, point.y}; }

void definePoint(Parameter& record, const char* key, const char* label, const PlanePoint& value) {
    record.definePoint(key, label, value.x, value.y);
}

}  // namespace

void defineParameters(const DveTransform& transform, Parameter* parameters, uint32_t firstIndex) {
    const DveSettings& s = transform.settings();
    Parameter* group = parameters + firstIndex;
    group[kGroup].defineGroupBegin("dve", "DVE", true);
    group[kCropGroup].defineGroupBegin("dveCrop", "Crop", true);
    // Percentages of 32-bit float fields, taken in single precision.
    group[kCropTop].defineNumber("dveCropTop", "Top", 0.0, 100.0, double(s.cropTop * 100.0f));
    group[kCropBottom].defineNumber("dveCropBottom", "Bottom", 0.0, 100.0, double(s.cropBottom * 100.0f));
    group[kCropLeft].defineNumber("dveCropLeft", "Left", 0.0, 100.0, double(s.cropLeft * 100.0f));
    group[kCropRight].defineNumber("dveCropRight", "Right", 0.0, 100.0, double(s.cropRight * 100.0f));
    group[kCropGroupEnd].defineGroupEnd();
    group[kCornerPinGroup].defineGroupBegin("dveCornerPin", "Corner-Pin", true);
    definePoint(group[kCornerPinUpperLeft], "dveCornerPinUL", "Upper-Left", s.cornerUpperLeft);
    definePoint(group[kCornerPinUpperRight], "dveCornerPinUR", "Upper-Right", s.cornerUpperRight);
    definePoint(group[kCornerPinLowerRight], "dveCornerPinLR", "Lower-Right", s.cornerLowerRight);
    definePoint(group[kCornerPinLowerLeft], "dveCornerPinLL", "Lower-Left", s.cornerLowerLeft);
    group[kCornerPinGroupEnd].defineGroupEnd();
    definePoint(group[kPosition], "dvePosition", "Position", s.position);
    group[kScaleX].defineNumber("dveScaleX", "Scale.X", 0.0, 500.0, double(s.scaleX * 100.0f));
    group[kScaleY].defineNumber("dveScaleY", "Scale.Y", 0.0, 500.0, double(s.scaleY * 100.0f));
    group[kScaleGang].defineBoolean("dveScaleGang", "Gang Scale", true);
    group[kRotate].defineNumber("dveRotate", "Rotate", -360.0, 360.0, double(s.rotate));
    group[kShearX].defineNumber("dveShearX", "Shear.X", -50.0, 50.0, 0.0);
    group[kShearY].defineNumber("dveShearY", "Shear.Y", -50.0, 50.0, 0.0);
    group[kAnchorX].defineNumber("dveAnchorX", "Anchor.X", -100.0, 100.0, 0.0);
    group[kAnchorY].defineNumber("dveAnchorY", "Anchor.Y", -100.0, 100.0, 0.0);
    group[kGroupEnd].defineGroupEnd();

    group[kGroup].addFlags(kGroupMark);
    group[kCropGroup].addFlags(kGroupMark | ParameterFlag::Hidden);
    group[kCropGroupEnd].addFlags(ParameterFlag::Hidden);
    group[kCornerPinGroup].addFlags(kGroupMark | ParameterFlag::Hidden);
    group[kCornerPinGroupEnd].addFlags(ParameterFlag::Hidden);
    group[kScaleGang].addFlags(ParameterFlag::NotifyOnChange);
    group[kRotate].addFlags(ParameterFlag::Degrees);
    for (uint32_t hidden : {kShearX, kShearY, kAnchorX, kAnchorY}) group[hidden].addFlags(ParameterFlag::Hidden);
    // "Scale.Y" follows the gang from the start, not only once the dialog reports the switch.
    group[kScaleY].setEnabled(!group[kScaleGang].boolean);
}

void onParameterChanged(DveTransform&, Parameter* group, uint32_t index) {
    if (index == kScaleGang) group[kScaleY].setEnabled(!group[kScaleGang].boolean);
}

DveSettings dveSettings(const Parameter* group) {
    DveSettings s;
    s.cropTop = float(group[kCropTop].numberInRange() * 0.01);
    s.cropBottom = float(group[kCropBottom].numberInRange() * 0.01);
    s.cropLeft = float(group[kCropLeft].numberInRange() * 0.01);
    s.cropRight = float(group[kCropRight].numberInRange() * 0.01);
    s.cornerUpperLeft = planePoint(group[kCornerPinUpperLeft].point);
    s.cornerUpperRight = planePoint(group[kCornerPinUpperRight].point);
    s.cornerLowerRight = planePoint(group[kCornerPinLowerRight].point);
    s.cornerLowerLeft = planePoint(group[kCornerPinLowerLeft].point);
    s.position = planePoint(group[kPosition].point);
    s.rotate = float(group[kRotate].numberInRange());
    s.anchor = {group[kAnchorX].numberInRange() * 0.01, group[kAnchorY].numberInRange() * 0.01};
    s.scaleX = float(group[kScaleX].numberInRange() * 0.01);
    s.scaleY = group[kScaleGang].boolean ? s.scaleX : float(group[kScaleY].numberInRange() * 0.01);
    s.shearX = float(group[kShearX].numberInRange());
    s.shearY = float(group[kShearY].numberInRange());
    return s;
}

bool update(DveTransform& transform, const Parameter* group) { return transform.update(dveSettings(group)); }

DveSampling dveSampling(const fx::Plugin::RenderInfo& renderInfo) {
    DveSampling sampling;
    sampling.smooth = renderInfo.reservedWord1 != 0;
    sampling.halfHeight = renderInfo.reservedWord2 == 0;
    sampling.aspect = renderInfo.reservedOne2;
    return sampling;
}

void apply(const DveTransform& transform, Image& image, const fx::Plugin::RenderInfo& renderInfo) {
    transform.apply(image, dveSampling(renderInfo));
}
