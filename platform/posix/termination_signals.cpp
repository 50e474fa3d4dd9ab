// The handler only notes the signal and writes one byte into a pipe; the
// frontends act on it outside the handler.
#include "platform/termination_signals.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int kCount = sizeof kSignals / sizeof kSignals[0];

volatile sig_atomic_t requested = 0;
volatile sig_atomic_t noticeWriter = -1;
int noticeReader = -1;
bool closeBegun = false;
struct sigaction previous[kCount] = {};
bool installed[kCount] = {};

extern "C" void NoteTerminationSignal(int signal) {
    const int savedErrno = errno;
    if (requested == 0) requested = signal;
    if (noticeWriter >= 0) {
        const char byte = 1;
        const ssize_t written = write(noticeWriter, &byte, 1);  // a full pipe already holds a notice
        static_cast<void>(written);
    }
    errno = savedErrno;
}

}  // namespace

void CatchTerminationSignals() {
    if (noticeReader < 0) {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
            noticeReader = ends[0];
            noticeWriter = ends[1];
        }
    }
    struct sigaction action = {};
    action.sa_handler = NoteTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Reads and writes go on after the handler; the waits that must end at a
    // signal (poll, nanosleep) end early whatever this says.
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < kCount; ++i) {
        struct sigaction current = {};
        if (installed[i] || sigaction(kSignals[i], nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        installed[i] = sigaction(kSignals[i], &action, &previous[i]) == 0;
    }
}

void ReleaseTerminationSignals() {
    for (int i = 0; i < kCount; ++i) {
        if (installed[i]) sigaction(kSignals[i], &previous[i], nullptr);
        installed[i] = false;
    }
}

int TerminationRequested() { return requested; }

int TerminationNotices() { return noticeReader; }

void DrainTerminationNotices() {
    char drained[16];
    while (noticeReader >= 0 && read(noticeReader, drained, sizeof drained) > 0) {
    }
}

void MarkCloseBegun() { closeBegun = true; }
bool CloseBegun() { return closeBegun; }

void EndBySignal(int signal) {
    std::fflush(stdout);
    std::fflush(stderr);
    ReleaseTerminationSignals();
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    _exit(128 + signal);
}

}  // namespace platform
