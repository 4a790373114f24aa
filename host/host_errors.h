// Failures inside a host call travel as exceptions and become result codes at the
// entry point: a host error code, a suite error, or out of memory.
#pragma once

#include <cstdint>
#include <climits>

// A signed 16-bit result code from the host (or one the plug-in raises, such as -108).
struct HostError {
    int16_t code;
};

// A suite could not be acquired; reported as the host lacking a needed service.
struct SuiteError {
    int32_t code;
};

// Raises the failure of a suite call: a host error code as it is, anything else as a suite error.
inline void checkSuiteCall(int32_t error) {
    if (error == 0) return;
    if (error >= INT16_MIN && error < 0) throw HostError{int16_t(error)};
    throw SuiteError{error};
}

namespace result_code {
constexpr int16_t kNoError = 0;
constexpr int16_t kMemoryFull = -108;
constexpr int16_t kCancelled = -128;
constexpr int16_t kHostInsufficient = -30900;
// A menu command whose effect is not in this build: the host shows our message.
constexpr int16_t kReportString = -30904;
}  // namespace result_code
