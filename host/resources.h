// The plug-in property (PiPL) and scripting terminology (AETE) resources of every
// menu command, generated from the one command table. The Linux plug-in hands
// them to its host through an export; the Windows build compiles the same bytes
// into its resources.
#pragma once

#include <cstdint>
#include <vector>

#include "host/entry_table.h"

namespace resource_type {
constexpr uint32_t kPiPL = 0x5049504C;  // 'PIPL'
constexpr uint32_t kAete = 0x41455445;  // 'AETE'
}  // namespace resource_type

std::vector<uint8_t> piplResource(const EntryPoint& entry);
std::vector<uint8_t> aeteResource(const EntryPoint& entry);
