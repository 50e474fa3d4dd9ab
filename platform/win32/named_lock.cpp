// The named lock as a named mutex: shared by every process of the session that
// opens the same name; the system hands an abandoned one to the next waiter.
#include "platform/named_lock.hpp"

#include <windows.h>

#include <cstdint>

namespace platform {

namespace {

HANDLE AsHandle(long long handle) { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(handle)); }

std::string LastErrorText() {
    const DWORD code = GetLastError();
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = "error " + std::to_string(code);
    if (length != 0 && text != nullptr) {
        message = text;
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    }
    LocalFree(text);
    return message;
}

}  // namespace

NamedLock::NamedLock(const char* name) {
    // Not initially owned, default security.
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
    if (mutex == nullptr) {
        error_ = "CreateMutex: " + LastErrorText();
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(mutex);
}

NamedLock::~NamedLock() {
    if (Valid()) CloseHandle(AsHandle(handle_));
}

bool NamedLock::Acquire() {
    if (!Valid()) return false;
    // An abandoned mutex (its holder died) is owned by this thread now, just as
    // after a normal wait.
    const DWORD result = WaitForSingleObject(AsHandle(handle_), INFINITE);
    ++depth_;
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void NamedLock::Release() {
    if (!Valid() || depth_ == 0) return;
    --depth_;
    ReleaseMutex(AsHandle(handle_));
}

}  // namespace platform
