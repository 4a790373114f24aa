// The C suite tables of the dialog model: dialogs, items, notifiers, trackers and pop-up
// entries. Each call finds the live object behind its reference through the current model;
// a null or dead reference does nothing and answers 0, null or false, so a caller holding a
// stale reference cannot corrupt the dialog manager.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <optional>

#include "dialogmodel/dialog_model.h"

namespace dialogmodel {

namespace {

DialogModel* model() { return DialogModel::currentModel(); }
Dialog* dialogOf(ps::ADMDialogRef ref) { return model() ? model()->dialog(ref) : nullptr; }
DialogItem* itemOf(ps::ADMItemRef ref) { return model() ? model()->item(ref) : nullptr; }
DialogItem* listOf(ps::ADMListRef ref) {
    DialogItem* item = model() ? model()->item(ref) : nullptr;
    return item && item->hasEntries() ? item : nullptr;
}
DialogEntry* entryOf(ps::ADMEntryRef ref) { return model() ? model()->entry(ref) : nullptr; }
DialogNotifier* notifierOf(ps::ADMNotifierRef ref) { return model() ? model()->notifier(ref) : nullptr; }
DialogTracker* trackerOf(ps::ADMTrackerRef ref) { return model() ? model()->tracker(ref) : nullptr; }

ps::ADMDialogRef refOf(Dialog* d) { return reinterpret_cast<ps::ADMDialogRef>(d); }
ps::ADMItemRef refOf(DialogItem* i) { return reinterpret_cast<ps::ADMItemRef>(i); }
ps::ADMEntryRef refOf(DialogEntry* e) { return reinterpret_cast<ps::ADMEntryRef>(e); }

std::string textOf(const char* text) { return text ? text : ""; }

// Changes an item's model, then lets the manager show it.
template <typename F>
void changeItem(ps::ADMItemRef ref, F change) {
    if (DialogItem* item = itemOf(ref)) {
        change(*item);
        model()->itemChanged(*item);
    }
}

const ps::ADMDialogSuite5 kDialogSuite = {
    .Create = [](ps::SPPluginRef, const char* name, int32_t style, ps::ADMUserData data) {
        return model() ? refOf(model()->createDialog(name, style, data)) : nullptr;
    },
    .Destroy = [](ps::ADMDialogRef d) { if (Dialog* x = dialogOf(d)) model()->destroyDialog(x); },
    .SetUserData = [](ps::ADMDialogRef d, ps::ADMUserData v) { if (Dialog* x = dialogOf(d)) x->userData = v; },
    .GetUserData = [](ps::ADMDialogRef d) { Dialog* x = dialogOf(d); return x ? x->userData : nullptr; },
    .SetNotifyProc = [](ps::ADMDialogRef d, ps::ADMDialogNotifyProc p) { if (Dialog* x = dialogOf(d)) x->notifyProc = p; },
    .SetDestroyProc = [](ps::ADMDialogRef d, ps::ADMDialogDestroyProc p) { if (Dialog* x = dialogOf(d)) x->destroyProc = p; },
    .SetTrackProc = [](ps::ADMDialogRef d, ps::ADMDialogTrackProc p) { if (Dialog* x = dialogOf(d)) x->trackProc = p; },
    .SetDrawProc = [](ps::ADMDialogRef d, ps::ADMDialogDrawProc p) { if (Dialog* x = dialogOf(d)) x->drawProc = p; },
    .DefaultNotify = [](ps::ADMDialogRef, ps::ADMNotifierRef n) { if (DialogNotifier* x = notifierOf(n)) model()->defaultNotify(*x); },
    .DefaultTrack = [](ps::ADMDialogRef, ps::ADMTrackerRef) -> ps::ADMBoolean { return 0; },
    .DefaultDraw = [](ps::ADMDialogRef d, ps::ADMDrawerRef r) { if (dialogOf(d)) model()->defaultDraw(nullptr, r); },
    .Modal = [](ps::ADMDialogRef d) { Dialog* x = dialogOf(d); return x ? model()->runModal(x) : 0; },
    .EndModal = [](ps::ADMDialogRef d, int32_t id) { if (Dialog* x = dialogOf(d)) model()->endModal(x, id); },
    .SetDefaultItemID = [](ps::ADMDialogRef d, int32_t id) { if (Dialog* x = dialogOf(d)) x->defaultItem = id; },
    .GetDefaultItemID = [](ps::ADMDialogRef d) { Dialog* x = dialogOf(d); return x ? x->defaultItem : 0; },
    .SetCancelItemID = [](ps::ADMDialogRef d, int32_t id) { if (Dialog* x = dialogOf(d)) x->cancelItem = id; },
    .GetCancelItemID = [](ps::ADMDialogRef d) { Dialog* x = dialogOf(d); return x ? x->cancelItem : 0; },
    .SetText = [](ps::ADMDialogRef d, const char* t) {
        if (Dialog* x = dialogOf(d)) {
            x->title = textOf(t);
            model()->dialogRetitled(*x);
        }
    },
    .Size = [](ps::ADMDialogRef d, int32_t w, int32_t h) {
        if (Dialog* x = dialogOf(d); x && w >= 0 && h >= 0) x->width = w, x->height = h;
    },
    .GetLocalRect = [](ps::ADMDialogRef d, ps::ADMRect* r) {
        if (Dialog* x = dialogOf(d); x && r) *r = {0, 0, x->width, x->height};
    },
    .GetItem = [](ps::ADMDialogRef d, int32_t id) { return model() ? model()->findItem(d, id) : nullptr; },
    .Invalidate = [](ps::ADMDialogRef d) { if (Dialog* x = dialogOf(d)) model()->invalidate(*x); },
    .Update = [](ps::ADMDialogRef d) { if (Dialog* x = dialogOf(d)) model()->update(*x); },
};

// Value accessors of the item suite: the setters clamp to the item's range.
void setFloat(ps::ADMItemRef i, double v) { changeItem(i, [v](DialogItem& x) { model()->setValue(x, v); }); }
double getFloat(ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->value : 0; }
void setRange(ps::ADMItemRef i, std::optional<double> lo, std::optional<double> hi) {
    changeItem(i, [&](DialogItem& x) { model()->setRange(x, lo, hi); });
}
double getMin(ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->minimum : 0; }
double getMax(ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->maximum : 0; }
int32_t whole(double v) {
    return int32_t(std::llround(std::min(std::max(v, -2147483648.0), 2147483647.0)));
}

const ps::ADMItemSuite5 kItemSuite = {
    .Create = [](ps::ADMDialogRef d, int32_t id, const char* type, const ps::ADMRect* b, ps::ADMUserData data) {
        Dialog* x = dialogOf(d);
        return x ? refOf(model()->createItem(x, id, type, b, data)) : nullptr;
    },
    .Destroy = [](ps::ADMItemRef i) { if (DialogItem* x = itemOf(i)) model()->destroyItem(x); },
    .GetDialog = [](ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? refOf(x->dialog) : nullptr; },
    .GetID = [](ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->id : 0; },
    .GetItemType = [](ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->type.c_str() : ""; },
    .SetUserData = [](ps::ADMItemRef i, ps::ADMUserData v) { if (DialogItem* x = itemOf(i)) x->userData = v; },
    .GetUserData = [](ps::ADMItemRef i) { DialogItem* x = itemOf(i); return x ? x->userData : nullptr; },
    .SetNotifyProc = [](ps::ADMItemRef i, ps::ADMItemNotifyProc p) { if (DialogItem* x = itemOf(i)) x->notifyProc = p; },
    .SetDestroyProc = [](ps::ADMItemRef i, ps::ADMItemDestroyProc p) { if (DialogItem* x = itemOf(i)) x->destroyProc = p; },
    .SetTrackProc = [](ps::ADMItemRef i, ps::ADMItemTrackProc p) { if (DialogItem* x = itemOf(i)) x->trackProc = p; },
    .SetDrawProc = [](ps::ADMItemRef i, ps::ADMItemDrawProc p) { if (DialogItem* x = itemOf(i)) x->drawProc = p; },
    .DefaultNotify = [](ps::ADMItemRef, ps::ADMNotifierRef n) { if (DialogNotifier* x = notifierOf(n)) model()->defaultNotify(*x); },
    .DefaultTrack = [](ps::ADMItemRef, ps::ADMTrackerRef) -> ps::ADMBoolean { return 0; },
    .DefaultDraw = [](ps::ADMItemRef i, ps::ADMDrawerRef r) {
        if (DialogItem* x = itemOf(i)) model()->defaultDraw(x, r);
    },
    .SetBoundsRect = [](ps::ADMItemRef i, const ps::ADMRect* b) {
        if (DialogItem* x = itemOf(i); x && b) {
            x->bounds = *b;
            model()->itemMoved(*x);
        }
    },
    .GetBoundsRect = [](ps::ADMItemRef i, ps::ADMRect* b) {
        if (!b) return;
        DialogItem* x = itemOf(i);
        *b = x ? x->bounds : ps::ADMRect{};
    },
    .Show = [](ps::ADMItemRef i, ps::ADMBoolean v) { changeItem(i, [v](DialogItem& x) { x.visible = v != 0; }); },
    .IsVisible = [](ps::ADMItemRef i) -> ps::ADMBoolean { DialogItem* x = itemOf(i); return x && x->visible; },
    .Enable = [](ps::ADMItemRef i, ps::ADMBoolean v) { changeItem(i, [v](DialogItem& x) { x.enabled = v != 0; }); },
    .IsEnabled = [](ps::ADMItemRef i) -> ps::ADMBoolean { DialogItem* x = itemOf(i); return x && x->enabled; },
    .SetText = [](ps::ADMItemRef i, const char* t) { changeItem(i, [t](DialogItem& x) { x.text = textOf(t); }); },
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
    .Invalidate = [](ps::ADMItemRef i) { if (DialogItem* x = itemOf(i)) model()->invalidate(*x); },
    .Update = [](ps::ADMItemRef i) { if (DialogItem* x = itemOf(i)) model()->update(*x); },
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
    .Abort = [](ps::ADMTrackerRef t) { if (DialogTracker* x = trackerOf(t)) model()->abortTracking(x); },
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

void selectEntry(ps::ADMEntryRef e, ps::ADMBoolean v) { if (DialogEntry* x = entryOf(e)) model()->selectEntry(x, v != 0); }
ps::ADMBoolean isSelected(ps::ADMEntryRef e) { DialogEntry* x = entryOf(e); return x && x->selected; }
void setEntryText(ps::ADMEntryRef e, const char* t) {
    if (DialogEntry* x = entryOf(e)) {
        x->text = textOf(t);
        model()->itemChanged(*x->item);
    }
}
int32_t getEntryText(ps::ADMEntryRef e, char* t, int32_t n) { DialogEntry* x = entryOf(e); return copyText(x ? x->text : "", t, n); }

const ps::ADMListSuite2 kListSuite = {
    .InsertEntry = [](ps::ADMListRef l, int32_t index) {
        DialogItem* x = listOf(l);
        return x ? refOf(model()->insertEntry(x, index)) : nullptr;
    },
    .RemoveEntry = [](ps::ADMListRef l, int32_t index) {
        if (ps::ADMEntryRef e = entryAt(listOf(l), index)) model()->removeEntry(entryOf(e));
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
    .Create = [](ps::ADMListRef l) { DialogItem* x = listOf(l); return x ? refOf(model()->insertEntry(x, -1)) : nullptr; },
    .Destroy = [](ps::ADMEntryRef e) { if (DialogEntry* x = entryOf(e)) model()->removeEntry(x); },
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

const SuiteTable kSuites[] = {
    {ps::kADMDialogSuite, ps::kADMDialogSuiteVersion, &kDialogSuite},
    {ps::kADMItemSuite, ps::kADMItemSuiteVersion, &kItemSuite},
    {ps::kADMNotifierSuite, ps::kADMNotifierSuiteVersion, &kNotifierSuite},
    {ps::kADMTrackerSuite, ps::kADMTrackerSuiteVersion, &kTrackerSuite},
    {ps::kADMEntrySuite, ps::kADMEntrySuiteVersion, &kEntrySuite},
    {ps::kADMListSuite, ps::kADMListSuiteVersion, &kListSuite},
    {ps::kADMListEntrySuite, ps::kADMListEntrySuiteVersion, &kListEntrySuite},
};

}  // namespace

int32_t copyText(const std::string& text, char* out, int32_t maxLength) {
    if (out && maxLength > 0) {
        const size_t n = std::min(text.size(), size_t(maxLength - 1));
        std::memcpy(out, text.data(), n);
        out[n] = 0;
    }
    return int32_t(text.size());
}

const void* findSuite(const SuiteTable* tables, size_t count, const std::string& name, int32_t version) {
    for (size_t n = 0; n < count; ++n)
        if (name == tables[n].name && version == tables[n].version) return tables[n].table;
    return nullptr;
}

const void* DialogModel::modelSuite(const std::string& name, int32_t version) {
    return findSuite(kSuites, std::size(kSuites), name, version);
}

}  // namespace dialogmodel
