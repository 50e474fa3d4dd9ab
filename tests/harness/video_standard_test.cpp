// The "NTSC" and "PAL" buttons re-program the whole board in two passes and
// fall back to the 16-tile layout.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/harness/board_journal.hpp"
#include "tests/harness/output_lines.hpp"
#include "tests/harness/panel_run.hpp"

namespace {

using board::Board;

TEST(VideoStandard, PalAfterANineTileLayoutRunsTwoFullPassesAndFallsBackToSixteenTiles) {
    PanelRun panel;
    panel.WriteSettings("[Attribute1]\nBrightness=90\n[Attribute5]\nContrast=20\n");
    const RunResult r = panel.Run(
        "show\ntype DIV16.tile1 9\nclick DIV9.apply\ntype Channel 5\nclick PAL\ndump\nstate\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;

    Board b{.standardSent = 1};
    b.attributes[0].brightness = 90;
    b.attributes[4].contrast = 20;
    const board::Journal nineTiles{"OvrEnableAll309CH", "OvrSetDisplayFormatForTV " + board::LayoutRecords(9)};
    EXPECT_EQ(board::Operation(r.journal), board::Concat({nineTiles, board::VideoStandardChange(1, b)}));

    EXPECT_EQ(LineOf(r.out, "videoStandard"), "videoStandard 1");
    EXPECT_EQ(LineOf(r.out, "layoutCode"), "layoutCode 16");
    EXPECT_EQ(LineOf(r.out, "positionMap"), "positionMap 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 255");
    EXPECT_EQ(LineOf(r.out, "1014"), "1014 check 1");
    EXPECT_EQ(LineOf(r.out, "1012"), "1012 check 0");
    EXPECT_EQ(LineOf(r.out, "1002"), "1002 check 1");
    EXPECT_EQ(LineOf(r.out, "1001"), "1001 check 0");
    // The thumbs show channel 1 while the box still names channel 5; the
    // "DIV 16" boxes keep what they showed.
    EXPECT_EQ(LineOf(r.out, "1040"), "1040 text 5");
    EXPECT_EQ(LineOf(r.out, "1035"), "1035 slider 90 0 255 5");
    EXPECT_EQ(LineOf(r.out, "1036"), "1036 slider 180 0 255 5");
    EXPECT_EQ(LineOf(r.out, "1044"), "1044 text 9");

    EXPECT_EQ(r.Setting("Format", "PAL"), "1");
    EXPECT_EQ(r.Setting("General", "DIV"), "16");
    EXPECT_EQ(r.Setting("General", "Position8"), "8");
}

TEST(VideoStandard, TheStandardAlreadyInForceIsProgrammedAgainAllTheSame) {
    PanelRun panel;
    panel.WriteSettings("[Format]\nPAL=2\n[Camera]\nCamera2=0\nCamera7=3\n");
    const RunResult r = panel.Run("show\nclick NTSC\nclick NTSC\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    Board b;
    b.enables[1] = 0;
    b.enables[6] = 3;
    const board::Journal change = board::VideoStandardChange(0, b);
    EXPECT_EQ(board::Operation(r.journal), board::Concat({change, change}));
    EXPECT_EQ(r.Setting("Format", "PAL"), "0");
    EXPECT_EQ(r.Setting("Camera", "Camera7"), "3");
}

TEST(VideoStandard, AStoredStandardIsWrittenBackUntilAButtonIsPressed) {
    PanelRun panel;
    panel.WriteSettings("[Format]\nPAL=2\n");
    const RunResult r = panel.Run("show\ndump\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(board::LinesStartingWith(r.journal, "OvrSetVideoFormat"),
              board::Journal{"OvrSetVideoFormat 1"});
    EXPECT_EQ(LineOf(r.out, "1002"), "1002 check 1");
    EXPECT_EQ(r.Setting("Format", "PAL"), "2");
}

}  // namespace
