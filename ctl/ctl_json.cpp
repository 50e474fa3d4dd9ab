// The settings for programs (one JSON array) and for people (list --long):
// each with the values it takes and its default, the panel's value for a
// missing key.
#include <algorithm>

#include "ctl/command_parts.hpp"
#include "ctl/setting_names.hpp"

namespace {

bool IsNumber(const std::string& value) {
    const std::size_t digits = value.starts_with('-') ? 1 : 0;
    return value.size() > digits && std::all_of(value.begin() + static_cast<std::ptrdiff_t>(digits), value.end(),
                                                [](char c) { return c >= '0' && c <= '9'; });
}

// VALUE as JSON: a number as a number, a word as a string.
std::string Json(const std::string& value) {
    if (IsNumber(value)) return value;
    std::string quoted(1, '"');
    quoted.append(value).push_back('"');
    return quoted;
}

// What the setting takes, as a JSON member: "choices" for words and for the
// layouts' tile counts, "range" for numbers.
std::string JsonValues(ValueKind kind) {
    std::vector<std::string> choices = Choices(kind);
    if (choices.empty()) {
        const auto [low, high] = TypedRange(kind);
        return "\"range\": [" + std::to_string(low) + ", " + std::to_string(high) + "]";
    }
    for (std::string& choice : choices) choice = Json(choice);
    return "\"choices\": [" + Joined(choices, ", ") + "]";
}

// What the setting takes, for people.
std::string LongValues(ValueKind kind) {
    const std::vector<std::string> choices = Choices(kind);
    if (!choices.empty()) return Joined(choices, "|");
    const auto [low, high] = TypedRange(kind);
    return std::to_string(low) + ".." + std::to_string(high);
}

std::vector<std::string> Defaults() {
    static const std::vector<std::string> defaults = ShownValues(StoredValues(AllSettings().size()));
    return defaults;
}

}  // namespace

void PrintJson(const std::vector<std::size_t>& settings, const StoredValues& stored, std::ostream& out) {
    const std::vector<std::string> shown = ShownValues(stored);
    out << '[';
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const NamedSetting& setting = AllSettings()[settings[i]];
        out << (i == 0 ? "\n" : ",\n") << "  {\"name\": \"" << setting.name
            << "\", \"value\": " << Json(shown[settings[i]]) << ", \"default\": " << Json(Defaults()[settings[i]])
            << ", " << JsonValues(setting.kind) << '}';
    }
    out << "\n]\n";
}

void PrintLong(const std::vector<std::size_t>& settings, const StoredValues& stored, std::ostream& out) {
    const std::vector<std::string> shown = ShownValues(stored);
    for (std::size_t setting : settings) {
        const NamedSetting& named = AllSettings()[setting];
        std::string line = std::string(named.name) + ' ' + shown[setting];
        line.resize(std::max<std::size_t>(line.size() + 1, 22), ' ');
        out << line << "values " << LongValues(named.kind) << ", default " << Defaults()[setting] << '\n';
    }
}
