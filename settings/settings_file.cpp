#include "settings/settings_file.hpp"

#include <string>

#include "platform/diagnostics.hpp"
#include "platform/file_names.hpp"
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

void ToTheOperator(const std::string& line) { platform::TellOperator(line); }

SettingsNotice notice = ToTheOperator;
bool unreadableTold = false;     // the start-up's reads tell an unreadable file once
bool saveIncomplete = false;
std::string lastWriteProblem;    // why the last WriteSetting failed

void Tell(const std::string& what) { notice(what); }

std::string FileName() { return platform::FullFileName(kSettingsFile); }

// Writes one value; counts a failure and keeps the first reason.
void Write(const char* section, const std::string& key, const std::string& text, int& failures,
           std::string& firstProblem) {
    if (WriteSetting(section, key.c_str(), text.c_str())) return;
    if (failures++ == 0) firstProblem = lastWriteProblem;
}

}  // namespace

std::int32_t ReadSetting(const char* section, const char* key, std::int32_t defaultValue) {
    SettingsLockHold hold;
    std::string problem;
    const std::int32_t value = platform::ReadProfileInt(section, key, defaultValue, kSettingsFile, &problem);
    if (!problem.empty() && !unreadableTold) {
        unreadableTold = true;
        Tell("cannot read the settings file " + FileName() + ": " + problem + "; using the default settings");
    }
    return value;
}

bool WriteSetting(const char* section, const char* key, const char* text) {
    SettingsLockHold hold;
    return platform::WriteProfileString(section, key, text, kSettingsFile, &lastWriteProblem);
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

bool SavePanelState(bool showPanel) {
    int failures = 0;
    std::string problem;
    auto write = [&](const char* section, const std::string& key, std::int32_t value) {
        Write(section, key, std::to_string(value), failures, problem);
    };
    write(kGeneral, "DIV", panelState.layoutCode);
    for (int tile = 0; tile < 16; ++tile) write(kGeneral, Numbered("Position", tile), panelState.positionMap[tile]);
    write(kFormat, "PAL", panelState.videoStandard);
    for (int ch = 0; ch < kChannelCount; ++ch) write(kCamera, Numbered("Camera", ch + 1), panelState.cameraEnable[ch]);
    for (int ch = 0; ch < kChannelCount; ++ch) {
        const std::string section = Numbered("Attribute", ch + 1);
        for (const AttributeKey& key : kAttributeKeys) write(section.c_str(), key.name, panelState.attributes[ch].*key.field);
    }
    Write(kGeneral, kShowPanelKey, showPanel ? "1" : "0", failures, problem);

    saveIncomplete = failures > 0;
    if (saveIncomplete)
        Tell("the settings were not saved to " + FileName() + ": " + problem + " (" + std::to_string(failures) +
             " of 99 keys not written)");
    return !saveIncomplete;
}

bool TakeShowPanelFlag(bool mayWrite, bool showWhateverTheFlag) {
    const bool show = ReadSetting(kGeneral, kShowPanelKey, 1) != 0 || showWhateverTheFlag;
    if (show && mayWrite && !WriteSetting(kGeneral, kShowPanelKey, "0"))
        Tell("cannot clear the show-panel flag in " + FileName() + ": " + lastWriteProblem);
    return show;
}

void RemoveStaleSettingsTemporaries() {
    SettingsLockHold hold;
    platform::RemoveStaleTemporaries(kSettingsFile);
}

void SetSettingsNotice(SettingsNotice newNotice) { notice = newNotice != nullptr ? newNotice : ToTheOperator; }

bool SaveIncomplete() { return saveIncomplete; }

void ResetSettingsFile() {
    platform::ForgetProfileCopies();
    unreadableTold = false;
    saveIncomplete = false;
    lastWriteProblem.clear();
}
