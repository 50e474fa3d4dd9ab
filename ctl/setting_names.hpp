// The settings as an installer names them: one name per key of the settings
// file, values in the operator's terms (cameras 1..16, ntsc/pal, on/off,
// layouts by tile count). The keys, their defaults and their names come from
// the settings layer's key table; this file adds the order of `list` and the
// vocabulary of each group of keys.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/settings_keys.hpp"

enum class ValueKind {
    Standard,  // ntsc | pal; stored 0 = ntsc, anything else pal
    Layout,    // a layout's tile count, stored as it is
    Camera,    // a camera 1..16, stored as its channel (camera - 1)
    OnOff,     // on | off, stored 1 | 0
    Level,     // a picture attribute 0..255, stored as it is
};

// The groups of keys in the order `list` prints them, each with the kind of
// value its keys hold.
struct ListedGroup {
    KeyGroup group;
    ValueKind kind;
};
inline constexpr std::array<ListedGroup, 6> kListedGroups{{
    {KeyGroup::Standard, ValueKind::Standard},
    {KeyGroup::Layout, ValueKind::Layout},
    {KeyGroup::Positions, ValueKind::Camera},
    {KeyGroup::CameraEnables, ValueKind::OnOff},
    {KeyGroup::Attributes, ValueKind::Level},
    {KeyGroup::ShowPanel, ValueKind::OnOff},
}};

struct NamedSetting {
    std::string_view name;
    SettingKey key;
    ValueKind kind;
};

// Every setting, in the order `list` prints them: group by group as
// kListedGroups says, each group's keys in the key table's order.
constexpr std::array<NamedSetting, kSettingKeyCount> ListOrder() {
    std::array<NamedSetting, kSettingKeyCount> all{};
    std::size_t next = 0;
    for (const ListedGroup& group : kListedGroups)
        for (const SettingKey& key : kSettingKeys)
            if (key.group == group.group && next < all.size()) all[next++] = {key.toolName, key, group.kind};
    return all;
}
inline constexpr std::array<NamedSetting, kSettingKeyCount> kNamedSettings = ListOrder();
inline const std::array<NamedSetting, kSettingKeyCount>& AllSettings() { return kNamedSettings; }

// Where GROUP's first key stands in AllSettings().
constexpr std::size_t FirstListed(KeyGroup group) {
    std::size_t i = 0;
    while (i < kNamedSettings.size() && kNamedSettings[i].key.group != group) ++i;
    return i;
}
inline constexpr std::size_t kLayoutSetting = FirstListed(KeyGroup::Layout);
inline constexpr std::size_t kFirstTileSetting = FirstListed(KeyGroup::Positions);

// The setting called NAME (letter case ignored), or nullptr.
const NamedSetting* FindSetting(std::string_view name);

// A stored value in the setting's terms; a value outside them is shown as its
// number (a camera's as camera, stored + 1).
std::string ShowValue(ValueKind kind, std::int32_t stored);

// The value to store for a value a person typed, or nullopt when the value is
// not one the setting takes.
std::optional<std::int32_t> StoredValue(ValueKind kind, std::string_view typed);

// The values a setting of this kind takes, for messages.
std::string AcceptedValues(ValueKind kind);

// The words a setting of this kind takes, in the order they are offered (a
// layout's: the eight tile counts), or none when it takes a range of numbers.
std::vector<std::string> Choices(ValueKind kind);
// The numbers such a setting takes, lowest and highest, as people type them.
std::pair<std::int32_t, std::int32_t> TypedRange(ValueKind kind);

// PARTS with SEPARATOR between them.
std::string Joined(const std::vector<std::string>& parts, const char* separator);
