#include "settings/settings_file.hpp"

#include <string>

#include "platform/profile_file.hpp"
#include "settings/panel_state.hpp"
#include "settings/settings_lock.hpp"

namespace {

constexpr const char* kGeneral = "General";
constexpr const char* kFormat = "Format";
constexpr const char* kCamera = "Camera";

struct AttributeKey {
    const char* name;
    std::int32_t ChannelAttributes::*field;
};

// Key order within each "AttributeN" section, for reading and for writing.
constexpr AttributeKey kAttributeKeys[] = {
    {"Brightness", &ChannelAttributes::brightness},
    {"Contrast", &ChannelAttributes::contrast},
    {"HUE", &ChannelAttributes::hue},
    {"Saturation", &ChannelAttributes::saturation},
};

std::string Numbered(const char* stem, int number) { return stem + std::to_string(number); }

void Write(const char* section, const std::string& key, std::int32_t value) {
    WriteSetting(section, key.c_str(), std::to_string(value).c_str());
}

}  // namespace

std::int32_t ReadSetting(const char* section, const char* key, std::int32_t defaultValue) {
    SettingsLockHold hold;
    return platform::ReadProfileInt(section, key, defaultValue, kSettingsFile);
}

bool WriteSetting(const char* section, const char* key, const char* text) {
    SettingsLockHold hold;
    return platform::WriteProfileString(section, key, text, kSettingsFile);
}

void ReadLayoutCode() { panelState.layoutCode = ReadSetting(kGeneral, "DIV", 255); }

void ReadVideoStandard() { panelState.videoStandard = ReadSetting(kFormat, "PAL", 0); }

void ReadCameraEnables() {
    for (int ch = 0; ch < kChannelCount; ++ch)
        panelState.cameraEnable[ch] = ReadSetting(kCamera, Numbered("Camera", ch + 1).c_str(), 1);
}

void ReadAttributes() {
    for (int ch = 0; ch < kChannelCount; ++ch) {
        const std::string section = Numbered("Attribute", ch + 1);
        for (const AttributeKey& key : kAttributeKeys)
            panelState.attributes[ch].*key.field =
                ReadSetting(section.c_str(), key.name, DefaultAttributes.*key.field);
    }
}

void ReadPositions() {
    for (int tile = 0; tile < 16; ++tile)
        panelState.positionMap[tile] = ReadSetting(kGeneral, Numbered("Position", tile).c_str(), 16);
}

void SavePanelState(bool showPanel) {
    Write(kGeneral, "DIV", panelState.layoutCode);
    for (int tile = 0; tile < 16; ++tile) Write(kGeneral, Numbered("Position", tile), panelState.positionMap[tile]);
    Write(kFormat, "PAL", panelState.videoStandard);
    for (int ch = 0; ch < kChannelCount; ++ch)
        Write(kCamera, Numbered("Camera", ch + 1), panelState.cameraEnable[ch]);
    for (int ch = 0; ch < kChannelCount; ++ch) {
        const std::string section = Numbered("Attribute", ch + 1);
        for (const AttributeKey& key : kAttributeKeys) Write(section.c_str(), key.name, panelState.attributes[ch].*key.field);
    }
    WriteSetting(kGeneral, kShowPanelKey, showPanel ? "1" : "0");
}

bool TakeShowPanelFlag(bool mayWrite, bool showWhateverTheFlag) {
    const bool show = ReadSetting(kGeneral, kShowPanelKey, 1) != 0 || showWhateverTheFlag;
    if (show && mayWrite) WriteSetting(kGeneral, kShowPanelKey, "0");
    return show;
}
