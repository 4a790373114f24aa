// Low Contrast's shadow-lift curve as lookup tables, one per sample size: entry i is
// trunc(curve(i / full) x full) of the shadows tone curve, full at black falling to 0 at
// white. One set serves every instance of the process; each table is built on its first use.
#pragma once

#include <cstdint>

#include "fx/memory_handler.h"

class ShadowTables {
public:
    // Tables allocated through the plug-in's memory handler.
    constexpr ShadowTables() = default;
    // Tables allocated through the given handler (which must outlive the tables).
    explicit ShadowTables(fx::MemoryHandler& memory) : memory_(&memory) {}
    ~ShadowTables();
    ShadowTables(const ShadowTables&) = delete;
    ShadowTables& operator=(const ShadowTables&) = delete;

    // The table of the sample size (256 or 32769 entries), built on first use. A table that
    // cannot be allocated raises the out-of-memory exception and stays unbuilt, so that a
    // later call tries again.
    const uint8_t* table8() { return table8_ ? table8_ : build(table8_); }
    const uint16_t* table16() { return table16_ ? table16_ : build(table16_); }

    // The process-wide tables shared by every Low Contrast instance.
    static ShadowTables& shared();

private:
    fx::MemoryHandler& memory() const;
    template <class Sample>
    const Sample* build(Sample*& table);

    fx::MemoryHandler* memory_ = nullptr;
    // Null until built: the built flag of each sample size.
    uint8_t* table8_ = nullptr;
    uint16_t* table16_ = nullptr;
};
