// A lock shared by every process of the user that opens the same name: a named
// mutex on Windows, an exclusive flock on a file in a private per-user folder on
// POSIX. A holder that dies frees it. Its holder may take it again: it is freed
// by the release that matches the first acquire, as a Windows mutex is.
// On POSIX a child forked without exec shares its parent's lock; the panel
// never forks, and tests that need two holders start separate programs.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace platform {

class NamedLock {
public:
    explicit NamedLock(const char* name);
    ~NamedLock();
    NamedLock(const NamedLock&) = delete;
    NamedLock& operator=(const NamedLock&) = delete;

    bool Valid() const { return handle_ != kInvalid; }
    // Why the lock could not be created (empty when Valid()).
    const std::string& Error() const { return error_; }
    // Where the lock lives, for people: its file on POSIX, its name on Windows.
    const std::string& Place() const { return place_; }

    // Called now and then while another process holds the lock, with the
    // time waited so far; it may end the process.
    using WaitWatcher = std::function<void(std::chrono::milliseconds waited)>;

    // Waits without a time-out, and as soon as the lock is free takes it.
    // Returns false when the wait failed; the settings layer goes ahead either way.
    bool Acquire(const WaitWatcher& whileWaiting = {});
    void Release();
    // True between an acquire and its matching release, in this process.
    bool Held() const { return depth_ > 0; }

private:
    static constexpr long long kInvalid = -1;
    long long handle_ = kInvalid;
    int depth_ = 0;  // acquires not yet released
    std::string error_;
    std::string place_;
};

}  // namespace platform
