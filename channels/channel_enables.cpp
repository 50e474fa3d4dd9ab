// The "Video enable" group: one check box per channel, "All on" and "All off".
#include "app/control_ids.hpp"
#include "app/panel_dlg.hpp"
#include "driver/driver_table.hpp"
#include "settings/panel_state.hpp"

void CTvPanelDlg::OnCamClicked(int channel) {
    if (!DriverLoaded()) return;
    // The box has already been flipped: its state is the operator's choice.
    const int state = Controls().GetCheck(ctl::Cam1 + channel);
    if (state != 0 && state != 1) return;
    panelState.cameraEnable[channel] = state;
    CallDriver(driverTable.OvrEnableChannel, channel, state);
}

void CTvPanelDlg::SetAllChannels(int state) {
    if (!DriverLoaded()) return;
    // Ticking by program raises no click, so OnCamN does not run here.
    for (int id = ctl::Cam1; id <= ctl::Cam16; ++id) Controls().SetCheck(id, state);
    for (int ch = 0; ch < kChannelCount; ++ch) {
        panelState.cameraEnable[ch] = state;
        CallDriver(driverTable.OvrEnableChannel, ch, state);
    }
}

void CTvPanelDlg::OnAllOn() { SetAllChannels(1); }
void CTvPanelDlg::OnAllOff() { SetAllChannels(0); }

void CTvPanelDlg::OnCam1() { OnCamClicked(0); }
void CTvPanelDlg::OnCam2() { OnCamClicked(1); }
void CTvPanelDlg::OnCam3() { OnCamClicked(2); }
void CTvPanelDlg::OnCam4() { OnCamClicked(3); }
void CTvPanelDlg::OnCam5() { OnCamClicked(4); }
void CTvPanelDlg::OnCam6() { OnCamClicked(5); }
void CTvPanelDlg::OnCam7() { OnCamClicked(6); }
void CTvPanelDlg::OnCam8() { OnCamClicked(7); }
void CTvPanelDlg::OnCam9() { OnCamClicked(8); }
void CTvPanelDlg::OnCam10() { OnCamClicked(9); }
void CTvPanelDlg::OnCam11() { OnCamClicked(10); }
void CTvPanelDlg::OnCam12() { OnCamClicked(11); }
void CTvPanelDlg::OnCam13() { OnCamClicked(12); }
void CTvPanelDlg::OnCam14() { OnCamClicked(13); }
void CTvPanelDlg::OnCam15() { OnCamClicked(14); }
void CTvPanelDlg::OnCam16() { OnCamClicked(15); }
