// What the command line asked of this run of the panel. The desktop programs
// set it before the application object runs the dialog.
#pragma once

struct LaunchOptions {
    // --show: the panel shows as if the show-panel flag were 1.
    bool showWhateverTheFlag = false;
};

extern LaunchOptions launchOptions;
