// The settings file ".\KORVANE16.ini" and the only ways the panel touches it.
// Every single access holds the cross-process settings lock.
#pragma once

#include <cstdint>

inline constexpr const char* kSettingsFile = ".\\KORVANE16.ini";

// The key as an integer, DEFAULT when the file, section or key is missing.
std::int32_t ReadSetting(const char* section, const char* key, std::int32_t defaultValue);

// Writes TEXT as the key's value. Returns the platform's success flag.
bool WriteSetting(const char* section, const char* key, const char* text);

// Read groups of keys into the settings model, each key with its default. The
// start-up places each group at its own step.
void ReadLayoutCode();
void ReadVideoStandard();
void ReadCameraEnables();
void ReadAttributes();
void ReadPositions();

// Writes every setting and the show-panel flag (SHOW_PANEL: the state of
// "Show application."), 99 writes in all.
void SavePanelState(bool showPanel);

// The key that holds the show-panel flag, in section "General".
inline constexpr const char* kShowPanelKey = "SetParameter";

// The show-panel decision at the end of start-up: true when the panel stays on
// screen (the flag is non-zero, or SHOW_WHATEVER_THE_FLAG asks the panel to
// show as if it were 1), false when the panel must program the board and quit.
// A panel that stays writes "0" to the flag when MAY_WRITE (the driver
// loaded); a start without the driver writes nothing.
bool TakeShowPanelFlag(bool mayWrite, bool showWhateverTheFlag);
