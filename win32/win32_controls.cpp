// The panel's control operations and window chores on the native dialog.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "win32/win32_dialog.hpp"

LRESULT Win32Dialog::SendToControl(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(hwnd_, id, message, wParam, lParam);
}

std::string Win32Dialog::GetText(int id, int bufferChars) {
    if (bufferChars <= 0) return {};
    std::string text(static_cast<std::size_t>(bufferChars), '\0');
    const UINT length = GetDlgItemTextA(hwnd_, id, text.data(), bufferChars);
    text.resize(length);
    return text;
}

// An edit box raises EN_UPDATE and EN_CHANGE for a text set this way, before
// the call returns, as the panel relies on.
void Win32Dialog::SetText(int id, std::string_view text) { SetDlgItemTextA(hwnd_, id, std::string(text).c_str()); }

int Win32Dialog::GetCheck(int id) { return static_cast<int>(IsDlgButtonChecked(hwnd_, id)); }

void Win32Dialog::SetCheck(int id, int state) { CheckDlgButton(hwnd_, id, static_cast<UINT>(state)); }

void Win32Dialog::SetSliderRangeMin(int id, int minimum, bool redraw) {
    SendToControl(id, TBM_SETRANGEMIN, redraw, minimum);
}

void Win32Dialog::SetSliderRangeMax(int id, int maximum, bool redraw) {
    SendToControl(id, TBM_SETRANGEMAX, redraw, maximum);
}

void Win32Dialog::SetSliderLineSize(int id, int lineSize) { SendToControl(id, TBM_SETLINESIZE, 0, lineSize); }

int Win32Dialog::GetSliderPos(int id) { return static_cast<int>(SendToControl(id, TBM_GETPOS, 0, 0)); }

void Win32Dialog::SetSliderPos(int id, int position, bool redraw) { SendToControl(id, TBM_SETPOS, redraw, position); }

void Win32Dialog::ShowMessageBox(std::string_view text, std::string_view caption, unsigned type) {
    MessageBoxA(hwnd_, std::string(text).c_str(), std::string(caption).c_str(), type);
}

// The dialog's modal loop ends when it meets the quit message.
void Win32Dialog::PostQuit(int exitCode) { PostQuitMessage(exitCode); }

int Win32Dialog::DefaultCreate() { return static_cast<int>(DefDlgProcA(hwnd_, WM_CREATE, 0, createStruct_)); }

void Win32Dialog::SetIcon(IconHandle icon, bool big) {
    SendMessageA(hwnd_, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

bool Win32Dialog::IsMinimised() { return IsIconic(hwnd_) != FALSE; }

PixelSize Win32Dialog::ClientSize() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return {client.right - client.left, client.bottom - client.top};
}

PixelSize Win32Dialog::StandardIconSize() { return {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)}; }

void Win32Dialog::PaintIcon(IconHandle icon, int x, int y) {
    PAINTSTRUCT paint{};
    const HDC context = BeginPaint(hwnd_, &paint);
    SendMessageA(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
    DrawIcon(context, x, y, static_cast<HICON>(icon));
    EndPaint(hwnd_, &paint);
}

// The dialog procedure then reports WM_PAINT unhandled, and the dialog manager
// paints as usual.
void Win32Dialog::DefaultPaint() { paintLeftToDefault_ = true; }
