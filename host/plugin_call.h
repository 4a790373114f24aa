// One host call of an entry point: the filter record (or the about record at
// selector 0), the private value kept by the host between calls, the result code,
// and the effect bound to the entry.
#pragma once

#include <cstdint>

#include "fx/effect.h"
#include "host/entry_table.h"
#include "sdk/pi_filter.h"

class PluginCall {
public:
    // Selectors 1 to 5 pass a filter record.
    PluginCall(Effect* effect, ps::FilterRecord* record, intptr_t* data, int16_t* result, const EntryPoint& entry);
    // Selector 0 passes an about record, whose layout differs.
    PluginCall(Effect* effect, ps::AboutRecord* about, intptr_t* data, int16_t* result, const EntryPoint& entry);

    ps::FilterRecord* record() const { return record_; }
    ps::AboutRecord* aboutRecord() const { return about_; }
    Effect* effect() const { return effect_; }
    const EntryPoint& entry() const { return *entry_; }
    const char* descriptorKey() const { return entry_->descriptorKey; }
    bool showAbout() const { return entry_->showAbout; }

    const ps::HandleProcs* handleProcs() const { return record_ ? record_->handleProcs : nullptr; }
    ps::Handle privateHandle() const { return data_ ? reinterpret_cast<ps::Handle>(*data_) : nullptr; }
    void setPrivateHandle(ps::Handle handle) {
        if (data_) *data_ = reinterpret_cast<intptr_t>(handle);
    }
    void setResult(int16_t code) {
        if (result_) *result_ = code;
    }
    int16_t resultCode() const { return result_ ? *result_ : 0; }
    const ps::SPBasicSuite* basicSuite() const;
    void* plugInRef() const;

private:
    Effect* effect_;
    ps::FilterRecord* record_ = nullptr;
    ps::AboutRecord* about_ = nullptr;
    intptr_t* data_;
    int16_t* result_;
    const EntryPoint* entry_;
};
