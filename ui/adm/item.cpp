#include "ui/adm/item.h"

#include "ui/adm/dialog.h"
#include "ui/adm/notification_names.h"
#include "ui/adm/read_text.h"

namespace ADM {

Item::Item(Dialog& dialog, ps::int32 id, const char* type, const ps::ADMRect& bounds) : dialog_(dialog), id_(id) {
    const auto* suite = AdmHost::currentSuites().item;
    if (!suite || !dialog.ref()) return;
    // The user data is the Item base, whatever the derived class: the callbacks cast back to it.
    ref_ = suite->Create(dialog.ref(), id, type, &bounds, static_cast<Item*>(this));
    if (!ref_) return;
    suite->SetNotifyProc(ref_, notifyProc);
    suite->SetDestroyProc(ref_, destroyProc);
    suite->SetTrackProc(ref_, trackProc);
    suite->SetDrawProc(ref_, drawProc);
}

Item::~Item() {
    // Destroyed from here, the dialog-manager item no longer calls back into this object.
    withItem([](const ps::ADMItemSuite5& s, ps::ADMItemRef item) {
        s.SetDestroyProc(item, nullptr);
        s.SetUserData(item, nullptr);
        s.Destroy(item);
    });
}

Item* Item::of(ps::ADMItemRef item) {
    const auto* suite = AdmHost::currentSuites().item;
    return suite ? static_cast<Item*>(suite->GetUserData(item)) : nullptr;
}

void Item::notifyProc(ps::ADMItemRef item, ps::ADMNotifierRef notifier) {
    if (Item* self = of(item)) self->handleNotifier(notifier);
}

void Item::destroyProc(ps::ADMItemRef item) {
    Item* self = of(item);
    if (!self) return;
    self->ref_ = nullptr;
    self->notify(*self, kDestroy);
}

ps::ADMBoolean Item::trackProc(ps::ADMItemRef item, ps::ADMTrackerRef tracker) {
    Item* self = of(item);
    return self && self->track(tracker) ? 1 : 0;
}

void Item::drawProc(ps::ADMItemRef item, ps::ADMDrawerRef drawer) {
    if (Item* self = of(item)) self->draw(drawer);
}

bool Item::isNotifier(ps::ADMNotifierRef notifier, const char* type) {
    const auto* suite = AdmHost::currentSuites().notifier;
    return suite && suite->IsNotifierType(notifier, type);
}

void Item::show() {
    withItem([](const ps::ADMItemSuite5& s, ps::ADMItemRef item) {
        s.Show(item, 1);
        s.Invalidate(item);
    });
}
void Item::hide() {
    withItem([](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.Show(item, 0); });
}
void Item::setText(const char* text) {
    withItem([text](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.SetText(item, text); });
}
void Item::setBooleanValue(bool value) {
    withItem([value](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.SetBooleanValue(item, value); });
}
void Item::setFloatValue(float value) {
    withItem([value](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.SetFloatValue(item, value); });
}
void Item::setIntValue(ps::int32 value) {
    withItem([value](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.SetIntValue(item, value); });
}

bool Item::track(ps::ADMTrackerRef tracker) {
    return queryItem(false, [tracker](const ps::ADMItemSuite5& s, ps::ADMItemRef item) {
        return s.DefaultTrack(item, tracker) != 0;
    });
}

void Item::draw(ps::ADMDrawerRef drawer) {
    withItem([drawer](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.DefaultDraw(item, drawer); });
}

void Item::handleNotifier(ps::ADMNotifierRef notifier) {
    if (isNotifier(notifier, ps::kADMGainFocusNotifier)) {
        focusGained();
        notify(*this, kGainFocus);
    } else if (isNotifier(notifier, ps::kADMLoseFocusNotifier)) {
        focusLost();
        notify(*this, kLoseFocus);
    }
    withItem([notifier](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.DefaultNotify(item, notifier); });
}

void Item::enable(bool enabled) {
    withItem([enabled](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.Enable(item, enabled); });
}
bool Item::isVisible() const {
    return queryItem(false, [](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { return s.IsVisible(item) != 0; });
}
bool Item::isEnabled() const {
    return queryItem(false, [](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { return s.IsEnabled(item) != 0; });
}

ps::ADMRect Item::bounds() const {
    ps::ADMRect rect{0, 0, 0, 0};
    withItem([&rect](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.GetBoundsRect(item, &rect); });
    return rect;
}
void Item::setBounds(const ps::ADMRect& bounds) {
    if (!ref_ || !AdmHost::currentSuites().item) return;
    const ps::ADMRect previous = this->bounds();
    withItem([&bounds](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.SetBoundsRect(item, &bounds); });
    boundsChanged(previous);
}

std::string Item::text() const {
    return queryItem(std::string(), [](const ps::ADMItemSuite5& s, ps::ADMItemRef item) {
        return readText([&](char* text, ps::int32 maxLength) { return s.GetText(item, text, maxLength); });
    });
}
bool Item::booleanValue() const {
    return queryItem(false, [](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { return s.GetBooleanValue(item) != 0; });
}
float Item::floatValue() const {
    return queryItem(0.0f, [](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { return s.GetFloatValue(item); });
}
ps::int32 Item::intValue() const {
    return queryItem(ps::int32(0), [](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { return s.GetIntValue(item); });
}

namespace {

// The maximum goes first when the range moves up and the minimum first when it moves down,
// so the dialog manager never sees a maximum below the minimum on the way.
template <typename T>
void setRange(ps::ADMItemRef item, T minimum, T maximum, T (*getMinimum)(ps::ADMItemRef),
              void (*setMinimum)(ps::ADMItemRef, T), void (*setMaximum)(ps::ADMItemRef, T)) {
    if (maximum < getMinimum(item)) {
        setMinimum(item, minimum);
        setMaximum(item, maximum);
    } else {
        setMaximum(item, maximum);
        setMinimum(item, minimum);
    }
}

}  // namespace

void Item::setMinMax(float minimum, float maximum) {
    withItem([=](const ps::ADMItemSuite5& s, ps::ADMItemRef item) {
        setRange(item, minimum, maximum, s.GetMinFloatValue, s.SetMinFloatValue, s.SetMaxFloatValue);
    });
}
void Item::setMinMax(ps::int32 minimum, ps::int32 maximum) {
    withItem([=](const ps::ADMItemSuite5& s, ps::ADMItemRef item) {
        setRange(item, minimum, maximum, s.GetMinIntValue, s.SetMinIntValue, s.SetMaxIntValue);
    });
}
float Item::minFloatValue() const {
    return queryItem(0.0f, [](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { return s.GetMinFloatValue(item); });
}
float Item::maxFloatValue() const {
    return queryItem(0.0f, [](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { return s.GetMaxFloatValue(item); });
}

void Item::setUnits(ps::int32 units) {
    withItem([units](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.SetUnits(item, units); });
}
void Item::setCursor(ps::int32 cursorID) {
    withItem([cursorID](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.SetCursorID(item, cursorID); });
}
void Item::invalidate() {
    withItem([](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.Invalidate(item); });
}
void Item::update() {
    withItem([](const ps::ADMItemSuite5& s, ps::ADMItemRef item) { s.Update(item); });
}

}  // namespace ADM
