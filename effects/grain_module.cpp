#include "effects/grain_module.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <iterator>

#include "fx/render_margin.h"
#include "imaging/image_scaler.h"
#include "imaging/luma.h"
#include "imaging/random_sequence.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"
#include "imaging/tone_curve.h"

namespace {

constexpr uint16_t kRedMark = 0x0100;
constexpr uint16_t kGreenMark = 0x0200;
constexpr uint16_t kBlueMark = 0x0400;
constexpr uint16_t kChannelMarks[GrainModule::kChannels] = {kRedMark, kGreenMark, kBlueMark};
constexpr const char* kSizeKeys[GrainModule::kChannels] = {"grainRSize", "grainGSize", "grainBSize"};
constexpr const char* kSizeLabels[GrainModule::kChannels] = {"Red Size", "Green Size", "Blue Size"};
constexpr const char* kAmountKeys[GrainModule::kChannels] = {"grainRAmount", "grainGAmount", "grainBAmount"};
constexpr const char* kAmountLabels[GrainModule::kChannels] = {"Red Amount", "Green Amount", "Blue Amount"};

// The level of no grain: noise bytes run 0..255 around it.
constexpr uint8_t kNoNoise = 127;
// The resampler's quality that selects the cubic filter.
constexpr int kCubicQuality = 2;
// Rows of grain drawn at a time: the noise strips stay small however large the tile.
constexpr int32_t kBandRows = 32;
// 1/255 as the 32-bit float the weights are made with.
constexpr float kWeightScale = 0.003921569f;
// An entry of the shift table whose sum with a sample must be worked out in full.
constexpr int16_t kExactOnly = std::numeric_limits<int16_t>::min();

void fillNoise(Image& field, uint32_t seed) {
    if (field.width < 2 || field.height < 2) {
        std::memset(field.data, kNoNoise, field.byteCount());
        return;
    }
    RandomSequence random(seed);
    for (int32_t y = 0; y < field.height; ++y) random.fillBytes(field.row<uint8_t>(y), size_t(field.width));
}

// How far the grain moves a sample: (noise - 127) x weight x amount, the weight being a response
// table entry / 255 in single precision; x 128 at 16 bits. The sample becomes trunc(c + shift).
double grainShift(int32_t noise, uint8_t response, double amount, bool is16) {
    const float weight = float(response) * kWeightScale;
    const float push = float(noise - kNoNoise) * weight;
    double shift = double(push) * amount;
    if (is16) shift *= 128.0;
    return shift;
}

// trunc(c + shift), held to 0..full, is c + floor(shift) held to 0..full for every sample c,
// unless the sum rounds up across a whole number: that needs a fraction within the last bits of
// a sample-sized double below 1. Those few entries are marked and worked out in full.
int16_t wholeShift(double shift) {
    const double whole = std::floor(shift);
    constexpr double kUnsafeFraction = 1.0 - 1.0 / double(1 << 30);
    return shift - whole > kUnsafeFraction ? kExactOnly : int16_t(whole);
}

// The grain over rows of the destination: noise[c] are three one-channel strips under the band;
// responseOf maps a pixel's luminance to its response entry; shift holds, per response entry,
// channel and noise byte, the whole shift of a sample (the three channels of one response side
// by side, as a pixel reads them).
template <class Sample, bool EveryShiftWhole>
void addGrain(Image& destination, const PixelRect& band, const Image* const noise[3], const uint8_t* responseOf,
              const int16_t* shift, const double* amount) {
    constexpr bool is16 = sizeof(Sample) == 2;
    for (int32_t y = band.top; y < band.bottom; ++y) {
        Sample* p = destination.pixel<Sample>(band.left, y);
        const uint8_t* n[3] = {noise[0]->row<uint8_t>(y - band.top), noise[1]->row<uint8_t>(y - band.top),
                               noise[2]->row<uint8_t>(y - band.top)};
        for (int32_t x = 0; x < band.width(); ++x, p += 4) {
            const uint8_t response = responseOf[luma(p)];
            const int16_t* shifts = shift + size_t(response) * 3 * 256;
            for (int c = 0; c < 3; ++c) {
                const int32_t whole = shifts[size_t(c) * 256 + n[c][x]];
                if (EveryShiftWhole || whole != kExactOnly) [[likely]]
                    p[c] = clampLevel<Sample>(int32_t(p[c]) + whole);
                else
                    p[c] = clampSample<Sample>(
                        truncToInt64(double(p[c]) + grainShift(n[c][x], response, amount[c], is16)));
            }
        }
    }
}

}  // namespace

GrainModule::GrainModule(const GrainModule& other) { *this = other; }

GrainModule& GrainModule::operator=(const GrainModule& other) {
    if (this == &other) return *this;
    settings_ = other.settings_;
    table_ = {};
    responseOf_.reset();
    shift_.reset();
    shiftsBuilt_ = false;
    field_ = {};
    fieldGeometry_ = {};
    dirty_ = true;
    return *this;
}

void GrainModule::defineParameters(Parameter* first) const {
    using namespace GrainParameter;
    for (int c = 0; c < kChannels; ++c) {
        Parameter& size = first[kRedSize + uint32_t(c)];
        size.defineNumber(kSizeKeys[c], kSizeLabels[c], 1.0, 10.0, settings_.size[size_t(c)]);
        size.addFlags(uint16_t(kChannelMarks[c] | ParameterFlag::Whole));
    }
    for (int c = 0; c < kChannels; ++c) {
        Parameter& amount = first[kRedAmount + uint32_t(c)];
        amount.defineNumber(kAmountKeys[c], kAmountLabels[c], 0.0, 100.0, settings_.amount[size_t(c)] * 100.0);
        amount.addFlags(uint16_t(kChannelMarks[c] | ParameterFlag::Percent));
    }
    first[kResponseGroup].defineGroupBegin("grainResponse", "Film Response", true);
    first[kResponseGroup].addFlags(kRedMark);
    first[kPosition].defineNumber("grainPos", "Position", 0.0, 100.0, settings_.position * 100.0);
    first[kRange].defineNumber("grainRange", "Range", 0.0, 100.0, settings_.range * 100.0);
    first[kMinimum].defineNumber("grainMin", "Minimum", 0.0, 100.0, settings_.minimum * 100.0);
    first[kResponseGroupEnd].defineGroupEnd();
}

bool GrainModule::takeParameters(const Parameter* first) {
    using namespace GrainParameter;
    const Settings before = settings_;
    for (int c = 0; c < kChannels; ++c) {
        settings_.size[size_t(c)] = first[kRedSize + uint32_t(c)].numberInRange();
        settings_.amount[size_t(c)] = first[kRedAmount + uint32_t(c)].numberInRange() / 100;
    }
    settings_.position = first[kPosition].numberInRange() / 100;
    settings_.range = first[kRange].numberInRange() / 100;
    settings_.minimum = first[kMinimum].numberInRange() / 100;
    const auto& amount = settings_.amount;
    settings_.active = !std::all_of(amount.begin(), amount.end(), [](double a) { return a <= 0.0; });
    dirty_ = true;
    return !(before == settings_);
}

void GrainModule::setAmounts(double percent) {
    settings_.amount.fill(percent / 100);
    shiftsBuilt_ = false;
}

void GrainModule::setMinimum(double percent) { settings_.minimum = percent / 100; }

void GrainModule::setSizes(double size) {
    settings_.size.fill(size);
    dirty_ = true;
}

void GrainModule::setSizeAndAmount(double size, double amount) {
    settings_.size.fill(size);
    settings_.amount.fill(amount);
    settings_.active = amount > 0.0;
    dirty_ = true;
}

double GrainModule::largestSize() const {
    return std::max(0.0, *std::max_element(settings_.size.begin(), settings_.size.end()));
}

SourceMargin GrainModule::margin(const fx::Plugin::RenderInfo& info) const {
    const double size = largestSize();
    return scaledSizeMargin({size, size}, info);
}

std::array<uint8_t, 256> GrainModule::responseTable() const {
    const double p = settings_.position;
    const double r = settings_.range;
    const double m = settings_.minimum;
    const CurvePoint points[] = {{p - r, m}, {p - r / 2, m + 0.2}, {p, m + 1.0}, {p + r / 2, m + 0.2}, {p + r, m}};
    ToneCurve curve(points, std::size(points));
    std::array<uint8_t, 256> table;
    for (int i = 0; i < 256; ++i)
        table[size_t(i)] = curve.isIdentity() ? uint8_t(i) : uint8_t(truncToInt(curve.evaluate(i / 255.0) * 255));
    return table;
}

GrainModule::CellSize GrainModule::cellSize(int channel) const {
    return {std::max(1, truncToInt(settings_.size[size_t(channel)] * settings_.scaleX)),
            std::max(1, truncToInt(settings_.size[size_t(channel)] * settings_.scaleY))};
}

GrainModule::FieldGeometry GrainModule::fieldGeometry(int channel, const fx::Plugin::RenderInfo& info) const {
    return {info.imageWidth, info.imageHeight, cellSize(channel), settings_.amount[size_t(channel)] == 0.0};
}

bool GrainModule::fieldsMatch(const fx::Plugin::RenderInfo& info) const {
    for (int c = 0; c < kChannels; ++c) {
        if (cellSize(c).isFine()) continue;
        if (!field_[size_t(c)] || !(fieldGeometry_[size_t(c)] == fieldGeometry(c, info))) return false;
    }
    return true;
}

void GrainModule::prepare(const fx::Plugin::RenderInfo& info) {
    dirty_ = false;
    for (int c = 0; c < kChannels; ++c) {
        field_[size_t(c)].reset();
        const CellSize cell = cellSize(c);
        if (cell.isFine()) continue;
        // At least one cell each way: a grain coarser than the picture makes a flat field.
        const ImageSize fieldSize = {std::max(1, info.imageWidth / cell.width),
                                     std::max(1, info.imageHeight / cell.height)};
        ImagePtr field = ImagePtr::make(fieldSize, 1, 1);
        if (settings_.amount[size_t(c)] == 0.0)
            std::memset(field->data, kNoNoise, field->byteCount());
        else
            fillNoise(*field, channelSeed(c));
        field_[size_t(c)] = field;
        fieldGeometry_[size_t(c)] = fieldGeometry(c, info);
    }
    table_ = responseTable();
    shiftsBuilt_ = false;
}

void GrainModule::drawNoise(Image& strip, fx::ImageScaler* enlarger, int channel, int32_t left, int32_t top,
                            int32_t rows, const fx::Plugin::RenderInfo& info) const {
    // The picture as this render sees it: the document, or the zoomed document in a preview.
    const int32_t pictureWidth = std::max(1, truncToInt(info.imageWidth * settings_.scaleX));
    const int32_t pictureHeight = std::max(1, truncToInt(info.imageHeight * settings_.scaleY));
    const CellSize cell = cellSize(channel);
    if (settings_.amount[size_t(channel)] != 0.0 && cell.isFine()) {
        // One draw per pixel, numbered along the picture's rows from the top left.
        RandomSequence random;
        for (int32_t y = 0; y < rows; ++y) {
            random.reseed(channelSeed(channel));
            random.skip(uint64_t(top + y) * uint64_t(pictureWidth) + uint64_t(left));
            random.fillBytes(strip.row<uint8_t>(y), size_t(strip.width));
        }
        return;
    }
    std::memset(strip.data, kNoNoise, strip.byteCount());
    if (!enlarger) return;
    const Image& field = *field_[size_t(channel)];
    // The cells that cover the picture, enlarged onto the whole picture; the strip receives the
    // part under it.
    const fx::ImageScaler::Window cells = {0, 0, std::min(field.width, std::max(1, pictureWidth / cell.width)) - 1,
                                           std::min(field.height, std::max(1, pictureHeight / cell.height)) - 1};
    const fx::ImageScaler::Window picture = {-left, -top, pictureWidth - 1 - left, pictureHeight - 1 - top};
    enlarger->scale(cells, picture, kCubicQuality);
}

void GrainModule::prepareShifts(bool is16) {
    if (shiftsBuilt_ && shiftsFor16_ == is16) return;
    shiftsBuilt_ = false;
    // The response entry of each luminance: 16-bit luminances index the table at L / 128.5.
    responseOf_.resize(is16 ? 32769 : 256);
    for (size_t l = 0; l < responseOf_.size(); ++l)
        responseOf_[l] = table_[size_t(is16 ? truncToInt(double(l) / 128.5) : int32_t(l))];
    shift_.resize(size_t(kChannels) * 256 * 256);
    everyShiftWhole_ = true;
    for (int c = 0; c < kChannels; ++c)
        for (int response = 0; response < 256; ++response)
            for (int noise = 0; noise < 256; ++noise) {
                const int16_t whole =
                    wholeShift(grainShift(noise, uint8_t(response), settings_.amount[size_t(c)], is16));
                shift_[(size_t(response) * kChannels + size_t(c)) * 256 + size_t(noise)] = whole;
                everyShiftWhole_ = everyShiftWhole_ && whole != kExactOnly;
            }
    shiftsFor16_ = is16;
    shiftsBuilt_ = true;
}

void GrainModule::apply(Image& destination, const PixelRect& rect, const fx::Plugin::RenderInfo& info,
                        const SourceMargin& blockMargin) {
    const PixelRect area = rect.intersected(destination.bounds);
    if (area.isEmpty() || destination.channels != 4) return;
    settings_.scaleX = info.scaleX;
    settings_.scaleY = info.scaleY;
    if (dirty_ || !fieldsMatch(info)) prepare(info);

    prepareShifts(destination.is16());

    const PixelRect block = blockMargin.grow(info.outputRect);
    const int32_t originX = std::max(0, block.left);
    const int32_t originY = std::max(0, block.top);
    const int32_t bandRows = std::min(kBandRows, area.height());
    ImagePtr strips[kChannels];
    // Per channel with a noise field, the scaler that enlarges it into the channel's strip,
    // keeping its column weights from band to band.
    std::optional<fx::ImageScaler::ImageReadInterface> fields[kChannels];
    std::optional<fx::ImageScaler::ImageWriteInterface> writers[kChannels];
    std::optional<fx::ImageScaler> enlargers[kChannels];
    const Image* noise[kChannels];
    for (int c = 0; c < kChannels; ++c) {
        strips[c] = ImagePtr::make({area.width(), bandRows}, 1, 1);
        noise[c] = strips[c].get();
        const Image* field = field_[size_t(c)].get();
        if (settings_.amount[size_t(c)] == 0.0 || cellSize(c).isFine() || !field || field->width < 2 ||
            field->height < 2)
            continue;
        fields[c].emplace(*field);
        writers[c].emplace(*strips[c]);
        enlargers[c].emplace(*fields[c], *writers[c]);
    }
    for (int32_t top = area.top; top < area.bottom; top += bandRows) {
        const PixelRect band = {top, area.left, std::min(top + bandRows, area.bottom), area.right};
        for (int c = 0; c < kChannels; ++c)
            drawNoise(*strips[c], enlargers[c] ? &*enlargers[c] : nullptr, c, originX + band.left, originY + band.top,
                      band.height(), info);
        withSampleType(destination, [&]<class Sample>() {
            const double* amount = settings_.amount.data();
            if (everyShiftWhole_)
                addGrain<Sample, true>(destination, band, noise, responseOf_.data(), shift_.data(), amount);
            else
                addGrain<Sample, false>(destination, band, noise, responseOf_.data(), shift_.data(), amount);
        });
    }

    if (info.tileCount > 0 && info.tileIndex == info.tileCount - 1)
        for (ImagePtr& field : field_) field.reset();
}
