// A second panel process for the tests of the settings lock and of interrupted
// writes. It is started afresh (not forked from the test), so it opens the
// settings lock itself, as another panel would.
//
//   settings_worker FOLDER increment COUNT  say "ready", wait for a byte on standard
//                                           input, then COUNT times add one to
//                                           Race/Counter under the settings lock
//   settings_worker FOLDER probe-lock       say "waiting", take the lock, say "held"
//   settings_worker FOLDER write-loop       say "ready", then write Loop/First and
//                                           Loop/Second in turn with rising values,
//                                           counting on from Loop/Second, until killed
//   settings_worker FOLDER serve            for each line "read SECTION KEY" on standard
//                                           input say the key's value (-1 when missing),
//                                           for "write SECTION KEY VALUE" say "ok" or
//                                           "failed"; one process throughout, so what
//                                           it keeps of the file lasts between lines
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "settings/settings_file.hpp"
#include "settings/settings_lock.hpp"

namespace {

void Say(const char* word) {
    std::printf("%s\n", word);
    std::fflush(stdout);
}

int Increment(int cycles) {
    Say("ready");
    char go = 0;
    if (read(STDIN_FILENO, &go, 1) != 1) return 3;
    for (int i = 0; i < cycles; ++i) {
        // One hold around the read and the write. ReadSetting and WriteSetting
        // take the lock again inside it; their releases must not end this hold.
        SettingsLockHold hold;
        const std::int32_t count = ReadSetting("Race", "Counter", 0);
        if (!WriteSetting("Race", "Counter", std::to_string(count + 1).c_str())) return 4;
    }
    return 0;
}

int ProbeLock() {
    Say("waiting");
    SettingsLockHold hold;
    Say("held");
    return 0;
}

[[noreturn]] void WriteLoop() {
    std::int32_t value = ReadSetting("Loop", "Second", 0);
    Say("ready");
    for (;;) {
        const std::string text = std::to_string(++value);
        WriteSetting("Loop", "First", text.c_str());
        WriteSetting("Loop", "Second", text.c_str());
    }
}

int Serve() {
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command, section, key, value;
        words >> command >> section >> key >> value;
        if (command == "read")
            std::printf("%d\n", ReadSetting(section.c_str(), key.c_str(), -1));
        else if (command == "write")
            std::printf("%s\n", WriteSetting(section.c_str(), key.c_str(), value.c_str()) ? "ok" : "failed");
        else
            return 2;
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || chdir(argv[1]) != 0) return 2;
    const std::string mode = argv[2];
    if (mode == "increment" && argc == 4) return Increment(std::atoi(argv[3]));
    if (mode == "probe-lock") return ProbeLock();
    if (mode == "write-loop") WriteLoop();
    if (mode == "serve") return Serve();
    return 2;
}
