// korvane16-harness [SCRIPT]: the real panel on the headless dialog, worked by
// the operator actions of SCRIPT (or standard input).
#include <fstream>
#include <iostream>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "app/panel_app.hpp"
#include "headless/harness_script.hpp"
#include "headless/headless_dialog.hpp"
#include "settings/settings_file.hpp"

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
#if defined(_WIN32)
    // Lines end with a line feed alone on every platform.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc > 2) {
        std::cerr << "usage: korvane16-harness [SCRIPT]\n";
        return 2;
    }
    std::ifstream file;
    if (argc == 2) {
        file.open(argv[1], std::ios::binary);
        if (!file) {
            std::cerr << "korvane16-harness: cannot read " << argv[1] << '\n';
            return 2;
        }
        script = &file;
        scriptName = argv[1];
    }
    theApp.InitInstance();
    // A script error outranks a save that did not complete.
    if (harnessStatus == 0 && SaveIncomplete()) return 1;
    return harnessStatus;
}
