// korvane16: the panel with its desktop dialog.
#include <QApplication>
#include <QGuiApplication>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/launch_options.hpp"
#include "app/panel_app.hpp"
#include "platform/desktop_settings_folder.hpp"
#include "platform/diagnostics.hpp"
#include "platform/panel_instance.hpp"
#include "platform/standard_output.hpp"
#include "qt/command_line.hpp"
#include "qt/display_opening.hpp"
#include "qt/qt_frontend.hpp"
#include "settings/settings_file.hpp"
#include "settings/settings_lock.hpp"

namespace {

// --desktop: into the folder of the desktop starts' settings file. False, said
// on standard error, when there is none to be had.
bool EnterDesktopSettingsFolder() {
    std::string error;
    const std::optional<std::string> folder = platform::DesktopSettingsFolder(error);
    if (folder && chdir(folder->c_str()) != 0) error = "cannot enter " + *folder;
    else if (folder) return true;
    platform::TellOperator(error);
    return false;
}

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

int main(int argc, char** argv) {
    platform::GuardStandardStreams();
    const CommandLine line = ReadCommandLine(argc, argv);
    switch (line.action) {
        case CommandLine::Action::Help:
            std::fputs(HelpText().c_str(), stdout);
            return platform::FinishStandardOutput("korvane16", 0);
        case CommandLine::Action::Version:
            std::fputs(VersionText().c_str(), stdout);
            return platform::FinishStandardOutput("korvane16", 0);
        case CommandLine::Action::Refuse: std::fputs(line.refusal.c_str(), stderr); return 2;
        case CommandLine::Action::RunPanel: break;
    }
    // Without a display the toolkit would abort with a long report; say it in one line.
    if (!line.platformGiven && !Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM")) {
        std::fputs("korvane16: no display to show the panel on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "run it on a virtual one with: xvfb-run -a korvane16\n",
                   stderr);
        return 1;
    }

    SettingsLock();  // made before any window: a panel without it ends here

    // One panel per session: a second one would stop the board under the
    // first at its close. It touches neither the board nor the settings file.
    platform::PanelInstance instance;
    if (instance.State() == platform::PanelInstance::Claim::AnotherPanelRuns) {
        // Said only when the running panel confirms it.
        const platform::FrontAnswer answer = platform::AskRunningPanelToFront();
        const char* front = answer == platform::FrontAnswer::BroughtToFront ? "; its window was brought to the front"
                            : answer == platform::FrontAnswer::Unanswered
                                ? "; it did not answer the request to come to the front"
                                : "";
        platform::TellOperator(std::string("a panel is already running in this session") + front + "; this one stops");
        return 1;
    }
    if (instance.State() == platform::PanelInstance::Claim::Failed) {
        platform::TellOperator("cannot tell whether another panel runs: " + instance.Error());
        return 1;
    }

    if (line.show) launchOptions.showPanelFlag = ShowPanelFlagUse::ShowWhateverTheFlag;
    std::vector<char*> toolkitArguments;
    std::vector<std::string> toolkitWords = line.toolkitArguments;
    for (std::string& word : toolkitWords) toolkitArguments.push_back(word.data());
    int toolkitCount = static_cast<int>(toolkitArguments.size());
    toolkitArguments.push_back(nullptr);
    std::optional<DisplayOpening> opening(std::in_place, "korvane16");
    QApplication application(toolkitCount, toolkitArguments.data());
    opening.reset();
    QGuiApplication::setDesktopFileName(QStringLiteral("korvane16"));
    if (line.desktop && !EnterDesktopSettingsFolder()) return 1;
    QtFrontend frontend(&instance);
    theApp.InitInstance(frontend);
    return SaveIncomplete() ? 1 : 0;
}
