// korvane16-ctl apply: the panel itself, started on the dialog without a screen
// with the show-panel flag taken as 0 and left in the file as it stands. The
// start-up programs the board from the file and asks to quit; the close stops
// the board and saves the settings, as after any panel start that quits. A
// save that did not complete has been told by the settings layer.
#include <sstream>

#include "app/frontend.hpp"
#include "app/launch_options.hpp"
#include "app/panel_app.hpp"
#include "app/panel_dlg.hpp"
#include "ctl/ctl_commands.hpp"
#include "ctl/panel_claim.hpp"
#include "ctl/setting_names.hpp"
#include "ctl/settings_view.hpp"
#include "driver/driver_table.hpp"
#include "headless/headless_dialog.hpp"
#include "settings/settings_file.hpp"

namespace {

// The dialog without a screen, shown and closed at once.
class ApplyFrontend final : public Frontend {
public:
    int RunModal(CTvPanelDlg& dlg) override {
        std::ostringstream events;  // the quit request; no message box can come up
        HeadlessDialog dialog(dlg, events);
        dialog.Create();
        driverLoaded_ = DriverLoaded();
        dialog.End();
        return 0;
    }

    // Whether the start-up loaded the driver library.
    bool DriverWasLoaded() const { return driverLoaded_; }

private:
    bool driverLoaded_ = false;
};

}  // namespace

int ApplySettings(const CommandOptions& options, std::ostream& out, std::ostream& err) {
    // The session's panel claim, held until the board is programmed and the
    // file saved, as a panel holds it: a panel started meanwhile stops.
    const auto claim = ClaimSession("apply would program the board under it", err);
    if (!claim) return exit_status::Failure;
    if (!CheckReadable(err)) return exit_status::Failure;
    if (options.dryRun) {
        // What the board would be programmed with, as list shows it.
        const std::vector<std::string> shown = ShownValues(ReadStoredValues());
        for (std::size_t i = 0; i < shown.size(); ++i) out << AllSettings()[i].name << ' ' << shown[i] << '\n';
        return exit_status::Ok;
    }
    launchOptions.showPanelFlag = ShowPanelFlagUse::QuitKeepingTheFlag;
    ApplyFrontend frontend;
    theApp.InitInstance(frontend);
    if (!frontend.DriverWasLoaded()) {
        err << "korvane16-ctl: no driver library TAVRIND.dll could be loaded: nothing was programmed\n";
        return exit_status::Failure;
    }
    return SaveIncomplete() ? exit_status::Failure : exit_status::Ok;
}
