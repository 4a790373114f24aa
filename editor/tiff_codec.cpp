// TIFF reading and writing with libtiff.
//
// libtiff reports problems through handlers and return codes. Ours are set per
// file (not globally), keep the first error message for the FileError and
// print nothing. Files are read through a duplicate descriptor without memory
// mapping, so a file shortened while it is read gives an error, not a crash.
//
// Alpha: an extra sample marked as unassociated alpha becomes the picture's
// transparency. Associated (premultiplied) alpha is refused: the host holds
// unassociated alpha, and dividing the colour back out would lose precision
// in faint pixels. Extra samples of unspecified meaning are not transparency
// (editors store additional masks that way) and are left out.
//
// Writing: deflate strips of about a megabyte with the horizontal predictor. Where libtiff
// compresses strips with libdeflate, the strips are compressed here instead, the same way on
// several threads, and handed to libtiff ready made; elsewhere libtiff compresses them.
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

#include "editor/exif_orientation.h"
#include "editor/parallel_deflate.h"
#include "editor/picture_codecs.h"

namespace editor::codecs {
namespace {

struct TiffMessages {
    char error[256] = {};
    bool failed = false;
    int systemError = 0;  // errno when the error was raised; the writer clears errno before each call
};

int tiffError(TIFF*, void* user, const char*, const char* format, va_list arguments) {
    auto* messages = static_cast<TiffMessages*>(user);
    if (!messages->failed) {
        messages->systemError = errno;
        std::vsnprintf(messages->error, sizeof messages->error, format, arguments);
        messages->failed = true;
    }
    return 1;  // handled: the global handler, which prints, is not called
}

int tiffWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

class TiffOptions {
public:
    explicit TiffOptions(TiffMessages* messages) : options_(TIFFOpenOptionsAlloc()) {
        if (!options_) throw std::bad_alloc();
        TIFFOpenOptionsSetErrorHandlerExtR(options_, tiffError, messages);
        TIFFOpenOptionsSetWarningHandlerExtR(options_, tiffWarning, messages);
    }
    ~TiffOptions() { TIFFOpenOptionsFree(options_); }
    TiffOptions(const TiffOptions&) = delete;
    TiffOptions& operator=(const TiffOptions&) = delete;
    TIFFOpenOptions* get() const { return options_; }

private:
    TIFFOpenOptions* options_;
};

// An open TIFF on its own duplicate of a descriptor; closing it closes that
// duplicate only.
class TiffFile {
public:
    TiffFile(int descriptor, const std::string& path, const char* mode, const TiffOptions& options) {
        const int duplicate = ::dup(descriptor);
        if (duplicate < 0) return;
        tiff_ = TIFFFdOpenExt(duplicate, path.c_str(), mode, options.get());
        if (!tiff_) ::close(duplicate);  // a failed open leaves the descriptor open
    }
    ~TiffFile() { close(); }
    TiffFile(const TiffFile&) = delete;
    TiffFile& operator=(const TiffFile&) = delete;
    TIFF* get() const { return tiff_; }
    void close() {
        if (tiff_) TIFFClose(tiff_);
        tiff_ = nullptr;
    }

private:
    TIFF* tiff_ = nullptr;
};

// Which file sample each picture channel takes, and how samples are laid out.
struct TiffLayout {
    uint32_t width = 0, height = 0;
    int samplesPerPixel = 0;
    int bytesPerSample = 0;
    bool separatePlanes = false;
    int channels = 0;           // of the picture: 3 or 4
    int channelSample[4] = {};  // file sample index for R, G, B (and A)
    bool rgb = false;           // RGB samples as stored, in the picture's order
};

// Whether the file's samples are the picture's, in the same order, so that whole strips can be
// decoded straight into the picture's rows.
bool samplesMatchPicture(const TiffLayout& layout) {
    if (!layout.rgb || layout.separatePlanes || layout.samplesPerPixel != layout.channels) return false;
    for (int c = 0; c < layout.channels; ++c)
        if (layout.channelSample[c] != c) return false;
    return true;
}

// Stores `count` pixels of one row, starting at column x, from a run of file
// samples holding samples first .. first+samplesInRun-1 of each pixel (all of
// them when the planes are contiguous, one when they are separate).
template <typename FileSample>
void storeRun(Picture& picture, const TiffLayout& layout, const uint8_t* run, uint32_t x, uint32_t y, uint32_t count,
              int first, int samplesInRun) {
    for (int c = 0; c < layout.channels; ++c) {
        const int offset = layout.channelSample[c] - first;
        if (offset < 0 || offset >= samplesInRun) continue;
        for (uint32_t i = 0; i < count; ++i) {
            FileSample value;
            std::memcpy(&value, run + (size_t(i) * size_t(samplesInRun) + size_t(offset)) * sizeof(FileSample),
                        sizeof value);
            const size_t index = (size_t(y) * size_t(picture.width) + x + i) * size_t(picture.channels) + size_t(c);
            if constexpr (sizeof(FileSample) == 1)
                picture.data[index] = value;
            else
                picture.samples16()[index] = fileToHost16(value);
        }
    }
}

void storeSamples(Picture& picture, const TiffLayout& layout, const uint8_t* run, uint32_t x, uint32_t y,
                  uint32_t count, int first, int samplesInRun) {
    if (layout.bytesPerSample == 2)
        storeRun<uint16_t>(picture, layout, run, x, y, count, first, samplesInRun);
    else
        storeRun<uint8_t>(picture, layout, run, x, y, count, first, samplesInRun);
}

// The planes (file sample indices) that hold something the picture takes.
std::vector<int> neededPlanes(const TiffLayout& layout) {
    if (!layout.separatePlanes) return {0};
    std::vector<int> planes;
    for (int c = 0; c < layout.channels; ++c) {
        bool seen = false;
        for (const int p : planes) seen = seen || p == layout.channelSample[c];
        if (!seen) planes.push_back(layout.channelSample[c]);
    }
    return planes;
}

// Where the pixels stop: a row (counted from 1) or the tile that holds it, and
// the plane of separate planes, as a user can look it up.
std::string rowProblem(const TiffLayout& layout, uint32_t row, int plane) {
    std::string where = "row " + std::to_string(uint64_t(row) + 1) + " of " + std::to_string(layout.height);
    if (layout.separatePlanes) where += " in sample plane " + std::to_string(plane + 1);
    return "damaged or truncated TIFF file (the pixels of " + where + " cannot be read)";
}

// Decodes each strip straight into the picture's rows, which hold the same samples in the same
// order, and maps 16-bit samples to the host's scale in place. Whole strips also let libtiff
// use libdeflate. Returns why that failed, or nothing.
std::string readStripsInPlace(TIFF* tiff, const TiffLayout& layout, const TiffMessages& messages, Picture& picture) {
    uint32_t rowsPerStrip = 0;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = std::clamp<uint32_t>(rowsPerStrip, 1, layout.height);
    const size_t rowBytes = picture.rowBytes();
    for (uint32_t top = 0; top < layout.height; top += rowsPerStrip) {
        const uint32_t rows = std::min(rowsPerStrip, layout.height - top);
        const tmsize_t bytes = tmsize_t(rows * rowBytes);
        if (TIFFReadEncodedStrip(tiff, TIFFComputeStrip(tiff, top, 0), picture.row8(int32_t(top)), bytes) != bytes ||
            messages.failed)
            return rowProblem(layout, top, 0);
        if (picture.depth == 16) {
            uint16_t* samples = picture.row16(int32_t(top));
            for (size_t i = 0, count = size_t(rows) * size_t(picture.width) * size_t(picture.channels); i < count; ++i)
                samples[i] = fileToHost16(samples[i]);
        }
        if (layout.height - top <= rowsPerStrip) break;  // no wrap-around past 2^32
    }
    return {};
}

// Reads the strips row by row into the picture; returns why that failed, or nothing.
std::string readStrips(TIFF* tiff, const TiffLayout& layout, const TiffMessages& messages, Picture& picture) {
    if (samplesMatchPicture(layout) && uint64_t(TIFFScanlineSize64(tiff)) == picture.rowBytes())
        return readStripsInPlace(tiff, layout, messages, picture);
    const int samplesInRun = layout.separatePlanes ? 1 : layout.samplesPerPixel;
    // Below 2^31 pixels x 2^16 samples x 2 bytes: no overflow.
    const uint64_t expected = uint64_t(layout.width) * uint64_t(samplesInRun) * uint64_t(layout.bytesPerSample);
    if (uint64_t(TIFFScanlineSize64(tiff)) != expected) return "unsupported TIFF strip layout";
    PixelBytes line(static_cast<size_t>(expected));
    for (const int plane : neededPlanes(layout)) {
        const int first = layout.separatePlanes ? plane : 0;
        for (uint32_t y = 0; y < layout.height; ++y) {
            if (TIFFReadScanline(tiff, line.data(), y, uint16_t(layout.separatePlanes ? plane : 0)) < 0 ||
                messages.failed)
                return rowProblem(layout, y, plane);
            storeSamples(picture, layout, line.data(), 0, y, layout.width, first, samplesInRun);
        }
    }
    return {};
}

// Reads the tiles one by one into the picture; returns why that failed, or nothing.
std::string readTiles(TIFF* tiff, const TiffLayout& layout, const TiffMessages& messages, Picture& picture) {
    uint32_t tileWidth = 0, tileHeight = 0;
    if (!TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth) || !TIFFGetField(tiff, TIFFTAG_TILELENGTH, &tileHeight) ||
        tileWidth == 0 || tileHeight == 0)
        return "damaged TIFF file (its tiles have no size)";
    // A tile larger than the whole picture (allowing for small pictures in the usual tile
    // sizes) would only make a small file claim a large buffer.
    const uint64_t tilePixels = uint64_t(tileWidth) * uint64_t(tileHeight);
    if (tilePixels > std::max(uint64_t(layout.width) * uint64_t(layout.height), uint64_t(1) << 24))
        return "unsupported TIFF tile size (" + std::to_string(tileWidth) + " x " + std::to_string(tileHeight) +
               " pixels for a " + std::to_string(layout.width) + " x " + std::to_string(layout.height) + " picture)";
    const int samplesInRun = layout.separatePlanes ? 1 : layout.samplesPerPixel;
    // Below 2^31 pixels x 2^16 samples x 2 bytes: no overflow.
    const uint64_t rowBytes = uint64_t(tileWidth) * uint64_t(samplesInRun) * uint64_t(layout.bytesPerSample);
    if (uint64_t(TIFFTileSize64(tiff)) != rowBytes * tileHeight) return "unsupported TIFF tile layout";
    PixelBytes tile(size_t(rowBytes * tileHeight));
    for (const int plane : neededPlanes(layout)) {
        const int first = layout.separatePlanes ? plane : 0;
        for (uint32_t top = 0; top < layout.height; top += tileHeight) {
            for (uint32_t left = 0; left < layout.width; left += tileWidth) {
                if (TIFFReadTile(tiff, tile.data(), left, top, 0, uint16_t(layout.separatePlanes ? plane : 0)) < 0 ||
                    messages.failed)
                    return rowProblem(layout, top, plane);
                const uint32_t columns = std::min(tileWidth, layout.width - left);
                const uint32_t rows = std::min(tileHeight, layout.height - top);
                for (uint32_t r = 0; r < rows; ++r)
                    storeSamples(picture, layout, tile.data() + size_t(r) * size_t(rowBytes), left, top + r, columns,
                                 first, samplesInRun);
                if (layout.width - left <= tileWidth) break;  // no wrap-around past 2^32
            }
            if (layout.height - top <= tileHeight) break;
        }
    }
    return {};
}

// Works out the layout, or names why the file is not one the host reads.
std::string describeLayout(TIFF* tiff, TiffLayout& layout) {
    uint16_t bitsPerSample = 0, samplesPerPixel = 0, planar = 0, sampleFormat = 0, photometric = 0, compression = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &layout.width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &layout.height);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric))
        return "the TIFF file does not say how to read its colours";

    if (bitsPerSample != 8 && bitsPerSample != 16)
        return "unsupported TIFF sample size (" + std::to_string(bitsPerSample) + " bits; 8 and 16 are read)";
    if (sampleFormat != SAMPLEFORMAT_UINT) return "unsupported TIFF sample format (only unsigned integers are read)";
    layout.bytesPerSample = bitsPerSample / 8;
    layout.samplesPerPixel = samplesPerPixel;
    layout.separatePlanes = planar == PLANARCONFIG_SEPARATE;

    int colourSamples = 0;
    if (photometric == PHOTOMETRIC_RGB) {
        colourSamples = 3;
        layout.rgb = true;
    } else if (photometric == PHOTOMETRIC_MINISBLACK) {
        colourSamples = 1;
    } else if (photometric == PHOTOMETRIC_YCBCR && compression == COMPRESSION_JPEG && !layout.separatePlanes &&
               bitsPerSample == 8) {
        // libtiff's JPEG codec converts YCbCr to RGB itself.
        if (!TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB)) return "unsupported kind of TIFF file";
        colourSamples = 3;
    } else if (photometric == PHOTOMETRIC_SEPARATED) {
        return "CMYK TIFF files are not supported";
    } else {
        return "unsupported TIFF colour kind (photometric " + std::to_string(photometric) + ")";
    }
    if (samplesPerPixel < colourSamples) return "the TIFF file has fewer samples than its colours need";

    for (int c = 0; c < 3; ++c) layout.channelSample[c] = colourSamples == 3 ? c : 0;
    layout.channels = 3;
    uint16_t extraCount = 0;
    uint16_t* extraKinds = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extraKinds) && extraKinds) {
        for (int e = 0; e < extraCount && colourSamples + e < samplesPerPixel; ++e) {
            if (extraKinds[e] == EXTRASAMPLE_ASSOCALPHA)
                return "TIFF files with premultiplied (associated) alpha are not supported";
            if (extraKinds[e] == EXTRASAMPLE_UNASSALPHA) {
                layout.channelSample[3] = colourSamples + e;
                layout.channels = 4;
                break;
            }
        }
    }
    return {};
}

// The colour profile, and an orientation other than the stored one as Exif data.
void keepMetadata(TIFF* tiff, Picture& picture) {
    uint32_t profileSize = 0;
    void* profile = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &profileSize, &profile) && profile && profileSize > 0) {
        const auto* bytes = static_cast<const uint8_t*>(profile);
        picture.iccProfile.assign(bytes, bytes + profileSize);
    }
    uint16_t orientation = 0;
    if (TIFFGetField(tiff, TIFFTAG_ORIENTATION, &orientation) && orientation > ORIENTATION_TOPLEFT &&
        orientation <= ORIENTATION_LEFTBOT)
        picture.exif = exifWithOrientation(orientation);
}

// A sample as TIFF stores it: 16-bit samples on the file scale.
inline uint8_t fileSample(uint8_t sample) { return sample; }
inline uint16_t fileSample(uint16_t sample) { return hostToFile16(sample); }

// Samples of a row as TIFF stores them, in the file's (the machine's) byte order. With
// `differences` (the horizontal predictor) each sample less the same sample of the pixel to its
// left, modulo the sample's range, the first pixel as it is; readers add them up again.
template <typename Sample>
void packSamples(const Sample* row, size_t count, size_t channels, bool differences, uint8_t* out) {
    const size_t whole = differences ? std::min(channels, count) : count;  // samples stored as they are
    for (size_t i = 0; i < whole; ++i) {
        const Sample value = fileSample(row[i]);
        std::memcpy(out + i * sizeof(Sample), &value, sizeof value);
    }
    for (size_t i = whole; i < count; ++i) {
        const Sample value = Sample(fileSample(row[i]) - fileSample(row[i - channels]));
        std::memcpy(out + i * sizeof(Sample), &value, sizeof value);
    }
}

void packRow(const Picture& picture, int32_t y, bool differences, uint8_t* out) {
    const size_t count = size_t(picture.width) * size_t(picture.channels);
    if (picture.depth == 8)
        packSamples(picture.row8(y), count, size_t(picture.channels), differences, out);
    else
        packSamples(picture.row16(y), count, size_t(picture.channels), differences, out);
}

// Fills `out` with the rows of strip `index` as TIFF stores them; returns how many bytes.
size_t packStrip(const Picture& picture, uint32_t rowsPerStrip, size_t index, bool differences, uint8_t* out) {
    const uint32_t top = uint32_t(index) * rowsPerStrip;
    const uint32_t rows = std::min(rowsPerStrip, uint32_t(picture.height) - top);
    for (uint32_t r = 0; r < rows; ++r) packRow(picture, int32_t(top + r), differences, out + r * picture.rowBytes());
    return size_t(rows) * picture.rowBytes();
}

// libtiff's ZIPQUALITY for a compression level; libtiff caps it at zlib's 9 when it has no
// libdeflate.
int deflateLevel(Compression compression) {
    switch (compression) {
        case Compression::fast:
            return 1;
        case Compression::standard:
            return 6;
        case Compression::best:
            return 12;
    }
    return 6;
}

// The libdeflate level libtiff itself takes for that ZIPQUALITY: one more from 6 to 9, to make
// files as small as zlib's level would.
int libdeflateLevel(int zipQuality) { return zipQuality >= 6 && zipQuality <= 9 ? zipQuality + 1 : zipQuality; }

// Whether libtiff compresses whole strips with libdeflate; where it has only zlib, its files
// are zlib's, and it writes them itself.
bool libtiffUsesLibdeflate(TIFF* tiff) {
#ifdef TIFFTAG_DEFLATE_SUBCODEC
    int subcodec = 0;
    return TIFFGetField(tiff, TIFFTAG_DEFLATE_SUBCODEC, &subcodec) && subcodec == DEFLATE_SUBCODEC_LIBDEFLATE;
#else
    return false;
#endif
}

// The first error libtiff reported, without the "<path>: " it often starts with.
std::string tiffProblem(const TiffMessages& messages, const std::string& path, const char* fallback) {
    if (!messages.failed) return fallback;
    std::string text = messages.error;
    if (text.rfind(path + ": ", 0) == 0) text.erase(0, path.size() + 2);
    return oneLine(text.c_str());
}

// A failed write, with the system's reason when the failure came from it
// ("Write error at scanline 9 (no space left on device)").
FileError writeError(const TiffMessages& messages, const std::string& path, const char* fallback) {
    std::string problem = tiffProblem(messages, path, fallback);
    if (messages.failed && messages.systemError) problem += " (" + systemProblem(messages.systemError) + ")";
    return FileError::writing(path, problem);
}

}  // namespace

Picture readTiff(int descriptor, const std::string& path, uint64_t pixelLimit) {
    TiffMessages messages;
    TiffOptions options(&messages);
    // "m": no memory mapping; "h" is not given, so the first directory is read.
    TiffFile tiff(descriptor, path, "rm", options);
    // libtiff's own messages speak of its internals (scanline 4294967295, tag numbers); the
    // user is told in the host's words what could not be read.
    if (!tiff.get()) throw FileError::reading(path, "damaged TIFF file (its first picture cannot be found)");
    // Complaints about a directory libtiff could still use do not make the file
    // unreadable; only errors from here on count.
    messages = TiffMessages();

    TiffLayout layout;
    const std::string problem = describeLayout(tiff.get(), layout);
    if (!problem.empty()) throw FileError::reading(path, problem);
    const std::string sizeProblem = pictureSizeProblem(layout.width, layout.height, pixelLimit);
    if (!sizeProblem.empty()) throw FileError::reading(path, sizeProblem);

    Picture picture =
        Picture::unfilled(int32_t(layout.width), int32_t(layout.height), layout.channels, layout.bytesPerSample * 8);
    const std::string readProblem = TIFFIsTiled(tiff.get()) ? readTiles(tiff.get(), layout, messages, picture)
                                                            : readStrips(tiff.get(), layout, messages, picture);
    if (!readProblem.empty()) throw FileError::reading(path, readProblem);
    keepMetadata(tiff.get(), picture);
    return picture;
}

void writeTiff(const Picture& picture, int descriptor, const std::string& path, Compression compression,
               unsigned threads) {
    TiffMessages messages;
    TiffOptions options(&messages);
    // Past about 4 GB a classic TIFF cannot address its data; BigTIFF can.
    const bool big = picture.byteSize() > (uint64_t(7) << 29);
    TiffFile tiff(descriptor, path, big ? "w8" : "w", options);
    if (!tiff.get()) throw FileError::writing(path, tiffProblem(messages, path, "cannot create a TIFF file"));
    TIFF* t = tiff.get();

    // TIFF keeps the orientation in a field of its own; the rest of the Exif data is not written.
    const int exifValue = exifOrientation(picture.exif);
    const int orientation = exifValue ? exifValue : ORIENTATION_TOPLEFT;
    const bool deflate = TIFFIsCODECConfigured(COMPRESSION_ADOBE_DEFLATE);
    const uint16_t codec = deflate ? COMPRESSION_ADOBE_DEFLATE : COMPRESSION_LZW;
    const size_t rowBytes = picture.rowBytes();
    // Strips of about a megabyte, each compressed whole: libdeflate compresses a whole strip
    // several times faster than zlib row by row, and the strips are shared among threads.
    const uint32_t rowsPerStrip =
        uint32_t(std::max<size_t>(1, std::min<size_t>(size_t(picture.height), (size_t(1) << 20) / rowBytes)));
    bool ok = TIFFSetField(t, TIFFTAG_IMAGEWIDTH, uint32_t(picture.width)) &&
              TIFFSetField(t, TIFFTAG_IMAGELENGTH, uint32_t(picture.height)) &&
              TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, uint16_t(picture.depth)) &&
              TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, uint16_t(picture.channels)) &&
              TIFFSetField(t, TIFFTAG_SAMPLEFORMAT, uint16_t(SAMPLEFORMAT_UINT)) &&
              TIFFSetField(t, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_RGB)) &&
              TIFFSetField(t, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG)) &&
              TIFFSetField(t, TIFFTAG_ORIENTATION, uint16_t(orientation)) &&
              TIFFSetField(t, TIFFTAG_COMPRESSION, codec) &&
              TIFFSetField(t, TIFFTAG_PREDICTOR, uint16_t(PREDICTOR_HORIZONTAL)) &&
              TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    if (ok && deflate) ok = TIFFSetField(t, TIFFTAG_ZIPQUALITY, deflateLevel(compression));
    if (ok && !picture.iccProfile.empty() && picture.iccProfile.size() <= 0x7fffffffu)
        ok = TIFFSetField(t, TIFFTAG_ICCPROFILE, uint32_t(picture.iccProfile.size()), picture.iccProfile.data());
    if (ok && picture.hasAlpha()) {
        const uint16_t kinds[1] = {EXTRASAMPLE_UNASSALPHA};
        ok = TIFFSetField(t, TIFFTAG_EXTRASAMPLES, uint16_t(1), kinds);
    }
    if (!ok) throw FileError::writing(path, tiffProblem(messages, path, "cannot set up the TIFF file"));

    const size_t strips = (size_t(picture.height) + rowsPerStrip - 1) / rowsPerStrip;
    if (deflate && libtiffUsesLibdeflate(t)) {
        // The strips are compressed on several threads, as libtiff would compress them, and
        // handed to it ready made.
        const DeflatePlan plan{strips, rowBytes * rowsPerStrip, libdeflateLevel(deflateLevel(compression)), threads};
        const FillStrip fill = [&](size_t index, uint8_t* out) {
            return packStrip(picture, rowsPerStrip, index, true, out);
        };
        const TakeStrip take = [&](size_t index, const uint8_t* bytes, size_t size) {
            errno = 0;
            if (TIFFWriteRawStrip(t, uint32_t(index), const_cast<uint8_t*>(bytes), tmsize_t(size)) < 0)
                throw writeError(messages, path, "cannot write a strip");
        };
        try {
            deflateStrips(plan, fill, take);
        } catch (const FileError&) {
            throw;
        } catch (const std::runtime_error& error) {
            throw FileError::writing(path, error.what());
        }
    } else {
        // libtiff's codec applies the predictor to a copy of the picture's rows.
        PixelBytes strip(rowBytes * rowsPerStrip);
        for (size_t index = 0; index < strips; ++index) {
            const size_t bytes = packStrip(picture, rowsPerStrip, index, false, strip.data());
            errno = 0;
            if (TIFFWriteEncodedStrip(t, uint32_t(index), strip.data(), tmsize_t(bytes)) < 0)
                throw writeError(messages, path, "cannot write a strip");
        }
    }
    errno = 0;
    if (!TIFFFlush(t) || messages.failed) throw writeError(messages, path, "cannot finish the file");
    tiff.close();
    if (messages.failed) throw writeError(messages, path, "cannot finish the file");
}

}  // namespace editor::codecs
