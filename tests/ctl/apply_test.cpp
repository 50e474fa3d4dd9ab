// korvane16-ctl apply against the panel itself: the board must see what it sees
// when the panel starts with the show-panel flag at 0, and the file must be
// left as that start leaves it, the flag excepted.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

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
    const ToolResult r = folder.Run({"apply"});
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
        const ToolResult r = folder.Run({"apply"});
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
    const ToolResult r = folder.RunAlone({"apply"});
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

TEST(CtlApply, AFileThatCannotBeReadIsNotProgrammed) {
    CtlFolder folder;
    std::filesystem::create_directory(folder.Path("folder.ini"));
    const ToolResult r = folder.Run({"--file", folder.Path("folder.ini"), "apply"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(SplitLines(r.err).size(), 1u) << r.err;
    EXPECT_TRUE(folder.Journal().empty());
}

}  // namespace
