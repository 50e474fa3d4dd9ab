// How the programs conduct themselves as processes: termination signals, a
// lost display, output that cannot be written, a lock folder others took.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <sstream>
#include <thread>

#include "tests/desktop/program_run.hpp"
#include "tests/file_text.hpp"

namespace {

// The settings lock held as another program holds it.
class HeldLock {
public:
    explicit HeldLock(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        EXPECT_EQ(flock(fd_, LOCK_EX), 0);
    }
    ~HeldLock() { close(fd_); }

private:
    int fd_;
};

long Keys(const std::string& settings) { return std::count(settings.begin(), settings.end(), '='); }

// What PROCESS wrote to STREAM ("out" or "err") once it holds TEXT, or "".
std::string WaitForOutput(const ProgramRun& run, const Started& process, const char* stream, const std::string& text) {
    const std::string file = run.Folder() + "/out" + std::to_string(process.number) + "." + stream;
    for (int tries = 0; tries < 1500; ++tries) {
        if (const std::string written = ReadFileText(file); written.find(text) != std::string::npos) return written;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "";
}

TEST(Termination, SignalsDuringTheClosesSaveWaitUntilEverySettingIsSaved) {
    ProgramRun run;
    const Started panel = run.Start({});
    ASSERT_TRUE(run.WaitForStartUp());
    std::optional<HeldLock> lock(std::in_place, run.LockFile());
    kill(panel.pid, SIGTERM);
    ASSERT_TRUE(run.WaitForJournalLine("unload"));  // the board is stopped; the save waits for the lock
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) kill(panel.pid, signal);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    lock.reset();
    const Finished f = run.Wait(panel);
    EXPECT_EQ(f.status, 0) << f.err;
    EXPECT_EQ(Keys(run.Settings()), 99) << run.Settings();
    EXPECT_NE(run.Settings().find("SetParameter=1"), std::string::npos);
}

TEST(Termination, APanelWaitingAtStartForTheLockSaysSoAndEndsAtASignalWritingNothing) {
    ProgramRun run;
    run.WriteSettings("[General]\nSetParameter=1\n");
    HeldLock lock(run.LockFile());
    const Started panel = run.Start({});
    ASSERT_NE(WaitForOutput(run, panel, "err", "waiting for the settings lock " + run.LockFile()), "");
    kill(panel.pid, SIGTERM);
    const Finished f = run.Wait(panel, 3);
    EXPECT_EQ(f.status, 128 + SIGTERM) << f.err;
    EXPECT_EQ(run.Settings(), "[General]\nSetParameter=1\n");
}

// The harness reading its script from a pipe: a signal closes the panel in
// order, while it waits for the next line; until then the file holds only the
// cleared show-panel flag.
TEST(Termination, TheHarnessClosesInOrderAtASignalWhileItWaitsForItsScript) {
    ProgramRun run;
    int script[2];
    ASSERT_EQ(pipe(script), 0);
    fcntl(script[1], F_SETFD, FD_CLOEXEC);
    const Started harness = run.Start({"/dev/fd/" + std::to_string(script[0])}, {}, std::nullopt,
                                      KORVANE16_HARNESS_PROGRAM);
    close(script[0]);
    ASSERT_EQ(write(script[1], "show\n", 5), 5);
    ASSERT_TRUE(run.WaitForStartUp());
    EXPECT_EQ(run.Settings(), "[General]\nSetParameter=0\n");
    kill(harness.pid, SIGTERM);
    const Finished f = run.Wait(harness, 10);
    close(script[1]);
    EXPECT_EQ(f.status, 0) << f.err;
    EXPECT_EQ(run.Journal().back(), "unload");
    EXPECT_NE(run.Settings().find("SetParameter=1"), std::string::npos);
}

// A private X server that ends under the open panel.
TEST(DisplayLoss, ThePanelStopsTheBoardSavesAndFails) {
    const std::string server = "/usr/bin/Xvfb";
    if (access(server.c_str(), X_OK) != 0) GTEST_SKIP() << "needs Xvfb";
    ProgramRun run;
    // The server writes its display's number and a line end once it is ready.
    const Started x = run.Start({"-displayfd", "1", "-nolisten", "tcp"}, {}, std::nullopt, server);
    std::string name = ":" + WaitForOutput(run, x, "out", "\n");
    name.pop_back();
    ASSERT_GT(name.size(), 1u);
    const Started panel = run.Start({}, {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", name}});
    const bool started = run.WaitForStartUp();
    kill(x.pid, SIGTERM);
    run.Wait(x);
    const Finished f = run.Wait(panel);
    ASSERT_TRUE(started) << f.err;
    EXPECT_EQ(f.status, 1) << f.err;
    EXPECT_EQ(run.Journal().back(), "unload");
    EXPECT_EQ(Keys(run.Settings()), 99) << run.Settings();
    EXPECT_NE(run.Settings().find("SetParameter=1"), std::string::npos);
}

struct Command {
    std::string program;
    std::vector<std::string> arguments;
};

TEST(StandardOutput, WhatCannotBeWrittenMakesTheProgramFailWithOneLine) {
    ProgramRun run;
    const std::string script = run.Folder() + "/script.txt";
    WriteFileText(script, "show\nstate\ndump\nclose\n");
    const Command commands[] = {
        {KORVANE16_PROGRAM, {"--help"}},         {KORVANE16_PROGRAM, {"--version"}},
        {KORVANE16_CTL_PROGRAM, {"--help"}},     {KORVANE16_CTL_PROGRAM, {"--version"}},
        {KORVANE16_CTL_PROGRAM, {"list"}},       {KORVANE16_MONITOR_PROGRAM, {"--help"}},
        {KORVANE16_MONITOR_PROGRAM, {"--version"}}, {KORVANE16_HARNESS_PROGRAM, {script}},
    };
    for (const Command& command : commands) {
        for (const std::string output : {"/dev/full", ""}) {
            SCOPED_TRACE(command.program + " " + command.arguments[0] + " > " + output);
            const Finished f = run.Wait(run.Start(command.arguments, {}, output, command.program));
            EXPECT_EQ(f.status, 1);
            EXPECT_NE(f.err.find(": cannot write to standard output"), std::string::npos) << f.err;
        }
    }
}

// Another user took every folder the lock may live in: what needs no lock
// still works, and what needs it says how to get a private folder.
TEST(LockFolder, WithoutAPrivateFolderOnlyWhatNeedsTheLockFails) {
    ProgramRun run;
    const std::string taken = run.Folder() + "/tmp", plain = run.Folder() + "/plain";
    std::filesystem::create_directory(taken);
    WriteFileText(plain, "");
    const std::string stem = taken + "/korvane16-" + std::to_string(geteuid());
    WriteFileText(stem, "");
    for (int i = 1; i <= 9; ++i) WriteFileText(stem + "." + std::to_string(i), "");
    const std::vector<std::pair<std::string, std::string>> environment{
        {"XDG_RUNTIME_DIR", "-"}, {"XDG_CACHE_HOME", plain}, {"HOME", plain}, {"TMPDIR", taken}};
    const struct {
        Command command;
        int status;
    } rows[] = {
        {{KORVANE16_PROGRAM, {"--help"}}, 0},     {{KORVANE16_PROGRAM, {"--version"}}, 0},
        {{KORVANE16_PROGRAM, {"--bogus"}}, 2},    {{KORVANE16_CTL_PROGRAM, {"--help"}}, 0},
        {{KORVANE16_CTL_PROGRAM, {"--bogus"}}, 2}, {{KORVANE16_CTL_PROGRAM, {"get"}}, 2},
        {{KORVANE16_PROGRAM, {"--show"}}, 1},     {{KORVANE16_CTL_PROGRAM, {"list"}}, 1},
        {{KORVANE16_HARNESS_PROGRAM, {"/dev/null"}}, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.command.program + " " + row.command.arguments[0]);
        const Finished f = run.Wait(run.Start(row.command.arguments, environment, std::nullopt, row.command.program));
        EXPECT_EQ(f.status, row.status) << f.err;
        if (row.status == 1) {
            // One line about the lock (the tool may first say that the file is missing).
            std::istringstream lines(f.err);
            int lockLines = 0;
            for (std::string line; std::getline(lines, line);) lockLines += line.find("settings lock") != std::string::npos;
            EXPECT_EQ(lockLines, 1) << f.err;
            EXPECT_NE(f.err.find("set XDG_RUNTIME_DIR to a folder"), std::string::npos) << f.err;
        }
    }
    EXPECT_FALSE(run.SettingsExist());
}

}  // namespace
