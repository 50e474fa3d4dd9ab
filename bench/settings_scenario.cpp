#include "bench/settings_scenario.hpp"

#include "platform/profile_text.hpp"
#include "settings/panel_state.hpp"
#include "settings/settings_file.hpp"

namespace bench {

namespace {

struct Key {
    std::string section, name;
};

// The 99 keys in the close's write order.
std::array<Key, kKeyCount> WriteOrder() {
    std::array<Key, kKeyCount> keys;
    int i = 0;
    keys[i++] = {"General", "DIV"};
    for (int tile = 0; tile < 16; ++tile) keys[i++] = {"General", "Position" + std::to_string(tile)};
    keys[i++] = {"Format", "PAL"};
    for (int ch = 1; ch <= 16; ++ch) keys[i++] = {"Camera", "Camera" + std::to_string(ch)};
    for (int ch = 1; ch <= 16; ++ch)
        for (const char* name : {"Brightness", "Contrast", "HUE", "Saturation"})
            keys[i++] = {"Attribute" + std::to_string(ch), name};
    keys[i++] = {"General", "SetParameter"};
    return keys;
}

const std::array<Key, kKeyCount>& Keys() {
    static const std::array<Key, kKeyCount> keys = WriteOrder();
    return keys;
}

void IntoPanelState(const Values& v) {
    int i = 0;
    panelState.layoutCode = v[i++];
    for (int tile = 0; tile < 16; ++tile) panelState.positionMap[tile] = v[i++];
    panelState.videoStandard = v[i++];
    for (int ch = 0; ch < kChannelCount; ++ch) panelState.cameraEnable[ch] = v[i++];
    for (int ch = 0; ch < kChannelCount; ++ch) {
        ChannelAttributes& a = panelState.attributes[ch];
        for (std::int32_t* field : {&a.brightness, &a.contrast, &a.hue, &a.saturation}) *field = v[i++];
    }
}

Values FromPanelState(std::int32_t flag) {
    Values v{};
    int i = 0;
    v[i++] = panelState.layoutCode;
    for (int tile = 0; tile < 16; ++tile) v[i++] = panelState.positionMap[tile];
    v[i++] = panelState.videoStandard;
    for (int ch = 0; ch < kChannelCount; ++ch) v[i++] = panelState.cameraEnable[ch];
    for (int ch = 0; ch < kChannelCount; ++ch) {
        const ChannelAttributes& a = panelState.attributes[ch];
        for (std::int32_t field : {a.brightness, a.contrast, a.hue, a.saturation}) v[i++] = field;
    }
    v[i] = flag;
    return v;
}

// Foreign lines of about BYTES: a section of their own with keys and a note.
std::string ForeignLines(const char* section, std::size_t bytes) {
    std::string text = std::string("[") + section + "]\n";
    for (int line = 0; text.size() < bytes; ++line)
        text += line % 16 == 15 ? "; " + std::to_string(line) + " lines of another program\n"
                                : "Entry" + std::to_string(line) + "=value of another program\n";
    return text;
}

}  // namespace

Values StartValues() {
    Values v{};
    int i = 0;
    v[i++] = 16;
    for (int tile = 0; tile < 16; ++tile) v[i++] = tile;
    v[i++] = 0;
    for (int ch = 0; ch < 16; ++ch) v[i++] = 1;
    for (int ch = 0; ch < 16; ++ch)
        for (std::int32_t field : {DefaultAttributes.brightness, DefaultAttributes.contrast, DefaultAttributes.hue,
                                   DefaultAttributes.saturation})
            v[i++] = field;
    v[i] = 1;
    return v;
}

Values ChangedValues(const Values& values, int k) {
    Values changed = values;
    if (k >= kKeyCount) {
        for (int i = 0; i < kFlagIndex; ++i) changed[i] = values[i] + 1;
        changed[kFlagIndex] = values[kFlagIndex] != 0 ? 0 : 1;
        return changed;
    }
    // Spread over the settings, the flag left alone.
    for (int j = 0; j < k; ++j) {
        const int i = (j * kFlagIndex) / k + kFlagIndex / (2 * k);
        changed[i] = values[i] + 1;
    }
    return changed;
}

std::string SettingsFileText(std::size_t foreignBytes, const Values& values) {
    std::string panel;
    for (int i = 0; i < kKeyCount; ++i)
        if (auto edited = profile::SetValue(panel, Keys()[i].section, Keys()[i].name, std::to_string(values[i])))
            panel = *edited;
    return ForeignLines("Site", foreignBytes / 2) + panel + ForeignLines("Viewer", foreignBytes - foreignBytes / 2);
}

Values StartUpReads() {
    ReadLayoutCode();
    ReadVideoStandard();
    ReadCameraEnables();
    ReadAttributes();
    ReadPositions();
    return FromPanelState(ReadSetting("General", ::kShowPanelKey, 1));
}

bool Close(const Values& values) {
    IntoPanelState(values);
    return SavePanelState(values[kFlagIndex] != 0);
}

int KeysThatDiffer(const std::string& a, const std::string& b) {
    int differ = 0;
    for (const Key& key : Keys())
        if (profile::FindValue(a, key.section, key.name) != profile::FindValue(b, key.section, key.name)) ++differ;
    return differ;
}

}  // namespace bench
