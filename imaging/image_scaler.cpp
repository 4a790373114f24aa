#include "imaging/image_scaler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "imaging/sample_traits.h"

namespace fx {
namespace {

// Weights are 14-bit fixed point: the weights of one output sum to this.
constexpr int32_t kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;

// The filter one axis runs with, at its scale.
struct AxisFilter {
    const ScaleFilter* filter = nullptr;
    // Destination length over source length.
    double scale = 1.0;
    // How much the kernel is widened: 1 when enlarging, the reduction factor when shrinking.
    double width = 1.0;
    double support = 0.5;
    bool isPoint = false;
};

bool isWhole(double value) { return std::fabs(value - std::floor(value + 0.5)) < 1e-7; }

AxisFilter planAxis(const ScaleFilter& filter, int32_t sourceLength, int32_t destinationLength) {
    AxisFilter axis;
    axis.filter = &filter;
    axis.scale = double(destinationLength) / double(sourceLength);
    axis.width = std::max(1.0, 1.0 / axis.scale) * filter.blur;
    axis.support = std::max(filter.support * axis.width, 0.5);
    // Every destination pixel sits at a source pixel's centre: the filter would only copy it.
    constexpr double destinationOffset = 0.5;
    const bool copiesPixels = filter.interpolating && isWhole(1.0 / axis.width) &&
                              isWhole(1.0 / (axis.scale * axis.width)) &&
                              isWhole((destinationOffset / axis.scale - 0.5) / axis.width);
    if (axis.support <= 0.5 || copiesPixels) {
        axis.filter = findFilter("point");
        axis.width = 1.0;
        axis.support = 0.5;
        axis.isPoint = true;
    }
    return axis;
}

// The source pixels behind each destination index of a range, with their integer weights.
struct AxisWeights {
    // What the weights were worked out for.
    const ScaleFilter* filter = nullptr;
    int32_t sourceLength = 0;
    int32_t destinationLength = 0;
    int32_t from = 0;
    int32_t to = 0;

    std::vector<int32_t> first;
    std::vector<int32_t> count;
    std::vector<size_t> offset;
    std::vector<int32_t> weights;
    // The lowest and highest source index any destination index reads.
    int32_t lowest = 0;
    int32_t highest = -1;
    int32_t largestCount = 0;
};

// Weights for destination indices from..to-1 (0-based in the destination window) over a source
// of sourceLength pixels. trimZeros drops zero weights at either end of each list.
AxisWeights axisWeights(const AxisFilter& axis, int32_t sourceLength, int32_t destinationLength, int32_t from,
                        int32_t to, bool trimZeros) {
    AxisWeights result;
    result.filter = axis.filter;
    result.sourceLength = sourceLength;
    result.destinationLength = destinationLength;
    result.from = from;
    result.to = to;
    const size_t n = size_t(to - from);
    result.first.reserve(n);
    result.count.reserve(n);
    result.offset.reserve(n);
    result.lowest = sourceLength;
    std::vector<double> raw;
    std::vector<int32_t> fixed;
    for (int32_t d = from; d < to; ++d) {
        const double centre = (double(d) + 0.5) / axis.scale;
        const int32_t lo = std::clamp(truncToInt(centre - axis.support + 0.5), 0, sourceLength);
        const int32_t hi = std::clamp(truncToInt(centre + axis.support + 0.5), 0, sourceLength);
        if (hi <= lo) throw std::invalid_argument("scaling: a destination pixel has no source pixel");
        raw.clear();
        double sum = 0.0;
        for (int32_t j = lo; j < hi; ++j) {
            const double k = axis.filter->kernel(((double(j) + 0.5) - centre) / axis.width);
            raw.push_back(k);
            sum += k;
        }
        fixed.clear();
        bool allZero = true;
        for (double k : raw) {
            const double w = sum != 0.0 ? k * double(kWeightOne) / sum : k * double(kWeightOne);
            fixed.push_back(int32_t(std::floor(w + 0.5)));
            allZero = allZero && fixed.back() == 0;
        }
        int32_t first = lo;
        int32_t last = hi - 1;
        if (allZero) {
            // Nothing reached: the middle pixel of the range stands for the output alone.
            const int32_t middle = (lo + last) / 2;
            std::fill(fixed.begin(), fixed.end(), 0);
            fixed[size_t(middle - lo)] = kWeightOne;
        } else {
            if (trimZeros) {
                while (fixed[size_t(first - lo)] == 0) ++first;
                while (fixed[size_t(last - lo)] == 0) --last;
            }
            int32_t total = 0;
            for (int32_t j = first; j <= last; ++j) total += fixed[size_t(j - lo)];
            // Rounding leaves the sum a little off: the pixel under the centre takes the difference.
            const int32_t under = std::clamp(truncToInt(centre), first, last);
            fixed[size_t(under - lo)] += kWeightOne - total;
        }
        result.first.push_back(first);
        result.count.push_back(last - first + 1);
        result.offset.push_back(result.weights.size());
        result.weights.insert(result.weights.end(), fixed.begin() + (first - lo), fixed.begin() + (last - lo + 1));
        result.lowest = std::min(result.lowest, first);
        result.highest = std::max(result.highest, last);
        result.largestCount = std::max(result.largestCount, last - first + 1);
    }
    return result;
}

// The part of a destination window that lies in an image of the given length: indices
// from..to-1, 0-based in the window.
struct VisibleRange {
    int32_t from;
    int32_t to;
    bool isEmpty() const { return to <= from; }
};

VisibleRange visible(int32_t windowStart, int32_t windowEnd, int32_t imageLength) {
    return {std::max(windowStart, 0) - windowStart, std::min(windowEnd + 1, imageLength) - windowStart};
}

struct ScaleJob {
    const ImageBuffer& source;
    ImageBuffer& destination;
    ImageScaler::Window sourceWindow;
    ImageScaler::Window destinationWindow;
    VisibleRange columns;
    VisibleRange rows;
};

// Both axes copy pixels: each destination pixel takes the source pixel under its centre.
template <class Sample, uint32_t Channels>
void copyNearest(const ScaleJob& job, const AxisFilter& horizontal, const AxisFilter& vertical) {
    const int32_t sourceWidth = job.sourceWindow.width();
    const int32_t sourceHeight = job.sourceWindow.height();
    std::vector<int32_t> sourceColumn;
    for (int32_t d = job.columns.from; d < job.columns.to; ++d)
        sourceColumn.push_back(std::min(truncToInt((double(d) + 0.5) / horizontal.scale), sourceWidth - 1));
    std::vector<Sample> sourceRow(size_t(sourceWidth) * Channels);
    std::vector<Sample> out(sourceColumn.size() * Channels);
    int32_t rowRead = -1;
    for (int32_t d = job.rows.from; d < job.rows.to; ++d) {
        const int32_t row = std::min(truncToInt((double(d) + 0.5) / vertical.scale), sourceHeight - 1);
        if (row != rowRead) {
            job.source.readSpan(job.sourceWindow.y0 + row, job.sourceWindow.x0, sourceWidth, sourceRow.data());
            rowRead = row;
            Sample* o = out.data();
            for (int32_t column : sourceColumn)
                for (uint32_t c = 0; c < Channels; ++c) *o++ = sourceRow[size_t(column) * Channels + c];
        }
        job.destination.writeSpan(job.destinationWindow.y0 + d, job.destinationWindow.x0 + job.columns.from,
                                  job.columns.to - job.columns.from, out.data());
    }
}

// The weights of one axis, worked out again only when the axis changes.
const AxisWeights& weightsFor(AxisWeights& kept, const AxisFilter& axis, int32_t sourceLength,
                              int32_t destinationLength, VisibleRange range, bool trimZeros) {
    if (kept.filter != axis.filter || kept.sourceLength != sourceLength ||
        kept.destinationLength != destinationLength || kept.from != range.from || kept.to != range.to)
        kept = axisWeights(axis, sourceLength, destinationLength, range.from, range.to, trimZeros);
    return kept;
}

// Across the rows into an intermediate that keeps the weights' 14 fraction bits, then down the
// columns. The second pass drops 8 bits of each intermediate value for 8-bit samples and 16 for
// 16-bit ones before weighting, and rounds the sum back to samples.
template <class Sample, uint32_t Channels>
void filterSeparably(const ScaleJob& job, const AxisWeights& across, const AxisWeights& down) {
    using Accumulator = typename SampleTraits<Sample>::Accumulator;
    constexpr int32_t dropped = sizeof(Sample) == 1 ? 8 : 16;
    constexpr int32_t shift = 2 * kWeightBits - dropped;
    constexpr Accumulator half = Accumulator(1) << (shift - 1);

    const size_t width = size_t(job.columns.to - job.columns.from);
    const int32_t spanCount = across.highest - across.lowest + 1;

    // A ring of filtered source rows: the rows a destination row reads move down monotonically,
    // so each source row is read and filtered once.
    const size_t ringSize = size_t(down.largestCount);
    std::vector<Accumulator> ring(ringSize * width * Channels);
    std::vector<int32_t> ringRow(ringSize, -1);
    std::vector<Sample> span(size_t(spanCount) * Channels);
    std::vector<Sample> out(width * Channels);

    auto filteredRow = [&](int32_t row) -> const Accumulator* {
        const size_t slot = size_t(row) % ringSize;
        Accumulator* target = ring.data() + slot * width * Channels;
        if (ringRow[slot] == row) return target;
        job.source.readSpan(job.sourceWindow.y0 + row, job.sourceWindow.x0 + across.lowest, spanCount, span.data());
        for (size_t i = 0; i < width; ++i) {
            const Sample* in = span.data() + size_t(across.first[i] - across.lowest) * Channels;
            const int32_t* w = across.weights.data() + across.offset[i];
            Accumulator sum[Channels] = {};
            for (int32_t k = 0; k < across.count[i]; ++k, in += Channels)
                for (uint32_t c = 0; c < Channels; ++c) sum[c] += Accumulator(w[k]) * Accumulator(in[c]);
            for (uint32_t c = 0; c < Channels; ++c) target[i * Channels + c] = sum[c];
        }
        ringRow[slot] = row;
        return target;
    };

    std::vector<Accumulator> sum(width * Channels);
    for (size_t r = 0; r < down.first.size(); ++r) {
        std::fill(sum.begin(), sum.end(), Accumulator(0));
        const int32_t* w = down.weights.data() + down.offset[r];
        for (int32_t k = 0; k < down.count[r]; ++k) {
            const Accumulator* row = filteredRow(down.first[r] + k);
            const Accumulator weight = w[k];
            for (size_t v = 0; v < width * Channels; ++v) sum[v] += weight * (row[v] >> dropped);
        }
        for (size_t v = 0; v < width * Channels; ++v) out[v] = clampSample<Sample>((sum[v] + half) >> shift);
        job.destination.writeSpan(job.destinationWindow.y0 + job.rows.from + int32_t(r),
                                  job.destinationWindow.x0 + job.columns.from, int32_t(width), out.data());
    }
}

}  // namespace

struct ImageScaler::WeightCache {
    AxisWeights across;
    AxisWeights down;
};

ImageScaler::ImageScaler(const ImageBuffer& source, ImageBuffer& destination)
    : source_(source), destination_(destination), weights_(std::make_unique<WeightCache>()) {}

ImageScaler::~ImageScaler() = default;

void ImageScaler::ImageReadInterface::getSize(int32_t& width, int32_t& height) const {
    width = image_->width;
    height = image_->height;
}

void ImageScaler::ImageReadInterface::readSpan(int32_t row, int32_t column, int32_t count, void* destination) const {
    std::memcpy(destination, image_->pixelBytes(column, row), size_t(count) * image_->bytesPerPixel);
}

void ImageScaler::ImageWriteInterface::getSize(int32_t& width, int32_t& height) const {
    width = image_->width;
    height = image_->height;
}

void ImageScaler::ImageWriteInterface::writeSpan(int32_t row, int32_t column, int32_t count, const void* source) {
    std::memcpy(image_->pixelBytes(column, row), source, size_t(count) * image_->bytesPerPixel);
}

const ScaleFilter* ImageScaler::filterFor(int quality, int32_t sourceLength, int32_t destinationLength) {
    switch (quality) {
        case 0:
        case 4: return findFilter("point");
        case 1: return findFilter("triangle");
        case 2:
        case 3: return findFilter("cubic");
        case 5:
            if (destinationLength < sourceLength) return findFilter("triangle");
            return findFilter("cubic");
        default: return nullptr;
    }
}

void ImageScaler::scale(const Window& sourceWindow, const Window& destinationWindow, int quality) {
    const uint32_t channels = source_.channels();
    const uint32_t bytes = source_.bytesPerChannel();
    if (channels != destination_.channels() || bytes != destination_.bytesPerChannel())
        throw std::invalid_argument("scaling: the two images differ in layout");
    if ((channels != 1 && channels != 4) || (bytes != 1 && bytes != 2))
        throw std::invalid_argument("scaling: only 1 or 4 channels of 8 or 16 bits");
    int32_t sourceWidth = 0, sourceHeight = 0, destinationWidth = 0, destinationHeight = 0;
    source_.getSize(sourceWidth, sourceHeight);
    destination_.getSize(destinationWidth, destinationHeight);
    if (sourceWindow.width() < 1 || sourceWindow.height() < 1 || destinationWindow.width() < 1 ||
        destinationWindow.height() < 1)
        throw std::invalid_argument("scaling: empty window");
    if (sourceWindow.x0 < 0 || sourceWindow.y0 < 0 || sourceWindow.x1 >= sourceWidth || sourceWindow.y1 >= sourceHeight)
        throw std::invalid_argument("scaling: the source window leaves the source image");
    const ScaleFilter* horizontalFilter = filterFor(quality, sourceWindow.width(), destinationWindow.width());
    const ScaleFilter* verticalFilter = filterFor(quality, sourceWindow.height(), destinationWindow.height());
    if (!horizontalFilter || !verticalFilter) throw std::invalid_argument("scaling: unknown quality");

    const ScaleJob job{source_,
                       destination_,
                       sourceWindow,
                       destinationWindow,
                       visible(destinationWindow.x0, destinationWindow.x1, destinationWidth),
                       visible(destinationWindow.y0, destinationWindow.y1, destinationHeight)};
    if (job.columns.isEmpty() || job.rows.isEmpty()) return;
    const AxisFilter horizontal = planAxis(*horizontalFilter, sourceWindow.width(), destinationWindow.width());
    const AxisFilter vertical = planAxis(*verticalFilter, sourceWindow.height(), destinationWindow.height());
    // One routine per layout: 8 or 16-bit samples, one or four channels.
    auto run = [&]<class Sample, uint32_t Channels>() {
        if (horizontal.isPoint && vertical.isPoint) {
            copyNearest<Sample, Channels>(job, horizontal, vertical);
            return;
        }
        const AxisWeights& across = weightsFor(weights_->across, horizontal, sourceWindow.width(),
                                               destinationWindow.width(), job.columns, true);
        const AxisWeights& down = weightsFor(weights_->down, vertical, sourceWindow.height(),
                                             destinationWindow.height(), job.rows, false);
        filterSeparably<Sample, Channels>(job, across, down);
    };
    if (bytes == 1) {
        if (channels == 1)
            run.template operator()<uint8_t, 1>();
        else
            run.template operator()<uint8_t, 4>();
    } else {
        if (channels == 1)
            run.template operator()<uint16_t, 1>();
        else
            run.template operator()<uint16_t, 4>();
    }
}

void scaleImage(const Image& source, const PixelRect& sourceRect, Image& destination, int quality) {
    const ImageScaler::ImageReadInterface reader(source);
    ImageScaler::ImageWriteInterface writer(destination);
    ImageScaler scaler(reader, writer);
    scaler.scale({sourceRect.left, sourceRect.top, sourceRect.right - 1, sourceRect.bottom - 1},
                 {0, 0, destination.width - 1, destination.height - 1}, quality);
}

}  // namespace fx
