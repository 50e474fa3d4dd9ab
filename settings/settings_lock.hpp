// The cross-process lock "ZEDevudIzazIni", held around every single read or
// write of the settings file. Created during static initialisation; a process
// that cannot create it says why and ends before any window exists.
#pragma once

#include "platform/named_lock.hpp"

inline constexpr const char* kSettingsLockName = "ZEDevudIzazIni";

platform::NamedLock& SettingsLock();

// Holds the settings lock for one access. The wait's result is not looked at:
// the access goes ahead whatever it returns, and the release always follows.
class SettingsLockHold {
public:
    SettingsLockHold() { SettingsLock().Acquire(); }
    ~SettingsLockHold() { SettingsLock().Release(); }
    SettingsLockHold(const SettingsLockHold&) = delete;
    SettingsLockHold& operator=(const SettingsLockHold&) = delete;
};
