#include "tests/ctl/ctl_run.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "tests/child_exec.hpp"

namespace fs = std::filesystem;

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string CtlFolder::Tool() {
    const char* tool = std::getenv("KORVANE16_CTL");
    return tool != nullptr && *tool != '\0' ? tool : KORVANE16_DEFAULT_CTL;
}

CtlFolder::CtlFolder() {
    std::string pattern = (fs::temp_directory_path() / "korvane16-ctl-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a working folder");
    folder_ = pattern;
    fs::create_directory(Path("runtime"));
    fs::permissions(Path("runtime"), fs::perms::owner_all);
}

CtlFolder::~CtlFolder() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

void CtlFolder::WriteSettings(const std::string& text) const { WriteText(Path("KORVANE16.ini"), text); }
std::string CtlFolder::Settings() const { return ReadText(Path("KORVANE16.ini")); }
bool CtlFolder::SettingsExist() const { return fs::exists(Path("KORVANE16.ini")); }
std::vector<std::string> CtlFolder::Journal() const { return SplitLines(ReadText(Path("journal.txt"))); }

ToolResult CtlFolder::RunAlone(const std::vector<std::string>& args) const {
    const fs::path alone = Path("alone");
    fs::create_directories(alone);
    const fs::path copy = alone / fs::path(Tool()).filename();
    fs::copy_file(Tool(), copy, fs::copy_options::overwrite_existing);
    return Wait(StartProgram(copy.string(), args, "tool"));
}

pid_t CtlFolder::StartProgram(const std::string& program, const std::vector<std::string>& args,
                              const std::string& stem) const {
    std::vector<std::string> command{program};
    command.insert(command.end(), args.begin(), args.end());
    const std::string out = Path(stem + ".out"), err = Path(stem + ".err");
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(folder_.c_str()) != 0) _exit(126);
        setenv("TAVRIND_JOURNAL", Path("journal.txt").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", Path("runtime").c_str(), 1);
        ExecWithOutputFiles(command, out, err);
    }
    return child;
}

ToolResult CtlFolder::Wait(pid_t child, const std::string& stem) const {
    int status = 0;
    waitpid(child, &status, 0);
    ToolResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadText(Path(stem + ".out"));
    result.err = ReadText(Path(stem + ".err"));
    return result;
}
