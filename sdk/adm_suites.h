// Dialog-manager suites: dialogs, items, notifiers, trackers, pop-up entries, the drawer
// and images, reached through the basic suite like every other suite here.
//
// These tables are Ravo's own. They carry the operations the plug-in's dialog toolkit
// needs and nothing more; binary compatibility with the dialog manager of any other host
// is not a goal. The stand-in host implements them in editor/, and the plug-in will carry
// a Win32 implementation of the same tables for hosts that have none. Everything is plain
// C: opaque references, C function pointers and naturally aligned structs, so the tables
// cross the library boundary unchanged.
#pragma once

#include "sdk/pi_types.h"

namespace ps {

// ---------------------------------------------------------------------------
// Suite names and versions

inline constexpr char kADMBasicSuite[] = "ADM Basic Suite";
inline constexpr int32 kADMBasicSuiteVersion = 5;
inline constexpr char kADMDialogSuite[] = "ADM Dialog Suite";
inline constexpr int32 kADMDialogSuiteVersion = 5;
inline constexpr char kADMItemSuite[] = "ADM Item Suite";
inline constexpr int32 kADMItemSuiteVersion = 5;
inline constexpr char kADMNotifierSuite[] = "ADM Notifier Suite";
inline constexpr int32 kADMNotifierSuiteVersion = 2;
inline constexpr char kADMTrackerSuite[] = "ADM Tracker Suite";
inline constexpr int32 kADMTrackerSuiteVersion = 1;
inline constexpr char kADMEntrySuite[] = "ADM Entry Suite";
inline constexpr int32 kADMEntrySuiteVersion = 4;
inline constexpr char kADMListSuite[] = "ADM List Suite";
inline constexpr int32 kADMListSuiteVersion = 2;
inline constexpr char kADMListEntrySuite[] = "ADM List Entry Suite";
inline constexpr int32 kADMListEntrySuiteVersion = 2;
inline constexpr char kADMDrawerSuite[] = "ADM Drawer Suite";
inline constexpr int32 kADMDrawerSuiteVersion = 3;
inline constexpr char kADMImageSuite[] = "ADM Image Suite";
inline constexpr int32 kADMImageSuiteVersion = 1;

// ---------------------------------------------------------------------------
// Opaque references and plain values

struct OpaqueADMDialog;
struct OpaqueADMItem;
struct OpaqueADMNotifier;
struct OpaqueADMTracker;
struct OpaqueADMDrawer;
struct OpaqueADMList;
struct OpaqueADMEntry;
struct OpaqueADMImage;

using ADMDialogRef = OpaqueADMDialog*;
using ADMItemRef = OpaqueADMItem*;
using ADMNotifierRef = OpaqueADMNotifier*;
using ADMTrackerRef = OpaqueADMTracker*;
using ADMDrawerRef = OpaqueADMDrawer*;
using ADMListRef = OpaqueADMList*;
using ADMEntryRef = OpaqueADMEntry*;
using ADMImageRef = OpaqueADMImage*;
using ADMUserData = void*;
using ADMBoolean = int32;
using ADMInt32 = int32;
using ADMFloat = float;

struct ADMPoint {
    int32 h, v;
};

struct ADMRect {
    int32 left, top, right, bottom;
};

// 16-bit components, full scale 65535.
struct ADMRGBColor {
    uint16 red, green, blue;
};

// ---------------------------------------------------------------------------
// Item types, by name

inline constexpr char kADMTextPushButtonType[] = "ADM Text Push Button Type";
inline constexpr char kADMTextCheckBoxType[] = "ADM Text Check Box Type";
inline constexpr char kADMTextRadioButtonType[] = "ADM Text Radio Button Type";
inline constexpr char kADMPicturePushButtonType[] = "ADM Picture Push Button Type";
inline constexpr char kADMPictureCheckBoxButtonType[] = "ADM Picture Check Box Button Type";
inline constexpr char kADMPictureRadioButtonType[] = "ADM Picture Radio Button Type";
inline constexpr char kADMTextEditType[] = "ADM Text Edit Type";
inline constexpr char kADMTextEditMultiLineType[] = "ADM Text Edit Multi Line Type";
inline constexpr char kADMTextStaticType[] = "ADM Text Static Type";
inline constexpr char kADMTextStaticMultiLineType[] = "ADM Text Static Multi Line Type";
inline constexpr char kADMPasswordTextEditType[] = "ADM Password Text Edit Type";
inline constexpr char kADMItemGroupType[] = "ADM Item Group Type";
inline constexpr char kADMSliderType[] = "ADM Slider Type";
inline constexpr char kADMUserType[] = "ADM User Type";
inline constexpr char kADMPopupListType[] = "ADM Popup List Type";
// A pop-up list with a text field.
inline constexpr char kADMComboBoxType[] = "ADM Combo Box Type";

// ---------------------------------------------------------------------------
// Notifier types, by name

inline constexpr char kADMUserChangedNotifier[] = "ADM User Changed Notifier";
inline constexpr char kADMIntermediateChangedNotifier[] = "ADM Intermediate Changed Notifier";
inline constexpr char kADMBoundsChangedNotifier[] = "ADM Bounds Changed Notifier";
inline constexpr char kADMEntryTextChangedNotifier[] = "ADM Entry Text Changed Notifier";
inline constexpr char kADMCloseHitNotifier[] = "ADM Close Hit Notifier";
inline constexpr char kADMGainFocusNotifier[] = "ADM Gain Focus Notifier";
inline constexpr char kADMLoseFocusNotifier[] = "ADM Lose Focus Notifier";

// ---------------------------------------------------------------------------
// Numbers

// Units shown beside an edit item's number.
inline constexpr int32 kADMNoUnits = 0;
inline constexpr int32 kADMPercentUnits = 6;
inline constexpr int32 kADMDegreesUnits = 7;

// Dialog styles.
inline constexpr int32 kADMModalDialogStyle = 0;
inline constexpr int32 kADMAlertDialogStyle = 1;

// Item ids that end a modal dialog by default.
inline constexpr int32 kADMDefaultItemID = 1;
inline constexpr int32 kADMCancelItemID = 2;

// Tracker actions.
inline constexpr int32 kADMMouseMovedUpAction = 1;
inline constexpr int32 kADMButtonDownAction = 2;
inline constexpr int32 kADMMouseMovedDownAction = 3;  // a drag
inline constexpr int32 kADMButtonUpAction = 4;

// Modifier keys of a tracker event, as bits.
inline constexpr int32 kADMShiftKey = 1 << 0;
inline constexpr int32 kADMMenuKey = 1 << 1;    // Control on Windows and Linux
inline constexpr int32 kADMModifierKey = 1 << 2;  // Alt
inline constexpr int32 kADMSpaceKey = 1 << 3;

// Cursors an item can ask for while the mouse is over it.
inline constexpr int32 kADMArrowCursorID = 0;
inline constexpr int32 kADMHandCursorID = 1;  // the picture can be dragged to pan
inline constexpr int32 kADMMoveCursorID = 2;  // something under the mouse can be dragged

// Indexed colours of the drawer; the host's palette gives their values.
enum ADMColor : int32 {
    kADMBlackColor = 0,
    kADMWhiteColor = 1,
    kADMHiliteColor = 2,
    kADMHiliteTextColor = 3,
    kADMLightColor = 4,
    kADMBackgroundColor = 5,
    kADMShadowColor = 6,
    kADMDisabledColor = 7,
    kADMButtonUpColor = 8,
    kADMButtonDownColor = 9,
    kADMTextColor = 10,
    kADMColorCount = 11,
};

// ---------------------------------------------------------------------------
// Callbacks

using ADMDialogNotifyProc = void (*)(ADMDialogRef dialog, ADMNotifierRef notifier);
using ADMDialogDestroyProc = void (*)(ADMDialogRef dialog);
// Answers true when it handled the event itself.
using ADMDialogTrackProc = ADMBoolean (*)(ADMDialogRef dialog, ADMTrackerRef tracker);
using ADMDialogDrawProc = void (*)(ADMDialogRef dialog, ADMDrawerRef drawer);

using ADMItemNotifyProc = void (*)(ADMItemRef item, ADMNotifierRef notifier);
using ADMItemDestroyProc = void (*)(ADMItemRef item);
using ADMItemTrackProc = ADMBoolean (*)(ADMItemRef item, ADMTrackerRef tracker);
using ADMItemDrawProc = void (*)(ADMItemRef item, ADMDrawerRef drawer);

// ---------------------------------------------------------------------------
// Suites. Calls given a null or dead reference do nothing and answer 0 / null / false.

struct ADMBasicSuite5 {
    void (*ErrorAlert)(const char* message);
    void (*MessageAlert)(const char* message);
    // Answers true and writes the chosen full path (NUL-terminated, at most maxLength bytes
    // with the NUL) when the user chose a file; false when cancelled or the path does not fit.
    // filter: "Description|*.ext" pairs separated by '|'; any argument may be null.
    ADMBoolean (*StandardGetFileDialog)(const char* prompt, const char* filter, const char* startingFolder,
                                        const char* defaultName, char* path, int32 maxLength);
    ADMBoolean (*StandardPutFileDialog)(const char* prompt, const char* filter, const char* startingFolder,
                                        const char* defaultName, char* path, int32 maxLength);
    void (*Beep)();
    // The host's colour chooser, opened at a point of the screen with a starting colour.
    // Answers true and writes the chosen colour when the user chose one.
    ADMBoolean (*ChooseColor)(ADMPoint where, const ADMRGBColor* start, ADMRGBColor* chosen);
};

struct ADMDialogSuite5 {
    ADMDialogRef (*Create)(SPPluginRef plugin, const char* name, int32 style, ADMUserData userData);
    void (*Destroy)(ADMDialogRef dialog);  // every item's destroy callback, then the dialog's

    void (*SetUserData)(ADMDialogRef dialog, ADMUserData userData);
    ADMUserData (*GetUserData)(ADMDialogRef dialog);
    void (*SetNotifyProc)(ADMDialogRef dialog, ADMDialogNotifyProc proc);
    void (*SetDestroyProc)(ADMDialogRef dialog, ADMDialogDestroyProc proc);
    void (*SetTrackProc)(ADMDialogRef dialog, ADMDialogTrackProc proc);
    void (*SetDrawProc)(ADMDialogRef dialog, ADMDialogDrawProc proc);
    void (*DefaultNotify)(ADMDialogRef dialog, ADMNotifierRef notifier);
    ADMBoolean (*DefaultTrack)(ADMDialogRef dialog, ADMTrackerRef tracker);
    void (*DefaultDraw)(ADMDialogRef dialog, ADMDrawerRef drawer);

    // Shows the dialog and answers the id of the item that ended it.
    int32 (*Modal)(ADMDialogRef dialog);
    void (*EndModal)(ADMDialogRef dialog, int32 itemID);
    void (*SetDefaultItemID)(ADMDialogRef dialog, int32 itemID);
    int32 (*GetDefaultItemID)(ADMDialogRef dialog);
    void (*SetCancelItemID)(ADMDialogRef dialog, int32 itemID);
    int32 (*GetCancelItemID)(ADMDialogRef dialog);

    void (*SetText)(ADMDialogRef dialog, const char* title);
    void (*Size)(ADMDialogRef dialog, int32 width, int32 height);
    void (*GetLocalRect)(ADMDialogRef dialog, ADMRect* rect);
    ADMItemRef (*GetItem)(ADMDialogRef dialog, int32 itemID);
    void (*Invalidate)(ADMDialogRef dialog);
    void (*Update)(ADMDialogRef dialog);
};

struct ADMItemSuite5 {
    ADMItemRef (*Create)(ADMDialogRef dialog, int32 itemID, const char* itemType, const ADMRect* bounds,
                         ADMUserData userData);
    void (*Destroy)(ADMItemRef item);  // calls its destroy callback
    ADMDialogRef (*GetDialog)(ADMItemRef item);
    int32 (*GetID)(ADMItemRef item);
    const char* (*GetItemType)(ADMItemRef item);

    void (*SetUserData)(ADMItemRef item, ADMUserData userData);
    ADMUserData (*GetUserData)(ADMItemRef item);
    void (*SetNotifyProc)(ADMItemRef item, ADMItemNotifyProc proc);
    void (*SetDestroyProc)(ADMItemRef item, ADMItemDestroyProc proc);
    void (*SetTrackProc)(ADMItemRef item, ADMItemTrackProc proc);
    void (*SetDrawProc)(ADMItemRef item, ADMItemDrawProc proc);
    void (*DefaultNotify)(ADMItemRef item, ADMNotifierRef notifier);
    ADMBoolean (*DefaultTrack)(ADMItemRef item, ADMTrackerRef tracker);
    void (*DefaultDraw)(ADMItemRef item, ADMDrawerRef drawer);

    void (*SetBoundsRect)(ADMItemRef item, const ADMRect* bounds);
    void (*GetBoundsRect)(ADMItemRef item, ADMRect* bounds);
    void (*Show)(ADMItemRef item, ADMBoolean show);
    ADMBoolean (*IsVisible)(ADMItemRef item);
    void (*Enable)(ADMItemRef item, ADMBoolean enable);
    ADMBoolean (*IsEnabled)(ADMItemRef item);

    void (*SetText)(ADMItemRef item, const char* text);
    // Copies at most maxLength bytes with the NUL; answers the full length without it.
    int32 (*GetText)(ADMItemRef item, char* text, int32 maxLength);

    // Values are kept inside the item's range: the setters clamp.
    void (*SetBooleanValue)(ADMItemRef item, ADMBoolean value);
    ADMBoolean (*GetBooleanValue)(ADMItemRef item);
    void (*SetIntValue)(ADMItemRef item, int32 value);
    int32 (*GetIntValue)(ADMItemRef item);  // rounded to the nearest whole number
    void (*SetFloatValue)(ADMItemRef item, ADMFloat value);
    ADMFloat (*GetFloatValue)(ADMItemRef item);
    void (*SetMinIntValue)(ADMItemRef item, int32 value);
    int32 (*GetMinIntValue)(ADMItemRef item);
    void (*SetMaxIntValue)(ADMItemRef item, int32 value);
    int32 (*GetMaxIntValue)(ADMItemRef item);
    void (*SetMinFloatValue)(ADMItemRef item, ADMFloat value);
    ADMFloat (*GetMinFloatValue)(ADMItemRef item);
    void (*SetMaxFloatValue)(ADMItemRef item, ADMFloat value);
    ADMFloat (*GetMaxFloatValue)(ADMItemRef item);
    void (*SetUnits)(ADMItemRef item, int32 units);
    int32 (*GetUnits)(ADMItemRef item);

    void (*SetCursorID)(ADMItemRef item, int32 cursorID);
    int32 (*GetCursorID)(ADMItemRef item);
    void (*Invalidate)(ADMItemRef item);
    void (*Update)(ADMItemRef item);
    // The entry list of a pop-up list or combo box; null for other items.
    ADMListRef (*GetList)(ADMItemRef item);
};

struct ADMNotifierSuite2 {
    ADMItemRef (*GetItem)(ADMNotifierRef notifier);  // null when the dialog itself is notified
    ADMDialogRef (*GetDialog)(ADMNotifierRef notifier);
    ADMBoolean (*IsNotifierType)(ADMNotifierRef notifier, const char* notifierType);
    void (*GetNotifierType)(ADMNotifierRef notifier, char* notifierType, int32 maxLength);
};

struct ADMTrackerSuite1 {
    void (*GetPoint)(ADMTrackerRef tracker, ADMPoint* point);  // in the item's own coordinates
    int32 (*GetAction)(ADMTrackerRef tracker);
    int32 (*GetModifiers)(ADMTrackerRef tracker);
    void (*Abort)(ADMTrackerRef tracker);  // no further events of this drag reach the item
};

struct ADMListSuite2 {
    ADMEntryRef (*InsertEntry)(ADMListRef list, int32 index);  // index past the end appends
    void (*RemoveEntry)(ADMListRef list, int32 index);
    ADMEntryRef (*IndexEntry)(ADMListRef list, int32 index);
    ADMEntryRef (*FindEntry)(ADMListRef list, const char* text);
    int32 (*NumberOfEntries)(ADMListRef list);
    ADMEntryRef (*GetActiveEntry)(ADMListRef list);  // null when none is selected
    ADMItemRef (*GetItem)(ADMListRef list);
};

struct ADMEntrySuite4 {
    ADMEntryRef (*Create)(ADMListRef list);  // appended
    void (*Destroy)(ADMEntryRef entry);
    int32 (*GetIndex)(ADMEntryRef entry);
    ADMListRef (*GetList)(ADMEntryRef entry);
    void (*SetID)(ADMEntryRef entry, int32 entryID);
    int32 (*GetID)(ADMEntryRef entry);
    void (*SetUserData)(ADMEntryRef entry, ADMUserData userData);
    ADMUserData (*GetUserData)(ADMEntryRef entry);
    void (*Select)(ADMEntryRef entry, ADMBoolean select);  // a pop-up list has one selected entry
    ADMBoolean (*IsSelected)(ADMEntryRef entry);
    void (*SetText)(ADMEntryRef entry, const char* text);
    int32 (*GetText)(ADMEntryRef entry, char* text, int32 maxLength);
    void (*Enable)(ADMEntryRef entry, ADMBoolean enable);
    ADMBoolean (*IsEnabled)(ADMEntryRef entry);
};

// The entries of list items, seen without the pop-up specifics.
struct ADMListEntrySuite2 {
    int32 (*GetIndex)(ADMEntryRef entry);
    ADMListRef (*GetList)(ADMEntryRef entry);
    void (*Select)(ADMEntryRef entry, ADMBoolean select);
    ADMBoolean (*IsSelected)(ADMEntryRef entry);
    void (*SetText)(ADMEntryRef entry, const char* text);
    int32 (*GetText)(ADMEntryRef entry, char* text, int32 maxLength);
};

struct ADMDrawerSuite3 {
    void (*SetADMColor)(ADMDrawerRef drawer, int32 color);  // an ADMColor index
    void (*SetRGBColor)(ADMDrawerRef drawer, const ADMRGBColor* color);
    void (*GetRGBColor)(ADMDrawerRef drawer, ADMRGBColor* color);
    void (*FillRect)(ADMDrawerRef drawer, const ADMRect* rect);
    void (*FrameRect)(ADMDrawerRef drawer, const ADMRect* rect);  // one pixel inside the rectangle
    void (*GetBoundsRect)(ADMDrawerRef drawer, ADMRect* bounds);
    // What the filter record's displayPixels draws into for this drawer (an HDC on Windows),
    // so that pictures reach the screen through the host's own display procedure.
    void* (*GetPlatformContext)(ADMDrawerRef drawer);
};

// Off-screen RGBA pictures, 8 bits a component, rows without gaps.
struct ADMImageSuite1 {
    ADMImageRef (*Create)(int32 width, int32 height);
    void (*Destroy)(ADMImageRef image);
    int32 (*GetWidth)(ADMImageRef image);
    int32 (*GetHeight)(ADMImageRef image);
    uint8* (*GetBaseAddress)(ADMImageRef image);
};

}  // namespace ps
