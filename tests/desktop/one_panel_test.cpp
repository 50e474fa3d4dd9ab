// One panel per user session: a second start leaves the first panel, its
// board and its settings file alone.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/desktop/program_run.hpp"

namespace {

struct FileStamp {
    ino_t inode = 0;
    timespec modified{};
};

FileStamp Stamp(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return {info.st_ino, info.st_mtim};
}

TEST(OnePanel, ASecondStartTouchesNeitherBoardNorFileSaysSoAndExitsOne) {
    ProgramRun run;
    const Started first = run.Start({});
    ASSERT_TRUE(run.WaitForStartUp());
    const std::vector<std::string> journal = run.Journal();
    const std::string settings = run.Settings();
    const FileStamp before = Stamp(run.SettingsPath());

    // A stopped first panel cannot come to the front: the second start says so.
    const struct {
        std::vector<std::string> arguments;
        bool firstStopped;
        const char* said;
    } rows[] = {
        {{}, false, "its window was brought to the front"},
        {{"--show"}, false, "its window was brought to the front"},
        {{}, true, "it did not answer the request to come to the front"},
    };
    for (const auto& row : rows) {
        if (row.firstStopped) kill(first.pid, SIGSTOP);
        const Finished second = run.Run(row.arguments);
        if (row.firstStopped) kill(first.pid, SIGCONT);
        EXPECT_EQ(second.status, 1);
        EXPECT_EQ(second.out, "");
        EXPECT_EQ(second.err,
                  std::string("KORVANE16: a panel is already running in this session; ") + row.said + "; this one stops\n");
    }
    EXPECT_EQ(run.Journal(), journal);
    EXPECT_EQ(run.Settings(), settings);
    const FileStamp after = Stamp(run.SettingsPath());
    EXPECT_EQ(after.inode, before.inode);
    EXPECT_EQ(after.modified.tv_nsec, before.modified.tv_nsec);

    kill(first.pid, SIGTERM);
    EXPECT_EQ(run.Wait(first).status, 0);
    EXPECT_EQ(run.Journal().back(), "unload");
}

TEST(OnePanel, TheClaimEndsWithThePanelsProcessHoweverItEnds) {
    ProgramRun run;
    for (const int signal : {SIGTERM, SIGKILL}) {
        SCOPED_TRACE(signal);
        const Started panel = run.Start({});
        ASSERT_TRUE(run.WaitForStartUp());
        kill(panel.pid, signal);
        run.Wait(panel);
        // The next start is the session's panel again: it comes up and stays.
        std::filesystem::remove(run.Folder() + "/journal.txt");
        std::filesystem::remove(run.SettingsPath());
        const Started next = run.Start({});
        ASSERT_TRUE(run.WaitForStartUp()) << "the panel after a " << signal << " did not start";
        kill(next.pid, SIGTERM);
        EXPECT_EQ(run.Wait(next).status, 0);
    }
}

TEST(OnePanel, EachUserSessionHasItsOwn) {
    ProgramRun run;
    const Started first = run.Start({});
    ASSERT_TRUE(run.WaitForStartUp());
    // Another run-time folder stands for another session (or user).
    ProgramRun other;
    const Started elsewhere = other.Start({});
    EXPECT_TRUE(other.WaitForStartUp());
    kill(elsewhere.pid, SIGTERM);
    kill(first.pid, SIGTERM);
    EXPECT_EQ(other.Wait(elsewhere).status, 0);
    EXPECT_EQ(run.Wait(first).status, 0);
}

}  // namespace
