// What every parameter control is: a dialog item bound to one Parameter record, that shows
// the record's value, writes each user change straight into it and then tells the dialog
// with "controlChanged". Controls keep no values of their own.
#pragma once

#include <utility>

#include "fx/parameter.h"
#include "sdk/adm_suites.h"
#include "sdk/ravo_dialog_items.h"
#include "ui/adm/dialog.h"
#include "ui/adm/item.h"
#include "ui/adm/notification_names.h"

namespace PSDriver {

struct ControlSize {
    ps::int32 width = 0;
    ps::int32 height = 0;
};

// The mix-in the dialog finds (by dynamic_cast on the sender of "controlChanged") to learn
// which parameter a control edits.
class Control {
public:
    Control(Parameter& parameter, int parameterIndex) : parameter(&parameter), parameterIndex(parameterIndex) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // value := default, then show it.
    virtual void reset() = 0;
    // Shows the parameter's current value.
    virtual void update() = 0;
    // The width and height of the control's bounds.
    virtual ControlSize size() const = 0;
    // The dialog item that is the control, to show, hide or enable it.
    virtual ADM::Item& item() = 0;

    Parameter* const parameter;
    // The record's index in its effect: the control's item ids derive from it.
    const int parameterIndex;
};

// A control that is an item of type ItemBase. The constructor arguments after the parameter
// and its index are ItemBase's, after the dialog.
template <typename ItemBase>
class ItemControl : public ItemBase, public Control {
public:
    template <typename... ItemArgs>
    ItemControl(ADM::Dialog& dialog, Parameter& parameter, int parameterIndex, ItemArgs&&... itemArgs)
        : ItemBase(dialog, std::forward<ItemArgs>(itemArgs)...), Control(parameter, parameterIndex) {}

    void reset() override {
        parameter->resetToDefault();
        update();
    }
    ControlSize size() const override {
        const ps::ADMRect b = this->bounds();
        return {b.right - b.left, b.bottom - b.top};
    }
    ADM::Item& item() override { return *this; }

protected:
    // The dialog learns of a user change after the parameter holds it.
    void changed() { this->dialog().notify(*this, ADM::kControlChanged); }
    ps::int32 itemID(ps::RavoControlPart part) const { return ps::controlItemID(parameterIndex, part); }
};

}  // namespace PSDriver
