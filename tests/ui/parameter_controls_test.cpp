// The parameter controls driven through the stand-in host's dialog manager as a person
// would use them: what each shows, what a user change writes into its parameter, and the
// one "controlChanged" the dialog hears for it.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fx/host.h"
#include "tests/support/dialog_test.h"
#include "ui/controls/boolean_control.h"
#include "ui/controls/color_control.h"
#include "ui/controls/group_controls.h"
#include "ui/controls/image_file_control.h"
#include "ui/controls/list_control.h"
#include "ui/controls/number_control.h"
#include "ui/controls/point_control.h"

namespace {

using namespace ps;
using namespace PSDriver;
using Act = std::function<bool(editor::DialogManager&)>;

// Resource folders lie in /plugin.
struct PluginFolderHost : fx::Host {
    bool resourcePath(const char*, const char* folder, const char* fileName, char* out) override {
        std::snprintf(out, kPathSize, "/plugin/%s/%s", folder, fileName ? fileName : "");
        return true;
    }
};

const char* const kItems[] = {"Soft", "Medium", "Hard"};

class ParameterControls : public DialogTest {
protected:
    PluginFolderHost pluginFolder;
    std::array<Parameter, 9> p;
    std::vector<const Parameter*> heard;  // the parameter of each "controlChanged", as the dialog finds it

    void SetUp() override {
        DialogTest::SetUp();
        dialog.connect(ADM::kControlChanged, this, &ParameterControls::controlChanged);
    }
    void controlChanged(ADM::CallbackObject& sender, void*) {
        const auto* control = dynamic_cast<Control*>(&sender);
        heard.push_back(control ? control->parameter : nullptr);
    }
    template <typename ControlType>
    ControlType& make(int index, ADMRect bounds = {10, 0, 310, 0}) {
        return dialog.add<ControlType>(bounds, p[size_t(index)], index);
    }
    ADMItemRef ref(int index, RavoControlPart which) {
        return manager().findItem(dialog.ref(), controlItemID(index, which));
    }
    editor::DialogItem& part(int index, RavoControlPart which) {
        editor::DialogItem* item = manager().item(ref(index, which));
        EXPECT_NE(item, nullptr) << index << " part " << which;
        static editor::DialogItem none;
        return item ? *item : none;
    }
    std::string text(int index, RavoControlPart which) { return part(index, which).text; }
};

TEST_F(ParameterControls, NumberShowsParsesAndClampsTypedText) {
    const struct {
        const char* what;
        double minimum, maximum, value;
        uint16_t flags;
        const char* typed;  // null: only shown
        double expected;
        const char* text;
        double slider, sliderMinimum, sliderMaximum;
        int32 units;
    } cases[] = {
        {"percentage above its range", 0, 100, 50, ParameterFlag::Percent, "150", 100, "100", 100, 0, 100, kADMPercentUnits},
        {"whole shows its truncation", 0.5, 10.7, 7.9, ParameterFlag::Whole | ParameterFlag::Percent, nullptr, 7.9, "7",
         7, 0, 10, kADMNoUnits},
        {"typed whole keeps its fraction", 0, 10, 3, ParameterFlag::Whole, "7.9", 7.9, "7", 7, 0, 10, kADMNoUnits},
        {"unreadable text reads 0", -180, 180, 45, ParameterFlag::Degrees, "abc", 0, "0", 0, -180, 180, kADMDegreesUnits},
        {"percent wins over degrees; a unit sign is ignored", 0, 200, 10,
         ParameterFlag::Percent | ParameterFlag::Degrees, "12.5%", 12.5, "12.5", 12.5, 0, 200, kADMPercentUnits},
        {"not a number reads 0, then the range", 10, 20, 15, 0, "nan", 10, "10", 10, 10, 20, kADMNoUnits},
        {"below the range", 0, 1, 0.5, 0, "-3", 0, "0", 0, 0, 1, kADMNoUnits},
    };
    for (int index = 0; index < int(std::size(cases)); ++index) {
        const auto& c = cases[index];
        SCOPED_TRACE(c.what);
        Parameter& amount = p[size_t(index)];
        amount.defineNumber("amount", "Amount", c.minimum, c.maximum, c.minimum);
        amount.addFlags(c.flags);
        amount.number = c.value;
        make<NumberControl>(index);
        if (c.typed) asUser([&](editor::DialogManager& m) { return m.setTextAsUser(ref(index, kRavoControlSecond), c.typed); });
        EXPECT_EQ(amount.number, c.expected);
        EXPECT_EQ(text(index, kRavoControlSecond), c.text);
        EXPECT_EQ(part(index, kRavoControlSecond).units, c.units);
        const editor::DialogItem& slider = part(index, kRavoControlValue);
        EXPECT_EQ((std::array<double, 3>{slider.value, slider.minimum, slider.maximum}),
                  (std::array<double, 3>{c.slider, c.sliderMinimum, c.sliderMaximum}));
    }
    // 27 high; the field 45 wide, ending 4 inside the right edge; the slider left of it.
    p[7].defineNumber("radius", "Radius", 0, 10, 1);
    const ControlSize size = make<NumberControl>(7, {16, 40, 316, 100}).size();
    const ADMRect field = part(7, kRavoControlSecond).bounds, slider = part(7, kRavoControlValue).bounds;
    EXPECT_EQ((std::array<int32, 6>{size.width, size.height, field.left, field.right, slider.left, slider.right}),
              (std::array<int32, 6>{300, 27, 267, 312, 16, 263}));
    // A real slider works in single precision, held to the record's range (0.1f > 0.1).
    p[8].defineNumber("mix", "Mix", 0, 0.1, 0);
    make<NumberControl>(8);
    for (const auto& [moveTo, expected] : {std::pair{0.03, double(0.03f)}, std::pair{0.1, 0.1}}) {
        asUser([&](editor::DialogManager& m) { return m.setFloatAsUser(ref(8, kRavoControlValue), moveTo); });
        EXPECT_EQ(p[8].number, expected) << moveTo;
    }
    EXPECT_EQ(heard.size(), 8u);  // one for each text typed and each slider move
}

TEST_F(ParameterControls, PointTextAndItsThreeTypedForms) {
    p[0].definePoint("center", "Center", 0.25, -0.1);
    make<PointControl>(0);
    EXPECT_EQ(text(0, kRavoControlValue), "   25,   -10");
    const struct {
        const char* typed;
        double x, y;
    } cases[] = {
        {"10 20", 0.1, 0.2}, {"10,20", 0.1, 0.2}, {"-50, 5", -0.5, 0.05},
        {"abc", -0.5, 0.05}, {"inf, 3", -0.5, 0.05}, {"7", -0.5, 0.05},  // unread: the point stays
    };
    for (const auto& c : cases) {
        asUser([&](editor::DialogManager& m) { return m.setTextAsUser(ref(0, kRavoControlValue), c.typed); });
        EXPECT_DOUBLE_EQ(p[0].point.x, c.x) << c.typed;
        EXPECT_DOUBLE_EQ(p[0].point.y, c.y) << c.typed;
    }
    EXPECT_EQ(text(0, kRavoControlValue), "  -50,     5");  // rewritten from the value
    EXPECT_EQ(heard.size(), std::size(cases));
}

TEST_F(ParameterControls, ImageFileKeepsTheChosenFileName) {
    p[0].defineImageFile("texture", "Texture", "QEL Ravo", "Textures");
    make<ImageFileControl>(0);
    EXPECT_EQ(text(0, kRavoControlValue), "None");
    const struct {
        std::optional<std::string> answer;
        const char* stored;
    } cases[] = {
        {"/some/where/Canvas.png", "Canvas.png"}, {"C:\\Textures\\Brick.jpg", "Brick.jpg"},
        {std::nullopt, "Brick.jpg"},    // cancelled
        {"/some/where/", "Brick.jpg"},  // a folder is no file
        {"D:\\a/b\\Mixed.png", "Mixed.png"},
    };
    for (const auto& c : cases) {
        driver.file = c.answer;
        asUser([&](editor::DialogManager& m) { return m.pressButton(dialog.ref(), "Browse..."); });
        EXPECT_EQ(p[0].path, c.stored);
        EXPECT_EQ(text(0, kRavoControlValue), c.stored);
    }
    EXPECT_EQ(heard.size(), 3u);  // one per file chosen
    ASSERT_EQ(driver.fileRequests.size(), 5u);
    const editor::FileDialogRequest& request = driver.fileRequests[1];
    EXPECT_EQ(request.prompt, "Choose Texture...");
    EXPECT_EQ(request.filter,
              "Supported Image Files|*.jpeg;*.jpg;*.png|JPEG files (*.jpeg)|*.jpeg;*.jpg|PNG files (*.png)|*.png");
    EXPECT_EQ(request.startingFolder, "/plugin/Textures/");
    EXPECT_EQ(request.defaultName, "Canvas.png");
    EXPECT_EQ(driver.fileRequests[0].defaultName, "");
}

TEST_F(ParameterControls, EachUserChangeReachesTheDialogOnceAndResetShowsTheDefaults) {
    p[0].defineNumber("amount", "Amount", 0, 100, 25);
    p[1].defineBoolean("invert", "Invert", true);
    p[2].defineList("softness", "Softness", kItems, 3, 1);
    p[3].defineColor("tint", "Tint", 0.5, 0, 1);
    p[4].definePoint("center", "Center", 0, 0);
    const std::vector<Control*> controls = {&make<NumberControl>(0), &make<BooleanControl>(1), &make<ListControl>(2),
                                            &make<ColorControl>(3), &make<PointControl>(4)};
    const auto& swatch = *static_cast<ADM::ColorPot*>(static_cast<ADM::Item*>(part(3, kRavoControlValue).userData));
    EXPECT_EQ((std::array<int, 3>{swatch.color().red, swatch.color().green, swatch.color().blue}),
              (std::array<int, 3>{32767, 0, 65535}));
    driver.color = ADMRGBColor{0, 65535, 0};
    const struct {
        int index;
        Act act;
    } changes[] = {
        {0, [&](editor::DialogManager& m) { return m.setFloatAsUser(ref(0, kRavoControlValue), 40); }},
        {0, [&](editor::DialogManager& m) { return m.setTextAsUser(ref(0, kRavoControlSecond), "60"); }},
        {1, [&](editor::DialogManager& m) { return m.pressButton(dialog.ref(), "Invert"); }},
        {2, [&](editor::DialogManager& m) { return m.selectEntryAsUser(ref(2, kRavoControlValue), 2); }},
        {3, [&](editor::DialogManager& m) { return m.track(ref(3, kRavoControlValue), kADMButtonUpAction, {1, 1}); }},
        {4, [&](editor::DialogManager& m) { return m.setTextAsUser(ref(4, kRavoControlValue), "10, 20"); }},
    };
    std::vector<const Parameter*> expected;
    for (const auto& change : changes) {
        asUser(change.act);
        expected.push_back(&p[size_t(change.index)]);
        EXPECT_EQ(heard, expected) << change.index;
    }
    EXPECT_EQ(p[0].number, 60);
    EXPECT_FALSE(p[1].boolean);
    EXPECT_EQ(p[2].listIndex, 2u);
    EXPECT_EQ(p[3].color.green, 1.0);  // exactly: 65535 * (1 / 65535)
    EXPECT_EQ(p[3].color.red, 0.0);

    for (Control* control : controls) control->reset();
    EXPECT_EQ(text(0, kRavoControlSecond), "25");
    EXPECT_EQ(part(1, kRavoControlWhole).value, 1);
    EXPECT_TRUE(part(2, kRavoControlValue).entries[1]->selected);
    EXPECT_EQ(swatch.color().red, 32767);
    EXPECT_EQ(text(4, kRavoControlValue), "    0,     0");
    EXPECT_EQ(heard.size(), std::size(changes));  // reset is no user change
}

TEST_F(ParameterControls, TabOpensItsControlsButNeverHiddenOnesAndFramesGrow) {
    p[0].defineGroupBegin("glow", "Glow", false);
    p[1].defineNumber("amount", "Amount", 0, 100, 25);
    p[2].defineBoolean("invert", "Invert", false);
    p[2].addFlags(ParameterFlag::Hidden);
    p[3].definePoint("center", "Center", 0, 0);
    auto& tab = make<GroupButton>(0, {10, 0, 10, 18});
    for (Control* control : std::initializer_list<Control*>{&make<NumberControl>(1), &make<BooleanControl>(2),
                                                            &make<PointControl>(3)}) {
        control->item().hide();
        tab.addControl(*control);
    }
    const struct {
        int index;
        RavoControlPart part;
        bool whenOpen;
    } items[] = {{1, kRavoControlWhole, true}, {1, kRavoControlSecond, true}, {2, kRavoControlWhole, false},
                 {3, kRavoControlLabel, true}, {3, kRavoControlValue, true}};
    for (bool open : {true, false, true}) {
        open ? tab.open() : tab.close();
        EXPECT_EQ(tab.isOpen(), open);
        EXPECT_EQ(p[0].hasFlag(ParameterFlag::Open), open);
        EXPECT_EQ(part(0, kRavoControlWhole).value, open ? 1 : 0);  // shown pressed
        for (const auto& item : items)
            EXPECT_EQ(part(item.index, item.part).visible, open && item.whenOpen) << item.index << " part " << item.part;
    }
    EXPECT_EQ(text(0, kRavoControlWhole), "Glow");

    p[4].defineGroupBegin("matte", "Matte", true);
    auto& frame = make<GroupControl>(4, {10, 20, 310, 36});
    frame.setBottom(120);
    EXPECT_EQ(text(4, kRavoControlWhole), "Matte");
    EXPECT_EQ(frame.size().height, 100);
}

}  // namespace
