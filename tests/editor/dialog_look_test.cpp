// The stand-in host's default drawing of dialogs: where text and marks land, how state shows,
// and the snapshot file. Layout facts, not exact font pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include "editor/dialog_manager.h"
#include "editor/dialog_snapshot.h"
#include "editor/font_face.h"
#include "editor/picture_file.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace ps;
using Pixel = std::array<uint8_t, 4>;
const Pixel kBackground{212, 208, 200, 255};

class DialogLook : public ::testing::Test {
protected:
    editor::DialogManager manager;
    editor::Dialog* dialog = manager.createDialog("Look", kADMModalDialogStyle, nullptr);
    ADMDialogRef ref() const { return reinterpret_cast<ADMDialogRef>(dialog); }

    void SetUp() override {
        ASSERT_NE(editor::FontFace::shared(), nullptr) << "the build copies the dialog font beside the tests";
        dialog->width = 200;
        dialog->height = 80;
    }
    editor::DialogItem& add(const char* type, ADMRect bounds, const char* text = "") {
        editor::DialogItem* item = manager.createItem(dialog, 1, type, &bounds, nullptr);
        item->text = text;
        return *item;
    }
    editor::DialogCanvas draw(editor::DialogItem& item) {
        return *manager.draw(reinterpret_cast<ADMItemRef>(&item));
    }
};

bool inside(const ADMRect& r, int32_t x, int32_t y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// The box around every pixel where two drawings differ; empty (right <= left) when none does.
ADMRect differences(const editor::DialogCanvas& a, const editor::DialogCanvas& b) {
    ADMRect box{a.width(), a.height(), 0, 0};
    for (int32_t y = 0; y < a.height(); ++y)
        for (int32_t x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
    return box;
}

TEST_F(DialogLook, TextStaysInsideItsItemAndUnderlyingItemsShowThroughTextlessGroups) {
    const struct {
        const char* type;
        const char* text;
        ADMRect bounds;
    } cases[] = {
        {kADMTextStaticType, "Horizontal Blur", {10, 10, 110, 30}},
        {kADMTextStaticMultiLineType, "Ravo filters imitate camera lens filters and film looks", {10, 5, 90, 75}},
        {kADMItemGroupType, "Glow", {20, 20, 180, 70}},
    };
    for (const auto& c : cases) {
        while (!dialog->items.empty()) manager.destroyItem(dialog->items.back().get());
        add(c.type, c.bounds, c.text);
        add(kADMItemGroupType, {0, 0, 200, 80});  // no text: draws nothing over the other
        const auto canvas = *manager.draw(ref());
        int32_t inked = 0, rowsInked = 0;
        for (int32_t y = 0; y < canvas.height(); ++y) {
            int32_t inRow = 0;
            for (int32_t x = 0; x < canvas.width(); ++x) {
                const bool ink = canvas.pixel(x, y) != kBackground;
                if (ink && !inside(c.bounds, x, y)) ADD_FAILURE() << c.type << " ink outside at " << x << "," << y;
                inRow += ink;
            }
            inked += inRow;
            rowsInked += inRow > 0;
        }
        EXPECT_GT(inked, 20) << c.type;
        // The long multi-line text wraps onto several lines.
        if (c.type == kADMTextStaticMultiLineType) {
            EXPECT_GT(rowsInked, 30);
        }
    }
}

TEST_F(DialogLook, StateChangesOnlyTheMark) {
    // A check box and a radio button turn on inside their box; a pressed tab button changes
    // its face, a disabled edit its field.
    const struct {
        const char* type;
        ADMRect changedWithin;
        bool enable;
    } cases[] = {
        {kADMTextCheckBoxType, {0, 3, 13, 16}, false},
        {kADMTextRadioButtonType, {0, 3, 13, 16}, false},
        {kADMTextPushButtonType, {0, 0, 80, 20}, false},
        {kADMTextEditType, {0, 0, 80, 20}, true},
    };
    for (const auto& c : cases) {
        editor::DialogItem& item = add(c.type, {0, 0, 80, 20}, "Invert");
        manager.setValue(item, 0);
        const auto off = draw(item);
        if (c.enable) item.enabled = false;
        else manager.setValue(item, 1);
        const ADMRect changed = differences(off, draw(item));
        EXPECT_LT(changed.left, changed.right) << c.type;
        EXPECT_TRUE(changed.left >= c.changedWithin.left && changed.top >= c.changedWithin.top &&
                    changed.right <= c.changedWithin.right && changed.bottom <= c.changedWithin.bottom)
            << c.type << " changed " << changed.left << "," << changed.top << "," << changed.right << "," << changed.bottom;
    }
}

TEST_F(DialogLook, SliderThumbFollowsTheValue) {
    editor::DialogItem& slider = add(kADMSliderType, {0, 0, 120, 20});
    manager.setRange(slider, -50, 150);
    // The first column of the thumb's face on the middle row.
    const auto thumb = [&](double value) {
        manager.setValue(slider, value);
        const auto canvas = draw(slider);
        for (int32_t x = 0; x < canvas.width(); ++x)
            if (canvas.pixel(x, 10) == Pixel{224, 224, 224, 255}) return x;
        return -1;
    };
    int32_t previous = -1;
    for (double value : {-50.0, 0.0, 50.0, 149.0, 150.0}) {
        EXPECT_GT(thumb(value), previous) << value;
        previous = thumb(value);
    }
    EXPECT_EQ(thumb(-80), thumb(-50));  // values outside the range stay at its ends
    EXPECT_EQ(thumb(400), thumb(150));
}

TEST_F(DialogLook, DisabledButtonTextIsLighterAndUnitsFollowNumbers) {
    editor::DialogItem& button = add(kADMTextPushButtonType, {0, 0, 80, 24}, "Reset");
    const auto darkest = [&] {
        const auto canvas = draw(button);
        int32_t least = 255;
        for (int32_t y = 4; y < 20; ++y)
            for (int32_t x = 4; x < 76; ++x) least = std::min<int32_t>(least, canvas.pixel(x, y)[0]);
        return least;
    };
    const int32_t enabled = darkest();
    button.enabled = false;
    EXPECT_LT(enabled, 80);
    EXPECT_GT(darkest(), enabled + 60);

    // A percent field shows its number with a sign after it, so its text reaches further right.
    editor::DialogItem& edit = add(kADMTextEditType, {0, 30, 80, 50});
    manager.setRange(edit, 0, 100);
    manager.setValue(edit, 40);
    const auto plain = draw(edit);
    edit.units = kADMPercentUnits;
    const ADMRect changed = differences(plain, draw(edit));
    EXPECT_GT(changed.left, 10);
    EXPECT_LT(changed.left, changed.right);
}

TEST_F(DialogLook, SnapshotIsAPngOfTheDialogsSizeOrAClearError) {
    TempFolder folder;
    add(kADMTextPushButtonType, {120, 50, 190, 72}, "OK");
    editor::writeDialogSnapshot(manager, ref(), folder / "dialog.png");
    const editor::Picture picture = editor::readPicture(folder / "dialog.png");
    EXPECT_EQ(picture.width * 1000 + picture.height, 200 * 1000 + 80);
    EXPECT_EQ(picture.depth, 8);
    // A file that is not a font, or no file, is refused with an error, not loaded.
    EXPECT_THROW(editor::FontFace(folder / "dialog.png"), std::runtime_error);
    EXPECT_THROW(editor::FontFace(folder / "none.ttf"), std::runtime_error);

    // Nothing half-written is left when the folder is missing or the dialog has no size or is gone.
    EXPECT_THROW(editor::writeDialogSnapshot(manager, ref(), folder / "missing/dialog.png"), editor::FileError);
    dialog->width = 0;
    EXPECT_THROW(editor::writeDialogSnapshot(manager, ref(), folder / "empty.png"), editor::FileError);
    manager.destroyDialog(dialog);
    EXPECT_THROW(editor::writeDialogSnapshot(manager, ref(), folder / "gone.png"), editor::FileError);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"dialog.png"});
}

}  // namespace
