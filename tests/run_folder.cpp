#include "tests/run_folder.hpp"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "tests/child_exec.hpp"
#include "tests/file_text.hpp"

namespace fs = std::filesystem;

RunFolder::RunFolder(const std::string& work) {
    std::string pattern = (fs::temp_directory_path() / "korvane16-run-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a working folder");
    folder_ = pattern;
    work_ = work.empty() ? folder_ : Path(work);
    fs::create_directories(work_);
    fs::create_directory(RuntimeFolder());
    fs::permissions(RuntimeFolder(), fs::perms::owner_all);
}

RunFolder::~RunFolder() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

void RunFolder::WriteSettings(const std::string& text) const { WriteFileText(SettingsPath(), text); }
std::string RunFolder::Settings() const { return ReadFileText(SettingsPath()); }
bool RunFolder::SettingsExist() const { return fs::exists(SettingsPath()); }
std::vector<std::string> RunFolder::Journal() const { return SplitLines(ReadFileText(Path("journal.txt"))); }

pid_t RunFolder::Spawn(std::vector<std::string> words, const Environment& environment, const std::string& out,
                       const std::string& err, bool searchPath) const {
    const pid_t child = fork();
    if (child != 0) return child;
    if (chdir(work_.c_str()) != 0) _exit(126);
    setenv("TAVRIND_JOURNAL", Path("journal.txt").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", RuntimeFolder().c_str(), 1);
    for (const auto& [name, value] : environment) {
        if (value == "-") unsetenv(name.c_str());
        else setenv(name.c_str(), value.c_str(), 1);
    }
    ExecWithOutputFiles(std::move(words), out, err, searchPath);
}

Finished RunFolder::Reap(pid_t child, const std::string& out, const std::string& err, double seconds) {
    int status = 0;
    pid_t ended = 0;
    if (seconds > 0) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while ((ended = waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (ended == 0) kill(child, SIGKILL);
    }
    if (ended == 0) waitpid(child, &status, 0);
    Finished finished;
    finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    finished.out = ReadFileText(out);
    finished.err = ReadFileText(err);
    return finished;
}
