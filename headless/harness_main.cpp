// korvane16-harness [SCRIPT]: the real panel on the headless dialog, worked by
// the operator actions of SCRIPT (or standard input).
#include <iostream>
#include <memory>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "app/panel_app.hpp"
#include "headless/harness_script.hpp"
#include "headless/headless_dialog.hpp"
#include "headless/script_input.hpp"
#include "platform/standard_output.hpp"
#include "platform/termination_signals.hpp"
#include "settings/settings_file.hpp"
#include "settings/settings_lock.hpp"

namespace {
std::istream* script = &std::cin;
std::string scriptName = "stdin";
int harnessStatus = 0;
}  // namespace

IconHandle LoadIconResource(int) { return nullptr; }

int RunModalDialog(CTvPanelDlg& dlg) {
    HeadlessDialog dialog(dlg, std::cout);
    harnessStatus = RunHarnessScript(*script, scriptName, dialog, std::cout, std::cerr);
    return 0;
}

int main(int argc, char** argv) {
    platform::GuardStandardStreams();
#if defined(_WIN32)
    // Lines end with a line feed alone on every platform.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc > 2) {
        std::cerr << "usage: korvane16-harness [SCRIPT]\n";
        return 2;
    }
    // A termination signal ends the script where it stands; the panel then
    // closes as at the script's end.
    platform::CatchTerminationSignals();
    std::string error;
    const std::unique_ptr<std::istream> input = OpenScript(argc == 2 ? argv[1] : nullptr, error);
    if (!input) {
        std::cerr << "korvane16-harness: " << error << '\n';
        return 2;
    }
    script = input.get();
    if (argc == 2) scriptName = argv[1];
    SettingsLock();  // made before the panel starts: a harness without it ends here
    theApp.InitInstance();
    // A script error outranks a save that did not complete.
    if (harnessStatus == 0 && SaveIncomplete()) harnessStatus = 1;
    return platform::FinishStandardOutput("korvane16-harness", harnessStatus);
}
