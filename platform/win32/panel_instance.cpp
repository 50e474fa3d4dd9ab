// The session's one panel on Windows: a named mutex of the session, owned by
// the panel; the system hands an abandoned one to the next claimant.
#include "platform/panel_instance.hpp"

#include <windows.h>

#include <cstdint>

namespace platform {

namespace {

constexpr const char* kMutexName = "KORVANE16.Panel";

HANDLE AsHandle(long long handle) { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(handle)); }

// Opens the mutex and takes it without waiting: 1 taken, 0 owned by another,
// -1 failed (ERROR says why).
int TryTake(HANDLE& mutex, std::string& error) {
    mutex = CreateMutexA(nullptr, FALSE, kMutexName);
    if (mutex == nullptr) {
        error = "CreateMutex failed with error " + std::to_string(GetLastError());
        return -1;
    }
    switch (WaitForSingleObject(mutex, 0)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED: return 1;  // an abandoned one: its panel died
        case WAIT_TIMEOUT: return 0;
        default: error = "waiting for the panel's mutex failed with error " + std::to_string(GetLastError()); return -1;
    }
}

}  // namespace

PanelInstance::PanelInstance() {
    HANDLE mutex = nullptr;
    const int taken = TryTake(mutex, error_);
    if (mutex != nullptr) lock_ = reinterpret_cast<std::intptr_t>(mutex);
    claim_ = taken == 1 ? Claim::Ours : taken == 0 ? Claim::AnotherPanelRuns : Claim::Failed;
}

PanelInstance::~PanelInstance() {
    if (lock_ == -1) return;
    if (claim_ == Claim::Ours) ReleaseMutex(AsHandle(lock_));
    CloseHandle(AsHandle(lock_));
}

}  // namespace platform
