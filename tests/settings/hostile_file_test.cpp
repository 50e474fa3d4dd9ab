// Settings files that are not plain files of the user: special files, links,
// files the process may not write, and the leftovers of interrupted writes.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "platform/profile_file.hpp"
#include "settings/settings_file.hpp"
#include "tests/settings/settings_folder.hpp"

namespace {

constexpr std::int32_t kDefault = -77;
constexpr uid_t kNobody = 65534;

// Runs BODY in a child process and gives its exit status, or -1 when it did
// not end within SECONDS (it is killed then) or ended by a signal. A fault that
// blocks or eats memory fails the test instead of hanging it.
int InChild(const std::function<int()>& body, int seconds = 10) {
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);  // a write past the file-size limit fails instead
        _exit(body());
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::int32_t Read(std::string* problem = nullptr) {
    return platform::ReadProfileInt("General", "DIV", kDefault, kSettingsFile, problem);
}

bool Write(const char* value, std::string* problem = nullptr) {
    return platform::WriteProfileString("General", "DIV", value, kSettingsFile, problem);
}

struct stat Status(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info;
}

class HostileFile : public SettingsFolderTest {
protected:
    // TEXT as the settings file reads as the default with REASON told, and a
    // write fails and leaves it byte for byte.
    static void ExpectUnreadableAndKept(const std::string& text, const char* reason) {
        WriteFileText(kLocalFile, text);
        std::string problem;
        EXPECT_EQ(Read(&problem), kDefault);
        EXPECT_NE(problem.find(reason), std::string::npos) << problem;
        EXPECT_FALSE(Write("16", &problem));
        EXPECT_EQ(ReadFileText(kLocalFile), text);
    }
};

// Each special file in place of the settings file reads as unreadable (the
// default, with a reason) at once, and a write leaves it as it was.
TEST_F(HostileFile, OnlyARegularFileIsReadOrReplaced) {
    struct Shape {
        const char* what;
        std::function<void()> make;
        mode_t type;
    };
    const Shape shapes[] = {
        {"a FIFO, which blocks its reader", [] { ASSERT_EQ(mkfifo(kLocalFile, 0600), 0); }, S_IFIFO},
        {"a link to /dev/zero, which never ends", [] { ASSERT_EQ(symlink("/dev/zero", kLocalFile), 0); }, S_IFLNK},
        {"a link to /dev/null", [] { ASSERT_EQ(symlink("/dev/null", kLocalFile), 0); }, S_IFLNK},
        {"a folder", [] { ASSERT_EQ(mkdir(kLocalFile, 0700), 0); }, S_IFDIR},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.what);
        std::filesystem::remove_all(kLocalFile);
        shape.make();
        EXPECT_EQ(InChild([] {
                      std::string problem;
                      return Read(&problem) == kDefault && !problem.empty() ? 0 : 1;
                  }),
                  0);
        EXPECT_EQ(InChild([] {
                      std::string problem;
                      return !Write("16", &problem) && !problem.empty() ? 0 : 1;
                  }),
                  0);
        EXPECT_EQ(Status(kLocalFile).st_mode & S_IFMT, shape.type);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{kLocalFile});
    }
}

TEST_F(HostileFile, AFileAboveTheSizeBoundIsUnreadableAndKept) {
    const std::string huge = "[General]\nDIV=4\n" + std::string(platform::kMaxProfileFileBytes, ';') + "\n";
    ExpectUnreadableAndKept(huge, "larger than");

    // Just within the bound it is an ordinary file.
    std::string problem;
    WriteFileText(kLocalFile, "[General]\nDIV=4\n" + std::string(platform::kMaxProfileFileBytes - 100, ';') + "\n");
    EXPECT_EQ(Read(&problem), 4);
    EXPECT_EQ(problem, "");
    EXPECT_TRUE(Write("16", &problem)) << problem;
    EXPECT_EQ(Read(), 16);
}

// Windows reads these as UTF-16; here they are left whole rather than misread.
TEST_F(HostileFile, AUtf16FileIsUnreadableAndKept) {
    for (const std::string& mark : {std::string("\xFF\xFE"), std::string("\xFE\xFF")}) {
        // Appended: GCC 12 at -O3 reports a false -Wrestrict for adding a temporary.
        const std::string text = std::string(mark).append("[\0G\0e\0n\0]\0\r\0\n\0", 14);
        ExpectUnreadableAndKept(text, "UTF-16");
    }
}

TEST_F(HostileFile, AMissingFileIsNoProblem) {
    std::string problem = "stale";
    EXPECT_EQ(Read(&problem), kDefault);
    EXPECT_EQ(problem, "");
}

// The link stays a link and its target gets the new settings, written beside
// the target; no temporary file is left in either folder.
TEST_F(HostileFile, ALinkedFileIsUpdatedWhereTheLinkLeads) {
    std::filesystem::create_directories("store/deeper");
    const std::string target = "store/deeper/settings.ini";
    struct LinkShape {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // name, what it points to
    };
    const LinkShape shapes[] = {
        {"relative link", {{kLocalFile, target}}},
        {"absolute link", {{kLocalFile, (folder_ / target).string()}}},
        {"link to a link", {{kLocalFile, "store/hop.ini"}, {"store/hop.ini", "deeper/settings.ini"}}},
    };
    for (const LinkShape& shape : shapes) {
        SCOPED_TRACE(shape.what);
        WriteFileText(target, "[General]\nDIV=4\n");
        for (const auto& [name, to] : shape.links) {
            std::filesystem::remove(name);
            ASSERT_EQ(symlink(to.c_str(), name.c_str()), 0);
        }
        EXPECT_EQ(Read(), 4);
        std::string problem;
        ASSERT_TRUE(Write("16", &problem)) << problem;
        for (const auto& [name, to] : shape.links) EXPECT_TRUE(S_ISLNK(Status(name).st_mode)) << name;
        EXPECT_EQ(ReadFileText(target), "[General]\nDIV=16\n");
        EXPECT_EQ(Read(), 16);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator("store/deeper"), {}), 1);
        for (const auto& [name, to] : shape.links) std::filesystem::remove(name);
    }
}

TEST_F(HostileFile, ADanglingLinkGetsItsTargetCreated) {
    std::filesystem::create_directory("store");
    ASSERT_EQ(symlink("store/settings.ini", kLocalFile), 0);
    EXPECT_EQ(Read(), kDefault);
    ASSERT_TRUE(Write("9"));
    EXPECT_TRUE(S_ISLNK(Status(kLocalFile).st_mode));
    EXPECT_EQ(ReadFileText("store/settings.ini"), "[General]\nDIV=9\n");
}

TEST_F(HostileFile, ALinkLoopIsUnreadable) {
    ASSERT_EQ(symlink("loop.ini", kLocalFile), 0);
    ASSERT_EQ(symlink(kLocalFile, "loop.ini"), 0);
    std::string problem;
    EXPECT_EQ(Read(&problem), kDefault);
    EXPECT_FALSE(problem.empty());
    EXPECT_FALSE(Write("9", &problem));
    EXPECT_TRUE(S_ISLNK(Status(kLocalFile).st_mode));
}

// In a folder anyone may write and only owners may delete from (as /tmp), a
// link another user made could point the panel at any file of the person who
// starts it there. Only links of the user and of root are followed (in any
// folder; the tool's tests show it in another user's folder).
TEST_F(HostileFile, AnotherUsersLinkInASharedStickyFolderIsNotFollowed) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make a link another user's";
    std::filesystem::create_directory("store");
    const std::string target = "store/settings.ini";
    ASSERT_EQ(chmod(folder_.c_str(), 01777), 0);
    ASSERT_EQ(symlink(target.c_str(), kLocalFile), 0);
    for (const uid_t linkOwner : {kNobody, geteuid()}) {
        SCOPED_TRACE(linkOwner);
        WriteFileText(target, "[General]\nDIV=4\n");
        ASSERT_EQ(lchown(kLocalFile, linkOwner, linkOwner), 0);
        std::string readProblem, writeProblem;
        const std::int32_t value = Read(&readProblem);
        const bool written = Write("16", &writeProblem);
        EXPECT_TRUE(S_ISLNK(Status(kLocalFile).st_mode));
        if (linkOwner == kNobody) {
            EXPECT_EQ(value, kDefault);
            EXPECT_NE(readProblem.find("link"), std::string::npos) << readProblem;
            EXPECT_FALSE(written);
            EXPECT_FALSE(writeProblem.empty());
            EXPECT_EQ(ReadFileText(target), "[General]\nDIV=4\n");
        } else {
            EXPECT_EQ(value, 4) << readProblem;
            EXPECT_TRUE(written) << writeProblem;
            EXPECT_EQ(ReadFileText(target), "[General]\nDIV=16\n");
        }
    }
}

// Runs BODY as an ordinary user: as root, in a child that has become "nobody"
// (the folder is handed over first); otherwise as the user running the tests.
int AsOrdinaryUser(const std::filesystem::path& folder, const std::function<int()>& body) {
    if (geteuid() != 0) return InChild(body);
    EXPECT_EQ(chown(folder.c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(chown(kLocalFile, kNobody, kNobody), 0);
    return InChild([&] {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) return 99;
        return body();
    });
}

// The replace needs only the folder's write permission; the file's own must
// count as it does for a write in place.
TEST_F(HostileFile, AReadOnlyFileIsNotReplaced) {
    WriteFileText(kLocalFile, "[General]\nDIV=4\n");
    ASSERT_EQ(chmod(kLocalFile, 0444), 0);
    const int status = AsOrdinaryUser(folder_, [] {
        std::string problem;
        if (Write("16", &problem) || problem.find("Permission denied") == std::string::npos) return 1;
        return Read() == 4 ? 0 : 2;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFileText(kLocalFile), "[General]\nDIV=4\n");
    EXPECT_EQ(Status(kLocalFile).st_mode & 07777, 0444u);
}

TEST_F(HostileFile, TheReplacementKeepsOwnerGroupAndMode) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make a file another user's";
    WriteFileText(kLocalFile, "[General]\nDIV=4\n");
    ASSERT_EQ(chown(kLocalFile, kNobody, kNobody), 0);
    ASSERT_EQ(chmod(kLocalFile, 0604), 0);
    ASSERT_TRUE(Write("16"));
    const struct stat info = Status(kLocalFile);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNobody);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    EXPECT_EQ(ReadFileText(kLocalFile), "[General]\nDIV=16\n");
}

// A POSIX access list giving one more user read and write, in the kernel's
// own encoding of "user::rw- user:N:rw- group::r-- mask::rw- other::---".
std::string AccessList(uid_t extraUser) {
    std::string list;
    auto add32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) list += static_cast<char>(v >> (8 * i)); };
    auto entry = [&](std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
        list += static_cast<char>(tag & 0xFF);
        list += static_cast<char>(tag >> 8);
        list += static_cast<char>(perm & 0xFF);
        list += static_cast<char>(perm >> 8);
        add32(id);
    };
    add32(2);
    entry(0x01, 6, 0xFFFFFFFF);
    entry(0x02, 6, extraUser);
    entry(0x04, 4, 0xFFFFFFFF);
    entry(0x10, 6, 0xFFFFFFFF);
    entry(0x20, 0, 0xFFFFFFFF);
    return list;
}

TEST_F(HostileFile, TheReplacementKeepsTheAccessList) {
    WriteFileText(kLocalFile, "[General]\nDIV=4\n");
    const std::string list = AccessList(kNobody);
    if (setxattr(kLocalFile, "system.posix_acl_access", list.data(), list.size(), 0) != 0)
        GTEST_SKIP() << "this file system keeps no access lists";
    ASSERT_TRUE(Write("16"));
    std::string kept(list.size() + 16, '\0');
    const ssize_t size = getxattr(kLocalFile, "system.posix_acl_access", kept.data(), kept.size());
    ASSERT_GT(size, 0);
    kept.resize(static_cast<std::size_t>(size));
    EXPECT_EQ(kept, list);
    EXPECT_EQ(ReadFileText(kLocalFile), "[General]\nDIV=16\n");
}

// A write that cannot complete (here the file-size limit stands for a full
// disk) fails with its reason and leaves the old file whole.
TEST_F(HostileFile, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    const std::string before = "[General]\nDIV=4\n" + std::string(5000, ';') + "\n";
    WriteFileText(kLocalFile, before);
    const int status = InChild([] {
        const rlimit limit{4096, 4096};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 99;
        std::string problem;
        return !Write("16", &problem) && problem.find("File too large") != std::string::npos ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFileText(kLocalFile), before);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{kLocalFile});
}

TEST_F(HostileFile, AFolderThatCannotTakeANewFileFailsTheWrite) {
    WriteFileText(kLocalFile, "[General]\nDIV=4\n");
    ASSERT_EQ(chmod(folder_.c_str(), 0555), 0);
    const int status = AsOrdinaryUser(folder_, [] {
        std::string problem;
        return !Write("16", &problem) && problem.find("cannot create a new file beside it") != std::string::npos ? 0 : 1;
    });
    ASSERT_EQ(chmod(folder_.c_str(), 0755), 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFileText(kLocalFile), "[General]\nDIV=4\n");
}

// Temporary files of interrupted writes are removed by the next write or
// start, and nothing else: not other programs' files of like names.
TEST_F(HostileFile, StaleTemporaryFilesAreRemovedAndOthersKept) {
    std::filesystem::create_directory("store");
    ASSERT_EQ(symlink("store/settings.ini", kLocalFile), 0);
    WriteFileText("store/settings.ini", "[General]\nDIV=4\n");
    const std::vector<std::string> stale = {".KORVANE16.ini.k16tmp-a1B2c3", "store/.settings.ini.k16tmp-Zz9Yy8"};
    const std::vector<std::string> kept = {".KORVANE16.ini.k16tmp-toolong", ".KORVANE16.ini.k16tmp-a-b_c.",
                                           ".KORVANE16.ini.a1B2c3", "KORVANE16.ini.k16tmp-a1B2c3",
                                           ".settings.ini.k16tmp-Zz9Yy8", "store/.other.ini.k16tmp-Zz9Yy8"};
    for (const std::string& name : stale) WriteFileText(name, "[General]\nDIV=1\n");
    for (const std::string& name : kept) WriteFileText(name, "[General]\nDIV=1\n");

    platform::RemoveStaleTemporaries(kSettingsFile);
    for (const std::string& name : stale) EXPECT_FALSE(std::filesystem::exists(name)) << name;
    for (const std::string& name : kept) EXPECT_TRUE(std::filesystem::exists(name)) << name;

    WriteFileText(stale[1], "");
    ASSERT_TRUE(Write("16"));
    EXPECT_FALSE(std::filesystem::exists(stale[1]));
    for (const std::string& name : kept) EXPECT_TRUE(std::filesystem::exists(name)) << name;
}

}  // namespace
