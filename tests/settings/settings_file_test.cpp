// The 99 settings keys through the panel's own read and save functions, and
// the show-panel decision.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "settings/panel_state.hpp"
#include "settings/settings_file.hpp"
#include "tests/settings/settings_folder.hpp"

namespace {

bool operator==(const ChannelAttributes& a, const ChannelAttributes& b) {
    return a.brightness == b.brightness && a.contrast == b.contrast && a.hue == b.hue && a.saturation == b.saturation;
}

void ReadAll() {
    ReadLayoutCode();
    ReadVideoStandard();
    ReadCameraEnables();
    ReadAttributes();
    ReadPositions();
}

void ExpectSameSettings(const PanelState& expected) {
    EXPECT_EQ(panelState.layoutCode, expected.layoutCode);
    EXPECT_EQ(panelState.videoStandard, expected.videoStandard);
    EXPECT_EQ(panelState.cameraEnable, expected.cameraEnable);
    for (int ch = 0; ch < kChannelCount; ++ch) EXPECT_TRUE(panelState.attributes[ch] == expected.attributes[ch]) << ch;
    for (int tile = 0; tile < 16; ++tile) EXPECT_EQ(panelState.positionMap[tile], expected.positionMap[tile]) << tile;
}

// What the panel holds after a start without a settings file.
PanelState StartState() {
    PanelState state{0, 16, {}, {}, kInitialPositionMap};
    state.cameraEnable.fill(1);
    state.attributes.fill(DefaultAttributes);
    return state;
}

// The file a save of StartState() writes when there is no file yet, in write order.
std::string StartStateFile() {
    std::string text = "[General]\nDIV=16\n";
    for (int tile = 0; tile < 16; ++tile) text += "Position" + std::to_string(tile) + "=" + std::to_string(tile) + "\n";
    text += "SetParameter=1\n[Format]\nPAL=0\n[Camera]\n";
    for (int ch = 1; ch <= 16; ++ch) text += "Camera" + std::to_string(ch) + "=1\n";
    for (int ch = 1; ch <= 16; ++ch)
        text += "[Attribute" + std::to_string(ch) + "]\nBrightness=100\nContrast=180\nHUE=128\nSaturation=128\n";
    return text;
}

// Every "[section] key=value" of TEXT, sorted: the keys, whatever their order.
std::vector<std::string> SortedEntries(const std::string& text) {
    std::vector<std::string> entries;
    std::istringstream lines(text);
    std::string section;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.front() == '[')
            section = line;
        else if (!line.empty())
            entries.push_back(section + " " + line);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

class SettingsFile : public SettingsFolderTest {
protected:
    void SetUp() override {
        SettingsFolderTest::SetUp();
        panelState = PanelState{0, 0, {}, {}, kInitialPositionMap};
    }
};

TEST_F(SettingsFile, AMissingFileReadsAsTheDefaults) {
    ReadAll();
    PanelState expected{0, 255, {}, {}, {}};
    expected.cameraEnable.fill(1);
    expected.attributes.fill(DefaultAttributes);
    expected.positionMap.fill(16);
    ExpectSameSettings(expected);
    EXPECT_FALSE(std::filesystem::exists(kLocalFile));
}

TEST_F(SettingsFile, SavingTheStartStateMakesTheFileInWriteOrder) {
    panelState = StartState();
    SavePanelState(true);
    EXPECT_EQ(ReadFileText(kLocalFile), StartStateFile());

    panelState = PanelState{};
    ReadAll();
    ExpectSameSettings(StartState());
}

// Every field its own value, so a key read into or written from the wrong
// field shows; the extremes and negatives must come back unchanged.
TEST_F(SettingsFile, EveryFieldRoundTrips) {
    PanelState saved{2, std::numeric_limits<std::int32_t>::min(), {}, {}, {}};
    for (int i = 0; i < 16; ++i) {
        saved.cameraEnable[i] = 1000 + i;
        saved.attributes[i] = {-(i * 4 + 1), i * 4 + 2, 300 + i, std::numeric_limits<std::int32_t>::max() - i};
        saved.positionMap[i] = 15 - i - (i % 3) * 100;
    }
    panelState = saved;
    SavePanelState(false);

    panelState = PanelState{};
    ReadAll();
    ExpectSameSettings(saved);
    EXPECT_EQ(ReadSetting("General", "SetParameter", 9), 0);
}

TEST_F(SettingsFile, SavingWhatTheFileHoldsRewritesNothing) {
    panelState = StartState();
    SavePanelState(true);
    const ino_t inode = Inode(kLocalFile);
    SavePanelState(true);
    EXPECT_EQ(Inode(kLocalFile), inode);
}

TEST_F(SettingsFile, ASaveKeepsWhatThePanelDoesNotKnow) {
    const std::string known = "\xEF\xBB\xBF; site notes\r\n[Site]\r\nName = hall 2\r\n[general]\r\n";
    WriteFileText(kLocalFile, known + "div = 4\r\n");
    panelState = StartState();
    SavePanelState(true);

    // The rest of the start-state file, after its own "[General]" and "DIV" lines, in CR LF.
    std::string rest;
    for (const char c : StartStateFile().substr(std::string("[General]\nDIV=16\n").size()))
        rest += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(ReadFileText(kLocalFile), known + "div=16\r\n" + rest);
}

struct FlagCase {
    const char* situation;
    const char* before;  // nullptr: there is no file
    bool staysOnScreen;
    const char* after;
};

const FlagCase kFlagCases[] = {
    {"no file", nullptr, true, "[General]\nSetParameter=0\n"},
    {"flag missing", "[General]\nDIV=4\n", true, "[General]\nDIV=4\nSetParameter=0\n"},
    {"flag 1", "[General]\nSetParameter=1\n", true, "[General]\nSetParameter=0\n"},
    {"flag 7", "[General]\nSetParameter=7\n", true, "[General]\nSetParameter=0\n"},
    {"flag empty", "[General]\nSetParameter=\n", true, "[General]\nSetParameter=0\n"},
    {"flag 0", "[General]\nSetParameter=0\n", false, "[General]\nSetParameter=0\n"},
    {"flag not a number reads as 0", "[General]\nSetParameter=yes\n", false, "[General]\nSetParameter=yes\n"},
};

TEST_F(SettingsFile, ShowPanelFlag) {
    for (const FlagCase& c : kFlagCases) {
        SCOPED_TRACE(c.situation);
        std::filesystem::remove(kLocalFile);
        if (c.before) WriteFileText(kLocalFile, c.before);
        const ino_t inode = c.before ? Inode(kLocalFile) : 0;
        EXPECT_EQ(TakeShowPanelFlag(true, ShowPanelFlagUse::FromFile), c.staysOnScreen);
        EXPECT_EQ(ReadFileText(kLocalFile), c.after);
        if (!c.staysOnScreen) {
            EXPECT_EQ(Inode(kLocalFile), inode);
        }
    }
}

TEST_F(SettingsFile, ShowPanelFlagWithoutTheDriverOrWithTheShowOption) {
    for (const FlagCase& c : kFlagCases) {
        SCOPED_TRACE(c.situation);
        std::filesystem::remove(kLocalFile);
        if (c.before) WriteFileText(kLocalFile, c.before);
        // A start without the driver decides the same and writes nothing.
        EXPECT_EQ(TakeShowPanelFlag(false, ShowPanelFlagUse::FromFile), c.staysOnScreen);
        EXPECT_EQ(std::filesystem::exists(kLocalFile), c.before != nullptr);
        if (c.before) {
            EXPECT_EQ(ReadFileText(kLocalFile), c.before);
        }
        // The show option keeps the panel whatever the flag, clearing it as a 1 would be.
        EXPECT_TRUE(TakeShowPanelFlag(true, ShowPanelFlagUse::ShowWhateverTheFlag));
        EXPECT_NE(ReadFileText(kLocalFile).find("SetParameter=0\n"), std::string::npos) << ReadFileText(kLocalFile);
    }
}

TEST_F(SettingsFile, AStartThatKeepsTheFlagQuitsAndNeitherItNorTheSaveWritesIt) {
    for (const FlagCase& c : kFlagCases) {
        SCOPED_TRACE(c.situation);
        std::filesystem::remove(kLocalFile);
        if (c.before) WriteFileText(kLocalFile, c.before);
        EXPECT_FALSE(TakeShowPanelFlag(true, ShowPanelFlagUse::QuitKeepingTheFlag));
        EXPECT_EQ(std::filesystem::exists(kLocalFile), c.before != nullptr);
        panelState = StartState();
        EXPECT_TRUE(SavePanelState(true, ShowPanelFlagUse::QuitKeepingTheFlag));
        // The 98 settings are written; the flag's line is as it was, or still missing.
        std::string expected = StartStateFile();
        const std::string flagLine = "SetParameter=1\n";
        expected.erase(expected.find(flagLine), flagLine.size());
        const std::string before = c.before != nullptr ? c.before : "";
        const std::size_t flag = before.find("SetParameter=");
        if (flag != std::string::npos) {
            const std::string kept = before.substr(flag, before.find('\n', flag) + 1 - flag);
            expected.insert(expected.find("[Format]"), kept);
        }
        EXPECT_EQ(SortedEntries(ReadFileText(kLocalFile)), SortedEntries(expected));
    }
}

}  // namespace
