// Star: every highlight becomes an eight-pointed star. The highlight matte is smeared into a
// horizontal and a vertical line (the upright cross) and, turned by 45 degrees, into two
// diagonal lines (the diagonal cross); the screen of the two crosses is laid onto the picture
// in the star colour.
//
//   matte M      the highlights: a luminance window at Position / Range, blurred by Blur
//   upright      screen(M blurred across by Size, M blurred down by Size)
//   diagonal     M turned by 45 degrees, blurred across and down the same way, screened, and
//                turned back by -45 degrees over M's pixels
//   stars        screen(diagonal, upright)
//
// The turns are about the centre of the picture rather than of the tile being rendered, so
// every tile shears the rows and columns of the picture by the same whole pixels and a render
// in strips gives the bytes of a render in one tile.
#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "fx/blur_pair.h"
#include "fx/effect_class.h"
#include "fx/matte_group.h"
#include "fx/render_margin.h"
#include "imaging/blur.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"
#include "imaging/screen_images.h"
#include "imaging/screen_steps.h"
#include "imaging/shear_rotation.h"
#include "imaging/turned_lines.h"

namespace {

constexpr uint32_t kBackground = 0;
constexpr uint32_t kView = 1;
constexpr uint32_t kStarGroup = 2;
constexpr uint32_t kStarBrightness = 3;
constexpr uint32_t kStarSize = 4;
constexpr uint32_t kStarColor = 5;
constexpr uint32_t kStarGroupEnd = 6;
constexpr MatteGroup kMatte = {7};  // records 7 to 11
constexpr uint32_t kParameterCount = 12;
static_assert(kMatte.end() + 1 == kParameterCount);

constexpr const char* kViewItems[] = {"Output", "Matte", "Stars", "Original"};
constexpr uint32_t kViewOutput = 0;
constexpr uint32_t kViewMatte = 1;
constexpr uint32_t kViewStars = 2;
constexpr uint32_t kViewOriginal = 3;

// The diagonal cross is drawn in a frame turned by this many degrees.
constexpr float kDiagonalDegrees = 45.0f;

// ---- Definition --------------------------------------------------------------------------

void defineStarParameters(Parameter* params) {
    params[kBackground].defineInput("background", "Background", 0);
    params[kView].defineList("view", "View", kViewItems, uint32_t(std::size(kViewItems)), kViewOutput);
    params[kStarGroup].defineGroupBegin("star", "Star", true);
    params[kStarBrightness].defineNumber("StarBrightness", "Brightness", 0.0, 800.0, 200.0, 1);
    params[kStarSize].defineNumber("StarSize", "Size", 0.0, 500.0, 100.0, 1);
    params[kStarColor].defineColor("StarColor", "Color", 1.0, 1.0, 1.0);
    params[kStarGroupEnd].defineGroupEnd();
    params[kStarGroup].addFlags(ParameterFlag::FramedGroup);
    params[kStarGroupEnd].addFlags(ParameterFlag::FramedGroup);
    defineMatteGroup(params, kMatte, {90.0, 15.0, ParameterFlag::FramedGroup});
}

// ---- Class table -------------------------------------------------------------------------

// isActive, beginRender and parameterChanged are the shared defaults: the effect is always
// active and no record depends on another.
struct StarEffect : Effect {
    static constexpr const char* kTitle = "Ravo Star";
    static constexpr const char* kDescription =
        "Creates atmosphere by reducing contrast and sharpness and creating a glow around the highlights.";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard;

    Parameter params[kParameterCount];

    static void define(StarEffect& effect) { defineStarParameters(effect.params); }
    static void requiredSource(StarEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect);
    static void render(StarEffect& effect, const fx::Plugin::RenderInfo& info);
};

// ---- Geometry ----------------------------------------------------------------------------

// What the star blurs read along their lines, in pixels of the processed picture: across and down.
SourceMargin starBlurReach(double size, const fx::Plugin::RenderInfo& info) {
    return blurMargin({size, size}, info);
}

// How far around a pixel the render reads. The matte is blurred first; the stars then read
// the matte along the rows and columns (the upright cross) and along the diagonals, where the
// turned frame's lines come back a little longer than their length times cos 45 because the
// shears shift by whole pixels. The two crosses are read side by side.
SourceMargin starMargin(const Effect& effect, const fx::Plugin::RenderInfo& info) {
    const SourceMargin matte = matteMargin(matteGroupSettings(effect, kMatte), info);
    const double size = effect.numberInRange(kStarSize);
    if (!(size > 0.0)) return matte;
    const SourceMargin upright = starBlurReach(size, info);
    const int64_t turned = ShearRotation(kDiagonalDegrees, 0.0, 0.0)
                               .reachBack(std::max(upright.horizontal, upright.vertical));
    return matte + widest(upright, {turned, turned});
}

void StarEffect::requiredSource(StarEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect) {
    rect = starMargin(effect, info).grow(rect);
}

// Where the render's block lies on the picture it sees (the document, or the zoomed document in
// a preview), and the centre of that picture: the tile loop starts the block at the top left of
// outputRect grown by the source margin, held inside the picture.
struct StarFrame {
    int32_t left;
    int32_t top;
    double centreX;
    double centreY;
};

StarFrame starFrame(const Effect& effect, const fx::Plugin::RenderInfo& info) {
    const PixelRect read = starMargin(effect, info).grow(info.outputRect);
    const int32_t width = truncToInt(info.imageWidth * info.scaleX);
    const int32_t height = truncToInt(info.imageHeight * info.scaleY);
    return {std::max(0, read.left), std::max(0, read.top), width * 0.5, height * 0.5};
}

// ---- Stars -------------------------------------------------------------------------------

// The screen of image blurred across and image blurred down, over rect; image is blurred down.
ImagePtr crossOf(Image& image, const PixelRect& rect, double size, const fx::Plugin::RenderInfo& info) {
    Blur blur;
    ImagePtr across = image.clone();
    prepareBlur(blur, {size, 0.0}, info);
    blur.apply(*across, rect);
    prepareBlur(blur, {0.0, size}, info);
    blur.apply(image, rect);
    screenInto(*across, image, rect);
    return across;
}

// Blurs every line of the turned frame on its own by the size of the lines' direction: its rows
// by the horizontal size, its columns by the vertical one. The lines lie along one row of
// samples, so each is filtered across.
void blurLines(TurnedLines& lines, double size, const fx::Plugin::RenderInfo& info) {
    Blur blur;
    prepareBlur(blur, {size, size}, info);
    blur.setSize(lines.direction == TurnedLine::Row ? blur.horizontalSize() : blur.verticalSize(), 0.0f);
    for (int32_t i = 0; i < lines.lineCount(); ++i) {
        Image line = viewOf(*lines.samples, lines.lineRect(i));
        blur.apply(line, line.bounds);
    }
}

// The diagonal cross over rect, written into `diagonal`: each pixel takes the screen of its
// turned place in the rows blurred across and in the columns blurred down. Neighbouring pixels
// land on different lines of the turned frame, so the picture is walked in small blocks whose
// lines stay in the cache.
template <class Sample>
void gatherDiagonal(Image& diagonal, const PixelRect& rect, const StarFrame& frame, const ShearShifts& turn,
                    const TurnedLines& across, const TurnedLines& down) {
    constexpr int32_t kBlockRows = 32, kBlockColumns = 128;
    const Sample* acrossSamples = across.samples->row<Sample>(0);
    const Sample* downSamples = down.samples->row<Sample>(0);
    for (int32_t top = rect.top; top < rect.bottom; top += kBlockRows)
        for (int32_t left = rect.left; left < rect.right; left += kBlockColumns) {
            const int32_t bottom = std::min(top + kBlockRows, rect.bottom);
            const int32_t right = std::min(left + kBlockColumns, rect.right);
            for (int32_t y = top; y < bottom; ++y) {
                Sample* out = diagonal.row<Sample>(y);
                for (int32_t x = left; x < right; ++x) {
                    const PixelPoint p = turn.forward({frame.left + x, frame.top + y});
                    out[x] = Sample(screenLevels<Sample>(acrossSamples[across.indexOnRow(p)],
                                                         downSamples[down.indexOnColumn(p)]));
                }
            }
        }
}

// The star image of the matte: one channel of its size, the screen of the two crosses over rect.
// The diagonal cross is drawn in the matte turned by 45 degrees, kept line by line with room
// for the blurs to run out on 0 before each line ends, so that every pixel of the matte is
// blurred as it is in the whole turned frame; then each pixel reads its turned place back.
ImagePtr starImage(const ImagePtr& matte, const PixelRect& rect, double size, const StarFrame& frame,
                   const fx::Plugin::RenderInfo& info) {
    const SourceMargin reach = starBlurReach(size, info);
    const int32_t border = int32_t(std::min<int64_t>(std::max(reach.horizontal, reach.vertical), kLargestSourceMargin));
    const ShearRotation turn(kDiagonalDegrees, frame.centreX, frame.centreY);
    const PlacedImage placed{matte, frame.left, frame.top};
    TurnedLines across = turnLines(turn, placed, TurnedLine::Row, border);
    blurLines(across, size, info);
    TurnedLines down = turnLines(turn, placed, TurnedLine::Column, border);
    blurLines(down, size, info);

    // The matte is blurred down in place for the upright cross; once that is made, the matte's
    // memory takes the diagonal cross.
    const ImagePtr upright = crossOf(*matte, rect, size, info);
    const ShearShifts shifts(turn, placed.area());
    withSampleType(*matte, [&]<class Sample>() { gatherDiagonal<Sample>(*matte, rect, frame, shifts, across, down); });
    screenInto(*upright, *matte, rect);
    return upright;
}

// The star colour at the picture's depth: trunc(component x full) in single precision.
std::array<int64_t, 3> starColor(const Effect& effect, bool is16) {
    if (is16) {
        const auto c = effect.color16(kStarColor);
        return {c[0], c[1], c[2]};
    }
    const auto c = effect.color8(kStarColor);
    return {c[0], c[1], c[2]};
}

// ---- Render ------------------------------------------------------------------------------

void StarEffect::render(StarEffect& effect, const fx::Plugin::RenderInfo& info) {
    const uint32_t view = effect.listValue(kView);
    const auto area = startRender(effect, info, {kBackground, view == kViewOriginal, OutputStart::AsGiven});
    if (!area) return;
    const auto& [source, output, rect] = *area;
    // "P(3) / 100" as the render step states it.
    const double brightness = effect.numberInRange(kStarBrightness) / 100.0;
    const double size = effect.numberInRange(kStarSize);
    const bool showsMatte = view == kViewMatte, showsStars = view == kViewStars;  // any other index: the output
    if (!showsMatte && !showsStars) {
        area->copySource();
        // No star image, or a brightness too small for one screen step: the picture stays as copied.
        const bool lightens = withSampleType(*output, [&]<class Sample>() {
            const ScreenSteps steps = screenStepsOf<Sample>(brightness);
            return steps.whole > 0 || steps.part > 0;
        });
        if (!(size > 0.0) || !lightens) return;
    }

    const ImagePtr matte = buildGroupMatte(effect, kMatte, *source, rect, info);
    if (showsMatte) {
        expandGrayToRGBA(*matte, *output, rect);
        return;
    }
    ImagePtr stars;
    if (size > 0.0) {
        stars = starImage(matte, rect, size, starFrame(effect, info), info);
    } else {
        stars = matte;
        clearRect(*stars, rect);
    }
    if (showsStars)
        expandGrayToRGBA(*stars, *output, rect);
    else
        layLight(*output, *stars, rect, starColor(effect, output->is16()), brightness);
}

}  // namespace

const EffectClass& starClass() { return effectClassOf<StarEffect>(); }
