#include "qt/warning_boxes.hpp"

#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <atomic>
#include <string>
#include <vector>

#include "platform/diagnostics.hpp"
#include "qt/qt_panel_dialog.hpp"

namespace {

std::atomic<WarningBoxes*> current{nullptr};

// One box for all the lines kept so far, owned by OWNER (a termination signal
// closes the boxes its window owns); false when there were none.
bool ShowInBox(QWidget& owner) {
    const std::vector<std::string> lines = platform::TakeOperatorWarnings();
    if (lines.empty()) return false;
    QString text;
    for (const std::string& line : lines) text += (text.isEmpty() ? "" : "\n\n") + QString::fromStdString(line);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("KORVANE16"), text, QMessageBox::Ok, &owner);
    if (owner.isVisible()) box.setWindowModality(Qt::WindowModal);
    box.exec();
    return true;
}

}  // namespace

WarningBoxes::WarningBoxes(QtPanelDialog& window) : window_(window) {
    current.store(this);
    platform::SetWarningListener(WarningKept);
    window_.installEventFilter(this);
}

WarningBoxes::~WarningBoxes() {
    platform::SetWarningListener(nullptr);
    current.store(nullptr);
}

void WarningBoxes::WarningKept() {
    // The warning may come from another thread, or from inside a handler:
    // the box waits for the event loop.
    if (WarningBoxes* boxes = current.load())
        QMetaObject::invokeMethod(boxes, [boxes] { boxes->ShowKept(); }, Qt::QueuedConnection);
}

bool WarningBoxes::eventFilter(QObject* watched, QEvent* event) {
    // The start-up runs while the window is being shown; what it had to say
    // is shown once it is over (and the panel has decided to stay).
    if (watched == &window_ && event->type() == QEvent::Show)
        QMetaObject::invokeMethod(this, [this] { ShowKept(); }, Qt::QueuedConnection);
    return false;
}

void WarningBoxes::ShowKept() {
    if (showing_ || !window_.isVisible() || window_.QuitRequested()) return;
    showing_ = true;
    QPointer<QtPanelDialog> owner(&window_);
    while (owner && owner->isVisible() && ShowInBox(*owner)) {
    }
    showing_ = false;
}

void WarningBoxes::ShowAfterClose(int result, bool signalled) {
    if (result == QtPanelDialog::kQuit || window_.QuitRequested() || signalled) {
        platform::TakeOperatorWarnings();  // said on standard error already
        return;
    }
    ShowInBox(window_);  // the window has gone: the box stands alone
}
