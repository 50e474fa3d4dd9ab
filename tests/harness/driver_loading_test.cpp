// Where the panel finds its driver, and what it does with a file that is not a
// driver it can use: the harness run with files planted around it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "tests/file_text.hpp"
#include "tests/harness/output_lines.hpp"
#include "tests/harness/panel_run.hpp"

namespace fs = std::filesystem;

namespace {

std::string StandIn() { return ReadFileText(KORVANE16_DEFAULT_STAND_IN); }

// The stand-in the harness loads where nothing is planted: the one built beside
// it, or KORVANE16_STAND_IN for a harness installed elsewhere.
fs::path LoadedStandIn() {
    const char* installed = std::getenv("KORVANE16_STAND_IN");
    return installed != nullptr && *installed != '\0' ? installed : KORVANE16_DEFAULT_STAND_IN;
}

// The panel's lines about its driver.
std::vector<std::string> DriverLines(const RunResult& r) { return LinesStartingWith(r.err, "KORVANE16: driver: "); }

bool Mentions(const std::vector<std::string>& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

class DriverLoading : public testing::Test {
protected:
    void SetUp() override {
        if (!PanelRun::Native()) GTEST_SKIP() << "Linux library loading";
    }

    // A good stand-in in a folder of its own, named on LD_LIBRARY_PATH.
    PanelRun::Environment WithGoodDriverOnTheSearchPath() {
        const fs::path folder = fs::path(panel.Folder()) / "search";
        WriteFileText(folder / "TAVRIND.dll", StandIn());
        return {{"LD_LIBRARY_PATH", folder.string()}};
    }

    PanelRun panel;
};

TEST_F(DriverLoading, TheLoadedLibraryIsNamedWithItsFullPath) {
    const RunResult r = panel.Run("show\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(DriverLines(r),
              std::vector<std::string>{"KORVANE16: driver: loaded " +
                                       fs::canonical(LoadedStandIn()).string()});
}

TEST_F(DriverLoading, NeverFromTheCurrentFolderNorFromARelativeOrEmptySearchEntry) {
    // Good drivers where only the working folder would lead: in it and below it.
    WriteFileText(fs::path(panel.Folder()) / "TAVRIND.dll", StandIn());
    WriteFileText(fs::path(panel.Folder()) / "relative" / "TAVRIND.dll", StandIn());
    const RunResult r =
        panel.Run("show\nclose\n", Driver::None, {{"LD_LIBRARY_PATH", ":relative:.:;relative"}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.journal.empty()) << "a planted driver was loaded";
    EXPECT_FALSE(r.settingsExist);
    EXPECT_TRUE(Mentions(DriverLines(r), "no TAVRIND.dll")) << r.err;
}

TEST_F(DriverLoading, ThePanelsPrivateLibraryFolderBesideTheProgram) {
    const fs::path installed = fs::path(panel.Folder()) / "installed";
    fs::create_directories(installed / "bin");
    fs::copy_file(PanelRun::Harness(), installed / "bin" / "korvane16-harness");
    const fs::path driver = (installed / "bin" / KORVANE16_PRIVATE_LIBRARY_FOLDER / "TAVRIND.dll").lexically_normal();
    WriteFileText(driver, StandIn());
    fs::permissions(driver, fs::perms::owner_all);
    const RunResult r = panel.RunProgram((installed / "bin" / "korvane16-harness").string(), "show\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_FALSE(r.journal.empty()) << r.err;
    EXPECT_EQ(r.journal.front(), "load");
    EXPECT_TRUE(Mentions(DriverLines(r), "loaded " + driver.string())) << r.err;
}

struct BadDriver {
    const char* what;
    std::string bytes;
    const char* reason;  // a word the stated reason holds
};

// Files that are no shared library for this machine, each planted beside the
// program: every one is passed over with its reason, and the search goes on.
std::vector<BadDriver> BadDrivers() {
    const std::string standIn = StandIn();
    std::string otherMachine = standIn;
    otherMachine[18] = static_cast<char>(183);  // e_machine: 64-bit ARM
    otherMachine[19] = 0;
    std::string otherClass = standIn;
    otherClass[4] = otherClass[4] == 2 ? 1 : 2;  // 32-bit for 64-bit and back
    std::string program = ReadFileText(PanelRun::Harness());
    return {
        {"a Windows library", "MZ\x90\x00\x03\x00\x00\x00" + std::string(4096, '\0'), "Windows"},
        {"a text file", "not a library, only a few words of text\n", "ELF"},
        {"an empty file", "", "short"},
        {"a truncated library", standIn.substr(0, 2048), "truncated"},
        {"a library for another machine", otherMachine, "machine"},
        {"a library of the other word size", otherClass, "bit"},
        {"a program", program, "shared library"},
    };
}

TEST_F(DriverLoading, AFileThatIsNoLibraryForThisMachineIsPassedOverWithItsReason) {
    for (const BadDriver& bad : BadDrivers()) {
        SCOPED_TRACE(bad.what);
        const std::string planted = panel.Folder() + "/" + bad.what + "/TAVRIND.dll";
        WriteFileText(planted, bad.bytes);
        const RunResult r = panel.RunBeside("show\nclose\n", planted, WithGoodDriverOnTheSearchPath());
        ASSERT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> lines = DriverLines(r);
        ASSERT_EQ(lines.size(), 2u) << r.err;
        EXPECT_NE(lines[0].find("passed over "), std::string::npos) << lines[0];
        EXPECT_NE(lines[0].find("/programs/TAVRIND.dll: "), std::string::npos) << lines[0];
        EXPECT_NE(lines[0].find(bad.reason), std::string::npos) << lines[0];
        EXPECT_NE(lines[1].find("loaded " + panel.Folder() + "/search/TAVRIND.dll"), std::string::npos) << lines[1];
        ASSERT_FALSE(r.journal.empty());
        EXPECT_EQ(r.journal.front(), "load");
    }
}

TEST_F(DriverLoading, AFolderOrAPipeNamedLikeTheDriverIsPassedOverWithoutWaiting) {
    const fs::path programs = fs::path(panel.Folder()) / "fifo";
    fs::create_directories(programs);
    ASSERT_EQ(mkfifo((programs / "TAVRIND.dll").c_str(), 0600), 0);
    fs::create_directories(fs::path(panel.Folder()) / "search" / "TAVRIND.dll");
    const RunResult r = panel.Run("show\nclose\n", Driver::None,
                                  {{"LD_LIBRARY_PATH", programs.string() + ":" + panel.Folder() + "/search"}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(DriverLines(r).size(), 3u) << r.err;
    EXPECT_TRUE(Mentions(DriverLines(r), "not a regular file")) << r.err;
    EXPECT_TRUE(r.journal.empty());
}

TEST_F(DriverLoading, EntryPointsThatAreNotCodeCountAsMissing) {
    const RunResult r = panel.RunBeside("show\ntype 1104 3\nclick 1008\nclick 1002\nclose\n", KORVANE16_DATA_DRIVER);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Mentions(DriverLines(r), "not code")) << r.err;
    EXPECT_TRUE(Mentions(DriverLines(r), "53 entry points")) << r.err;
    // The panel ran on as with a board that takes no calls.
    EXPECT_EQ(r.Setting("Format", "PAL"), "1");
    EXPECT_EQ(r.Setting("General", "DIV"), "16");
}

}  // namespace
