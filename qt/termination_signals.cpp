#include "qt/termination_signals.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <QMessageBox>
#include <QSocketNotifier>
#include <cerrno>

namespace {

volatile sig_atomic_t signalPipe = -1;

extern "C" void WriteSignalToPipe(int signal) {
    const int savedErrno = errno;
    const char byte = static_cast<char>(signal);
    if (signalPipe >= 0) {
        const ssize_t written = write(signalPipe, &byte, 1);  // a full pipe already holds a signal
        static_cast<void>(written);
    }
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    signalPipe = pipe_[1];
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this] {
        char drained[16];
        while (read(pipe_[0], drained, sizeof drained) > 0) {
        }
        RestoreHandlers();
        notifier_->setEnabled(false);
        onSignal_();
    });

    struct sigaction action = {};
    action.sa_handler = WriteSignalToPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i) {
        struct sigaction current = {};
        if (sigaction(kSignals[i], nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        installed_[i] = sigaction(kSignals[i], &action, &previous_[i]) == 0;
    }
}

TerminationSignals::~TerminationSignals() {
    RestoreHandlers();
    signalPipe = -1;
    delete notifier_;
    for (int fd : pipe_)
        if (fd >= 0) close(fd);
}

void TerminationSignals::RestoreHandlers() {
    for (int i = 0; i < 3; ++i) {
        if (installed_[i]) sigaction(kSignals[i], &previous_[i], nullptr);
        installed_[i] = false;
    }
}

void CloseLikeCloseBox(QWidget& window) {
    for (QMessageBox* box : window.findChildren<QMessageBox*>()) box->close();
    QMetaObject::invokeMethod(&window, &QWidget::close, Qt::QueuedConnection);
}
