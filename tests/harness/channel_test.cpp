// The "Video enable" and "Attribute" groups: what reaches the board, what is
// stored, and what the controls show.
#include <sstream>

#include "tests/harness/scenario.hpp"

namespace {

using board::Journal;

std::string Enable(int channel, int on) {
    return "OvrEnableChannel " + std::to_string(channel) + " " + std::to_string(on);
}

std::string SliderPositions(const std::string& out) {
    std::string positions;
    for (const char* id : {"1035", "1036", "1037", "1038"}) {
        std::istringstream line(LineOf(out, id));
        std::string word, position;
        line >> word >> word >> position;
        positions += (positions.empty() ? "" : " ") + position;
    }
    return positions;
}

std::vector<Scenario> EnableRows() {
    return {
        {.name = "ACamBoxFlipsItsChannelOnTheBoardAndInTheSettings",
         .script = "show\nclick Cam5\nstate\ndump\nclick Cam5\nclick Cam5\nclose\n",
         .operation = Journal{Enable(4, 0), Enable(4, 1), Enable(4, 0)},
         .shown = {"cameraEnable 1 1 1 1 0 1 1 1 1 1 1 1 1 1 1 1", "1021 check 0"},
         .stored = {{"Camera", "Camera5", "0"}},
         .also =
             [](const RunResult& r) {
                 // The shut-down's pass: OvrCaptureStop, OvrStop, then channels 0..15.
                 ASSERT_GE(r.journal.size(), 20u);
                 EXPECT_EQ(r.journal[r.journal.size() - 20 + 2 + 4], Enable(4, 0));
             }},
        {.name = "AllOnAndAllOffSwitchEveryChannelInOrderWhateverItsState",
         .script = "show\nclick AllOn\nclick AllOff\nclick Cam16\ndump\nstate\nclose\n",
         .operation = board::Concat({board::EnablePass(board::kAllEnabled), board::EnablePass({}), {Enable(15, 1)}}),
         .shown = {"cameraEnable 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1", "1017 check 0", "1032 check 1"},
         .stored = {{"Camera", "Camera1", "0"}, {"Camera", "Camera16", "1"}}},
    };
}

class ChannelEnables : public testing::TestWithParam<Scenario> {};
TEST_P(ChannelEnables, Session) { Play(GetParam()); }
INSTANTIATE_TEST_SUITE_P(, ChannelEnables, testing::ValuesIn(EnableRows()), RowName);

TEST_F(ChannelEnables, AStoredFlagOtherThanOneTicksTheBoxButKeepsTheChannelOffUntilUsed) {
    PanelRun panel;
    panel.WriteSettings("[Camera]\nCamera3=2\nCamera4=-1\n");
    const RunResult kept = panel.Run("show\ndump\nclose\n");
    ASSERT_EQ(kept.status, 0) << kept.err;
    EXPECT_EQ(LineOf(kept.out, "1019"), "1019 check 1");
    EXPECT_EQ(board::LinesStartingWith(kept.journal, "OvrEnableChannel 2 "), Journal(2, Enable(2, 0)));
    EXPECT_EQ(kept.Setting("Camera", "Camera3"), "2");
    EXPECT_EQ(kept.Setting("Camera", "Camera4"), "-1");

    // A click unticks the box: the flag becomes a plain 0.
    const RunResult clicked = panel.Run("show\nclick Cam3\nclose\n");
    EXPECT_EQ(board::Operation(clicked.journal), Journal{Enable(2, 0)});
    EXPECT_EQ(clicked.Setting("Camera", "Camera3"), "0");
}

// A channel box the panel cannot read, or out of range, selects channel 1 and
// is never corrected.
Scenario ChannelBox(const std::string& name, const std::string& text, int channel) {
    return {.name = "Box" + name + "SelectsChannel" + std::to_string(channel + 1),
            .script = "show\ntype Channel " + text + "\ndrag Hue 7\ndump\nclose\n",
            .operation = Journal{"OvrSetHue " + std::to_string(channel) + " 7"},
            .shown = {"1040 text " + text}};
}

std::vector<Scenario> AttributeRows() {
    board::AllAttributes setAll;
    setAll.fill({0, 175, 128, 255});
    return {
        {.name = "AReleaseSetsTheSliderValueOnTheChannelNamedInTheBox",
         .script = "show\ntype Channel 3\ndrag Contrast 200\ntype Channel 16\ndrag Saturation 90\n"
                   "drag Brightness 300\nstate\nclose\n",
         .operation = Journal{"OvrSetContrast 2 200", "OvrSetSaturationU 15 90", "OvrSetSaturationV 15 90",
                              "OvrSetBrightness 15 255"},
         .stored = {{"Attribute3", "Contrast", "200"},
                    {"Attribute16", "Saturation", "90"},
                    {"Attribute16", "Brightness", "255"},
                    {"Attribute1", "Contrast", "180"}}},
        ChannelBox("Empty", "", 0), ChannelBox("Letters", "abc", 0), ChannelBox("Zero", "0", 0),
        ChannelBox("Negative", "-4", 0), ChannelBox("Seventeen", "17", 0), ChannelBox("BlankAndTrailingX", " 5x", 4),
        ChannelBox("TabAndPlus", "\t+7", 6),
        // Only nine characters are read.
        ChannelBox("TenDigits", "1234567890", 0), ChannelBox("TenDigitsEndingIn12", "0000000012", 0),
        ChannelBox("NineDigitsEndingIn12", "000000012", 11), ChannelBox("TwentyDigits", "99999999999999999999", 0),
        {.name = "TypingAChannelMovesTheThumbsToItsValuesWithoutTouchingTheBoard",
         .settings = "[Attribute12]\nBrightness=11\nContrast=12\nHUE=13\nSaturation=400\n",
         .script = "show\ntype Channel 1\ndump\ntype Channel 12\ndump\nclose\n",
         .operation = Journal{},
         .stored = {{"Attribute12", "Saturation", "400"}},  // the thumb's end is not stored
         .also =
             [](const RunResult& r) {
                 const std::string second = r.out.substr(r.out.find("1035", r.out.find("1040 text 1\n")));
                 EXPECT_EQ(SliderPositions(r.out), "100 180 128 128");
                 EXPECT_EQ(SliderPositions(second), "11 12 13 255");
             }},
        {.name = "KeysMoveTheThumbOnlyAndTheNextReleaseAppliesIt",
         .script = "show\nkey Brightness right\nkey Brightness right\nkey Contrast pageup\n"
                   "key Hue home\nkey Saturation end\ndump\nstate\ndrag Brightness 110\nclose\n",
         .operation = Journal{"OvrSetBrightness 0 110"},
         .also =
             [](const RunResult& r) {
                 EXPECT_EQ(SliderPositions(r.out), "110 129 0 255");
                 EXPECT_EQ(LineOf(r.out, "attributes").substr(0, 27), "attributes 100 180 128 128 ");
             }},
        {.name = "DefaultResetsOnlyTheTunedChannel",
         .settings = "[Attribute7]\nBrightness=1\nHUE=2\n[Attribute8]\nBrightness=3\n",
         .script = "show\ntype Channel 7\nclick Default\ndump\nclose\n",
         .operation = board::AttributeCalls(6, {}),
         .stored = {{"Attribute7", "Brightness", "100"}, {"Attribute7", "HUE", "128"}, {"Attribute8", "Brightness", "3"}},
         .also = [](const RunResult& r) { EXPECT_EQ(SliderPositions(r.out), "100 180 128 128"); }},
        {.name = "SetAllCopiesTheThumbsToEveryChannelInChannelOrder",
         .script = "show\ntype Channel 2\nkey Brightness home\nkey Contrast left\n"
                   "key Saturation end\nclick SetAll\ndump\nclose\n",
         .operation = board::AttributePass(setAll),
         .shown = {"1040 text 2"},
         .stored = {{"Attribute16", "Saturation", "255"}, {"Attribute9", "Contrast", "175"}},
         .also = [](const RunResult& r) { EXPECT_EQ(SliderPositions(r.out), "0 175 128 255"); }},
        {.name = "AfterAVideoStandardChangeTheThumbsShowChannelOneWhileTheBoxKeepsItsText",
         .settings = "[Attribute1]\nHUE=10\n[Attribute5]\nHUE=50\n",
         .script = "show\ntype Channel 5\nclick PAL\ndump\ndrag Hue 99\nclick SetAll\nclose\n",
         .also =
             [](const RunResult& r) {
                 EXPECT_EQ(SliderPositions(r.out), "100 180 10 128");
                 const Journal operation = board::Operation(r.journal);
                 ASSERT_GE(operation.size(), 81u);
                 EXPECT_EQ(operation[operation.size() - 81], "OvrSetHue 4 99");
                 board::AllAttributes shown;
                 shown.fill({100, 180, 99, 128});
                 EXPECT_EQ(Journal(operation.end() - 80, operation.end()), board::AttributePass(shown));
             }},
    };
}

class PictureAttributes : public testing::TestWithParam<Scenario> {};
TEST_P(PictureAttributes, Session) { Play(GetParam()); }
INSTANTIATE_TEST_SUITE_P(, PictureAttributes, testing::ValuesIn(AttributeRows()), RowName);

}  // namespace
