#include "ui/adm/color_pot.h"

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

}  // namespace ADM
