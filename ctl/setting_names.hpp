// The settings as an installer names them: one name per key of the settings
// file, values in the operator's terms (cameras 1..16, ntsc/pal, on/off,
// layouts by tile count). The keys and their defaults come from the settings
// layer; this file adds only the names and the vocabulary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_keys.hpp"

enum class ValueKind {
    Standard,  // ntsc | pal; stored 0 = ntsc, anything else pal
    Layout,    // a layout's tile count, stored as it is
    Camera,    // a camera 1..16, stored as its channel (camera - 1)
    OnOff,     // on | off, stored 1 | 0
    Level,     // a picture attribute 0..255, stored as it is
};

struct NamedSetting {
    std::string name;
    SettingKey key;
    ValueKind kind;
};

// Every setting, in the order `list` prints them: standard, layout, then
// tile.1..tile.16 from kFirstTileSetting on, then the rest.
const std::vector<NamedSetting>& AllSettings();
inline constexpr std::size_t kLayoutSetting = 1;
inline constexpr std::size_t kFirstTileSetting = 2;

// The setting called NAME (letter case ignored), or nullptr.
const NamedSetting* FindSetting(std::string_view name);

// A stored value in the setting's terms; a value outside them is shown as its
// number (a camera's as camera, stored + 1).
std::string ShowValue(ValueKind kind, std::int32_t stored);

// The value to store for a value a person typed, or nullopt when the value is
// not one the setting takes.
std::optional<std::int32_t> StoredValue(ValueKind kind, std::string_view typed);

// The values a setting of this kind takes, for messages.
std::string_view AcceptedValues(ValueKind kind);
