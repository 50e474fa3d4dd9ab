// korvane16-ctl as an installer scripts it: what set leaves must be a board
// setup the panel shows whole, list must be what the panel uses and go back
// through set unchanged, and nothing is written under a running panel.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "tests/ctl/ctl_run.hpp"
#include "tests/harness/panel_run.hpp"

namespace {

// The channels of the layout the board was sent last, "0 1 ... 255".
std::string SentChannels(const std::vector<std::string>& journal) {
    std::string channels;
    for (const std::string& line : journal) {
        if (!line.starts_with("OvrSetDisplayFormatForTV ")) continue;
        channels.clear();
        for (std::size_t at = line.find(' '); at != std::string::npos; at = line.find(' ', at + 1))
            channels += (channels.empty() ? "" : " ") + line.substr(at + 1, line.find(':', at) - at - 1);
    }
    return channels;
}

TEST(CtlLayout, WhatSetWritesNeverMakesThePanelSendAMissingCamera) {
    struct Row {
        std::string before;
        std::vector<std::string> set;
        std::string sent;
    };
    for (const Row& row : std::vector<Row>{
             {"", {"standard=pal", "layout=4", "tile.1=3", "tile.2=7"}, "2 6 2 3 255"},
             {"", {"layout=9"}, "0 1 2 3 4 5 6 7 8 255"},
             {"", {"tile.2=5"}, "0 4 2 3 4 5 6 7 8 9 10 11 12 13 14 15 255"},
             {"[General]\nDIV=4\n", {"tile.1=2"}, "1 1 2 3 255"},
             {"[General]\nDIV=5\nPosition0=7\n", {"layout=1"}, "0 255"}}) {
        SCOPED_TRACE(row.set.back());
        CtlFolder folder;
        if (!row.before.empty()) folder.WriteSettings(row.before);
        std::vector<std::string> args{"set"};
        args.insert(args.end(), row.set.begin(), row.set.end());
        ASSERT_EQ(folder.Run(args).status, 0);
        const Finished applied = folder.Run({"apply"});
        ASSERT_EQ(applied.status, 0) << applied.err;
        EXPECT_EQ(SentChannels(folder.Journal()), row.sent);
    }
}

TEST(CtlList, ShowsWhatThePanelUsesAndEveryLineGoesBackThroughSetUnchanged) {
    for (const char* file : {"", "[General]\nDIV=5\nPosition0=3\n", "[General]\nDIV=4\nPosition0=9\nPosition1=0\n",
                             "[General]\nDIV=13\n[Camera]\nCamera2=0\n"}) {
        SCOPED_TRACE(file);
        // The panel's layout and tiles after its start, and the file its close leaves.
        PanelRun panel;
        if (*file != '\0') panel.WriteSettings(file);
        const RunResult run = panel.Run("show\nstate\nclose\n");
        ASSERT_EQ(run.status, 0) << run.err;
        const std::vector<std::string> state = SplitLines(run.out);
        ASSERT_EQ(state.size(), 5u) << run.out;
        std::string used = "layout " + state[1].substr(state[1].find(' ') + 1) + "\n";
        std::istringstream map(state[4].substr(state[4].find(' ') + 1));
        for (int tile = 1, channel = 0; tile <= 16 && map >> channel; ++tile)
            used += "tile." + std::to_string(tile) + " " + std::to_string(channel + 1) + "\n";

        // The file as found, as the panel's close wrote it, and as the tool writes it.
        CtlFolder folder;
        if (*file != '\0') folder.WriteSettings(file);
        const Finished found = folder.Run({"list"});
        EXPECT_EQ(found.out.substr(found.out.find('\n') + 1, used.size()), used);
        for (const std::string& written : {run.settingsText, std::string()}) {
            if (written.empty()) ASSERT_EQ(folder.Run({"set", "layout=6"}).status, 0);
            else folder.WriteSettings(written);
            const Finished listed = folder.Run({"list"});
            ASSERT_EQ(listed.status, 0) << listed.err;
            std::vector<std::string> back{"set"};
            for (std::string line : SplitLines(listed.out)) back.push_back(line.replace(line.find(' '), 1, "="));
            const Finished set = folder.Run(back);
            EXPECT_EQ(set.status, 0) << set.err;
            EXPECT_EQ(set.out, "");
            EXPECT_EQ(folder.Run({"list"}).out, listed.out);
        }
    }
}

TEST(CtlSet, NothingIsWrittenWhileAPanelRuns) {
    CtlFolder folder;
    const std::string before = "[General]\nDIV=9\n";
    folder.WriteSettings(before);
    WriteFileText(folder.Path("import.txt"), "layout=4\n");
    // The running panel's claim on the session, as the panel holds it.
    const int claim = open(folder.Path("runtime/korvane16-panel.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(flock(claim, LOCK_EX), 0);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"set", "layout=4"}, {"set", "--dry-run", "camera.1=off"}, {"import", "import.txt"}}) {
        SCOPED_TRACE(args[1]);
        const Finished r = folder.Run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(SplitLines(r.err).size(), 1u) << r.err;
        EXPECT_NE(r.err.find("panel is running"), std::string::npos) << r.err;
    }
    close(claim);
    EXPECT_EQ(folder.Settings(), before);
    EXPECT_EQ(folder.Run({"set", "layout=4"}).status, 0);
}

TEST(CtlFiles, ANamedFileMustExistTheWorkingFolderAndDesktopFilesMayBeMissing) {
    CtlFolder folder;
    setenv("XDG_CONFIG_HOME", folder.Path("config").c_str(), 1);
    struct Row {
        std::vector<std::string> args;
        int status;
        std::string err;  // the file named in the one line on standard error
    };
    for (const Row& row : std::vector<Row>{
             {{"--file", folder.Path("none.ini"), "list"}, 1, folder.Path("none.ini") + ": no such file"},
             {{"--file", folder.Path("none.ini"), "set", "layout=4"}, 1, folder.Path("none.ini") + ": no such file"},
             {{"--file", folder.Path("none.ini"), "set", "tile.1=17"}, 2, "tile.1: '17' is not a camera"},
             {{"get", "layout"}, 0, folder.Path("KORVANE16.ini") + " does not exist"},
             {{"--desktop", "list"}, 0, folder.Path("config/korvane16/KORVANE16.ini") + " does not exist"}}) {
        SCOPED_TRACE(row.args.back());
        const Finished r = folder.Run(row.args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_EQ(r.out.empty(), row.status != 0);
        EXPECT_EQ(SplitLines(r.err).size(), 1u) << r.err;
        EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
    }
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("none.ini")));
}

TEST(CtlJson, ListAndGetGiveValueDefaultAndWhatEachSettingTakes) {
    CtlFolder folder;
    folder.WriteSettings("[General]\nDIV=4\nPosition0=2\n[Camera]\nCamera3=2\n");
    const Finished got = folder.Run({"get", "--json", "layout", "tile.1", "tile.2", "camera.3", "standard", "hue.2"});
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.out,
              "[\n"
              "  {\"name\": \"layout\", \"value\": 4, \"default\": 16, \"choices\": [1, 4, 6, 8, 9, 10, 13, 16]},\n"
              "  {\"name\": \"tile.1\", \"value\": 3, \"default\": 1, \"range\": [1, 16]},\n"
              "  {\"name\": \"tile.2\", \"value\": 17, \"default\": 2, \"range\": [1, 16]},\n"
              "  {\"name\": \"camera.3\", \"value\": 2, \"default\": \"on\", \"choices\": [\"on\", \"off\"]},\n"
              "  {\"name\": \"standard\", \"value\": \"ntsc\", \"default\": \"ntsc\", \"choices\": [\"ntsc\", \"pal\"]},\n"
              "  {\"name\": \"hue.2\", \"value\": 128, \"default\": 128, \"range\": [0, 255]}\n"
              "]\n");
    const std::vector<std::string> json = SplitLines(folder.Run({"list", "--json"}).out);
    EXPECT_EQ(json.size(), 99u + 2u);
    const std::vector<std::string> long_ = SplitLines(folder.Run({"list", "--long"}).out);
    ASSERT_EQ(long_.size(), 99u);
    EXPECT_EQ(long_[1], "layout 4              values 1|4|6|8|9|10|13|16, default 16");
}

TEST(CtlImport, ExportedLinesMoveASetupAndOneBadLineWritesNothing) {
    CtlFolder from, to;
    ASSERT_EQ(from.Run({"set", "standard=pal", "layout=6", "tile.6=1", "camera.16=off", "contrast.9=3"}).status, 0);
    ASSERT_EQ(from.Run({"export", from.Path("setup.txt")}).status, 0);
    std::string lines = from.Run({"list"}).out;
    std::replace(lines.begin(), lines.end(), ' ', '=');
    EXPECT_EQ(from.Run({"export", "-"}).out, lines);
    EXPECT_EQ(ReadFileText(from.Path("setup.txt")), lines);

    WriteFileText(to.Path("bad.txt"), "# setup\n\nlayout=6\ncontrast.9=256\n");
    const Finished bad = to.Run({"import", "bad.txt"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "korvane16-ctl: bad.txt:4: contrast.9: '256' is not a level from 0 to 255\n");
    EXPECT_FALSE(to.SettingsExist());
    // Standard input, as a pipe gives it.
    const Finished imported = to.Wait(
        to.StartProgram("/bin/sh", {"-c", "exec \"$0\" import - <\"$1\"", CtlFolder::Tool(), from.Path("setup.txt")},
                        "tool"));
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "standard ntsc pal\nlayout 16 6\ntile.6 6 1\ncamera.16 on off\ncontrast.9 180 3\n");
    EXPECT_EQ(to.Run({"list"}).out, from.Run({"list"}).out);
}

TEST(CtlDryRun, SaysWhatWouldChangeAndTouchesNeitherFileNorBoard) {
    CtlFolder folder;
    const std::string before = "[General]\nDIV=9\n";
    WriteFileText(folder.Path("setup.txt"), "hue.1=7\n");
    struct Row {
        std::vector<std::string> args;
        std::string out;  // its start
    };
    for (const Row& row : std::vector<Row>{{{"set", "--dry-run", "layout=1", "tile.1=4"}, "layout 9 1\ntile.1 17 4\n"},
                                           {{"import", "--dry-run", "setup.txt"}, "hue.1 128 7\n"},
                                           {{"apply", "--dry-run"}, "standard ntsc\nlayout 9\n"}}) {
        SCOPED_TRACE(row.args[0]);
        folder.WriteSettings(before);
        const Finished r = folder.Run(row.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out.substr(0, row.out.size()), row.out);
        EXPECT_EQ(folder.Settings(), before);
        EXPECT_TRUE(folder.Journal().empty());
    }
}

TEST(CtlFiles, TheDesktopFileLivesInTheUsersConfigurationFolder) {
    CtlFolder folder;
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "/";
    std::filesystem::create_directory(folder.Path("home"));  // a home exists; nothing makes one
    for (const bool xdg : {true, false}) {
        if (xdg) setenv("XDG_CONFIG_HOME", folder.Path("config").c_str(), 1);
        else setenv("HOME", folder.Path("home").c_str(), 1);
        const std::string file = xdg ? folder.Path("config/korvane16/KORVANE16.ini")
                                     : folder.Path("home/.config/korvane16/KORVANE16.ini");
        const Finished r = folder.Run({"--desktop", "set", "hue.3=9"});
        unsetenv("XDG_CONFIG_HOME");
        setenv("HOME", home.c_str(), 1);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ReadFileText(file), "[Attribute3]\nHUE=9\n");
    }
}

}  // namespace
