// What the panel has to tell the operator on Windows, where no console shows
// standard error: collected while the dialog handles a message, shown in one
// message box afterwards, where a box cannot get in the way of that work.
#pragma once

#include <windows.h>

#include <string>

// Keeps LINE until ShowNotices. Installed as the settings layer's notice.
void CollectNotice(const std::string& line);

// Shows every line collected so far in one message box owned by OWNER (none:
// nullptr), and forgets them.
void ShowNotices(HWND owner);
