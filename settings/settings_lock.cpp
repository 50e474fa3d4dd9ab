#include "settings/settings_lock.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/diagnostics.hpp"
#include "platform/termination_signals.hpp"

namespace {

constexpr std::chrono::milliseconds kNoticeAfter{1000};

// Whether the wait under way has been told already.
bool waitTold = false;

void WatchWait(std::chrono::milliseconds waited) {
    if (!waitTold && waited >= kNoticeAfter) {
        waitTold = true;
        platform::TellOperator("waiting for the settings lock " + SettingsLock().Place() +
                               ", which another program holds; this goes on as soon as it is free");
    }
    if (const int signal = platform::TerminationRequested(); signal != 0 && !platform::CloseBegun()) {
        platform::TellOperator("stopped while waiting for the settings lock; nothing was written");
        platform::EndBySignal(signal);
    }
}

}  // namespace

platform::NamedLock& SettingsLock() {
    static platform::NamedLock lock(kSettingsLockName);
    if (!lock.Valid()) {
        std::fprintf(stderr, "KORVANE16: cannot create the settings lock \"%s\": %s\n", kSettingsLockName,
                     lock.Error().c_str());
        std::exit(1);
    }
    return lock;
}

void AcquireSettingsLock() {
    waitTold = false;
    SettingsLock().Acquire(WatchWait);
}
