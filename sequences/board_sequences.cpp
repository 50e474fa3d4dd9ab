#include "sequences/board_sequences.hpp"

#include <string>

#include "channels/attribute_sliders.hpp"
#include "dialog/control_ids.hpp"
#include "driver/board_passes.hpp"
#include "driver/driver_table.hpp"
#include "layout/layout_radios.hpp"
#include "layout/layout_tables.hpp"
#include "platform/diagnostics.hpp"
#include "platform/file_names.hpp"
#include "settings/settings_file.hpp"

namespace {

// The start-up runs once per dialog: running it again would load the library a
// second time, drop the operator's unsaved changes and, since the first run
// wrote "0" to the show-panel flag, quit the panel.
bool startedUp = false;

void BringUpBoard(DialogControls& controls) {
    controls.SetCheck(ids::ShowApplication, 1);

    ReadLayoutCode();
    SelectSavedLayoutRadio(controls, panelState.layoutCode);

    ReadVideoStandard();
    controls.SetCheck(panelState.videoStandard != 0 ? ids::Pal : ids::Ntsc, 1);
    const int standard = panelState.videoStandard != 0 ? 1 : 0;

    ReadCameraEnables();
    for (int ch = 0; ch < kChannelCount; ++ch)
        if (panelState.cameraEnable[ch] != 0) controls.SetCheck(ids::CamBox(ch), 1);

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

// Without this line a panel that quits at once leaves its operator with no
// idea why, nor how to get it back.
void TellWhyThePanelCloses() {
    platform::TellOperator(std::string(DriverLoaded() ? "the board was programmed and " : "") +
                           "the panel closes at once because " + kShowPanelKey + " is 0 in [General] of " +
                           platform::FullFileName(SettingsFile().c_str()) + "; start it with --show to open it");
}

}  // namespace

void StartUp(DialogControls& controls, ShowPanelFlagUse flag) {
    if (startedUp) return;
    startedUp = true;

    SliderSetUp(controls);
    controls.SetText(ids::ChannelBox, "1");
    RemoveStaleSettingsTemporaries();

    LoadDriver();
    if (DriverLoaded()) BringUpBoard(controls);

    // A start without the driver leaves the file alone: writing "0" to the flag
    // would hide the panel on every later start, since that close writes nothing.
    if (!TakeShowPanelFlag(DriverLoaded(), flag)) {
        controls.SetCheck(ids::ShowApplication, 0);
        // A program that asked for the quit knows why.
        if (flag != ShowPanelFlagUse::QuitKeepingTheFlag) TellWhyThePanelCloses();
        controls.PostQuit(0);
    }
}

void ChangeVideoStandard(DialogControls& controls, VideoStandard standard) {
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
        SliderSetUp(controls);
        ShowOnSliders(controls, panelState.attributes[0]);
        CallDriver(driverTable.OvrRun);
        CallDriver(driverTable.OvrCaptureStart);
        ResetToDefaultLayout();
        CallDriver(driverTable.OvrEdgeEnhance, 0);
    }
    SelectDefaultLayoutRadioAlone(controls);
}

void ShutDown(DialogControls& controls, ShowPanelFlagUse flag) {
    if (!DriverLoaded()) return;
    CallDriver(driverTable.OvrCaptureStop);
    CallDriver(driverTable.OvrStop);
    ChannelEnablePass();
    CallDriver(driverTable.OvrEndup);
    ReleaseDriver();
    SavePanelState(controls.GetCheck(ids::ShowApplication) == 1, flag);
}

void ResetBoardSequences() {
    ReleaseDriver();
    startedUp = false;
}
