// Where each setting lives in the settings file and what a missing key gives:
// the one table of the 99 keys, their sections, names and defaults. The
// start-up's reads, the close's save and korvane16-ctl all go through it.
#pragma once

#include <cstdint>
#include <string>

#include "settings/panel_state.hpp"

struct SettingKey {
    std::string section;
    std::string name;
    std::int32_t defaultValue;
};

inline constexpr int kTileCount = 16;         // persisted entries of the PositionMap
inline constexpr int kAttributeKeyCount = 4;  // keys of each "AttributeN" section

SettingKey LayoutCodeKey();            // [General] DIV
SettingKey VideoStandardKey();         // [Format] PAL
SettingKey PositionKey(int tile);      // [General] Position0..Position15
SettingKey CameraEnableKey(int channel);  // [Camera] Camera1..Camera16
// [Attribute1..16] Brightness, Contrast, HUE, Saturation: INDEX in this key
// order, which is also the order of reading and writing within a section.
SettingKey AttributeKey(int channel, int index);
SettingKey ShowPanelKey();             // [General] SetParameter

// The field of ChannelAttributes that attribute key INDEX holds.
std::int32_t ChannelAttributes::*AttributeField(int index);
