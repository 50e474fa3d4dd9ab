// The cross-process lock "ZEDevudIzazIni", held around every single read or
// write of the settings file. Made when a command first needs it, so a program
// that only prints its help or refuses its command line never depends on it;
// a process that cannot make it says why and ends with status 1. The panels
// make it before any window exists.
#pragma once

#include "platform/named_lock.hpp"

inline constexpr const char* kSettingsLockName = "ZEDevudIzazIni";

platform::NamedLock& SettingsLock();

// Takes the settings lock. A wait of about a second is told to the operator
// once; a termination signal that comes during a wait before the dialog's
// close has begun ends the process at once, with nothing written.
void AcquireSettingsLock();

// Holds the settings lock for one access. The wait's result is not looked at:
// the access goes ahead whatever it returns, and the release always follows.
class SettingsLockHold {
public:
    SettingsLockHold() { AcquireSettingsLock(); }
    ~SettingsLockHold() { SettingsLock().Release(); }
    SettingsLockHold(const SettingsLockHold&) = delete;
    SettingsLockHold& operator=(const SettingsLockHold&) = delete;
};
