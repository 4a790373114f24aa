// The C suite tables of the dialog manager. Each call finds the live object behind its
// reference through the current manager; a null or dead reference does nothing and answers
// 0, null or false, so a plug-in holding a stale reference cannot corrupt the host.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "editor/dialog_manager.h"

namespace editor {

namespace {

DialogManager* manager() { return DialogManager::current(); }
Dialog* dialogOf(ps::ADMDialogRef ref) { return manager() ? manager()->dialog(ref) : nullptr; }
DialogItem* itemOf(ps::ADMItemRef ref) { return manager() ? manager()->item(ref) : nullptr; }
DialogItem* listOf(ps::ADMListRef ref) {
    DialogItem* item = manager() ? manager()->item(ref) : nullptr;
    return item && item->hasEntries() ? item : nullptr;
}
DialogEntry* entryOf(ps::ADMEntryRef ref) { return manager() ? manager()->entry(ref) : nullptr; }
DialogNotifier* notifierOf(ps::ADMNotifierRef ref) { return manager() ? manager()->notifier(ref) : nullptr; }
DialogTracker* trackerOf(ps::ADMTrackerRef ref) { return manager() ? manager()->tracker(ref) : nullptr; }
DialogCanvas* canvasOf(const void* ref) { return manager() ? manager()->canvas(ref) : nullptr; }

ps::ADMDialogRef refOf(Dialog* d) { return reinterpret_cast<ps::ADMDialogRef>(d); }
ps::ADMItemRef refOf(DialogItem* i) { return reinterpret_cast<ps::ADMItemRef>(i); }
ps::ADMEntryRef refOf(DialogEntry* e) { return reinterpret_cast<ps::ADMEntryRef>(e); }

// Copies as much of the text as fits with its NUL; answers the full length.
int32_t copyText(const std::string& text, char* out, int32_t maxLength) {
    if (out && maxLength > 0) {
        const size_t n = std::min(text.size(), size_t(maxLength - 1));
        std::memcpy(out, text.data(), n);
        out[n] = 0;
    }
    return int32_t(text.size());
}

std::string textOf(const char* text) { return text ? text : ""; }

ps::ADMBoolean fileDialog(FileDialogKind kind, const char* prompt, const char* filter, const char* folder,
                          const char* name, char* path, int32_t maxLength) {
    if (!manager() || !path || maxLength <= 0) return 0;
    const auto chosen = manager()->chooseFile({kind, textOf(prompt), textOf(filter), textOf(folder), textOf(name)});
    // A path that does not fit is refused whole rather than cut short.
    if (!chosen || chosen->empty() || chosen->size() >= size_t(maxLength)) return 0;
    copyText(*chosen, path, maxLength);
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

const ps::ADMDialogSuite5 kDialogSuite = {
    .Create = [](ps::SPPluginRef, const char* name, int32_t style, ps::ADMUserData data) {
        return manager() ? refOf(manager()->createDialog(name, style, data)) : nullptr;
    },
    .Destroy = [](ps::ADMDialogRef d) { if (Dialog* x = dialogOf(d)) manager()->destroyDialog(x); },
    .SetUserData = [](ps::ADMDialogRef d, ps::ADMUserData v) { if (Dialog* x = dialogOf(d)) x->userData = v; },
    .GetUserData = [](ps::ADMDialogRef d) { Dialog* x = dialogOf(d); return x ? x->userData : nullptr; },
    .SetNotifyProc = [](ps::ADMDialogRef d, ps::ADMDialogNotifyProc p) { if (Dialog* x = dialogOf(d)) x->notifyProc = p; },
    .SetDestroyProc = [](ps::ADMDialogRef d, ps::ADMDialogDestroyProc p) { if (Dialog* x = dialogOf(d)) x->destroyProc = p; },
    .SetTrackProc = [](ps::ADMDialogRef d, ps::ADMDialogTrackProc p) { if (Dialog* x = dialogOf(d)) x->trackProc = p; },
    .SetDrawProc = [](ps::ADMDialogRef d, ps::ADMDialogDrawProc p) { if (Dialog* x = dialogOf(d)) x->drawProc = p; },
    .DefaultNotify = [](ps::ADMDialogRef, ps::ADMNotifierRef n) { if (DialogNotifier* x = notifierOf(n)) manager()->defaultNotify(*x); },
    .DefaultTrack = [](ps::ADMDialogRef, ps::ADMTrackerRef) -> ps::ADMBoolean { return 0; },
    .DefaultDraw = [](ps::ADMDialogRef, ps::ADMDrawerRef r) { if (DialogCanvas* c = canvasOf(r)) manager()->defaultDraw(nullptr, *c); },
    .Modal = [](ps::ADMDialogRef d) { Dialog* x = dialogOf(d); return x ? manager()->runModal(x) : 0; },
    .EndModal = [](ps::ADMDialogRef d, int32_t id) { if (Dialog* x = dialogOf(d)) manager()->endModal(x, id); },
    .SetDefaultItemID = [](ps::ADMDialogRef d, int32_t id) { if (Dialog* x = dialogOf(d)) x->defaultItem = id; },
    .GetDefaultItemID = [](ps::ADMDialogRef d) { Dialog* x = dialogOf(d); return x ? x->defaultItem : 0; },
    .SetCancelItemID = [](ps::ADMDialogRef d, int32_t id) { if (Dialog* x = dialogOf(d)) x->cancelItem = id; },
    .GetCancelItemID = [](ps::ADMDialogRef d) { Dialog* x = dialogOf(d); return x ? x->cancelItem : 0; },
    .SetText = [](ps::ADMDialogRef d, const char* t) { if (Dialog* x = dialogOf(d)) x->title = textOf(t); },
    .Size = [](ps::ADMDialogRef d, int32_t w, int32_t h) {
        if (Dialog* x = dialogOf(d); x && w >= 0 && h >= 0) x->width = w, x->height = h;
    },
    .GetLocalRect = [](ps::ADMDialogRef d, ps::ADMRect* r) {
        if (Dialog* x = dialogOf(d); x && r) *r = {0, 0, x->width, x->height};
    },
    .GetItem = [](ps::ADMDialogRef d, int32_t id) { return manager() ? manager()->findItem(d, id) : nullptr; },
    .Invalidate = [](ps::ADMDialogRef) {},  // nothing is on a screen: every draw is fresh
    .Update = [](ps::ADMDialogRef) {},
};

// Value accessors of the item suite: the setters clamp to the item's range.
void setFloat(ps::ADMItemRef i, double v) { if (DialogItem* x = itemOf(i)) manager()->setValue(*x, v); }
double getFloat(ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->value : 0; }
void setRange(ps::ADMItemRef i, std::optional<double> lo, std::optional<double> hi) {
    if (DialogItem* x = itemOf(i)) manager()->setRange(*x, lo, hi);
}
double getMin(ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->minimum : 0; }
double getMax(ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->maximum : 0; }
int32_t whole(double v) {
    return int32_t(std::llround(std::min(std::max(v, -2147483648.0), 2147483647.0)));
}

const ps::ADMItemSuite5 kItemSuite = {
    .Create = [](ps::ADMDialogRef d, int32_t id, const char* type, const ps::ADMRect* b, ps::ADMUserData data) {
        Dialog* x = dialogOf(d);
        return x ? refOf(manager()->createItem(x, id, type, b, data)) : nullptr;
    },
    .Destroy = [](ps::ADMItemRef i) { if (DialogItem* x = itemOf(i)) manager()->destroyItem(x); },
    .GetDialog = [](ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? refOf(x->dialog) : nullptr; },
    .GetID = [](ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->id : 0; },
    .GetItemType = [](ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->type.c_str() : ""; },
    .SetUserData = [](ps::ADMItemRef i, ps::ADMUserData v) { if (DialogItem* x = itemOf(i)) x->userData = v; },
    .GetUserData = [](ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->userData : nullptr; },
    .SetNotifyProc = [](ps::ADMItemRef i, ps::ADMItemNotifyProc p) { if (DialogItem* x = itemOf(i)) x->notifyProc = p; },
    .SetDestroyProc = [](ps::ADMItemRef i, ps::ADMItemDestroyProc p) { if (DialogItem* x = itemOf(i)) x->destroyProc = p; },
    .SetTrackProc = [](ps::ADMItemRef i, ps::ADMItemTrackProc p) { if (DialogItem* x = itemOf(i)) x->trackProc = p; },
    .SetDrawProc = [](ps::ADMItemRef i, ps::ADMItemDrawProc p) { if (DialogItem* x = itemOf(i)) x->drawProc = p; },
    .DefaultNotify = [](ps::ADMItemRef, ps::ADMNotifierRef n) { if (DialogNotifier* x = notifierOf(n)) manager()->defaultNotify(*x); },
    .DefaultTrack = [](ps::ADMItemRef, ps::ADMTrackerRef) -> ps::ADMBoolean { return 0; },
    .DefaultDraw = [](ps::ADMItemRef i, ps::ADMDrawerRef r) {
        if (DialogCanvas* c = canvasOf(r)) manager()->defaultDraw(itemOf(i), *c);
    },
    .SetBoundsRect = [](ps::ADMItemRef i, const ps::ADMRect* b) { if (DialogItem* x = itemOf(i); x && b) x->bounds = *b; },
    .GetBoundsRect = [](ps::ADMItemRef i, ps::ADMRect* b) {
        if (!b) return;
        DialogItem* x = itemOf(i);
        *b = x ? x->bounds : ps::ADMRect{};
    },
    .Show = [](ps::ADMItemRef i, ps::ADMBoolean v) { if (DialogItem* x = itemOf(i)) x->visible = v != 0; },
    .IsVisible = [](ps::ADMItemRef i) -> ps::ADMBoolean { DialogItem* x = itemOf(i); return x && x->visible; },
    .Enable = [](ps::ADMItemRef i, ps::ADMBoolean v) { if (DialogItem* x = itemOf(i)) x->enabled = v != 0; },
    .IsEnabled = [](ps::ADMItemRef i) -> ps::ADMBoolean { DialogItem* x = itemOf(i); return x && x->enabled; },
    .SetText = [](ps::ADMItemRef i, const char* t) { if (DialogItem* x = itemOf(i)) x->text = textOf(t); },
    .GetText = [](ps::ADMItemRef i, char* t, int32_t n) { DialogItem* x = itemOf(i); return copyText(x ? x->text : "", t, n); },
    .SetBooleanValue = [](ps::ADMItemRef i, ps::ADMBoolean v) { setFloat(i, v ? 1 : 0); },
    .GetBooleanValue = [](ps::ADMItemRef i) -> ps::ADMBoolean { return getFloat(i) != 0; },
    .SetIntValue = [](ps::ADMItemRef i, int32_t v) { setFloat(i, v); },
    .GetIntValue = [](ps::ADMItemRef i) { return whole(getFloat(i)); },
    .SetFloatValue = [](ps::ADMItemRef i, float v) { setFloat(i, v); },
    .GetFloatValue = [](ps::ADMItemRef i) { return float(getFloat(i)); },
    .SetMinIntValue = [](ps::ADMItemRef i, int32_t v) { setRange(i, v, std::nullopt); },
    .GetMinIntValue = [](ps::ADMItemRef i) { return whole(getMin(i)); },
    .SetMaxIntValue = [](ps::ADMItemRef i, int32_t v) { setRange(i, std::nullopt, v); },
    .GetMaxIntValue = [](ps::ADMItemRef i) { return whole(getMax(i)); },
    .SetMinFloatValue = [](ps::ADMItemRef i, float v) { setRange(i, v, std::nullopt); },
    .GetMinFloatValue = [](ps::ADMItemRef i) { return float(getMin(i)); },
    .SetMaxFloatValue = [](ps::ADMItemRef i, float v) { setRange(i, std::nullopt, v); },
    .GetMaxFloatValue = [](ps::ADMItemRef i) { return float(getMax(i)); },
    .SetUnits = [](ps::ADMItemRef i, int32_t u) {
        // Only the units an edit can show; anything else leaves the setting as it was.
        if (DialogItem* x = itemOf(i); x && (u == ps::kADMNoUnits || u == ps::kADMPercentUnits || u == ps::kADMDegreesUnits))
            x->units = u;
    },
    .GetUnits = [](ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->units : ps::kADMNoUnits; },
    .SetCursorID = [](ps::ADMItemRef i, int32_t c) { if (DialogItem* x = itemOf(i)) x->cursor = c; },
    .GetCursorID = [](ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->cursor : 0; },
    .Invalidate = [](ps::ADMItemRef) {},
    .Update = [](ps::ADMItemRef) {},
    .GetList = [](ps::ADMItemRef i) {
        DialogItem* x = itemOf(i);
        return x && x->hasEntries() ? reinterpret_cast<ps::ADMListRef>(x) : nullptr;
    },
};

const ps::ADMNotifierSuite2 kNotifierSuite = {
    .GetItem = [](ps::ADMNotifierRef n) { DialogNotifier* x = notifierOf(n); return x ? refOf(x->item) : nullptr; },
    .GetDialog = [](ps::ADMNotifierRef n) { DialogNotifier* x = notifierOf(n); return x ? refOf(x->dialog) : nullptr; },
    .IsNotifierType = [](ps::ADMNotifierRef n, const char* t) -> ps::ADMBoolean {
        DialogNotifier* x = notifierOf(n);
        return x && t && x->type == t;
    },
    .GetNotifierType = [](ps::ADMNotifierRef n, char* t, int32_t len) {
        DialogNotifier* x = notifierOf(n);
        copyText(x ? x->type : "", t, len);
    },
};

const ps::ADMTrackerSuite1 kTrackerSuite = {
    .GetPoint = [](ps::ADMTrackerRef t, ps::ADMPoint* p) {
        if (!p) return;
        DialogTracker* x = trackerOf(t);
        *p = x ? x->point : ps::ADMPoint{};
    },
    .GetAction = [](ps::ADMTrackerRef t) { DialogTracker* x = trackerOf(t); return x ? x->action : 0; },
    .GetModifiers = [](ps::ADMTrackerRef t) { DialogTracker* x = trackerOf(t); return x ? x->modifiers : 0; },
    .Abort = [](ps::ADMTrackerRef t) { if (DialogTracker* x = trackerOf(t)) manager()->abortTracking(x); },
};

ps::ADMEntryRef entryAt(DialogItem* list, int32_t index) {
    return list && index >= 0 && size_t(index) < list->entries.size() ? refOf(list->entries[size_t(index)].get())
                                                                       : nullptr;
}

int32_t indexOf(ps::ADMEntryRef e) {
    DialogEntry* x = entryOf(e);
    if (!x) return -1;
    for (size_t n = 0; n < x->item->entries.size(); ++n)
        if (x->item->entries[n].get() == x) return int32_t(n);
    return -1;
}

ps::ADMListRef listOfEntry(ps::ADMEntryRef e) {
    DialogEntry* x = entryOf(e);
    return x ? reinterpret_cast<ps::ADMListRef>(x->item) : nullptr;
}

void selectEntry(ps::ADMEntryRef e, ps::ADMBoolean v) { if (DialogEntry* x = entryOf(e)) manager()->selectEntry(x, v != 0); }
ps::ADMBoolean isSelected(ps::ADMEntryRef e) { DialogEntry* x = entryOf(e); return x && x->selected; }
void setEntryText(ps::ADMEntryRef e, const char* t) { if (DialogEntry* x = entryOf(e)) x->text = textOf(t); }
int32_t getEntryText(ps::ADMEntryRef e, char* t, int32_t n) { DialogEntry* x = entryOf(e); return copyText(x ? x->text : "", t, n); }

const ps::ADMListSuite2 kListSuite = {
    .InsertEntry = [](ps::ADMListRef l, int32_t index) {
        DialogItem* x = listOf(l);
        return x ? refOf(manager()->insertEntry(x, index)) : nullptr;
    },
    .RemoveEntry = [](ps::ADMListRef l, int32_t index) {
        if (ps::ADMEntryRef e = entryAt(listOf(l), index)) manager()->removeEntry(entryOf(e));
    },
    .IndexEntry = [](ps::ADMListRef l, int32_t index) { return entryAt(listOf(l), index); },
    .FindEntry = [](ps::ADMListRef l, const char* t) -> ps::ADMEntryRef {
        if (DialogItem* x = listOf(l); x && t)
            for (const auto& e : x->entries)
                if (e->text == t) return refOf(e.get());
        return nullptr;
    },
    .NumberOfEntries = [](ps::ADMListRef l) { DialogItem* x = listOf(l); return x ? int32_t(x->entries.size()) : 0; },
    .GetActiveEntry = [](ps::ADMListRef l) -> ps::ADMEntryRef {
        if (DialogItem* x = listOf(l))
            for (const auto& e : x->entries)
                if (e->selected) return refOf(e.get());
        return nullptr;
    },
    .GetItem = [](ps::ADMListRef l) { return refOf(listOf(l)); },
};

const ps::ADMEntrySuite4 kEntrySuite = {
    .Create = [](ps::ADMListRef l) { DialogItem* x = listOf(l); return x ? refOf(manager()->insertEntry(x, -1)) : nullptr; },
    .Destroy = [](ps::ADMEntryRef e) { if (DialogEntry* x = entryOf(e)) manager()->removeEntry(x); },
    .GetIndex = indexOf,
    .GetList = listOfEntry,
    .SetID = [](ps::ADMEntryRef e, int32_t id) { if (DialogEntry* x = entryOf(e)) x->id = id; },
    .GetID = [](ps::ADMEntryRef e) { DialogEntry* x = entryOf(e); return x ? x->id : 0; },
    .SetUserData = [](ps::ADMEntryRef e, ps::ADMUserData v) { if (DialogEntry* x = entryOf(e)) x->userData = v; },
    .GetUserData = [](ps::ADMEntryRef e) { DialogEntry* x = entryOf(e); return x ? x->userData : nullptr; },
    .Select = selectEntry,
    .IsSelected = isSelected,
    .SetText = setEntryText,
    .GetText = getEntryText,
    .Enable = [](ps::ADMEntryRef e, ps::ADMBoolean v) { if (DialogEntry* x = entryOf(e)) x->enabled = v != 0; },
    .IsEnabled = [](ps::ADMEntryRef e) -> ps::ADMBoolean { DialogEntry* x = entryOf(e); return x && x->enabled; },
};

const ps::ADMListEntrySuite2 kListEntrySuite = {
    .GetIndex = indexOf,
    .GetList = listOfEntry,
    .Select = selectEntry,
    .IsSelected = isSelected,
    .SetText = setEntryText,
    .GetText = getEntryText,
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

struct SuiteTable {
    const char* name;
    int32_t version;
    const void* table;
};

const SuiteTable kSuites[] = {
    {ps::kADMBasicSuite, ps::kADMBasicSuiteVersion, &kBasicSuite},
    {ps::kADMDialogSuite, ps::kADMDialogSuiteVersion, &kDialogSuite},
    {ps::kADMItemSuite, ps::kADMItemSuiteVersion, &kItemSuite},
    {ps::kADMNotifierSuite, ps::kADMNotifierSuiteVersion, &kNotifierSuite},
    {ps::kADMTrackerSuite, ps::kADMTrackerSuiteVersion, &kTrackerSuite},
    {ps::kADMEntrySuite, ps::kADMEntrySuiteVersion, &kEntrySuite},
    {ps::kADMListSuite, ps::kADMListSuiteVersion, &kListSuite},
    {ps::kADMListEntrySuite, ps::kADMListEntrySuiteVersion, &kListEntrySuite},
    {ps::kADMDrawerSuite, ps::kADMDrawerSuiteVersion, &kDrawerSuite},
    {ps::kADMImageSuite, ps::kADMImageSuiteVersion, &kImageSuite},
};

}  // namespace

const void* DialogManager::suite(const std::string& name, int32_t version) {
    for (const SuiteTable& s : kSuites)
        if (name == s.name && version == s.version) return s.table;
    return nullptr;
}

}  // namespace editor
