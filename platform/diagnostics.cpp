#include "platform/diagnostics.hpp"

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

namespace platform {

namespace {

// Held only to add or take lines. (A spin lock: the Windows toolchain's
// thread model has no std::mutex.)
std::atomic_flag keptBusy = ATOMIC_FLAG_INIT;
struct KeptHold {
    KeptHold() {
        while (keptBusy.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
    }
    ~KeptHold() {
        keptBusy.clear(std::memory_order_release);
    }
};

std::vector<std::string> kept;
std::atomic<WarningListener> listener{nullptr};

}  // namespace

void TellOperator(std::string_view line) {
    // One write per line, so lines of processes sharing the stream stay whole.
    const std::string text = "KORVANE16: " + std::string(line) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void WarnOperator(std::string_view line) {
    TellOperator(line);
    {
        const KeptHold hold;
        kept.emplace_back(line);
    }
    if (const WarningListener tell = listener.load()) tell();
}

std::vector<std::string> TakeOperatorWarnings() {
    const KeptHold hold;
    std::vector<std::string> taken;
    taken.swap(kept);
    return taken;
}

void SetWarningListener(WarningListener newListener) { listener.store(newListener); }

}  // namespace platform
