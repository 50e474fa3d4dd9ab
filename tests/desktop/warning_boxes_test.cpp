// What the panel cannot do reaches an operator who sees no standard error: a
// message box on a real X display (tests/on_xvfb.sh), seen as a second visible
// top-level window titled as the panel. The show-panel flag's quick start
// stays silent but for standard error.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "tests/desktop/program_run.hpp"
#include "tests/file_text.hpp"

namespace fs = std::filesystem;

namespace {

// The visible top-level windows titled "KORVANE16": the panel and its boxes.
std::vector<std::string> PanelWindows() {
    std::vector<std::string> ids;
    FILE* out = popen("xdotool search --onlyvisible --name '^KORVANE16$' 2>/dev/null", "r");
    for (char line[64]; out != nullptr && std::fgets(line, sizeof line, out) != nullptr;)
        ids.emplace_back(line, std::strcspn(line, "\n"));
    if (out != nullptr) pclose(out);
    return ids;
}

bool WaitForWindows(std::size_t count, double seconds = 8) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (PanelWindows().size() != count)
        if (std::chrono::steady_clock::now() > deadline) return false;
        else std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return true;
}

// The panel, or a copy of it that finds no driver, on the real display;
// SHELL_PREFIX runs it under a shell that sets a limit first.
struct Case {
    const char* name;
    bool withoutDriver;
    const char* settings;          // nullptr: no file; "DIR": a folder in its place
    const char* shellPrefix;       // nullptr: none
    std::size_t windowsWhileUp;    // the panel, and its box
    bool closeByEscape;            // then one box after the close
};

const Case kCases[] = {
    {"missing driver, shown panel", true, nullptr, nullptr, 2, false},
    {"missing driver, flag 0", true, "[General]\nSetParameter=0\n", nullptr, 0, false},
    {"unreadable settings file", false, "DIR", nullptr, 2, false},
    {"failed save", false, nullptr, "trap '' XFSZ; ulimit -f 2; ", 1, true},
};

TEST(WarningBoxes, EachFailureReachesTheWindowExceptInTheQuickStart) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X display (run under tests/on_xvfb.sh)";
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        ProgramRun run;
        const char* other = std::getenv("KORVANE16_PROGRAM");  // another build to try, as ProgramRun allows
        std::string program = other != nullptr && *other != '\0' ? other : KORVANE16_PROGRAM;
        if (c.withoutDriver) {
            fs::create_directory(run.Folder() + "/alone");
            fs::copy_file(program, run.Folder() + "/alone/korvane16");
            program = run.Folder() + "/alone/korvane16";
        }
        if (c.shellPrefix != nullptr) {
            WriteFileText(run.Folder() + "/limited", std::string("#!/bin/sh\n") + c.shellPrefix + "exec " + program +
                                                        " \"$@\"\n");
            fs::permissions(run.Folder() + "/limited", fs::perms::owner_all);
            program = run.Folder() + "/limited";
        }
        if (c.settings != nullptr && std::string(c.settings) == "DIR") fs::create_directory(run.SettingsPath());
        else if (c.settings != nullptr) run.WriteSettings(c.settings);

        const Started panel = run.Start({}, {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", std::getenv("DISPLAY")},
                                             {"KORVANE16_PROGRAM", program}});
        if (c.windowsWhileUp == 0) {
            const Finished quick = run.Wait(panel, 10);
            EXPECT_EQ(quick.status, 0) << "a box held the quick start open";
            EXPECT_NE(quick.err.find("no TAVRIND.dll"), std::string::npos) << quick.err;
            continue;
        }
        const bool up = WaitForWindows(c.windowsWhileUp);
        if (c.closeByEscape && up) {
            const std::string window = PanelWindows().front();
            EXPECT_EQ(std::system(("xdotool windowfocus --sync " + window + " key Escape").c_str()), 0);
            EXPECT_TRUE(WaitForWindows(1)) << "no box after the close";
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            EXPECT_NE(PanelWindows().front(), window) << "the panel is still up";
        }
        const std::size_t windows = PanelWindows().size();
        kill(panel.pid, SIGTERM);
        const Finished closed = run.Wait(panel, 10);
        EXPECT_TRUE(up) << windows << " windows; the panel said: " << closed.err;
        EXPECT_LT(closed.status, 128) << "a box kept the panel from closing on SIGTERM";
    }
}

}  // namespace
