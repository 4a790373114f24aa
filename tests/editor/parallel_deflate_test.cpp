// Tests of the parallel strip compressor: strips arrive in order, each the zlib stream one
// libdeflate call makes of it, whatever the number of threads, and a failure while taking
// them stops the work.
#include <libdeflate.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "editor/parallel_deflate.h"

namespace editor {
namespace {

// Strip i: `largest` bytes of a pattern of its own, the last strip a third of that.
std::vector<uint8_t> stripBytes(const DeflatePlan& plan, size_t strip) {
    std::vector<uint8_t> bytes(strip + 1 == plan.strips ? plan.largestStrip / 3 + 1 : plan.largestStrip);
    for (size_t j = 0; j < bytes.size(); ++j) bytes[j] = uint8_t(strip * 7 + j / 5 + (j * j >> 9));
    return bytes;
}

size_t fillStrip(const DeflatePlan& plan, size_t strip, uint8_t* out) {
    const std::vector<uint8_t> bytes = stripBytes(plan, strip);
    std::copy(bytes.begin(), bytes.end(), out);
    return bytes.size();
}

std::vector<uint8_t> deflatedAlone(const std::vector<uint8_t>& bytes, int level) {
    const std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> compressor(
        libdeflate_alloc_compressor(level), libdeflate_free_compressor);
    std::vector<uint8_t> out(libdeflate_zlib_compress_bound(compressor.get(), bytes.size()));
    out.resize(libdeflate_zlib_compress(compressor.get(), bytes.data(), bytes.size(), out.data(), out.size()));
    return out;
}

TEST(ParallelDeflate, StripsArriveInOrderAsOneCallMakesThem) {
    const DeflatePlan plans[] = {
        {1, 100, 1, 3},     // fewer strips than threads
        {40, 4096, 1, 1},   // the calling thread alone
        {40, 4096, 1, 3},   // slots reused many times over
        {9, 65536, 12, 8},  // the slowest level, more threads than cores
        {5, 10, 6, 0},      // one per core
    };
    for (const DeflatePlan& plan : plans) {
        SCOPED_TRACE(std::to_string(plan.strips) + " strips on " + std::to_string(plan.threads) + " threads");
        size_t expected = 0;
        deflateStrips(
            plan, [&](size_t strip, uint8_t* out) { return fillStrip(plan, strip, out); },
            [&](size_t strip, const uint8_t* bytes, size_t size) {
                ASSERT_EQ(strip, expected++);
                EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + size), deflatedAlone(stripBytes(plan, strip), plan.level));
            });
        EXPECT_EQ(expected, plan.strips);
    }
}

TEST(ParallelDeflate, AFailureWhileTakingStopsTheWork) {
    const DeflatePlan plan{200, 4096, 1, 3};
    size_t taken = 0;
    EXPECT_THROW(deflateStrips(
                     plan, [&](size_t strip, uint8_t* out) { return fillStrip(plan, strip, out); },
                     [&](size_t strip, const uint8_t*, size_t) {
                         if (strip == 3) throw std::runtime_error("disk full");
                         ++taken;
                     }),
                 std::runtime_error);
    EXPECT_EQ(taken, 3u);
}

}  // namespace
}  // namespace editor
