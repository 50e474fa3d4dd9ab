// The desktop's starts (the menu entry runs "korvane16 --desktop --show", the
// log-in entry "korvane16 --desktop") share one settings file in the user's
// configuration folder, whatever folder the desktop starts them in.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/desktop/program_run.hpp"
#include "tests/file_text.hpp"

namespace fs = std::filesystem;

namespace {

bool WaitForText(const std::string& path, const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (ReadFileText(path).find(text) == std::string::npos)
        if (std::chrono::steady_clock::now() > deadline) return false;
        else std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return true;
}

unsigned Mode(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(DesktopFolder, MenuAndLogInStartsShareTheFileInTheConfigurationFolder) {
    struct Row {
        const char* name;
        bool configVariable;  // XDG_CONFIG_HOME set, else found under HOME
    };
    for (const Row row : {Row{"XDG_CONFIG_HOME", true}, Row{"HOME/.config", false}}) {
        SCOPED_TRACE(row.name);
        ProgramRun run;
        const std::string home = run.Folder() + "/home";
        fs::create_directory(home);
        const std::string folder = (row.configVariable ? run.Folder() + "/config" : home + "/.config") + "/korvane16";
        const std::string file = folder + "/KORVANE16.ini";
        const std::vector<std::pair<std::string, std::string>> environment{
            {"HOME", home}, {"XDG_CONFIG_HOME", row.configVariable ? run.Folder() + "/config" : "-"}};

        // The menu entry: the panel opens on that file, which is private.
        const Started menu = run.Start({"--desktop", "--show"}, environment);
        ASSERT_TRUE(WaitForText(file, "SetParameter=0"));
        kill(menu.pid, SIGTERM);
        EXPECT_EQ(run.Wait(menu).status, 0);
        EXPECT_EQ(Mode(folder), 0700u);
        EXPECT_NE(ReadFileText(file).find("Position15="), std::string::npos) << "the close saved elsewhere";
        EXPECT_FALSE(run.SettingsExist()) << "the working folder's file was used";

        // The log-in entry: with the flag at 0 it programs the board and quits.
        WriteFileText(file, "[General]\nSetParameter=0\n");
        fs::permissions(folder, fs::perms::group_read | fs::perms::group_exec, fs::perm_options::add);
        const Finished logIn = run.Run({"--desktop"}, environment);
        EXPECT_EQ(logIn.status, 0) << logIn.err;
        EXPECT_NE(logIn.err.find("closes at once because SetParameter is 0 in [General] of " + file),
                  std::string::npos) << logIn.err;
        EXPECT_EQ(Mode(folder), 0700u) << "a folder open to others is made private";
    }
}

// A link that another user owns is never followed; root's and the user's own are.
TEST(DesktopFolder, ALinkOfAnotherUserIsRefused) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make a link that another user owns";
    ProgramRun run;
    fs::create_directories(run.Folder() + "/config");
    fs::create_directory(run.Folder() + "/elsewhere");
    fs::create_directory_symlink(run.Folder() + "/elsewhere", run.Folder() + "/config/korvane16");
    ASSERT_EQ(lchown((run.Folder() + "/config/korvane16").c_str(), 65534, 65534), 0);
    const Finished refused = run.Run({"--desktop"}, {{"XDG_CONFIG_HOME", run.Folder() + "/config"}});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("is a link of another user"), std::string::npos) << refused.err;
    EXPECT_TRUE(fs::is_empty(run.Folder() + "/elsewhere"));
}

}  // namespace
