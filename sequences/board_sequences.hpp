// The three sequences that drive the board as a whole: the start-up when the
// dialog is shown, the video-standard change, and the shut-down.
#pragma once

#include "dialog/dialog_controls.hpp"
#include "settings/panel_state.hpp"
#include "settings/settings_file.hpp"

// Loads the driver, reads the settings, brings the board up and makes the
// show-panel decision, taking the flag as FLAG says. Runs once per process
// state (see ResetBoardSequences).
void StartUp(DialogControls& controls, ShowPanelFlagUse flag);

// Re-programs the whole board for STANDARD in two complete passes and falls
// back to the 16-tile layout. Does nothing while no driver is loaded.
void ChangeVideoStandard(DialogControls& controls, VideoStandard standard);

// Stops the board, releases the driver and saves every setting (the show-panel
// flag as FLAG says); nothing when no driver is loaded.
void ShutDown(DialogControls& controls, ShowPanelFlagUse flag);

// Back to the process-start state: no driver loaded (one still loaded is
// released), no start-up run yet.
void ResetBoardSequences();
