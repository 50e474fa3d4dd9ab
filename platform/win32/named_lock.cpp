// The named lock as a named mutex: shared by every process of the session that
// opens the same name; the system hands an abandoned one to the next waiter.
#include "platform/named_lock.hpp"

#include <windows.h>

#include <cstdint>

#include "platform/win32/error_text.hpp"

namespace platform {

namespace {

HANDLE AsHandle(long long handle) { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(handle)); }

}  // namespace

NamedLock::NamedLock(const char* name) {
    // Not initially owned, default security.
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
    if (mutex == nullptr) {
        error_ = "CreateMutex: " + LastErrorText();
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(mutex);
    place_ = name;
}

NamedLock::~NamedLock() {
    if (Valid()) CloseHandle(AsHandle(handle_));
}

bool NamedLock::Acquire(const WaitWatcher& whileWaiting) {
    if (!Valid()) return false;
    // An abandoned mutex (its holder died) is owned by this thread now, just as
    // after a normal wait. The wait is cut into slices for the watcher.
    const DWORD slice = 50;  // milliseconds
    DWORD result = WaitForSingleObject(AsHandle(handle_), whileWaiting ? slice : INFINITE);
    for (std::chrono::milliseconds waited{0}; result == WAIT_TIMEOUT;) {
        waited += std::chrono::milliseconds(slice);
        whileWaiting(waited);
        result = WaitForSingleObject(AsHandle(handle_), slice);
    }
    ++depth_;
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void NamedLock::Release() {
    if (!Valid() || depth_ == 0) return;
    --depth_;
    ReleaseMutex(AsHandle(handle_));
}

}  // namespace platform
