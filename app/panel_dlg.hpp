// The panel's one dialog. Its handlers forward each message to the subsystem
// that does the work (sequences/, layout/, channels/), handing it the controls;
// app/ also holds the message table and the window chores.
#pragma once

#include <cstdint>

#include "app/dialog_window.hpp"
#include "dialog/dialog_controls.hpp"

class CTvPanelDlg {
public:
    // ICON is the dialog's own, shown in its title bar and while minimised.
    explicit CTvPanelDlg(IconHandle icon = nullptr);

    // Connects the dialog to the frontend's window before the first message.
    void Attach(DialogControls& controls, DialogWindow& window);

    // Routes a message through the message table. Returns false when no entry
    // matches, so the frontend does its default processing.
    bool Dispatch(unsigned message, int code, int id, std::intptr_t* result = nullptr);

    bool OnInitDialog();

    // Window chores.
    int OnCreate();
    void OnPaint();
    IconHandle OnQueryDragIcon();

    // Start-up, video standard and shut-down (sequences/).
    void OnShowWindow();
    void OnVideoNtsc();
    void OnVideoPal();
    void OnDestroy();

    // Layout editors (layout/).
    void OnApplyDiv1();
    void OnApplyDiv4();
    void OnApplyDiv6();
    void OnApplyDiv8();
    void OnApplyDiv9();
    void OnApplyDiv10();
    void OnApplyDiv13();
    void OnApplyDiv16();

    // Channel enables (channels/).
    void OnCam1();
    void OnCam2();
    void OnCam3();
    void OnCam4();
    void OnCam5();
    void OnCam6();
    void OnCam7();
    void OnCam8();
    void OnCam9();
    void OnCam10();
    void OnCam11();
    void OnCam12();
    void OnCam13();
    void OnCam14();
    void OnCam15();
    void OnCam16();
    void OnAllOn();
    void OnAllOff();

    // Picture attributes (channels/).
    void OnBrightnessReleased(std::intptr_t* result);
    void OnContrastReleased(std::intptr_t* result);
    void OnHueReleased(std::intptr_t* result);
    void OnSaturationReleased(std::intptr_t* result);
    void OnChannelUpdate();
    void OnChannelChange();
    void OnDefault();
    void OnSetAll();

private:
    DialogControls& Controls() { return *controls_; }

    IconHandle m_hIcon = nullptr;
    DialogControls* controls_ = nullptr;
    DialogWindow* window_ = nullptr;
};
