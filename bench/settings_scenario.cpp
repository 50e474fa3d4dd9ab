#include "bench/settings_scenario.hpp"

#include "platform/profile_text.hpp"
#include "settings/panel_state.hpp"
#include "settings/settings_file.hpp"
#include "settings/settings_keys.hpp"

namespace bench {

namespace {

void IntoPanelState(const Values& v) {
    for (int i = 0; i < kKeyCount; ++i)
        if (kSettingKeys[i].field != nullptr) *kSettingKeys[i].field(panelState) = v[i];
}

Values FromPanelState(std::int32_t flag) {
    Values v{};
    for (int i = 0; i < kKeyCount; ++i)
        v[i] = kSettingKeys[i].field != nullptr ? *kSettingKeys[i].field(panelState) : flag;
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
    for (int i = 0; i < kKeyCount; ++i) {
        const SettingKey& key = kSettingKeys[i];
        if (auto edited = profile::SetValue(panel, key.section, key.name, std::to_string(values[i]))) panel = *edited;
    }
    return ForeignLines("Site", foreignBytes / 2) + panel + ForeignLines("Viewer", foreignBytes - foreignBytes / 2);
}

Values StartUpReads() {
    ReadLayoutCode();
    ReadVideoStandard();
    ReadCameraEnables();
    ReadAttributes();
    ReadPositions();
    return FromPanelState(ReadSetting(kShowPanelFlagKey));
}

bool Close(const Values& values) {
    IntoPanelState(values);
    return SavePanelState(values[kFlagIndex] != 0);
}

int KeysThatDiffer(const std::string& a, const std::string& b) {
    int differ = 0;
    for (const SettingKey& key : kSettingKeys)
        if (profile::FindValue(a, key.section, key.name) != profile::FindValue(b, key.section, key.name)) ++differ;
    return differ;
}

}  // namespace bench
