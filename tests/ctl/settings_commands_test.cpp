// korvane16-ctl list, get and set, through the tool itself: the names and
// values an installer types, the file as the panel reads it, the lines the
// tool must keep, the lock it shares with the panel.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/ctl/ctl_run.hpp"
#include "tests/harness/panel_run.hpp"

namespace {

// What list prints for a file that holds nothing: every key at its default,
// and the layout the panel then falls back to (16 tiles, tile N camera N).
std::vector<std::string> DefaultListing() {
    std::vector<std::string> lines{"standard ntsc", "layout 16"};
    for (int n = 1; n <= 16; ++n) lines.push_back("tile." + std::to_string(n) + " " + std::to_string(n));
    for (int n = 1; n <= 16; ++n) lines.push_back(std::string("camera.") + std::to_string(n) + " on");
    for (int n = 1; n <= 16; ++n) {
        const std::string number = std::to_string(n);
        lines.insert(lines.end(), {"brightness." + number + " 100", "contrast." + number + " 180",
                                   "hue." + number + " 128", "saturation." + number + " 128"});
    }
    lines.push_back("show-panel on");
    return lines;
}

int CountLines(const std::string& text) { return static_cast<int>(SplitLines(text).size()); }

TEST(CtlList, AMissingFileListsEverySettingAtItsDefaultAndIsNotCreated) {
    CtlFolder folder;
    const Finished r = folder.Run({"list"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(SplitLines(r.out), DefaultListing());
    EXPECT_EQ(r.err,
              "korvane16-ctl: " + folder.Path("KORVANE16.ini") + " does not exist: these are the panel's defaults\n");
    EXPECT_FALSE(folder.SettingsExist());
}

TEST(CtlList, StoredValuesAreShownAsThePanelReadsThem) {
    CtlFolder folder;
    // Names in any letter case, blanks, quotes and hex as the profile reader
    // takes them; values outside the tool's vocabulary shown as numbers.
    folder.WriteSettings(
        "; installer's note\n"
        "[general]\ndiv = 4\nPosition0=\"3\"\nPosition1=0x0f\nposition2=-1\nSetParameter=7\n"
        "[Format]\nPAL=2\n"
        "[Camera]\nCamera1=0\nCamera5=2\n"
        "[Attribute1]\nBrightness=300\nHUE=-5\n"
        "[Attribute16]\nSaturation=abc\n");
    const Finished r = folder.Run({"list"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> expected = DefaultListing();
    const auto set = [&expected](const std::string& name, const std::string& value) {
        for (std::string& line : expected)
            if (line.substr(0, line.find(' ')) == name) line = name + " " + value;
    };
    set("standard", "pal");
    set("layout", "4");
    set("tile.1", "4");
    set("tile.2", "16");
    set("tile.3", "0");
    for (int n = 4; n <= 16; ++n) set("tile." + std::to_string(n), "17");
    set("camera.1", "off");
    set("camera.5", "2");
    set("brightness.1", "300");
    set("hue.1", "-5");
    set("saturation.16", "0");
    set("show-panel", "7");
    EXPECT_EQ(SplitLines(r.out), expected);
}

TEST(CtlGet, PrintsTheNamedSettingsInTheOrderAsked) {
    CtlFolder folder;
    folder.WriteSettings("[General]\nSetParameter=0\nDIV=9\n[Attribute12]\nContrast=17\n");
    const Finished r = folder.Run({"get", "show-panel", "CONTRAST.12", "layout", "tile.16"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "show-panel off\ncontrast.12 17\nlayout 9\ntile.16 17\n");
}

TEST(CtlGet, AnUnknownNameIsAUsageErrorAndPrintsNoValue) {
    CtlFolder folder;
    for (const char* name : {"tile.17", "tile.0", "camera", "brightness", "volume", "layout.1", ""}) {
        SCOPED_TRACE(name);
        const Finished r = folder.Run({"get", "layout", name});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(CountLines(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(std::string(1, '\'').append(name).append("'")), std::string::npos) << r.err;
    }
}

TEST(CtlSet, WritesInTheOperatorsTermsAndKeepsEveryOtherLine) {
    CtlFolder folder;
    const std::string before =
        "; written by the installer\r\n"
        "[general]\r\n"
        "div=16\r\n"
        "Position0=0\r\n"
        "\r\n"
        "[Site]\r\n"
        "Room=North\r\n"
        "[Camera]\r\n"
        "Camera3=1 ; lobby\r\n";
    folder.WriteSettings(before);
    const Finished r = folder.Run({"set", "layout=4", "tile.1=16", "standard=PAL", "camera.3=off",
                                     "brightness.2=0", "saturation.16=255", "show-panel=off"});
    ASSERT_EQ(r.status, 0) << r.err;
    // The tiles the file lacked (the panel would send camera 17) show their own camera.
    std::string tiles, tileChanges;
    for (int tile = 1; tile < 16; ++tile) {
        tiles += "Position" + std::to_string(tile) + "=" + std::to_string(tile) + "\r\n";
        tileChanges += "tile." + std::to_string(tile + 1) + " 17 " + std::to_string(tile + 1) + "\n";
    }
    EXPECT_EQ(r.out, "standard ntsc pal\nlayout 16 4\ntile.1 1 16\n" + tileChanges +
                         "camera.3 on off\nbrightness.2 100 0\nsaturation.16 128 255\nshow-panel on off\n");
    // Changed lines keep their key's spelling; new keys join their section,
    // new sections go at the end, in the file's own line ends; the rest is
    // byte for byte as it was.
    EXPECT_EQ(folder.Settings(),
              "; written by the installer\r\n"
              "[general]\r\n"
              "div=4\r\n"
              "Position0=15\r\n" +
                  tiles +
                  "SetParameter=0\r\n"
              "\r\n"
              "[Site]\r\n"
              "Room=North\r\n"
              "[Camera]\r\n"
              "Camera3=0\r\n"
              "[Format]\r\nPAL=1\r\n"
              "[Attribute2]\r\nBrightness=0\r\n"
              "[Attribute16]\r\nSaturation=255\r\n");
}

TEST(CtlSet, OneWrongPairRefusesTheWholeCommandAndWritesNothing) {
    const std::vector<std::string> wrong = {
        "tile.1=0",      "tile.1=17",     "tile.17=1",        "tile.1=",           "tile.1=+3",
        "tile.1= 3",     "tile.1=0x3",    "layout=5",         "layout=0",          "layout=255",
        "standard=secam", "standard=1",   "camera.2=yes",     "camera.2=1",        "brightness.1=256",
        "brightness.1=-1", "hue.16=1e2",  "contrast.0=5",     "show-panel=maybe",  "volume=3",
        "layout",         "=4",            "saturation.1=99999999999"};
    for (const std::string& pair : wrong) {
        SCOPED_TRACE(pair);
        CtlFolder folder;
        const std::string before = "[General]\nDIV=9\n";
        folder.WriteSettings(before);
        // A good pair first: nothing may be written before the bad one is found.
        const Finished r = folder.Run({"set", "layout=4", pair, "camera.1=off"});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(CountLines(r.err), 1) << r.err;
        EXPECT_EQ(folder.Settings(), before);
    }
}

TEST(CtlSet, ThePanelStartsWithWhatTheToolWrote) {
    PanelRun panel;
    CtlFolder folder;
    const Finished r = folder.Run({"set", "standard=pal", "layout=4", "tile.1=9", "tile.2=2", "tile.3=16",
                                     "tile.4=1", "camera.2=off", "brightness.1=7", "hue.3=250", "show-panel=on"});
    ASSERT_EQ(r.status, 0) << r.err;
    panel.WriteSettings(folder.Settings());
    const RunResult run = panel.Run("show\nstate\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> state = SplitLines(run.out);
    ASSERT_EQ(state.size(), 5u) << run.out;
    EXPECT_EQ(state[0], "videoStandard 1");
    EXPECT_EQ(state[1], "layoutCode 4");
    EXPECT_EQ(state[2], "cameraEnable 1 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1");
    EXPECT_EQ(state[3].rfind("attributes 7 180 128 128 100 180 128 128 100 180 250 128 ", 0), 0u) << state[3];
    EXPECT_EQ(state[4].rfind("positionMap 8 1 15 0 ", 0), 0u) << state[4];
    // The panel stayed on screen: show-panel was on.
    EXPECT_EQ(run.Setting("General", "SetParameter"), "1");
}

TEST(CtlSet, WaitsForTheSettingsLockThatAnotherProgramHolds) {
    CtlFolder folder;
    const int lock = open(folder.LockFile().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);
    const pid_t tool = folder.Start({"set", "layout=6"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    int status = 0;
    EXPECT_EQ(waitpid(tool, &status, WNOHANG), 0) << "the tool did not wait for the lock";
    EXPECT_FALSE(folder.SettingsExist());
    // After about a second the tool says what it waits for, once.
    const std::string notice = "KORVANE16: waiting for the settings lock " + folder.LockFile();
    EXPECT_EQ(ReadFileText(folder.Path("tool.err")), "");
    for (int tries = 0; tries < 1000 && ReadFileText(folder.Path("tool.err")).empty(); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    flock(lock, LOCK_UN);
    close(lock);
    const Finished r = folder.Wait(tool);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.rfind(notice, 0), 0u) << r.err;
    EXPECT_EQ(SplitLines(r.err).size(), 1u) << r.err;
    EXPECT_EQ(folder.Settings().rfind("[General]\nPosition0=0\n", 0), 0u) << folder.Settings();
    EXPECT_NE(folder.Settings().find("\nDIV=6\n"), std::string::npos);
}

TEST(CtlFiles, TheFileOptionNamesTheSettingsFile) {
    CtlFolder folder;
    std::filesystem::create_directory(folder.Path("site"));
    const std::string file = folder.Path("site/board.ini");
    WriteFileText(file, "");
    ASSERT_EQ(folder.Run({"--file", file, "set", "hue.4=3"}).status, 0);
    EXPECT_EQ(ReadFileText(file), "[Attribute4]\nHUE=3\n");
    EXPECT_FALSE(folder.SettingsExist());
    const Finished r = folder.Run({"--file=" + file, "get", "hue.4"});
    EXPECT_EQ(r.out, "hue.4 3\n");
}

TEST(CtlFiles, AFileThatCannotBeReadOrWrittenFailsWithItsReason) {
    CtlFolder folder;
    std::filesystem::create_directory(folder.Path("folder.ini"));
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--file", folder.Path("folder.ini"), "list"},
             {"--file", folder.Path("folder.ini"), "get", "layout"},
             {"--file", folder.Path("folder.ini"), "set", "layout=4"},
             {"--file", folder.Path("no/such/folder.ini"), "set", "layout=4"}}) {
        SCOPED_TRACE(args.back());
        const Finished r = folder.Run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(CountLines(r.err), 1) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("no")));

    // The working folder's file is named by its full path, as the panel names it.
    std::filesystem::create_directory(folder.Path("KORVANE16.ini"));
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"list"}, {"set", "layout=4"}}) {
        const Finished r = folder.Run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(folder.Path("KORVANE16.ini") + ": "), std::string::npos) << r.err;
    }
}

TEST(CtlUsage, MistakesOnTheCommandLineAreUsageErrors) {
    CtlFolder folder;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"lsit"}, {"list", "layout"}, {"get"}, {"set"}, {"apply", "now"}, {"--file"}, {"--file=", "list"},
             {"--file", "", "list"}, {"--verbose", "list"}}) {
        const Finished r = folder.Run(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: korvane16-ctl"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(folder.SettingsExist());
}

TEST(CtlUsage, HelpNamesEveryCommandAndSetting) {
    CtlFolder folder;
    const Finished r = folder.Run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const char* word : {"list", "get NAME", "set NAME=VALUE", "apply", "--file FILE", "standard", "layout",
                             "tile.N", "camera.N", "brightness.N", "contrast.N", "hue.N", "saturation.N",
                             "show-panel"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    const Finished version = folder.Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("korvane16-ctl ", 0), 0u) << version.out;
}

}  // namespace
