// Film grain, as a component an effect owns: Grain is nothing but this behind its dialog, and
// the film looks run it as their last step.
//
// The grain is one noise field per colour channel: a grid of random bytes, one per grain cell,
// enlarged to the picture with the cubic filter. Each pixel moves up or down by (noise - 127),
// weighted by the channel's amount and by a film-response curve of the pixel's luminance, so
// the grain shows most in the mid-tones.
//
// The noise belongs to the picture, not to the tile: a pixel gets the same noise however the
// picture is cut into tiles, and two runs with the same settings give the same grain.
#pragma once

#include <array>
#include <cstdint>

#include "effects/owned_table.h"
#include "fx/parameter.h"
#include "fx/render_info.h"
#include "imaging/image.h"
#include "imaging/pixel_rect.h"
#include "imaging/source_margin.h"

namespace fx {
class ImageScaler;
}

// Offsets of the module's records from the first one an owner gives it.
namespace GrainParameter {
constexpr uint32_t kRedSize = 0;
constexpr uint32_t kGreenSize = 1;
constexpr uint32_t kBlueSize = 2;
constexpr uint32_t kRedAmount = 3;
constexpr uint32_t kGreenAmount = 4;
constexpr uint32_t kBlueAmount = 5;
constexpr uint32_t kResponseGroup = 6;
constexpr uint32_t kPosition = 7;
constexpr uint32_t kRange = 8;
constexpr uint32_t kMinimum = 9;
constexpr uint32_t kResponseGroupEnd = 10;
constexpr uint32_t kCount = 11;
}  // namespace GrainParameter

class GrainModule {
public:
    static constexpr int kChannels = 3;

    GrainModule() = default;
    // A copy takes the settings; it builds its own table and noise fields when it first runs.
    GrainModule(const GrainModule& other);
    GrainModule& operator=(const GrainModule& other);

    // Writes the eleven records from `first` on. The defaults are the module's current settings,
    // so an owner that wants other defaults sets them first.
    void defineParameters(Parameter* first) const;
    // Reads the eleven records from `first` on and marks the fields for rebuilding. Answers
    // whether any setting changed.
    bool takeParameters(const Parameter* first);

    // All three amounts, or the response floor, as percentages.
    void setAmounts(double percent);
    void setMinimum(double percent);
    // All three cell sizes, in pixels at full image size.
    void setSizes(double size);
    // All three sizes, and all three amounts as fractions.
    void setSizeAndAmount(double size, double amount);

    // The largest of the three cell sizes, 0 if all are below 0.
    double largestSize() const;
    // Some amount is above 0: applying changes the picture.
    bool isActive() const { return settings_.active; }
    // How far around its output a render of the grain alone reads, at the render's scale.
    SourceMargin margin(const fx::Plugin::RenderInfo& info) const;

    // Adds the grain to the RGBA destination within rect. The destination is the tile loop's
    // block: `blockMargin` is what the owner's requiredSource grew the output rectangle by,
    // which places the block on the picture. Builds the noise fields and the response table on
    // the run's first tile, and drops the fields after its last one.
    void apply(Image& destination, const PixelRect& rect, const fx::Plugin::RenderInfo& info,
               const SourceMargin& blockMargin);

    // The response table of the current settings (luminance 0..255 to weight 0..255).
    std::array<uint8_t, 256> responseTable() const;

private:
    struct CellSize {
        int32_t width;
        int32_t height;
        // Below 2 pixels in either direction the noise is drawn one value per pixel.
        bool isFine() const { return width < 2 || height < 2; }
        friend bool operator==(const CellSize&, const CellSize&) = default;
    };
    // What a field was built for: a field is rebuilt when the render needs another one.
    struct FieldGeometry {
        int32_t pictureWidth = 0;
        int32_t pictureHeight = 0;
        CellSize cell = {0, 0};
        bool flat = false;
        friend bool operator==(const FieldGeometry&, const FieldGeometry&) = default;
    };

    CellSize cellSize(int channel) const;
    FieldGeometry fieldGeometry(int channel, const fx::Plugin::RenderInfo& info) const;
    void prepare(const fx::Plugin::RenderInfo& info);
    bool fieldsMatch(const fx::Plugin::RenderInfo& info) const;
    uint32_t channelSeed(int channel) const {
        return settings_.seed * uint32_t(channel + 1) + uint32_t(channel);
    }
    // The noise of one channel under `rows` rows of the strip, whose pixel (0, 0) lies at (left,
    // top) of the picture: drawn per pixel for fine cells, else enlarged from the channel's field
    // by `enlarger` (which writes into the strip), else flat.
    void drawNoise(Image& strip, fx::ImageScaler* enlarger, int channel, int32_t left, int32_t top, int32_t rows,
                   const fx::Plugin::RenderInfo& info) const;

    // What a copy of the module takes over.
    struct Settings {
        // Every run's noise is drawn from the seed of its first tile.
        uint32_t seed = 0;
        double scaleX = 1.0;
        double scaleY = 1.0;
        std::array<double, kChannels> size = {1.0, 1.0, 1.0};
        std::array<double, kChannels> amount = {0.15, 0.15, 0.15};
        double position = 0.5;
        double range = 0.8;
        double minimum = 0.2;
        bool active = false;
        friend bool operator==(const Settings&, const Settings&) = default;
    };
    Settings settings_;
    // Per render: the response entry of each luminance, and per response entry, channel and
    // noise byte the whole shift of a sample (built from table_ and the amounts).
    void prepareShifts(bool is16);

    std::array<uint8_t, 256> table_ = {};
    OwnedTable<uint8_t> responseOf_;
    OwnedTable<int16_t> shift_;
    bool shiftsBuilt_ = false;
    bool shiftsFor16_ = false;
    // No entry of shift_ needs the sum worked out in full (the usual case).
    bool everyShiftWhole_ = true;
    std::array<ImagePtr, kChannels> field_;
    std::array<FieldGeometry, kChannels> fieldGeometry_;
    bool dirty_ = true;
};
