// The dialog's live preview: the effect rendered through the render context at a zoom, shown
// through the host's display procedure, with the point handles of the dialog's point
// controls drawn on it. The mouse drags a handle or pans the picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/pixel_block.h"
#include "host/render_context.h"
#include "sdk/pi_filter.h"
#include "ui/adm/user.h"

namespace PSDriver {
class Control;
}

class Viewer : public ADM::User {
public:
    Viewer(ADM::Dialog& dialog, const ps::ADMRect& bounds, RenderContext& context, ChannelSet& channels,
           const ps::FilterRecord& record);
    ~Viewer() override;

    // A point control whose point is dragged on the preview.
    void addHandle(PSDriver::Control& control);

    void zoomIn();
    void zoomOut();
    void fit();
    void actualSize();
    float zoom() const { return zoom_; }
    // "%3d%%" of the zoom in percent, truncated.
    std::string zoomText() const;

    // Renders the visible part of the effect's result and shows it.
    void draw(ps::ADMDrawerRef drawer) override;
    bool track(ps::ADMTrackerRef tracker) override;

    // Where a point handle is centred, in the view's coordinates.
    ps::ADMPoint handleCentre(size_t handle) const;
    // The zoomed image's top-left corner in the view's coordinates.
    ps::ADMPoint imageOrigin() const { return {-scrollH_, -scrollV_}; }

    // Renders the source alone (no effect) when on.
    void setSourceOnly(bool on) { sourceOnly_ = on; }

private:
    int32_t zoomedWidth() const;
    int32_t zoomedHeight() const;
    // Moves the view so that the image point now at its centre stays there at the new zoom.
    void setZoomKeepingCentre(float zoom);
    // Centres a zoomed image smaller than the view; keeps a larger one covering the view.
    void clampScroll();
    // The handle whose square holds the point (view coordinates), or -1.
    int32_t handleAt(ps::ADMPoint point) const;
    // Renders the visible part of the zoomed image and hands it to the display procedure.
    void showPreview(ps::ADMDrawerRef drawer, const PixelRect& visible);
    void drawHandles(ps::ADMDrawerRef drawer) const;
    void moveHandle(ps::ADMPoint point);
    void redraw();

    RenderContext& context_;
    ChannelSet& channels_;
    const ps::FilterRecord& record_;
    PixelBlock* preview_ = nullptr;
    float zoom_ = 1.0f;
    int32_t viewWidth_, viewHeight_;
    ImageSize imageSize_;
    // The zoomed-image coordinates of the view's top-left pixel (negative while centred).
    int32_t scrollH_ = 0, scrollV_ = 0;
    std::vector<PSDriver::Control*> handles_;
    int32_t hotHandle_ = -1;
    bool dragging_ = false;
    bool panning_ = false;
    ps::ADMPoint lastMouse_{0, 0};
    bool sourceOnly_ = false;
};
