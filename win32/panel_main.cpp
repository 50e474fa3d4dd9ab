// KORVANE16.exe: the panel on a native Windows dialog.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/dialog_template.hpp"
#include "app/frontend.hpp"
#include "app/launch_options.hpp"
#include "app/panel_app.hpp"
#include "platform/panel_instance.hpp"
#include "settings/settings_file.hpp"
#include "settings/settings_lock.hpp"
#include "win32/notices.hpp"
#include "win32/resource_ids.h"
#include "win32/win32_dialog.hpp"

static_assert(KORVANE16_ICON_RESOURCE == kDialog.iconId, "the resource script's icon is the dialog's icon");

namespace {

// The native Windows dialog, with the icon of the program's resources.
class Win32Frontend final : public Frontend {
public:
    IconHandle LoadAppIcon(int resourceId) override {
        return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId));
    }

    int RunModal(CTvPanelDlg& dlg) override {
        Win32Dialog dialog(dlg);
        return static_cast<int>(dialog.RunModal());
    }
};

// --show among the program's arguments (case as typed; other words are left alone).
bool ShowRequested() {
    for (int i = 1; i < __argc; ++i)
        if (std::string(__argv[i]) == "--show") return true;
    return false;
}

// Restores the running panel's window and puts it in front; nullptr when it
// has none (yet).
HWND BringRunningPanelToFront() {
    const std::string caption(kDialog.caption);
    const HWND window = FindWindowA(kWindowClass, caption.c_str());
    if (window == nullptr) return nullptr;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    return window;
}

}  // namespace

// The settings lock is made first, before any window. The warnings (a driver
// that did not load, trouble with the settings file) are shown in message
// boxes: at start-up once the dialog shows, at the end once it has gone.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    SettingsLock();
    // One panel per session: a second one would stop the board under the first
    // at its close. It touches neither the board nor the settings file.
    platform::PanelInstance instance;
    if (instance.State() != platform::PanelInstance::Claim::Ours) {
        const std::string caption(kDialog.caption);
        std::string text;
        HWND panel = nullptr;
        if (instance.State() == platform::PanelInstance::Claim::AnotherPanelRuns) {
            panel = BringRunningPanelToFront();
            text = panel != nullptr ? "KORVANE16 is already running: its window has been brought to the front."
                                    : "KORVANE16 is already running.";
        } else {
            text = "KORVANE16 cannot tell whether it is already running: " + instance.Error();
        }
        MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
        // The box took the front while it was open; the panel gets it back, so
        // the operator is left looking at the panel and not at what lay behind it.
        if (panel != nullptr && IsWindow(panel)) SetForegroundWindow(panel);
        return 1;
    }
    if (ShowRequested()) launchOptions.showPanelFlag = ShowPanelFlagUse::ShowWhateverTheFlag;
    Win32Frontend frontend;
    theApp.InitInstance(frontend);
    ShowNotices(nullptr);
    return SaveIncomplete() ? 1 : 0;
}
