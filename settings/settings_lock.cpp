#include "settings/settings_lock.hpp"

#include <cstdio>
#include <cstdlib>

namespace {

platform::NamedLock& CreateSettingsLock() {
    static platform::NamedLock lock(kSettingsLockName);
    if (!lock.Valid()) {
        std::fprintf(stderr, "KORVANE16: cannot create the settings lock \"%s\": %s\n", kSettingsLockName,
                     lock.Error().c_str());
        std::exit(1);
    }
    return lock;
}

// Created before main, so before any window exists.
platform::NamedLock& settingsLock = CreateSettingsLock();

}  // namespace

platform::NamedLock& SettingsLock() { return settingsLock; }
