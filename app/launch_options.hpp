// What the command line asked of this run of the panel. The desktop programs
// set it before the application object runs the dialog.
#pragma once

#include "settings/settings_file.hpp"

struct LaunchOptions {
    // How the start takes the show-panel flag: --show shows the panel as if it
    // were 1; korvane16-ctl apply quits as if it were 0 and keeps it.
    ShowPanelFlagUse showPanelFlag = ShowPanelFlagUse::FromFile;
};

extern LaunchOptions launchOptions;
