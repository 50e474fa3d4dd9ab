// korvane16-ctl as an installer scripts it: what set leaves must be a board
// setup the panel shows whole, list must be what the panel uses and go back
// through set unchanged, and nothing is written under a running panel.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

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
        const ToolResult applied = folder.Run({"apply"});
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
        const ToolResult found = folder.Run({"list"});
        EXPECT_EQ(found.out.substr(found.out.find('\n') + 1, used.size()), used);
        for (const std::string& written : {run.settingsText, std::string()}) {
            if (written.empty()) ASSERT_EQ(folder.Run({"set", "layout=6"}).status, 0);
            else folder.WriteSettings(written);
            const ToolResult listed = folder.Run({"list"});
            ASSERT_EQ(listed.status, 0) << listed.err;
            std::vector<std::string> back{"set"};
            for (std::string line : SplitLines(listed.out)) back.push_back(line.replace(line.find(' '), 1, "="));
            const ToolResult set = folder.Run(back);
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
    WriteText(folder.Path("import.txt"), "layout=4\n");
    // The running panel's claim on the session, as the panel holds it.
    const int claim = open(folder.Path("runtime/korvane16-panel.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(flock(claim, LOCK_EX), 0);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"set", "layout=4"}, {"set", "--dry-run", "camera.1=off"}, {"import", "import.txt"}}) {
        SCOPED_TRACE(args[1]);
        const ToolResult r = folder.Run(args);
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
             {{"get", "layout"}, 0, folder.Path("KORVANE16.ini") + " does not exist"},
             {{"--desktop", "list"}, 0, folder.Path("config/korvane16/KORVANE16.ini") + " does not exist"}}) {
        SCOPED_TRACE(row.args.back());
        const ToolResult r = folder.Run(row.args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_EQ(r.out.empty(), row.status != 0);
        EXPECT_EQ(SplitLines(r.err).size(), 1u) << r.err;
        EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
    }
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("none.ini")));
}

}  // namespace
