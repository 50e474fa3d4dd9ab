// SIGTERM, SIGINT and SIGHUP close the panel in order (board stopped, settings
// saved) instead of killing it. The signal handler only writes the signal into
// a pipe; the event loop reads it and does the closing.
#pragma once

#include <csignal>
#include <functional>

class QSocketNotifier;
class QWidget;

class TerminationSignals {
public:
    // ON_SIGNAL runs in the event loop at the first of these signals; from then
    // on the previous handlers are back, so a second signal acts at once. A
    // signal that was ignored when the program started stays ignored.
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

private:
    void RestoreHandlers();

    std::function<void()> onSignal_;
    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction previous_[3] = {};
    bool installed_[3] = {};
};

// Closes WINDOW as its close box does, once the current handler has returned;
// a message box it shows is closed first.
void CloseLikeCloseBox(QWidget& window);
