#include "ctl/ctl_commands.hpp"

#include <optional>

#include "ctl/setting_names.hpp"
#include "platform/file_names.hpp"
#include "platform/profile_file.hpp"
#include "settings/settings_file.hpp"
#include "settings/settings_lock.hpp"

namespace {

constexpr const char* kProgram = "korvane16-ctl: ";

void PrintSetting(const NamedSetting& setting, std::ostream& out) {
    out << setting.name << ' ' << ShowValue(setting.kind, ReadSetting(setting.key)) << '\n';
}

// The settings file as the panel names it to people: its full path.
std::string ShownFileName() { return platform::FullFileName(SettingsFile().c_str()); }

struct Assignment {
    const NamedSetting* setting;
    std::string text;  // as stored
};

// The assignment "NAME=VALUE", or nullopt with the reason on ERR.
std::optional<Assignment> ParseAssignment(const std::string& word, std::ostream& err) {
    const std::size_t equals = word.find('=');
    if (equals == std::string::npos) {
        err << kProgram << "'" << word << "' is not NAME=VALUE\n";
        return std::nullopt;
    }
    const std::string name = word.substr(0, equals), value = word.substr(equals + 1);
    const NamedSetting* setting = FindSetting(name);
    if (setting == nullptr) {
        err << kProgram << "unknown setting '" << name << "' (korvane16-ctl list names them all)\n";
        return std::nullopt;
    }
    std::optional<std::string> text = StoredText(setting->kind, value);
    if (!text) {
        err << kProgram << setting->name << ": '" << value << "' is not " << AcceptedValues(setting->kind) << '\n';
        return std::nullopt;
    }
    return Assignment{setting, *text};
}

}  // namespace

bool CheckReadable(std::ostream& err) {
    // The settings layer reads a file it cannot read as all defaults, which a
    // tool must not pass off as the file's contents: one read under the lock
    // tells first.
    std::string problem;
    {
        SettingsLockHold hold;
        platform::ReadProfileInt("General", kShowPanelKey, 1, SettingsFile().c_str(), &problem);
    }
    if (problem.empty()) return true;
    err << kProgram << "cannot read " << ShownFileName() << ": " << problem << '\n';
    return false;
}

int ListSettings(std::ostream& out, std::ostream& err) {
    if (!CheckReadable(err)) return exit_status::Failure;
    for (const NamedSetting& setting : AllSettings()) PrintSetting(setting, out);
    return exit_status::Ok;
}

int GetSettings(const std::vector<std::string>& names, std::ostream& out, std::ostream& err) {
    std::vector<const NamedSetting*> settings;
    for (const std::string& name : names) {
        const NamedSetting* setting = FindSetting(name);
        if (setting == nullptr) {
            err << kProgram << "unknown setting '" << name << "' (korvane16-ctl list names them all)\n";
            return exit_status::Usage;
        }
        settings.push_back(setting);
    }
    if (!CheckReadable(err)) return exit_status::Failure;
    for (const NamedSetting* setting : settings) PrintSetting(*setting, out);
    return exit_status::Ok;
}

int SetSettings(const std::vector<std::string>& assignments, std::ostream& err) {
    std::vector<Assignment> checked;
    for (const std::string& word : assignments) {
        std::optional<Assignment> assignment = ParseAssignment(word, err);
        if (!assignment) return exit_status::Usage;
        checked.push_back(*assignment);
    }
    // Refused before the first write, so nothing is half done.
    if (!CheckReadable(err)) return exit_status::Failure;
    for (const Assignment& assignment : checked) {
        const SettingKey& key = assignment.setting->key;
        if (!WriteSetting(key.section.c_str(), key.name.c_str(), assignment.text.c_str())) {
            err << kProgram << "cannot write " << assignment.setting->name << " to " << ShownFileName() << ": "
                << LastWriteProblem() << '\n';
            return exit_status::Failure;
        }
    }
    return exit_status::Ok;
}
