#include "ui/adm/divider.h"

namespace ADM {

Divider::Divider(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds) : User(dialog, id, bounds) {}

// The line runs along the longer side, one pixel thick, through the middle of the bounds.
void Divider::draw(ps::ADMDrawerRef drawer) {
    const auto* suite = AdmHost::currentSuites().drawer;
    if (!suite) return;
    ps::ADMRect area{0, 0, 0, 0};
    suite->GetBoundsRect(drawer, &area);
    suite->SetADMColor(drawer, ps::kADMBackgroundColor);
    suite->FillRect(drawer, &area);
    ps::ADMRect line = area;
    if (area.right - area.left >= area.bottom - area.top) {
        line.top = (area.top + area.bottom) / 2;
        line.bottom = line.top + 1;
    } else {
        line.left = (area.left + area.right) / 2;
        line.right = line.left + 1;
    }
    suite->SetADMColor(drawer, ps::kADMShadowColor);
    suite->FillRect(drawer, &line);
}

}  // namespace ADM
