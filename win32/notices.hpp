// What the panel has to tell the operator on Windows, where no console shows
// standard error: the warnings kept while the dialog handles a message
// (platform/diagnostics.hpp), shown in one message box afterwards, where a box
// cannot get in the way of that work.
#pragma once

#include <windows.h>

// Shows every warning kept so far in one message box owned by OWNER (none:
// nullptr); they are then forgotten.
void ShowNotices(HWND owner);
