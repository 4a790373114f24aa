#include "host/plugin_call.h"

PluginCall::PluginCall(Effect* effect, ps::FilterRecord* record, intptr_t* data, int16_t* result,
                       const EntryPoint& entry)
    : effect_(effect), record_(record), data_(data), result_(result), entry_(&entry) {
    setResult(0);
}

PluginCall::PluginCall(Effect* effect, ps::AboutRecord* about, intptr_t* data, int16_t* result,
                       const EntryPoint& entry)
    : effect_(effect), about_(about), data_(data), result_(result), entry_(&entry) {
    setResult(0);
}

const ps::SPBasicSuite* PluginCall::basicSuite() const {
    if (record_) return record_->sSPBasic;
    if (about_) return about_->sSPBasic;
    return nullptr;
}

void* PluginCall::plugInRef() const {
    if (record_) return record_->plugInRef;
    if (about_) return about_->plugInRef;
    return nullptr;
}
