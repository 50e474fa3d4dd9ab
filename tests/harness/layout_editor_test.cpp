// The layout editors: typed camera numbers become a layout on the board, out
// of range numbers fall back, a repeated camera is refused.
#include <gtest/gtest.h>

#include "tests/harness/board_journal.hpp"
#include "tests/harness/output_lines.hpp"
#include "tests/harness/panel_run.hpp"

namespace {

const std::string kWarning = "messagebox \"Please check input channel!\" \"WARNING\" 0x30\n";

board::Journal Sent(int tiles, const std::vector<int>& channels) {
    return {"OvrEnableAll309CH", "OvrSetDisplayFormatForTV " + board::WithChannels(board::LayoutRecords(tiles), channels)};
}

std::string Boxes(const std::string& out, std::initializer_list<int> ids) {
    std::string texts;
    for (int id : ids) {
        const std::string line = LineOf(out, std::to_string(id));
        if (!texts.empty()) texts += ',';
        texts += line.substr(line.find("text ") + 5);
    }
    return texts;
}

TEST(LayoutEditors, NeverFilledBoxesTakeEachTilesFallbackCamera) {
    PanelRun panel;
    const RunResult r = panel.Run("show\nclick DIV10.apply\nclick DIV6.apply\nclick DIV8.apply\ndump\nstate\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    // Layouts 6 and 8 fall back clockwise around their large tile; the others
    // to the tile's own camera.
    EXPECT_EQ(board::Operation(r.journal), board::Concat({Sent(10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
                                                          Sent(6, {0, 1, 2, 5, 4, 3}),
                                                          Sent(8, {0, 1, 2, 3, 7, 6, 5, 4})}));
    EXPECT_EQ(Boxes(r.out, {1060, 1062, 1068, 1075}), "1,2,3,10");
    EXPECT_EQ(Boxes(r.out, {1061, 1111, 1114, 1115, 1116, 1117}), "1,2,3,6,5,4");
    EXPECT_EQ(Boxes(r.out, {1076, 1079, 1083, 1087, 1088, 1089, 1090, 1091}), "1,2,3,4,8,7,6,5");
    EXPECT_EQ(LineOf(r.out, "layoutCode"), "layoutCode 8");
    EXPECT_EQ(LineOf(r.out, "positionMap"), "positionMap 0 1 2 3 7 6 5 4 255 9 255 11 12 13 14 15 255");
    EXPECT_EQ(LineOf(r.out, "1011"), "1011 check 1");
    EXPECT_EQ(LineOf(r.out, "1010"), "1010 check 0");
    EXPECT_EQ(LineOf(r.out, "1013"), "1013 check 0");
    EXPECT_EQ(r.Setting("General", "DIV"), "8");
    EXPECT_EQ(r.Setting("General", "Position8"), "255");
}

TEST(LayoutEditors, NumbersAreReadFromTheFirstFourCharactersAndOutOfRangeOnesFallBack) {
    struct Case {
        std::string typed;
        int channel;         // the tile's channel on the board
        const char* shown;   // what the box shows afterwards
        const char* stored;  // the saved map entry
    };
    const Case cases[] = {
        {"", 0, "1", "0"},        {"0", 0, "1", "0"},     {"17", 0, "1", "0"},  {"    7", 0, "1", "0"},
        {"3x", 2, "3", "2"},      {" +12", 11, "12", "11"}, {"257", 0, "1", "256"}, {"-255", 0, "1", "-256"},
        {"16", 15, "16", "15"},   {"1234", 0, "1", "0"},   {"abc", 0, "1", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("typed \"" + c.typed + "\"");
        PanelRun panel;
        const RunResult r = panel.Run("show\ntype DIV1.tile1 " + c.typed + "\nclick DIV1.apply\ndump\nclose\n");
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(board::Operation(r.journal), Sent(1, {c.channel}));
        EXPECT_EQ(LineOf(r.out, "1104"), std::string("1104 text ") + c.shown);
        EXPECT_EQ(r.Setting("General", "Position0"), c.stored);
        EXPECT_EQ(r.Setting("General", "Position1"), "255");
        EXPECT_EQ(r.Setting("General", "DIV"), "1");
    }
}

TEST(LayoutEditors, ARepeatedCameraIsRefusedWithTheWarningAndTheBoardKeepsItsLayout) {
    PanelRun panel;
    // Tile 1 is empty and falls back to camera 2, which tile 0 already shows.
    const RunResult r = panel.Run("show\ntype DIV4.tile1 2\nclick DIV4.apply\ndump\nstate\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, kWarning.size()), kWarning);
    EXPECT_EQ(board::Operation(r.journal), board::Journal{"OvrEnableAll309CH"});
    EXPECT_EQ(Boxes(r.out, {1092, 1093, 1102, 1103}), "2,2,3,4");
    EXPECT_EQ(LineOf(r.out, "1009"), "1009 check 1");
    // The layout code and the tile map stay as they were.
    EXPECT_EQ(LineOf(r.out, "layoutCode"), "layoutCode 16");
    EXPECT_EQ(LineOf(r.out, "positionMap"), "positionMap 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 255");
    EXPECT_EQ(r.Setting("General", "DIV"), "16");
}

TEST(LayoutEditors, AFallbackCanCollideWithATypedCamera) {
    PanelRun panel;
    // Tile 3 of layout 6 falls back to camera 6, which tile 5 holds.
    const RunResult r = panel.Run("show\ntype DIV6.tile6 6\nclick DIV6.apply\ndump\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, kWarning.size()), kWarning);
    EXPECT_EQ(Boxes(r.out, {1061, 1111, 1114, 1115, 1116, 1117}), "1,2,3,6,5,6");
}

TEST(LayoutEditors, SixteenDifferentCamerasAreSentAsTyped) {
    PanelRun panel;
    std::string script = "show\n";
    std::vector<int> channels;
    for (int tile = 0; tile < 16; ++tile) {
        const int camera = 16 - tile;
        script += "type DIV16.tile" + std::to_string(tile + 1) + " " + std::to_string(camera) + "\n";
        channels.push_back(camera - 1);
    }
    const RunResult r = panel.Run(script + "click DIV16.apply\nstate\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(board::Operation(r.journal), Sent(16, channels));
    EXPECT_EQ(LineOf(r.out, "positionMap"), "positionMap 15 14 13 12 11 10 9 8 7 6 5 4 3 2 1 0 255");
    EXPECT_EQ(r.Setting("General", "Position0"), "15");
}

TEST(LayoutEditors, ASmallerLayoutLeavesTheMapEntriesBeyondItsTilesAlone) {
    PanelRun panel;
    const RunResult r = panel.Run("show\ntype DIV4.tile1 5\ntype DIV4.tile2 6\ntype DIV4.tile3 7\n"
                                  "type DIV4.tile4 8\nclick DIV4.apply\nclick DIV9.apply\nstate\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(board::Operation(r.journal), board::Concat({Sent(4, {4, 5, 6, 7}), Sent(9, {0, 1, 2, 3, 4, 5, 6, 7, 8})}));
    EXPECT_EQ(LineOf(r.out, "positionMap"), "positionMap 0 1 2 3 4 5 6 7 8 255 10 11 12 13 14 15 255");
    EXPECT_EQ(LineOf(r.out, "layoutCode"), "layoutCode 9");
}

TEST(LayoutEditors, TheHiddenThirteenTileGroupCannotBeReachedByTheOperator) {
    PanelRun panel;
    EXPECT_EQ(panel.Run("show\nclick DIV13.apply\n").status, 2);
    EXPECT_EQ(panel.Run("show\ntype DIV13.tile1 3\n").status, 2);
}

TEST(LayoutEditors, ASavedThirteenTileLayoutIsRestoredAndShownInItsHiddenBoxes) {
    PanelRun panel;
    panel.WriteSettings("[General]\nDIV=13\nPosition0=12\nPosition1=11\nPosition2=10\nPosition3=9\nPosition4=8\n"
                        "Position5=7\nPosition6=6\nPosition7=5\nPosition8=4\nPosition9=3\nPosition10=2\n"
                        "Position11=1\nPosition12=0\n");
    const RunResult r = panel.Run("show\ndump\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(board::LinesStartingWith(r.journal, "OvrSetDisplayFormatForTV"),
              board::Journal{"OvrSetDisplayFormatForTV " +
                             board::WithChannels(board::LayoutRecords(13), {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0})});
    EXPECT_EQ(Boxes(r.out, {1095, 1096, 1110}), "13 hidden disabled,12 hidden disabled,1 hidden disabled");
    EXPECT_EQ(r.Setting("General", "DIV"), "13");
}

}  // namespace
