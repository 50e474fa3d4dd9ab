// The settings file's keys as one table (settings_keys.inc): where each setting
// lives in the file, what a missing key gives, which field of the settings
// model it fills and what korvane16-ctl calls it. The start-up's reads, the
// close's save, the tool's names and the count of keys all come from it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "settings/panel_state.hpp"

// The groups of keys the start-up reads, each group at its own step, and the
// show-panel flag, which it reads last.
enum class KeyGroup { Layout, Positions, Standard, CameraEnables, Attributes, ShowPanel };

struct SettingKey {
    KeyGroup group;
    const char* section;
    const char* name;
    std::int32_t defaultValue;
    std::int32_t* (*field)(PanelState& state);  // the field the key fills; nullptr for the show-panel flag
    const char* toolName;                       // korvane16-ctl's name for the key
};

// Every key, in the order of the save; within each group, in the order of the read.
inline constexpr std::array kSettingKeys{
#define KORVANE16_SETTING_KEY(group, section, name, defaultValue, field, toolName) \
    SettingKey{KeyGroup::group, section, name, defaultValue, [](PanelState& state) { return &state.field; }, toolName},
#define KORVANE16_FLAG_KEY(section, name, defaultValue, toolName) \
    SettingKey{KeyGroup::ShowPanel, section, name, defaultValue, nullptr, toolName},
#include "settings/settings_keys.inc"
#undef KORVANE16_SETTING_KEY
#undef KORVANE16_FLAG_KEY
};

inline constexpr std::size_t kSettingKeyCount = kSettingKeys.size();

// How many keys GROUP has.
constexpr int KeyCount(KeyGroup group) {
    int count = 0;
    for (const SettingKey& key : kSettingKeys) count += key.group == group ? 1 : 0;
    return count;
}

inline constexpr int kTileCount = KeyCount(KeyGroup::Positions);  // persisted entries of the PositionMap

// [General] SetParameter, the show-panel flag: the table's last row.
inline constexpr const SettingKey& kShowPanelFlagKey = kSettingKeys.back();
