#include "fx/grad_group.h"

#include <algorithm>
#include <iterator>

#include "imaging/gradient_matte.h"
#include "imaging/sample_traits.h"

namespace {

constexpr const char* kDirectionItems[] = {"Top-to-bottom", "Bottom-to-top", "Left-to-right", "Right-to-left"};
static_assert(std::size(kDirectionItems) == GradientDirection::kCount);
constexpr const char* kTintModeItems[] = {"HSV", "HLS", "Replace"};
static_assert(std::size(kTintModeItems) == TintMode::kCount);

}  // namespace

void defineGradGroup(Parameter* parameters, const GradGroup& group, const GradGroupDefaults& defaults) {
    Parameter* p = parameters;
    p[group.begin].defineGroupBegin("grad", "Grad", true);
    if (group.withEnable) p[group.enable()].defineBoolean("gradEnable", "Enable", false);
    p[group.direction()].defineList("dir", "Direction", kDirectionItems, uint32_t(std::size(kDirectionItems)),
                                    defaults.direction);
    p[group.upperLeft()].definePoint("ul", "Upper-Left", -0.5, -0.5);
    p[group.upperRight()].definePoint("ur", "Upper-Right", 0.5, -0.5);
    p[group.lowerRight()].definePoint("lr", "Lower-Right", 0.5, 0.5);
    p[group.lowerLeft()].definePoint("ll", "Lower-Left", -0.5, 0.5);
    for (uint32_t corner = group.upperLeft(); corner <= group.lowerLeft(); ++corner)
        p[corner].addFlags(ParameterFlag::Hidden);
    p[group.size()].defineNumber("size", "Size", 1.0, 199.0, 100.0);
    p[group.end()].defineGroupEnd();
    p[group.begin].addFlags(defaults.groupFlags);
    p[group.end()].addFlags(defaults.groupFlags);
}

// A corner at fraction f of a side of n pixels, measured from the centre, lies at (f + 0.5) n.
ImagePtr buildGroupGradient(const Effect& effect, const GradGroup& group, const Image& output, const PixelRect& rect,
                            const fx::Plugin::RenderInfo& info, const SourceMargin& margin) {
    // A preview sees the picture zoomed while the image size stays the document's.
    const double width = truncToInt(info.imageWidth * info.scaleX);
    const double height = truncToInt(info.imageHeight * info.scaleY);
    Quad corners;
    const uint32_t records[4] = {group.upperLeft(), group.upperRight(), group.lowerRight(), group.lowerLeft()};
    for (int i = 0; i < 4; ++i) {
        const PointValue point = effect.pointValue(records[i]);
        corners[size_t(i)] = {(point.x + 0.5) * width, (point.y + 0.5) * height};
    }
    const PixelRect block = margin.grow(info.outputRect);
    const int32_t originX = std::max(0, block.left);
    const int32_t originY = std::max(0, block.top);
    ImagePtr matte = ImagePtr::make({output.width, output.height}, 1, output.bytesPerChannel);
    buildGradientMatte(*matte, rect, originX, originY, corners, effect.numberInRange(group.size()) * 0.01,
                       effect.listValue(group.direction()));
    return matte;
}

void defineTintModeList(Parameter& record, const char* key, const char* label) {
    record.defineList(key, label, kTintModeItems, uint32_t(std::size(kTintModeItems)), TintMode::kHsv);
    record.addFlags(ParameterFlag::NotifyOnChange);
}

void defineTintRecords(Parameter* parameters, const TintRecords& records, const TintRecordsDefaults& defaults) {
    Parameter* p = parameters;
    p[records.opacity].defineNumber(defaults.opacityKey, "Opacity", 0.0, 100.0, defaults.opacity);
    p[records.color].defineColor(defaults.colorKey, defaults.colorLabel, defaults.color.red,
                                 defaults.color.green, defaults.color.blue);
    defineTintModeList(p[records.mode], defaults.modeKey);
    p[records.highlights].defineNumber("highlights", "HLS Highlights", 0.0, 100.0, 100.0);
}

TintSettings tintSettings(const Effect& effect, const TintRecords& records, bool is16) {
    TintSettings settings;
    if (is16) {
        const auto color = effect.color16(records.color);
        settings.color = {color[0], color[1], color[2]};
    } else {
        const auto color = effect.color8(records.color);
        settings.color = {color[0], color[1], color[2]};
    }
    settings.opacity =
        records.opacity == TintRecords::kFullOpacity ? 1.0 : effect.numberInRange(records.opacity) * 0.01;
    settings.mode = effect.listValue(records.mode);
    settings.highlights = effect.numberInRange(records.highlights) * 0.01;
    return settings;
}

void tintModeChanged(Effect& effect, const TintRecords& records, uint32_t index) {
    if (index == records.mode)
        effect.parameter(records.highlights).setEnabled(effect.listValue(records.mode) == TintMode::kHls);
}
