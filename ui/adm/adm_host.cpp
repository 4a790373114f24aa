#include "ui/adm/adm_host.h"

AdmHost* AdmHost::current_ = nullptr;

namespace {

// One suite of the set: its name, version and where its table goes.
struct SuiteSlot {
    const char* name;
    ps::int32 version;
    const void** table;
};

void forEachSlot(AdmSuites& s, void (*action)(const SuiteSlot&, const ps::SPBasicSuite*), const ps::SPBasicSuite* basic) {
    const SuiteSlot slots[] = {
        {ps::kADMBasicSuite, ps::kADMBasicSuiteVersion, reinterpret_cast<const void**>(&s.basic)},
        {ps::kADMDialogSuite, ps::kADMDialogSuiteVersion, reinterpret_cast<const void**>(&s.dialog)},
        {ps::kADMItemSuite, ps::kADMItemSuiteVersion, reinterpret_cast<const void**>(&s.item)},
        {ps::kADMNotifierSuite, ps::kADMNotifierSuiteVersion, reinterpret_cast<const void**>(&s.notifier)},
        {ps::kADMTrackerSuite, ps::kADMTrackerSuiteVersion, reinterpret_cast<const void**>(&s.tracker)},
        {ps::kADMEntrySuite, ps::kADMEntrySuiteVersion, reinterpret_cast<const void**>(&s.entry)},
        {ps::kADMListSuite, ps::kADMListSuiteVersion, reinterpret_cast<const void**>(&s.list)},
        {ps::kADMListEntrySuite, ps::kADMListEntrySuiteVersion, reinterpret_cast<const void**>(&s.listEntry)},
        {ps::kADMDrawerSuite, ps::kADMDrawerSuiteVersion, reinterpret_cast<const void**>(&s.drawer)},
        {ps::kADMImageSuite, ps::kADMImageSuiteVersion, reinterpret_cast<const void**>(&s.image)},
    };
    for (const SuiteSlot& slot : slots) action(slot, basic);
}

void acquireOne(const SuiteSlot& slot, const ps::SPBasicSuite* basic) {
    const void* table = nullptr;
    if (basic->AcquireSuite(slot.name, slot.version, &table) != ps::kSPNoError) table = nullptr;
    *slot.table = table;
}

// Only what was acquired is released, each exactly once.
void releaseOne(const SuiteSlot& slot, const ps::SPBasicSuite* basic) {
    if (!*slot.table) return;
    basic->ReleaseSuite(slot.name, slot.version);
    *slot.table = nullptr;
}

}  // namespace

AdmHost::AdmHost(const ps::SPBasicSuite* basicSuite, ps::SPPluginRef pluginRef)
    : basicSuite_(basicSuite), pluginRef_(pluginRef) {
    if (basicSuite_ && basicSuite_->AcquireSuite && basicSuite_->ReleaseSuite)
        forEachSlot(suites_, acquireOne, basicSuite_);
    const AdmSuites* builtIn = builtInSuites();
    if (builtIn && !(suites_.basic && suites_.dialog && suites_.item)) {
        releaseHostSuites();
        suites_ = *builtIn;
        builtIn_ = true;
    }
    current_ = this;
}

AdmHost::~AdmHost() {
    if (!builtIn_) releaseHostSuites();
    if (current_ == this) current_ = nullptr;
}

void AdmHost::releaseHostSuites() {
    if (basicSuite_ && basicSuite_->AcquireSuite && basicSuite_->ReleaseSuite)
        forEachSlot(suites_, releaseOne, basicSuite_);
}

const AdmSuites& AdmHost::currentSuites() {
    static const AdmSuites none;
    return current_ ? current_->suites_ : none;
}
