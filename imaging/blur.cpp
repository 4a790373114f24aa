#include "imaging/blur.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "imaging/prefix_sums.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"
#include "imaging/vector_loop.h"

// How the work is laid out.
//
// The window sum S of the box filter, classically kept by adding and dropping weighted taps one
// at a time, is exactly U x F + a x (left partial tap + right partial tap), F being the plain
// sum of the samples under whole weight. Both directions keep F by running sums and differ
// only in how they walk the image, so that their inner loops run over contiguous samples and
// vectorise:
//   - Horizontal: prefix sums along each row give F and both partial taps of every position
//     by differences; outputs go straight back into the row.
//   - Vertical: one running sum per column (a row of accumulators) sweeps the rows top to
//     bottom, over strips of columns narrow enough that the rows under the window stay in
//     cache. Outputs wait in a ring of n + 1 lines until no later window needs the original
//     row, and are then written back.
// Interior outputs divide by the full weight D through a fixed-point reciprocal; outputs near
// the line ends divide by the weight left inside the line.

namespace {

// Radii beyond 2^24 are all whole in single precision; infinity is taken as such a radius.
constexpr float kLargestRadius = 16777216.0f;
// The farthest a window reaches either side. 16-bit: whole-weight sums stay below 2^31. 8-bit:
// the line-end multipliers stay below 2^32 (see EndDivision8). No effect asks for a blur
// anywhere near these.
constexpr int64_t kLargestReach16 = 32767;
constexpr int64_t kLargestReach8 = 8191;
// Working-set goal of a vertical strip: the rows under the window, the delayed lines and
// the sums of one strip.
constexpr size_t kStripCacheBytes = 1024 * 1024;
constexpr size_t kSmallestStrip = 64;
constexpr size_t kAlignment = 64;
constexpr size_t kCacheLine = 64;
// Samples computed between two batches of cache-line requests for the lines coming next.
constexpr size_t kSliceSamples = 1024;

// The box for one line length. With n = reach, a = edge and U = 2^unitShift the window
// centred on sample i gives weight U to samples i-(n-1) .. i+(n-1) and a to i-n and i+n.
struct BoxWindow {
    int32_t length = 0;
    int32_t reach = 0;  // 0: the line is left as it is
    uint32_t edge = 0;
    uint32_t unitShift = 8;
    uint64_t fullWeight = 0;  // D = (2n - 1) U + 2a
    // Interior division by D: (S x reciprocal + roundingTerm) >> (unitShift == 8 ? 23 : 47).
    uint32_t reciprocal = 0;
    uint64_t roundingTerm = 0;

    bool filters() const { return reach >= 1; }
    bool isInterior(int32_t i) const { return i > reach && i < length - reach; }
    // Index of a line-end position among the 2n + 1 of them: 0 .. n, then L - n .. L - 1.
    size_t endIndex(int32_t i) const { return i <= reach ? size_t(i) : size_t(reach + 1 + i - (length - reach)); }
    size_t endCount() const { return size_t(2 * reach + 1); }
    // The weight of the part of the window at position i that lies inside the line.
    uint64_t weightAt(int32_t i) const {
        const int64_t first = std::max<int64_t>(0, int64_t(i) - reach + 1);
        const int64_t last = std::min<int64_t>(length - 1, int64_t(i) + reach - 1);
        const uint64_t partialTaps = uint64_t(i - reach >= 0) + uint64_t(i + reach <= length - 1);
        return (uint64_t(last - first + 1) << unitShift) + partialTaps * edge;
    }
};

BoxWindow boxWindow(float radius, int32_t length, uint32_t unitShift) {
    BoxWindow window;
    window.length = length;
    window.unitShift = unitShift;
    // The radius is half a 32-bit float size, so its split is taken in single precision.
    const float r = std::min(radius, kLargestRadius);
    const float whole = std::ceil(r);
    float fraction = whole - r;
    if (fraction > 0.0f) fraction = 1.0f - fraction;
    int64_t reach = std::min<int64_t>(int64_t(whole), length / 2 - 1);
    if (int64_t(std::floor(r)) == reach) ++reach;
    // Lines too short for the window: keep its outermost taps inside the line (2n <= L - 1).
    // Lines of one or two samples are then left as they are.
    reach = std::min<int64_t>(reach, (int64_t(length) - 1) / 2);
    reach = std::min(reach, unitShift == 8 ? kLargestReach8 : kLargestReach16);
    if (reach < 1) return window;

    window.reach = int32_t(reach);
    window.edge = uint32_t(truncToInt(double(fraction) * double(1u << unitShift)));
    window.fullWeight = (uint64_t(2 * reach - 1) << unitShift) + 2 * uint64_t(window.edge);
    const uint32_t precision = unitShift == 8 ? 23 : 47;
    const uint64_t one = uint64_t(1) << precision;
    const uint64_t reciprocal = one / window.fullWeight;
    window.reciprocal = uint32_t(reciprocal);
    const uint64_t full = unitShift == 8 ? 255 : 65535;
    window.roundingTerm = full * (one - reciprocal * window.fullWeight);
    return window;
}

// The window sum of one output from its whole-weight sum and the samples under the two
// partial taps (zero for taps outside the line).
struct WindowSum {
    uint32_t whole;
    uint32_t edgeTaps;
};

// Near the line ends the window sum is divided by the weight left inside the line, truncating,
// without a division per sample. Each line-end position has its divisor; the division rule
// holds what is common to the line.
//
// 8-bit: the sum S is at most 255 W. With one shift k per line such that 2^k > 255 D^2 (D the
// largest weight) and m = floor(2^k / W) + 1, (S x m) >> k is floor(S / W), because
// S (m W - 2^k) <= S W <= 255 W^2 < 2^k. As every end weight is at least D / 2, m stays below
// 2^32 while D < 4.2 million (reach 8191).
struct EndDivision8 {
    uint32_t edge;
    uint32_t shift;

    uint32_t divisorFor(uint64_t weight) const { return uint32_t((uint64_t(1) << shift) / weight + 1); }
    uint8_t operator()(WindowSum window, uint32_t multiplier) const {
        const uint32_t sum = (window.whole << 8) + edge * window.edgeTaps;
        return uint8_t((uint64_t(sum) * multiplier) >> shift);
    }
};

// 16-bit: the sum (below 2^48) and the weight (below 2^32) are whole numbers, so in double
// precision they and the product of the quotient by the weight are exact. The sum times the
// rounded reciprocal lies within 2^-37 of the quotient (at most 32768), while a quotient that
// is not whole is at least 2^-32 from the next whole number: its truncation is the quotient,
// or one less when the quotient is whole, and one exact comparison decides.
struct EndWeight {
    double weight;
    double inverse;
};

struct EndDivision16 {
    double unit;
    double edge;

    EndWeight divisorFor(uint64_t weight) const { return {double(weight), 1.0 / double(weight)}; }
    uint16_t operator()(WindowSum window, EndWeight divisor) const {
        const double sum = double(int32_t(window.whole)) * unit + double(int32_t(window.edgeTaps)) * edge;
        int32_t quotient = truncToInt(sum * divisor.inverse);
        if (double(quotient + 1) * divisor.weight <= sum) ++quotient;
        return uint16_t(quotient);
    }
};

EndDivision8 endDivision(const BoxWindow& window, uint8_t) {
    const uint64_t largest = 255 * window.fullWeight * window.fullWeight;
    return {window.edge, uint32_t(std::bit_width(largest))};
}
EndDivision16 endDivision(const BoxWindow& window, uint16_t) { return {65536.0, double(window.edge)}; }

template <class Sample>
using EndDivisionOf = decltype(endDivision(BoxWindow(), Sample()));
template <class Sample>
using EndDivisorOf = decltype(EndDivisionOf<Sample>().divisorFor(1));

// The interior division S / D by a fixed-point reciprocal, exact at full scale: 8-bit
// (S x floor(2^23 / D) + 255 x (2^23 - floor(2^23 / D) x D)) >> 23 in 32-bit arithmetic, 16-bit
// the same with 2^47 and 65535 in 64-bit arithmetic.
struct InteriorAverage8 {
    uint32_t edge;
    uint32_t reciprocal;
    uint32_t roundingTerm;

    uint8_t operator()(WindowSum window) const {
        const uint32_t sum = (window.whole << 8) + edge * window.edgeTaps;
        return uint8_t((sum * reciprocal + roundingTerm) >> 23);
    }
};

struct InteriorAverage16 {
    uint32_t edge;
    uint32_t reciprocal;
    uint64_t roundingTerm;

    // S x reciprocal with S = 65536 F + a P, taken as two products of 32-bit values.
    uint16_t operator()(WindowSum window) const {
        const uint32_t edgeSum = edge * window.edgeTaps;
        const uint64_t scaled =
            ((uint64_t(window.whole) * reciprocal) << 16) + uint64_t(edgeSum) * reciprocal + roundingTerm;
        return uint16_t(scaled >> 47);
    }
};

InteriorAverage8 interiorAverage(const BoxWindow& window, uint8_t) {
    return {window.edge, window.reciprocal, uint32_t(window.roundingTerm)};
}
InteriorAverage16 interiorAverage(const BoxWindow& window, uint16_t) {
    return {window.edge, window.reciprocal, window.roundingTerm};
}

// ---- Vertical: one running sum per column, rows swept top to bottom -------------------

// Advances the lanes by one position: F += in - out, then the average of the window.
template <class Sample, class Average>
[[gnu::always_inline]] inline void stepLanes(const Sample* __restrict in, const Sample* __restrict out,
                                             const Sample* __restrict right, uint32_t* __restrict sums,
                                             Sample* __restrict result, size_t lanes, Average average) {
    for (size_t x = 0; x < lanes; ++x) {
        const uint32_t whole = sums[x] + in[x] - out[x];
        sums[x] = whole;
        result[x] = average(WindowSum{whole, uint32_t(out[x]) + right[x]});
    }
}

// A line-end row of the lanes: one divisor for the whole row.
template <class Sample>
struct LaneEndAverage {
    EndDivisionOf<Sample> division;
    EndDivisorOf<Sample> divisor;
    Sample operator()(WindowSum window) const { return division(window, divisor); }
};

RAVO_VECTOR_LOOP void stepInterior(const uint8_t* in, const uint8_t* out, const uint8_t* right, uint32_t* sums,
                                   uint8_t* result, size_t lanes, InteriorAverage8 average) {
    stepLanes(in, out, right, sums, result, lanes, average);
}
RAVO_VECTOR_LOOP void stepInterior(const uint16_t* in, const uint16_t* out, const uint16_t* right, uint32_t* sums,
                                   uint16_t* result, size_t lanes, InteriorAverage16 average) {
    stepLanes(in, out, right, sums, result, lanes, average);
}
RAVO_VECTOR_LOOP void stepEnd(const uint8_t* in, const uint8_t* out, const uint8_t* right, uint32_t* sums,
                              uint8_t* result, size_t lanes, LaneEndAverage<uint8_t> average) {
    stepLanes(in, out, right, sums, result, lanes, average);
}
RAVO_VECTOR_LOOP void stepEnd(const uint16_t* in, const uint16_t* out, const uint16_t* right, uint32_t* sums,
                              uint16_t* result, size_t lanes, LaneEndAverage<uint16_t> average) {
    stepLanes(in, out, right, sums, result, lanes, average);
}

template <class Sample>
void addPosition(const Sample* __restrict line, uint32_t* __restrict sums, size_t lanes) {
    for (size_t x = 0; x < lanes; ++x) sums[x] += line[x];
}

// Asks for the cache lines of [start, start + bytes): a line that will be read soon, in slices
// small enough not to stall on the memory requests already in flight.
void prefetch(const void* start, size_t bytes) {
    const std::byte* first = static_cast<const std::byte*>(start);
    for (size_t b = 0; b < bytes; b += kCacheLine) __builtin_prefetch(first + b);
}

size_t alignUp(size_t bytes) { return (bytes + kAlignment - 1) & ~(kAlignment - 1); }

template <class T>
T* carve(std::byte*& next, size_t count) {
    T* part = reinterpret_cast<T*>(next);
    next += alignUp(count * sizeof(T));
    return part;
}

// Working memory of the vertical direction: the sums of a strip, a line of zeros standing for
// taps outside the line, n + 1 delayed output lines, and the weights of the line ends.
template <class Sample>
struct ColumnWork {
    uint32_t* sums = nullptr;
    Sample* zeros = nullptr;
    Sample* ring = nullptr;
    size_t ringStride = 0;
    EndDivisionOf<Sample> division;
    EndDivisorOf<Sample>* ends = nullptr;

    static size_t bytesFor(size_t lanes, const BoxWindow& window) {
        return alignUp(lanes * sizeof(uint32_t)) + alignUp(lanes * sizeof(Sample)) * size_t(window.reach + 2) +
               alignUp(window.endCount() * sizeof(EndDivisorOf<Sample>)) + kAlignment;
    }

    ColumnWork(std::byte* scratch, size_t lanes, const BoxWindow& window) : division(endDivision(window, Sample())) {
        std::byte* next = reinterpret_cast<std::byte*>(alignUp(reinterpret_cast<uintptr_t>(scratch)));
        sums = carve<uint32_t>(next, lanes);
        zeros = carve<Sample>(next, lanes);
        std::fill_n(zeros, lanes, Sample(0));
        ringStride = alignUp(lanes * sizeof(Sample)) / sizeof(Sample);
        ring = carve<Sample>(next, ringStride * size_t(window.reach + 1));
        ends = carve<EndDivisorOf<Sample>>(next, window.endCount());
        for (int32_t i = 0; i <= window.reach; ++i) ends[window.endIndex(i)] = division.divisorFor(window.weightAt(i));
        for (int32_t i = window.length - window.reach; i < window.length; ++i)
            ends[window.endIndex(i)] = division.divisorFor(window.weightAt(i));
    }
};

// Filters `lanes` columns in place, one running sum per column. Position i of the lanes (row
// i) starts at first + i x rowBytes.
template <class Sample>
void filterLanes(std::byte* first, size_t rowBytes, size_t lanes, const BoxWindow& window,
                 const ColumnWork<Sample>& work) {
    const int32_t length = window.length;
    const int32_t reach = window.reach;
    auto at = [&](int32_t i) { return reinterpret_cast<Sample*>(first + size_t(i) * rowBytes); };
    const size_t slots = size_t(reach) + 1;
    auto slot = [&](int32_t i) { return work.ring + (size_t(i) % slots) * work.ringStride; };
    const auto interior = interiorAverage(window, Sample());

    // The whole-weight sum before row 0 covers rows 0 .. n-2; step 0 adds row n-1.
    std::fill_n(work.sums, lanes, 0u);
    for (int32_t i = 0; i + 1 < reach; ++i) addPosition(at(i), work.sums, lanes);

    for (int32_t i = 0; i < length; ++i) {
        const Sample* in = i + reach - 1 < length ? at(i + reach - 1) : work.zeros;
        const Sample* out = i >= reach ? at(i - reach) : work.zeros;
        const Sample* right = i + reach < length ? at(i + reach) : work.zeros;
        // Rows are far apart in memory: the row that enters the window at the next step is
        // fetched, slice by slice, while this one is computed.
        const Sample* next = i + reach + 1 < length ? at(i + reach + 1) : work.zeros;
        Sample* result = slot(i);
        const bool interiorRow = window.isInterior(i);
        const LaneEndAverage<Sample> end{work.division, work.ends[window.endIndex(interiorRow ? 0 : i)]};
        for (size_t x = 0; x < lanes; x += kSliceSamples) {
            const size_t count = std::min(kSliceSamples, lanes - x);
            prefetch(next + x, count * sizeof(Sample));
            if (interiorRow)
                stepInterior(in + x, out + x, right + x, work.sums + x, result + x, count, interior);
            else
                stepEnd(in + x, out + x, right + x, work.sums + x, result + x, count, end);
        }
        // Row i - n is under no later window: its output can replace it.
        if (i >= reach) std::memcpy(at(i - reach), slot(i - reach), lanes * sizeof(Sample));
    }
    for (int32_t i = std::max(0, length - reach); i < length; ++i)
        std::memcpy(at(i), slot(i), lanes * sizeof(Sample));
}

size_t stripLanesFor(size_t rowSamples, size_t sampleBytes, const BoxWindow& window) {
    const size_t perLane = sampleBytes * (3 * size_t(window.reach) + 4) + sizeof(uint32_t);
    const size_t lanes = std::max(kSmallestStrip, kStripCacheBytes / perLane);
    if (lanes >= rowSamples) return rowSamples;
    return lanes & ~size_t(15);
}

template <class Sample>
void filterColumns(Image& image, const PixelRect& rect, const BoxWindow& window, size_t stripLanes,
                   uint32_t passes, std::byte* scratch) {
    const ColumnWork<Sample> work(scratch, stripLanes, window);
    const size_t rowSamples = size_t(rect.width()) * image.channels;
    std::byte* rectStart = reinterpret_cast<std::byte*>(image.pixelBytes(rect.left, rect.top));
    for (size_t x = 0; x < rowSamples; x += stripLanes) {
        const size_t lanes = std::min(stripLanes, rowSamples - x);
        for (uint32_t pass = 0; pass < passes; ++pass)
            filterLanes<Sample>(rectStart + x * sizeof(Sample), image.rowBytes, lanes, window, work);
    }
}

// ---- Horizontal: prefix sums along each row --------------------------------------------
//
// P(k) is the sum of the row's first k pixels, per channel, kept for k = -n .. L + n (zero
// before the row, the row's total after it, as if the row were surrounded by zeros). For
// every position i the whole-weight sum is P(i+n) - P(i-n+1) and the partial taps are
// P(i-n+1) - P(i-n) and P(i+n+1) - P(i+n); outputs depend on P alone, so they go straight
// back into the row. Sums are taken modulo 2^32; their differences are exact.

// Window sums of the samples `first` .. `first + count - 1` of a row, P being the row's
// prefix at sample 0 and `span` = n x channels.
struct PrefixWindow {
    const uint32_t* ahead;       // P(i+n)
    const uint32_t* aheadNext;   // P(i+n+1)
    const uint32_t* behind;      // P(i-n+1)
    const uint32_t* behindLast;  // P(i-n)

    PrefixWindow(const uint32_t* prefix, size_t first, size_t span, size_t channels)
        : ahead(prefix + first + span),
          aheadNext(prefix + first + span + channels),
          behind(prefix + first + channels - span),
          behindLast(prefix + first - span) {}

    WindowSum at(size_t j) const {
        return {ahead[j] - behind[j], (behind[j] - behindLast[j]) + (aheadNext[j] - ahead[j])};
    }
};

template <class Sample, class Average>
[[gnu::always_inline]] inline void averageRow(PrefixWindow window, Sample* __restrict out, size_t count,
                                              Average average) {
    for (size_t j = 0; j < count; ++j) out[j] = average(window.at(j));
}

template <class Sample>
[[gnu::always_inline]] inline void averageRowEnds(PrefixWindow window, Sample* __restrict out, size_t count,
                                                  EndDivisionOf<Sample> division,
                                                  const EndDivisorOf<Sample>* __restrict divisors) {
    for (size_t j = 0; j < count; ++j) out[j] = division(window.at(j), divisors[j]);
}

RAVO_VECTOR_LOOP void averageRow(PrefixWindow window, uint8_t* out, size_t count, InteriorAverage8 average) {
    averageRow<uint8_t>(window, out, count, average);
}
RAVO_VECTOR_LOOP void averageRow(PrefixWindow window, uint16_t* out, size_t count, InteriorAverage16 average) {
    averageRow<uint16_t>(window, out, count, average);
}
RAVO_VECTOR_LOOP void averageRowEnds(PrefixWindow window, uint8_t* out, size_t count, EndDivision8 division,
                                     const uint32_t* divisors) {
    averageRowEnds<uint8_t>(window, out, count, division, divisors);
}
RAVO_VECTOR_LOOP void averageRowEnds(PrefixWindow window, uint16_t* out, size_t count, EndDivision16 division,
                                     const EndWeight* divisors) {
    averageRowEnds<uint16_t>(window, out, count, division, divisors);
}

// Working memory of the horizontal direction: the padded prefix of one row and the divisors of
// the end samples (positions 0 .. n, then L - n .. L - 1, one entry per sample).
template <class Sample>
struct RowWork {
    uint32_t* prefixStart = nullptr;  // P(-n)
    uint32_t* prefix = nullptr;       // P(0)
    EndDivisionOf<Sample> division;
    EndDivisorOf<Sample>* ends = nullptr;

    static size_t bytesFor(const BoxWindow& window, size_t channels) {
        return alignUp(size_t(window.length + 2 * window.reach + 1) * channels * sizeof(uint32_t)) +
               alignUp(window.endCount() * channels * sizeof(EndDivisorOf<Sample>)) + kAlignment;
    }

    RowWork(std::byte* scratch, const BoxWindow& window, size_t channels) : division(endDivision(window, Sample())) {
        std::byte* next = reinterpret_cast<std::byte*>(alignUp(reinterpret_cast<uintptr_t>(scratch)));
        const size_t span = size_t(window.reach) * channels;
        prefixStart = carve<uint32_t>(next, size_t(window.length + 2 * window.reach + 1) * channels);
        prefix = prefixStart + span;
        std::fill_n(prefixStart, span, 0u);
        ends = carve<EndDivisorOf<Sample>>(next, window.endCount() * channels);
        for (int32_t i = 0; i <= window.reach; ++i)
            std::fill_n(ends + window.endIndex(i) * channels, channels, division.divisorFor(window.weightAt(i)));
        for (int32_t i = window.length - window.reach; i < window.length; ++i)
            std::fill_n(ends + window.endIndex(i) * channels, channels, division.divisorFor(window.weightAt(i)));
    }
};

// Filters one row in place; `nextRow` (or null) is fetched meanwhile, slice by slice.
template <class Sample, size_t Channels>
void filterRow(Sample* row, const Sample* nextRow, const BoxWindow& window, const RowWork<Sample>& work) {
    const size_t length = size_t(window.length);
    const size_t span = size_t(window.reach) * Channels;
    prefixSums(row, size_t(window.length), Channels, work.prefix);
    // Past the row the prefix stays at the row's total.
    uint32_t* total = work.prefix + length * Channels;
    uint32_t* after = total + Channels;
    for (size_t k = 0; k < span; ++k) after[k] = total[k % Channels];

    const size_t leftEnd = span + Channels;                      // samples of positions 0 .. n
    const size_t rightEnd = (length - window.reach) * Channels;  // first sample of position L - n
    averageRowEnds(PrefixWindow(work.prefix, 0, span, Channels), row, leftEnd, work.division, work.ends);
    const auto interior = interiorAverage(window, Sample());
    for (size_t j = leftEnd; j < rightEnd; j += kSliceSamples) {
        const size_t count = std::min(kSliceSamples, rightEnd - j);
        if (nextRow) prefetch(nextRow + j, count * sizeof(Sample));
        averageRow(PrefixWindow(work.prefix, j, span, Channels), row + j, count, interior);
    }
    averageRowEnds(PrefixWindow(work.prefix, rightEnd, span, Channels), row + rightEnd, span, work.division,
                   work.ends + leftEnd);
}

template <class Sample, size_t Channels>
void filterRows(Image& image, const PixelRect& rect, const BoxWindow& window, uint32_t passes,
                std::byte* scratch) {
    const RowWork<Sample> work(scratch, window, Channels);
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* row = image.pixel<Sample>(rect.left, y);
        const Sample* nextRow = y + 1 < rect.bottom ? image.pixel<Sample>(rect.left, y + 1) : nullptr;
        for (uint32_t pass = 0; pass < passes; ++pass)
            filterRow<Sample, Channels>(row, pass == 0 ? nextRow : nullptr, window, work);
    }
}

template <class Sample>
void filterRowsOf(Image& image, const PixelRect& rect, const BoxWindow& window, uint32_t passes,
                  std::byte* scratch) {
    switch (image.channels) {
        case 1: return filterRows<Sample, 1>(image, rect, window, passes, scratch);
        case 2: return filterRows<Sample, 2>(image, rect, window, passes, scratch);
        case 3: return filterRows<Sample, 3>(image, rect, window, passes, scratch);
        case 4: return filterRows<Sample, 4>(image, rect, window, passes, scratch);
        default: break;
    }
}

}  // namespace

Blur::~Blur() = default;

// One run reads floor(size / 2) + 1 samples either side of an output (the window's outermost
// taps). Outputs within that reach of a line end are divided by the weight left inside the
// line, interior outputs by a reciprocal that can give one level more, so at a cut edge a run
// is exact only from one sample further in: floor(size / 2) + 2 per run.
int32_t Blur::margin(float size, uint32_t runs) {
    if (!(size > 0.0f)) return 0;
    const double radius = double(size * 0.5f);  // the blur halves its 32-bit float size
    const double margin = (std::floor(radius) + 2.0) * double(runs);
    return int32_t(std::min(margin, double(kLargestSourceMargin)));
}

bool Blur::setSize(float horizontalSize, float verticalSize) {
    const bool changed = horizontalSize != horizontalSize_ || verticalSize != verticalSize_;
    horizontalSize_ = horizontalSize;
    verticalSize_ = verticalSize;
    return changed;
}

std::byte* Blur::scratchOf(size_t bytes) {
    if (bytes > scratchCapacity_) {
        scratch_.reset();
        scratchCapacity_ = 0;
        scratch_ = std::make_unique_for_overwrite<std::byte[]>(bytes);
        scratchCapacity_ = bytes;
    }
    return scratch_.get();
}

void Blur::apply(Image& image, const PixelRect& requested) {
    const PixelRect rect = requested.intersected(image.bounds);
    if (rect.isEmpty() || image.data == nullptr) return;
    if ((image.bytesPerChannel != 1 && image.bytesPerChannel != 2) || image.channels < 1 || image.channels > 4)
        throw std::invalid_argument("Blur: images have 1 to 4 channels of 8 or 16 bits");
    const bool is16 = image.is16();
    const uint32_t unitShift = is16 ? 16 : 8;  // U = 65536 or 256
    const uint32_t passes = extraPasses_ + 1;

    // The radius is half of a 32-bit float size, in single precision.
    const float horizontalRadius = horizontalSize_ * 0.5f;
    if (horizontalRadius > 0.0f) {
        const BoxWindow window = boxWindow(horizontalRadius, rect.width(), unitShift);
        if (window.filters()) {
            withSampleType(is16, [&]<class Sample>() {
                filterRowsOf<Sample>(image, rect, window, passes, scratchOf(RowWork<Sample>::bytesFor(window, image.channels)));
            });
        }
    }

    const float verticalRadius = verticalSize_ * 0.5f;
    if (verticalRadius > 0.0f) {
        const BoxWindow window = boxWindow(verticalRadius, rect.height(), unitShift);
        if (window.filters()) {
            const size_t rowSamples = size_t(rect.width()) * image.channels;
            const size_t lanes = stripLanesFor(rowSamples, image.bytesPerChannel, window);
            withSampleType(is16, [&]<class Sample>() {
                filterColumns<Sample>(image, rect, window, lanes, passes, scratchOf(ColumnWork<Sample>::bytesFor(lanes, window)));
            });
        }
    }
}
