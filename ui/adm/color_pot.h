// A colour swatch: a rectangle filled with one RGB colour of three 16-bit components,
// framed in the shadow colour. Clicking it opens the host's colour chooser; a colour chosen
// there becomes the swatch's colour and notifies "changed".
#pragma once

#include "ui/adm/user.h"

namespace ADM {

class ColorPot : public User {
public:
    ColorPot(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds, const ps::ADMRGBColor& color = {0, 0, 0});

    void setColor(const ps::ADMRGBColor& color);
    const ps::ADMRGBColor& color() const { return color_; }

    void draw(ps::ADMDrawerRef drawer) override;
    bool track(ps::ADMTrackerRef tracker) override;

private:
    ps::ADMRGBColor color_;
};

}  // namespace ADM
