#include "ctl/ctl_commands.hpp"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "ctl/command_parts.hpp"
#include "ctl/panel_claim.hpp"
#include "ctl/setting_names.hpp"
#include "platform/desktop_settings_folder.hpp"
#include "platform/file_names.hpp"
#include "platform/profile_file.hpp"
#include "settings/settings_file.hpp"
#include "settings/settings_lock.hpp"

namespace fs = std::filesystem;

namespace {

FileChoice fileChoice = FileChoice::WorkingFolder;

bool FileMissing() {
    std::error_code error;
    return !fs::exists(fs::path(platform::FullFileName(SettingsFile().c_str())), error) && !error;
}

// The desktop file's folder is made (private, as the panel makes it) before
// its first write.
bool MakeDesktopFolder(std::ostream& err) {
    if (fileChoice != FileChoice::Desktop) return true;
    std::string error;
    if (platform::DesktopSettingsFolder(error)) return true;
    err << kProgram << error << '\n';
    return false;
}

std::vector<std::size_t> Everything() {
    std::vector<std::size_t> all;
    for (std::size_t i = 0; i < AllSettings().size(); ++i) all.push_back(i);
    return all;
}

int PrintSettings(const std::vector<std::size_t>& settings, const CommandOptions& options, std::ostream& out,
                  std::ostream& err) {
    if (!CheckReadable(err, true)) return exit_status::Failure;
    const StoredValues stored = ReadStoredValues();
    if (options.json) {
        PrintJson(settings, stored, out);
    } else if (options.long_) {
        PrintLong(settings, stored, out);
    } else {
        const std::vector<std::string> shown = ShownValues(stored);
        for (std::size_t setting : settings) out << AllSettings()[setting].name << ' ' << shown[setting] << '\n';
    }
    return exit_status::Ok;
}

bool WriteAll(const std::vector<KeyWrite>& writes, const StoredValues& before, std::ostream& err) {
    for (std::size_t done = 0; done < writes.size(); ++done) {
        const NamedSetting& setting = AllSettings()[writes[done].setting];
        const SettingKey& key = setting.key;
        if (WriteSetting(key.section, key.name, std::to_string(writes[done].value).c_str())) continue;
        err << kProgram << "cannot write " << setting.name << " to " << ShownFileName() << ": "
            << LastWriteProblem() << '\n';
        // Back to what the panel used before: a key that was missing gets its default.
        while (done-- > 0) {
            const KeyWrite& undo = writes[done];
            const SettingKey& undoKey = AllSettings()[undo.setting].key;
            const std::int32_t old = before[undo.setting].value_or(undoKey.defaultValue);
            WriteSetting(undoKey.section, undoKey.name, std::to_string(old).c_str());
        }
        return false;
    }
    return true;
}

}  // namespace

bool ChooseSettingsFile(FileChoice choice, const std::string& named, std::ostream& err) {
    fileChoice = choice;
    if (choice == FileChoice::Named) UseSettingsFile(named);
    if (choice != FileChoice::Desktop) return true;
    const std::string folder = platform::DesktopSettingsFolderName();
    if (folder.empty()) {
        err << kProgram << "cannot name the desktop settings file: neither XDG_CONFIG_HOME nor HOME is a full path\n";
        return false;
    }
    UseSettingsFile(folder + "/KORVANE16.ini");
    return true;
}

std::string ShownFileName() { return platform::FullFileName(SettingsFile().c_str()); }

bool ParseAssignment(const std::string& word, Assignments& into, std::ostream& err, const std::string& where) {
    const std::size_t equals = word.find('=');
    if (equals == std::string::npos) {
        err << kProgram << where << "'" << word << "' is not NAME=VALUE\n";
        return false;
    }
    const std::string name = word.substr(0, equals), value = word.substr(equals + 1);
    const NamedSetting* setting = FindSetting(name);
    if (setting == nullptr) {
        err << kProgram << where << "unknown setting '" << name << "' (korvane16-ctl list names them all)\n";
        return false;
    }
    const auto index = static_cast<std::size_t>(setting - AllSettings().data());
    if (const std::optional<std::int32_t> stored = StoredValue(setting->kind, value)) {
        into.writes.push_back({index, *stored});
    } else {
        std::string refusal(kProgram);
        refusal.append(where).append(setting->name).append(": '").append(value).append("' is not ");
        into.restated.push_back({index, value, refusal.append(AcceptedValues(setting->kind))});
    }
    return true;
}

bool CheckReadable(std::ostream& err, bool reading) {
    if (FileMissing()) {
        if (fileChoice == FileChoice::Named) {
            err << kProgram << "cannot read " << ShownFileName() << ": no such file\n";
            return false;
        }
        if (reading) err << kProgram << ShownFileName() << " does not exist: these are the panel's defaults\n";
        return true;
    }
    // The settings layer reads a file it cannot read as all defaults, which a
    // tool must not pass off as the file's contents: one read under the lock
    // tells first.
    std::string problem;
    {
        SettingsLockHold hold;
        platform::ReadProfileInt(kShowPanelFlagKey.section, kShowPanelFlagKey.name, kShowPanelFlagKey.defaultValue,
                                 SettingsFile().c_str(), &problem);
    }
    if (problem.empty()) return true;
    err << kProgram << "cannot read " << ShownFileName() << ": " << problem << '\n';
    return false;
}

int ListSettings(const CommandOptions& options, std::ostream& out, std::ostream& err) {
    return PrintSettings(Everything(), options, out, err);
}

int GetSettings(const std::vector<std::string>& names, const CommandOptions& options, std::ostream& out,
                std::ostream& err) {
    std::vector<std::size_t> settings;
    for (const std::string& name : names) {
        const NamedSetting* setting = FindSetting(name);
        if (setting == nullptr) {
            err << kProgram << "unknown setting '" << name << "' (korvane16-ctl list names them all)\n";
            return exit_status::Usage;
        }
        settings.push_back(static_cast<std::size_t>(setting - AllSettings().data()));
    }
    return PrintSettings(settings, options, out, err);
}

int WriteAssignments(const Assignments& assignments, const CommandOptions& options, std::ostream& out,
                     std::ostream& err) {
    // Refused before the first write, so nothing is half done. A value that
    // only a readable file could let pass is refused as it stands.
    std::ostringstream unreadable;
    if (!CheckReadable(unreadable)) {
        if (!assignments.restated.empty()) err << assignments.restated.front().refusal << '\n';
        else err << unreadable.str();
        return assignments.restated.empty() ? exit_status::Failure : exit_status::Usage;
    }
    const StoredValues before = ReadStoredValues();
    const std::vector<std::string> shown = ShownValues(before);
    std::vector<std::size_t> kept;
    for (const Restated& value : assignments.restated) {
        if (!before[value.setting] || value.typed != shown[value.setting]) {
            err << value.refusal << '\n';
            return exit_status::Usage;
        }
        kept.push_back(value.setting);
    }
    const auto claim = ClaimSession("its close would overwrite what korvane16-ctl writes", err);
    if (!claim) return exit_status::Failure;
    const std::vector<KeyWrite> writes = PlanWrites(before, assignments.writes, kept);
    if (!options.dryRun && (!MakeDesktopFolder(err) || !WriteAll(writes, before, err))) return exit_status::Failure;
    for (const std::string& line : ChangeLines(before, AfterWrites(before, writes))) out << line << '\n';
    return exit_status::Ok;
}

int SetSettings(const std::vector<std::string>& words, const CommandOptions& options, std::ostream& out,
                std::ostream& err) {
    Assignments assignments;
    for (const std::string& word : words)
        if (!ParseAssignment(word, assignments, err)) return exit_status::Usage;
    return WriteAssignments(assignments, options, out, err);
}
