#include "settings/settings_keys.hpp"

#include "settings/settings_file.hpp"

namespace {

constexpr const char* kGeneral = "General";

struct AttributeKeySpec {
    const char* name;
    std::int32_t ChannelAttributes::*field;
};

constexpr AttributeKeySpec kAttributeKeys[kAttributeKeyCount] = {
    {"Brightness", &ChannelAttributes::brightness},
    {"Contrast", &ChannelAttributes::contrast},
    {"HUE", &ChannelAttributes::hue},
    {"Saturation", &ChannelAttributes::saturation},
};

std::string Numbered(const char* stem, int number) { return std::string(stem).append(std::to_string(number)); }

}  // namespace

SettingKey LayoutCodeKey() { return {kGeneral, "DIV", 255}; }

SettingKey VideoStandardKey() { return {"Format", "PAL", 0}; }

SettingKey PositionKey(int tile) { return {kGeneral, Numbered("Position", tile), 16}; }

SettingKey CameraEnableKey(int channel) { return {"Camera", Numbered("Camera", channel + 1), 1}; }

SettingKey AttributeKey(int channel, int index) {
    const AttributeKeySpec& key = kAttributeKeys[index];
    return {Numbered("Attribute", channel + 1), key.name, DefaultAttributes.*key.field};
}

SettingKey ShowPanelKey() { return {kGeneral, kShowPanelKey, 1}; }

std::int32_t ChannelAttributes::*AttributeField(int index) { return kAttributeKeys[index].field; }
