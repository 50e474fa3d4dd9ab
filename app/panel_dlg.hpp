// The panel's one dialog. The handlers are defined next to the subsystem they
// belong to: driver/ (start-up, video standard, shut-down), layout/ (layout
// editors), channels/ (channel enables and picture attributes); app/ holds the
// message table and the window chores.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "app/dialog_controls.hpp"
#include "app/dialog_window.hpp"
#include "driver/driver_call.hpp"
#include "settings/panel_state.hpp"

class CTvPanelDlg {
public:
    CTvPanelDlg();

    // Connects the dialog to the frontend's window before the first message.
    void Attach(DialogControls& controls, DialogWindow& window);

    // Routes a message through the message table. Returns false when no entry
    // matches, so the frontend does its default processing.
    bool Dispatch(unsigned message, int code, int id, std::intptr_t* result = nullptr);

    bool OnInitDialog();
    IconHandle Icon() const { return m_hIcon; }

    // Window chores (app/).
    int OnCreate();
    void OnPaint();
    IconHandle OnQueryDragIcon();

    // Start-up, video standard and shut-down (driver/).
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
    int ReadTunedChannel();

private:
    DialogControls& Controls() { return *controls_; }

    void OnCamClicked(int channel);
    void SetAllChannels(int state);
    void ApplyLayout(int layoutCode);
    void ChangeVideoStandard(int standard);
    // The driver's per-channel attribute setters share one signature.
    using SetAttributeEntry = std::int32_t(KORVANE16_DRIVER_CALL*)(std::int32_t channel, std::int32_t value);
    void ApplySliderRelease(int slider, std::int32_t ChannelAttributes::*field,
                            std::initializer_list<SetAttributeEntry> entries);

    IconHandle m_hIcon = nullptr;
    DialogControls* controls_ = nullptr;
    DialogWindow* window_ = nullptr;
    bool startedUp_ = false;
};
