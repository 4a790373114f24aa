// Writes the grey patterns of the Textures folder: nets, dots, streaks, window shapes,
// spots and vignettes that the texture and shape parameters can name.
//
//   ravo_texture_patterns FOLDER
//
// Every pattern is a function of the pixel's centre giving a level from 0 (black) to 1
// (white), written as an 8-bit grey PNG. Only additions, multiplications, divisions, square
// roots and floor are used, which IEEE arithmetic rounds the same everywhere, and the
// streaks' randomness is a fixed integer hash: every build writes the same bytes.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

double clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }

// 0 below e0, 1 above e1, a smooth cubic between.
double smoothstep(double e0, double e1, double v) {
    const double t = clamp01((v - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}

// How much of a pixel a line of halfWidth covers, distance pixels from its middle.
double lineCover(double distance, double halfWidth) { return clamp01(halfWidth + 0.5 - distance); }

// Distance from v to the nearest multiple of pitch.
double gridDistance(double v, double pitch) { return std::fabs(v - pitch * std::floor(v / pitch + 0.5)); }

// 1 inside lo..hi, falling off smoothly over `soft` pixels either side of each edge.
double band(double v, double lo, double hi, double soft) {
    return smoothstep(lo - soft, lo + soft, v) * (1.0 - smoothstep(hi - soft, hi + soft, v));
}

// A well-mixed 32-bit hash; n-th random number of a sequence, from 0 to 1.
uint32_t mix(uint32_t v) {
    v ^= v >> 16;
    v *= 0x7feb352dU;
    v ^= v >> 15;
    v *= 0x846ca68bU;
    v ^= v >> 16;
    return v;
}
double random01(uint32_t n) { return double(mix(n) >> 8) / double(1U << 24); }

// Straight streaks of random brightness and length along one axis, two to every lane of 10
// pixels across it, thinning out towards both ends.
double streaks(double along, double across, double length) {
    constexpr double kLane = 10.0;
    const uint32_t lane = uint32_t(std::floor(across / kLane));
    double level = 0.0;
    for (uint32_t k = 0; k < 2; ++k) {
        const uint32_t seed = (lane * 2 + k) * 4;
        const double middle = lane * kLane + 1.5 + random01(seed) * (kLane - 3.0);
        const double centre = random01(seed + 1) * length;
        const double halfLength = length * (0.05 + 0.3 * random01(seed + 2));
        const double taper = clamp01(1.0 - std::fabs(along - centre) / halfLength);
        const double brightness = 0.3 + 0.7 * random01(seed + 3);
        level = std::max(level, brightness * taper * taper * lineCover(std::fabs(across - middle), 0.6));
    }
    return level;
}

// The patterns, on the pixel centre (x, y) of a w x h picture.

// Threads one pixel wide, on pixel centres so that they reach full white.
double fineNet(double x, double y, double, double) {
    return std::max(lineCover(gridDistance(x - 0.5, 6.0), 0.6), lineCover(gridDistance(y - 0.5, 6.0), 0.6));
}

double coarseNet(double x, double y, double, double) {
    return std::max(lineCover(gridDistance(x, 24.0), 1.5), lineCover(gridDistance(y, 24.0), 1.5));
}

double dots(double x, double y, double, double) {
    const double dx = gridDistance(x - 8.0, 16.0), dy = gridDistance(y - 8.0, 16.0);
    return lineCover(std::sqrt(dx * dx + dy * dy), 4.0);
}

double horizontalStreaks(double x, double y, double w, double) { return streaks(x, y, w); }

double verticalStreaks(double x, double y, double, double h) { return streaks(y, x, h); }

// The opening of a window in the middle of the picture.
double windowOpening(double x, double y, double w, double h) {
    return band(x, 0.2 * w, 0.8 * w, 3.0) * band(y, 0.15 * h, 0.85 * h, 3.0);
}

// Light through a window of four panes: the opening with a cross of bars.
double window(double x, double y, double w, double h) {
    const double bars =
        std::max(band(x, w / 2.0 - 15.0, w / 2.0 + 15.0, 3.0), band(y, h / 2.0 - 15.0, h / 2.0 + 15.0, 3.0));
    return windowOpening(x, y, w, h) * (1.0 - bars);
}

// Light through the opening past the twelve slats of a venetian blind that fills it.
double windowBlind(double x, double y, double w, double h) {
    const double pitch = 0.7 * h / 12.0, v = y - 0.15 * h;
    return windowOpening(x, y, w, h) * band(v - pitch * std::floor(v / pitch), 0.2 * pitch, 0.8 * pitch, 3.0);
}

double softSpot(double x, double y, double w, double h) {
    const double dx = (x - w / 2.0) / w, dy = (y - h / 2.0) / h;
    return 1.0 - smoothstep(0.1, 0.45, std::sqrt(dx * dx + dy * dy));
}

// Bright in the middle, dark in the corners, following the picture's proportions.
double vignette(double x, double y, double w, double h) {
    const double dx = (x - w / 2.0) / (w / 2.0), dy = (y - h / 2.0) / (h / 2.0);
    return 1.0 - smoothstep(0.45, 1.3, std::sqrt(dx * dx + dy * dy));
}

// Lines rising to the right at 45 degrees, 16 pixels apart across them.
double diagonalLines(double x, double y, double, double) {
    return lineCover(gridDistance((x + y) * std::sqrt(0.5), 16.0), 2.5);
}

// Soft round spots on a grid of 128 pixels.
double softSpots(double x, double y, double, double) {
    const double dx = gridDistance(x - 64.0, 128.0), dy = gridDistance(y - 64.0, 128.0);
    return 1.0 - smoothstep(8.0, 52.0, std::sqrt(dx * dx + dy * dy));
}

// Sunlight through leaves: a soft blob of random size and place in every cell of 96 pixels.
double dappledLight(double x, double y, double, double) {
    constexpr double kCell = 96.0;
    const int column = int(std::floor(x / kCell)), row = int(std::floor(y / kCell));
    double level = 0.0;
    for (int j = row - 1; j <= row + 1; ++j)
        for (int i = column - 1; i <= column + 1; ++i) {
            const uint32_t seed = (uint32_t(j + 1) * 1024U + uint32_t(i + 1)) * 4U;
            const double bx = (i + random01(seed)) * kCell, by = (j + random01(seed + 1)) * kCell;
            const double radius = 12.0 + 40.0 * random01(seed + 2);
            const double dx = x - bx, dy = y - by;
            const double blob = 1.0 - smoothstep(0.5 * radius, radius, std::sqrt(dx * dx + dy * dy));
            level = std::max(level, blob * (0.6 + 0.4 * random01(seed + 3)));
        }
    return level;
}

// Light at the top fading to dark at the bottom, for a graduated shape.
double gradient(double, double y, double, double h) { return 1.0 - smoothstep(0.0, h, y); }

struct Pattern {
    const char* name;
    int width;
    int height;
    double (*level)(double x, double y, double w, double h);
};

constexpr Pattern kPatterns[] = {
    {"fine-net.png", 1024, 1024, fineNet},
    {"coarse-net.png", 1024, 1024, coarseNet},
    {"dots.png", 1024, 1024, dots},
    {"horizontal-streaks.png", 1600, 1067, horizontalStreaks},
    {"vertical-streaks.png", 1067, 1600, verticalStreaks},
    {"window-blind.png", 1600, 1067, windowBlind},
    {"window.png", 1600, 1067, window},
    {"soft-spot.png", 1024, 1024, softSpot},
    {"vignette.png", 1600, 1067, vignette},
    {"diagonal-lines.png", 1024, 1024, diagonalLines},
    {"soft-spots.png", 1024, 1024, softSpots},
    {"dappled-light.png", 1600, 1067, dappledLight},
    {"gradient.png", 1600, 1067, gradient},
};

std::vector<uint8_t> render(const Pattern& pattern) {
    std::vector<uint8_t> pixels(size_t(pattern.width) * size_t(pattern.height));
    for (int y = 0; y < pattern.height; ++y)
        for (int x = 0; x < pattern.width; ++x) {
            const double v = pattern.level(x + 0.5, y + 0.5, pattern.width, pattern.height);
            pixels[size_t(y) * size_t(pattern.width) + size_t(x)] = uint8_t(std::floor(clamp01(v) * 255.0 + 0.5));
        }
    return pixels;
}

// Writes an 8-bit grey PNG; false when libpng or the file fails.
bool writeGreyPng(std::FILE* file, int width, int height, const std::vector<uint8_t>& pixels) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) png_write_row(png, pixels.data() + size_t(y) * size_t(width));
        png_write_end(png, info);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return written;
}

// Writes the pattern under a temporary name and renames it, so that an interrupted build
// leaves no half-written picture under the pattern's name.
bool writePattern(const fs::path& folder, const Pattern& pattern) {
    const fs::path path = folder / pattern.name;
    const fs::path temporary = folder / (std::string(pattern.name) + ".tmp");
    std::FILE* file = std::fopen(temporary.string().c_str(), "wb");
    if (!file) return false;
    const bool written = writeGreyPng(file, pattern.width, pattern.height, render(pattern));
    const bool closed = std::fclose(file) == 0;
    std::error_code error;
    if (written && closed) fs::rename(temporary, path, error);
    if (!written || !closed || error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ravo_texture_patterns FOLDER\n");
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    for (const Pattern& pattern : kPatterns)
        if (!writePattern(folder, pattern)) {
            std::fprintf(stderr, "ravo_texture_patterns: cannot write %s\n", (folder / pattern.name).string().c_str());
            return 1;
        }
    return 0;
}
