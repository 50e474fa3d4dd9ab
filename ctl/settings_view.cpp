#include "ctl/settings_view.hpp"

#include <algorithm>

#include "ctl/setting_names.hpp"
#include "layout/layout_specs.hpp"
#include "settings/settings_file.hpp"

namespace {

bool IsTile(std::size_t setting) {
    return setting >= kFirstTileSetting && setting < kFirstTileSetting + kTileCount;
}

bool PanelTakesLayout(const std::optional<std::int32_t>& stored) {
    return stored && std::any_of(kLayouts.begin(), kLayouts.end(),
                                 [&stored](const LayoutSpec& layout) { return layout.code == *stored; });
}

}  // namespace

StoredValues ReadStoredValues() {
    StoredValues stored;
    for (const NamedSetting& setting : AllSettings()) {
        // A key read with two different defaults is missing when both come back.
        const SettingKey& key = setting.key;
        const std::int32_t first = ReadSetting(key.section, key.name, 0);
        const bool missing = first == 0 && ReadSetting(key.section, key.name, 1) == 1;
        stored.push_back(missing ? std::nullopt : std::optional<std::int32_t>(first));
    }
    return stored;
}

std::vector<std::int32_t> UsedValues(const StoredValues& stored) {
    std::vector<std::int32_t> used;
    const auto& all = AllSettings();
    for (std::size_t i = 0; i < all.size(); ++i) used.push_back(stored[i].value_or(all[i].key.defaultValue));
    if (!PanelTakesLayout(stored[kLayoutSetting])) {
        used[kLayoutSetting] = 16;
        for (int tile = 0; tile < kTileCount; ++tile) used[kFirstTileSetting + tile] = tile;
    }
    return used;
}

std::vector<std::string> ShownValues(const StoredValues& stored) {
    const std::vector<std::int32_t> used = UsedValues(stored);
    std::vector<std::string> shown;
    for (std::size_t i = 0; i < used.size(); ++i) shown.push_back(ShowValue(AllSettings()[i].kind, used[i]));
    return shown;
}

std::vector<KeyWrite> PlanWrites(const StoredValues& stored, const std::vector<KeyWrite>& assignments,
                                 const std::vector<std::size_t>& kept) {
    const auto named = [&assignments, &kept](std::size_t setting) {
        return std::find(kept.begin(), kept.end(), setting) != kept.end() ||
               std::any_of(assignments.begin(), assignments.end(),
                           [setting](const KeyWrite& write) { return write.setting == setting; });
    };
    const bool touchesLayout = std::any_of(assignments.begin(), assignments.end(), [](const KeyWrite& write) {
        return write.setting == kLayoutSetting || IsTile(write.setting);
    });
    if (!touchesLayout) return assignments;
    const bool layoutTaken = PanelTakesLayout(stored[kLayoutSetting]);
    std::vector<KeyWrite> writes;
    for (int tile = 0; tile < kTileCount; ++tile) {
        const std::size_t setting = kFirstTileSetting + tile;
        if (!named(setting) && (!layoutTaken || !stored[setting])) writes.push_back({setting, tile});
    }
    writes.insert(writes.end(), assignments.begin(), assignments.end());
    if (!layoutTaken && !named(kLayoutSetting)) writes.push_back({kLayoutSetting, 16});
    return writes;
}

StoredValues AfterWrites(StoredValues stored, const std::vector<KeyWrite>& writes) {
    for (const KeyWrite& write : writes) stored[write.setting] = write.value;
    return stored;
}

std::vector<std::string> ChangeLines(const StoredValues& before, const StoredValues& after) {
    const std::vector<std::string> old = ShownValues(before), now = ShownValues(after);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < old.size(); ++i)
        if (old[i] != now[i])
            lines.push_back(std::string(AllSettings()[i].name).append(" ").append(old[i]).append(" ").append(now[i]));
    return lines;
}
