#include "ui/viewer.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "host/host_errors.h"
#include "imaging/sample_traits.h"
#include "sdk/ravo_dialog_items.h"
#include "ui/adm/adm_host.h"
#include "ui/controls/control.h"

namespace {

constexpr int32_t kHandleReach = 5;  // a handle's square is its point +- 5 pixels
constexpr float kSmallestZoom = 0.01f;
constexpr float kLargestZoomIn = 1.0f;

bool contains(const ps::ADMRect& r, ps::ADMPoint p) { return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom; }

}  // namespace

Viewer::Viewer(ADM::Dialog& dialog, const ps::ADMRect& bounds, RenderContext& context, ChannelSet& channels,
               const ps::FilterRecord& record)
    : ADM::User(dialog, ps::kRavoPreviewItem, bounds),
      context_(context),
      channels_(channels),
      record_(record),
      viewWidth_(bounds.right - bounds.left),
      viewHeight_(bounds.bottom - bounds.top),
      imageSize_(channels.documentSize()) {}

Viewer::~Viewer() {
    if (preview_) channels_.releaseBlock(preview_);
}

void Viewer::addHandle(PSDriver::Control& control) { handles_.push_back(&control); }

int32_t Viewer::zoomedWidth() const { return truncToInt(imageSize_.width * double(zoom_)); }
int32_t Viewer::zoomedHeight() const { return truncToInt(imageSize_.height * double(zoom_)); }

std::string Viewer::zoomText() const {
    char text[16];
    std::snprintf(text, sizeof text, "%3d%%", truncToInt(double(zoom_) * 100.0));
    return text;
}

void Viewer::clampScroll() {
    const auto clampAxis = [](int32_t& scroll, int32_t zoomed, int32_t view) {
        scroll = zoomed <= view ? -((view - zoomed) / 2) : std::clamp(scroll, 0, zoomed - view);
    };
    clampAxis(scrollH_, zoomedWidth(), viewWidth_);
    clampAxis(scrollV_, zoomedHeight(), viewHeight_);
}

void Viewer::setZoomKeepingCentre(float zoom) {
    const double centreH = (scrollH_ + viewWidth_ / 2.0) / double(zoom_);
    const double centreV = (scrollV_ + viewHeight_ / 2.0) / double(zoom_);
    zoom_ = zoom;
    scrollH_ = truncToInt(centreH * double(zoom_) - viewWidth_ / 2.0);
    scrollV_ = truncToInt(centreV * double(zoom_) - viewHeight_ / 2.0);
    clampScroll();
    redraw();
}

void Viewer::zoomIn() { setZoomKeepingCentre(std::min(zoom_ * 1.25f, kLargestZoomIn)); }

void Viewer::zoomOut() {
    float z = std::max(zoom_ * 0.8f, kSmallestZoom);
    // Never smaller than half the view in both directions: such a zoom jumps to half the view.
    if (truncToInt(imageSize_.width * double(z)) < viewWidth_ / 2 &&
        truncToInt(imageSize_.height * double(z)) < viewHeight_ / 2)
        z = std::min(float(viewWidth_ / 2) / float(imageSize_.width), float(viewHeight_ / 2) / float(imageSize_.height));
    setZoomKeepingCentre(z);
}

void Viewer::fit() {
    if (imageSize_.width <= 0 || imageSize_.height <= 0) return;
    zoom_ = std::min(float(viewWidth_) / float(imageSize_.width), float(viewHeight_) / float(imageSize_.height));
    scrollH_ = scrollV_ = 0;
    clampScroll();
    redraw();
}

void Viewer::actualSize() {
    zoom_ = 1.0f;
    scrollH_ = scrollV_ = 0;
    clampScroll();
    redraw();
}

void Viewer::redraw() {
    invalidate();
    update();
}

void Viewer::draw(ps::ADMDrawerRef drawer) {
    const AdmSuites& suites = AdmHost::currentSuites();
    if (!suites.drawer) return;
    suites.drawer->SetADMColor(drawer, ps::kADMBackgroundColor);
    const ps::ADMRect whole{0, 0, viewWidth_, viewHeight_};
    suites.drawer->FillRect(drawer, &whole);

    // The visible part of the zoomed image, in zoomed-image coordinates. The preview block has
    // its size, so that an effect's margins see the picture's own edges rather than the
    // empty view around it.
    const PixelRect visible = PixelRect{scrollV_, scrollH_, scrollV_ + viewHeight_, scrollH_ + viewWidth_}.intersected(
        {0, 0, zoomedHeight(), zoomedWidth()});
    if (!visible.isEmpty()) {
        // Without memory for the preview the view stays empty; the dialog stays usable.
        try {
            showPreview(drawer, visible);
        } catch (const HostError&) {
        } catch (const SuiteError&) {
        } catch (const std::bad_alloc&) {
        }
    }
    drawHandles(drawer);
}

void Viewer::showPreview(ps::ADMDrawerRef drawer, const PixelRect& visible) {
    const AdmSuites& suites = AdmHost::currentSuites();
    if (preview_ && (preview_->width() != visible.width() || preview_->height() != visible.height())) {
        channels_.releaseBlock(preview_);
        preview_ = nullptr;
    }
    if (!preview_)
        preview_ = channels_.makeBlock({0, 0, visible.height(), visible.width()}, PixelBlock::kSlotCount, 1,
                                       ps::plugInModeRGBColor);
    context_.renderPreview(visible, double(zoom_), *preview_, sourceOnly_);
    ps::PSPixelMap map{};
    map.version = 1;
    map.bounds = {0, 0, preview_->height(), preview_->width()};
    map.imageMode = ps::plugInModeRGBColor;
    map.rowBytes = ps::int32(preview_->rowBytes);
    map.colBytes = ps::int32(preview_->bytesPerPixel);
    map.planeBytes = 1;
    map.baseAddr = preview_->pixels;
    const ps::VRect source = map.bounds;
    void* context = suites.drawer->GetPlatformContext ? suites.drawer->GetPlatformContext(drawer) : nullptr;
    if (record_.displayPixels && context)
        record_.displayPixels(&map, &source, visible.top - scrollV_, visible.left - scrollH_, context);
}

ps::ADMPoint Viewer::handleCentre(size_t handle) const {
    const PointValue& p = handles_[handle]->parameter->point;
    return {truncToInt((p.x + 0.5) * imageSize_.width * double(zoom_)) - scrollH_,
            truncToInt((p.y + 0.5) * imageSize_.height * double(zoom_)) - scrollV_};
}

void Viewer::drawHandles(ps::ADMDrawerRef drawer) const {
    const ps::ADMDrawerSuite3& drawerSuite = *AdmHost::currentSuites().drawer;
    for (size_t n = 0; n < handles_.size(); ++n) {
        if (!handles_[n]->parameter->isEnabled()) continue;
        const ps::ADMPoint c = handleCentre(n);
        // Three nested outlines: black, then white for the handle under the mouse or the
        // highlight colour, then black.
        const int32_t colours[3] = {ps::kADMBlackColor,
                                    int32_t(n) == hotHandle_ ? ps::kADMWhiteColor : ps::kADMHiliteColor,
                                    ps::kADMBlackColor};
        for (int32_t ring = 0; ring < 3; ++ring) {
            const ps::ADMRect square{c.h - kHandleReach + ring, c.v - kHandleReach + ring, c.h + kHandleReach - ring,
                                     c.v + kHandleReach - ring};
            drawerSuite.SetADMColor(drawer, colours[ring]);
            drawerSuite.FrameRect(drawer, &square);
        }
    }
}

int32_t Viewer::handleAt(ps::ADMPoint point) const {
    for (size_t n = 0; n < handles_.size(); ++n) {
        if (!handles_[n]->parameter->isEnabled()) continue;
        const ps::ADMPoint c = handleCentre(n);
        if (contains({c.h - kHandleReach, c.v - kHandleReach, c.h + kHandleReach, c.v + kHandleReach}, point))
            return int32_t(n);
    }
    return -1;
}

void Viewer::moveHandle(ps::ADMPoint point) {
    PSDriver::Control& control = *handles_[size_t(hotHandle_)];
    // View to image pixels, then to fractions of the image from its centre.
    control.parameter->point.x = (point.h + scrollH_) / double(zoom_) / imageSize_.width - 0.5;
    control.parameter->point.y = (point.v + scrollV_) / double(zoom_) / imageSize_.height - 0.5;
    control.update();
    redraw();
}

bool Viewer::track(ps::ADMTrackerRef tracker) {
    const AdmSuites& suites = AdmHost::currentSuites();
    if (!suites.tracker) return false;
    ps::ADMPoint point{0, 0};
    suites.tracker->GetPoint(tracker, &point);
    const int32_t action = suites.tracker->GetAction(tracker);
    switch (action) {
        case ps::kADMButtonDownAction: {
            // The modifier key keeps a handle under the mouse from being caught, so the picture
            // can be panned anywhere.
            const bool modifier = (suites.tracker->GetModifiers(tracker) & ps::kADMModifierKey) != 0;
            hotHandle_ = modifier ? -1 : handleAt(point);
            dragging_ = hotHandle_ >= 0;
            panning_ = !dragging_;
            lastMouse_ = point;
            break;
        }
        case ps::kADMMouseMovedDownAction:
            if (dragging_) {
                moveHandle(point);
            } else if (panning_) {
                scrollH_ -= point.h - lastMouse_.h;
                scrollV_ -= point.v - lastMouse_.v;
                clampScroll();
                redraw();
            }
            lastMouse_ = point;
            break;
        case ps::kADMButtonUpAction:
            dragging_ = panning_ = false;
            break;
        default: {
            const int32_t hot = handleAt(point);
            if (hot != hotHandle_) {
                hotHandle_ = hot;
                redraw();
            }
            const bool larger = zoomedWidth() > viewWidth_ || zoomedHeight() > viewHeight_;
            setCursor(hot >= 0 ? ps::kADMMoveCursorID : larger ? ps::kADMHandCursorID : ps::kADMArrowCursorID);
            break;
        }
    }
    return true;
}
