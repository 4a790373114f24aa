// Reading and writing picture files: format detection, dispatch to the PNG,
// TIFF and JPEG codecs, and the error messages they share.
#include "editor/picture_file.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "editor/picture_codecs.h"
#include "editor/replacing_file.h"

namespace editor {
namespace {

// The path as it goes between the quotes of a message: control characters are
// escaped so the message stays on one line.
std::string quotedPath(const std::string& path) {
    std::string quoted = "\"";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string lowerCase(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The format told by the first bytes of a file, or nothing.
bool detectFormat(const unsigned char* head, size_t size, FileFormat& format) {
    static const unsigned char png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (size >= 8 && std::memcmp(head, png, 8) == 0) return format = FileFormat::png, true;
    // Classic TIFF (42) and BigTIFF (43), either byte order.
    if (size >= 4 && ((head[0] == 'I' && head[1] == 'I' && (head[2] == 42 || head[2] == 43) && head[3] == 0) ||
                      (head[0] == 'M' && head[1] == 'M' && head[2] == 0 && (head[3] == 42 || head[3] == 43))))
        return format = FileFormat::tiff, true;
    if (size >= 3 && head[0] == 0xff && head[1] == 0xd8 && head[2] == 0xff) return format = FileFormat::jpeg, true;
    return false;
}

Picture readOpenFile(std::FILE* file, const std::string& path, uint64_t pixelLimit) {
    struct stat status {};
    if (::fstat(fileno(file), &status) != 0) throw FileError::reading(path, codecs::systemProblem(errno));
    if (S_ISDIR(status.st_mode)) throw FileError::reading(path, "is a folder, not a picture file");
    if (S_ISREG(status.st_mode) && status.st_size == 0) throw FileError::reading(path, "the file is empty");

    unsigned char head[8] = {};
    const size_t got = std::fread(head, 1, sizeof head, file);
    if (std::ferror(file)) throw FileError::reading(path, codecs::systemProblem(errno));
    if (got == 0) throw FileError::reading(path, "the file is empty");
    FileFormat format{};
    if (!detectFormat(head, got, format)) throw FileError::reading(path, "not a PNG, TIFF or JPEG file");
    if (std::fseek(file, 0, SEEK_SET) != 0) throw FileError::reading(path, codecs::systemProblem(errno));

    switch (format) {
        case FileFormat::png:
            return codecs::readPng(file, path, pixelLimit);
        case FileFormat::jpeg:
            return codecs::readJpeg(file, path, pixelLimit);
        case FileFormat::tiff:
            return codecs::readTiff(fileno(file), path, pixelLimit);
    }
    throw FileError::reading(path, "not a PNG, TIFF or JPEG file");
}

}  // namespace

FileError::FileError(const std::string& verb, const std::string& path, const std::string& problem)
    : std::runtime_error("cannot " + verb + " " + quotedPath(path) + ": " + problem), path_(path), problem_(problem) {}

FileError FileError::reading(const std::string& path, const std::string& problem) {
    return FileError("read", path, problem);
}

FileError FileError::writing(const std::string& path, const std::string& problem) {
    return FileError("write", path, problem);
}

FileFormat outputFormatFor(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    const std::string extension = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                                      ? std::string()
                                      : lowerCase(path.substr(dot));
    if (extension == ".png") return FileFormat::png;
    if (extension == ".tif" || extension == ".tiff") return FileFormat::tiff;
    if (extension == ".jpg" || extension == ".jpeg") return FileFormat::jpeg;
    throw FileError::writing(path, "unknown file type; the name must end in .png, .tif, .tiff, .jpg or .jpeg");
}

// Binary, and not inherited by child processes: "e" (close on exec) in glibc,
// "N" (no inherit) in the Windows C runtime.
#ifdef _WIN32
constexpr char kReadMode[] = "rbN";
#else
constexpr char kReadMode[] = "rbe";
#endif

Picture readPicture(const std::string& path, uint64_t pixelLimit) {
    FilePtr file(std::fopen(path.c_str(), kReadMode));
    if (!file) {
        if (errno == ENOENT) throw FileError::reading(path, "no such file");
        throw FileError::reading(path, codecs::systemProblem(errno));
    }
    try {
        return readOpenFile(file.get(), path, pixelLimit);
    } catch (const std::bad_alloc&) {
        throw FileError::reading(path, "not enough memory to hold the picture");
    } catch (const std::length_error&) {
        throw FileError::reading(path, "not enough memory to hold the picture");
    }
}

std::optional<Compression> compressionNamed(const std::string& name) {
    if (name == "fast") return Compression::fast;
    if (name == "default") return Compression::standard;
    if (name == "best") return Compression::best;
    return std::nullopt;
}

void writePicture(const Picture& picture, const std::string& path, Compression compression, unsigned threads) {
    const FileFormat format = outputFormatFor(path);
    if (!picture.isValid()) throw FileError::writing(path, "the picture is malformed");
    const std::string sizeProblem = codecs::pictureSizeProblem(uint64_t(picture.width), uint64_t(picture.height));
    if (!sizeProblem.empty()) throw FileError::writing(path, sizeProblem);
    if (format == FileFormat::jpeg && picture.hasAlpha())
        throw FileError::writing(path, "JPEG cannot hold transparency; save as .png or .tif to keep it");

    ReplacingFile file(path);
    try {
        switch (format) {
            case FileFormat::png:
                codecs::writePng(picture, file.stream(), path, compression);
                break;
            case FileFormat::jpeg:
                codecs::writeJpeg(picture, file.stream(), path, compression);
                break;
            case FileFormat::tiff:
                codecs::writeTiff(picture, file.descriptor(), path, compression, threads);
                break;
        }
    } catch (const std::bad_alloc&) {
        throw FileError::writing(path, "out of memory");
    }
    file.commit();
}

namespace codecs {

std::string pictureSizeProblem(uint64_t width, uint64_t height, uint64_t pixelLimit) {
    if (width == 0 || height == 0) return "the picture has no pixels";
    const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    // The product is taken only once each side is below 2^31.
    if (width > uint64_t(INT32_MAX) || height > uint64_t(INT32_MAX) || width * height > kMaxPicturePixels)
        return "the picture is too large (" + size + "; at most 2^31 pixels)";
    if (width * height > pixelLimit)
        return "the picture is too large (" + size + "; the limit is " + std::to_string(pixelLimit) +
               " pixels, raised with --max-pixels)";
    return {};
}

std::string oneLine(const char* message) {
    std::string text = message ? message : "";
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "unknown error";
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

void copyMessage(char* buffer, size_t size, const char* message) {
    if (size == 0) return;
    std::snprintf(buffer, size, "%s", message ? message : "");
}

std::string systemProblem(int error) {
    std::string text = std::strerror(error);
    if (!text.empty()) text[0] = char(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

}  // namespace codecs
}  // namespace editor
