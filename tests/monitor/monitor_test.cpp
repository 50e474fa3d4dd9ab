// korvane16-monitor with the real panel on the harness: its snapshot, and its
// window following the panel as it opens, closes and opens again.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "layout/layout_specs.hpp"
#include "monitor/monitor_window.hpp"
#include "tests/child_exec.hpp"
#include "tests/file_text.hpp"
#include "tests/monitor/live_harness.hpp"
#include "tests/sim/expected_picture.hpp"

namespace {

// A runtime folder of the test's own, so its virtual board is no one else's.
class Monitor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        runtime_ = folder_.filePath("runtime").toStdString();
        ASSERT_EQ(mkdir(runtime_.c_str(), 0700), 0);
        setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    }
    std::string Folder() const { return folder_.path().toStdString(); }

    struct Result {
        int status;
        std::string err;
    };
    // A shell COMMAND: its exit status and standard error.
    Result Run(const std::string& command) const {
        const std::string err = Folder() + "/monitor-err.txt";
        const int status = std::system((command + " 2>'" + err + "'").c_str());
        std::ifstream in(err);
        std::stringstream text;
        text << in.rdbuf();
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
    }
    // korvane16-monitor --snapshot FILE, as a process of its own.
    Result Snapshot(const std::string& file) const {
        return Run(std::string(KORVANE16_MONITOR) + " --snapshot '" + file + "'");
    }

    QTemporaryDir folder_;
    std::string runtime_;
};

using expected::OwnChannels;
using expected::RunningBoard;

// Pixels of IMAGE that differ from what STATE should show, leaving out the
// moving cameras: the monitor draws them at the time of day.
int Mismatches(const QImage& image, const sim::BoardState& state) {
    auto at = [&image](int x, int y) {
        const QRgb p = image.pixel(x, y);
        return sim::Rgb{static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                        static_cast<std::uint8_t>(qBlue(p))};
    };
    return expected::Mismatches(image.width(), image.height(), at, state, {.skipMovingCameras = true});
}

bool OnlyGreys(const QImage& image, std::set<int>& greys) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) return false;
            greys.insert(qRed(p));
        }
    return true;
}

// Whatever lies in the board file's place, without a board the answer is one
// line and status 1, promptly.
TEST_F(Monitor, SnapshotWithoutARunningBoardExitsOneWithOneLine) {
    for (const char* planted : {"", "mkfifo", "touch"}) {
        SCOPED_TRACE(planted);
        const std::string board = runtime_ + "/KORVANE16-board";
        std::filesystem::remove(board);
        if (*planted != '\0') {
            ASSERT_EQ(Run(std::string(planted) + " '" + board + "'").status, 0);
        }
        const std::string file = Folder() + "/picture.png";
        const Result r = Run("timeout 10 " + std::string(KORVANE16_MONITOR) + " --snapshot '" + file + "'");
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find("no virtual board is running"), std::string::npos) << r.err;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(file)));
    }
}

// Misplaced or unknown words are a usage error; nothing is written.
TEST_F(Monitor, ArgumentsOutOfPlaceAreAUsageError) {
    const std::string out = Folder() + "/out.png";
    for (const std::string& arguments : std::vector<std::string>{"'" + out + "' --snapshot", "--snapshot", "--snapshot '" + out + "' extra",
                                        "--frame-report", "--frame-report 0.1 --snapshot '" + out + "'"}) {
        SCOPED_TRACE(arguments);
        const Result r = Run("cd '" + Folder() + "' && " + KORVANE16_MONITOR + " " + arguments);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find("usage: korvane16-monitor"), std::string::npos) << r.err;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()), {}), 2);  // runtime, the errors
    }
}

// Without any display the window cannot open: one line saying so, not the
// toolkit's abort; a snapshot needs no display and still works.
TEST_F(Monitor, WithoutADisplayTheWindowSaysSoInOneLineAndASnapshotStillWorks) {
    const std::string bare = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + std::string(KORVANE16_MONITOR);
    Result r = Run(bare);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("no display"), std::string::npos) << r.err;

    // A display no server answers on: the same, not the toolkit's abort.
    r = Run("env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:4093 " + std::string(KORVANE16_MONITOR));
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("cannot open the display :4093"), std::string::npos) << r.err;

    r = Run(bare + " --snapshot '" + Folder() + "/picture.png'");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("no virtual board is running"), std::string::npos) << r.err;

    // A platform named on the command line is the toolkit's to judge.
    r = Run(bare + " -platform offscreen --frame-report 0.1 >/dev/null");
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(Monitor, SnapshotWritesTheRunningBoardsPictureAsPng) {
    const std::string file = Folder() + "/picture.png";
    {
        LiveHarness panel(Folder());
        panel.Do("type 1092 1\ntype 1093 2\ntype 1102 5\ntype 1103 16\nclick 1009\nclick 1019\n");
        Result r = Snapshot(file);
        ASSERT_EQ(r.status, 0) << r.err;
        QImage image(QString::fromStdString(file), "PNG");
        ASSERT_EQ(image.size(), QSize(720, 480));
        sim::BoardState shown = RunningBoard(sim::kNtsc, 4, {0, 1, 4, 15});
        shown.channels[2].enabled = 0;
        EXPECT_EQ(Mismatches(image, shown), 0);

        panel.Do("click 1002\n");  // PAL, and the 16-tile layout
        r = Snapshot(file);
        ASSERT_EQ(r.status, 0) << r.err;
        image.load(QString::fromStdString(file), "PNG");
        ASSERT_EQ(image.size(), QSize(720, 576));
        shown = RunningBoard(sim::kPal, 16, OwnChannels(16));
        shown.channels[2].enabled = 0;
        EXPECT_EQ(Mismatches(image, shown), 0);
        EXPECT_EQ(panel.Close(), 0);
    }
    EXPECT_EQ(Snapshot(file).status, 1);  // the panel has closed: no board
}

TEST_F(Monitor, TheWindowFollowsThePanelAsItComesAndGoes) {
    MonitorWindow window;
    EXPECT_EQ(window.windowTitle(), "KORVANE16 monitor");
    window.show();
    std::set<int> greys;
    ASSERT_FALSE(window.BoardShowing());
    EXPECT_TRUE(OnlyGreys(window.Frame(), greys));
    EXPECT_GE(greys.size(), 2u) << "a 'board stopped' card, not just black";
    const QImage stopped = window.Frame().copy();

    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE("opening " + std::to_string(opening + 1));
        LiveHarness panel(Folder());
        // The frame timer alone brings the picture.
        ASSERT_TRUE(QTest::qWaitFor([&window] { return window.BoardShowing(); }, 5000));
        EXPECT_EQ(Mismatches(window.Frame(), RunningBoard(sim::kNtsc, 16, OwnChannels(16))), 0);

        panel.Do("click 1034\n");  // All off: sixteen grey cards
        window.Refresh();
        greys.clear();
        EXPECT_TRUE(OnlyGreys(window.Frame(), greys));
        panel.Do("click 1033\n");
        EXPECT_EQ(panel.Close(), 0);
        ASSERT_TRUE(QTest::qWaitFor([&window] { return !window.BoardShowing(); }, 5000));
        EXPECT_EQ(window.Frame(), stopped);
    }
}

// The board's shared file cut short during a session or, in a full runtime
// folder, never backed: the panel and a watching monitor work on, and the
// board says at most once that the monitor cannot show it.
TEST_F(Monitor, ABoardFileShrunkOrUnbackedCostsNeitherPanelNorMonitor) {
    const std::string fullFolder = "mount -t tmpfs -o size=4k,mode=0700 none \"$XDG_RUNTIME_DIR\" && "
                                   "head -c 4096 /dev/zero >\"$XDG_RUNTIME_DIR/fill\"";
    const struct {
        const char* name;
        std::vector<std::string> prefix;
        bool truncate;
        std::size_t notShownLines;
        int snapshotStatus;
    } rows[] = {
        {"truncated midway", {}, true, 0, 0},
        {"runtime folder full", {"unshare", "-rm", "sh", "-c", fullFolder + " && exec \"$0\""}, false, 1, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (!row.prefix.empty() && Run("unshare -rm sh -c '" + fullFolder + "'").status != 0) {
            std::puts("no tmpfs can be mounted here: the full-folder row is left out");
            continue;
        }
        const std::string err = Folder() + "/panel-err.txt", monitorOut = Folder() + "/monitor-out.txt";
        std::filesystem::remove(Folder() + "/KORVANE16.ini");
        LiveHarness panel(Folder(), row.prefix, err);
        const pid_t monitor = fork();
        if (monitor == 0) ExecWithOutputFiles({KORVANE16_MONITOR, "--frame-report", "1.5"}, monitorOut, monitorOut + ".err");
        usleep(500000);
        if (row.truncate) {
            ASSERT_EQ(truncate((runtime_ + "/KORVANE16-board").c_str(), 0), 0);
        }
        usleep(300000);  // the monitor looks meanwhile
        panel.Do("click 1002\n");  // PAL
        EXPECT_EQ(Snapshot(Folder() + "/picture.png").status, row.snapshotStatus);
        EXPECT_EQ(panel.Close(), 0);
        int status = 0;
        waitpid(monitor, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_NE(ReadFileText(Folder() + "/KORVANE16.ini").find("PAL=1"), std::string::npos);
        const std::string said = ReadFileText(err);
        std::size_t lines = 0;
        for (std::size_t at = 0; (at = said.find("shown on korvane16-monitor: ", at)) != std::string::npos; ++at) ++lines;
        EXPECT_EQ(lines, row.notShownLines) << said;
    }
}

// The lock that says a board runs holds even when its file has been removed.
TEST_F(Monitor, ASecondBoardStaysOutEvenWhenTheBoardFileWasRemoved) {
    for (const bool removed : {false, true}) {
        SCOPED_TRACE(removed);
        LiveHarness panel(Folder());
        if (removed) {
            ASSERT_TRUE(std::filesystem::remove(runtime_ + "/KORVANE16-board"));
        }
        const std::string second = Folder() + "/second";
        std::filesystem::create_directories(second);
        const Result r = Run("cd '" + second + "' && printf 'show\\nclose\\n' | " + KORVANE16_HARNESS);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.err.find("another virtual board of this user is running"), std::string::npos) << r.err;
        EXPECT_EQ(panel.Close(), 0);
    }
}

// The title says what the board shows; F11 or a double click toggles full
// screen, Escape leaves it; a place partly off the screen is pulled onto it.
TEST_F(Monitor, TheWindowNamesWhatItShowsGoesFullScreenAndStaysOnTheScreen) {
    MonitorWindow window;
    window.setGeometry(780, 0, 640, 480);  // right of the panel, on a screen 800 wide
    window.show();
    const QRect free = window.screen()->availableGeometry();
    EXPECT_TRUE(QTest::qWaitFor([&] { return free.contains(window.frameGeometry()); }, 2000))
        << "at " << window.frameGeometry().x() << "," << window.frameGeometry().y();

    LiveHarness panel(Folder());
    const struct {
        const char* lines;
        const char* title;
    } shown[] = {{"", "KORVANE16 monitor \u2014 NTSC, DIV 16"},
                 {"type 1092 1\nclick 1009\n", "KORVANE16 monitor \u2014 NTSC, DIV 4"},
                 {"click 1002\n", "KORVANE16 monitor \u2014 PAL, DIV 16"}};
    for (const auto& row : shown) {
        panel.Do(row.lines);
        window.Refresh();
        EXPECT_EQ(window.windowTitle(), QString::fromUtf8(row.title));
    }

    QTest::keyClick(&window, Qt::Key_F11);
    EXPECT_TRUE(window.FullScreen());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.FullScreen());
    QTest::mouseDClick(&window, Qt::LeftButton);
    EXPECT_TRUE(window.FullScreen());
    QTest::mouseDClick(&window, Qt::LeftButton);
    EXPECT_FALSE(window.FullScreen());
    EXPECT_EQ(panel.Close(), 0);
    window.Refresh();
    EXPECT_EQ(window.windowTitle(), "KORVANE16 monitor");
}

}  // namespace
