#include "effects/low_contrast_tables.h"

#include "imaging/sample_traits.h"
#include "imaging/tone_curve.h"

ShadowTables& ShadowTables::shared() {
    // Made on first use, after the plug-in's memory handler, so that it is destroyed first when
    // the plug-in file is unloaded and can still hand its tables back to the handler.
    static ShadowTables tables;
    return tables;
}

ShadowTables::~ShadowTables() {
    memory().release(table8_);
    memory().release(table16_);
}

fx::MemoryHandler& ShadowTables::memory() const {
    return memory_ ? *memory_ : static_cast<fx::MemoryHandler&>(PS_MemHandler::instance());
}

template <class Sample>
const Sample* ShadowTables::build(Sample*& table) {
    using Traits = SampleTraits<Sample>;
    ToneCurve curve = ToneCurve::shadows();
    // The pointer is published only once every entry is written.
    Sample* entries = static_cast<Sample*>(memory().allocate(sizeof(Sample) * Traits::tableSize));
    for (int32_t i = 0; i < Traits::tableSize; ++i)
        entries[i] = Sample(truncToInt(curve.evaluate(double(i) / Traits::full) * Traits::full));
    table = entries;
    return table;
}

template const uint8_t* ShadowTables::build(uint8_t*&);
template const uint16_t* ShadowTables::build(uint16_t*&);
