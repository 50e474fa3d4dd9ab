// The board's state follows the panel's calls, and calls out of protocol are
// reported, one description each, naming the entry point.
#include <gtest/gtest.h>

#include "tests/sim/board_calls.hpp"

using sim::Entry;

namespace {

TEST(BoardModel, FollowsTheStartUpAndTheOperatorsChangesWithoutFaults) {
    BoardCalls board;
    board.StartUp(sim::kPal);
    board.Call(Entry::OvrSetBrightness, {3, 90});
    board.Call(Entry::OvrSetContrast, {3, 200});
    board.Call(Entry::OvrSetHue, {3, 10});
    board.Call(Entry::OvrSetSaturationU, {3, 20});
    board.Call(Entry::OvrSetSaturationV, {3, 30});
    board.Call(Entry::OvrEnableChannel, {7, 0});
    board.Call(Entry::OvrEnableAll309CH);
    board.Layout(LayoutTable(4, {9, 3, 14, 6}));
    board.Call(Entry::OvrEdgeEnhance, {0});
    EXPECT_TRUE(board.faults.empty()) << board.faults.front();

    const sim::BoardState& s = board.State();
    EXPECT_TRUE(s.Showing());
    EXPECT_EQ(s.capturing, 1);
    EXPECT_EQ(s.standard, sim::kPal);
    const sim::ChannelSettings three = s.channels[3];
    EXPECT_EQ((std::array{three.enabled, three.brightness, three.contrast, three.hue, three.saturationU, three.saturationV}),
              (std::array{1, 90, 200, 10, 20, 30}));
    EXPECT_EQ(s.channels[7].enabled, 0);
    EXPECT_EQ(s.channels[2].brightness, 100);  // the others keep the decoder's defaults
    ASSERT_EQ(s.tileCount, 4);
    EXPECT_EQ(s.tiles[2].channel, 14);
    EXPECT_EQ(s.tiles[3].x, 336);
    EXPECT_EQ(s.tiles[3].y, 232);

    board.Call(Entry::OvrCaptureStop);
    board.Call(Entry::OvrStop);
    EXPECT_FALSE(board.State().Showing());
    board.Call(Entry::OvrEndup);
    EXPECT_EQ(board.State().setUp, 0);
    EXPECT_TRUE(board.faults.empty());
}

TEST(BoardModel, CopiesTheTableAtTheCallUpToItsEndMark) {
    BoardCalls board;
    board.StartUp();
    std::vector<TileSpec> table = LayoutTable(9, {0, 1, 2, 3, 4, 5, 6, 7, 8});
    table[4].channel = kEndMark;  // an early end mark: four tiles
    board.Layout(table);
    table[0].channel = 12;  // the panel keeps changing its own table
    table[0].x = 100;
    ASSERT_EQ(board.State().tileCount, 4);
    EXPECT_EQ(board.State().tiles[0].channel, 0);
    EXPECT_EQ(board.State().tiles[0].x, 0);
    EXPECT_TRUE(board.faults.empty());
}

TEST(BoardModel, ReadsNoRecordBeyondTheEndMarkOrTheThirtySecond) {
    // Tables of exactly the size read: the sanitizer build catches a read past them.
    BoardCalls board;
    board.StartUp();
    auto exact = std::make_unique<TileSpec[]>(1);
    exact[0] = {kEndMark, {}, 0, 0, 0, 0, 0};
    board.Note(board.model.ReceiveLayout(exact.get()));
    EXPECT_EQ(board.State().tileCount, 0);
    EXPECT_TRUE(board.faults.empty());

    auto unmarked = std::make_unique<TileSpec[]>(32);
    for (int i = 0; i < 32; ++i) unmarked[static_cast<std::size_t>(i)] = {1, {}, 3, 0, 0, 10, 10};
    board.Note(board.model.ReceiveLayout(unmarked.get()));
    ASSERT_EQ(board.faults.size(), 1u);
    EXPECT_EQ(board.faults[0], "OvrSetDisplayFormatForTV: no end mark in the first 32 records");
    EXPECT_EQ(board.State().tileCount, 0);  // the layout shown stays
}

TEST(BoardModel, ReportsEachCallOutOfProtocolNamingItsEntryPoint) {
    struct Case {
        const char* what;
        void (*calls)(BoardCalls&);
        const char* fault;
    };
    const Case cases[] = {
        {"channel before set-up", [](BoardCalls& b) { b.Call(Entry::OvrEnableChannel, {0, 1}); },
         "OvrEnableChannel: called before OvrSetup"},
        {"attribute before set-up", [](BoardCalls& b) { b.Call(Entry::OvrSetHue, {0, 1}); },
         "OvrSetHue: called before OvrSetup"},
        {"layout before set-up", [](BoardCalls& b) { b.Layout(LayoutTable(1, {0})); },
         "OvrSetDisplayFormatForTV: called before OvrSetup"},
        {"attribute after end", [](BoardCalls& b) {
             b.StartUp();
             b.Call(Entry::OvrEndup);
             b.Call(Entry::OvrSetSaturationV, {2, 9});
         }, "OvrSetSaturationV: called after OvrEndup"},
        {"layout after end", [](BoardCalls& b) {
             b.StartUp();
             b.Call(Entry::OvrEndup);
             b.Layout(LayoutTable(1, {0}));
         }, "OvrSetDisplayFormatForTV: called after OvrEndup"},
        {"run before set-up", [](BoardCalls& b) { b.Call(Entry::OvrRun); }, "OvrRun: called before OvrSetup"},
        {"channel 16", [](BoardCalls& b) {
             b.StartUp();
             b.Call(Entry::OvrEnableChannel, {16, 1});
         }, "OvrEnableChannel: channel 16 is outside 0..15"},
        {"channel -1", [](BoardCalls& b) {
             b.StartUp();
             b.Call(Entry::OvrSetBrightness, {-1, 5});
         }, "OvrSetBrightness: channel -1 is outside 0..15"},
        {"tile off the picture", [](BoardCalls& b) {
             b.StartUp();
             std::vector<TileSpec> table = LayoutTable(4, {0, 1, 2, 3});
             table[1].x = 400;  // 400 + 336 > 720
             b.Layout(table);
         }, "OvrSetDisplayFormatForTV: tile 1 (400, 0, 336 x 232) lies outside the 720 x 480 picture"},
        {"tile below the picture", [](BoardCalls& b) {
             b.StartUp();
             std::vector<TileSpec> table = LayoutTable(1, {0});
             table[0].y = 20;  // 20 + 464 > 480
             b.Layout(table);
         }, "OvrSetDisplayFormatForTV: tile 0 (0, 20, 684 x 464) lies outside the 720 x 480 picture"},
        {"empty tile", [](BoardCalls& b) {
             b.StartUp();
             std::vector<TileSpec> table = LayoutTable(1, {0});
             table[0].width = 0;
             b.Layout(table);
         }, "OvrSetDisplayFormatForTV: tile 0 (0, 0, 0 x 464) lies outside the 720 x 480 picture"},
        {"tile of channel 16", [](BoardCalls& b) {
             b.StartUp();
             b.Layout(LayoutTable(4, {0, 1, 16, 3}));
         }, "OvrSetDisplayFormatForTV: tile 2 shows channel 16, which the board does not have"},
        {"set up twice", [](BoardCalls& b) {
             b.StartUp();
             b.Call(Entry::OvrSetup, {0});
         }, "OvrSetup: called again before OvrEndup"},
        {"standard 2", [](BoardCalls& b) {
             b.StartUp();
             b.Call(Entry::OvrSetVideoFormat, {2});
         }, "OvrSetVideoFormat: standard 2 is neither 0 (NTSC) nor 1 (PAL)"},
        {"end twice", [](BoardCalls& b) {
             b.StartUp();
             b.Call(Entry::OvrEndup);
             b.Call(Entry::OvrEndup);
         }, "OvrEndup: called after OvrEndup"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BoardCalls board;
        c.calls(board);
        ASSERT_EQ(board.faults.size(), 1u);
        EXPECT_EQ(board.faults[0], c.fault);
    }
}

TEST(BoardModel, OutOfProtocolCallsLeaveTheBoardAsItWas) {
    BoardCalls board;
    board.Call(Entry::OvrSetBrightness, {4, 7});  // before set-up
    board.StartUp();
    EXPECT_EQ(board.State().channels[4].brightness, 100);
    board.Call(Entry::OvrSetVideoFormat, {5});
    EXPECT_EQ(board.State().standard, sim::kNtsc);
    board.Call(Entry::OvrEnableChannel, {16, 0});
    for (const sim::ChannelSettings& channel : board.State().channels) EXPECT_EQ(channel.enabled, 1);
    board.Call(Entry::OvrEndup);
    board.Layout(LayoutTable(1, {0}));
    EXPECT_EQ(board.State().tileCount, 0);
    EXPECT_EQ(board.faults.size(), 4u);
}

TEST(BoardModel, SetUpStartsAfreshAndEntryPointsThePanelNeverCallsChangeNothing) {
    BoardCalls board;
    board.StartUp(sim::kPal);
    board.Call(Entry::OvrSetContrast, {0, 20});
    board.Layout(LayoutTable(4, {0, 1, 2, 3}));
    const sim::BoardState before = board.State();
    board.Call(Entry::OvrGetHue);
    board.Call(Entry::OvrI2CWrite);
    board.Call(Entry::OvrSetDisplayFormat);
    EXPECT_EQ(std::memcmp(&before, &board.State(), sizeof before), 0);

    board.Call(Entry::OvrCaptureStop);
    board.Call(Entry::OvrStop);
    board.Call(Entry::OvrEndup);
    board.Call(Entry::OvrSetup, {0});
    const sim::BoardState& s = board.State();
    EXPECT_EQ(s.standard, sim::kNtsc);
    EXPECT_EQ(s.tileCount, 0);
    EXPECT_EQ(s.channels[0].contrast, 180);
    EXPECT_FALSE(s.Showing());
    EXPECT_TRUE(board.faults.empty());
}

}  // namespace
