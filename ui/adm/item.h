// One item of a dialog: owns its dialog-manager item, installs itself as the item's user
// data and callbacks, and turns the dialog manager's events into the virtual hooks below.
#pragma once

#include <string>

#include "sdk/adm_suites.h"
#include "ui/adm/adm_host.h"
#include "ui/adm/callback_object.h"

namespace ADM {

class Dialog;

class Item : public CallbackObject {
public:
    Item(Dialog& dialog, ps::int32 id, const char* type, const ps::ADMRect& bounds);
    ~Item() override;

    virtual void show();  // makes the item visible and invalidates it
    virtual void hide();
    virtual void setText(const char* text);
    virtual void setBooleanValue(bool value);
    virtual void setFloatValue(float value);
    virtual void setIntValue(ps::int32 value);
    // Mouse tracking (down, moved, dragged, up); answers true when handled. Default: the
    // dialog manager's tracking.
    virtual bool track(ps::ADMTrackerRef tracker);
    // Called after setBounds moved or resized the item, with the bounds it had before.
    virtual void boundsChanged(const ps::ADMRect& /*previous*/) {}
    // Drawing; default: the dialog manager's drawing.
    virtual void draw(ps::ADMDrawerRef drawer);
    // Each dialog-manager notifier; default: the focus hooks and "gainFocus" / "loseFocus",
    // then the dialog manager's handling.
    virtual void handleNotifier(ps::ADMNotifierRef notifier);
    virtual void focusGained() {}
    virtual void focusLost() {}

    void enable(bool enabled);
    bool isVisible() const;
    bool isEnabled() const;
    ps::ADMRect bounds() const;
    void setBounds(const ps::ADMRect& bounds);
    std::string text() const;
    bool booleanValue() const;
    float floatValue() const;
    ps::int32 intValue() const;
    void setMinMax(float minimum, float maximum);
    void setMinMax(ps::int32 minimum, ps::int32 maximum);
    float minFloatValue() const;
    float maxFloatValue() const;
    void setUnits(ps::int32 units);  // kADMNoUnits, kADMPercentUnits or kADMDegreesUnits
    void setCursor(ps::int32 cursorID);
    void invalidate();
    void update();

    ps::int32 id() const { return id_; }
    Dialog& dialog() const { return dialog_; }
    ps::ADMItemRef ref() const { return ref_; }

protected:
    // True when the notifier is of the named type.
    static bool isNotifier(ps::ADMNotifierRef notifier, const char* type);
    // Runs f(suite, item) when the item and the item suite are there.
    template <typename F>
    void withItem(F f) const {
        if (const auto* suite = AdmHost::currentSuites().item; suite && ref_) f(*suite, ref_);
    }
    // f(suite, item), or fallback when the item or the suite is missing.
    template <typename R, typename F>
    R queryItem(R fallback, F f) const {
        const auto* suite = AdmHost::currentSuites().item;
        return suite && ref_ ? f(*suite, ref_) : fallback;
    }

private:
    static Item* of(ps::ADMItemRef item);
    static void notifyProc(ps::ADMItemRef item, ps::ADMNotifierRef notifier);
    static void destroyProc(ps::ADMItemRef item);
    static ps::ADMBoolean trackProc(ps::ADMItemRef item, ps::ADMTrackerRef tracker);
    static void drawProc(ps::ADMItemRef item, ps::ADMDrawerRef drawer);

    Dialog& dialog_;
    ps::int32 id_;
    ps::ADMItemRef ref_ = nullptr;
};

}  // namespace ADM
