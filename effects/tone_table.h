// An effect-owned table of a tone adjustment for one sample size: entry i is
// toneAdjust(i / one, gain, contrast, bend) x one, truncated, or rounded to the nearest level
// when the table is made with Rounding::Nearest; the identity ramp when all three are 0.
//
// The memory comes from the memory handler when the table is prepared, which effects do at
// the prepare step: a run that cannot have it ends with the out-of-memory result before any
// tile, instead of clearing every tile. The table is rebuilt only when a setting or the
// sample size changes, so a run in many tiles builds it once.
#pragma once

#include <cstdint>

#include "effects/owned_table.h"
#include "imaging/image.h"
#include "imaging/pixel_rect.h"

class ToneTable {
public:
    enum class Rounding { Truncate, Nearest };

    explicit ToneTable(Rounding rounding, fx::MemoryHandler& memory = PS_MemHandler::instance())
        : rounding_(rounding), levels8_(memory), levels16_(memory) {}

    // Makes the table hold the levels of these settings for the sample size. Raises
    // fx::OutOfMemory when the table cannot be allocated; it then stays missing, and the next
    // prepare tries again.
    void prepare(double gain, double contrast, double bend, bool is16);

    // The settings leave every level as it is.
    bool isIdentity() const { return gain_ == 0.0 && contrast_ == 0.0 && bend_ == 0.0; }

    // The levels for samples of this type; prepare must have succeeded for its size.
    template <class Sample>
    const Sample* levels() const;

    // Red, green and blue of rect through the table, alpha untouched; nothing when the table is
    // the identity. Prepares the table for the image's sample size first (cheap when it is).
    void apply(Image& image, const PixelRect& rect);

private:
    template <class Sample>
    void fill(Sample* table) const;
    template <class Sample>
    OwnedTable<Sample>& tableOf() {
        if constexpr (sizeof(Sample) == 2)
            return levels16_;
        else
            return levels8_;
    }

    Rounding rounding_;
    OwnedTable<uint8_t> levels8_;
    OwnedTable<uint16_t> levels16_;
    double gain_ = 0.0;
    double contrast_ = 0.0;
    double bend_ = 0.0;
    bool built_ = false;
    bool is16_ = false;
};
