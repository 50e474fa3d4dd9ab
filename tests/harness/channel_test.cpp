// The "Video enable" and "Attribute" groups: what reaches the board, what is
// stored, and what the controls show.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/harness/board_journal.hpp"
#include "tests/harness/output_lines.hpp"
#include "tests/harness/panel_run.hpp"

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

TEST(ChannelEnables, ACamBoxFlipsItsChannelOnTheBoardAndInTheSettings) {
    PanelRun panel;
    const RunResult r = panel.Run("show\nclick Cam5\nstate\ndump\nclick Cam5\nclick Cam5\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(board::Operation(r.journal), (Journal{Enable(4, 0), Enable(4, 1), Enable(4, 0)}));
    EXPECT_EQ(LineOf(r.out, "cameraEnable"), "cameraEnable 1 1 1 1 0 1 1 1 1 1 1 1 1 1 1 1");
    EXPECT_EQ(LineOf(r.out, "1021"), "1021 check 0");
    EXPECT_EQ(r.Setting("Camera", "Camera5"), "0");
    // The shut-down's pass: OvrCaptureStop, OvrStop, then channels 0..15.
    ASSERT_GE(r.journal.size(), 20u);
    EXPECT_EQ(r.journal[r.journal.size() - 20 + 2 + 4], Enable(4, 0));
}

TEST(ChannelEnables, AllOnAndAllOffSwitchEveryChannelInOrderWhateverItsState) {
    PanelRun panel;
    const RunResult r = panel.Run("show\nclick AllOn\nclick AllOff\nclick Cam16\ndump\nstate\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    board::Enables off{};
    board::Enables on = board::kAllEnabled;
    EXPECT_EQ(board::Operation(r.journal),
              board::Concat({board::EnablePass(on), board::EnablePass(off), {Enable(15, 1)}}));
    EXPECT_EQ(LineOf(r.out, "cameraEnable"), "cameraEnable 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1");
    EXPECT_EQ(LineOf(r.out, "1017"), "1017 check 0");
    EXPECT_EQ(LineOf(r.out, "1032"), "1032 check 1");
    EXPECT_EQ(r.Setting("Camera", "Camera1"), "0");
    EXPECT_EQ(r.Setting("Camera", "Camera16"), "1");
}

TEST(ChannelEnables, AStoredFlagOtherThanOneTicksTheBoxButKeepsTheChannelOffUntilUsed) {
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

TEST(PictureAttributes, AReleaseSetsTheSliderValueOnTheChannelNamedInTheBox) {
    PanelRun panel;
    const RunResult r = panel.Run("show\ntype Channel 3\ndrag Contrast 200\ntype Channel 16\ndrag Saturation 90\n"
                                  "drag Brightness 300\nstate\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(board::Operation(r.journal),
              (Journal{"OvrSetContrast 2 200", "OvrSetSaturationU 15 90", "OvrSetSaturationV 15 90",
                       "OvrSetBrightness 15 255"}));
    EXPECT_EQ(r.Setting("Attribute3", "Contrast"), "200");
    EXPECT_EQ(r.Setting("Attribute16", "Saturation"), "90");
    EXPECT_EQ(r.Setting("Attribute16", "Brightness"), "255");
    EXPECT_EQ(r.Setting("Attribute1", "Contrast"), "180");
}

TEST(PictureAttributes, UnreadableOrOutOfRangeChannelTextsSelectChannelOne) {
    struct Case {
        std::string text;
        int channel;
    };
    const Case cases[] = {
        {"", 0}, {"abc", 0}, {"0", 0}, {"-4", 0}, {"17", 0}, {" 5x", 4}, {"\t+7", 6},
        // Only nine characters are read.
        {"1234567890", 0}, {"0000000012", 0}, {"000000012", 11}, {"99999999999999999999", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("box \"" + c.text + "\"");
        PanelRun panel;
        const RunResult r = panel.Run("show\ntype Channel " + c.text + "\ndrag Hue 7\ndump\nclose\n");
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(board::Operation(r.journal), Journal{"OvrSetHue " + std::to_string(c.channel) + " 7"});
        EXPECT_EQ(LineOf(r.out, "1040"), "1040 text " + c.text);  // never corrected
    }
}

TEST(PictureAttributes, TypingAChannelMovesTheThumbsToItsValuesWithoutTouchingTheBoard) {
    PanelRun panel;
    panel.WriteSettings("[Attribute12]\nBrightness=11\nContrast=12\nHUE=13\nSaturation=400\n");
    const RunResult r = panel.Run("show\ntype Channel 1\ndump\ntype Channel 12\ndump\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(board::Operation(r.journal).empty());
    const std::string second = r.out.substr(r.out.find("1035", r.out.find("1040 text 1\n")));
    EXPECT_EQ(SliderPositions(r.out), "100 180 128 128");
    EXPECT_EQ(SliderPositions(second), "11 12 13 255");
    EXPECT_EQ(r.Setting("Attribute12", "Saturation"), "400");  // the thumb's end is not stored
}

TEST(PictureAttributes, KeysMoveTheThumbOnlyAndTheNextReleaseAppliesIt) {
    PanelRun panel;
    const RunResult r = panel.Run("show\nkey Brightness right\nkey Brightness right\nkey Contrast pageup\n"
                                  "key Hue home\nkey Saturation end\ndump\nstate\ndrag Brightness 110\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(SliderPositions(r.out), "110 129 0 255");
    EXPECT_EQ(LineOf(r.out, "attributes").substr(0, 27), "attributes 100 180 128 128 ");
    EXPECT_EQ(board::Operation(r.journal), Journal{"OvrSetBrightness 0 110"});
}

TEST(PictureAttributes, DefaultResetsOnlyTheTunedChannel) {
    PanelRun panel;
    panel.WriteSettings("[Attribute7]\nBrightness=1\nHUE=2\n[Attribute8]\nBrightness=3\n");
    const RunResult r = panel.Run("show\ntype Channel 7\nclick Default\ndump\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(board::Operation(r.journal), board::AttributeCalls(6, {}));
    EXPECT_EQ(SliderPositions(r.out), "100 180 128 128");
    EXPECT_EQ(r.Setting("Attribute7", "Brightness"), "100");
    EXPECT_EQ(r.Setting("Attribute7", "HUE"), "128");
    EXPECT_EQ(r.Setting("Attribute8", "Brightness"), "3");
}

TEST(PictureAttributes, SetAllCopiesTheThumbsToEveryChannelInChannelOrder) {
    PanelRun panel;
    const RunResult r = panel.Run("show\ntype Channel 2\nkey Brightness home\nkey Contrast left\n"
                                  "key Saturation end\nclick SetAll\ndump\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    board::AllAttributes all;
    all.fill({0, 175, 128, 255});
    EXPECT_EQ(board::Operation(r.journal), board::AttributePass(all));
    EXPECT_EQ(SliderPositions(r.out), "0 175 128 255");
    EXPECT_EQ(LineOf(r.out, "1040"), "1040 text 2");
    EXPECT_EQ(r.Setting("Attribute16", "Saturation"), "255");
    EXPECT_EQ(r.Setting("Attribute9", "Contrast"), "175");
}

TEST(PictureAttributes, AfterAVideoStandardChangeTheThumbsShowChannelOneWhileTheBoxKeepsItsText) {
    PanelRun panel;
    panel.WriteSettings("[Attribute1]\nHUE=10\n[Attribute5]\nHUE=50\n");
    const RunResult r = panel.Run("show\ntype Channel 5\nclick PAL\ndump\ndrag Hue 99\nclick SetAll\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(SliderPositions(r.out), "100 180 10 128");
    const Journal operation = board::Operation(r.journal);
    ASSERT_GE(operation.size(), 81u);
    EXPECT_EQ(operation[operation.size() - 81], "OvrSetHue 4 99");
    board::AllAttributes shown;
    shown.fill({100, 180, 99, 128});
    EXPECT_EQ(Journal(operation.end() - 80, operation.end()), board::AttributePass(shown));
}

}  // namespace
