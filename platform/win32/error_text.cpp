#include "platform/win32/error_text.hpp"

#include <windows.h>

#include <cctype>

namespace platform {

std::string LastErrorText() {
    const DWORD code = GetLastError();
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = "error " + std::to_string(code);
    if (length != 0 && text != nullptr) {
        message = text;
        while (!message.empty() && std::isspace(static_cast<unsigned char>(message.back()))) message.pop_back();
    }
    LocalFree(text);
    return message;
}

}  // namespace platform
