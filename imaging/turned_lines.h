// A one-channel image turned by a ShearRotation and kept line by line: each row (or column) of
// the turned frame holds only the samples from the first to the last pixel of the source that
// lands on it, with a border of zeros on either side. A long strip turned by 45 degrees fills
// little of the rectangle around it; its lines hold a few times its own pixel count.
//
// The lines lie one after another in a single row of samples, so each line can be blurred on
// its own as a rectangle of that row: with a border at least as wide as the blur reads, every
// sample that came from the source is blurred as it is inside the whole turned frame, zeros
// all around.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"
#include "imaging/shear_rotation.h"

// Which lines of the turned frame are kept: its rows, or its columns.
enum class TurnedLine { Row, Column };

struct TurnedLines {
    TurnedLine direction = TurnedLine::Row;
    // One row of samples holding every line, one after another.
    ImagePtr samples;
    // The plane row (or column) of line 0; line i is at firstLine + i.
    int32_t firstLine = 0;
    // The plane column (or row) of each line's first sample.
    std::vector<int32_t> lineStart;
    // Where each line starts in samples; one more entry at the end.
    std::vector<int32_t> lineOffset;

    int32_t lineCount() const { return int32_t(lineStart.size()); }
    // Line i as a rectangle of samples.
    PixelRect lineRect(int32_t i) const { return {0, lineOffset[size_t(i)], 1, lineOffset[size_t(i) + 1]}; }
    // Index in samples of the turned frame's plane point p, which must lie on a kept line
    // within its samples (every point where a source pixel lands does).
    int32_t indexOf(PixelPoint p) const {
        const int32_t line = (direction == TurnedLine::Row ? p.y : p.x) - firstLine;
        const int32_t along = direction == TurnedLine::Row ? p.x : p.y;
        return lineOffset[size_t(line)] + along - lineStart[size_t(line)];
    }
    // The same for a row line and a column line known to be such.
    int32_t indexOnRow(PixelPoint p) const {
        return lineOffset[size_t(p.y - firstLine)] + p.x - lineStart[size_t(p.y - firstLine)];
    }
    int32_t indexOnColumn(PixelPoint p) const {
        return lineOffset[size_t(p.x - firstLine)] + p.y - lineStart[size_t(p.x - firstLine)];
    }
};

// The source (one channel, 8 or 16 bits) turned by rotation, kept by rows or by columns with
// `border` zeros on either side of each line. Angles strictly between -90 and 90 degrees.
// Throws std::invalid_argument for another layout or angle, std::bad_alloc when the samples
// cannot be had.
TurnedLines turnLines(const ShearRotation& rotation, const PlacedImage& source, TurnedLine direction, int32_t border);
