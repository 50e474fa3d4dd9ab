#include "win32/notices.hpp"

#include <string>
#include <vector>

#include "platform/diagnostics.hpp"

void ShowNotices(HWND owner) {
    const std::vector<std::string> warnings = platform::TakeOperatorWarnings();
    if (warnings.empty()) return;
    std::string text;
    for (const std::string& line : warnings) text += (text.empty() ? "" : "\n\n") + line;
    MessageBoxA(owner, text.c_str(), "KORVANE16", MB_OK | MB_ICONWARNING);
}
