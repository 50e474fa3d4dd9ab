// The "NTSC" and "PAL" buttons re-program the whole board in two passes and
// fall back to the 16-tile layout.
#include "tests/harness/scenario.hpp"

namespace {

using board::Board;

std::vector<Scenario> Rows() {
    Board ninetyAndTwenty{.standardSent = 1};
    ninetyAndTwenty.attributes[0].brightness = 90;
    ninetyAndTwenty.attributes[4].contrast = 20;
    Board twoOffSevenThree;
    twoOffSevenThree.enables[1] = 0;
    twoOffSevenThree.enables[6] = 3;
    const board::Journal ntsc = board::VideoStandardChange(0, twoOffSevenThree);
    return {
        {.name = "PalAfterANineTileLayoutRunsTwoFullPassesAndFallsBackToSixteenTiles",
         .settings = "[Attribute1]\nBrightness=90\n[Attribute5]\nContrast=20\n",
         .script = "show\ntype DIV16.tile1 9\nclick DIV9.apply\ntype Channel 5\nclick PAL\ndump\nstate\nclose\n",
         .operation = board::Concat({{"OvrEnableAll309CH", "OvrSetDisplayFormatForTV " + board::LayoutRecords(9)},
                                     board::VideoStandardChange(1, ninetyAndTwenty)}),
         // The thumbs show channel 1 while the box still names channel 5; the
         // "DIV 16" boxes keep what they showed.
         .shown = {"videoStandard 1", "layoutCode 16", "positionMap 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 255",
                   "1014 check 1", "1012 check 0", "1002 check 1", "1001 check 0", "1040 text 5",
                   "1035 slider 90 0 255 5", "1036 slider 180 0 255 5", "1044 text 9"},
         .stored = {{"Format", "PAL", "1"}, {"General", "DIV", "16"}, {"General", "Position8", "8"}}},
        {.name = "TheStandardAlreadyInForceIsProgrammedAgainAllTheSame",
         .settings = "[Format]\nPAL=2\n[Camera]\nCamera2=0\nCamera7=3\n",
         .script = "show\nclick NTSC\nclick NTSC\nclose\n",
         .operation = board::Concat({ntsc, ntsc}),
         .stored = {{"Format", "PAL", "0"}, {"Camera", "Camera7", "3"}}},
        {.name = "AStoredStandardIsWrittenBackUntilAButtonIsPressed",
         .settings = "[Format]\nPAL=2\n",
         .script = "show\ndump\nclose\n",
         .callsStarting = "OvrSetVideoFormat",
         .calls = {"OvrSetVideoFormat 1"},
         .shown = {"1002 check 1"},
         .stored = {{"Format", "PAL", "2"}}},
    };
}

class VideoStandard : public testing::TestWithParam<Scenario> {};
TEST_P(VideoStandard, Session) { Play(GetParam()); }
INSTANTIATE_TEST_SUITE_P(, VideoStandard, testing::ValuesIn(Rows()), RowName);

}  // namespace
