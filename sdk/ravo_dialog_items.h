// Item ids in Ravo's parameter dialog, published so that a host's driver (the stand-in
// host's scripted dialogs, automated tests) can find a parameter's control without reading
// labels: the control for parameter index i owns the ids from controlItemID(i, part).
#pragma once

#include "sdk/pi_types.h"

namespace ps {

// The buttons of the dialog. "Fit" and "1:1" share one id.
inline constexpr int32 kRavoOKItem = 1;
inline constexpr int32 kRavoCancelItem = 2;
inline constexpr int32 kRavoLoadItem = 3;
inline constexpr int32 kRavoSaveItem = 4;
inline constexpr int32 kRavoResetItem = 5;
inline constexpr int32 kRavoZoomInItem = 6;
inline constexpr int32 kRavoZoomOutItem = 7;
inline constexpr int32 kRavoFitItem = 8;
inline constexpr int32 kRavoActualSizeItem = 8;
inline constexpr int32 kRavoPreviewItem = 20;
inline constexpr int32 kRavoZoomLabelItem = 21;
inline constexpr int32 kRavoAboutTextItem = 30;

// The parts of one parameter control.
enum RavoControlPart : int32 {
    // The control itself: the group around its items, the check box of a Boolean, the tab
    // button of a tabbed group, the frame of a framed group.
    kRavoControlWhole = 0,
    kRavoControlLabel = 1,
    // The item that holds the value: the slider of a Number, the pop-up of a List, the
    // swatch of a Color, the text field of a Point, the file name text of an ImageFile.
    kRavoControlValue = 2,
    // The number field of a Number; the "Browse..." button of an ImageFile.
    kRavoControlSecond = 3,
};

inline constexpr int32 kRavoFirstControlItem = 1000;
inline constexpr int32 kRavoControlItemStride = 8;

constexpr int32 controlItemID(int32 parameterIndex, RavoControlPart part) {
    return kRavoFirstControlItem + parameterIndex * kRavoControlItemStride + part;
}

}  // namespace ps
