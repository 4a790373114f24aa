#include "imaging/matte_morphology.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

// The window of one pass: whole radius n = ceil(a) and the weight of its two outermost samples.
struct LineWindow {
    int32_t radius = 0;
    double edgeWeight = 1.0;
};

LineWindow lineWindow(double amount, int32_t length) {
    LineWindow window;
    if (!(amount > 0.0)) return window;  // 0, negative zero and NaN: the identity
    const double whole = std::ceil(amount);
    window.edgeWeight = 1.0 - (whole - amount);
    if (std::isnan(window.edgeWeight)) window.edgeWeight = 1.0;  // an infinite amount
    // A radius past the line's length reaches the same ends as the length itself.
    window.radius = whole < double(length) ? int32_t(whole) : length;
    return window;
}

// One line of samples, `step` samples apart.
template <class Sample>
struct Line {
    Sample* first;
    ptrdiff_t step;
    Sample& operator[](int32_t i) const { return first[ptrdiff_t(i) * step]; }
};

// Filters one line of `length` samples. The plain part of each window (all of it for a whole
// radius, all but its two ends otherwise) goes through a running minimum or maximum kept
// in `queue` (one index per sample), so the cost per sample does not grow with the radius.
template <class Sample, bool Grow>
void filterLine(Line<const Sample> in, Line<Sample> out, int32_t length, LineWindow window, int32_t* queue) {
    const int32_t n = window.radius;
    const double w = window.edgeWeight;
    const int32_t inset = w < 1.0 ? 1 : 0;
    // Entries queue[head..tail-1] are indices whose samples are monotonic: the front is the extreme.
    int32_t head = 0;
    int32_t tail = 0;
    int32_t nextIndex = 0;
    auto better = [](int32_t a, int32_t b) { return Grow ? a >= b : a <= b; };

    for (int32_t i = 0; i < length; ++i) {
        const int32_t lo = std::max(0, i - n);
        const int32_t hi = std::min(length - 1, i + n);
        const int32_t plainLo = lo + inset;
        const int32_t plainHi = hi - inset;
        for (; nextIndex <= plainHi; ++nextIndex) {
            const int32_t s = in[nextIndex];
            while (tail > head && better(s, in[queue[tail - 1]])) --tail;
            queue[tail++] = nextIndex;
        }
        while (tail > head && queue[head] < plainLo) ++head;
        const bool plainEmpty = plainLo > plainHi || tail == head;

        int32_t v = in[i];
        if constexpr (Grow) {
            if (!plainEmpty) v = std::max<int32_t>(v, in[queue[head]]);
            if (inset) {
                v = std::max(v, truncToInt(int32_t(in[lo]) * w));
                v = std::max(v, truncToInt(int32_t(in[hi]) * w));
            }
        } else {
            // The order is low edge, plain window, high edge: each edge compares with v so far.
            if (inset && int32_t(in[lo]) < v * w) v = truncToInt(int32_t(in[lo]) * w);
            if (!plainEmpty) v = std::min<int32_t>(v, in[queue[head]]);
            if (inset && int32_t(in[hi]) < v * w) v = truncToInt(int32_t(in[hi]) * w);
        }
        out[i] = Sample(v);
    }
}

template <class Sample, bool Grow>
void filterRows(const Image& source, Image& destination, const PixelRect& rect, LineWindow window, int32_t* queue) {
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Line<const Sample> in{source.pixel<Sample>(rect.left, y), 1};
        Line<Sample> out{destination.pixel<Sample>(rect.left, y), 1};
        filterLine<Sample, Grow>(in, out, rect.width(), window, queue);
    }
}

template <class Sample, bool Grow>
void filterColumns(const Image& source, Image& destination, const PixelRect& rect, LineWindow window,
                   int32_t* queue) {
    const ptrdiff_t inStep = source.rowBytes / sizeof(Sample);
    const ptrdiff_t outStep = destination.rowBytes / sizeof(Sample);
    for (int32_t x = rect.left; x < rect.right; ++x) {
        Line<const Sample> in{source.row<Sample>(rect.top) + x, inStep};
        Line<Sample> out{destination.row<Sample>(rect.top) + x, outStep};
        filterLine<Sample, Grow>(in, out, rect.height(), window, queue);
    }
}

template <class Sample>
void shrinkGrowSamples(const Image& source, Image& destination, const PixelRect& rect, double amountX,
                       double amountY) {
    const bool grow = amountX > 0.0;
    const LineWindow across = lineWindow(std::fabs(amountX), rect.width());
    const LineWindow down = lineWindow(std::fabs(amountY), rect.height());
    Image temporary({source.width, source.height}, 1, source.bytesPerChannel);
    const auto queue = std::make_unique_for_overwrite<int32_t[]>(size_t(std::max(rect.width(), rect.height())));

    if (grow) {
        filterColumns<Sample, true>(source, temporary, rect, down, queue.get());
        filterRows<Sample, true>(temporary, destination, rect, across, queue.get());
    } else {
        if (!(rect == source.bounds)) std::memset(temporary.data, 0, temporary.byteCount());
        filterRows<Sample, false>(source, temporary, rect, across, queue.get());
        filterColumns<Sample, false>(temporary, destination, rect, down, queue.get());
    }
}

}  // namespace

void shrinkGrow(const Image& source, Image& destination, const PixelRect& rect, double amountX, double amountY) {
    const PixelRect area = rect.intersected(source.bounds).intersected(destination.bounds);
    if (area.isEmpty() || source.channels != 1 || destination.channels != 1 ||
        source.bytesPerChannel != destination.bytesPerChannel)
        return;
    withSampleType(source, [&]<class Sample>() {
        shrinkGrowSamples<Sample>(source, destination, area, amountX, amountY);
    });
}

int32_t shrinkGrowMargin(double amount) {
    const double margin = std::ceil(std::fabs(amount));
    if (!(margin > 0.0)) return 0;
    return int32_t(std::min(margin, double(kLargestSourceMargin)));
}
