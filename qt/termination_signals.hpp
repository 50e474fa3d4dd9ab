// SIGTERM, SIGINT and SIGHUP close the panel in order (board stopped, settings
// saved) instead of killing it. The signal handler only notes the signal; the
// event loop sees the note and does the closing. Signals that come once the
// close has begun are taken and ignored until the save is done.
#pragma once

#include <functional>

class QSocketNotifier;
class QWidget;

class TerminationSignals {
public:
    // ON_SIGNAL runs in the event loop at the first of these signals. A signal
    // that was ignored when the program started stays ignored.
    explicit TerminationSignals(std::function<void()> onSignal);
    // Gives the signals back their earlier actions.
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
    bool closing_ = false;
};

// Closes WINDOW as its close box does, once the current handler has returned;
// a message box it shows is closed first.
void CloseLikeCloseBox(QWidget& window);

// When the connection to the display breaks, ON_LOSS runs once, before the
// toolkit ends the program; the program then ends with status 1. An empty
// ON_LOSS stops the watch.
void CloseWhenTheDisplayIsLost(std::function<void()> onLoss);
