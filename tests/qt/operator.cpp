#include "operator.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "qt/panel_widgets.hpp"

namespace op {

void Click(QWidget* control, QPoint at) {
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, at == QPoint(-1, -1) ? control->rect().center() : at);
}

void Type(QLineEdit* box, const QString& text) {
    Click(box);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

void Key(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* focus = window.focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &window, key, modifiers);
}

int DragThumb(PanelTrackbar* trackbar, int target) {
    QPoint at = trackbar->ThumbRect().center();
    QTest::mousePress(trackbar, Qt::LeftButton, Qt::NoModifier, at);
    const int step = target > trackbar->value() ? 1 : -1;
    auto shortOfTarget = [&] { return step > 0 ? trackbar->value() < target : trackbar->value() > target; };
    while (shortOfTarget() && at.x() + step >= 0 && at.x() + step < trackbar->width()) {
        at.rx() += step;
        QMouseEvent move(QEvent::MouseMove, at, trackbar->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(trackbar, &move);
    }
    QTest::mouseRelease(trackbar, Qt::LeftButton, Qt::NoModifier, at);
    return trackbar->value();
}

void ClickChannel(PanelTrackbar* trackbar, bool after) {
    const QRect thumb = trackbar->ThumbRect();
    const int x = after ? thumb.right() + 4 : thumb.left() - 4;
    Click(trackbar, QPoint(x, thumb.center().y()));
}

}  // namespace op

MessageBoxAnswerer::MessageBoxAnswerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenBoxes(); });
    timer_.start(5);
}

void MessageBoxAnswerer::AnswerOpenBoxes() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(window);
        if (box == nullptr || !box->isVisible()) continue;
        seen_.push_back({box->text(), box->windowTitle(), box->icon(), box->standardButtons(), box->parentWidget(),
                         box->isModal()});
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        if (ok != nullptr) op::Click(ok);
        else box->close();
    }
}
