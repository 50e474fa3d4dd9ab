// The dialog's message table: (message, notification, control id) -> handler.
#include <span>

#include "app/panel_dlg.hpp"
#include "app/window_messages.hpp"

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
    Clicked(1008, Call<&D::OnApplyDiv1>),
    Clicked(1009, Call<&D::OnApplyDiv4>),
    Clicked(1010, Call<&D::OnApplyDiv6>),
    Clicked(1011, Call<&D::OnApplyDiv8>),
    Clicked(1012, Call<&D::OnApplyDiv9>),
    Clicked(1013, Call<&D::OnApplyDiv10>),
    Clicked(1014, Call<&D::OnApplyDiv16>),
    Clicked(1001, Call<&D::OnVideoNtsc>),
    Clicked(1002, Call<&D::OnVideoPal>),
    Clicked(1017, Call<&D::OnCam1>),
    Clicked(1018, Call<&D::OnCam2>),
    Clicked(1019, Call<&D::OnCam3>),
    Clicked(1020, Call<&D::OnCam4>),
    Clicked(1021, Call<&D::OnCam5>),
    Clicked(1022, Call<&D::OnCam6>),
    Clicked(1023, Call<&D::OnCam7>),
    Clicked(1024, Call<&D::OnCam8>),
    Clicked(1025, Call<&D::OnCam9>),
    Clicked(1026, Call<&D::OnCam10>),
    Clicked(1027, Call<&D::OnCam11>),
    Clicked(1028, Call<&D::OnCam12>),
    Clicked(1029, Call<&D::OnCam13>),
    Clicked(1030, Call<&D::OnCam14>),
    Clicked(1031, Call<&D::OnCam15>),
    Clicked(1032, Call<&D::OnCam16>),
    Clicked(1033, Call<&D::OnAllOn>),
    Clicked(1034, Call<&D::OnAllOff>),
    Released(1035, CallNotify<&D::OnBrightnessReleased>),
    Released(1036, CallNotify<&D::OnContrastReleased>),
    Released(1037, CallNotify<&D::OnHueReleased>),
    Released(1038, CallNotify<&D::OnSaturationReleased>),
    Clicked(1041, Call<&D::OnDefault>),
    Clicked(1042, Call<&D::OnSetAll>),
    {wm::Command, notify::EnUpdate, 1040, Call<&D::OnChannelUpdate>},
    {wm::Command, notify::EnChange, 1040, Call<&D::OnChannelChange>},
    Clicked(1016, Call<&D::OnApplyDiv13>),
};

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
