// How the dialog's run begins and ends: one start-up, and every way out runs
// the whole shut-down with the controls still readable.
#include <QTest>
#include <algorithm>
#include <csignal>

#include "dialog/control_ids.hpp"
#include "operator.hpp"
#include "panel_run.hpp"
#include "tests/harness/board_journal.hpp"

namespace {

using Lines = std::vector<std::string>;

long Count(const Lines& lines, const std::string& line) { return std::count(lines.begin(), lines.end(), line); }

// The journal after the last line equal to FROM.
Lines After(const Lines& lines, const std::string& from) {
    const auto at = std::find(lines.rbegin(), lines.rend(), from);
    return at == lines.rend() ? Lines{} : Lines(at.base(), lines.end());
}

bool SavedShowPanelFlag(const std::string& settings, char flag) {
    return settings.find(std::string("SetParameter=") + flag) != std::string::npos;
}

enum class Ending { Escape, EnterOnACheckBox, CloseBox, Sigterm, Sigint, Sighup };

std::string Name(const testing::TestParamInfo<Ending>& info) {
    const char* names[] = {"Escape", "EnterOnACheckBox", "CloseBox", "Sigterm", "Sigint", "Sighup"};
    return names[static_cast<int>(info.param)];
}

class DialogEnd : public testing::Test, public testing::WithParamInterface<Ending> {
protected:
    PanelRun run;
};

TEST_P(DialogEnd, RunsTheShutDownAndSavesWhatTheControlsShow) {
    const Ending ending = GetParam();
    const int terminationSignals[] = {SIGTERM, SIGINT, SIGHUP};
    const int signal = ending >= Ending::Sigterm ? terminationSignals[static_cast<int>(ending) - 3] : 0;
    // The test's premise: the signal is not ignored when the panel starts.
    if (signal != 0) std::signal(signal, SIG_DFL);

    const int result = run.Run([&](QtPanelDialog& window) {
        op::Click(window.Control(ids::ShowApplication));
        run.NewJournalLines();
        switch (ending) {
            case Ending::Escape: op::Key(window, Qt::Key_Escape); break;
            case Ending::EnterOnACheckBox:
                // Only a push button takes Enter for itself.
                window.Control(ids::Cam1)->setFocus();
                op::Key(window, Qt::Key_Return);
                break;
            case Ending::CloseBox: window.close(); break;
            default: std::raise(signal);
        }
    });
    EXPECT_EQ(result, ending == Ending::EnterOnACheckBox ? QtPanelDialog::kEnter : QtPanelDialog::kCancel);
    EXPECT_EQ(run.NewJournalLines(), board::ShutDown(board::kAllEnabled));
    EXPECT_TRUE(SavedShowPanelFlag(run.Settings(), '0')) << run.Settings();
    if (signal != 0) {
        struct sigaction now = {};
        sigaction(signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << "the handler in place before the run is back";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWayOut, DialogEnd,
                         testing::Values(Ending::Escape, Ending::EnterOnACheckBox, Ending::CloseBox, Ending::Sigterm,
                                         Ending::Sigint, Ending::Sighup),
                         Name);

class DialogRun : public testing::Test {
protected:
    PanelRun run;
};

TEST_F(DialogRun, EnterOnAFocusedPushButtonPressesItAndEnterElsewhereCloses) {
    const int result = run.Run([this](QtPanelDialog& window) {
        run.NewJournalLines();
        window.Control(ids::AllOff)->setFocus();
        op::Key(window, Qt::Key_Return);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(run.NewJournalLines(), board::EnablePass({}));  // "All off" was pressed
        window.Control(ids::AllOn)->setFocus();
        op::Key(window, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(run.NewJournalLines(), board::EnablePass(board::kAllEnabled));
        // The channel box is no button: Enter there closes the panel.
        window.Control(ids::ChannelBox)->setFocus();
        op::Key(window, Qt::Key_Return);
    });
    EXPECT_EQ(result, QtPanelDialog::kEnter);
    EXPECT_EQ(run.NewJournalLines(), board::ShutDown(board::kAllEnabled));
}

TEST_F(DialogRun, EscapeClosesWhereverTheFocusIs) {
    const int result = run.Run([](QtPanelDialog& window) {
        window.Control(ids::SetAllButton)->setFocus();
        op::Key(window, Qt::Key_Escape);
    });
    EXPECT_EQ(result, QtPanelDialog::kCancel);
    EXPECT_EQ(run.Journal().back(), "unload");
}

TEST_F(DialogRun, StartsUpOnceHoweverOftenItIsShown) {
    run.Run([](QtPanelDialog& window) {
        window.hide();
        window.show();
        window.showMinimized();
        window.showNormal();
        op::Key(window, Qt::Key_Escape);
    });
    const Lines journal = run.Journal();
    EXPECT_EQ(Count(journal, "load"), 1);
    EXPECT_EQ(Count(journal, "OvrSetup 0"), 1);
    EXPECT_EQ(journal.back(), "unload");
}

TEST_F(DialogRun, ShowPanelFlagZeroProgramsTheBoardAndQuits) {
    run.WriteSettings("[General]\nSetParameter=0\n");
    const int result = run.Run([](QtPanelDialog&) {});
    EXPECT_EQ(result, QtPanelDialog::kQuit);
    const Lines journal = run.Journal();
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(After(journal, "OvrEdgeEnhance 0"), board::ShutDown(board::kAllEnabled)) << "start-up, then at once the shut-down";
    EXPECT_TRUE(SavedShowPanelFlag(run.Settings(), '0'));
}

TEST_F(DialogRun, QuitRequestEndsTheRunOnlyAfterTheCurrentWork) {
    const int result = run.Run([this](QtPanelDialog& window) {
        run.NewJournalLines();
        window.PostQuit(0);
        // Still running: the operator's click is handled.
        op::Click(window.Control(ids::Cam1));
        EXPECT_TRUE(window.isVisible());
    });
    EXPECT_EQ(result, QtPanelDialog::kQuit);
    board::Enables enables = board::kAllEnabled;
    enables[0] = 0;  // channel 0 was switched off
    EXPECT_EQ(run.NewJournalLines(), board::Concat({{"OvrEnableChannel 0 0"}, board::ShutDown(enables)}));
}

TEST_F(DialogRun, IgnoredHangUpStaysIgnored) {
    std::signal(SIGHUP, SIG_IGN);
    run.Run([](QtPanelDialog& window) {
        std::raise(SIGHUP);
        // Give a wrongly caught signal its chance to close the dialog.
        QTest::qWait(50);
        EXPECT_TRUE(window.isVisible());
        op::Key(window, Qt::Key_Escape);
    });
    struct sigaction now = {};
    sigaction(SIGHUP, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_IGN);
}

}  // namespace
