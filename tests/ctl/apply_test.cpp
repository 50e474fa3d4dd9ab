// korvane16-ctl apply against the panel itself: the board must see what it sees
// when the panel starts with the show-panel flag at 0, and the file must be
// left as that start leaves it, the flag excepted.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/ctl/ctl_run.hpp"
#include "tests/harness/panel_run.hpp"

namespace {

// A settings file with FLAG_LINE for the show-panel flag.
std::string Stored(const std::string& flagLine) {
    return "[General]\n" + flagLine +
           "DIV=6\nPosition0=5\nPosition1=4\nPosition2=3\nPosition3=2\nPosition4=1\nPosition5=0\n"
           "[Format]\nPAL=1\n[Camera]\nCamera2=0\nCamera9=2\n[Attribute3]\nBrightness=40\nHUE=300\n";
}

// The panel started with the flag at 0: its journal and the file it left.
RunResult PanelStartThatQuits() {
    PanelRun panel;
    panel.WriteSettings(Stored("SetParameter=0\n"));
    RunResult r = panel.Run("show\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "quit 0\n");
    return r;
}

std::vector<SettingsEntry> Without(std::vector<SettingsEntry> entries, const std::string& key) {
    std::erase_if(entries, [&key](const SettingsEntry& e) { return e.key == key; });
    return entries;
}

TEST(CtlApply, TheBoardSeesWhatAPanelStartThatQuitsGivesIt) {
    const RunResult panel = PanelStartThatQuits();
    CtlFolder folder;
    folder.WriteSettings(Stored("SetParameter=0\n"));
    const Finished r = folder.Run({"apply"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(folder.Journal(), panel.journal);
    EXPECT_EQ(folder.Settings(), panel.settingsText);
}

TEST(CtlApply, TheShowPanelFlagKeepsItsValueOrItsAbsence) {
    const RunResult panel = PanelStartThatQuits();
    for (const std::string flag : {"SetParameter=1\n", "SetParameter=7\n", ""}) {
        SCOPED_TRACE(flag);
        CtlFolder folder;
        folder.WriteSettings(Stored(flag));
        const Finished r = folder.Run({"apply"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(folder.Journal(), panel.journal);
        const std::vector<SettingsEntry> left = ParseSettings(folder.Settings());
        EXPECT_EQ(Without(left, "SetParameter"), Without(panel.settings, "SetParameter"));
        const auto flagEntry = std::find_if(left.begin(), left.end(),
                                            [](const SettingsEntry& e) { return e.key == "SetParameter"; });
        if (flag.empty())
            EXPECT_EQ(flagEntry, left.end());
        else
            EXPECT_EQ(flagEntry->key + "=" + flagEntry->value + "\n", flag);
    }
}

TEST(CtlApply, WithoutADriverNothingIsProgrammedOrWrittenAndItFails) {
    CtlFolder folder;
    folder.WriteSettings(Stored(""));
    const Finished r = folder.RunAlone({"apply"});
    EXPECT_EQ(r.status, 1);
    // The panel's loader says where it looked; the tool says what that means.
    const std::vector<std::string> lines = SplitLines(r.err);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(r.err.find("TAVRIND.dll"), std::string::npos) << r.err;
    EXPECT_EQ(lines.back().rfind("korvane16-ctl: ", 0), 0u) << r.err;
    EXPECT_NE(lines.back().find("nothing was programmed"), std::string::npos) << r.err;
    EXPECT_TRUE(folder.Journal().empty());
    EXPECT_EQ(folder.Settings(), Stored(""));
}

// The desktop panel to run beside the tool, or empty where none is built.
std::string Panel() {
    const char* panel = std::getenv("KORVANE16_PANEL");
    return panel != nullptr ? panel : KORVANE16_DEFAULT_PANEL;
}

TEST(CtlApply, IsRefusedWhileAPanelRunsAndWorksOnceItHasClosed) {
    if (Panel().empty()) GTEST_SKIP() << "no desktop panel in this build";
    CtlFolder folder;
    folder.WriteSettings(Stored("SetParameter=1\n"));
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const pid_t panel = folder.StartProgram(Panel(), {}, "panel");
    unsetenv("QT_QPA_PLATFORM");
    // The panel is up once its start-up has written 0 to the show-panel flag.
    const auto started = std::chrono::steady_clock::now();
    while (folder.Settings().find("SetParameter=0") == std::string::npos &&
           std::chrono::steady_clock::now() - started < std::chrono::seconds(20))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::vector<std::string> journal = folder.Journal();
    const std::string settings = folder.Settings();
    ASSERT_NE(settings.find("SetParameter=0"), std::string::npos) << ReadFileText(folder.Path("panel.err"));

    const Finished refused = folder.Run({"apply"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(SplitLines(refused.err).size(), 1u) << refused.err;
    EXPECT_NE(refused.err.find("panel is running"), std::string::npos) << refused.err;
    EXPECT_EQ(folder.Journal(), journal);
    EXPECT_EQ(folder.Settings(), settings);

    // Closed as its close box does, the panel stops the board and saves.
    kill(panel, SIGTERM);
    EXPECT_EQ(folder.Wait(panel, "panel").status, 0);
    const std::size_t closed = folder.Journal().size();
    EXPECT_EQ(folder.Journal().back(), "unload");
    const Finished applied = folder.Run({"apply"});
    EXPECT_EQ(applied.status, 0) << applied.err;
    EXPECT_GT(folder.Journal().size(), closed);
}

TEST(CtlApply, AFileThatCannotBeReadIsNotProgrammed) {
    CtlFolder folder;
    std::filesystem::create_directory(folder.Path("folder.ini"));
    const Finished r = folder.Run({"--file", folder.Path("folder.ini"), "apply"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(SplitLines(r.err).size(), 1u) << r.err;
    EXPECT_TRUE(folder.Journal().empty());
}

}  // namespace
