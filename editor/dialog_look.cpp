#include "editor/dialog_look.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "editor/font_face.h"

namespace editor {

namespace {

constexpr int32_t kTextSize = 11;    // pixels per em of dialog text
constexpr int32_t kEditPadding = 3;  // space left of the text in fields
constexpr int32_t kBoxSize = 13;     // check box and radio button
constexpr int32_t kBoxGap = 5;       // between a box and its text
constexpr int32_t kTrackInset = 6;   // slider track ends
constexpr int32_t kThumbWidth = 9;
constexpr int32_t kCaptionInset = 8;  // a group caption's text from the frame's left edge
constexpr double kNoRange = 3e38;     // a bound beyond this is "no range set"

using ps::ADMRect;

// What every item's drawing needs: the canvas, the item and the font (null: no text drawn).
struct Look {
    DialogCanvas& canvas;
    const DialogItem& item;
    FontFace* font;

    ADMRect area() const { return canvas.bounds(); }
    int32_t textColor() const { return item.enabled ? ps::kADMTextColor : ps::kADMDisabledColor; }
    int32_t lineColor() const { return item.enabled ? ps::kADMShadowColor : ps::kADMDisabledColor; }
    int32_t fieldColor() const { return item.enabled ? ps::kADMWhiteColor : ps::kADMBackgroundColor; }

    void paint(int32_t color, const ADMRect& rect) {
        canvas.setIndexedColor(color);
        canvas.fill(rect);
    }
    void outline(int32_t color, const ADMRect& rect) {
        canvas.setIndexedColor(color);
        canvas.frame(rect);
    }
    int32_t textWidth(std::string_view text) { return font ? font->lineWidth(text, kTextSize) : 0; }
    int32_t lineHeight() { return font ? font->lineHeight(kTextSize) : kTextSize; }
    // One line from x, centred from top to bottom in the box and clipped to it.
    void text(std::string_view text, int32_t x, const ADMRect& box) {
        if (!font || text.empty()) return;
        const int32_t baseline = box.top + (box.bottom - box.top - lineHeight()) / 2 + font->ascent(kTextSize);
        canvas.setIndexedColor(textColor());
        font->draw(canvas, text, x, baseline, kTextSize, box);
    }
    // Lines wrapped at the box's width, from its top.
    void wrappedText(std::string_view text, const ADMRect& box);
    // A raised face's light and dark edges inside the rectangle; swapped when pressed in.
    void bevel(const ADMRect& r, bool pressed) {
        paint(pressed ? ps::kADMShadowColor : ps::kADMLightColor, {r.left, r.top, r.right - 1, r.top + 1});
        paint(pressed ? ps::kADMShadowColor : ps::kADMLightColor, {r.left, r.top, r.left + 1, r.bottom - 1});
        paint(pressed ? ps::kADMLightColor : ps::kADMShadowColor, {r.left, r.bottom - 1, r.right, r.bottom});
        paint(pressed ? ps::kADMLightColor : ps::kADMShadowColor, {r.right - 1, r.top, r.right, r.bottom});
    }
};

// Splits text into lines no wider than `width`: at line breaks, then between words; a word
// wider than a line stands alone on one.
std::vector<std::string> wrap(Look& look, std::string_view text, int32_t width) {
    std::vector<std::string> lines;
    while (true) {
        const size_t end = text.find('\n');
        const std::string_view paragraph = text.substr(0, end);
        std::string line;
        for (size_t at = 0; at <= paragraph.size();) {
            size_t next = paragraph.find(' ', at);
            if (next == std::string_view::npos) next = paragraph.size();
            const std::string_view word = paragraph.substr(at, next - at);
            const std::string joined = line.empty() ? std::string(word) : line + " " + std::string(word);
            if (!line.empty() && look.textWidth(joined) > width) {
                lines.push_back(line);
                line = std::string(word);
            } else {
                line = joined;
            }
            at = next + 1;
        }
        lines.push_back(line);
        if (end == std::string_view::npos) return lines;
        text.remove_prefix(end + 1);
    }
}

void Look::wrappedText(std::string_view text, const ADMRect& box) {
    if (!font) return;
    int32_t top = box.top;
    for (const std::string& line : wrap(*this, text, box.right - box.left)) {
        if (top >= box.bottom) break;
        this->text(line, box.left, {box.left, top, box.right, std::min(top + lineHeight(), box.bottom)});
        top += lineHeight();
    }
}

bool isOn(const DialogItem& item) { return item.value != 0; }

// A number as a field shows it: at most two decimals, no trailing zeros.
std::string numberText(double value) {
    char buffer[400];  // room for any double's digits
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

bool hasRange(const DialogItem& item) { return item.minimum > -kNoRange || item.maximum < kNoRange; }

// An edit's text, or its number when it holds no text but a range, with its unit sign.
std::string fieldText(const DialogItem& item) {
    std::string text = item.text.empty() && hasRange(item) ? numberText(item.value) : item.text;
    const char* sign = item.units == ps::kADMPercentUnits ? "%" : item.units == ps::kADMDegreesUnits ? "\xC2\xB0" : "";
    if (*sign && !text.empty() && !text.ends_with(sign)) text += std::string(" ") + sign;
    return text;
}

// The selected entry's text.
std::string selectedText(const DialogItem& item) {
    for (const auto& entry : item.entries)
        if (entry->selected) return entry->text;
    return "";
}

void drawPushButton(Look& look) {
    const bool pressed = isOn(look.item);
    const ADMRect area = look.area();
    look.paint(pressed ? ps::kADMButtonDownColor : ps::kADMButtonUpColor, area);
    look.outline(look.lineColor(), area);
    look.bevel({area.left + 1, area.top + 1, area.right - 1, area.bottom - 1}, pressed);
    // Pressed in, the text moves with the face.
    const int32_t shift = pressed ? 1 : 0;
    const ADMRect box{area.left + 2, area.top + 2 + shift, area.right - 2, area.bottom - 2 + shift};
    look.text(look.item.text, (area.right - look.textWidth(look.item.text)) / 2 + shift, box);
}

// The square or round box of a check box or radio button, left and centred from top to bottom.
ADMRect markBox(const Look& look) {
    const int32_t size = std::min(kBoxSize, look.canvas.height());
    const int32_t top = (look.canvas.height() - size) / 2;
    return {0, top, size, top + size};
}

void drawLabelBeside(Look& look, const ADMRect& box) {
    const ADMRect area = look.area();
    look.text(look.item.text, box.right + kBoxGap, {box.right + kBoxGap, area.top, area.right, area.bottom});
}

// A two-pixel stroke from one point to another.
void stroke(Look& look, double x0, double y0, double x1, double y1) {
    const int steps = int(std::max(std::abs(x1 - x0), std::abs(y1 - y0))) + 1;
    for (int n = 0; n <= steps; ++n) {
        const int32_t x = int32_t(x0 + (x1 - x0) * n / steps), y = int32_t(y0 + (y1 - y0) * n / steps);
        look.canvas.fill({x, y, x + 2, y + 2});
    }
}

void drawCheckBox(Look& look) {
    look.paint(ps::kADMBackgroundColor, look.area());
    const ADMRect box = markBox(look);
    look.paint(look.fieldColor(), box);
    look.outline(look.lineColor(), box);
    if (isOn(look.item)) {
        const double size = box.right - box.left;
        look.canvas.setIndexedColor(look.textColor());
        stroke(look, box.left + size * 0.2, box.top + size * 0.45, box.left + size * 0.4, box.top + size * 0.65);
        stroke(look, box.left + size * 0.4, box.top + size * 0.65, box.left + size * 0.7, box.top + size * 0.2);
    }
    drawLabelBeside(look, box);
}

// A disc of the given radius about the box's centre, anti-aliased at its edge.
void disc(Look& look, const ADMRect& box, double radius, int32_t color) {
    const double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
    look.canvas.setIndexedColor(color);
    for (int32_t y = box.top; y < box.bottom; ++y)
        for (int32_t x = box.left; x < box.right; ++x) {
            const double distance = std::sqrt((x + 0.5 - cx) * (x + 0.5 - cx) + (y + 0.5 - cy) * (y + 0.5 - cy));
            const double coverage = std::clamp(radius - distance + 0.5, 0.0, 1.0);
            look.canvas.blend(x, y, uint8_t(coverage * 255));
        }
}

void drawRadioButton(Look& look) {
    look.paint(ps::kADMBackgroundColor, look.area());
    const ADMRect box = markBox(look);
    const double radius = (box.right - box.left) / 2.0;
    disc(look, box, radius, look.lineColor());
    disc(look, box, radius - 1, look.fieldColor());
    if (isOn(look.item)) disc(look, box, radius * 0.4, look.textColor());
    drawLabelBeside(look, box);
}

// A white field with a frame, for edits and combo boxes.
ADMRect drawField(Look& look) {
    const ADMRect area = look.area();
    look.paint(look.fieldColor(), area);
    look.outline(look.lineColor(), area);
    return {area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
}

void drawEdit(Look& look) {
    const ADMRect inside = drawField(look);
    std::string text = fieldText(look.item);
    if (look.item.type == ps::kADMPasswordTextEditType) {
        std::string dots;
        for (char c : text)
            if ((uint8_t(c) & 0xC0) != 0x80) dots += "\xE2\x80\xA2";  // one bullet a character
        text = dots;
    }
    look.text(text, kEditPadding, inside);
}

void drawMultiLineEdit(Look& look) {
    const ADMRect inside = drawField(look);
    look.wrappedText(look.item.text, {kEditPadding, inside.top + 1, inside.right - 1, inside.bottom});
}

void drawStatic(Look& look) {
    look.paint(ps::kADMBackgroundColor, look.area());
    look.text(look.item.text, 0, look.area());
}

void drawMultiLineStatic(Look& look) {
    look.paint(ps::kADMBackgroundColor, look.area());
    look.wrappedText(look.item.text, look.area());
}

void drawSlider(Look& look) {
    const ADMRect area = look.area();
    look.paint(ps::kADMBackgroundColor, area);
    const int32_t middle = area.bottom / 2, length = std::max(area.right - 2 * kTrackInset, 1);
    // The track: a groove, dark above and light below.
    look.paint(look.lineColor(), {kTrackInset, middle - 2, kTrackInset + length, middle});
    look.paint(ps::kADMLightColor, {kTrackInset, middle, kTrackInset + length, middle + 2});
    const DialogItem& item = look.item;
    const double span = item.maximum - item.minimum;
    const double fraction = hasRange(item) && span > 0 && span < kNoRange ? (item.value - item.minimum) / span : 0;
    const int32_t centre = kTrackInset + int32_t(std::clamp(fraction, 0.0, 1.0) * length);
    const int32_t half = std::min(area.bottom, 16) / 2;
    const ADMRect thumb{centre - kThumbWidth / 2, middle - half, centre - kThumbWidth / 2 + kThumbWidth, middle + half};
    look.paint(ps::kADMButtonUpColor, thumb);
    look.outline(look.lineColor(), thumb);
    look.bevel({thumb.left + 1, thumb.top + 1, thumb.right - 1, thumb.bottom - 1}, false);
}

// The downward arrow at the right end of pop-up lists and combo boxes; answers the room left of it.
ADMRect drawArrow(Look& look, const ADMRect& inside) {
    const int32_t width = std::min(inside.bottom - inside.top, inside.right - inside.left);
    const int32_t centre = inside.right - width / 2, top = (inside.top + inside.bottom) / 2 - 2;
    look.canvas.setIndexedColor(look.textColor());
    for (int32_t row = 0; row < 4; ++row) look.canvas.fill({centre - 3 + row, top + row, centre + 4 - row, top + row + 1});
    return {inside.left, inside.top, inside.right - width, inside.bottom};
}

void drawPopup(Look& look) {
    const ADMRect area = look.area();
    look.paint(ps::kADMButtonUpColor, area);
    look.outline(look.lineColor(), area);
    const ADMRect inside{area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
    look.bevel(inside, false);
    look.text(selectedText(look.item), kEditPadding + 1, drawArrow(look, inside));
}

void drawComboBox(Look& look) {
    const ADMRect inside = drawField(look);
    const std::string text = look.item.text.empty() ? selectedText(look.item) : look.item.text;
    look.text(text, kEditPadding, drawArrow(look, inside));
}

// An etched frame with the caption on its top edge; a group without text draws nothing.
void drawGroup(Look& look) {
    if (look.item.text.empty()) return;
    const ADMRect area = look.area();
    const int32_t height = look.lineHeight(), top = height / 2;
    look.outline(look.lineColor(), {area.left, top, area.right - 1, area.bottom - 1});
    look.outline(ps::kADMLightColor, {area.left + 1, top + 1, area.right, area.bottom});
    const int32_t width = look.textWidth(look.item.text);
    look.paint(ps::kADMBackgroundColor, {kCaptionInset - 2, 0, kCaptionInset + width + 2, height});
    look.text(look.item.text, kCaptionInset, {kCaptionInset, 0, std::min(kCaptionInset + width, area.right), height});
}

void drawBackground(Look& look) { look.paint(ps::kADMBackgroundColor, look.area()); }

struct TypeLook {
    const char* type;
    void (*draw)(Look&);
};
const TypeLook kLooks[] = {
    {ps::kADMTextPushButtonType, drawPushButton},     {ps::kADMPicturePushButtonType, drawPushButton},
    {ps::kADMTextCheckBoxType, drawCheckBox},         {ps::kADMPictureCheckBoxButtonType, drawCheckBox},
    {ps::kADMTextRadioButtonType, drawRadioButton},   {ps::kADMPictureRadioButtonType, drawRadioButton},
    {ps::kADMTextEditType, drawEdit},                 {ps::kADMPasswordTextEditType, drawEdit},
    {ps::kADMTextEditMultiLineType, drawMultiLineEdit},
    {ps::kADMTextStaticType, drawStatic},             {ps::kADMTextStaticMultiLineType, drawMultiLineStatic},
    {ps::kADMSliderType, drawSlider},                 {ps::kADMPopupListType, drawPopup},
    {ps::kADMComboBoxType, drawComboBox},             {ps::kADMItemGroupType, drawGroup},
    {ps::kADMUserType, drawBackground},
};

}  // namespace

void drawDialogFace(DialogCanvas& canvas) {
    canvas.setIndexedColor(ps::kADMBackgroundColor);
    canvas.fill(canvas.bounds());
}

void drawItemLook(const DialogItem& item, DialogCanvas& canvas) {
    Look look{canvas, item, FontFace::shared()};
    for (const TypeLook& entry : kLooks)
        if (item.type == entry.type) return entry.draw(look);
    drawBackground(look);
}

}  // namespace editor
