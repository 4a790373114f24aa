// Bits of a parameter record's flags word, as the plug-in defines them and publishes them
// in its parameter descriptions.
#pragma once

#include <cstdint>

namespace ParameterFlag {
constexpr uint16_t Enabled = 1;
constexpr uint16_t Open = 2;
constexpr uint16_t NotifyOnChange = 16;
constexpr uint16_t NeedsRefresh = 32;
constexpr uint16_t Hidden = 64;
constexpr uint16_t NoPointHandle = 128;
constexpr uint16_t FramedGroup = 512;
constexpr uint16_t Degrees = 4096;
constexpr uint16_t Whole = 8192;
constexpr uint16_t Percent = 16384;
constexpr uint16_t NewRecord = Enabled | NeedsRefresh;
}  // namespace ParameterFlag
