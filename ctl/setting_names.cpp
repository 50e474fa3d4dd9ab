#include "ctl/setting_names.hpp"

#include <algorithm>
#include <charconv>

#include "layout/layout_specs.hpp"

namespace {

constexpr int kLevelMax = 255;

// Every group of keys is listed once, so every key of the table is.
constexpr bool EveryGroupListedOnce() {
    for (int group = 0; group <= static_cast<int>(KeyGroup::ShowPanel); ++group) {
        int listed = 0;
        for (const GroupWords& words : kListedGroups) listed += static_cast<int>(words.group) == group ? 1 : 0;
        if (listed != 1) return false;
    }
    return true;
}
static_assert(EveryGroupListedOnce(), "korvane16-ctl lists each group of keys once");

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// A plain decimal number as a person types it: digits only, no sign or blanks.
std::optional<int> Decimal(std::string_view text) {
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool IsLayoutCode(std::int64_t code) {
    return std::any_of(kLayouts.begin(), kLayouts.end(), [code](const LayoutSpec& layout) { return layout.code == code; });
}

std::string LayoutCodes() {
    std::string codes;
    for (const LayoutSpec& layout : kLayouts) {
        if (!codes.empty()) codes += ", ";
        codes += std::to_string(layout.code);
    }
    return codes;
}

}  // namespace

const NamedSetting* FindSetting(std::string_view name) {
    for (const NamedSetting& setting : AllSettings())
        if (SameIgnoringCase(setting.name, name)) return &setting;
    return nullptr;
}

std::string ShowValue(ValueKind kind, std::int32_t stored) {
    switch (kind) {
        case ValueKind::Standard: return stored == 0 ? "ntsc" : "pal";
        case ValueKind::Camera: return std::to_string(static_cast<std::int64_t>(stored) + 1);
        case ValueKind::OnOff:
            if (stored == 0) return "off";
            if (stored == 1) return "on";
            break;
        case ValueKind::Layout:
        case ValueKind::Level: break;
    }
    return std::to_string(stored);
}

std::optional<std::int32_t> StoredValue(ValueKind kind, std::string_view typed) {
    switch (kind) {
        case ValueKind::Standard:
            if (SameIgnoringCase(typed, "ntsc")) return 0;
            if (SameIgnoringCase(typed, "pal")) return 1;
            return std::nullopt;
        case ValueKind::OnOff:
            if (SameIgnoringCase(typed, "on")) return 1;
            if (SameIgnoringCase(typed, "off")) return 0;
            return std::nullopt;
        case ValueKind::Layout: {
            const std::optional<int> code = Decimal(typed);
            if (!code || !IsLayoutCode(*code)) return std::nullopt;
            return *code;
        }
        case ValueKind::Camera: {
            const std::optional<int> camera = Decimal(typed);
            if (!camera || *camera < 1 || *camera > kChannelCount) return std::nullopt;
            return *camera - 1;
        }
        case ValueKind::Level: {
            const std::optional<int> level = Decimal(typed);
            if (!level || *level > kLevelMax) return std::nullopt;
            return *level;
        }
    }
    return std::nullopt;
}

std::string_view AcceptedValues(ValueKind kind) {
    static const std::string layouts = "a layout's tile count: " + LayoutCodes();
    switch (kind) {
        case ValueKind::Standard: return "ntsc or pal";
        case ValueKind::Layout: return layouts;
        case ValueKind::Camera: return "a camera from 1 to 16";
        case ValueKind::OnOff: return "on or off";
        case ValueKind::Level: return "a level from 0 to 255";
    }
    return {};
}
