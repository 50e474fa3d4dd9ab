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
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || chdir(argv[1]) != 0) return 2;
    const std::string mode = argv[2];
    if (mode == "increment" && argc == 4) return Increment(std::atoi(argv[3]));
    if (mode == "probe-lock") return ProbeLock();
    if (mode == "write-loop") WriteLoop();
    return 2;
}
