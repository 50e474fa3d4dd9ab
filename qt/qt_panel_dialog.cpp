#include "qt/qt_panel_dialog.hpp"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "app/panel_dlg.hpp"
#include "app/window_messages.hpp"
#include "platform/panel_instance.hpp"
#include "platform/termination_signals.hpp"
#include "qt/dialog_navigation.hpp"
#include "qt/panel_widgets.hpp"
#include "qt/spoken_names.hpp"
#include "qt/termination_signals.hpp"
#include "qt/warning_boxes.hpp"

namespace {

QString Caption(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

QFont DialogFont() {
    QFont font(Caption(kDialog.fontFace));
    font.setPointSize(kDialog.fontPoints);
    return font;
}

QMessageBox::Icon IconOf(unsigned type) {
    switch (type & 0xF0u) {
        case 0x10u: return QMessageBox::Critical;
        case 0x20u: return QMessageBox::Question;
        case 0x30u: return QMessageBox::Warning;
        case 0x40u: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

// The arrow keys in a one-line edit box of the native dialog: up is left and
// down is right, and the cursor moves one character from where it stands,
// also out of a selection (which Shift extends from its other end).
void MoveEditCursor(QLineEdit& edit, bool back, bool extend) {
    const int cursor = edit.cursorPosition();
    int anchor = cursor;
    if (edit.hasSelectedText())
        anchor = edit.selectionStart() == cursor ? edit.selectionEnd() : edit.selectionStart();
    const int to = std::clamp(cursor + (back ? -1 : 1), 0, static_cast<int>(edit.text().size()));
    if (extend) edit.setSelection(anchor, to - anchor);
    else edit.setCursorPosition(to);
}

}  // namespace

QtPanelDialog::QtPanelDialog(CTvPanelDlg& dlg) : dlg_(dlg) {
    UsePanelStyle();
    UsePanelAccessibility();
    // A window of its own (shown on the task bar) with a caption and a close
    // box, not resizable.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(Caption(kDialog.caption));
    setFont(DialogFont());
    units_ = BaseUnitsOf(font());
    dlg_.Attach(*this, *this);
}

bool QtPanelDialog::Create() {
    std::intptr_t created = 0;
    dlg_.Dispatch(wm::Create, 0, 0, &created);
    if (created == -1) return false;

    const QRect frame = ToPixels(kDialog.rect, units_);
    setFixedSize(frame.size());
    move(frame.topLeft());
    // Created in template order: that is also the tab order and the stacking
    // order (a group box lies below the controls drawn on it).
    for (const ControlSpec& entry : TemplateControls()) {
        QWidget* widget = Build(entry);
        widget->setGeometry(ToPixels(entry.rect, units_));
        if (entry.Hidden()) widget->hide();
        if (entry.IsDisabled()) widget->setEnabled(false);
        built_.emplace_back(&entry, widget);
        if (entry.id != kNoId) byId_[entry.id] = widget;
        Connect(entry, widget);
        // Tab and the arrow keys move the focus as the native dialog moves it.
        widget->installEventFilter(this);
    }
    Describe();

    dlg_.OnInitDialog();
    // The focus starts on the first tab stop.
    const auto isTabStop = [this](std::size_t i) { return IsTabStop(i); };
    if (const std::size_t first = NextTabStop(built_.size() - 1, built_.size(), false, isTabStop); isTabStop(first))
        built_[first].second->setFocus(Qt::OtherFocusReason);
    return true;
}

void QtPanelDialog::Describe() {
    // Names for the screen reader; the captions on the screen stay as they are.
    for (const auto& [entry, widget] : built_) {
        if (entry->kind == ControlKind::Label) {
            if (const ControlSpec* labelled = LabelledBy(*entry))
                static_cast<QLabel*>(widget)->setBuddy(Control(labelled->id));
        } else if (entry->id != kNoId) {
            const SpokenControl spoken = SpokenFor(*entry);
            widget->setAccessibleName(spoken.name);
            widget->setAccessibleDescription(spoken.description);
        }
    }
}

QWidget* QtPanelDialog::Build(const ControlSpec& entry) {
    const QString caption = Caption(entry.caption);
    switch (entry.kind) {
        case ControlKind::GroupBox: return new PanelGroupBox(caption, this);
        case ControlKind::Label: {
            auto* label = new QLabel(caption, this);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case ControlKind::CheckBox: return new PanelCheckBox(caption, this);
        case ControlKind::Radio: {
            auto* radio = new PanelRadio(caption, this);
            // Radios without the tab-stop style are reached by a click, not by Tab.
            if ((entry.style & style::TabStop) == 0) radio->setFocusPolicy(Qt::ClickFocus);
            return radio;
        }
        case ControlKind::PushButton: {
            auto* button = new QPushButton(caption, this);
            // No default button: Enter presses the focused button (see
            // keyPressEvent) and ends the dialog anywhere else.
            button->setAutoDefault(false);
            return button;
        }
        case ControlKind::Trackbar: return new PanelTrackbar(this);
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(this);
            edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return edit;
        }
    }
    return new QWidget(this);
}

void QtPanelDialog::Connect(const ControlSpec& entry, QWidget* widget) {
    const int id = entry.id;
    if (auto* radio = dynamic_cast<PanelRadio*>(widget)) {
        connect(radio, &QAbstractButton::clicked, this, [this, id] { OperatorClickedRadio(id); });
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, id] { Notify(wm::Command, notify::BnClicked, id); });
    } else if (auto* trackbar = dynamic_cast<PanelTrackbar*>(widget)) {
        connect(trackbar, &PanelTrackbar::released, this,
                [this, id] { Notify(wm::Notify, notify::NmReleasedCapture, id); });
    } else if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
        // Typing reports as a text set by program does (SetText).
        connect(edit, &QLineEdit::textEdited, this, [this, id] {
            Notify(wm::Command, notify::EnUpdate, id);
            Notify(wm::Command, notify::EnChange, id);
        });
    }
}

void QtPanelDialog::Destroy() { Notify(wm::Destroy, 0, 0); }

QWidget* QtPanelDialog::Control(int id) const {
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : found->second;
}

PanelTrackbar* QtPanelDialog::Trackbar(int id) const { return dynamic_cast<PanelTrackbar*>(Control(id)); }

void QtPanelDialog::Notify(unsigned message, int code, int id) {
    ++handlerDepth_;
    dlg_.Dispatch(message, code, id);
    --handlerDepth_;
    if (handlerDepth_ == 0) EndIfQuitPosted();
}

void QtPanelDialog::EndIfQuitPosted() {
    if (!quitPosted_) return;
    quitPosted_ = false;
    // Queued, as a posted quit is: the run ends once the event loop has it.
    QMetaObject::invokeMethod(this, [this] { done(kQuit); }, Qt::QueuedConnection);
}

void QtPanelDialog::OperatorClickedRadio(int id) {
    // The radio has selected itself; the rest of its group is cleared.
    for (const ControlSpec& member : GroupOf(id))
        if (member.kind == ControlKind::Radio && member.id != id) SetCheck(member.id, 0);
    Notify(wm::Command, notify::BnClicked, id);
}

bool QtPanelDialog::IsReachable(std::size_t index) const {
    const QWidget* widget = built_[index].second;
    return widget->isVisibleTo(this) && widget->isEnabled();
}

bool QtPanelDialog::IsTabStop(std::size_t index) const {
    // A radio is a tab stop while it is selected, whatever its template style.
    const auto [entry, widget] = built_[index];
    const auto* radio = dynamic_cast<const PanelRadio*>(widget);
    return IsReachable(index) && ((entry->style & style::TabStop) != 0 || (radio != nullptr && radio->isChecked()));
}

bool QtPanelDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // With Alt the keys move nothing; Ctrl and Shift make no difference but in
    // an edit box, where Ctrl moves by words.
    if (key->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) return false;
    const auto at =
        std::find_if(built_.begin(), built_.end(), [watched](const auto& built) { return built.second == watched; });
    if (at == built_.end()) return false;
    const std::size_t from = static_cast<std::size_t>(at - built_.begin());
    switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            const std::size_t to =
                NextTabStop(from, built_.size(), back, [this](std::size_t i) { return IsTabStop(i); });
            built_[to].second->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            return true;
        }
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down: {
            // An edit box keeps the arrow keys for its cursor, a trackbar for its thumb.
            const bool back = key->key() == Qt::Key_Left || key->key() == Qt::Key_Up;
            if (auto* edit = dynamic_cast<QLineEdit*>(watched)) {
                if (key->modifiers() & Qt::ControlModifier) return false;
                MoveEditCursor(*edit, back, (key->modifiers() & Qt::ShiftModifier) != 0);
                return true;
            }
            if (dynamic_cast<PanelTrackbar*>(watched) != nullptr) return false;
            const std::size_t to = NextInGroup(
                from, built_.size(), back, [this](std::size_t i) { return built_[i].first->GroupStart(); },
                [this](std::size_t i) { return IsReachable(i); });
            QWidget* next = built_[to].second;
            next->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            // A radio the arrows land on is selected as a click selects it.
            if (auto* radio = dynamic_cast<PanelRadio*>(next); radio != nullptr && !radio->isChecked()) radio->click();
            return true;
        }
        default: return false;
    }
}

std::string QtPanelDialog::GetText(int id, int bufferChars) {
    if (bufferChars <= 0) return {};
    QString text;
    if (auto* edit = dynamic_cast<QLineEdit*>(Control(id))) text = edit->text();
    else if (auto* button = dynamic_cast<QAbstractButton*>(Control(id))) text = button->text();
    // A buffer of N characters holds N-1 of them and the terminator.
    return text.left(bufferChars - 1).toLatin1().toStdString();
}

void QtPanelDialog::SetText(int id, std::string_view text) {
    QWidget* widget = Control(id);
    if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
        edit->setText(Caption(text));
        // A text set by program is reported as typing is, before SetText returns.
        Notify(wm::Command, notify::EnUpdate, id);
        Notify(wm::Command, notify::EnChange, id);
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        button->setText(Caption(text));
    }
}

int QtPanelDialog::GetCheck(int id) {
    const auto* button = dynamic_cast<QAbstractButton*>(Control(id));
    return button && button->isChecked() ? 1 : 0;
}

void QtPanelDialog::SetCheck(int id, int state) {
    // Changes this one control and reports nothing.
    if (auto* button = dynamic_cast<QAbstractButton*>(Control(id))) button->setChecked(state != 0);
}

void QtPanelDialog::SetSliderRangeMin(int id, int minimum, bool) {
    if (PanelTrackbar* trackbar = Trackbar(id)) trackbar->SetRangeMin(minimum);
}

void QtPanelDialog::SetSliderRangeMax(int id, int maximum, bool) {
    if (PanelTrackbar* trackbar = Trackbar(id)) trackbar->SetRangeMax(maximum);
}

void QtPanelDialog::SetSliderLineSize(int id, int lineSize) {
    if (PanelTrackbar* trackbar = Trackbar(id)) trackbar->setSingleStep(lineSize);
}

int QtPanelDialog::GetSliderPos(int id) {
    const PanelTrackbar* trackbar = Trackbar(id);
    return trackbar ? trackbar->value() : 0;
}

void QtPanelDialog::SetSliderPos(int id, int position, bool) {
    if (PanelTrackbar* trackbar = Trackbar(id)) trackbar->setValue(position);
}

void QtPanelDialog::ShowMessageBox(std::string_view text, std::string_view caption, unsigned type) {
    // Owned by the dialog and modal; the panel only ever asks for one OK button.
    QMessageBox box(IconOf(type), Caption(caption), Caption(text), QMessageBox::Ok, this);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

void QtPanelDialog::PostQuit(int) {
    quitPosted_ = true;
    quitRequested_ = true;
    if (handlerDepth_ == 0) EndIfQuitPosted();
}

void QtPanelDialog::SetIcon(IconHandle icon, bool) {
    if (icon != nullptr) setWindowIcon(*static_cast<const QIcon*>(icon));
}

bool QtPanelDialog::focusNextPrevChild(bool) {
    // The focus moves only as eventFilter moves it, never along the toolkit's
    // own chain (which a button would follow on Alt and an arrow key).
    return true;
}

void QtPanelDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    Notify(wm::ShowWindow, 0, 0);
}

void QtPanelDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain) {
        // As in a native dialog: Enter presses the push button that has the
        // focus; anywhere else it ends the dialog.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button != nullptr && button->isEnabled()) {
            button->click();
            return;
        }
        done(kEnter);
        return;
    }
    QDialog::keyPressEvent(event);
}

void BringToFront(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

int RunQtDialog(CTvPanelDlg& dlg, const std::function<void(QtPanelDialog&)>& afterShow,
                platform::PanelInstance* instance) {
    QtPanelDialog window(dlg);
    if (!window.Create()) return -1;
    WarningBoxes warnings(window);
    bool signalled = false;
    TerminationSignals closeOnSignal([&window, &signalled] {
        signalled = true;
        CloseLikeCloseBox(window);
    });
    // Without its display the panel cannot go on; it closes as at the close box.
    CloseWhenTheDisplayIsLost([&window] {
        platform::MarkCloseBegun();
        window.Destroy();
    });
    std::unique_ptr<QSocketNotifier> frontRequests;
    if (instance != nullptr && instance->FrontRequests() >= 0) {
        frontRequests = std::make_unique<QSocketNotifier>(instance->FrontRequests(), QSocketNotifier::Read);
        QObject::connect(frontRequests.get(), &QSocketNotifier::activated, &window, [&window, instance] {
            if (!instance->TakeFrontRequests()) return;
            BringToFront(window);
            instance->AnswerFrontRequests();
        });
    }
    if (afterShow) QTimer::singleShot(0, &window, [&window, &afterShow] { afterShow(window); });
    int result = window.exec();
    if (result == QDialog::Rejected) result = QtPanelDialog::kCancel;
    CloseWhenTheDisplayIsLost({});
    platform::MarkCloseBegun();
    window.Destroy();
    warnings.ShowAfterClose(result, signalled);
    return result;
}
