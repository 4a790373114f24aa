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
Dialog* dialogOf(ps::ADMDialogRef ref) { return manager().dialog(ref); }
Item* itemOf(ps::ADMItemRef ref) { return manager().item(ref); }
Item* listOf(ps::ADMListRef ref) {
    Item* item = manager().item(ref);
    return item && item->hasEntries() ? item : nullptr;
}
Entry* entryOf(ps::ADMEntryRef ref) { return manager().entry(ref); }
Notifier* notifierOf(ps::ADMNotifierRef ref) { return manager().notifier(ref); }
Tracker* trackerOf(ps::ADMTrackerRef ref) { return manager().tracker(ref); }
Drawer* drawerOf(ps::ADMDrawerRef ref) { return manager().drawer(ref); }
Picture* pictureOf(ps::ADMImageRef ref) { return manager().picture(ref); }

ps::ADMDialogRef refOf(Dialog* d) { return reinterpret_cast<ps::ADMDialogRef>(d); }
ps::ADMItemRef refOf(Item* i) { return reinterpret_cast<ps::ADMItemRef>(i); }
ps::ADMEntryRef refOf(Entry* e) { return reinterpret_cast<ps::ADMEntryRef>(e); }

// Copies as much of the text as fits with its NUL; answers the full length.
ps::int32 copyText(const std::string& text, char* out, ps::int32 maxLength) {
    if (out && maxLength > 0) {
        const size_t n = std::min(text.size(), size_t(maxLength - 1));
        std::memcpy(out, text.data(), n);
        out[n] = 0;
    }
    return ps::int32(text.size());
}

std::string textOf(const char* text) { return text ? text : ""; }

// Updates an item's model, then shows it.
template <typename F>
void changeItem(ps::ADMItemRef ref, F change) {
    if (Item* item = itemOf(ref)) {
        change(*item);
        manager().changed(*item);
    }
}

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

const ps::ADMDialogSuite5 kDialogSuite = {
    .Create = [](ps::SPPluginRef, const char* name, ps::int32 style, ps::ADMUserData data) {
        return refOf(manager().createDialog(name, style, data));
    },
    .Destroy = [](ps::ADMDialogRef d) { if (Dialog* x = dialogOf(d)) manager().destroyDialog(x); },
    .SetUserData = [](ps::ADMDialogRef d, ps::ADMUserData v) { if (Dialog* x = dialogOf(d)) x->userData = v; },
    .GetUserData = [](ps::ADMDialogRef d) { Dialog* x = dialogOf(d); return x ? x->userData : nullptr; },
    .SetNotifyProc = [](ps::ADMDialogRef d, ps::ADMDialogNotifyProc p) { if (Dialog* x = dialogOf(d)) x->notifyProc = p; },
    .SetDestroyProc = [](ps::ADMDialogRef d, ps::ADMDialogDestroyProc p) { if (Dialog* x = dialogOf(d)) x->destroyProc = p; },
    .SetTrackProc = [](ps::ADMDialogRef d, ps::ADMDialogTrackProc p) { if (Dialog* x = dialogOf(d)) x->trackProc = p; },
    .SetDrawProc = [](ps::ADMDialogRef d, ps::ADMDialogDrawProc p) { if (Dialog* x = dialogOf(d)) x->drawProc = p; },
    .DefaultNotify = [](ps::ADMDialogRef, ps::ADMNotifierRef n) { if (Notifier* x = notifierOf(n)) manager().defaultNotify(*x); },
    .DefaultTrack = [](ps::ADMDialogRef, ps::ADMTrackerRef) -> ps::ADMBoolean { return 0; },
    .DefaultDraw = [](ps::ADMDialogRef, ps::ADMDrawerRef) {},  // the window class paints the face
    .Modal = [](ps::ADMDialogRef d) { Dialog* x = dialogOf(d); return x ? manager().runModal(x) : 0; },
    .EndModal = [](ps::ADMDialogRef d, ps::int32 id) { if (Dialog* x = dialogOf(d)) manager().endModal(x, id); },
    .SetDefaultItemID = [](ps::ADMDialogRef d, ps::int32 id) { if (Dialog* x = dialogOf(d)) x->defaultItem = id; },
    .GetDefaultItemID = [](ps::ADMDialogRef d) { Dialog* x = dialogOf(d); return x ? x->defaultItem : 0; },
    .SetCancelItemID = [](ps::ADMDialogRef d, ps::int32 id) { if (Dialog* x = dialogOf(d)) x->cancelItem = id; },
    .GetCancelItemID = [](ps::ADMDialogRef d) { Dialog* x = dialogOf(d); return x ? x->cancelItem : 0; },
    .SetText = [](ps::ADMDialogRef d, const char* t) {
        if (Dialog* x = dialogOf(d)) {
            x->title = textOf(t);
            if (x->window) SetWindowTextW(x->window, widened(x->title).c_str());
        }
    },
    .Size = [](ps::ADMDialogRef d, ps::int32 w, ps::int32 h) {
        if (Dialog* x = dialogOf(d); x && w >= 0 && h >= 0) x->width = w, x->height = h;
    },
    .GetLocalRect = [](ps::ADMDialogRef d, ps::ADMRect* r) {
        if (Dialog* x = dialogOf(d); x && r) *r = {0, 0, x->width, x->height};
    },
    .GetItem = [](ps::ADMDialogRef d, ps::int32 id) -> ps::ADMItemRef {
        if (Dialog* x = dialogOf(d))
            for (const auto& item : x->items)
                if (item->id == id) return refOf(item.get());
        return nullptr;
    },
    .Invalidate = [](ps::ADMDialogRef d) { if (Dialog* x = dialogOf(d); x && x->window) InvalidateRect(x->window, nullptr, TRUE); },
    .Update = [](ps::ADMDialogRef d) { if (Dialog* x = dialogOf(d); x && x->window) UpdateWindow(x->window); },
};

double getValue(ps::ADMItemRef i) { Item* x = itemOf(i); return x ? x->value : 0; }
void setValue(ps::ADMItemRef i, double v) { changeItem(i, [v](Item& x) { manager().setValue(x, v); }); }
void setRange(ps::ADMItemRef i, std::optional<double> lo, std::optional<double> hi) {
    changeItem(i, [&](Item& x) { manager().setRange(x, lo, hi); });
}
double getMin(ps::ADMItemRef i) { Item* x = itemOf(i); return x ? x->minimum : 0; }
double getMax(ps::ADMItemRef i) { Item* x = itemOf(i); return x ? x->maximum : 0; }
ps::int32 whole(double v) { return ps::int32(std::llround(std::min(std::max(v, -2147483648.0), 2147483647.0))); }

const ps::ADMItemSuite5 kItemSuite = {
    .Create = [](ps::ADMDialogRef d, ps::int32 id, const char* type, const ps::ADMRect* b, ps::ADMUserData data) {
        Dialog* x = dialogOf(d);
        return x ? refOf(manager().createItem(x, id, type, b, data)) : nullptr;
    },
    .Destroy = [](ps::ADMItemRef i) { if (Item* x = itemOf(i)) manager().destroyItem(x); },
    .GetDialog = [](ps::ADMItemRef i) { Item* x = itemOf(i); return x ? refOf(x->dialog) : nullptr; },
    .GetID = [](ps::ADMItemRef i) { Item* x = itemOf(i); return x ? x->id : 0; },
    .GetItemType = [](ps::ADMItemRef i) { Item* x = itemOf(i); return x ? x->type.c_str() : ""; },
    .SetUserData = [](ps::ADMItemRef i, ps::ADMUserData v) { if (Item* x = itemOf(i)) x->userData = v; },
    .GetUserData = [](ps::ADMItemRef i) { Item* x = itemOf(i); return x ? x->userData : nullptr; },
    .SetNotifyProc = [](ps::ADMItemRef i, ps::ADMItemNotifyProc p) { if (Item* x = itemOf(i)) x->notifyProc = p; },
    .SetDestroyProc = [](ps::ADMItemRef i, ps::ADMItemDestroyProc p) { if (Item* x = itemOf(i)) x->destroyProc = p; },
    .SetTrackProc = [](ps::ADMItemRef i, ps::ADMItemTrackProc p) { if (Item* x = itemOf(i)) x->trackProc = p; },
    .SetDrawProc = [](ps::ADMItemRef i, ps::ADMItemDrawProc p) { if (Item* x = itemOf(i)) x->drawProc = p; },
    .DefaultNotify = [](ps::ADMItemRef, ps::ADMNotifierRef n) { if (Notifier* x = notifierOf(n)) manager().defaultNotify(*x); },
    .DefaultTrack = [](ps::ADMItemRef, ps::ADMTrackerRef) -> ps::ADMBoolean { return 0; },
    .DefaultDraw = [](ps::ADMItemRef i, ps::ADMDrawerRef r) {
        Drawer* drawer = drawerOf(r);
        if (!itemOf(i) || !drawer) return;
        const RECT all{drawer->bounds.left, drawer->bounds.top, drawer->bounds.right, drawer->bounds.bottom};
        FillRect(drawer->dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    },
    .SetBoundsRect = [](ps::ADMItemRef i, const ps::ADMRect* b) {
        if (Item* x = itemOf(i); x && b) {
            x->bounds = *b;
            manager().moved(*x);
        }
    },
    .GetBoundsRect = [](ps::ADMItemRef i, ps::ADMRect* b) {
        if (!b) return;
        Item* x = itemOf(i);
        *b = x ? x->bounds : ps::ADMRect{};
    },
    .Show = [](ps::ADMItemRef i, ps::ADMBoolean v) { changeItem(i, [v](Item& x) { x.visible = v != 0; }); },
    .IsVisible = [](ps::ADMItemRef i) -> ps::ADMBoolean { Item* x = itemOf(i); return x && x->visible; },
    .Enable = [](ps::ADMItemRef i, ps::ADMBoolean v) { changeItem(i, [v](Item& x) { x.enabled = v != 0; }); },
    .IsEnabled = [](ps::ADMItemRef i) -> ps::ADMBoolean { Item* x = itemOf(i); return x && x->enabled; },
    .SetText = [](ps::ADMItemRef i, const char* t) { changeItem(i, [t](Item& x) { x.text = textOf(t); }); },
    .GetText = [](ps::ADMItemRef i, char* t, ps::int32 n) { Item* x = itemOf(i); return copyText(x ? x->text : "", t, n); },
    .SetBooleanValue = [](ps::ADMItemRef i, ps::ADMBoolean v) { setValue(i, v ? 1 : 0); },
    .GetBooleanValue = [](ps::ADMItemRef i) -> ps::ADMBoolean { return getValue(i) != 0; },
    .SetIntValue = [](ps::ADMItemRef i, ps::int32 v) { setValue(i, v); },
    .GetIntValue = [](ps::ADMItemRef i) { return whole(getValue(i)); },
    .SetFloatValue = [](ps::ADMItemRef i, float v) { setValue(i, v); },
    .GetFloatValue = [](ps::ADMItemRef i) { return float(getValue(i)); },
    .SetMinIntValue = [](ps::ADMItemRef i, ps::int32 v) { setRange(i, v, std::nullopt); },
    .GetMinIntValue = [](ps::ADMItemRef i) { return whole(getMin(i)); },
    .SetMaxIntValue = [](ps::ADMItemRef i, ps::int32 v) { setRange(i, std::nullopt, v); },
    .GetMaxIntValue = [](ps::ADMItemRef i) { return whole(getMax(i)); },
    .SetMinFloatValue = [](ps::ADMItemRef i, float v) { setRange(i, v, std::nullopt); },
    .GetMinFloatValue = [](ps::ADMItemRef i) { return float(getMin(i)); },
    .SetMaxFloatValue = [](ps::ADMItemRef i, float v) { setRange(i, std::nullopt, v); },
    .GetMaxFloatValue = [](ps::ADMItemRef i) { return float(getMax(i)); },
    .SetUnits = [](ps::ADMItemRef i, ps::int32 u) {
        // Only the units an edit can show; anything else leaves the setting as it was.
        if (Item* x = itemOf(i); x && (u == ps::kADMNoUnits || u == ps::kADMPercentUnits || u == ps::kADMDegreesUnits))
            x->units = u;
    },
    .GetUnits = [](ps::ADMItemRef i) { Item* x = itemOf(i); return x ? x->units : ps::kADMNoUnits; },
    .SetCursorID = [](ps::ADMItemRef i, ps::int32 c) { if (Item* x = itemOf(i)) x->cursor = c; },
    .GetCursorID = [](ps::ADMItemRef i) { Item* x = itemOf(i); return x ? x->cursor : 0; },
    .Invalidate = [](ps::ADMItemRef i) { if (Item* x = itemOf(i); x && x->window) InvalidateRect(x->window, nullptr, FALSE); },
    .Update = [](ps::ADMItemRef i) { if (Item* x = itemOf(i); x && x->window) UpdateWindow(x->window); },
    .GetList = [](ps::ADMItemRef i) {
        Item* x = itemOf(i);
        return x && x->hasEntries() ? reinterpret_cast<ps::ADMListRef>(x) : nullptr;
    },
};

const ps::ADMNotifierSuite2 kNotifierSuite = {
    .GetItem = [](ps::ADMNotifierRef n) { Notifier* x = notifierOf(n); return x ? refOf(x->item) : nullptr; },
    .GetDialog = [](ps::ADMNotifierRef n) { Notifier* x = notifierOf(n); return x ? refOf(x->dialog) : nullptr; },
    .IsNotifierType = [](ps::ADMNotifierRef n, const char* t) -> ps::ADMBoolean {
        Notifier* x = notifierOf(n);
        return x && t && std::strcmp(x->type, t) == 0;
    },
    .GetNotifierType = [](ps::ADMNotifierRef n, char* t, ps::int32 len) {
        Notifier* x = notifierOf(n);
        copyText(x ? x->type : "", t, len);
    },
};

const ps::ADMTrackerSuite1 kTrackerSuite = {
    .GetPoint = [](ps::ADMTrackerRef t, ps::ADMPoint* p) {
        if (!p) return;
        Tracker* x = trackerOf(t);
        *p = x ? x->point : ps::ADMPoint{};
    },
    .GetAction = [](ps::ADMTrackerRef t) { Tracker* x = trackerOf(t); return x ? x->action : 0; },
    .GetModifiers = [](ps::ADMTrackerRef t) { Tracker* x = trackerOf(t); return x ? x->modifiers : 0; },
    .Abort = [](ps::ADMTrackerRef t) { manager().abortTracking(trackerOf(t)); },
};

ps::ADMEntryRef entryAt(Item* list, ps::int32 index) {
    return list && index >= 0 && size_t(index) < list->entries.size() ? refOf(list->entries[size_t(index)].get()) : nullptr;
}

ps::int32 indexOf(ps::ADMEntryRef e) {
    Entry* x = entryOf(e);
    if (!x) return -1;
    for (size_t n = 0; n < x->item->entries.size(); ++n)
        if (x->item->entries[n].get() == x) return ps::int32(n);
    return -1;
}

ps::ADMListRef listOfEntry(ps::ADMEntryRef e) {
    Entry* x = entryOf(e);
    return x ? reinterpret_cast<ps::ADMListRef>(x->item) : nullptr;
}

void selectEntry(ps::ADMEntryRef e, ps::ADMBoolean v) { manager().selectEntry(entryOf(e), v != 0); }
ps::ADMBoolean isSelected(ps::ADMEntryRef e) { Entry* x = entryOf(e); return x && x->selected; }
void setEntryText(ps::ADMEntryRef e, const char* t) {
    if (Entry* x = entryOf(e)) {
        x->text = textOf(t);
        manager().changed(*x->item);
    }
}
ps::int32 getEntryText(ps::ADMEntryRef e, char* t, ps::int32 n) { Entry* x = entryOf(e); return copyText(x ? x->text : "", t, n); }

const ps::ADMListSuite2 kListSuite = {
    .InsertEntry = [](ps::ADMListRef l, ps::int32 index) { return refOf(manager().insertEntry(listOf(l), index)); },
    .RemoveEntry = [](ps::ADMListRef l, ps::int32 index) { manager().removeEntry(entryOf(entryAt(listOf(l), index))); },
    .IndexEntry = [](ps::ADMListRef l, ps::int32 index) { return entryAt(listOf(l), index); },
    .FindEntry = [](ps::ADMListRef l, const char* t) -> ps::ADMEntryRef {
        if (Item* x = listOf(l); x && t)
            for (const auto& e : x->entries)
                if (e->text == t) return refOf(e.get());
        return nullptr;
    },
    .NumberOfEntries = [](ps::ADMListRef l) { Item* x = listOf(l); return x ? ps::int32(x->entries.size()) : 0; },
    .GetActiveEntry = [](ps::ADMListRef l) -> ps::ADMEntryRef {
        if (Item* x = listOf(l))
            for (const auto& e : x->entries)
                if (e->selected) return refOf(e.get());
        return nullptr;
    },
    .GetItem = [](ps::ADMListRef l) { return refOf(listOf(l)); },
};

const ps::ADMEntrySuite4 kEntrySuite = {
    .Create = [](ps::ADMListRef l) { return refOf(manager().insertEntry(listOf(l), -1)); },
    .Destroy = [](ps::ADMEntryRef e) { manager().removeEntry(entryOf(e)); },
    .GetIndex = indexOf,
    .GetList = listOfEntry,
    .SetID = [](ps::ADMEntryRef e, ps::int32 id) { if (Entry* x = entryOf(e)) x->id = id; },
    .GetID = [](ps::ADMEntryRef e) { Entry* x = entryOf(e); return x ? x->id : 0; },
    .SetUserData = [](ps::ADMEntryRef e, ps::ADMUserData v) { if (Entry* x = entryOf(e)) x->userData = v; },
    .GetUserData = [](ps::ADMEntryRef e) { Entry* x = entryOf(e); return x ? x->userData : nullptr; },
    .Select = selectEntry,
    .IsSelected = isSelected,
    .SetText = setEntryText,
    .GetText = getEntryText,
    .Enable = [](ps::ADMEntryRef e, ps::ADMBoolean v) { if (Entry* x = entryOf(e)) x->enabled = v != 0; },
    .IsEnabled = [](ps::ADMEntryRef e) -> ps::ADMBoolean { Entry* x = entryOf(e); return x && x->enabled; },
};

const ps::ADMListEntrySuite2 kListEntrySuite = {
    .GetIndex = indexOf,
    .GetList = listOfEntry,
    .Select = selectEntry,
    .IsSelected = isSelected,
    .SetText = setEntryText,
    .GetText = getEntryText,
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
    static const AdmSuites suites{&kBasicSuite, &kDialogSuite, &kItemSuite,  &kNotifierSuite, &kTrackerSuite,
                                  &kEntrySuite, &kListSuite,   &kListEntrySuite, &kDrawerSuite, &kImageSuite};
    return suites;
}

}  // namespace win32ui
