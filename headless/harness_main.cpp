// korvane16-harness [SCRIPT]: the real panel on the headless dialog, worked by
// the operator actions of SCRIPT (or standard input).
#include <iostream>
#include <memory>
#include <string>
#include <utility>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "app/frontend.hpp"
#include "app/panel_app.hpp"
#include "headless/harness_script.hpp"
#include "headless/headless_dialog.hpp"
#include "headless/script_input.hpp"
#include "platform/standard_output.hpp"
#include "platform/termination_signals.hpp"
#include "settings/settings_file.hpp"
#include "settings/settings_lock.hpp"

namespace {

// The dialog without a screen, worked by the script's operator actions.
class HarnessFrontend final : public Frontend {
public:
    HarnessFrontend(std::istream& script, std::string scriptName) : script_(script), scriptName_(std::move(scriptName)) {}

    int RunModal(CTvPanelDlg& dlg) override {
        HeadlessDialog dialog(dlg, std::cout);
        status_ = RunHarnessScript(script_, scriptName_, dialog, std::cout, std::cerr);
        return 0;
    }

    // The script's exit status: 0, or 2 after an error in it.
    int Status() const { return status_; }

private:
    std::istream& script_;
    std::string scriptName_;
    int status_ = 0;
};

}  // namespace

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
    HarnessFrontend frontend(*input, argc == 2 ? argv[1] : "stdin");
    SettingsLock();  // made before the panel starts: a harness without it ends here
    theApp.InitInstance(frontend);
    // A script error outranks a save that did not complete.
    const int status = frontend.Status() == 0 && SaveIncomplete() ? 1 : frontend.Status();
    return platform::FinishStandardOutput("korvane16-harness", status);
}
