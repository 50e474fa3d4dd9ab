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

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

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
    const RunResult r = panel.Run("show\nclick 1021\nclose\n", Driver::StandIn, {},
                                  {"strace", "-f", "-qq", "-o", trace, "-e", "trace=openat,fsync,rename"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<Replacement> replacements = Replacements(ReadAll(trace));
    // The flag at start, then each of the 99 keys at close, each a change.
    ASSERT_EQ(replacements.size(), 100u);
    for (std::size_t i = 0; i < replacements.size(); ++i) {
        EXPECT_TRUE(replacements[i].fileFlushed) << "replacement " << i;
        EXPECT_TRUE(replacements[i].folderFlushed) << "replacement " << i;
    }
}

}  // namespace
