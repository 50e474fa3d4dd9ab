// The board shared with the monitor: one holder per user, seen live by a
// viewer that outlasts holders, and let go when the holder ends or dies.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "sim/board_link.hpp"

namespace fs = std::filesystem;

namespace {

// A private runtime folder of the test's own.
class BoardLink : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "korvane16-link-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        previous_ = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    }
    void TearDown() override {
        if (previous_.empty()) unsetenv("XDG_RUNTIME_DIR");
        else setenv("XDG_RUNTIME_DIR", previous_.c_str(), 1);
        fs::remove_all(folder_);
    }
    std::string folder_, previous_;
};

sim::BoardState Running(std::int32_t standard) {
    sim::BoardState state{};
    state.setUp = state.running = 1;
    state.standard = standard;
    state.tileCount = 3;
    return state;
}

TEST_F(BoardLink, AViewerSeesTheHoldersStateWhileItHoldsTheBoard) {
    sim::BoardViewer viewer;
    sim::BoardState seen{};
    EXPECT_FALSE(viewer.Read(seen));  // opened before any board
    {
        sim::BoardPublisher publisher;
        ASSERT_TRUE(publisher.Holds()) << publisher.Problem();
        publisher.Publish(Running(sim::kPal));
        ASSERT_TRUE(viewer.Read(seen));
        EXPECT_TRUE(seen.Showing());
        EXPECT_EQ(seen.standard, sim::kPal);
        EXPECT_EQ(seen.tileCount, 3);
    }
    EXPECT_FALSE(viewer.Read(seen));  // the holder has gone
    sim::BoardPublisher next;       // the panel opens again
    ASSERT_TRUE(next.Holds()) << next.Problem();
    next.Publish(Running(sim::kNtsc));
    ASSERT_TRUE(viewer.Read(seen));
    EXPECT_EQ(seen.standard, sim::kNtsc);
}

TEST_F(BoardLink, ASecondHolderOfTheSameUserLeavesTheBoardToTheFirst) {
    sim::BoardPublisher first;
    ASSERT_TRUE(first.Holds()) << first.Problem();
    first.Publish(Running(sim::kPal));
    sim::BoardPublisher second;
    EXPECT_FALSE(second.Holds());
    EXPECT_EQ(second.Problem(), "another virtual board of this user is running");
    second.Publish(Running(sim::kNtsc));  // goes nowhere
    sim::BoardViewer viewer;
    sim::BoardState seen{};
    ASSERT_TRUE(viewer.Read(seen));
    EXPECT_EQ(seen.standard, sim::kPal);
}

TEST_F(BoardLink, AHolderThatDiesLetsTheBoardGo) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        auto* publisher = new sim::BoardPublisher;  // never destroyed: the process is killed
        publisher->Publish(Running(sim::kPal));
        const char ok = publisher->Holds() ? '1' : '0';
        if (write(ready[1], &ok, 1) != 1) _exit(1);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, '1');
    sim::BoardViewer viewer;
    sim::BoardState seen{};
    EXPECT_TRUE(viewer.Read(seen));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_FALSE(viewer.Read(seen));
    sim::BoardPublisher next;
    EXPECT_TRUE(next.Holds()) << next.Problem();
    close(ready[0]);
    close(ready[1]);
}

TEST_F(BoardLink, OnlyARegularFileOfTheUsersOwnIsUsed) {
    fs::create_symlink("/dev/zero", fs::path(folder_) / "KORVANE16-board");
    sim::BoardPublisher publisher;
    EXPECT_FALSE(publisher.Holds());
    EXPECT_NE(publisher.Problem().find("KORVANE16-board"), std::string::npos) << publisher.Problem();
    sim::BoardViewer viewer;
    sim::BoardState seen{};
    EXPECT_FALSE(viewer.Read(seen));
}

}  // namespace
