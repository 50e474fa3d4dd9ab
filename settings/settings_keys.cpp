// What the key table must hold for the settings file and korvane16-ctl to work
// from it, checked when it compiles.
#include "settings/settings_keys.hpp"

namespace {

constexpr bool SameText(const char* a, const char* b, bool ignoreCase) {
    const auto fold = [ignoreCase](char c) { return ignoreCase && c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    for (; *a != '\0' && fold(*a) == fold(*b); ++a, ++b) {}
    return fold(*a) == fold(*b);
}

// No two rows name the same key of the file, and no two the same setting of
// the tool, whose names are typed in any letter case.
constexpr bool EveryKeyAndNameOnce() {
    for (std::size_t i = 0; i < kSettingKeyCount; ++i)
        for (std::size_t j = i + 1; j < kSettingKeyCount; ++j) {
            const SettingKey& a = kSettingKeys[i];
            const SettingKey& b = kSettingKeys[j];
            if (SameText(a.section, b.section, false) && SameText(a.name, b.name, false)) return false;
            if (SameText(a.toolName, b.toolName, true)) return false;
        }
    return true;
}

static_assert(kSettingKeyCount == 99, "the settings file has 99 keys");
static_assert(EveryKeyAndNameOnce(), "a key of the file or a name of korvane16-ctl is in the table twice");
static_assert(kShowPanelFlagKey.group == KeyGroup::ShowPanel && KeyCount(KeyGroup::ShowPanel) == 1,
              "the show-panel flag is one key, saved last; its row alone, of its own kind, fills no field");
static_assert(kTileCount == 16 && KeyCount(KeyGroup::CameraEnables) == kChannelCount &&
                  KeyCount(KeyGroup::Attributes) == 4 * kChannelCount,
              "one key per persisted tile, per channel, per channel attribute");

}  // namespace
