// The settings file ".\KORVANE16.ini" and the only ways the panel touches it.
// Every single access holds the cross-process settings lock.
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings_keys.hpp"

inline constexpr const char* kSettingsFile = ".\\KORVANE16.ini";

// The file every access below goes to: kSettingsFile, unless a tool working on
// another file chose it before its first access (the panel never does).
void UseSettingsFile(const std::string& file);
const std::string& SettingsFile();

// The key as an integer, DEFAULT when the file, section or key is missing.
std::int32_t ReadSetting(const char* section, const char* key, std::int32_t defaultValue);
// The same for one of the panel's own keys, with its default.
std::int32_t ReadSetting(const SettingKey& key);

// Writes TEXT as the key's value. Returns the platform's success flag.
bool WriteSetting(const char* section, const char* key, const char* text);
// Why the last WriteSetting that failed did.
const std::string& LastWriteProblem();

// Each reads one group of keys into the settings model, each key with its
// default, in the key table's order. The start-up places each group at its
// own step.
void ReadLayoutCode();
void ReadVideoStandard();
void ReadCameraEnables();
void ReadAttributes();
void ReadPositions();

// How a start takes the show-panel flag.
enum class ShowPanelFlagUse {
    // As the file says: non-zero, the panel stays (and "0" is written); 0, it
    // programs the board and quits.
    FromFile,
    // --show: the panel stays as if the flag were 1.
    ShowWhateverTheFlag,
    // korvane16-ctl apply: the board is programmed and the panel quits as if
    // the flag were 0; neither the start nor the save writes the flag.
    QuitKeepingTheFlag,
};

// Writes every setting and the show-panel flag (SHOW_PANEL: the state of
// "Show application."), 99 writes in all; 98 when USE keeps the flag. A write
// that fails does not stop the others. Returns false, after telling why, when
// not every write succeeded.
bool SavePanelState(bool showPanel, ShowPanelFlagUse use = ShowPanelFlagUse::FromFile);

// The key that holds the show-panel flag, in section "General".
inline constexpr const char* kShowPanelKey = kShowPanelFlagKey.name;

// The show-panel decision at the end of start-up: true when the panel stays on
// screen (the flag is non-zero, or USE shows the panel whatever it is), false
// when the panel must program the board and quit. A panel that stays writes
// "0" to the flag when MAY_WRITE (the driver loaded); a start without the
// driver writes nothing.
bool TakeShowPanelFlag(bool mayWrite, ShowPanelFlagUse use);

// Removes what interrupted writes of processes that are gone left beside the
// file; a live writer's file in flight stays. The start-up does this before
// its first read.
void RemoveStaleSettingsTemporaries();

// Trouble with the settings file is told to the operator, one line each,
// naming the file and the reason: a file the start-up could not read (it then
// uses the default settings, and says so once), a show-panel flag that could
// not be written, a save that did not complete. The frontend chooses how the
// line reaches the operator; unless it chooses otherwise, each is a warning
// (platform/diagnostics.hpp): standard error, and the window where there is one.
using SettingsNotice = void (*)(const std::string& line);
void SetSettingsNotice(SettingsNotice notice);

// True when the last save did not write every key: the program then ends with
// exit status 1.
bool SaveIncomplete();

// Back to the process-start state: nothing told, no save made.
void ResetSettingsFile();
