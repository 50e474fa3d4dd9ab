#include "win32/notices.hpp"

#include <vector>

namespace {
std::vector<std::string> collected;
}  // namespace

void CollectNotice(const std::string& line) { collected.push_back(line); }

void ShowNotices(HWND owner) {
    if (collected.empty()) return;
    std::string text;
    for (const std::string& line : collected) text += (text.empty() ? "" : "\n\n") + line;
    collected.clear();
    MessageBoxA(owner, text.c_str(), "KORVANE16", MB_OK | MB_ICONWARNING);
}
