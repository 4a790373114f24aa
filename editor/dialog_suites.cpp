// The stand-in host's own suite tables of the dialog manager: the basic suite (alerts, file
// dialogs, colour chooser), the drawer and images; the dialog model gives the others. Each
// call finds the live object behind its reference through the current manager; a null or
// dead reference does nothing and answers 0, null or false.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <optional>

#include "editor/dialog_manager.h"

namespace editor {

namespace {

DialogManager* manager() { return DialogManager::current(); }
DialogCanvas* canvasOf(const void* ref) { return manager() ? manager()->canvas(ref) : nullptr; }


std::string textOf(const char* text) { return text ? text : ""; }

ps::ADMBoolean fileDialog(FileDialogKind kind, const char* prompt, const char* filter, const char* folder,
                          const char* name, char* path, int32_t maxLength) {
    if (!manager() || !path || maxLength <= 0) return 0;
    const auto chosen = manager()->chooseFile({kind, textOf(prompt), textOf(filter), textOf(folder), textOf(name)});
    // A path that does not fit is refused whole rather than cut short.
    if (!chosen || chosen->empty() || chosen->size() >= size_t(maxLength)) return 0;
    dialogmodel::copyText(*chosen, path, maxLength);
    return 1;
}

const ps::ADMBasicSuite5 kBasicSuite = {
    .ErrorAlert = [](const char* m) { if (manager()) manager()->alert(AlertKind::error, textOf(m)); },
    .MessageAlert = [](const char* m) { if (manager()) manager()->alert(AlertKind::message, textOf(m)); },
    .StandardGetFileDialog = [](const char* p, const char* f, const char* s, const char* d, char* path, int32_t n) {
        return fileDialog(FileDialogKind::open, p, f, s, d, path, n);
    },
    .StandardPutFileDialog = [](const char* p, const char* f, const char* s, const char* d, char* path, int32_t n) {
        return fileDialog(FileDialogKind::save, p, f, s, d, path, n);
    },
    .Beep = [] {},
    .ChooseColor = [](ps::ADMPoint, const ps::ADMRGBColor* start, ps::ADMRGBColor* chosen) -> ps::ADMBoolean {
        if (!manager() || !start || !chosen) return false;
        const auto picked = manager()->chooseColor(*start);
        if (picked) *chosen = *picked;
        return picked.has_value();
    },
};

const ps::ADMDrawerSuite3 kDrawerSuite = {
    .SetADMColor = [](ps::ADMDrawerRef d, int32_t c) { if (DialogCanvas* x = canvasOf(d)) x->setIndexedColor(c); },
    .SetRGBColor = [](ps::ADMDrawerRef d, const ps::ADMRGBColor* c) { if (DialogCanvas* x = canvasOf(d); x && c) x->setColor(*c); },
    .GetRGBColor = [](ps::ADMDrawerRef d, ps::ADMRGBColor* c) {
        if (!c) return;
        DialogCanvas* x = canvasOf(d);
        *c = x ? x->color() : ps::ADMRGBColor{};
    },
    .FillRect = [](ps::ADMDrawerRef d, const ps::ADMRect* r) { if (DialogCanvas* x = canvasOf(d); x && r) x->fill(*r); },
    .FrameRect = [](ps::ADMDrawerRef d, const ps::ADMRect* r) { if (DialogCanvas* x = canvasOf(d); x && r) x->frame(*r); },
    .GetBoundsRect = [](ps::ADMDrawerRef d, ps::ADMRect* r) {
        if (!r) return;
        DialogCanvas* x = canvasOf(d);
        *r = x ? x->bounds() : ps::ADMRect{};
    },
    // The stand-in host's display procedure takes the drawer itself.
    .GetPlatformContext = [](ps::ADMDrawerRef d) -> void* { return canvasOf(d) ? d : nullptr; },
};

const ps::ADMImageSuite1 kImageSuite = {
    .Create = [](int32_t w, int32_t h) {
        return manager() ? reinterpret_cast<ps::ADMImageRef>(manager()->createImage(w, h)) : nullptr;
    },
    .Destroy = [](ps::ADMImageRef i) { if (DialogCanvas* x = canvasOf(i)) manager()->destroyImage(x); },
    .GetWidth = [](ps::ADMImageRef i) { DialogCanvas* x = canvasOf(i); return x ? x->width() : 0; },
    .GetHeight = [](ps::ADMImageRef i) { DialogCanvas* x = canvasOf(i); return x ? x->height() : 0; },
    .GetBaseAddress = [](ps::ADMImageRef i) { DialogCanvas* x = canvasOf(i); return x ? x->rgba().data() : nullptr; },
};

const dialogmodel::SuiteTable kSuites[] = {
    {ps::kADMBasicSuite, ps::kADMBasicSuiteVersion, &kBasicSuite},
    {ps::kADMDrawerSuite, ps::kADMDrawerSuiteVersion, &kDrawerSuite},
    {ps::kADMImageSuite, ps::kADMImageSuiteVersion, &kImageSuite},
};

}  // namespace

const void* DialogManager::suite(const std::string& name, int32_t version) {
    const void* own = dialogmodel::findSuite(kSuites, std::size(kSuites), name, version);
    return own ? own : modelSuite(name, version);
}

}  // namespace editor
