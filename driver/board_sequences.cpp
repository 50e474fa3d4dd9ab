// The three sequences that drive the board as a whole: the start-up when the
// dialog is shown, the video-standard change, and the shut-down.
#include "app/control_ids.hpp"
#include "app/panel_dlg.hpp"
#include "driver/board_passes.hpp"
#include "driver/driver_table.hpp"
#include "layout/layout_tables.hpp"
#include "settings/settings_file.hpp"

namespace {

// The "Apply" radio of the saved layout; the "DIV 16" one for any other code.
int ApplyRadioFor(LayoutCode code) {
    const LayoutSpec* layout = FindLayout(code);
    return (layout ? *layout : *FindLayout(16)).applyRadio;
}

void BringUpBoard(DialogControls& controls) {
    controls.SetCheck(ctl::ShowApplication, 1);

    ReadLayoutCode();
    controls.SetCheck(ApplyRadioFor(panelState.layoutCode), 1);

    ReadVideoStandard();
    controls.SetCheck(panelState.videoStandard != 0 ? ctl::Pal : ctl::Ntsc, 1);
    const int standard = panelState.videoStandard != 0 ? 1 : 0;

    ReadCameraEnables();
    for (int ch = 0; ch < kChannelCount; ++ch)
        if (panelState.cameraEnable[ch] != 0) controls.SetCheck(ctl::Cam1 + ch, 1);

    ResolveDriverEntries();
    CallDriver(driverTable.OvrSetup, 0);
    CallDriver(driverTable.OvrSetVideoFormat, standard);
    ChannelEnablePass();
    ReadAttributes();
    AttributePass();
    ShowOnSliders(controls, panelState.attributes[0]);
    CallDriver(driverTable.OvrRun);
    CallDriver(driverTable.OvrCaptureStart);
    RestoreSavedLayout(controls);
    CallDriver(driverTable.OvrEdgeEnhance, 0);
}

}  // namespace

void CTvPanelDlg::OnShowWindow() {
    // The start-up runs once per dialog: running it again would load the
    // library a second time, drop the operator's unsaved changes and, since the
    // first run wrote "0" to the show-panel flag, quit the panel.
    if (startedUp_) return;
    startedUp_ = true;

    SliderSetUp(Controls());
    Controls().SetText(ctl::ChannelBox, "1");

    driverTable.library = nullptr;
    driverTable.library = platform::LoadDriverLibrary(kDriverLibraryName);
    if (DriverLoaded()) BringUpBoard(Controls());

    if (!TakeShowPanelFlag()) {
        Controls().SetCheck(ctl::ShowApplication, 0);
        Controls().PostQuit(0);
    }
}

void CTvPanelDlg::OnVideoNtsc() { ChangeVideoStandard(0); }

void CTvPanelDlg::OnVideoPal() { ChangeVideoStandard(1); }

void CTvPanelDlg::ChangeVideoStandard(int standard) {
    if (!DriverLoaded()) return;
    // The board is re-programmed in two complete passes.
    for (int pass = 0; pass < 2; ++pass) {
        panelState.videoStandard = standard;
        CallDriver(driverTable.OvrSetVideoFormat, standard);
        CallDriver(driverTable.OvrCaptureStop);
        CallDriver(driverTable.OvrStop);
        CallDriver(driverTable.OvrEndup);
        CallDriver(driverTable.OvrSetup, 0);
        CallDriver(driverTable.OvrSetVideoFormat, standard);
        ChannelEnablePass();
        AttributePass();
        SliderSetUp(Controls());
        ShowOnSliders(Controls(), panelState.attributes[0]);
        CallDriver(driverTable.OvrRun);
        CallDriver(driverTable.OvrCaptureStart);
        ResetToDefaultLayout();
        CallDriver(driverTable.OvrEdgeEnhance, 0);
    }
    const int radio16 = FindLayout(16)->applyRadio;
    Controls().SetCheck(radio16, 1);
    for (const LayoutSpec& layout : kLayouts)
        if (layout.applyRadio != radio16) Controls().SetCheck(layout.applyRadio, 0);
}

void CTvPanelDlg::OnDestroy() {
    if (!DriverLoaded()) return;
    CallDriver(driverTable.OvrCaptureStop);
    CallDriver(driverTable.OvrStop);
    ChannelEnablePass();
    CallDriver(driverTable.OvrEndup);
    platform::ReleaseLibrary(driverTable.library);
    driverTable = DriverTable{};
    SavePanelState(Controls().GetCheck(ctl::ShowApplication) == 1);
}
