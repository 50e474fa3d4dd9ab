// The panel's dialog as a native Windows modal dialog: built at run time from
// the dialog template, its messages handed to the panel's message table, its
// controls worked through the Windows dialog functions.
#pragma once

#include <windows.h>

#include "dialog/dialog_controls.hpp"
#include "app/dialog_window.hpp"

class CTvPanelDlg;

// The dialog's own window class. A dialog procedure never sees WM_CREATE, but
// the panel's message table routes it; a window procedure of the dialog's own
// class does see it, and hands everything else to the dialog manager. A second
// start finds the running panel's window by this class and its title.
inline constexpr const char* kWindowClass = "KORVANE16Dialog";

class Win32Dialog final : public DialogControls, public DialogWindow {
public:
    explicit Win32Dialog(CTvPanelDlg& dlg);
    Win32Dialog(const Win32Dialog&) = delete;
    Win32Dialog& operator=(const Win32Dialog&) = delete;

    // Creates the dialog, runs it until it ends and destroys it. Returns the
    // dialog's result, or -1 when it could not be created.
    INT_PTR RunModal();

    // DialogControls
    std::string GetText(int id, int bufferChars) override;
    void SetText(int id, std::string_view text) override;
    int GetCheck(int id) override;
    void SetCheck(int id, int state) override;
    void SetSliderRangeMin(int id, int minimum, bool redraw) override;
    void SetSliderRangeMax(int id, int maximum, bool redraw) override;
    void SetSliderLineSize(int id, int lineSize) override;
    int GetSliderPos(int id) override;
    void SetSliderPos(int id, int position, bool redraw) override;
    void ShowMessageBox(std::string_view text, std::string_view caption, unsigned type) override;
    void PostQuit(int exitCode) override;

    // DialogWindow
    int DefaultCreate() override;
    void SetIcon(IconHandle icon, bool big) override;
    bool IsMinimised() override;
    PixelSize ClientSize() override;
    PixelSize StandardIconSize() override;
    void PaintIcon(IconHandle icon, int x, int y) override;
    void DefaultPaint() override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreateMessage(LPARAM createStruct);
    INT_PTR OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT SendToControl(int id, UINT message, WPARAM wParam, LPARAM lParam);
    void ClearRestOfRadioGroup(int id);

    // The process runs one dialog at a time; its window procedures find it here.
    static Win32Dialog* running_;

    CTvPanelDlg& dlg_;
    HWND hwnd_ = nullptr;
    LPARAM createStruct_ = 0;
    bool paintLeftToDefault_ = false;
};
