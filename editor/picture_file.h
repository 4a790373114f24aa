// Reading and writing picture files: PNG, TIFF and JPEG in 8 and 16 bits.
//
// Reading recognises the format by the file's first bytes, whatever its name.
// Writing picks the format from the name's extension and never touches the
// destination until the new file is complete: it is written under a temporary
// name in the same folder and renamed over the destination at the end.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "editor/picture.h"

namespace editor {

// A file that could not be read or written. what() is one line naming the
// file and the problem: cannot read "x.png": not a PNG, TIFF or JPEG file
class FileError : public std::runtime_error {
public:
    static FileError reading(const std::string& path, const std::string& problem);
    static FileError writing(const std::string& path, const std::string& problem);

    const std::string& path() const { return path_; }
    const std::string& problem() const { return problem_; }

private:
    FileError(const std::string& verb, const std::string& path, const std::string& problem);
    std::string path_, problem_;
};

enum class FileFormat { png, tiff, jpeg };

// Largest picture the host holds, in pixels.
inline constexpr uint64_t kMaxPicturePixels = uint64_t(1) << 31;
// Largest picture read unless the caller allows more (up to kMaxPicturePixels): one
// gigapixel. A file states its size in its first bytes, so this is what keeps a small damaged
// or hostile file from claiming gigabytes of memory.
inline constexpr uint64_t kDefaultPixelLimit = 1000000000;

// The format a file of this name is written in, from its extension
// (case-insensitive): .png, .tif, .tiff, .jpg, .jpeg. Throws FileError naming
// the allowed extensions for any other name, so a caller can check an output
// name before doing the work.
FileFormat outputFormatFor(const std::string& path);

// Reads a PNG (8/16-bit grey, grey+alpha, RGB, RGBA, palette; lower depths
// expand to 8), TIFF (8/16-bit RGB, RGBA, grey, grey+alpha; strips or tiles;
// contiguous or separate planes) or JPEG (8-bit colour or grey). Grey becomes
// RGB; any alpha makes a 4-channel picture. Throws FileError for anything else,
// including a picture of more than pixelLimit pixels (refused from the header)
// and a file that ends before its last pixel.
Picture readPicture(const std::string& path, uint64_t pixelLimit = kDefaultPixelLimit);

// How hard a writer works to make the file small. Every level stores the same pixels; only
// the time taken and the file's size differ.
//   fast      PNG: zlib level 1 looking for runs only (Z_RLE), every row with the Up
//             filter. TIFF: deflate level 1 (libdeflate 1).
//   standard  PNG: zlib level 6, libpng's choice of filter per row. TIFF: libtiff's level 6
//             (libdeflate 7, which libtiff takes to match zlib's 6).
//   best      PNG: zlib level 9, libpng's choice of filter per row. TIFF: level 12
//             (libdeflate's slowest and smallest; 9 where libtiff has only zlib).
// TIFF rows are stored as differences from their left neighbours at every level. JPEG keeps
// its quality at every level; fast writes it with the standard Huffman tables, the others
// with tables made for the picture (a few percent smaller, with a second pass over it).
enum class Compression { fast, standard, best };

// The level a command line names: "fast", "default" (standard) or "best"; nothing for any
// other word.
std::optional<Compression> compressionNamed(const std::string& name);

// Writes a PNG or TIFF (8 or 16-bit, RGB or RGBA) or a JPEG (quality 95; a
// 16-bit picture is reduced to 8 bits; a picture with transparency is refused
// since JPEG cannot hold it). On failure throws FileError and leaves an
// existing destination as it was; input and destination may be the same path.
// A TIFF is compressed on up to `threads` threads (0: one per core), into the same bytes
// whatever their number.
void writePicture(const Picture& picture, const std::string& path, Compression compression = Compression::fast,
                  unsigned threads = 0);

}  // namespace editor
