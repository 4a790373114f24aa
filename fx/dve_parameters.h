// The parameter group of the placement transform: 23 records that an effect places in its
// own parameter list (Diffusion, Light!), and the operations that define them, react to the
// scale gang and hand their values to the transform.
//
// The dialog shows the "DVE" group with Position, Scale.X, Scale.Y, Gang Scale and Rotate;
// the crop and corner-pin groups and the shear and anchor records are hidden but take part
// in rendering and scripting.
//
// defineParameters takes the effect's array and the index of the group's first record;
// the other operations take a pointer to the group's first record and indices within it.
#pragma once

#include <cstdint>

#include "fx/parameter.h"
#include "fx/render_info.h"
#include "imaging/dve_transform.h"
#include "imaging/image.h"

// Indices of the group's records, from its first record.
namespace DveParameter {
constexpr uint32_t kGroup = 0;
constexpr uint32_t kCropGroup = 1;
constexpr uint32_t kCropTop = 2;
constexpr uint32_t kCropBottom = 3;
constexpr uint32_t kCropLeft = 4;
constexpr uint32_t kCropRight = 5;
constexpr uint32_t kCropGroupEnd = 6;
constexpr uint32_t kCornerPinGroup = 7;
constexpr uint32_t kCornerPinUpperLeft = 8;
constexpr uint32_t kCornerPinUpperRight = 9;
constexpr uint32_t kCornerPinLowerRight = 10;
constexpr uint32_t kCornerPinLowerLeft = 11;
constexpr uint32_t kCornerPinGroupEnd = 12;
constexpr uint32_t kPosition = 13;
constexpr uint32_t kScaleX = 14;
constexpr uint32_t kScaleY = 15;
constexpr uint32_t kScaleGang = 16;
constexpr uint32_t kRotate = 17;
constexpr uint32_t kShearX = 18;
constexpr uint32_t kShearY = 19;
constexpr uint32_t kAnchorX = 20;
constexpr uint32_t kAnchorY = 21;
constexpr uint32_t kGroupEnd = 22;
constexpr uint32_t kCount = 23;
}  // namespace DveParameter

// Writes the 23 records at parameters[firstIndex ..]; defaults come from the transform's
// current settings.
void defineParameters(const DveTransform& transform, Parameter* parameters, uint32_t firstIndex);

// Reacts to a change of record `index` of the group: the gang switch enables "Scale.Y"
// exactly while it is off.
void onParameterChanged(DveTransform& transform, Parameter* group, uint32_t index);

// The group's values in the transform's units: crop, scale and anchor x 0.01, points and
// angles as they are, Scale.Y equal to Scale.X while the gang is on. Numbers are held to
// their records' ranges.
DveSettings dveSettings(const Parameter* group);

// Hands the group's values to the transform; returns whether anything changed.
bool update(DveTransform& transform, const Parameter* group);

// What the render tells the transform about sampling: bilinear unless the render asks for
// nearest (reservedWord1 0), the field frame when reservedWord2 is 0, the aspect factor
// reservedOne2.
DveSampling dveSampling(const fx::Plugin::RenderInfo& renderInfo);

// The transform applied to image for this render.
void apply(const DveTransform& transform, Image& image, const fx::Plugin::RenderInfo& renderInfo);
