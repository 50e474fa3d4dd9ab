// The layout editors: typed camera numbers become a layout on the board, out
// of range numbers fall back, a repeated camera is refused.
#include "tests/harness/scenario.hpp"

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

// A camera number typed into the one-tile editor: the tile's channel on the
// board, what the box shows afterwards, and the saved map entry. Numbers are
// read from the first four characters; out of range ones fall back.
Scenario Typed(const std::string& name, const std::string& typed, int channel, const std::string& shown,
               const std::string& stored) {
    return {.name = "Typed" + name,
            .script = "show\ntype DIV1.tile1 " + typed + "\nclick DIV1.apply\ndump\nclose\n",
            .operation = Sent(1, {channel}),
            .shown = {"1104 text " + shown},
            .stored = {{"General", "Position0", stored}, {"General", "Position1", "255"}, {"General", "DIV", "1"}}};
}

void ExpectWarningFirst(const RunResult& r) { EXPECT_EQ(r.out.substr(0, kWarning.size()), kWarning); }

std::vector<Scenario> Rows() {
    std::string sixteen = "show\n";
    std::vector<int> reversed;
    for (int tile = 0; tile < 16; ++tile) {
        const int camera = 16 - tile;
        sixteen += "type DIV16.tile" + std::to_string(tile + 1) + " " + std::to_string(camera) + "\n";
        reversed.push_back(camera - 1);
    }
    return {
        // Layouts 6 and 8 fall back clockwise around their large tile; the others
        // to the tile's own camera.
        {.name = "NeverFilledBoxesTakeEachTilesFallbackCamera",
         .script = "show\nclick DIV10.apply\nclick DIV6.apply\nclick DIV8.apply\ndump\nstate\nclose\n",
         .operation = board::Concat({Sent(10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), Sent(6, {0, 1, 2, 5, 4, 3}),
                                     Sent(8, {0, 1, 2, 3, 7, 6, 5, 4})}),
         .shown = {"layoutCode 8", "positionMap 0 1 2 3 7 6 5 4 255 9 255 11 12 13 14 15 255", "1011 check 1",
                   "1010 check 0", "1013 check 0"},
         .stored = {{"General", "DIV", "8"}, {"General", "Position8", "255"}},
         .also =
             [](const RunResult& r) {
                 EXPECT_EQ(Boxes(r.out, {1060, 1062, 1068, 1075}), "1,2,3,10");
                 EXPECT_EQ(Boxes(r.out, {1061, 1111, 1114, 1115, 1116, 1117}), "1,2,3,6,5,4");
                 EXPECT_EQ(Boxes(r.out, {1076, 1079, 1083, 1087, 1088, 1089, 1090, 1091}), "1,2,3,4,8,7,6,5");
             }},
        Typed("Nothing", "", 0, "1", "0"), Typed("Zero", "0", 0, "1", "0"), Typed("Seventeen", "17", 0, "1", "0"),
        Typed("SevenAfterFourBlanks", "    7", 0, "1", "0"), Typed("ThreeX", "3x", 2, "3", "2"),
        Typed("BlankPlusTwelve", " +12", 11, "12", "11"), Typed("TwoHundredFiftySeven", "257", 0, "1", "256"),
        Typed("MinusTwoHundredFiftyFive", "-255", 0, "1", "-256"), Typed("Sixteen", "16", 15, "16", "15"),
        Typed("FourDigits", "1234", 0, "1", "0"), Typed("Letters", "abc", 0, "1", "0"),
        // Tile 1 is empty and falls back to camera 2, which tile 0 already shows;
        // the layout code and the tile map stay as they were.
        {.name = "ARepeatedCameraIsRefusedWithTheWarningAndTheBoardKeepsItsLayout",
         .script = "show\ntype DIV4.tile1 2\nclick DIV4.apply\ndump\nstate\nclose\n",
         .operation = board::Journal{"OvrEnableAll309CH"},
         .shown = {"1009 check 1", "layoutCode 16", "positionMap 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 255"},
         .stored = {{"General", "DIV", "16"}},
         .also =
             [](const RunResult& r) {
                 ExpectWarningFirst(r);
                 EXPECT_EQ(Boxes(r.out, {1092, 1093, 1102, 1103}), "2,2,3,4");
             }},
        // Tile 3 of layout 6 falls back to camera 6, which tile 5 holds.
        {.name = "AFallbackCanCollideWithATypedCamera",
         .script = "show\ntype DIV6.tile6 6\nclick DIV6.apply\ndump\nclose\n",
         .also =
             [](const RunResult& r) {
                 ExpectWarningFirst(r);
                 EXPECT_EQ(Boxes(r.out, {1061, 1111, 1114, 1115, 1116, 1117}), "1,2,3,6,5,6");
             }},
        {.name = "SixteenDifferentCamerasAreSentAsTyped",
         .script = sixteen + "click DIV16.apply\nstate\nclose\n",
         .operation = Sent(16, reversed),
         .shown = {"positionMap 15 14 13 12 11 10 9 8 7 6 5 4 3 2 1 0 255"},
         .stored = {{"General", "Position0", "15"}}},
        {.name = "ASmallerLayoutLeavesTheMapEntriesBeyondItsTilesAlone",
         .script = "show\ntype DIV4.tile1 5\ntype DIV4.tile2 6\ntype DIV4.tile3 7\n"
                   "type DIV4.tile4 8\nclick DIV4.apply\nclick DIV9.apply\nstate\nclose\n",
         .operation = board::Concat({Sent(4, {4, 5, 6, 7}), Sent(9, {0, 1, 2, 3, 4, 5, 6, 7, 8})}),
         .shown = {"positionMap 0 1 2 3 4 5 6 7 8 255 10 11 12 13 14 15 255", "layoutCode 9"}},
        {.name = "ASavedThirteenTileLayoutIsRestoredAndShownInItsHiddenBoxes",
         .settings = "[General]\nDIV=13\nPosition0=12\nPosition1=11\nPosition2=10\nPosition3=9\nPosition4=8\n"
                     "Position5=7\nPosition6=6\nPosition7=5\nPosition8=4\nPosition9=3\nPosition10=2\n"
                     "Position11=1\nPosition12=0\n",
         .script = "show\ndump\nclose\n",
         .callsStarting = "OvrSetDisplayFormatForTV",
         .calls = {"OvrSetDisplayFormatForTV " +
                   board::WithChannels(board::LayoutRecords(13), {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0})},
         .stored = {{"General", "DIV", "13"}},
         .also =
             [](const RunResult& r) {
                 EXPECT_EQ(Boxes(r.out, {1095, 1096, 1110}), "13 hidden disabled,12 hidden disabled,1 hidden disabled");
             }},
    };
}

class LayoutEditors : public testing::TestWithParam<Scenario> {};
TEST_P(LayoutEditors, Session) { Play(GetParam()); }
INSTANTIATE_TEST_SUITE_P(, LayoutEditors, testing::ValuesIn(Rows()), RowName);

TEST_F(LayoutEditors, TheHiddenThirteenTileGroupCannotBeReachedByTheOperator) {
    PanelRun panel;
    EXPECT_EQ(panel.Run("show\nclick DIV13.apply\n").status, 2);
    EXPECT_EQ(panel.Run("show\ntype DIV13.tile1 3\n").status, 2);
}

}  // namespace
