#include "ui/adm/list.h"

#include "ui/adm/adm_host.h"
#include "ui/adm/read_text.h"

namespace ADM {

ps::int32 List::addEntry(const char* text) {
    const AdmSuites& s = AdmHost::currentSuites();
    if (!list_ || !s.list || !s.entry) return -1;
    const ps::ADMEntryRef entry = s.list->InsertEntry(list_, s.list->NumberOfEntries(list_));
    if (!entry) return -1;
    s.entry->SetText(entry, text ? text : "");
    return s.entry->GetIndex(entry);
}

void List::removeEntry(ps::int32 index) {
    const AdmSuites& s = AdmHost::currentSuites();
    if (list_ && s.list) s.list->RemoveEntry(list_, index);
}

ps::int32 List::entryCount() const {
    const AdmSuites& s = AdmHost::currentSuites();
    return list_ && s.list ? s.list->NumberOfEntries(list_) : 0;
}

std::string List::entryText(ps::int32 index) const {
    const AdmSuites& s = AdmHost::currentSuites();
    if (!list_ || !s.list || !s.entry) return {};
    const ps::ADMEntryRef entry = s.list->IndexEntry(list_, index);
    if (!entry) return {};
    return readText([&](char* text, ps::int32 maxLength) { return s.entry->GetText(entry, text, maxLength); });
}

void List::selectEntry(ps::int32 index) {
    const AdmSuites& s = AdmHost::currentSuites();
    if (!list_ || !s.list || !s.entry) return;
    if (const ps::ADMEntryRef entry = s.list->IndexEntry(list_, index)) s.entry->Select(entry, 1);
}

ps::int32 List::selectedIndex() const {
    const AdmSuites& s = AdmHost::currentSuites();
    if (!list_ || !s.list || !s.entry) return -1;
    const ps::ADMEntryRef entry = s.list->GetActiveEntry(list_);
    return entry ? s.entry->GetIndex(entry) : -1;
}

}  // namespace ADM
