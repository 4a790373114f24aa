// A blur pair: the horizontal and vertical blur sizes of an effect with the gang switch that
// makes the vertical size follow the horizontal one, and the blur of a render at those sizes.
//
// The pair is a run of three records of an effect's array: horizontal size at `first`,
// vertical size at first + 1, gang switch at first + 2. While the gang is on the vertical
// size follows the horizontal one and its control is disabled.
#pragma once

#include <cstdint>

#include "fx/parameter.h"
#include "fx/render_info.h"
#include "imaging/blur.h"

// Offsets of a blur pair's records from its first record.
namespace BlurPairParameter {
constexpr uint32_t kHorizontal = 0;
constexpr uint32_t kVertical = 1;
constexpr uint32_t kGang = 2;
constexpr uint32_t kCount = 3;
}  // namespace BlurPairParameter

// Keys, labels, range and defaults of one effect's blur pair. Sizes run from 0 to maximum.
struct BlurPairDefinition {
    const char* horizontalKey;
    const char* horizontalLabel;
    const char* verticalKey;
    const char* verticalLabel;
    const char* gangKey;
    const char* gangLabel;
    double maximum;
    double defaultSize;
    // Bits ORed into both size records (16, notify on change, for most effects).
    uint16_t sizeFlags = ParameterFlag::NotifyOnChange;
    bool ganged = true;
};

// Writes the three records at parameters[first ..]; the gang switch notifies on change.
void defineBlurPair(Parameter* parameters, uint32_t first, const BlurPairDefinition& definition);

// Blur sizes in pixels at full image size.
struct BlurSizes {
    double horizontal;
    double vertical;
};

// The horizontal size, and as the vertical one the second record's value while the gang is
// off, the horizontal size while it is on; each held to its record's range, so that a damaged
// stored value stays usable.
BlurSizes blurPairSizes(const Parameter* parameters, uint32_t first);

// A change of record `changed`: a new horizontal size while ganged is copied into the vertical
// record, which is marked for refresh; a change of the gang enables the vertical record
// exactly while the gang is off. Other indices are ignored.
void blurPairChanged(Parameter* parameters, uint32_t first, uint32_t changed);
// Only the gang half of blurPairChanged, for effects whose vertical value stays put while
// ganged (the render reads the horizontal size for both directions).
void blurGangChanged(Parameter* parameters, uint32_t first, uint32_t changed);

// Sets blur up for this render: the sizes scaled by the render's scale factors (as 32-bit
// floats) and the render's extra passes.
void prepareBlur(Blur& blur, const BlurSizes& sizes, const fx::Plugin::RenderInfo& info);
