#include "imaging/turned_lines.h"

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

#include "imaging/sample_dispatch.h"

namespace {

// The run [first, last) of the i in [begin, end) with low <= f(i) < high, for f monotone over
// the range (rising or falling): found by bisection.
template <class F>
std::pair<int32_t, int32_t> runWhere(int32_t begin, int32_t end, int32_t low, int32_t high, F f) {
    if (begin >= end) return {begin, begin};
    // The first i of [from, to) for which `before` no longer holds.
    auto boundary = [](int32_t from, int32_t to, auto before) {
        while (from < to) {
            const int32_t middle = from + (to - from) / 2;
            if (before(middle))
                from = middle + 1;
            else
                to = middle;
        }
        return from;
    };
    if (f(begin) <= f(end - 1)) {
        const int32_t first = boundary(begin, end, [&](int32_t i) { return f(i) < low; });
        return {first, boundary(first, end, [&](int32_t i) { return f(i) < high; })};
    }
    const int32_t first = boundary(begin, end, [&](int32_t i) { return f(i) >= high; });
    return {first, boundary(first, end, [&](int32_t i) { return f(i) >= low; })};
}

// The plane point at `along` on line `line` of the direction.
PixelPoint pointOn(TurnedLine direction, int32_t line, int32_t along) {
    return direction == TurnedLine::Row ? PixelPoint{along, line} : PixelPoint{line, along};
}

// Each line's run of source pixels between its borders. Neighbouring points of a line come from
// different rows of the source, so the lines are filled in bands, a stretch of every line of
// the band at a time, whose source pixels stay in the cache.
template <class Sample>
void fillLines(TurnedLines& lines, const ShearShifts& shifts, const Image& source, const PixelRect& from,
               const std::vector<std::pair<int32_t, int32_t>>& runs, int32_t border) {
    constexpr int32_t kBandLines = 32, kStretch = 128;
    Sample* samples = lines.samples->row<Sample>(0);
    for (int32_t band = 0; band < lines.lineCount(); band += kBandLines) {
        const int32_t bandEnd = std::min(band + kBandLines, lines.lineCount());
        int32_t alongBegin = std::numeric_limits<int32_t>::max(), alongEnd = std::numeric_limits<int32_t>::min();
        for (int32_t i = band; i < bandEnd; ++i) {
            Sample* line = samples + lines.lineOffset[size_t(i)];
            const auto [first, last] = runs[size_t(i)];
            std::fill(line, line + border, Sample(0));
            std::fill(line + border + (last - first), line + lines.lineOffset[size_t(i) + 1] - lines.lineOffset[size_t(i)],
                      Sample(0));
            if (first < last) {
                alongBegin = std::min(alongBegin, first);
                alongEnd = std::max(alongEnd, last);
            }
        }
        for (int32_t stretch = alongBegin; stretch < alongEnd; stretch += kStretch)
            for (int32_t i = band; i < bandEnd; ++i) {
                const auto [first, last] = runs[size_t(i)];
                Sample* line = samples + lines.lineOffset[size_t(i)] + border - first;
                const int32_t end = std::min({last, stretch + kStretch});
                for (int32_t along = std::max(first, stretch); along < end; ++along) {
                    const PixelPoint p = shifts.backward(pointOn(lines.direction, lines.firstLine + i, along));
                    line[along] = source.row<Sample>(p.y - from.top)[p.x - from.left];
                }
            }
    }
}

}  // namespace

TurnedLines turnLines(const ShearRotation& rotation, const PlacedImage& source, TurnedLine direction, int32_t border) {
    const Image& image = *source.image;
    if (image.channels != 1 || (image.bytesPerChannel != 1 && image.bytesPerChannel != 2) || !image.data)
        throw std::invalid_argument("turned lines: the image must have one channel of 8 or 16 bits");
    if (!rotation.keepsLinesInOrder())
        throw std::invalid_argument("turned lines: the angle must lie strictly between -90 and 90 degrees");
    const PixelRect from = source.area();
    border = std::max(border, 0);
    // Every source pixel lands inside the turned rectangle around the source.
    const PixelRect turned = rotation.turnedArea(from);
    const bool rows = direction == TurnedLine::Row;
    const int32_t lineBegin = rows ? turned.top : turned.left, lineEnd = rows ? turned.bottom : turned.right;
    const int32_t alongBegin = rows ? turned.left : turned.top, alongEnd = rows ? turned.right : turned.bottom;

    // Along each line both coordinates of the source pixel are monotone, so the points that
    // come from the source form one run.
    TurnedLines lines;
    lines.direction = direction;
    lines.firstLine = lineBegin;
    std::vector<std::pair<int32_t, int32_t>> runs;
    runs.reserve(size_t(lineEnd - lineBegin));
    lines.lineStart.reserve(runs.capacity());
    lines.lineOffset.reserve(runs.capacity() + 1);
    int64_t total = 0;
    for (int32_t line = lineBegin; line < lineEnd; ++line) {
        auto sourceOf = [&](int32_t along) { return rotation.backward(pointOn(direction, line, along)); };
        const auto down = runWhere(alongBegin, alongEnd, from.top, from.bottom,
                                   [&](int32_t along) { return sourceOf(along).y; });
        const auto across = runWhere(alongBegin, alongEnd, from.left, from.right,
                                     [&](int32_t along) { return sourceOf(along).x; });
        const int32_t first = std::max(down.first, across.first);
        const int32_t last = std::max(first, std::min(down.second, across.second));
        runs.emplace_back(first, last);
        lines.lineStart.push_back(first - border);
        lines.lineOffset.push_back(int32_t(total));
        total += int64_t(last - first) + 2 * int64_t(border);
        if (total > std::numeric_limits<int32_t>::max()) throw std::bad_alloc();
    }
    lines.lineOffset.push_back(int32_t(total));
    lines.samples = ImagePtr::make({int32_t(std::max<int64_t>(total, 1)), 1}, 1, image.bytesPerChannel);
    const ShearShifts shifts(rotation, from);
    withSampleType(image, [&]<class Sample>() { fillLines<Sample>(lines, shifts, image, from, runs, border); });
    return lines;
}
