// The private folder of the settings lock: another user can neither hold it
// nor, by taking a folder's name first, keep the panel from starting.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "platform/named_lock.hpp"
#include "platform/runtime_folder.hpp"
#include "tests/settings/settings_folder.hpp"

namespace {

constexpr uid_t kNobody = 65534;

// Sets the variables the folder is chosen from for one test, and puts back
// what they were.
class Environment {
public:
    Environment(std::initializer_list<std::pair<const char*, std::optional<std::string>>> values) {
        for (const auto& [name, value] : values) {
            const char* before = std::getenv(name);
            saved_[name] = before ? std::optional<std::string>(before) : std::nullopt;
            Set(name, value);
        }
    }
    ~Environment() {
        for (const auto& [name, value] : saved_) Set(name.c_str(), value);
    }

private:
    static void Set(const char* name, const std::optional<std::string>& value) {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    std::map<std::string, std::optional<std::string>> saved_;
};

mode_t Mode(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info.st_mode;
}

class RuntimeFolder : public SettingsFolderTest {
protected:
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::string Uid() const { return std::to_string(geteuid()); }

    // The folder chosen with these variables; HOME, cache and temporary folder
    // all lie in this test's own folder.
    std::optional<std::string> Choose(const std::optional<std::string>& runtime, std::string& error) {
        const Environment environment{{"XDG_RUNTIME_DIR", runtime},
                                      {"XDG_CACHE_HOME", std::nullopt},
                                      {"HOME", Path("home")},
                                      {"TMPDIR", Path("tmp")}};
        return platform::UserRuntimeFolder(error);
    }
    std::optional<std::string> Choose(const std::optional<std::string>& runtime) {
        std::string error;
        return Choose(runtime, error);
    }

    void SetUp() override {
        SettingsFolderTest::SetUp();
        std::filesystem::create_directory(Path("home"));
        std::filesystem::create_directory(Path("tmp"));
    }
};

TEST_F(RuntimeFolder, APrivateRuntimeFolderOfTheUserIsUsedAsItIs) {
    ASSERT_EQ(mkdir(Path("run").c_str(), 0700), 0);
    EXPECT_EQ(Choose(Path("run")), Path("run"));
}

TEST_F(RuntimeFolder, WithoutAUsableRuntimeFolderTheCacheFolderIsMadePrivate) {
    ASSERT_EQ(mkdir(Path("open").c_str(), 0700), 0);
    ASSERT_EQ(chmod(Path("open").c_str(), 01777), 0);  // anyone may create files there
    ASSERT_EQ(mkdir(Path("grouped").c_str(), 0770), 0);
    ASSERT_EQ(chmod(Path("grouped").c_str(), 0770), 0);
    const std::optional<std::string> unusable[] = {std::nullopt, "", "relative/run", Path("missing"),
                                                   Path("open"), Path("grouped")};
    for (const std::optional<std::string>& runtime : unusable) {
        SCOPED_TRACE(runtime.value_or("(unset)"));
        EXPECT_EQ(Choose(runtime), Path("home/.cache/korvane16"));
        EXPECT_EQ(Mode(Path("home/.cache/korvane16")) & 07777, 0700u);
        EXPECT_EQ(Mode(Path("open")) & 07777, 01777u) << "not ours to change";
    }
}

TEST_F(RuntimeFolder, ARuntimeFolderOfAnotherUserIsPassedOver) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make a folder another user's";
    ASSERT_EQ(mkdir(Path("theirs").c_str(), 0700), 0);
    ASSERT_EQ(chown(Path("theirs").c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(Choose(Path("theirs")), Path("home/.cache/korvane16"));
}

TEST_F(RuntimeFolder, AnOwnFolderOpenToOthersIsMadePrivate) {
    ASSERT_EQ(mkdir(Path("home/.cache").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(Path("home/.cache/korvane16").c_str(), 0777), 0);
    ASSERT_EQ(chmod(Path("home/.cache/korvane16").c_str(), 0777), 0);
    EXPECT_EQ(Choose(std::nullopt), Path("home/.cache/korvane16"));
    EXPECT_EQ(Mode(Path("home/.cache/korvane16")) & 07777, 0700u);
}

// Another user who takes the names first only moves the folder further down
// the list: the cache folder as a link or a file, then the temporary folder's
// own name as a file, a link, or a folder of theirs.
TEST_F(RuntimeFolder, SquattedNamesAreAvoided) {
    ASSERT_EQ(mkdir(Path("elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(Path("home/.cache").c_str(), 0700), 0);
    ASSERT_EQ(symlink(Path("elsewhere").c_str(), Path("home/.cache/korvane16").c_str()), 0);
    const std::string stem = Path("tmp/korvane16-" + Uid());
    EXPECT_EQ(Choose(std::nullopt), stem);
    EXPECT_EQ(Mode(stem) & 07777, 0700u);

    std::filesystem::remove(stem);
    WriteFileText(stem, "");
    EXPECT_EQ(Choose(std::nullopt), stem + ".1");

    std::filesystem::remove(stem + ".1");  // the folder just made, now taken by a link
    ASSERT_EQ(symlink(Path("elsewhere").c_str(), (stem + ".1").c_str()), 0);
    EXPECT_EQ(Choose(std::nullopt), stem + ".2");
    EXPECT_TRUE(std::filesystem::is_empty(Path("elsewhere")));

    if (geteuid() == 0) {
        ASSERT_EQ(chown((stem + ".2").c_str(), kNobody, kNobody), 0);
        EXPECT_EQ(Choose(std::nullopt), stem + ".3");
    }
}

TEST_F(RuntimeFolder, WhenEveryNameIsTakenTheReasonIsGiven) {
    WriteFileText(Path("home/.cache"), "");
    const std::string stem = Path("tmp/korvane16-" + Uid());
    WriteFileText(stem, "");
    for (int i = 1; i <= 9; ++i) WriteFileText(stem + "." + std::to_string(i), "");
    std::string error;
    EXPECT_EQ(Choose(std::nullopt, error), std::nullopt);
    EXPECT_NE(error.find("no private folder"), std::string::npos) << error;
    EXPECT_NE(error.find(stem + ".9"), std::string::npos) << error;
}

// Whatever stands in the lock's place in the user's own folder (a link
// planted before the folder was private) is replaced by the lock file.
TEST_F(RuntimeFolder, ALinkInTheLocksPlaceIsReplaced) {
    ASSERT_EQ(mkdir(Path("run").c_str(), 0700), 0);
    WriteFileText(Path("bait"), "keep");
    ASSERT_EQ(symlink(Path("bait").c_str(), Path("run/TestLock").c_str()), 0);
    const Environment environment{{"XDG_RUNTIME_DIR", Path("run")}};
    platform::NamedLock lock("TestLock");
    ASSERT_TRUE(lock.Valid()) << lock.Error();
    EXPECT_TRUE(S_ISREG(Mode(Path("run/TestLock"))));
    EXPECT_EQ(ReadFileText(Path("bait")), "keep");
    EXPECT_TRUE(lock.Acquire());
    lock.Release();
}

}  // namespace
