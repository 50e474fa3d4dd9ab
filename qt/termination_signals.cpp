#include "qt/termination_signals.hpp"

#include <QCoreApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QThread>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

#include "platform/termination_signals.hpp"

TerminationSignals::TerminationSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
    platform::CatchTerminationSignals();
    if (platform::TerminationNotices() < 0) return;
    notifier_ = new QSocketNotifier(platform::TerminationNotices(), QSocketNotifier::Read);
    QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this] {
        platform::DrainTerminationNotices();
        if (closing_) return;
        closing_ = true;
        onSignal_();
    });
}

TerminationSignals::~TerminationSignals() {
    platform::ReleaseTerminationSignals();
    delete notifier_;
}

void CloseLikeCloseBox(QWidget& window) {
    for (QMessageBox* box : window.findChildren<QMessageBox*>()) box->close();
    QMetaObject::invokeMethod(&window, &QWidget::close, Qt::QueuedConnection);
}

namespace {

std::function<void()> onDisplayLoss;
QtMessageHandler earlierHandler = nullptr;

// The toolkit says that the display connection broke, then ends the program
// from inside its event processing: the close runs here, before that.
void WatchForDisplayLoss(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (earlierHandler != nullptr) earlierHandler(type, context, message);
    else std::fprintf(stderr, "%s\n", qPrintable(message));
    if (!onDisplayLoss || !message.startsWith(QStringLiteral("The X11 connection broke"))) return;
    const QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() != application->thread()) return;  // the main thread says it too
    const std::function<void()> onLoss = std::move(onDisplayLoss);
    onDisplayLoss = nullptr;
    onLoss();
    std::exit(1);
}

}  // namespace

void CloseWhenTheDisplayIsLost(std::function<void()> onLoss) {
    static const bool installed = [] {
        earlierHandler = qInstallMessageHandler(WatchForDisplayLoss);
        return true;
    }();
    static_cast<void>(installed);
    onDisplayLoss = std::move(onLoss);
}
