#include "headless/harness_script.hpp"

#include <charconv>
#include <optional>
#include <sstream>
#include <vector>

#include "headless/control_names.hpp"
#include "headless/headless_dialog.hpp"
#include "platform/termination_signals.hpp"
#include "settings/panel_state.hpp"

namespace {

template <typename Numbers>
void PrintNumbers(std::ostream& out, const char* label, const Numbers& numbers) {
    out << label;
    for (auto n : numbers) out << ' ' << n;
    out << '\n';
}

void PrintState(std::ostream& out) {
    out << "videoStandard " << panelState.videoStandard << '\n';
    out << "layoutCode " << panelState.layoutCode << '\n';
    PrintNumbers(out, "cameraEnable", panelState.cameraEnable);
    std::vector<std::int32_t> attributes;
    for (const ChannelAttributes& a : panelState.attributes)
        attributes.insert(attributes.end(), {a.brightness, a.contrast, a.hue, a.saturation});
    PrintNumbers(out, "attributes", attributes);
    PrintNumbers(out, "positionMap", panelState.positionMap);
}

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// A command line split at blanks; "type" keeps its text whole.
struct Command {
    std::string verb;
    std::vector<std::string> words;
    std::string text;  // type: everything after the blank that follows the id
};

Command Split(const std::string& line) {
    Command command;
    std::istringstream words(line);
    words >> command.verb;
    if (command.verb == "type") {
        const std::size_t idStart = line.find_first_not_of(' ', line.find("type") + 4);
        if (idStart == std::string::npos) return command;
        const std::size_t idEnd = line.find(' ', idStart);
        command.words.push_back(line.substr(idStart, idEnd - idStart));
        if (idEnd != std::string::npos) command.text = line.substr(idEnd + 1);
        return command;
    }
    for (std::string word; words >> word;) command.words.push_back(word);
    return command;
}

class ScriptRunner {
public:
    ScriptRunner(HeadlessDialog& dialog, std::ostream& out) : dialog_(dialog), out_(out) {}

    // Carries out one command; returns why it failed, or nullopt.
    std::optional<std::string> Run(const Command& c) {
        if (dialog_.Ended()) return "the dialog has ended";
        if (c.verb == "show") {
            if (!c.words.empty()) return "show takes no argument";
            dialog_.Created() ? dialog_.ShowAgain() : dialog_.Create();
            return AfterAction();
        }
        if (!dialog_.Created()) return "the panel has not been shown yet";
        if (c.verb == "close" || c.verb == "dump" || c.verb == "state") {
            if (!c.words.empty()) return c.verb + " takes no argument";
            if (c.verb == "close") dialog_.End();
            if (c.verb == "dump") dialog_.Dump(out_);
            if (c.verb == "state") PrintState(out_);
            out_.flush();
            return std::nullopt;
        }
        if (c.words.empty()) return "unknown command";
        std::optional<int> id = ParseInt(c.words[0]);
        if (!id) id = ControlIdByName(c.words[0]);
        if (!id) return "no control has the id " + c.words[0];
        std::optional<std::string> error;
        if (c.verb == "click" && c.words.size() == 1) error = dialog_.Click(*id);
        else if (c.verb == "type") error = dialog_.Type(*id, c.text);
        else if (c.verb == "drag" && c.words.size() == 2) {
            const std::optional<int> position = ParseInt(c.words[1]);
            if (!position) return "not a slider position: " + c.words[1];
            error = dialog_.Drag(*id, *position);
        } else if (c.verb == "key" && c.words.size() == 2) error = dialog_.Key(*id, c.words[1]);
        else if (c.verb == "press" && c.words.size() == 2) error = dialog_.Press(*id, c.words[1]);
        else return "unknown command or wrong number of arguments";
        if (error) return error;
        return AfterAction();
    }

private:
    // A quit request ends the dialog once the handler that posted it has returned.
    std::optional<std::string> AfterAction() {
        if (dialog_.QuitPosted()) dialog_.End();
        out_.flush();
        return std::nullopt;
    }

    HeadlessDialog& dialog_;
    std::ostream& out_;
};

}  // namespace

int RunHarnessScript(std::istream& script, const std::string& name, HeadlessDialog& dialog, std::ostream& out,
                     std::ostream& err) {
    ScriptRunner runner(dialog, out);
    std::string line;
    int status = 0;
    // A termination signal ends the script as its end does.
    for (int number = 1; platform::TerminationRequested() == 0 && std::getline(script, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
        if (std::optional<std::string> error = runner.Run(Split(line))) {
            err << name << ':' << number << ": " << *error << ": " << line << '\n';
            status = 2;
            break;
        }
    }
    // A script that ends (or fails) with the dialog still open closes it as
    // Escape does, so the board is stopped and the settings are saved.
    if (dialog.Created()) dialog.End();
    return status;
}
