// The stand-in as a virtual board, through the real panel: what it says, the
// protocol it watches, and the snapshot of its monitor picture, compared with
// pictures worked out from the layout records and the decoder's formulas.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "layout/layout_specs.hpp"
#include "tests/harness/output_lines.hpp"
#include "tests/harness/panel_run.hpp"
#include "tests/harness/snapshot_picture.hpp"
#include "tests/sim/expected_picture.hpp"

namespace fs = std::filesystem;

namespace {

constexpr const char* kFaultStart = "virtual board: ";

RunResult RunWithSnapshot(PanelRun& panel, const std::string& script) {
    return panel.Run(script, Driver::StandIn, {{"TAVRIND_SNAPSHOT", panel.Folder() + "/snapshot.ppm"}});
}

std::optional<sim::Picture> Snapshot(const PanelRun& panel) { return ReadSnapshot(panel.Folder() + "/snapshot.ppm"); }

using expected::Mismatches;
using expected::OwnChannels;
using expected::RunningBoard;

TEST(VirtualBoard, SaysItIsVirtualWithoutLookingLikeAProtocolFault) {
    PanelRun panel;
    const RunResult r = panel.Run("show\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = LinesStartingWith(r.err, "TAVRIND.dll: ");
    ASSERT_FALSE(lines.empty()) << r.err;
    EXPECT_NE(lines[0].find("virtual board"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("not a real"), std::string::npos) << lines[0];
    EXPECT_TRUE(LinesStartingWith(r.err, kFaultStart).empty()) << r.err;
}

// Operator sessions made up at random from every kind of action the panel
// offers; the panel must keep to the board's protocol in all of them.
std::string RandomSession(std::mt19937& random) {
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::ostringstream script;
    script << "show\n";
    for (int step = 0; step < 40; ++step) {
        switch (pick(9)) {
        case 0: script << "click " << 1017 + pick(16) << '\n'; break;          // a Cam box
        case 1: script << "click " << (pick(2) ? 1033 : 1034) << '\n'; break;  // All on / All off
        case 2: script << "click " << (pick(2) ? 1001 : 1002) << '\n'; break;  // NTSC / PAL
        case 3: {
            const LayoutSpec& layout = kLayouts[static_cast<std::size_t>(pick(8))];
            if (layout.code == 13) break;  // hidden from the operator
            for (int tile = 0; tile < layout.TileCount(); ++tile) {
                const std::string texts[] = {std::to_string(1 + pick(16)), "", "0", "17", "x", "257"};
                script << "type " << layout.tileBoxes[static_cast<std::size_t>(tile)] << ' ' << texts[pick(6) < 4 ? 0 : pick(6)] << '\n';
            }
            script << "click " << layout.applyRadio << '\n';
            break;
        }
        case 4: script << "type 1040 " << pick(20) - 2 << '\n'; break;  // the Channel box
        case 5: script << "drag " << 1035 + pick(4) << ' ' << pick(300) - 20 << '\n'; break;
        case 6: script << "click " << (pick(2) ? 1041 : 1042) << '\n'; break;  // Default / Set all
        case 7: script << "key " << 1035 + pick(4) << (pick(2) ? " left\n" : " pagedown\n"); break;
        default: script << "click 1043\n"; break;  // Show application.
        }
    }
    script << "close\n";
    return script.str();
}

TEST(VirtualBoard, ManyOperatorSessionsKeepToTheBoardsProtocol) {
    std::mt19937 random(12);
    for (int session = 0; session < 20; ++session) {
        const std::string script = RandomSession(random);
        PanelRun panel;
        const RunResult r = panel.Run(script);
        ASSERT_EQ(r.status, 0) << r.err << script;
        EXPECT_TRUE(LinesStartingWith(r.err, kFaultStart).empty()) << r.err << script;
        // The session did reach the board.
        EXPECT_GT(r.journal.size(), 120u);
    }
}

TEST(VirtualBoard, AStoredLayoutWithChannelsTheBoardLacksIsReportedAndShownBlack) {
    PanelRun panel;
    panel.WriteSettings("[General]\nDIV=4\n");  // no positions: every tile gets channel 16
    const RunResult r = RunWithSnapshot(panel, "show\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> faults = LinesStartingWith(r.err, kFaultStart);
    ASSERT_EQ(faults.size(), 1u) << r.err;
    if (faults[0].ends_with('\r')) faults[0].pop_back();  // a Windows console's line end
    EXPECT_EQ(faults[0], "virtual board: OvrSetDisplayFormatForTV: tile 0 shows channel 16, which the board does not have");
    const std::optional<sim::Picture> picture = Snapshot(panel);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(std::all_of(picture->bytes.begin(), picture->bytes.end(), [](std::uint8_t v) { return v == 0; }));
}

TEST(VirtualBoard, TheSnapshotAtCloseIsThePictureTheOperatorLastSaw) {
    PanelRun panel;
    const RunResult r = RunWithSnapshot(panel, "show\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::optional<sim::Picture> picture = Snapshot(panel);
    ASSERT_TRUE(picture) << "no snapshot";
    ASSERT_EQ(picture->width, 720);
    ASSERT_EQ(picture->height, 480);
    EXPECT_EQ(Mismatches(*picture, RunningBoard(sim::kNtsc, 16, OwnChannels(16))), 0);
    // Written whole under a temporary name, then renamed: nothing else is left.
    for (const fs::directory_entry& entry : fs::directory_iterator(panel.Folder()))
        EXPECT_EQ(entry.path().filename().string().find("snapshot.ppm."), std::string::npos) << entry.path();
}

TEST(VirtualBoard, TheSnapshotShowsTheOperatorsLayoutChannelsAndAttributes) {
    PanelRun panel;
    const RunResult r = RunWithSnapshot(panel,
                                        "show\n"
                                        "type 1092 9\ntype 1093 3\ntype 1102 14\ntype 1103 6\nclick 1009\n"  // DIV 4
                                        "click 1019\n"                          // Cam3 off
                                        "type 1040 14\ndrag 1038 0\n"           // camera 14: saturation 0
                                        "type 1040 9\ndrag 1035 180\n"          // camera 9: brighter
                                        "type 1040 6\ndrag 1037 128\n"          // camera 6: hue as it was
                                        "close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::optional<sim::Picture> picture = Snapshot(panel);
    ASSERT_TRUE(picture);
    sim::BoardState shown = RunningBoard(sim::kNtsc, 4, {8, 2, 13, 5});
    shown.channels[2].enabled = 0;
    shown.channels[13].saturationU = shown.channels[13].saturationV = 0;
    shown.channels[8].brightness = 180;
    EXPECT_EQ(Mismatches(*picture, shown, {.tolerance = 1}), 0);

    // What outside tests measure: the card of camera 3 in tile 1 is grey, and
    // camera 14's tile without saturation is within 2 of grey.
    for (int y = 0; y < 232; ++y)
        for (int x = 336; x < 672; ++x) {
            const sim::Rgb p = picture->At(x, y);
            ASSERT_TRUE(p.r == p.g && p.g == p.b) << x << ',' << y;
        }
    for (int y = 232; y < 464; ++y)
        for (int x = 0; x < 336; ++x) {
            const sim::Rgb p = picture->At(x, y);
            ASSERT_LE(std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}), 2) << x << ',' << y;
        }
}

TEST(VirtualBoard, APalBoardIsSnappedAtPalSize) {
    PanelRun panel;
    const RunResult r = RunWithSnapshot(panel, "show\ntype 1104 5\nclick 1008\nclick 1002\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::optional<sim::Picture> picture = Snapshot(panel);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->width, 720);
    ASSERT_EQ(picture->height, 576);
    // The standard change falls back to the 16-tile layout.
    EXPECT_EQ(Mismatches(*picture, RunningBoard(sim::kPal, 16, OwnChannels(16))), 0);
}

TEST(VirtualBoard, AStoredEarlyEndMarkShowsTheTilesBeforeIt) {
    PanelRun panel;
    panel.WriteSettings("[General]\nDIV=9\nPosition0=8\nPosition1=7\nPosition2=6\nPosition3=5\nPosition4=255\n"
                        "[Format]\nPAL=1\n");
    const RunResult r = RunWithSnapshot(panel, "show\nclose\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(LinesStartingWith(r.err, kFaultStart).empty()) << r.err;
    const std::optional<sim::Picture> picture = Snapshot(panel);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->height, 576);
    EXPECT_EQ(Mismatches(*picture, RunningBoard(sim::kPal, 9, {8, 7, 6, 5})), 0);
}

// Links, FIFOs and files planted where the snapshot's temporary file could be
// looked for neither divert nor stop it; a failure says why, and leaves nothing
// behind.
TEST(VirtualBoard, TheSnapshotIsWrittenOnlyThroughAFileOfItsOwn) {
    const bool native = PanelRun::Native();
    const struct {
        const char* name;
        bool onLinux, onWindows;
        const char* plant;   // a shell command run by the harness's process just before it starts, or ""
        bool everyPid;       // files "snapshot.ppm.partN" for the Windows process ids N in 4..16384
        const char* target;  // the snapshot file, in the working folder
        const char* said;    // the line that says why there is no snapshot, or ""
        const char* reason;  // how it ends
    } rows[] = {
        {"a link to a victim", true, false, "ln -s victim.txt snapshot.ppm.part$$", false, "snapshot.ppm", "", ""},
        {"a FIFO", true, false, "mkfifo snapshot.ppm.part$$", false, "snapshot.ppm", "", ""},
        {"a file under the process id", false, true, "", true, "snapshot.ppm", "", ""},
        {"a folder in the way", true, true, "mkdir snapshot.ppm", false, "snapshot.ppm",
         "TAVRIND.dll: no snapshot: cannot replace ", native ? ": Is a directory" : ": Access denied"},
    };
    for (const auto& row : rows) {
        if (!(native ? row.onLinux : row.onWindows)) continue;
        SCOPED_TRACE(row.name);
        PanelRun panel;
        const fs::path folder = panel.Folder(), victim = folder / "victim.txt";
        std::ofstream(victim) << "precious\n";
        for (int pid = 4; row.everyPid && pid <= 16384; pid += 4)
            std::ofstream(folder / ("snapshot.ppm.part" + std::to_string(pid))) << "precious\n";
        // Under Wine the harness's process id is not known before it starts.
        std::vector<std::string> prefix;
        if (native) {
            prefix = {"timeout", "-s", "KILL", "10", "sh", "-c", std::string(row.plant) + " && exec \"$0\" \"$@\""};
        } else if (*row.plant != '\0') {
            ASSERT_EQ(std::system(("cd '" + folder.string() + "' && " + row.plant).c_str()), 0);
        }
        const RunResult r = panel.Run("show\nclose\n", Driver::StandIn,
                                      {{"TAVRIND_SNAPSHOT", (folder / row.target).string()}}, prefix);
        EXPECT_EQ(r.status, 0) << r.err;
        std::ifstream in(victim);
        EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == "precious\n") << "the victim was changed";
        const std::vector<std::string> said = LinesStartingWith(r.err, "TAVRIND.dll: no snapshot");
        if (*row.said == '\0') {
            EXPECT_TRUE(said.empty()) << r.err;
            EXPECT_TRUE(Snapshot(panel)) << r.err;
        } else {
            EXPECT_EQ(said.size(), 1u) << r.err;
            const std::string line = said.empty() ? "" : said[0];
            EXPECT_EQ(line.rfind(row.said, 0), 0u) << line;
            EXPECT_NE(line.find(row.reason), std::string::npos) << line;
        }
        // No temporary of the board's own is left, and every planted file is as it was.
        std::size_t planted = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name.find("snapshot.ppm.part") == 0 && row.everyPid) {
                ++planted;
                EXPECT_EQ(fs::file_size(entry.path()), 9u) << name;
            } else {
                EXPECT_TRUE(name.find("snapshot.ppm.") == std::string::npos || name.find(".part") != std::string::npos)
                    << name;
            }
        }
        EXPECT_EQ(planted, row.everyPid ? 4096u : 0u);
    }
}

}  // namespace
