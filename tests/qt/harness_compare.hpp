// Running the same operator scenario through the harness and through the
// desktop window, and comparing what each left.
#pragma once

#include <Qt>
#include <string>
#include <vector>

class PanelRun;
class QtPanelDialog;

using Lines = std::vector<std::string>;

// The lines the harness's "dump" prints, read from the window.
Lines DumpWindow(QtPanelDialog& window);

// The key the harness names NAME ("right", "pageup", ...).
Qt::Key QtKey(const std::string& name);

struct HarnessRun {
    int exitCode = -1;
    Lines messageBoxes, dump;
};

// Runs the harness on SCRIPT in FOLDER's working folder, with its journal; its
// printed lines without the quit request's.
HarnessRun RunHarness(const PanelRun& folder, const std::string& script);

// Where two line lists part, for the failure message.
std::string FirstDifference(const Lines& window, const Lines& harness);
