// The settings file under faults, as the panel meets them at start and close.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "tests/harness/panel_run.hpp"

namespace {

// Each replacement of the settings file, from the system calls of a run: was
// the new file flushed before the rename, and its folder after it?
struct Replacement {
    bool fileFlushed = false;
    bool folderFlushed = false;
};

std::vector<Replacement> Replacements(const std::string& trace) {
    static const std::regex openCall(R"re(openat\(AT_FDCWD, "([^"]*)", .*\)\s+= (\d+))re");
    static const std::regex fsyncCall(R"re(fsync\((\d+)\)\s+= 0)re");
    static const std::regex renameCall(R"re(rename\("([^"]*)", "([^"]*)"\)\s+= 0)re");
    std::map<std::string, std::string> openFiles;  // descriptor -> path
    std::map<std::string, bool> flushed;           // path -> flushed since opened
    std::vector<Replacement> replacements;
    std::istringstream lines(trace);
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, match, openCall)) {
            openFiles[match[2]] = match[1];
            flushed[match[1]] = false;
        } else if (std::regex_search(line, match, fsyncCall)) {
            const std::string& path = openFiles[match[1]];
            flushed[path] = true;
            if (!replacements.empty() && path == ".") replacements.back().folderFlushed = true;
        } else if (std::regex_search(line, match, renameCall)) {
            if (match[2].str().find("KORVANE16.ini") == std::string::npos) continue;
            replacements.push_back({flushed[match[1]], false});
        }
    }
    return replacements;
}

TEST(SettingsFaults, EveryReplacementReachesTheDiskFileFirstThenFolder) {
    if (!PanelRun::Native()) GTEST_SKIP() << "traced on Linux only";
    if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
    PanelRun panel;
    const std::string trace = panel.Folder() + "/trace.txt";
    // The leak checker of a sanitizer build cannot work under a tracer.
    const RunResult r = panel.Run("show\nclick 1021\nclose\n", Driver::StandIn, {{"ASAN_OPTIONS", "detect_leaks=0"}},
                                  {"strace", "-f", "-qq", "-o", trace, "-e", "trace=openat,fsync,rename"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<Replacement> replacements = Replacements(ReadFileText(trace));
    // The flag at start, then each of the 99 keys at close, each a change.
    ASSERT_EQ(replacements.size(), 100u);
    for (std::size_t i = 0; i < replacements.size(); ++i) {
        EXPECT_TRUE(replacements[i].fileFlushed) << "replacement " << i;
        EXPECT_TRUE(replacements[i].folderFlushed) << "replacement " << i;
    }
}

std::vector<std::string> ErrorLines(const RunResult& r) {
    std::vector<std::string> lines;
    std::istringstream in(r.err);
    for (std::string line; std::getline(in, line);)
        if (line.find("KORVANE16.ini") != std::string::npos) lines.push_back(line);
    return lines;
}

// A folder where the settings file should be: the start-up says once that it
// reads the defaults, the board gets exactly what it gets without a file, and
// the close says the save failed and ends with exit status 1.
TEST(SettingsFaults, AnUnreadableFileIsToldAndTheFailedSaveEndsWithStatusOne) {
    PanelRun withoutFile;
    const RunResult expected = withoutFile.Run("show\nclose\n");
    ASSERT_EQ(expected.status, 0) << expected.err;

    PanelRun panel;
    std::filesystem::create_directory(panel.Folder() + "/KORVANE16.ini");
    const RunResult r = panel.Run("show\nclose\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.journal, expected.journal);
    const std::vector<std::string> lines = ErrorLines(r);
    ASSERT_EQ(lines.size(), 3u) << r.err;
    EXPECT_NE(lines[0].find("cannot read"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("folder"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("default settings"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("show-panel flag"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("not saved"), std::string::npos) << lines[2];
    EXPECT_NE(lines[2].find("99 of 99"), std::string::npos) << lines[2];
    EXPECT_TRUE(std::filesystem::is_directory(panel.Folder() + "/KORVANE16.ini"));
    EXPECT_EQ(r.out, "") << "standard output holds only the script's own lines";
}

// Without the driver nothing is written, so nothing fails.
TEST(SettingsFaults, WithoutTheDriverAnUnreadableFileIsToldAndTheCloseSucceeds) {
    PanelRun panel;
    std::filesystem::create_directory(panel.Folder() + "/KORVANE16.ini");
    const RunResult r = panel.Run("show\nclose\n", Driver::None);
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(ErrorLines(r).size(), 1u) << r.err;
    EXPECT_NE(ErrorLines(r)[0].find("cannot read"), std::string::npos);
}

// The file-size limit stands for a disk that fills up during the close: the
// writes that no longer fit fail, the others still go ahead (the show-panel
// flag, written last, keeps the size), the file stays whole, and the close
// says so and ends with exit status 1.
TEST(SettingsFaults, ADiskThatFillsUpDuringTheSaveLeavesAWholeFileAndStatusOne) {
    if (!PanelRun::Native()) GTEST_SKIP() << "the file-size limit is set by a POSIX shell";
    PanelRun panel;
    const RunResult r = panel.Run("show\nclose\n", Driver::StandIn, {},
                                  {"sh", "-c", "trap '' XFSZ; ulimit -f 2; exec \"$0\" \"$@\""});
    EXPECT_EQ(r.status, 1) << r.err;
    const std::vector<std::string> lines = ErrorLines(r);
    ASSERT_EQ(lines.size(), 1u) << r.err;
    EXPECT_NE(lines[0].find("not saved"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("File too large"), std::string::npos) << lines[0];
    EXPECT_LE(r.settingsText.size(), 1024u);
    EXPECT_EQ(r.Setting("General", "DIV"), "16");
    EXPECT_EQ(r.Setting("Attribute16", "Saturation"), "<missing>");
    EXPECT_EQ(r.Setting("General", "SetParameter"), "1") << "the writes after the first failure stopped";
    EXPECT_EQ(r.settingsText.back(), '\n') << "torn file";
}

// What a write killed before its rename left behind is removed at the next
// start, before anything is read; it is never read as the settings. A file
// copier's file in flight beside it outlives the start and the close's save.
TEST(SettingsFaults, TheNextStartRemovesTemporaryFilesOfInterruptedWrites) {
    PanelRun panel;
    panel.WriteSettings("[General]\nDIV=4\n");
    const std::string stale = panel.Folder() + "/.KORVANE16.ini.k16tmp-x7Yq2Z";
    const std::string copiers = panel.Folder() + "/.KORVANE16.ini.a1B2c3";
    for (const std::string& name : {stale, copiers}) std::ofstream(name) << "[General]\nDIV=9\nSetParameter=0\n";
    const RunResult r = panel.Run("show\nstate\nclick 1021\nclose\n", Driver::StandIn);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(copiers));
    EXPECT_NE(r.out.find("layoutCode 4"), std::string::npos) << r.out;
    EXPECT_EQ(r.Setting("General", "SetParameter"), "1") << "the close did not save";
}

}  // namespace
