// The plug-in's hold on the host's dialog manager: every dialog-manager suite, acquired
// together when made and released together when destroyed. While one exists, every ADM::
// wrapper reaches the dialog manager through it; without one they do nothing.
//
// A host whose basic suite lacks the basic, dialog or item suite of the dialog manager gets
// the plug-in's own one where the plug-in carries one (on Windows): the whole set, never a
// mix of the host's tables and the plug-in's.
#pragma once

#include "sdk/adm_suites.h"
#include "sdk/sp_basic.h"

// The suite tables in use; a suite the host does not offer stays null.
struct AdmSuites {
    const ps::ADMBasicSuite5* basic = nullptr;
    const ps::ADMDialogSuite5* dialog = nullptr;
    const ps::ADMItemSuite5* item = nullptr;
    const ps::ADMNotifierSuite2* notifier = nullptr;
    const ps::ADMTrackerSuite1* tracker = nullptr;
    const ps::ADMEntrySuite4* entry = nullptr;
    const ps::ADMListSuite2* list = nullptr;
    const ps::ADMListEntrySuite2* listEntry = nullptr;
    const ps::ADMDrawerSuite3* drawer = nullptr;
    const ps::ADMImageSuite1* image = nullptr;
};

class AdmHost {
public:
    AdmHost(const ps::SPBasicSuite* basicSuite, ps::SPPluginRef pluginRef);
    ~AdmHost();
    AdmHost(const AdmHost&) = delete;
    AdmHost& operator=(const AdmHost&) = delete;

    const AdmSuites& suites() const { return suites_; }
    ps::SPPluginRef pluginRef() const { return pluginRef_; }
    // True when dialogs can be made: the dialog and item suites are there.
    bool hasDialogManager() const { return suites_.dialog && suites_.item; }

    // The host record in use (the newest one made, until it is destroyed), or null.
    static AdmHost* current() { return current_; }
    // The suites of the host record in use; all null when there is none.
    static const AdmSuites& currentSuites();
    // The plug-in's own dialog manager on this platform, or null where it carries none.
    static const AdmSuites* builtInSuites();

private:
    void releaseHostSuites();

    const ps::SPBasicSuite* basicSuite_;
    ps::SPPluginRef pluginRef_;
    AdmSuites suites_;
    bool builtIn_ = false;  // the plug-in's own dialog manager, nothing acquired from the host
    static AdmHost* current_;
};
