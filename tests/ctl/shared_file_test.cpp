// The settings file beside other programs and other users, through the tool
// and the panel: a program writing through a shared mapping, other writers'
// files in flight, links and homes of other users met by root, pipes.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "tests/ctl/ctl_run.hpp"
#include "tests/settings/settings_folder.hpp"  // Inode
#include "tests/harness/panel_run.hpp"

namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;

bool Says(const Finished& r, const std::string& words) { return r.err.find(words) != std::string::npos; }

TEST(SharedFile, APipeIsRefusedAndABackslashIsPartOfAName) {
    CtlFolder folder;
    // "sh -c COMMAND TOOL": "$0" is the tool, its input a pipe.
    for (const char* command : {"echo | \"$0\" --file /dev/stdin list", "echo | \"$0\" --file /dev/fd/3 set layout=4 3<&0"}) {
        const Finished r = folder.Wait(folder.StartProgram("/bin/sh", {"-c", command, CtlFolder::Tool()}, "tool"));
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_EQ(SplitLines(r.err).size(), 1u) << r.err;
        EXPECT_TRUE(Says(r, "not a regular file")) << r.err;
    }
    fs::create_directories(folder.Path("my\\dir"));
    fs::create_directories(folder.Path("my/dir"));
    WriteFileText(folder.Path("my\\dir/KORVANE16.ini"), "");
    EXPECT_EQ(folder.Run({"--file", "my\\dir/KORVANE16.ini", "set", "layout=4"}).status, 0);
    EXPECT_NE(ReadFileText(folder.Path("my\\dir/KORVANE16.ini")).find("\nDIV=4\n"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(folder.Path("my/dir")));
}

// Swept: a dead writer's temporary file; kept: a copier's file in flight and
// one a live writer holds (of this or of another settings lock).
TEST(SharedFile, OnlyTheTemporaryFilesOfWritersThatAreGoneAreSwept) {
    CtlFolder folder;
    folder.WriteSettings("[General]\nDIV=9\n");
    const std::string copiers = ".KORVANE16.ini.a1B2c3", held = ".KORVANE16.ini.k16tmp-b2C3d4",
                      dead = ".KORVANE16.ini.k16tmp-c3D4e5";
    for (const std::string& name : {copiers, held, dead}) WriteFileText(folder.Path(name), "");
    const int holder = open(folder.Path(held).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    EXPECT_EQ(folder.Run({"set", "layout=4"}).status, 0);
    close(holder);
    EXPECT_EQ(folder.Settings().rfind("[General]\nDIV=4\n", 0), 0u) << folder.Settings();
    EXPECT_TRUE(fs::exists(folder.Path(copiers)));
    EXPECT_TRUE(fs::exists(folder.Path(held)));
    EXPECT_FALSE(fs::exists(folder.Path(dead)));
}

// The stand-in appends a line per driver call to its journal. In its place: a
// FIFO of one page, held open here and filled but for the first two lines, so
// the panel waits at its third call: after its first read, before any write.
TEST(SharedFile, AStoreThroughASharedMappingOutlivesThePanelsNextReplace) {
    CtlFolder folder;
    folder.WriteSettings("[General]\nDIV=5\nSetParameter=0\n[Neighbour]\nValue=1111\n");  // flag 0: start, then save
    const int file = open(folder.Path("KORVANE16.ini").c_str(), O_RDWR | O_CLOEXEC);
    const auto size = static_cast<std::size_t>(fs::file_size(folder.Path("KORVANE16.ini")));
    char* bytes = static_cast<char*>(mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0));
    ASSERT_NE(bytes, MAP_FAILED);
    char* value = bytes + std::string_view(bytes, size).find("1111");
    std::memcpy(value, "2222", 4);  // the first store into the page: the file's times change
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // and settle, so the panel trusts its copy

    const std::string journal = folder.Path("journal.txt");
    ASSERT_EQ(mkfifo(journal.c_str(), 0600), 0);
    const int valve = open(journal.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(fcntl(valve, F_SETPIPE_SZ, 4096), 4096);
    const std::string filler(4096 - std::string("load\nOvrSetup 0\n").size(), '\n');
    ASSERT_EQ(write(valve, filler.data(), filler.size()), static_cast<ssize_t>(filler.size()));
    WriteFileText(folder.Path("panel.txt"), "show\n");
    const pid_t panel = folder.StartProgram(PanelRun::Harness(), {folder.Path("panel.txt")}, "panel");
    int queued = 0;
    for (int ms = 0; ms < 30000 && queued < 4096; ++ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ioctl(valve, FIONREAD, &queued);
    }
    const int lock = open(folder.LockFile().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);
    std::memcpy(value, "3333", 4);  // into a dirty page: the times stay
    close(lock);
    unlink(journal.c_str());  // the panel's next lines go to a file
    char page[4096];
    EXPECT_GT(read(valve, page, sizeof page), 0);
    const Finished r = folder.Wait(panel, "panel");
    munmap(bytes, size);
    close(file);
    close(valve);
    EXPECT_EQ(queued, 4096) << "the panel never waited";
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(folder.Settings().find("DIV=16\n"), std::string::npos) << folder.Settings();
    EXPECT_NE(folder.Settings().find("[Neighbour]\nValue=3333\n"), std::string::npos) << folder.Settings();
}

// In a folder of another user, root follows none of that user's links: the
// file is unreadable (told once; the save fails), and nothing is created,
// replaced or swept where they lead.
TEST(SharedFile, RootFollowsNoLinkOfAnotherUser) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make a link another user's";
    CtlFolder folder;
    fs::create_directory(folder.Path("root-only"));
    const std::string secret = folder.Path("root-only/secret.ini");
    WriteFileText(secret, "[General]\nDIV=9\n");
    WriteFileText(folder.Path("root-only/.secret.ini.k16tmp-a1B2c3"), "");
    const ino_t inode = Inode(secret);
    ASSERT_EQ(chown(folder.Path("").c_str(), kNobody, kNobody), 0);
    for (const char* name : {"KORVANE16.ini", "new.ini"}) {
        ASSERT_EQ(symlink((std::string("root-only/") + (name[0] == 'K' ? "secret.ini" : name)).c_str(),
                          folder.Path(name).c_str()), 0);
        ASSERT_EQ(lchown(folder.Path(name).c_str(), kNobody, kNobody), 0);
    }
    WriteFileText(folder.Path("panel.txt"), "show\nclose\n");
    const std::string notFollowed = "it is a link of another user, which is not followed";
    const struct {
        std::vector<std::string> run;
        std::string said;  // a named file must exist, so the tool refuses a link to nothing before any write
    } rows[] = {{{CtlFolder::Tool(), "set", "layout=4"}, notFollowed},
                {{CtlFolder::Tool(), "list"}, notFollowed},
                {{CtlFolder::Tool(), "--file", "new.ini", "set", "layout=4"}, "no such file"},
                {{PanelRun::Harness(), folder.Path("panel.txt")}, notFollowed}};
    for (const auto& [run, said] : rows) {
        const Finished r = folder.Wait(folder.StartProgram(run[0], {run.begin() + 1, run.end()}, "run"), "run");
        EXPECT_EQ(r.status, 1) << run.back();
        EXPECT_TRUE(Says(r, said)) << r.err;
        if (run[0] == PanelRun::Harness()) {
            EXPECT_EQ(r.err.find("cannot read the settings file"), r.err.rfind("cannot read the settings file"));
            EXPECT_TRUE(Says(r, "the settings were not saved")) << r.err;
        }
    }
    EXPECT_EQ(ReadFileText(secret), "[General]\nDIV=9\n");
    EXPECT_EQ(Inode(secret), inode);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path("root-only")), {}), 2);
}

// Root with another user's home (sudo -E) and no run-time folder of its own
// (the tool's is another user's here) makes nothing in that home, neither a
// cache folder nor the configuration folder of the menu entry's file.
TEST(SharedFile, RootMakesNothingInAnotherUsersHome) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make a folder another user's";
    CtlFolder folder;
    fs::create_directories(folder.Path("bare"));
    fs::create_directories(folder.Path("cached/.cache"));
    for (const char* path : {"runtime", "bare", "cached", "cached/.cache"})
        ASSERT_EQ(chown(folder.Path(path).c_str(), kNobody, kNobody), 0);
    const std::string tmp = "TMPDIR=" + folder.Path("");
    const std::string bareHome = "HOME=" + folder.Path("bare");
    const struct {
        std::vector<std::string> variables;
        bool desktopFile;  // the menu entry's file, in that home's configuration folder: refused
    } rows[] = {{{"-u", "XDG_CACHE_HOME", bareHome}, false},
                {{"-u", "XDG_CACHE_HOME", "HOME=" + folder.Path("cached")}, false},
                {{"XDG_CACHE_HOME=" + folder.Path("cached/.cache")}, false},
                {{"-u", "XDG_CACHE_HOME", "-u", "XDG_CONFIG_HOME", bareHome}, true}};
    for (const auto& [variables, desktopFile] : rows) {
        std::vector<std::string> args = variables;
        args.insert(args.end(), {tmp, CtlFolder::Tool()});
        if (desktopFile) args.push_back("--desktop");
        args.insert(args.end(), {"set", "layout=4"});
        const Finished r = folder.Wait(folder.StartProgram("/usr/bin/env", args, "tool"));
        EXPECT_EQ(r.status, desktopFile ? 1 : 0) << variables.back() << r.err;
        EXPECT_TRUE(fs::is_empty(folder.Path("bare")));
        EXPECT_TRUE(fs::is_empty(folder.Path("cached/.cache")));
    }
}

}  // namespace
