#include "ui/adm/button.h"

#include <cstring>

#include "ui/adm/notification_names.h"

namespace ADM {

namespace {

const char* const kButtonTypes[] = {
    ps::kADMTextPushButtonType,    ps::kADMTextCheckBoxType,         ps::kADMTextRadioButtonType,
    ps::kADMPicturePushButtonType, ps::kADMPictureCheckBoxButtonType, ps::kADMPictureRadioButtonType,
};
constexpr int kButtonTypeCount = int(sizeof kButtonTypes / sizeof kButtonTypes[0]);

// The dialog font's average character width and the room a button keeps around its text.
constexpr ps::int32 kAverageCharWidth = 7;
constexpr ps::int32 kTextMargin = 10;

// An unknown style falls back to a text push button rather than to no item at all.
const char* buttonType(int style) { return style >= 0 && style < kButtonTypeCount ? kButtonTypes[style] : kButtonTypes[0]; }

ps::ADMRect fitted(const ps::ADMRect& bounds, const char* text) {
    if (bounds.right != bounds.left) return bounds;
    ps::ADMRect rect = bounds;
    rect.right = rect.left + Button::widthForText(text);
    return rect;
}

}  // namespace

ps::int32 Button::widthForText(const char* text) {
    return ps::int32(text ? std::strlen(text) : 0) * kAverageCharWidth + 2 * kTextMargin;
}

Button::Button(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds, const char* text, int style)
    : Item(dialog, id, buttonType(style), fitted(bounds, text)) {
    if (text) setText(text);
}

void Button::handleNotifier(ps::ADMNotifierRef notifier) {
    if (isNotifier(notifier, ps::kADMUserChangedNotifier)) notify(*this, kSelect);
    Item::handleNotifier(notifier);
}

}  // namespace ADM
