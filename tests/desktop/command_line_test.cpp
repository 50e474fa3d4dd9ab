// korvane16's command line, run as a program: what it prints and what it
// leaves alone.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <cstdlib>

#include "tests/desktop/program_run.hpp"

namespace {

long Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

// Nothing reached the board or the settings file.
void ExpectUntouched(const ProgramRun& run) {
    EXPECT_TRUE(run.Journal().empty());
    EXPECT_FALSE(run.SettingsExist());
}

TEST(CommandLine, HelpAndVersionPrintAndExitWithoutADisplay) {
    for (const char* option : {"--help", "-h", "--version"}) {
        SCOPED_TRACE(option);
        ProgramRun run;
        const Finished f = run.Run({option}, {{"QT_QPA_PLATFORM", "-"}});
        EXPECT_EQ(f.status, 0) << f.err;
        EXPECT_EQ(f.err, "");
        if (std::string(option) == "--version") {
            EXPECT_EQ(f.out, "korvane16 " KORVANE16_VERSION "\n");
        } else {
            EXPECT_EQ(f.out.rfind("usage: korvane16 [--desktop] [--show]", 0), 0u) << f.out;
            EXPECT_NE(f.out.find("--show"), std::string::npos);
        }
        ExpectUntouched(run);
    }
}

TEST(CommandLine, AnUnknownOptionOrArgumentIsRefusedWithOneUsageLineBeforeAnythingElse) {
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--bogus"}, {"-x"}, {"--show", "extra"}, {"-style"}, {"--show=1"}}) {
        SCOPED_TRACE(arguments.front());
        ProgramRun run;
        const Finished f = run.Run(arguments);
        EXPECT_EQ(f.status, 2);
        EXPECT_EQ(f.out, "");
        EXPECT_EQ(Lines(f.err), 1) << f.err;
        EXPECT_NE(f.err.find("usage: korvane16"), std::string::npos) << f.err;
        ExpectUntouched(run);
    }
}

TEST(CommandLine, TheToolkitsOwnOptionsStillWork) {
    ProgramRun run;
    // The show-panel flag at 0 ends the run by itself once the board is programmed.
    run.WriteSettings("[General]\nSetParameter=0\n");
    const Finished f =
        run.Run({"-platform", "offscreen", "-style=fusion", "--reverse", "-qwindowtitle", "x"}, {{"QT_QPA_PLATFORM", "-"}});
    EXPECT_EQ(f.status, 0) << f.err;
    ASSERT_FALSE(run.Journal().empty());
    EXPECT_EQ(run.Journal().back(), "unload");
}

// "-platform=NAME" is read as "-platform NAME", the form the toolkit itself
// reads: the panel starts on that platform instead of aborting for want of a
// display.
TEST(CommandLine, AToolkitOptionsValueAfterAnEqualsSignIsPassedOnAsTheToolkitReadsIt) {
    ProgramRun run;
    run.WriteSettings("[General]\nSetParameter=0\n");
    const Finished f = run.Run({"-platform=offscreen", "--style=fusion"}, {{"QT_QPA_PLATFORM", "-"}});
    EXPECT_EQ(f.status, 0) << f.err;
    ASSERT_FALSE(run.Journal().empty()) << f.err;
    EXPECT_EQ(run.Journal().back(), "unload");
}

// The X display named on the command line, as the help text offers, where no
// DISPLAY names one: run under a virtual X server (its DISPLAY is what this
// test passes on, and the program's own environment lacks it).
TEST(CommandLine, TheDisplayOptionNamesTheDisplayWithoutTheEnvironment) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "needs an X display";
    ProgramRun run;
    run.WriteSettings("[General]\nSetParameter=0\n");
    const Finished f = run.Run({"-display", display}, {{"QT_QPA_PLATFORM", "-"}});
    EXPECT_EQ(f.status, 0) << f.err;
    ASSERT_FALSE(run.Journal().empty()) << f.err;
    EXPECT_EQ(run.Journal().back(), "unload");
}

// A display that no server answers on, named by DISPLAY or on the command
// line: one line and exit status 1, not the toolkit's abort; nothing touched.
TEST(CommandLine, ADeadDisplayIsSaidInOneLine) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{{}, {"-display", ":4093"}}) {
        SCOPED_TRACE(arguments.size());
        ProgramRun run;
        const Finished f = run.Run(arguments, {{"QT_QPA_PLATFORM", "-"}, {"DISPLAY", ":4093"}});
        EXPECT_EQ(f.status, 1);
        EXPECT_EQ(Lines(f.err), 1) << f.err;
        EXPECT_NE(f.err.find("korvane16: cannot open the display :4093"), std::string::npos) << f.err;
        ExpectUntouched(run);
    }
}

TEST(ShowPanelFlag, ZeroClosesThePanelAtOnceAndSaysWhyOnStandardError) {
    ProgramRun run;
    run.WriteSettings("[General]\nSetParameter=0\n");
    const Finished f = run.Run({});
    EXPECT_EQ(f.status, 0) << f.err;
    const std::string expected = "KORVANE16: the board was programmed and the panel closes at once because "
                                 "SetParameter is 0 in [General] of " + run.SettingsPath() +
                                 "; start it with --show to open it\n";
    EXPECT_NE(f.err.find(expected), std::string::npos) << f.err;
    EXPECT_NE(run.Settings().find("SetParameter=0"), std::string::npos);
}

TEST(ShowPanelFlag, ShowOpensThePanelWhateverTheFlagAndTheCloseSavesTheTick) {
    ProgramRun run;
    run.WriteSettings("[General]\nSetParameter=0\n");
    const Started panel = run.Start({"--show"});
    ASSERT_TRUE(run.WaitForStartUp());
    // Still open: a termination signal closes it as the close box does.
    kill(panel.pid, SIGTERM);
    const Finished f = run.Wait(panel);
    EXPECT_EQ(f.status, 0) << f.err;
    EXPECT_EQ(f.err.find("SetParameter is 0"), std::string::npos) << f.err;
    EXPECT_EQ(run.Journal().back(), "unload");
    EXPECT_NE(run.Settings().find("SetParameter=1"), std::string::npos) << run.Settings();
}

}  // namespace
