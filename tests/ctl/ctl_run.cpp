#include "tests/ctl/ctl_run.hpp"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

std::string CtlFolder::Tool() {
    const char* tool = std::getenv("KORVANE16_CTL");
    return tool != nullptr && *tool != '\0' ? tool : KORVANE16_DEFAULT_CTL;
}

Finished CtlFolder::RunAlone(const std::vector<std::string>& args) const {
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
    return Spawn(command, {}, Path(stem + ".out"), Path(stem + ".err"));
}

Finished CtlFolder::Wait(pid_t child, const std::string& stem) const {
    return Reap(child, Path(stem + ".out"), Path(stem + ".err"));
}
