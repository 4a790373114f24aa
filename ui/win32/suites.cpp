// The C tables of the plug-in's own dialog manager. Each call finds the live object behind
// its reference; a null or dead reference does nothing and answers 0, null or false.
#include "ui/win32/suites.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ui/win32/dialog_manager.h"
#include "ui/win32/system_dialogs.h"
#include "ui/win32/text.h"

// windows.h names the Windows colour chooser ChooseColor, as the suite names its own member.
#undef ChooseColor

namespace win32ui {

namespace {

DialogManager& manager() { return DialogManager::instance(); }
Drawer* drawerOf(ps::ADMDrawerRef ref) { return manager().drawer(ref); }
Picture* pictureOf(ps::ADMImageRef ref) { return manager().picture(ref); }

const ps::ADMBasicSuite5 kBasicSuite = {
    .ErrorAlert = [](const char* m) { showAlert(m, true); },
    .MessageAlert = [](const char* m) { showAlert(m, false); },
    .StandardGetFileDialog = [](const char* p, const char* f, const char* s, const char* d, char* path, ps::int32 n)
        -> ps::ADMBoolean { return chooseFile(FileDialogKind::open, p, f, s, d, path, n); },
    .StandardPutFileDialog = [](const char* p, const char* f, const char* s, const char* d, char* path, ps::int32 n)
        -> ps::ADMBoolean { return chooseFile(FileDialogKind::save, p, f, s, d, path, n); },
    .Beep = [] { MessageBeep(MB_OK); },
    .ChooseColor = [](ps::ADMPoint, const ps::ADMRGBColor* start, ps::ADMRGBColor* chosen) -> ps::ADMBoolean {
        return start && chosen && chooseColor(*start, *chosen);
    },
};

// The indexed colours are the system's colours for dialogs.
ps::ADMRGBColor indexedColor(ps::int32 index) {
    static const int kSystemColors[ps::kADMColorCount] = {
        -1, -2, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_3DLIGHT, COLOR_BTNFACE,
        COLOR_3DSHADOW, COLOR_GRAYTEXT, COLOR_BTNFACE, COLOR_3DSHADOW, COLOR_BTNTEXT,
    };
    const int system = index >= 0 && index < ps::kADMColorCount ? kSystemColors[index] : -1;
    const COLORREF c = system == -1 ? RGB(0, 0, 0) : system == -2 ? RGB(255, 255, 255) : GetSysColor(system);
    return {ps::uint16(GetRValue(c) * 257), ps::uint16(GetGValue(c) * 257), ps::uint16(GetBValue(c) * 257)};
}

// A solid brush of the drawer's colour for one call.
class DrawerBrush {
public:
    explicit DrawerBrush(const Drawer& d)
        : brush_(CreateSolidBrush(RGB(d.color.red >> 8, d.color.green >> 8, d.color.blue >> 8))) {}
    ~DrawerBrush() { if (brush_) DeleteObject(brush_); }
    DrawerBrush(const DrawerBrush&) = delete;
    DrawerBrush& operator=(const DrawerBrush&) = delete;
    HBRUSH get() const { return brush_; }

private:
    HBRUSH brush_;
};

RECT rectOf(const ps::ADMRect& r) { return {r.left, r.top, r.right, r.bottom}; }

const ps::ADMDrawerSuite3 kDrawerSuite = {
    .SetADMColor = [](ps::ADMDrawerRef d, ps::int32 c) { if (Drawer* x = drawerOf(d)) x->color = indexedColor(c); },
    .SetRGBColor = [](ps::ADMDrawerRef d, const ps::ADMRGBColor* c) { if (Drawer* x = drawerOf(d); x && c) x->color = *c; },
    .GetRGBColor = [](ps::ADMDrawerRef d, ps::ADMRGBColor* c) {
        if (!c) return;
        Drawer* x = drawerOf(d);
        *c = x ? x->color : ps::ADMRGBColor{};
    },
    .FillRect = [](ps::ADMDrawerRef d, const ps::ADMRect* r) {
        if (Drawer* x = drawerOf(d); x && r) {
            const RECT area = rectOf(*r);
            FillRect(x->dc, &area, DrawerBrush(*x).get());
        }
    },
    .FrameRect = [](ps::ADMDrawerRef d, const ps::ADMRect* r) {
        if (Drawer* x = drawerOf(d); x && r) {
            const RECT area = rectOf(*r);
            FrameRect(x->dc, &area, DrawerBrush(*x).get());
        }
    },
    .GetBoundsRect = [](ps::ADMDrawerRef d, ps::ADMRect* r) {
        if (!r) return;
        Drawer* x = drawerOf(d);
        *r = x ? x->bounds : ps::ADMRect{};
    },
    // The host's displayPixels draws into the device context, as on every Windows host.
    .GetPlatformContext = [](ps::ADMDrawerRef d) -> void* { Drawer* x = drawerOf(d); return x ? x->dc : nullptr; },
};

const ps::ADMImageSuite1 kImageSuite = {
    .Create = [](ps::int32 w, ps::int32 h) { return reinterpret_cast<ps::ADMImageRef>(manager().createPicture(w, h)); },
    .Destroy = [](ps::ADMImageRef i) { manager().destroyPicture(pictureOf(i)); },
    .GetWidth = [](ps::ADMImageRef i) { Picture* x = pictureOf(i); return x ? x->width : 0; },
    .GetHeight = [](ps::ADMImageRef i) { Picture* x = pictureOf(i); return x ? x->height : 0; },
    .GetBaseAddress = [](ps::ADMImageRef i) { Picture* x = pictureOf(i); return x ? x->rgba.data() : nullptr; },
};

}  // namespace

const AdmSuites& dialogManagerSuites() {
    using Model = dialogmodel::DialogModel;
    // The model's tables reach the current model: this manager, made before them.
    DialogManager::instance().makeCurrent();
    static const AdmSuites suites{
        &kBasicSuite,
        static_cast<const ps::ADMDialogSuite5*>(Model::modelSuite(ps::kADMDialogSuite, ps::kADMDialogSuiteVersion)),
        static_cast<const ps::ADMItemSuite5*>(Model::modelSuite(ps::kADMItemSuite, ps::kADMItemSuiteVersion)),
        static_cast<const ps::ADMNotifierSuite2*>(Model::modelSuite(ps::kADMNotifierSuite, ps::kADMNotifierSuiteVersion)),
        static_cast<const ps::ADMTrackerSuite1*>(Model::modelSuite(ps::kADMTrackerSuite, ps::kADMTrackerSuiteVersion)),
        static_cast<const ps::ADMEntrySuite4*>(Model::modelSuite(ps::kADMEntrySuite, ps::kADMEntrySuiteVersion)),
        static_cast<const ps::ADMListSuite2*>(Model::modelSuite(ps::kADMListSuite, ps::kADMListSuiteVersion)),
        static_cast<const ps::ADMListEntrySuite2*>(
            Model::modelSuite(ps::kADMListEntrySuite, ps::kADMListEntrySuiteVersion)),
        &kDrawerSuite,
        &kImageSuite,
    };
    return suites;
}

}  // namespace win32ui
