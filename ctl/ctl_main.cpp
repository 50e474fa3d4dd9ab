// korvane16-ctl [--file FILE] COMMAND [ARGS]: the panel's settings from a shell.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "ctl/ctl_commands.hpp"
#include "platform/standard_output.hpp"

namespace {

constexpr const char* kUsage =
    "usage: korvane16-ctl [--file FILE | --desktop] {list [--long | --json] | get [--json] NAME... |\n"
    "       set [--dry-run] NAME=VALUE... | export FILE | import [--dry-run] FILE | apply [--dry-run]}\n";

constexpr const char* kHelp = R"(Usage: korvane16-ctl [--file FILE | --desktop] COMMAND [ARGS]
Reads and changes the KORVANE16 panel's settings file (./KORVANE16.ini, or FILE)
under the panel's own settings lock, and programs the board from it.

Commands:
  list               every setting, one "NAME VALUE" line each, as the panel
                     will use it
  get NAME...        the settings named, one "NAME VALUE" line each
  set NAME=VALUE...  changes settings; all are checked before any is written;
                     prints "NAME OLD NEW" for each setting that changed;
                     refused while a panel runs
  export FILE        every setting as NAME=VALUE lines to FILE (-: standard
                     output)
  import FILE        sets the NAME=VALUE lines of FILE (-: standard input), all
                     or none, as set does; blank lines and # lines are skipped
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
A value stored outside these is shown as its number. Writing the layout or a
tile gives the tiles the file lacks the panel's default (tile N: camera N).

Options:
  --file FILE        works on FILE, which must exist, instead of ./KORVANE16.ini
  --desktop          works on the desktop menu entry's file,
                     $XDG_CONFIG_HOME/korvane16/KORVANE16.ini
                     (~/.config/korvane16/KORVANE16.ini without the variable)
  --json             list, get: one JSON array of the settings with their
                     values, defaults and ranges or choices
  --long             list: with each setting's values and default
  --dry-run          set, import, apply: prints what would change, writes
                     nothing, touches no board
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
    const std::vector<std::string> words(argv + 1, argv + argc);
    CommandOptions options;
    FileChoice choice = FileChoice::WorkingFolder;
    std::string file;
    std::vector<std::string> rest;  // the command and its arguments
    for (std::size_t at = 0; at < words.size(); ++at) {
        const std::string& option = words[at];
        if (option == "-" || !option.starts_with("-")) {
            rest.push_back(option);
            continue;
        }
        if (option == "-h" || option == "--help") {
            std::cout << kHelp;
            return exit_status::Ok;
        }
        if (option == "--version") {
            std::cout << "korvane16-ctl " << KORVANE16_VERSION << '\n';
            return exit_status::Ok;
        }
        if (option == "--json" || option == "--long" || option == "--dry-run") {
            (option == "--json" ? options.json : option == "--long" ? options.long_ : options.dryRun) = true;
        } else if (option == "--desktop" || option == "--file" || option.starts_with("--file=")) {
            if (choice != FileChoice::WorkingFolder) return UsageError("--file and --desktop name one file");
            choice = option == "--desktop" ? FileChoice::Desktop : FileChoice::Named;
            if (option == "--desktop") continue;
            const bool separate = option == "--file";
            if (separate && ++at == words.size()) return UsageError("--file needs a file name");
            file = separate ? words[at] : option.substr(7);
            if (file.empty()) return UsageError("--file needs a file name");
        } else {
            return UsageError("unknown option '" + option + "'");
        }
    }
    if (rest.empty()) return UsageError("no command given");
    const std::string command = rest.front();
    const std::vector<std::string> args(rest.begin() + 1, rest.end());
    const bool reads = command == "list" || command == "get";
    if ((options.json && !reads) || (options.long_ && command != "list") || (options.json && options.long_))
        return UsageError(options.json ? "--json goes with list or get" : "--long goes with list alone");
    if (options.dryRun && command != "set" && command != "import" && command != "apply")
        return UsageError("--dry-run goes with set, import or apply");
    if (!ChooseSettingsFile(choice, file, std::cerr)) return exit_status::Failure;

    if (command == "list" || command == "apply") {
        if (!args.empty()) return UsageError(command + " takes no arguments");
        return command == "list" ? ListSettings(options, std::cout, std::cerr)
                                 : ApplySettings(options, std::cout, std::cerr);
    }
    if (command == "get" || command == "set") {
        if (args.empty()) return UsageError(command + (command == "get" ? " needs NAME..." : " needs NAME=VALUE..."));
        return command == "get" ? GetSettings(args, options, std::cout, std::cerr)
                                : SetSettings(args, options, std::cout, std::cerr);
    }
    if (command == "export" || command == "import") {
        if (args.size() != 1) return UsageError(command + " needs one FILE (-: standard " +
                                                (command == "export" ? "output)" : "input)"));
        return command == "export" ? ExportSettings(args[0], std::cout, std::cerr)
                                   : ImportSettings(args[0], options, std::cout, std::cerr);
    }
    return UsageError("unknown command '" + command + "'");
}

int main(int argc, char** argv) {
    platform::GuardStandardStreams();
    return platform::FinishStandardOutput("korvane16-ctl", RunTool(argc, argv));
}
