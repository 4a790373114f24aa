// The per-format readers and writers behind readPicture / writePicture, and the
// small helpers they share. Each codec reports failure as FileError naming the
// path it was given; none of them lets a library error escape any other way.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "editor/picture.h"
#include "editor/picture_file.h"

namespace editor::codecs {

// Readers take a stream positioned at the start of the file and refuse, from the header and
// before allocating anything for the pixels, a picture of more than pixelLimit pixels.
Picture readPng(std::FILE* file, const std::string& path, uint64_t pixelLimit);
Picture readJpeg(std::FILE* file, const std::string& path, uint64_t pixelLimit);
// The TIFF reader works on its own duplicate of the descriptor.
Picture readTiff(int descriptor, const std::string& path, uint64_t pixelLimit);

// Writers take a valid, non-empty picture and an empty file open for writing;
// they leave flushing to disk, closing and renaming to the caller.
void writePng(const Picture& picture, std::FILE* file, const std::string& path, Compression compression);
void writeJpeg(const Picture& picture, std::FILE* file, const std::string& path, Compression compression);
// The TIFF writer compresses on `threads` threads (0: one per core); the file is the same
// whatever their number.
void writeTiff(const Picture& picture, int descriptor, const std::string& path, Compression compression,
               unsigned threads);

// Why a width x height picture does not fit the host's limits (no pixels, a
// side beyond 2^31-1, more than kMaxPicturePixels, more than pixelLimit), or
// empty when it does.
std::string pictureSizeProblem(uint64_t width, uint64_t height, uint64_t pixelLimit = kMaxPicturePixels);

// A library's message made fit for a one-line error: control characters become
// spaces, surrounding blanks are trimmed, an empty text becomes "unknown error".
std::string oneLine(const char* message);

// strerror's text for an errno value, starting lower-case.
std::string systemProblem(int error);

// Copies a library message into a fixed buffer without allocating (safe inside
// C callbacks), cut to size and always terminated.
void copyMessage(char* buffer, size_t size, const char* message);

}  // namespace editor::codecs
