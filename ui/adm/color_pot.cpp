#include "ui/adm/color_pot.h"

#include "ui/adm/notification_names.h"

namespace ADM {

ColorPot::ColorPot(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds, const ps::ADMRGBColor& color)
    : User(dialog, id, bounds), color_(color) {}

void ColorPot::setColor(const ps::ADMRGBColor& color) {
    color_ = color;
    invalidate();
}

void ColorPot::draw(ps::ADMDrawerRef drawer) {
    const auto* suite = AdmHost::currentSuites().drawer;
    if (!suite) return;
    ps::ADMRect area{0, 0, 0, 0};
    suite->GetBoundsRect(drawer, &area);
    suite->SetRGBColor(drawer, &color_);
    suite->FillRect(drawer, &area);
    suite->SetADMColor(drawer, ps::kADMShadowColor);
    suite->FrameRect(drawer, &area);
}

bool ColorPot::track(ps::ADMTrackerRef tracker) {
    const AdmSuites& suites = AdmHost::currentSuites();
    if (!suites.tracker || !suites.basic || !suites.basic->ChooseColor) return false;
    if (suites.tracker->GetAction(tracker) != ps::kADMButtonUpAction) return true;
    ps::ADMPoint where{0, 0};
    suites.tracker->GetPoint(tracker, &where);
    ps::ADMRGBColor chosen = color_;
    if (!suites.basic->ChooseColor(where, &color_, &chosen)) return true;
    setColor(chosen);
    notify(*this, kChanged);
    return true;
}

}  // namespace ADM
