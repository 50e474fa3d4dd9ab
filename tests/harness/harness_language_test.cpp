// The harness's script language as other tools drive it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "tests/harness/output_lines.hpp"
#include "tests/harness/panel_run.hpp"

namespace {

TEST(HarnessScript, MistakesStopTheRunWithStatusTwoAndOneLineNamingTheScriptLine) {
    const char* scripts[] = {
        "dump\n",                           // before the first show
        "show\nfrobnicate\n",               // unknown command
        "show\nclick 9999\n",               // unknown id
        "show\nclick x\n",                  // not an id
        "show\nclick 1016\n",               // hidden and disabled
        "show\ntype 1110 4\n",              // hidden and disabled
        "show\ntype 1017 4\n",              // not an edit box
        "show\ndrag 1040 3\n",              // not a trackbar
        "show\nkey 1035 sideways\n",        // unknown key
        "show\npress 1035 below\n",         // unknown place
        "show\npress 1040 thumb\n",         // not a trackbar
        "show\nclose\nstate\n",             // after the dialog has ended
        "show\nclick 1017 1018\n",          // too many words
        "show\nclick Pall\n",               // unknown name
        "show\ntype DIV4.tile5 5\n",        // a tile the layout lacks
    };
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        PanelRun panel;
        const RunResult r = panel.Run(script);
        EXPECT_EQ(r.status, 2);
        const std::size_t lines = static_cast<std::size_t>(std::count(script, script + std::strlen(script), '\n'));
        EXPECT_NE(r.err.find(std::string(":").append(std::to_string(lines)).append(": ")), std::string::npos) << r.err;
        // Besides what the driver says of itself when loaded, and the panel's
        // lines about its driver.
        const std::size_t otherLines =
            LinesStartingWith(r.err, "TAVRIND.dll: ").size() + LinesStartingWith(r.err, "KORVANE16: ").size();
        EXPECT_EQ(static_cast<std::size_t>(std::count(r.err.begin(), r.err.end(), '\n')), 1 + otherLines) << r.err;
    }
}

TEST(HarnessScript, AControlsNameDoesWhatItsNumberDoes) {
    const std::pair<const char*, const char*> rows[] = {
        {"click PAL\nclick ntsc\n", "click 1002\nclick 1001\n"},
        {"type DIV4.tile1 5\nclick DIV4.apply\ntype div16.tile16 2\nclick DIV16.Apply\n",
         "type 1092 5\nclick 1009\ntype 1059 2\nclick 1014\n"},
        {"type Channel 3\ndrag Brightness 90\nkey HUE end\npress Saturation before\nclick Default\n",
         "type 1040 3\ndrag 1035 90\nkey 1037 end\npress 1038 before\nclick 1041\n"},
        {"click Cam16\nclick AllOff\nclick allon\nclick SetAll\nclick ShowApplication\n",
         "click 1032\nclick 1034\nclick 1033\nclick 1042\nclick 1043\n"},
    };
    for (const auto& [named, numbered] : rows) {
        SCOPED_TRACE(named);
        PanelRun panel;
        const RunResult byName = panel.Run(std::string("show\n") + named + "dump\nclose\n");
        PanelRun other;
        const RunResult byNumber = other.Run(std::string("show\n") + numbered + "dump\nclose\n");
        EXPECT_EQ(byName.status, 0) << byName.err;
        EXPECT_EQ(byName.out, byNumber.out);
        EXPECT_EQ(byName.journal, byNumber.journal);
        EXPECT_EQ(byName.settings, byNumber.settings);
    }
}

TEST(HarnessScript, CommentsBlankLinesAndAMissingCloseAreHandled) {
    PanelRun panel;
    const RunResult r = panel.Run("# a comment\n\nshow\r\n   \n# the script ends with the dialog open\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.Setting("General", "SetParameter"), "1");  // closed and saved
    EXPECT_EQ(r.journal.back(), "unload");
}

TEST(HarnessScript, TypeStoresEverythingAfterTheBlankThatFollowsTheId) {
    PanelRun panel;
    const RunResult r = panel.Run("show\ntype 1104  two words \ntype 1092\ntype 1093 \ndump\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(LineOf(r.out, "1104"), "1104 text  two words ");
    EXPECT_EQ(LineOf(r.out, "1092"), "1092 text ");
    EXPECT_EQ(LineOf(r.out, "1093"), "1093 text ");
}

TEST(HarnessScript, DumpListsEveryControlWithAnIdInAscendingOrder) {
    PanelRun panel;
    const RunResult r = panel.Run("show\ndump\n");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<int> ids;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) ids.push_back(std::stoi(line));
    // 1001, 1002, 8 radios, 16 Cams, 4 sliders, the Channel box, Show application. and 67 tile boxes.
    EXPECT_EQ(ids.size(), 2u + 8u + 16u + 4u + 1u + 1u + 67u);
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
    EXPECT_EQ(LineOf(r.out, "1033"), "<none>");  // push buttons are not listed
    EXPECT_EQ(LineOf(r.out, "1040"), "1040 text 1");
    EXPECT_EQ(LineOf(r.out, "1060"), "1060 text ");
    EXPECT_EQ(LineOf(r.out, "1100"), "1100 text  hidden disabled");
}

TEST(HarnessScript, RadioClicksClearTheirGroupAndAreReportedEvenWhenAlreadySelected) {
    PanelRun panel;
    const RunResult r = panel.Run("show\nclick 1009\nclick 1009\ndump\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(LineOf(r.out, "1009"), "1009 check 1");
    EXPECT_EQ(LineOf(r.out, "1014"), "1014 check 0");
    // Each click on the "DIV 4" radio is one Apply.
    EXPECT_EQ(std::count(r.journal.begin(), r.journal.end(), "OvrEnableAll309CH"), 2);

    // Without a driver the handlers do nothing, so only the radio behaviour shows.
    const RunResult standard = panel.Run("show\nclick 1002\nclick 1013\ndump\n", Driver::None);
    EXPECT_EQ(LineOf(standard.out, "1002"), "1002 check 1");
    EXPECT_EQ(LineOf(standard.out, "1001"), "1001 check 0");
    EXPECT_EQ(LineOf(standard.out, "1013"), "1013 check 1");
    EXPECT_EQ(LineOf(standard.out, "1016"), "1016 check 0 hidden disabled");
}

}  // namespace
