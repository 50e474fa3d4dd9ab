// korvane16-ctl [--file FILE] COMMAND [ARGS]: the panel's settings from a shell.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "ctl/ctl_commands.hpp"
#include "platform/standard_output.hpp"
#include "settings/settings_file.hpp"

namespace {

constexpr const char* kUsage = "usage: korvane16-ctl [--file FILE] {list | get NAME... | set NAME=VALUE... | apply}\n";

constexpr const char* kHelp = R"(Usage: korvane16-ctl [--file FILE] COMMAND [ARGS]
Reads and changes the KORVANE16 panel's settings file (./KORVANE16.ini, or FILE)
under the panel's own settings lock, and programs the board from it.

Commands:
  list               every setting, one "NAME VALUE" line each
  get NAME...        the settings named, one "NAME VALUE" line each
  set NAME=VALUE...  changes settings; all are checked before any is written
  apply              programs the board from the file as a panel start with
                     show-panel off does, and leaves show-panel as it is;
                     refused while a panel runs

Settings (N = 1..16):
  standard           ntsc | pal
  layout             1 | 4 | 6 | 8 | 9 | 10 | 13 | 16 (tiles on the monitor)
  tile.N             the camera, 1..16, shown in tile N
  camera.N           on | off
  brightness.N, contrast.N, hue.N, saturation.N
                     0..255
  show-panel         on | off: whether the panel opens its window at start
A value stored outside these is shown as its number.

Options:
  --file FILE        works on FILE instead of ./KORVANE16.ini
  -h, --help         shows this help
  --version          shows the version

Exit status: 0 done, 1 failed (lock, file, panel running, write), 2 usage error.
)";

int UsageError(std::string_view why) {
    std::cerr << "korvane16-ctl: " << why << '\n' << kUsage;
    return exit_status::Usage;
}

}  // namespace

int RunTool(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    std::size_t at = 0;
    for (; at < words.size() && words[at].starts_with("-"); ++at) {
        const std::string& option = words[at];
        if (option == "-h" || option == "--help") {
            std::cout << kHelp;
            return exit_status::Ok;
        }
        if (option == "--version") {
            std::cout << "korvane16-ctl " << KORVANE16_VERSION << '\n';
            return exit_status::Ok;
        }
        if (option == "--file" || option.starts_with("--file=")) {
            const bool separate = option == "--file";
            if (separate && ++at == words.size()) return UsageError("--file needs a file name");
            const std::string file = separate ? words[at] : option.substr(7);
            if (file.empty()) return UsageError("--file needs a file name");
            UseSettingsFile(file);
        } else {
            return UsageError("unknown option '" + option + "'");
        }
    }
    if (at == words.size()) return UsageError("no command given");
    const std::string command = words[at];
    const std::vector<std::string> args(words.begin() + static_cast<std::ptrdiff_t>(at) + 1, words.end());

    if (command == "list" || command == "apply") {
        if (!args.empty()) return UsageError(command + " takes no arguments");
        return command == "list" ? ListSettings(std::cout, std::cerr) : ApplySettings(std::cerr);
    }
    if (command == "get" || command == "set") {
        if (args.empty()) return UsageError(command + (command == "get" ? " needs NAME..." : " needs NAME=VALUE..."));
        return command == "get" ? GetSettings(args, std::cout, std::cerr) : SetSettings(args, std::cerr);
    }
    return UsageError("unknown command '" + command + "'");
}

int main(int argc, char** argv) {
    platform::GuardStandardStreams();
    return platform::FinishStandardOutput("korvane16-ctl", RunTool(argc, argv));
}
