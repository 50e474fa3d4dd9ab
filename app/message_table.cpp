// The dialog's message table: (message, notification, control id) -> handler.
#include <span>

#include "app/dialog_template.hpp"
#include "app/panel_dlg.hpp"
#include "app/window_messages.hpp"
#include "dialog/control_ids.hpp"

namespace {

using Thunk = std::intptr_t (*)(CTvPanelDlg&, std::intptr_t*);

struct MessageEntry {
    unsigned message;
    int code;
    int id;
    Thunk handler;
};

template <void (CTvPanelDlg::*Handler)()>
std::intptr_t Call(CTvPanelDlg& dlg, std::intptr_t*) {
    (dlg.*Handler)();
    return 0;
}

template <void (CTvPanelDlg::*Handler)(std::intptr_t*)>
std::intptr_t CallNotify(CTvPanelDlg& dlg, std::intptr_t* result) {
    (dlg.*Handler)(result);
    return *result;
}

std::intptr_t CallCreate(CTvPanelDlg& dlg, std::intptr_t*) { return dlg.OnCreate(); }

std::intptr_t CallQueryDragIcon(CTvPanelDlg& dlg, std::intptr_t*) {
    return reinterpret_cast<std::intptr_t>(dlg.OnQueryDragIcon());
}

constexpr MessageEntry Message(unsigned message, Thunk handler) { return {message, 0, 0, handler}; }
constexpr MessageEntry Clicked(int id, Thunk handler) { return {wm::Command, notify::BnClicked, id, handler}; }
constexpr MessageEntry Released(int id, Thunk handler) {
    return {wm::Notify, notify::NmReleasedCapture, id, handler};
}

using D = CTvPanelDlg;

constexpr MessageEntry kMessageTable[] = {
    Message(wm::Paint, Call<&D::OnPaint>),
    Message(wm::QueryDragIcon, CallQueryDragIcon),
    Message(wm::Destroy, Call<&D::OnDestroy>),
    Message(wm::Create, CallCreate),
    Message(wm::ShowWindow, Call<&D::OnShowWindow>),
    Clicked(ids::ApplyDiv1, Call<&D::OnApplyDiv1>),
    Clicked(ids::ApplyDiv4, Call<&D::OnApplyDiv4>),
    Clicked(ids::ApplyDiv6, Call<&D::OnApplyDiv6>),
    Clicked(ids::ApplyDiv8, Call<&D::OnApplyDiv8>),
    Clicked(ids::ApplyDiv9, Call<&D::OnApplyDiv9>),
    Clicked(ids::ApplyDiv10, Call<&D::OnApplyDiv10>),
    Clicked(ids::ApplyDiv16, Call<&D::OnApplyDiv16>),
    Clicked(ids::Ntsc, Call<&D::OnVideoNtsc>),
    Clicked(ids::Pal, Call<&D::OnVideoPal>),
    Clicked(ids::CamBox(0), Call<&D::OnCam1>),
    Clicked(ids::CamBox(1), Call<&D::OnCam2>),
    Clicked(ids::CamBox(2), Call<&D::OnCam3>),
    Clicked(ids::CamBox(3), Call<&D::OnCam4>),
    Clicked(ids::CamBox(4), Call<&D::OnCam5>),
    Clicked(ids::CamBox(5), Call<&D::OnCam6>),
    Clicked(ids::CamBox(6), Call<&D::OnCam7>),
    Clicked(ids::CamBox(7), Call<&D::OnCam8>),
    Clicked(ids::CamBox(8), Call<&D::OnCam9>),
    Clicked(ids::CamBox(9), Call<&D::OnCam10>),
    Clicked(ids::CamBox(10), Call<&D::OnCam11>),
    Clicked(ids::CamBox(11), Call<&D::OnCam12>),
    Clicked(ids::CamBox(12), Call<&D::OnCam13>),
    Clicked(ids::CamBox(13), Call<&D::OnCam14>),
    Clicked(ids::CamBox(14), Call<&D::OnCam15>),
    Clicked(ids::CamBox(15), Call<&D::OnCam16>),
    Clicked(ids::AllOn, Call<&D::OnAllOn>),
    Clicked(ids::AllOff, Call<&D::OnAllOff>),
    Released(ids::BrightnessSlider, CallNotify<&D::OnBrightnessReleased>),
    Released(ids::ContrastSlider, CallNotify<&D::OnContrastReleased>),
    Released(ids::HueSlider, CallNotify<&D::OnHueReleased>),
    Released(ids::SaturationSlider, CallNotify<&D::OnSaturationReleased>),
    Clicked(ids::DefaultButton, Call<&D::OnDefault>),
    Clicked(ids::SetAllButton, Call<&D::OnSetAll>),
    {wm::Command, notify::EnUpdate, ids::ChannelBox, Call<&D::OnChannelUpdate>},
    {wm::Command, notify::EnChange, ids::ChannelBox, Call<&D::OnChannelChange>},
    Clicked(ids::ApplyDiv13, Call<&D::OnApplyDiv13>),
};

// Every control the table names exists in the dialog template and is of a kind
// that sends the notification its entry waits for.
constexpr bool EveryEntryFitsItsControl() {
    for (const MessageEntry& entry : kMessageTable) {
        if (entry.message != wm::Command && entry.message != wm::Notify) continue;
        const std::optional<ControlSpec> control = FindControl(entry.id);
        if (!control) return false;
        const ControlKind kind = control->kind;
        const bool fits = entry.code == notify::BnClicked
                              ? kind == ControlKind::PushButton || kind == ControlKind::CheckBox ||
                                    kind == ControlKind::Radio
                              : entry.code == notify::NmReleasedCapture ? kind == ControlKind::Trackbar
                                                                        : kind == ControlKind::Edit;
        if (!fits) return false;
    }
    return true;
}
static_assert(EveryEntryFitsItsControl());


}  // namespace

bool CTvPanelDlg::Dispatch(unsigned message, int code, int id, std::intptr_t* result) {
    const bool routedByControl = message == wm::Command || message == wm::Notify;
    for (const MessageEntry& entry : kMessageTable) {
        if (entry.message != message) continue;
        if (routedByControl && (entry.code != code || entry.id != id)) continue;
        std::intptr_t scratch = 0;
        const std::intptr_t value = entry.handler(*this, result ? result : &scratch);
        if (result) *result = value;
        return true;
    }
    return false;
}
