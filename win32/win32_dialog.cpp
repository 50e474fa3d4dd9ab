// Creation of the dialog and the routing of its messages.
#include "win32/win32_dialog.hpp"

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <vector>

#include "app/dialog_template.hpp"
#include "app/panel_dlg.hpp"
#include "app/window_messages.hpp"
#include "win32/dialog_template_image.hpp"
#include "win32/notices.hpp"

namespace {

bool RegisterDialogClass(HINSTANCE instance, WNDPROC windowProc) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS | CS_SAVEBITS;  // as the system's dialog class
    windowClass.lpfnWndProc = windowProc;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

Win32Dialog* Win32Dialog::running_ = nullptr;

Win32Dialog::Win32Dialog(CTvPanelDlg& dlg) : dlg_(dlg) { dlg_.Attach(*this, *this); }

INT_PTR Win32Dialog::RunModal() {
    const INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_BAR_CLASSES};  // the trackbar
    InitCommonControlsEx(&commonControls);

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterDialogClass(instance, WindowProc)) return -1;
    const std::vector<std::uint16_t> image = BuildDialogTemplate(kDialog, TemplateControls(), kWindowClass);

    running_ = this;
    const INT_PTR result = DialogBoxIndirectParamA(instance, reinterpret_cast<LPCDLGTEMPLATEA>(image.data()),
                                                   nullptr, DialogProc, 0);
    running_ = nullptr;
    hwnd_ = nullptr;
    return result;
}

LRESULT CALLBACK Win32Dialog::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32Dialog* dialog = running_;
    if (dialog != nullptr && dialog->hwnd_ == nullptr) dialog->hwnd_ = hwnd;
    if (message == WM_CREATE && dialog != nullptr && dialog->hwnd_ == hwnd) return dialog->OnCreateMessage(lParam);
    return DefDlgProcA(hwnd, message, wParam, lParam);
}

LRESULT Win32Dialog::OnCreateMessage(LPARAM createStruct) {
    createStruct_ = createStruct;
    std::intptr_t result = 0;
    dlg_.Dispatch(wm::Create, 0, 0, &result);
    return result;
}

// The dialog manager clears only the visible, enabled radios of a clicked
// radio's group; the panel's radio groups count their hidden members too (the
// "DIV 13" radio), as on every other frontend.
void Win32Dialog::ClearRestOfRadioGroup(int id) {
    const std::optional<ControlSpec> clicked = FindControl(id);
    if (!clicked || clicked->kind != ControlKind::Radio) return;
    for (const ControlSpec& member : GroupOf(id))
        if (member.kind == ControlKind::Radio && member.id != id) CheckDlgButton(hwnd_, member.id, BST_UNCHECKED);
}

INT_PTR CALLBACK Win32Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32Dialog* dialog = running_;
    if (dialog == nullptr || dialog->hwnd_ != hwnd) return FALSE;
    return dialog->OnDialogMessage(message, wParam, lParam);
}

// Returns what a dialog procedure returns: TRUE when the message was handled
// (FALSE lets the dialog manager do its default processing), or the value
// itself for WM_INITDIALOG and WM_QUERYDRAGICON.
INT_PTR Win32Dialog::OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return dlg_.OnInitDialog() ? TRUE : FALSE;

        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (code == BN_CLICKED) ClearRestOfRadioGroup(id);
            if (dlg_.Dispatch(wm::Command, code, id)) return TRUE;
            // Enter, Escape and the close box end the dialog; it is destroyed
            // afterwards, with every control still there while WM_DESTROY runs.
            if ((id == IDOK || id == IDCANCEL) && code == BN_CLICKED) {
                EndDialog(hwnd_, id);
                return TRUE;
            }
            return FALSE;
        }

        case WM_NOTIFY: {
            const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
            std::intptr_t result = 0;
            if (!dlg_.Dispatch(wm::Notify, static_cast<int>(header.code), static_cast<int>(header.idFrom), &result))
                return FALSE;
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }

        case WM_PAINT:
            paintLeftToDefault_ = false;
            dlg_.Dispatch(wm::Paint, 0, 0);
            return paintLeftToDefault_ ? FALSE : TRUE;

        case WM_QUERYDRAGICON: {
            std::intptr_t icon = 0;
            dlg_.Dispatch(wm::QueryDragIcon, 0, 0, &icon);
            return icon;
        }

        // The panel acts on these; the default processing still follows.
        case WM_SHOWWINDOW:
            dlg_.Dispatch(wm::ShowWindow, 0, 0);
            ShowNotices(hwnd_);  // what the start-up found wrong, e.g. an unreadable settings file
            return FALSE;
        case WM_DESTROY: dlg_.Dispatch(wm::Destroy, 0, 0); return FALSE;

        default: return FALSE;
    }
}
