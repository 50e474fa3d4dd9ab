// The settings file beside other programs and other users, through the tool
// and the panel themselves: a program that edits the file through a shared
// mapping, other writers' files in flight, links and homes of other users met
// by root, and names that are not regular files.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

#include "tests/ctl/ctl_run.hpp"
#include "tests/harness/panel_run.hpp"

namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;

bool Says(const ToolResult& r, const std::string& words) { return r.err.find(words) != std::string::npos; }

TEST(SharedFile, WhatIsNotARegularFileIsRefusedWithItsReason) {
    CtlFolder folder;
    // Run as "sh -c COMMAND TOOL", so "$0" is the tool; its input is a pipe.
    for (const char* command : {"echo | \"$0\" --file /dev/stdin list", "echo | \"$0\" --file /dev/stdin get layout",
                                "echo | \"$0\" --file /dev/fd/3 set layout=4 3<&0"}) {
        SCOPED_TRACE(command);
        const ToolResult r = folder.Wait(folder.StartProgram("/bin/sh", {"-c", command, CtlFolder::Tool()}, "tool"));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(SplitLines(r.err).size(), 1u) << r.err;
        EXPECT_TRUE(Says(r, "not a regular file")) << r.err;
    }
}

TEST(SharedFile, ABackslashInAFileNameIsPartOfTheName) {
    CtlFolder folder;
    fs::create_directories(folder.Path("my\\dir"));
    fs::create_directories(folder.Path("my/dir"));
    const ToolResult r = folder.Run({"--file", "my\\dir/KORVANE16.ini", "set", "layout=4"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadText(folder.Path("my\\dir/KORVANE16.ini")), "[General]\nDIV=4\n");
    EXPECT_TRUE(fs::is_empty(folder.Path("my/dir")));
}

// Only a dead writer's temporary file is swept: never a file copier's file in
// flight (the usual ".NAME.XXXXXX"), nor one that a live writer holds, which
// may be a writer of another settings lock (another session, another user).
TEST(SharedFile, OnlyTheTemporaryFilesOfWritersThatAreGoneAreSwept) {
    CtlFolder folder;
    folder.WriteSettings("[General]\nDIV=9\n");
    const std::string copiers = ".KORVANE16.ini.a1B2c3", held = ".KORVANE16.ini.k16tmp-b2C3d4",
                      dead = ".KORVANE16.ini.k16tmp-c3D4e5";
    for (const std::string& name : {copiers, held, dead}) WriteText(folder.Path(name), "[General]\nDIV=1\n");
    const int holder = open(folder.Path(held).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    const ToolResult r = folder.Run({"set", "layout=4"});
    close(holder);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(folder.Settings(), "[General]\nDIV=4\n");
    EXPECT_TRUE(fs::exists(folder.Path(copiers)));
    EXPECT_TRUE(fs::exists(folder.Path(held)));
    EXPECT_FALSE(fs::exists(folder.Path(dead)));
}

// A neighbour program that keeps the file mapped and changes a value of its
// own in place, under the settings lock. Only its first store into a page
// changes the file's stamps; later ones leave them as they were.
class MappedNeighbour {
public:
    explicit MappedNeighbour(const CtlFolder& folder) : folder_(folder) { Map(); }
    ~MappedNeighbour() { Unmap(); }

    void Store(const std::string& value) {
        const int lock = open(folder_.LockFile().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_EQ(flock(lock, LOCK_EX), 0);
        if (Inode(folder_.Path("KORVANE16.ini")) != inode_) Map();  // the panel replaced the file
        const std::size_t at = std::string_view(bytes_, size_).find("Value=") + 6;
        std::memcpy(bytes_ + at, value.data(), value.size());
        close(lock);
    }

private:
    void Map() {
        Unmap();
        fd_ = open(folder_.Path("KORVANE16.ini").c_str(), O_RDWR | O_CLOEXEC);
        struct stat info {};
        ASSERT_EQ(fstat(fd_, &info), 0);
        inode_ = info.st_ino;
        size_ = static_cast<std::size_t>(info.st_size);
        bytes_ = static_cast<char*>(mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0));
        ASSERT_NE(bytes_, MAP_FAILED);
    }
    void Unmap() {
        if (bytes_ != nullptr && bytes_ != MAP_FAILED) munmap(bytes_, size_);
        if (fd_ >= 0) close(fd_);
        bytes_ = nullptr;
        fd_ = -1;
    }

    const CtlFolder& folder_;
    int fd_ = -1;
    char* bytes_ = nullptr;
    std::size_t size_ = 0;
    ino_t inode_ = 0;
};

// The stand-in driver appends a line per call to its journal. In its place a
// FIFO of one page, which the test holds open, filled but for ROOM bytes: the
// panel's driver calls go ahead until their lines fill it, then wait.
class JournalValve {
public:
    JournalValve(const std::string& path, std::size_t room) {
        EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
        fd_ = open(path.c_str(), O_RDWR | O_CLOEXEC);
        EXPECT_EQ(fcntl(fd_, F_SETPIPE_SZ, kPage), kPage);
        const std::string filler(kPage - room, '\n');
        EXPECT_EQ(write(fd_, filler.data(), filler.size()), static_cast<ssize_t>(filler.size()));
    }
    ~JournalValve() {
        if (reader_.joinable()) {
            reader_.request_stop();
            reader_.join();
        }
        close(fd_);
    }

    // True once the panel's lines have filled the FIFO (within 30 s).
    bool Full() const {
        for (int wait = 0; wait < 30000; ++wait) {
            int queued = 0;
            if (ioctl(fd_, FIONREAD, &queued) == 0 && queued == kPage) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    // Lets the panel's lines through again until the valve goes.
    void Open() {
        reader_ = std::jthread([this](std::stop_token stop) {
            char buffer[4096];
            pollfd ready{fd_, POLLIN, 0};
            while (!stop.stop_requested())
                if (poll(&ready, 1, 10) == 1 && read(fd_, buffer, sizeof buffer) <= 0) break;
        });
    }

private:
    static constexpr int kPage = 4096;
    int fd_ = -1;
    std::jthread reader_;
};

TEST(SharedFile, AnEditThroughASharedMappingOutlivesThePanelsNextReplace) {
    CtlFolder folder;
    // The show-panel flag 0: the start reads every key, then the close saves.
    folder.WriteSettings("[General]\nDIV=5\nSetParameter=0\n[Neighbour]\nValue=1111\n");
    MappedNeighbour neighbour(folder);
    neighbour.Store("2222");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // stamps settled: the panel trusts what it reads
    // Room for the lines "load" and "OvrSetup 0": the panel waits at its
    // next driver call, after its first read and before any write.
    JournalValve journal(folder.Path("journal.txt"), std::string("load\nOvrSetup 0\n").size());
    WriteText(folder.Path("panel.txt"), "show\n");
    const pid_t panel = folder.StartProgram(PanelRun::Harness(), {folder.Path("panel.txt")}, "panel");
    const bool held = journal.Full();
    if (held) neighbour.Store("3333");
    journal.Open();
    const ToolResult r = folder.Wait(panel, "panel");
    ASSERT_TRUE(held) << r.err;
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(folder.Settings().find("DIV=16\n"), std::string::npos) << folder.Settings();
    EXPECT_NE(folder.Settings().find("[Neighbour]\nValue=3333\n"), std::string::npos) << folder.Settings();
}

// Root working in a folder of another user: that user's links are not
// followed (the file counts as unreadable, told once; the save fails), and
// nothing is created, replaced or swept where they lead.
TEST(SharedFile, RootFollowsNoLinkOfAnotherUser) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make a link another user's";
    CtlFolder folder;
    fs::create_directory(folder.Path("root-only"));
    fs::permissions(folder.Path("root-only"), fs::perms::owner_all);
    const std::string secret = folder.Path("root-only/secret.ini");
    const std::string rootsOwn = folder.Path("root-only/.secret.ini.k16tmp-a1B2c3");
    WriteText(secret, "[General]\nDIV=9\n");
    fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
    WriteText(rootsOwn, "");
    const ino_t inode = Inode(secret);
    ASSERT_EQ(chown(folder.Path("").c_str(), kNobody, kNobody), 0);
    for (const auto& [name, to] : {std::pair{"KORVANE16.ini", "root-only/secret.ini"}, {"new.ini", "root-only/new.ini"}}) {
        ASSERT_EQ(symlink(to, folder.Path(name).c_str()), 0);
        ASSERT_EQ(lchown(folder.Path(name).c_str(), kNobody, kNobody), 0);
    }
    WriteText(folder.Path("panel.txt"), "show\nclose\n");
    struct Case {
        std::string program;
        std::vector<std::string> args;
    };
    for (const Case& run : {Case{CtlFolder::Tool(), {"set", "layout=4"}}, Case{CtlFolder::Tool(), {"list"}},
                            Case{CtlFolder::Tool(), {"--file", "new.ini", "set", "layout=4"}},
                            Case{PanelRun::Harness(), {folder.Path("panel.txt")}}}) {
        SCOPED_TRACE(run.args.back());
        const ToolResult r = folder.Wait(folder.StartProgram(run.program, run.args, "run"), "run");
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(Says(r, "it is a link of another user, which is not followed")) << r.err;
        if (run.program == PanelRun::Harness()) {
            EXPECT_EQ(r.err.find("cannot read the settings file"), r.err.rfind("cannot read the settings file"));
            EXPECT_TRUE(Says(r, "the settings were not saved")) << r.err;
        }
    }
    EXPECT_EQ(ReadText(secret), "[General]\nDIV=9\n");
    EXPECT_EQ(Inode(secret), inode);
    EXPECT_TRUE(fs::exists(rootsOwn));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path("root-only")), {}), 2);
}

// Sets environment variables for one scope and puts back what they were.
class Variables {
public:
    Variables(std::initializer_list<std::pair<const char*, std::optional<std::string>>> values) {
        for (const auto& [name, value] : values) {
            const char* before = std::getenv(name);
            saved_.emplace_back(name, before ? std::optional<std::string>(before) : std::nullopt);
            Set(name, value);
        }
    }
    ~Variables() {
        for (const auto& [name, value] : saved_) Set(name.c_str(), value);
    }

private:
    static void Set(const char* name, const std::optional<std::string>& value) {
        if (value) setenv(name, value->c_str(), 1);
        else unsetenv(name);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Root with another user's HOME (sudo -E) and no run-time folder of its own
// keeps its lock elsewhere, making nothing in that user's home.
TEST(SharedFile, RootMakesNothingInAnotherUsersHome) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make a folder another user's";
    CtlFolder folder;
    ASSERT_EQ(chown(folder.Path("runtime").c_str(), kNobody, kNobody), 0);  // not root's: passed over
    fs::create_directories(folder.Path("bare"));
    fs::create_directories(folder.Path("cached/.cache"));
    fs::create_directories(folder.Path("tmp"));
    for (const char* home : {"bare", "cached", "cached/.cache"})
        ASSERT_EQ(chown(folder.Path(home).c_str(), kNobody, kNobody), 0);
    const std::vector<std::pair<std::string, std::optional<std::string>>> homes = {
        {"bare", std::nullopt}, {"cached", std::nullopt}, {"bare", folder.Path("cached/.cache")}};
    for (const auto& [home, cache] : homes) {
        SCOPED_TRACE(home + " " + cache.value_or(""));
        const Variables variables{
            {"HOME", folder.Path(home)}, {"XDG_CACHE_HOME", cache}, {"TMPDIR", folder.Path("tmp")}};
        const ToolResult r = folder.Run({"set", "layout=4"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(fs::is_empty(folder.Path("bare")));
        EXPECT_TRUE(fs::is_empty(folder.Path("cached/.cache")));
    }
}

}  // namespace
