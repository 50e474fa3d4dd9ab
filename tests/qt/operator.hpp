// What an operator does to the desktop dialog, as real mouse and key events.
#pragma once

#include <QMessageBox>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <vector>

class QLineEdit;
class QWidget;
class PanelTrackbar;

namespace op {

// A left click at AT, the control's centre by default.
void Click(QWidget* control, QPoint at = {-1, -1});
// Clicks into the box, selects its text and types TEXT over it, key by key.
void Type(QLineEdit* box, const QString& text);
// A key pressed on the control that has the focus (the dialog when none has).
void Key(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Grabs the thumb and moves the mouse a pixel at a time until the trackbar
// shows TARGET (or the channel ends), then lets go. Returns the position reached.
int DragThumb(PanelTrackbar* trackbar, int target);
// Clicks the channel beside the thumb, after it (right) or before it (left).
void ClickChannel(PanelTrackbar* trackbar, bool after);

}  // namespace op

// Answers every message box that comes up while it lives by clicking its OK
// button, and keeps what it saw.
class MessageBoxAnswerer {
public:
    struct Seen {
        QString text, caption;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        const QWidget* owner;
        bool modal;
    };

    MessageBoxAnswerer();
    const std::vector<Seen>& seen() const { return seen_; }

private:
    void AnswerOpenBoxes();

    QTimer timer_;
    std::vector<Seen> seen_;
};
