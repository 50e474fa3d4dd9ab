// The start-up and shut-down as the board and the settings file see them.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/harness/scenario.hpp"

namespace {

using board::Board;

// Byte for byte where this platform's own profile layer writes the file; key by
// key where the platform's writes their own line ends.
void ExpectSettingsFile(const RunResult& r, const std::string& expected) {
    if (PanelRun::Native())
        EXPECT_EQ(r.settingsText, expected);
    else
        EXPECT_EQ(r.settings, ParseSettings(expected));
}

// The file a first close leaves: the show-panel flag written at start, then the
// 98 settings in their write order, each key appended to its section.
std::vector<SettingsEntry> DefaultSettingsFile(const std::string& showPanel) {
    std::vector<SettingsEntry> file{{"General", "SetParameter", showPanel}, {"General", "DIV", "16"}};
    for (int i = 0; i < 16; ++i) file.push_back({"General", "Position" + std::to_string(i), std::to_string(i)});
    file.push_back({"Format", "PAL", "0"});
    for (int i = 1; i <= 16; ++i) file.push_back({"Camera", "Camera" + std::to_string(i), "1"});
    for (int i = 1; i <= 16; ++i) {
        const std::string section = "Attribute" + std::to_string(i);
        file.insert(file.end(), {{section, "Brightness", "100"},
                                 {section, "Contrast", "180"},
                                 {section, "HUE", "128"},
                                 {section, "Saturation", "128"}});
    }
    return file;
}

// A stored layout code and map as the board gets them: the layout records sent,
// one box's text, and the first map entry written back.
Scenario SavedLayout(const std::string& name, const std::string& file, const std::string& layout,
                     const std::string& box, const std::string& savedPosition0) {
    return {.name = name,
            .settings = file,
            .script = "show\ndump\nclose\n",
            .callsStarting = "OvrSetDisplayFormatForTV",
            .calls = {"OvrSetDisplayFormatForTV " + layout},
            .shown = {box},
            .stored = {{"General", "Position0", savedPosition0}}};
}

// An unknown layout code falls back to sixteen tiles in camera order.
Scenario UnknownLayout(const std::string& code) {
    return {.name = "AnUnknownLayoutCode" + code + "FallsBackToSixteenTilesInCameraOrder",
            .settings = "[General]\nDIV=" + code + "\nPosition0=7\nPosition15=3\n",
            .script = "show\ndump\nclose\n",
            .callsStarting = "OvrSetDisplayFormatForTV",
            .calls = {"OvrSetDisplayFormatForTV " + board::LayoutRecords(16)},
            .shown = {"1014 check 1", "1059 text 16"},
            .stored = {{"General", "DIV", "16"}, {"General", "Position0", "0"}, {"General", "Position15", "15"}}};
}

std::vector<Scenario> StartUpRows() {
    Board unusual{.standardSent = 1};
    unusual.enables[2] = 2;
    unusual.attributes[0].brightness = 300;
    unusual.attributes[1].hue = -5;
    std::vector<int> tiles(13, 16);  // positions missing from the file read as 16
    tiles.front() = 5;
    tiles.back() = 0;
    const std::string layout13 = board::WithChannels(board::LayoutRecords(13), tiles);
    return {
        {.name = "WithoutSettingsFileTheBoardGetsDefaultsAndCloseWritesAll99Keys",
         .script = "show\nstate\nclose\n",
         .journal = board::Concat({board::StartUp(Board{}, board::LayoutRecords(16)),
                                   board::ShutDown(board::kAllEnabled)}),
         .shown = {"layoutCode 16", "positionMap 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 255"},
         .also = [](const RunResult& r) { EXPECT_EQ(r.settings, DefaultSettingsFile("1")); }},
        // The file while the panel runs: tests/desktop's harness run from a pipe.
        {.name = "AScriptErrorClosesThePanelAsCloseDoesThenExitsTwo",
         .script = "show\nclick 1021\nno-such-command\n",
         .status = 2,
         .stored = {{"General", "SetParameter", "1"}, {"Camera", "Camera5", "0"}},
         .also = [](const RunResult& r) { EXPECT_EQ(r.journal.back(), "unload"); }},
        // The saved layout's hidden radio, PAL, a ticked Cam3, the slider at its end;
        // Position13 is read with its default and kept.
        {.name = "UnusualStoredValuesReachTheBoardAsReadAndAreWrittenBackUnchanged",
         .settings = "[General]\nDIV=13\nPosition0=5\nPosition12=0\n[Format]\nPAL=7\n[Camera]\nCamera3=2\n"
                     "[Attribute1]\nBrightness=300\n[Attribute2]\nHUE=-5\n",
         .script = "show\ndump\nclose\n",
         .journal = board::Concat({board::StartUp(unusual, layout13), board::ShutDown(unusual.enables)}),
         .shown = {"1016 check 1 hidden disabled", "1014 check 0", "1002 check 1", "1001 check 0", "1019 check 1",
                   "1035 slider 255 0 255 5", "1095 text 6 hidden disabled"},
         .stored = {{"General", "DIV", "13"},
                    {"Format", "PAL", "7"},
                    {"Camera", "Camera3", "2"},
                    {"Attribute1", "Brightness", "300"},
                    {"Attribute2", "HUE", "-5"},
                    {"General", "Position13", "16"}}},
        // Missing positions read as 16: channel 16 goes to the board as it is.
        SavedLayout("MissingPositionsSendChannelSixteen", "[General]\nDIV=4\n",
                    board::WithChannels(board::LayoutRecords(4), {16, 16, 16, 16}), "1092 text 17", "16"),
        // 257 keeps only its low 8 bits on the tile; the map keeps 257.
        SavedLayout("APositionOf257SendsItsLowBitsAndIsKept", "[General]\nDIV=1\nPosition0=257\n",
                    board::WithChannels(board::LayoutRecords(1), {1}), "1104 text 2", "257"),
        // A stored 255 is an end mark: the table ends at that tile.
        SavedLayout("AStored255EndsTheTableAtItsTile", "[General]\nDIV=9\nPosition4=255\n",
                    board::WithChannels(board::LayoutRecords(9), {16, 16, 16, 16, 255}), "1122 text 256", "16"),
        UnknownLayout("0"), UnknownLayout("2"), UnknownLayout("5"), UnknownLayout("255"),
        {.name = "ASecondShowNotificationChangesNothing",
         .script = "show\nclick 1021\nshow\nstate\nclose\n",
         .shown = {"cameraEnable 1 1 1 1 0 1 1 1 1 1 1 1 1 1 1 1"},
         .stored = {{"General", "SetParameter", "1"}},
         .also =
             [](const RunResult& r) {
                 EXPECT_EQ(std::count(r.journal.begin(), r.journal.end(), "load"), 1);
                 EXPECT_EQ(std::count(r.journal.begin(), r.journal.end(), "OvrSetup 0"), 1);
             }},
    };
}

class StartUpAndShutDown : public testing::TestWithParam<Scenario> {};
TEST_P(StartUpAndShutDown, Session) { Play(GetParam()); }
INSTANTIATE_TEST_SUITE_P(, StartUpAndShutDown, testing::ValuesIn(StartUpRows()), RowName);

class ShowPanelFlag : public testing::TestWithParam<Scenario> {};
TEST_P(ShowPanelFlag, Session) { Play(GetParam()); }
INSTANTIATE_TEST_SUITE_P(, ShowPanelFlag,
                         testing::Values(Scenario{.name = "ANonZeroFlagIsClearedAtStartAndSetAgainAtClose",
                                                  .settings = "[General]\nSetParameter=5\n",
                                                  .script = "show\nclose\n",
                                                  .out = "",
                                                  .stored = {{"General", "SetParameter", "1"}}}),
                         RowName);

TEST_F(ShowPanelFlag, ZeroProgramsTheBoardQuitsAndKeepsTheFlagAtZero) {
    PanelRun panel;
    panel.WriteSettings("[General]\nSetParameter=0\n");
    const RunResult r = panel.Run("show\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "quit 0\n");
    EXPECT_EQ(r.journal, board::Concat({board::StartUp(Board{}, board::LayoutRecords(16)),
                                        board::ShutDown(board::kAllEnabled)}));
    EXPECT_EQ(r.Setting("General", "SetParameter"), "0");
    EXPECT_EQ(r.settings.size(), 99u);
    // One line says why the panel vanished and how to get it back.
    const std::vector<std::string> why = LinesStartingWith(r.err, "KORVANE16: ");
    const auto flagLine = std::find_if(why.begin(), why.end(), [](const std::string& line) {
        return line.find("SetParameter") != std::string::npos;
    });
    ASSERT_NE(flagLine, why.end()) << r.err;
    const std::string file = PanelRun::Native() ? panel.Folder() + "/KORVANE16.ini" : "KORVANE16.ini";
    EXPECT_NE(flagLine->find(file), std::string::npos) << *flagLine;
    EXPECT_NE(flagLine->find("--show"), std::string::npos) << *flagLine;

    // The dialog has ended: nothing more can be done in it.
    EXPECT_EQ(panel.Run("show\ndump\n").status, 2);
}

TEST_F(ShowPanelFlag, UntickingShowApplicationMakesTheNextStartQuitAtOnce) {
    PanelRun panel;
    const RunResult first = panel.Run("show\nclick 1043\nclose\n");
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.Setting("General", "SetParameter"), "0");
    EXPECT_EQ(panel.Run("show\n").out, "quit 0\n");
}

// Writing "0" to the show-panel flag here would hide the panel on every later
// start, since a close without the driver writes nothing.
std::vector<Scenario> WithoutDriverRows() {
    const std::string stored = "[Format]\nPAL=1\n[Camera]\nCamera1=0\n";
    return {
        {.name = "ThePanelShowsButNothingReachesTheBoardAndTheFileIsLeftAlone",
         .settings = stored,
         .script = "show\nclick 1002\nclick 1001\nclick 1017\nclick 1033\ntype 1040 3\ndrag 1036 200\nclick 1041\n"
                   "click 1042\ntype 1104 5\nclick 1008\ndump\nstate\nclose\n",
         .driver = Driver::None,
         .journal = board::Journal{},
         // The editor left its box as typed; the sliders have their range and the
         // thumbs stand at 0 (the dragged one stays).
         .shown = {"videoStandard 0", "cameraEnable 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
                   "positionMap 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 0", "1043 check 0", "1014 check 0",
                   "1104 text 5", "1035 slider 0 0 255 5", "1036 slider 200 0 255 5"},
         .also = [stored](const RunResult& r) { ExpectSettingsFile(r, stored); }},
        {.name = "NoSettingsFileIsCreated",
         .script = "show\nclose\n",
         .driver = Driver::None,
         .also = [](const RunResult& r) { EXPECT_FALSE(r.settingsExist) << r.settingsText; }},
        {.name = "AFlagOfZeroStillQuitsAtOnceAndStaysZero",
         .settings = "[General]\nSetParameter=0\n",
         .script = "show\n",
         .driver = Driver::None,
         .journal = board::Journal{},
         .out = "quit 0\n",
         .also = [](const RunResult& r) { ExpectSettingsFile(r, "[General]\nSetParameter=0\n"); }},
    };
}

class WithoutDriverLibrary : public testing::TestWithParam<Scenario> {};
TEST_P(WithoutDriverLibrary, Session) { Play(GetParam()); }
INSTANTIATE_TEST_SUITE_P(, WithoutDriverLibrary, testing::ValuesIn(WithoutDriverRows()), RowName);

TEST_F(WithoutDriverLibrary, AClosedPanelOpensAgainOnceTheDriverIsBack) {
    PanelRun panel;
    panel.WriteSettings("[General]\nSetParameter=1\n");
    ASSERT_EQ(panel.Run("show\nclose\n", Driver::None).status, 0);
    const RunResult back = panel.Run("show\nclose\n");
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(back.out, "");  // no quit: the panel stayed on screen
    EXPECT_EQ(back.Setting("General", "SetParameter"), "1");
}

TEST(PartialDriverLibrary, CallsThroughMissingEntryPointsAreSkipped) {
    if (!PanelRun::PartialDriverAvailable()) GTEST_SKIP() << "no partial stand-in for this build";
    PanelRun panel;
    const RunResult r = panel.Run("show\ntype 1104 3\nclick 1008\ndrag 1037 40\nclose\n", Driver::Partial);
    ASSERT_EQ(r.status, 0) << r.err;
    // The partial stand-in lacks OvrSetHue, OvrEdgeEnhance and OvrEnableAll309CH.
    board::Journal expected;
    for (const std::string& line : board::Concat({board::StartUp(Board{}, board::LayoutRecords(16)),
                                                  {"OvrSetDisplayFormatForTV " +
                                                   board::WithChannels(board::LayoutRecords(1), {2})},
                                                  board::ShutDown(board::kAllEnabled)}))
        if (line.rfind("OvrSetHue", 0) != 0 && line != "OvrEdgeEnhance 0") expected.push_back(line);
    EXPECT_EQ(r.journal, expected);
    EXPECT_EQ(r.Setting("Attribute1", "HUE"), "40");
}

TEST(SettingsLock, WithoutTheLockThePanelSaysWhyAndEndsBeforeTouchingAnything) {
    if (!PanelRun::Native()) GTEST_SKIP() << "the lock's folder is a POSIX matter";
    PanelRun panel;
    panel.WriteSettings("[General]\nSetParameter=1\n");
    // Every folder the lock may live in is a plain file, so it cannot be created.
    const std::string notAFolder = panel.Folder() + "/KORVANE16.ini";
    const RunResult r = panel.Run("show\nclose\n", Driver::StandIn,
                                  {{"XDG_RUNTIME_DIR", notAFolder}, {"XDG_CACHE_HOME", notAFolder},
                                   {"HOME", notAFolder}, {"TMPDIR", notAFolder}});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("ZEDevudIzazIni"), std::string::npos) << r.err;
    EXPECT_TRUE(r.journal.empty());
    EXPECT_EQ(r.settingsText, "[General]\nSetParameter=1\n");
}

// Another user who made the runtime folder open to all, or took the lock
// folder's names first, cannot keep the panel from starting.
TEST(SettingsLock, FoldersOthersCanWriteOrTookFirstAreAvoided) {
    if (!PanelRun::Native()) GTEST_SKIP() << "the lock's folder is a POSIX matter";
    PanelRun panel;
    const std::string open = panel.Folder() + "/open", temporary = panel.Folder() + "/tmp";
    std::filesystem::create_directories(open);
    std::filesystem::permissions(open, std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    std::filesystem::create_directories(temporary);
    std::ofstream(temporary + "/korvane16-" + std::to_string(geteuid()));
    const std::string notAFolder = panel.Folder() + "/plain";
    std::ofstream(notAFolder).flush();
    const RunResult r = panel.Run("show\nclose\n", Driver::StandIn,
                                  {{"XDG_RUNTIME_DIR", open}, {"XDG_CACHE_HOME", notAFolder}, {"TMPDIR", temporary}});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(r.journal.empty());
    EXPECT_TRUE(std::filesystem::is_empty(open)) << "the lock went into a folder others can write";
    EXPECT_TRUE(std::filesystem::exists(temporary + "/korvane16-" + std::to_string(geteuid()) + ".1/ZEDevudIzazIni"));
}

}  // namespace
