#include "settings/settings_file.hpp"

#include <string>

#include "platform/diagnostics.hpp"
#include "platform/file_names.hpp"
#include "platform/profile_file.hpp"
#include "settings/panel_state.hpp"
#include "settings/settings_lock.hpp"

namespace {

// The file this process's settings accesses go to.
std::string settingsFile = kSettingsFile;

// Each of these is trouble the operator has to act on: a window shows it too.
void ToTheOperator(const std::string& line) { platform::WarnOperator(line); }

SettingsNotice notice = ToTheOperator;
bool unreadableTold = false;     // the start-up's reads tell an unreadable file once
bool saveIncomplete = false;
std::string lastWriteProblem;    // why the last WriteSetting failed

void Tell(const std::string& what) { notice(what); }

std::string FileName() { return platform::FullFileName(settingsFile.c_str()); }

bool Write(const SettingKey& key, const std::string& text) { return WriteSetting(key.section, key.name, text.c_str()); }

// Writes one value; counts a failure and keeps the first reason.
void Write(const SettingKey& key, const std::string& text, int& failures, std::string& firstProblem) {
    if (Write(key, text)) return;
    if (failures++ == 0) firstProblem = lastWriteProblem;
}

// Each key of GROUP into its field, in the table's order, one locked access each.
void ReadGroup(KeyGroup group) {
    for (const SettingKey& key : kSettingKeys)
        if (key.group == group) *key.field(panelState) = ReadSetting(key);
}

}  // namespace

void UseSettingsFile(const std::string& file) { settingsFile = file; }

const std::string& SettingsFile() { return settingsFile; }

std::int32_t ReadSetting(const char* section, const char* key, std::int32_t defaultValue) {
    SettingsLockHold hold;
    std::string problem;
    const std::int32_t value = platform::ReadProfileInt(section, key, defaultValue, settingsFile.c_str(), &problem);
    if (!problem.empty() && !unreadableTold) {
        unreadableTold = true;
        Tell("cannot read the settings file " + FileName() + ": " + problem + "; using the default settings");
    }
    return value;
}

std::int32_t ReadSetting(const SettingKey& key) {
    return ReadSetting(key.section, key.name, key.defaultValue);
}

bool WriteSetting(const char* section, const char* key, const char* text) {
    SettingsLockHold hold;
    return platform::WriteProfileString(section, key, text, settingsFile.c_str(), &lastWriteProblem);
}

const std::string& LastWriteProblem() { return lastWriteProblem; }

void ReadLayoutCode() { ReadGroup(KeyGroup::Layout); }

void ReadVideoStandard() { ReadGroup(KeyGroup::Standard); }

void ReadCameraEnables() { ReadGroup(KeyGroup::CameraEnables); }

void ReadAttributes() { ReadGroup(KeyGroup::Attributes); }

void ReadPositions() { ReadGroup(KeyGroup::Positions); }

bool SavePanelState(bool showPanel, ShowPanelFlagUse use) {
    int failures = 0;
    std::string problem;
    const bool writesFlag = use != ShowPanelFlagUse::QuitKeepingTheFlag;
    for (const SettingKey& key : kSettingKeys) {
        if (key.field != nullptr) Write(key, std::to_string(*key.field(panelState)), failures, problem);
        else if (writesFlag) Write(key, showPanel ? "1" : "0", failures, problem);
    }

    saveIncomplete = failures > 0;
    if (saveIncomplete)
        Tell("the settings were not saved to " + FileName() + ": " + problem + " (" + std::to_string(failures) +
             " of " + std::to_string(kSettingKeyCount - (writesFlag ? 0 : 1)) + " keys not written)");
    return !saveIncomplete;
}

bool TakeShowPanelFlag(bool mayWrite, ShowPanelFlagUse use) {
    if (use == ShowPanelFlagUse::QuitKeepingTheFlag) return false;
    const bool show = ReadSetting(kShowPanelFlagKey) != 0 || use == ShowPanelFlagUse::ShowWhateverTheFlag;
    if (show && mayWrite && !Write(kShowPanelFlagKey, "0"))
        Tell("cannot clear the show-panel flag in " + FileName() + ": " + lastWriteProblem);
    return show;
}

void RemoveStaleSettingsTemporaries() {
    SettingsLockHold hold;
    platform::RemoveStaleTemporaries(settingsFile.c_str());
}

void SetSettingsNotice(SettingsNotice newNotice) { notice = newNotice != nullptr ? newNotice : ToTheOperator; }

bool SaveIncomplete() { return saveIncomplete; }

void ResetSettingsFile() {
    platform::ForgetProfileCopies();
    unreadableTold = false;
    saveIncomplete = false;
    lastWriteProblem.clear();
}
