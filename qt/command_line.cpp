#include "qt/command_line.hpp"

#include <algorithm>
#include <string_view>

namespace {

constexpr const char* kUsageLine = "usage: korvane16 [--desktop] [--show] [-h | --help] [--version] [toolkit options]";

// The toolkit's own options (one dash or two), with and without a value. A
// value follows as the next word or after "=".
constexpr std::string_view kToolkitOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
    "qwindowtitle", "session", "display", "geometry", "title", "icon", "name", "style", "stylesheet",
    "qmljsdebugger", "dialogs", "fontengine"};
constexpr std::string_view kToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

template <typename Names>
bool Among(const Names& names, std::string_view name) {
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

CommandLine Refused(const std::string& why) {
    CommandLine line;
    line.action = CommandLine::Action::Refuse;
    line.refusal = "korvane16: " + why + "; " + kUsageLine + "\n";
    return line;
}

}  // namespace

CommandLine ReadCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    line.toolkitArguments.push_back(argc > 0 ? argv[0] : "korvane16");
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--show") {
            line.show = true;
        } else if (word == "--desktop") {
            line.desktop = true;
        } else if (word == "-h" || word == "--help") {
            if (line.action == CommandLine::Action::RunPanel) line.action = CommandLine::Action::Help;
        } else if (word == "--version") {
            if (line.action == CommandLine::Action::RunPanel) line.action = CommandLine::Action::Version;
        } else if (word.size() > 1 && word[0] == '-') {
            std::string_view name = word.substr(word[1] == '-' ? 2 : 1);
            const std::size_t equals = name.find('=');
            const bool valueAttached = equals != std::string_view::npos;
            name = name.substr(0, equals);
            if (Among(kToolkitOptionsWithValue, name)) {
                if (valueAttached && name != "qmljsdebugger") {
                    // The toolkit reads these as two words only ("-platform=x"
                    // would leave it without a platform); its debugger option
                    // is the one it reads with "=".
                    const std::size_t at = word.find('=');
                    line.toolkitArguments.emplace_back(word.substr(0, at));
                    line.toolkitArguments.emplace_back(word.substr(at + 1));
                } else {
                    line.toolkitArguments.emplace_back(word);
                }
                if (!valueAttached) {
                    if (i + 1 == argc) return Refused("option '" + std::string(word) + "' needs a value");
                    line.toolkitArguments.emplace_back(argv[++i]);
                }
                // Either names where the window goes, as DISPLAY would.
                line.platformGiven = line.platformGiven || name == "platform" || name == "display";
            } else if (Among(kToolkitFlags, name) && !valueAttached) {
                line.toolkitArguments.emplace_back(word);
            } else {
                return Refused("unknown option '" + std::string(word) + "'");
            }
        } else {
            return Refused("unexpected argument '" + std::string(word) + "'");
        }
    }
    return line;
}

std::string HelpText() {
    return std::string(kUsageLine) +
           "\n"
           "\n"
           "The control panel of the KORVANE16 video display board. It programs the board from\n"
           "KORVANE16.ini in the current folder and saves every setting there when it closes.\n"
           "\n"
           "  --desktop     use the settings file of the desktop's menu and log-in entries,\n"
           "                korvane16/KORVANE16.ini in $XDG_CONFIG_HOME (else ~/.config)\n"
           "  --show        open the panel even when SetParameter=0 in [General] of the\n"
           "                settings file says to program the board and close at once\n"
           "  -h, --help    show this help and exit\n"
           "  --version     show the version and exit\n"
           "\n"
           "The toolkit's own options work too, e.g. -platform NAME, -style NAME, -display DISPLAY.\n"
           "One panel runs per user session: a second start brings the first panel to the front.\n";
}

std::string VersionText() { return std::string("korvane16 ") + KORVANE16_VERSION + "\n"; }
