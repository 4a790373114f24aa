// An effect's values as a parameter block, and a block's values taken into an effect.
// The byte format itself is paramblock/parameter_block.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "paramblock/parameter_block.h"

struct Effect;

// The block of an effect's current values.
ParameterBlock blockOf(const Effect& effect);
std::vector<uint8_t> encodeBlock(const Effect& effect);

// Applies a block to an effect. False when it is not for this effect (another title,
// count or record size) or shorter than it claims. Records whose kind or key differ are
// skipped one by one. Every value is held to what its record can hold as it is read
// (paramblock/held_values.h): numbers to their range, colours to 0..1; a non-finite value
// or a list index beyond the items keeps the current value.
bool readBlock(Effect& effect, const uint8_t* bytes, size_t size);
