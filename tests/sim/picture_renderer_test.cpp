// The monitor picture against expectations computed from the tile records and
// the decoder's formulas: tiles in place and at size, each camera in its tile,
// attributes on their own channel, disabled channels as grey cards, PAL taller.
#include <gtest/gtest.h>

#include <set>

#include "sim/picture_renderer.hpp"
#include "tests/sim/board_calls.hpp"
#include "tests/sim/expected_picture.hpp"

using sim::Entry;

namespace {

sim::Picture Render(const BoardCalls& board, std::int64_t timeMs = 0) {
    sim::Picture picture;
    sim::RenderPicture(board.State(), timeMs, picture);
    return picture;
}

using expected::Mismatches;

// Tile i shows channel (5 i + 3) mod 16: every camera away from its own tile.
std::vector<int> Shuffled(int tileCount) {
    std::vector<int> channels;
    for (int i = 0; i < tileCount; ++i) channels.push_back((5 * i + 3) % 16);
    return channels;
}

TEST(PictureRenderer, EveryLayoutShowsEachCameraInItsTileAtItsSizeOnNtscAndPal) {
    for (const std::int32_t standard : {sim::kNtsc, sim::kPal}) {
        for (const LayoutSpec& layout : kLayouts) {
            SCOPED_TRACE("layout " + std::to_string(layout.code) + (standard == sim::kPal ? " PAL" : " NTSC"));
            BoardCalls board;
            board.StartUp(standard);
            board.Layout(LayoutTable(layout.code, Shuffled(layout.code)));
            const sim::Picture picture = Render(board);
            ASSERT_EQ(picture.width, 720);
            ASSERT_EQ(picture.height, standard == sim::kPal ? 576 : 480);
            EXPECT_EQ(Mismatches(picture, board.State()), 0);
        }
    }
}

TEST(PictureRenderer, PalStretchesTheLayoutToItsTallerPicture) {
    BoardCalls board;
    board.StartUp(sim::kPal);
    board.Layout(LayoutTable(4, {0, 1, 2, 3}));
    const sim::Picture picture = Render(board);
    // The lower tiles reach NTSC line 464, which is PAL line 556.8.
    EXPECT_NE(picture.At(10, 556), (sim::Rgb{0, 0, 0}));
    EXPECT_EQ(picture.At(10, 557), (sim::Rgb{0, 0, 0}));
    // Tile 2 starts at NTSC line 232, PAL line 278.4: camera 3's first line.
    EXPECT_EQ(picture.At(200, 278), sim::CameraPixel(2, 200 * 720 / 336, 0, 0));
    EXPECT_EQ(picture.At(200, 277), sim::CameraPixel(0, 200 * 720 / 336, 479, 0));
}

TEST(PictureRenderer, AttributesActOnTheirOwnChannelAsADecoderApplesThem) {
    BoardCalls board;
    board.StartUp();
    board.Layout(LayoutTable(16, Shuffled(16)));
    board.Call(Entry::OvrSetBrightness, {5, 170});
    board.Call(Entry::OvrSetContrast, {8, 90});
    board.Call(Entry::OvrSetHue, {2, 200});
    board.Call(Entry::OvrSetHue, {11, 30});
    board.Call(Entry::OvrSetSaturationU, {14, 0});
    board.Call(Entry::OvrSetSaturationV, {14, 0});
    board.Call(Entry::OvrSetSaturationU, {0, 255});
    board.Call(Entry::OvrSetSaturationV, {1, 60});
    // Values a stored file may hold, beyond the sliders' range.
    board.Call(Entry::OvrSetBrightness, {7, -40});
    board.Call(Entry::OvrSetContrast, {7, 999});
    EXPECT_EQ(Mismatches(Render(board), board.State(), {.tolerance = 1}), 0);
}

TEST(PictureRenderer, ADisabledChannelShowsAGreyNoVideoCardWithItsCameraNumber) {
    BoardCalls board;
    board.StartUp();
    board.Layout(LayoutTable(4, {6, 7, 8, 9}));
    board.Call(Entry::OvrEnableChannel, {7, 0});
    board.Call(Entry::OvrEnableChannel, {8, 0});
    // The card is the board's own: the decoder's settings do not touch it.
    board.Call(Entry::OvrSetSaturationU, {7, 255});
    board.Call(Entry::OvrSetBrightness, {7, 255});
    const sim::Picture picture = Render(board);
    EXPECT_EQ(Mismatches(picture, board.State()), 0);

    std::set<int> greys;
    int sameAsCard9 = 0;
    for (int y = 0; y < 232; ++y) {
        for (int x = 336; x < 672; ++x) {  // tile 1: channel 7 (camera 8)
            const sim::Rgb p = picture.At(x, y);
            ASSERT_TRUE(p.r == p.g && p.g == p.b) << x << ',' << y;
            greys.insert(p.r);
            if (p == picture.At(x - 336, y + 232)) ++sameAsCard9;  // tile 2: camera 9's card
        }
    }
    EXPECT_GE(greys.size(), 3u);  // a card with a border and lettering, not a flat fill
    EXPECT_LT(sameAsCard9, 336 * 232) << "the cards of cameras 8 and 9 should show their numbers";
    EXPECT_NE(picture.At(100, 100), picture.At(100 + 336, 100));  // camera 7 itself is shown
}

TEST(PictureRenderer, AnEarlyEndMarkShowsTheTilesBeforeItAndBlackElsewhere) {
    BoardCalls board;
    board.StartUp();
    std::vector<TileSpec> table = LayoutTable(9, expected::OwnChannels(9));
    table[4].channel = kEndMark;
    board.Layout(table);
    const sim::Picture picture = Render(board);
    EXPECT_EQ(Mismatches(picture, board.State()), 0);
    EXPECT_EQ(picture.At(224 + 100, 156 + 70), (sim::Rgb{0, 0, 0}));  // tile 4's place
    EXPECT_NE(picture.At(100, 156 + 70), (sim::Rgb{0, 0, 0}));        // tile 3 is shown
}

TEST(PictureRenderer, AStoppedBoardIsBlack) {
    auto allBlack = [](const sim::Picture& p) {
        return std::all_of(p.bytes.begin(), p.bytes.end(), [](std::uint8_t v) { return v == 0; });
    };
    BoardCalls board;
    EXPECT_TRUE(allBlack(Render(board)));  // never set up
    board.Call(Entry::OvrSetup, {0});
    board.Layout(LayoutTable(1, {0}));
    EXPECT_TRUE(allBlack(Render(board)));  // not yet running
    board.Call(Entry::OvrRun);
    EXPECT_FALSE(allBlack(Render(board)));
    board.Call(Entry::OvrStop);
    EXPECT_TRUE(allBlack(Render(board)));
    board.Call(Entry::OvrRun);
    board.Call(Entry::OvrEndup);
    EXPECT_TRUE(allBlack(Render(board)));
}

TEST(PictureRenderer, ToleratesAnyRecordTheBoardMayBeSent) {
    BoardCalls board;
    board.StartUp(sim::kPal);
    const std::int32_t big = 2147483647, small = -2147483647 - 1;
    board.Layout({{0, {}, 0, -100, -50, 300, 200},        // partly above and left of the picture
                  {1, {}, 0, 600, 400, 500, 500},          // partly right of and below it
                  {2, {}, 0, big, big, big, big},          // far away
                  {3, {}, 0, small, small, big, big},      // huge
                  {4, {}, 0, 10, 10, -5, 7},               // negative size
                  {40, {}, 0, 300, 100, 100, 100},         // a channel the board lacks: black
                  {kEndMark, {}, 0, 0, 0, 0, 0}});
    EXPECT_EQ(Mismatches(Render(board), board.State()), 0);
}

TEST(PictureRenderer, MovingCamerasMoveWithPictureTime) {
    BoardCalls board;
    board.StartUp();
    board.Layout(LayoutTable(16, expected::OwnChannels(16)));
    const sim::Picture at0 = Render(board, 0), later = Render(board, 61500);
    EXPECT_EQ(Mismatches(later, board.State(), {.timeMs = 61500}), 0);
    // Cameras 3 (a ball), 4 (a clock) and 12 (a bar) move; the others stand still.
    for (int tile = 0; tile < 16; ++tile) {
        const int left = 168 * (tile % 4), top = std::array{0, 116, 236, 352}[static_cast<std::size_t>(tile / 4)];
        bool moved = false;
        for (int y = top; y < top + 116; ++y)
            for (int x = left; x < left + 168; ++x) moved = moved || at0.At(x, y) != later.At(x, y);
        EXPECT_EQ(moved, tile == 2 || tile == 3 || tile == 11) << "camera " << tile + 1;
    }
}

}  // namespace
