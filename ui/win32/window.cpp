// The native side of the plug-in's own dialog manager: one top-level window per dialog
// running modally, one native control per item, owner-drawn windows for user items.
// Layout is given in pixels at 96 DPI and scaled to the DPI of the monitor the dialog is on.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "ui/win32/dialog_manager.h"
#include "ui/win32/text.h"

namespace win32ui {

namespace {

constexpr wchar_t kDialogClass[] = L"RavoDialogWindow";
constexpr wchar_t kUserItemClass[] = L"RavoUserItem";
// Child control ids start above the ids Windows gives Enter and Escape (IDOK, IDCANCEL).
constexpr int kFirstControlID = 1000;
// Trackbar positions across a slider's range.
constexpr int kSliderSteps = 1000;
// The room a combo box's drop-down list takes below its field.
constexpr int kDropDownHeight = 200;

DialogManager& manager() { return DialogManager::instance(); }

// Functions of newer Windows versions, looked up so the plug-in still loads on older ones.
struct DpiFunctions {
    UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
    BOOL(WINAPI* adjustForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;
    BOOL(WINAPI* systemParametersForDpi)(UINT, UINT, PVOID, UINT, UINT) = nullptr;
    HANDLE(WINAPI* setThreadAwareness)(HANDLE) = nullptr;

    DpiFunctions() {
        if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
            lookUp(user, "GetDpiForWindow", dpiForWindow);
            lookUp(user, "AdjustWindowRectExForDpi", adjustForDpi);
            lookUp(user, "SystemParametersInfoForDpi", systemParametersForDpi);
            lookUp(user, "SetThreadDpiAwarenessContext", setThreadAwareness);
        }
    }
    template <typename F>
    static void lookUp(HMODULE module, const char* name, F& function) {
        function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
};

const DpiFunctions& dpiFunctions() {
    static const DpiFunctions functions;
    return functions;
}

int windowDpi(HWND window) {
    if (dpiFunctions().dpiForWindow) {
        const UINT dpi = dpiFunctions().dpiForWindow(window);
        if (dpi) return int(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int scaled(const Dialog& dialog, int pixels) { return MulDiv(pixels, screenOf(dialog)->dpi, 96); }
int unscaled(const Dialog& dialog, int pixels) { return MulDiv(pixels, 96, screenOf(dialog)->dpi); }

HINSTANCE moduleInstance() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&moduleInstance), &module);
    return module;
}

DialogItem* itemOfWindow(HWND window) { return manager().item(reinterpret_cast<void*>(GetWindowLongPtrW(window, GWLP_USERDATA))); }
Dialog* dialogOfWindow(HWND window) {
    return manager().dialog(reinterpret_cast<void*>(GetWindowLongPtrW(window, GWLP_USERDATA)));
}

// The system's message font at the dialog's DPI.
HFONT messageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (dpiFunctions().systemParametersForDpi) {
        dpiFunctions().systemParametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, UINT(dpi));
    } else {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        HDC screen = GetDC(nullptr);
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, GetDeviceCaps(screen, LOGPIXELSY));
        ReleaseDC(nullptr, screen);
    }
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

int sliderPosition(const DialogItem& item) {
    const double span = item.maximum - item.minimum;
    if (!(span > 0) || span > 1e30) return 0;
    return int(std::lround((item.value - item.minimum) / span * kSliderSteps));
}

double sliderValue(const DialogItem& item, int position) {
    return item.minimum + (item.maximum - item.minimum) * position / kSliderSteps;
}

int32_t modifierKeys() {
    int32_t keys = 0;
    if (GetKeyState(VK_SHIFT) < 0) keys |= ps::kADMShiftKey;
    if (GetKeyState(VK_CONTROL) < 0) keys |= ps::kADMMenuKey;
    if (GetKeyState(VK_MENU) < 0) keys |= ps::kADMModifierKey;
    if (GetKeyState(VK_SPACE) < 0) keys |= ps::kADMSpaceKey;
    return keys;
}

// The text the person typed into an edit field becomes the item's text and, when it reads
// as a number (units signs allowed after it), its value; the item is told.
void takeTypedText(DialogItem& item) {
    const std::string typed = windowText(controlOf(item));
    if (typed == item.text) return;
    item.text = typed;
    char* end = nullptr;
    const double number = std::strtod(typed.c_str(), &end);
    if (end != typed.c_str()) manager().setValue(item, number);
    manager().notify(item.dialog, &item, ps::kADMUserChangedNotifier);
}

// Enter and Escape press the default and the cancel item; an edit being typed in keeps
// what was typed first.
void pressKeyboardItem(Dialog& dialog, ps::int32 itemID) {
    if (DialogItem* focused = itemOfWindow(GetFocus()); focused && focused->isEdit()) takeTypedText(*focused);
    if (!manager().dialog(&dialog) || dialog.endedWith) return;
    for (const auto& item : dialog.items)
        if (item->id == itemID && item->isPushButton() && item->visible && item->enabled) {
            manager().notify(&dialog, item.get(), ps::kADMUserChangedNotifier);
            return;
        }
    if (itemID == dialog.cancelItem) manager().endModal(&dialog, itemID);
}

void controlCommand(DialogItem& item, int code) {
    Dialog* dialog = item.dialog;
    if (item.isPushButton() || item.isToggle() || item.isRadio()) {
        if (code != BN_CLICKED) return;
        if (item.isToggle() || item.isRadio())
            manager().setValue(item, SendMessageW(controlOf(item), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        manager().notify(dialog, &item, ps::kADMUserChangedNotifier);
    } else if (item.hasEntries()) {
        if (code == CBN_SELCHANGE) {
            const LRESULT index = SendMessageW(controlOf(item), CB_GETCURSEL, 0, 0);
            if (index < 0 || size_t(index) >= item.entries.size()) return;
            manager().selectEntry(item.entries[size_t(index)].get(), true);
            manager().notify(dialog, &item, ps::kADMUserChangedNotifier);
        } else if (code == CBN_KILLFOCUS && item.type == ps::kADMComboBoxType) {
            takeTypedText(item);
        }
    } else if (item.isEdit()) {
        if (code == EN_KILLFOCUS) takeTypedText(item);
    }
}

// A trackbar reports every position while its thumb is dragged; the item hears of the
// latest one when the messages waiting have been handled (see runMessages), so a slow
// preview never falls behind the mouse. Release and keys report at once.
void sliderMoved(DialogItem& item, int code) {
    manager().setValue(item, sliderValue(item, int(SendMessageW(controlOf(item), TBM_GETPOS, 0, 0))));
    if (code == TB_THUMBTRACK) {
        screenOf(*item.dialog)->settlingSlider = &item;
    } else if (code == TB_ENDTRACK) {
        if (screenOf(*item.dialog)->settlingSlider == &item) screenOf(*item.dialog)->settlingSlider = nullptr;
        manager().notify(item.dialog, &item, ps::kADMUserChangedNotifier);
    }
}

void layout(Dialog& dialog) {
    for (const auto& item : dialog.items)
        if (controlOf(*item)) {
            placeControl(*item);
            SendMessageW(controlOf(*item), WM_SETFONT, WPARAM(screenOf(dialog)->font), TRUE);
        }
}

void useDpi(Dialog& dialog, int dpi) {
    screenOf(dialog)->dpi = dpi;
    HFONT previous = screenOf(dialog)->font;
    screenOf(dialog)->font = messageFont(dpi);
    layout(dialog);
    if (previous) DeleteObject(previous);
}

RECT windowRectFor(const Dialog& dialog, DWORD style, DWORD exStyle) {
    RECT rect{0, 0, scaled(dialog, dialog.width), scaled(dialog, dialog.height)};
    if (dpiFunctions().adjustForDpi) dpiFunctions().adjustForDpi(&rect, style, FALSE, exStyle, UINT(screenOf(dialog)->dpi));
    else AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return rect;
}

LRESULT CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* dialog = dialogOfWindow(window);
    if (!dialog) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_COMMAND:
            if (lParam == 0) {
                if (LOWORD(wParam) == IDOK) pressKeyboardItem(*dialog, dialog->defaultItem);
                else if (LOWORD(wParam) == IDCANCEL) pressKeyboardItem(*dialog, dialog->cancelItem);
            } else if (DialogItem* item = itemOfWindow(HWND(lParam))) {
                controlCommand(*item, HIWORD(wParam));
            }
            return 0;
        case WM_HSCROLL:
            if (DialogItem* item = itemOfWindow(HWND(lParam)); item && item->type == ps::kADMSliderType)
                sliderMoved(*item, LOWORD(wParam));
            return 0;
        case WM_CLOSE:
            manager().notify(dialog, nullptr, ps::kADMCloseHitNotifier);
            return 0;
        case WM_DPICHANGED: {
            useDpi(*dialog, HIWORD(wParam));
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// A user item paints through its draw callback into an off-screen bitmap of its 96-DPI
// size, shown scaled to the dialog's DPI; its mouse events reach its track callback.
LRESULT CALLBACK userItemProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogItem* item = itemOfWindow(window);
    if (!item) return DefWindowProcW(window, message, wParam, lParam);
    const Dialog& dialog = *item->dialog;
    const auto mouse = [&](ps::int32 action) {
        const ps::ADMPoint point{unscaled(dialog, GET_X_LPARAM(lParam)), unscaled(dialog, GET_Y_LPARAM(lParam))};
        manager().deliverTrack(*item, action, point, modifierKeys());
    };
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC screen = BeginPaint(window, &paint);
            const int width = std::max(item->width(), 1), height = std::max(item->height(), 1);
            HDC memory = CreateCompatibleDC(screen);
            HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
            HGDIOBJ previous = SelectObject(memory, bitmap);
            manager().draw(*item, memory);
            if (manager().item(item)) {
                RECT client;
                GetClientRect(window, &client);
                SetStretchBltMode(screen, HALFTONE);
                StretchBlt(screen, 0, 0, client.right, client.bottom, memory, 0, 0, width, height, SRCCOPY);
            }
            SelectObject(memory, previous);
            DeleteObject(bitmap);
            DeleteDC(memory);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            SetCapture(window);
            mouse(ps::kADMButtonDownAction);
            return 0;
        case WM_MOUSEMOVE:
            mouse((wParam & MK_LBUTTON) ? ps::kADMMouseMovedDownAction : ps::kADMMouseMovedUpAction);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == window) ReleaseCapture();
            mouse(ps::kADMButtonUpAction);
            return 0;
        case WM_SETCURSOR: {
            const LPCSTR shape = item->cursor == ps::kADMHandCursorID   ? IDC_HAND
                                 : item->cursor == ps::kADMMoveCursorID ? IDC_SIZEALL
                                                                        : IDC_ARROW;
            SetCursor(LoadCursorA(nullptr, shape));
            return TRUE;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// The window classes live while a dialog is on the screen: a class left registered by a
// plug-in file that the host unloads would point into freed code.
int openWindows = 0;

void registerClasses() {
    if (openWindows++ > 0) return;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW dialogClass{};
    dialogClass.cbSize = sizeof dialogClass;
    dialogClass.lpfnWndProc = dialogProc;
    dialogClass.hInstance = moduleInstance();
    dialogClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    dialogClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    dialogClass.lpszClassName = kDialogClass;
    RegisterClassExW(&dialogClass);
    WNDCLASSEXW userClass = dialogClass;
    userClass.lpfnWndProc = userItemProc;
    userClass.hbrBackground = nullptr;
    userClass.lpszClassName = kUserItemClass;
    RegisterClassExW(&userClass);
}

void unregisterClasses() {
    if (--openWindows > 0) return;
    UnregisterClassW(kDialogClass, moduleInstance());
    UnregisterClassW(kUserItemClass, moduleInstance());
}

// The host's main window: the active window of this thread, else its first visible
// top-level window.
HWND hostWindow() {
    if (HWND active = GetActiveWindow()) return GetAncestor(active, GA_ROOTOWNER);
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM out) -> BOOL {
            if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
            *reinterpret_cast<HWND*>(out) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

struct ControlKind {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

ControlKind controlKind(const DialogItem& item) {
    const std::string& t = item.type;
    if (item.isPushButton())
        return {WC_BUTTONW,
                DWORD(WS_TABSTOP | (item.id == item.dialog->defaultItem ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)), 0};
    if (item.isToggle()) return {WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    if (item.isRadio()) return {WC_BUTTONW, WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
    if (t == ps::kADMTextEditType) return {WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    if (t == ps::kADMPasswordTextEditType) return {WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD, WS_EX_CLIENTEDGE};
    if (t == ps::kADMTextEditMultiLineType)
        return {WC_EDITW, WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, WS_EX_CLIENTEDGE};
    if (t == ps::kADMTextStaticType) return {WC_STATICW, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    if (t == ps::kADMTextStaticMultiLineType) return {WC_STATICW, SS_LEFT | SS_NOPREFIX, 0};
    if (t == ps::kADMItemGroupType) return {WC_BUTTONW, BS_GROUPBOX, 0};
    if (t == ps::kADMSliderType) return {TRACKBAR_CLASSW, WS_TABSTOP | TBS_HORZ | TBS_NOTICKS, 0};
    if (t == ps::kADMPopupListType) return {WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    if (t == ps::kADMComboBoxType) return {WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0};
    return {kUserItemClass, 0, 0};
}

void showEntries(DialogItem& item) {
    SendMessageW(controlOf(item), CB_RESETCONTENT, 0, 0);
    int selected = -1;
    for (size_t n = 0; n < item.entries.size(); ++n) {
        SendMessageW(controlOf(item), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widened(item.entries[n]->text).c_str()));
        if (item.entries[n]->selected) selected = int(n);
    }
    SendMessageW(controlOf(item), CB_SETCURSEL, WPARAM(selected), 0);
    if (item.type == ps::kADMComboBoxType) SetWindowTextW(controlOf(item), widened(item.text).c_str());
}

}  // namespace

void placeControl(DialogItem& item) {
    const Dialog& dialog = *item.dialog;
    const int extra = item.hasEntries() ? kDropDownHeight : 0;
    SetWindowPos(controlOf(item), nullptr, scaled(dialog, item.bounds.left), scaled(dialog, item.bounds.top),
                 scaled(dialog, item.width()), scaled(dialog, item.height() + extra), SWP_NOZORDER | SWP_NOACTIVATE);
}

void showModel(DialogItem& item) {
    HWND window = controlOf(item);
    if (item.type == ps::kADMSliderType) {
        SendMessageW(window, TBM_SETRANGEMIN, FALSE, 0);
        SendMessageW(window, TBM_SETRANGEMAX, FALSE, kSliderSteps);
        SendMessageW(window, TBM_SETPAGESIZE, 0, kSliderSteps / 10);
        SendMessageW(window, TBM_SETPOS, TRUE, sliderPosition(item));
    } else if (item.hasEntries()) {
        showEntries(item);
    } else if (item.type != ps::kADMUserType && windowText(window) != item.text) {
        SetWindowTextW(window, widened(item.text).c_str());
    }
    if (item.isToggle() || item.isRadio()) SendMessageW(window, BM_SETCHECK, item.value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    // A push button holding a value (a tab that is open) shows pressed.
    if (item.isPushButton()) SendMessageW(window, BM_SETSTATE, item.value != 0, 0);
    if (item.type == ps::kADMUserType) InvalidateRect(window, nullptr, FALSE);
    EnableWindow(window, item.enabled);
    // A group without a label has nothing to show: it only holds its children together.
    const bool shown = item.visible && !(item.type == ps::kADMItemGroupType && item.text.empty());
    ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
}

void createControl(DialogItem& item) {
    Dialog& dialog = *item.dialog;
    const ControlKind kind = controlKind(item);
    const auto index = std::find_if(dialog.items.begin(), dialog.items.end(),
                                    [&](const std::unique_ptr<DialogItem>& i) { return i.get() == &item; }) -
                       dialog.items.begin();
    item.native = CreateWindowExW(kind.exStyle | WS_EX_NOPARENTNOTIFY, kind.windowClass, L"",
                                  WS_CHILD | WS_CLIPSIBLINGS | kind.style, 0, 0, 0, 0, screenOf(dialog)->window,
                                  reinterpret_cast<HMENU>(INT_PTR(kFirstControlID + index)), moduleInstance(), nullptr);
    if (!controlOf(item)) return;
    SetWindowLongPtrW(controlOf(item), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&item));
    SendMessageW(controlOf(item), WM_SETFONT, WPARAM(screenOf(dialog)->font), FALSE);
    // A frame lies under the controls it holds.
    if (item.type == ps::kADMItemGroupType)
        SetWindowPos(controlOf(item), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    placeControl(item);
    showModel(item);
}

void destroyControl(DialogItem& item) {
    if (!controlOf(item)) return;
    SetWindowLongPtrW(controlOf(item), GWLP_USERDATA, 0);
    DestroyWindow(controlOf(item));
    item.native = nullptr;
}

void openWindow(Dialog& dialog) {
    if (screenOf(dialog)) return;
    registerClasses();
    DialogWindow& screen = manager().openScreen(dialog);
    // The dialog follows the DPI of the monitor it is on, whatever the host declares.
    HANDLE previousAwareness = nullptr;
    if (dpiFunctions().setThreadAwareness)
        previousAwareness = dpiFunctions().setThreadAwareness(reinterpret_cast<HANDLE>(-4));  // per monitor, v2
    HWND owner = hostWindow();
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    screen.window = CreateWindowExW(exStyle, kDialogClass, widened(dialog.title).c_str(), style, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 100, 100, owner, nullptr, moduleInstance(), nullptr);
    if (!screen.window) {
        if (dpiFunctions().setThreadAwareness) dpiFunctions().setThreadAwareness(previousAwareness);
        manager().closeScreen(dialog);
        unregisterClasses();
        return;
    }
    SetWindowLongPtrW(screen.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&dialog));
    useDpi(dialog, windowDpi(screen.window));
    for (const auto& item : dialog.items) createControl(*item);

    // Centred over the host's window, or on the monitor when there is none.
    const RECT frame = windowRectFor(dialog, style, exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT over{};
    if (!owner || !GetWindowRect(owner, &over)) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(screen.window, MONITOR_DEFAULTTOPRIMARY), &monitor);
        over = monitor.rcWork;
    }
    SetWindowPos(screen.window, nullptr, over.left + (over.right - over.left - width) / 2,
                 std::max(over.top, over.top + (over.bottom - over.top - height) / 2), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (dpiFunctions().setThreadAwareness) dpiFunctions().setThreadAwareness(previousAwareness);

    // Modal to the host: its window takes no input while the dialog is open.
    if (owner) EnableWindow(owner, FALSE);
    ShowWindow(screen.window, SW_SHOW);
    SetForegroundWindow(screen.window);
    if (HWND first = GetNextDlgTabItem(screen.window, nullptr, FALSE)) SetFocus(first);
}

void closeWindow(Dialog& dialog) {
    DialogWindow* open = screenOf(dialog);
    if (!open) return;
    DialogWindow& screen = *open;
    for (const auto& item : dialog.items) destroyControl(*item);
    // The owner takes input again before the dialog goes, so Windows activates it.
    if (HWND owner = GetWindow(screen.window, GW_OWNER)) EnableWindow(owner, TRUE);
    SetWindowLongPtrW(screen.window, GWLP_USERDATA, 0);
    DestroyWindow(screen.window);
    if (screen.font) DeleteObject(screen.font);
    manager().closeScreen(dialog);
    unregisterClasses();
}

void runMessages(Dialog& dialog) {
    while (!dialog.endedWith && screenOf(dialog)) {
        MSG message;
        if (screenOf(dialog)->settlingSlider && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            DialogItem* slider = std::exchange(screenOf(dialog)->settlingSlider, nullptr);
            manager().notify(&dialog, slider, ps::kADMIntermediateChangedNotifier);
            continue;
        }
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The application is quitting: the dialog ends as cancelled and the quit goes on.
            if (got == 0) PostQuitMessage(int(message.wParam));
            manager().endModal(&dialog, dialog.cancelItem);
            return;
        }
        if (!IsDialogMessageW(screenOf(dialog)->window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace win32ui
