#include "qt/panel_widgets.hpp"

#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <algorithm>

PanelStyle::PanelStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

namespace {

bool IsDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

// A's colour moved PERCENT of the way towards B's.
QColor Between(const QColor& a, const QColor& b, int percent) {
    const auto mix = [percent](int from, int to) { return from + (to - from) * percent / 100; };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

// OPTION as it is but for its window colour.
template <typename Option>
Option WithWindowColour(const Option& option, const QColor& window) {
    Option copy(option);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        copy.palette.setColor(group, QPalette::Window, window);
    return copy;
}

}  // namespace

void PanelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
    if (option == nullptr || !IsDark(option->palette)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // The base style draws these outlines a little darker than the window
    // colour, which vanishes against a dark window and a dark box. Handed a
    // window colour from which that darker outline lands between the
    // background and the text, it draws them visibly.
    const QPalette& palette = option->palette;
    const QColor window =
        Between(palette.color(QPalette::Window), palette.color(QPalette::WindowText), 45).lighter(145);
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (element == PE_FrameLineEdit && frame != nullptr) {
        const QStyleOptionFrame visible = WithWindowColour(*frame, window);
        QProxyStyle::drawPrimitive(element, &visible, painter, widget);
    } else if ((element == PE_IndicatorCheckBox || element == PE_IndicatorRadioButton) && button != nullptr) {
        const QStyleOptionButton visible = WithWindowColour(*button, window);
        QProxyStyle::drawPrimitive(element, &visible, painter, widget);
    } else {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

int PanelStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    const int value = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric == PM_SliderThickness && (option != nullptr || widget != nullptr)) {
        // The thumb is centred on the control's middle row: an odd height fits it.
        const int height = option != nullptr ? option->rect.height() : widget->height();
        return std::min(value, (height - 1) / 2 * 2 + 1);
    }
    return value;
}

int PanelStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* returnData) const {
    if (hint == SH_Slider_AbsoluteSetButtons) return Qt::NoButton;
    if (hint == SH_Slider_PageSetButtons) return Qt::LeftButton;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void UsePanelStyle() {
    if (dynamic_cast<PanelStyle*>(QApplication::style()) == nullptr) QApplication::setStyle(new PanelStyle);
}

QRect PanelGroupBox::CaptionRect() const {
    if (title().isEmpty()) return {};
    const QFontMetrics metrics(font());
    const int inset = metrics.averageCharWidth();
    const int gap = std::max(1, inset / 3);
    return QRect(inset, 0, metrics.horizontalAdvance(title()) + 2 * gap, metrics.height());
}

void PanelGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    qDrawShadeRect(&painter, rect().adjusted(0, QFontMetrics(font()).height() / 2, 0, 0), palette(), true, 1, 0);
    const QRect caption = CaptionRect();
    if (caption.isEmpty()) return;
    painter.fillRect(caption, palette().window());
    style()->drawItemText(&painter, caption, Qt::AlignCenter, palette(), isEnabled(), title(), QPalette::WindowText);
}

namespace {

// A panel radio keeps no exclusive group of the toolkit's (the dialog clears
// its group), which the toolkit would present to assistive technology as a
// check box: this presents it as the radio button it is.
class RadioAccessible final : public QAccessibleWidget {
public:
    explicit RadioAccessible(PanelRadio* radio) : QAccessibleWidget(radio, QAccessible::RadioButton) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Radio()->isChecked();
        return state;
    }
    QString text(QAccessible::Text t) const override {
        const QString text = QAccessibleWidget::text(t);
        return t == QAccessible::Name && text.isEmpty() ? Radio()->text() : text;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override {
        if (action == pressAction()) Radio()->click();
        else QAccessibleWidget::doAction(action);
    }

private:
    PanelRadio* Radio() const { return static_cast<PanelRadio*>(widget()); }
};

QAccessibleInterface* PanelAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("PanelRadio")) return new RadioAccessible(static_cast<PanelRadio*>(object));
    return nullptr;
}

}  // namespace

void UsePanelAccessibility() {
    static const bool installed = (QAccessible::installFactory(PanelAccessible), true);
    (void)installed;
}

void PanelGroupBox::focusInEvent(QFocusEvent* event) { QWidget::focusInEvent(event); }

bool PanelCheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

PanelRadio::PanelRadio(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
    setAutoExclusive(false);
}

bool PanelRadio::hitButton(const QPoint& pos) const { return rect().contains(pos); }

void PanelRadio::nextCheckState() { setChecked(true); }

PanelTrackbar::PanelTrackbar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::NoTicks);
    ApplyRange();
}

QRect PanelTrackbar::ThumbRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

QRect PanelTrackbar::ChannelRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
}

void PanelTrackbar::SetRangeMin(int minimum) {
    minimum_ = minimum;
    ApplyRange();
}

void PanelTrackbar::SetRangeMax(int maximum) {
    maximum_ = maximum;
    ApplyRange();
}

void PanelTrackbar::ApplyRange() {
    // The position stays inside the range (at the nearer end).
    setRange(minimum_, std::max(minimum_, maximum_));
    setPageStep((maximum_ - minimum_) / 5);
}

void PanelTrackbar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up: triggerAction(SliderSingleStepSub); break;
        case Qt::Key_Right:
        case Qt::Key_Down: triggerAction(SliderSingleStepAdd); break;
        case Qt::Key_PageUp: triggerAction(SliderPageStepSub); break;
        case Qt::Key_PageDown: triggerAction(SliderPageStepAdd); break;
        case Qt::Key_Home: triggerAction(SliderToMinimum); break;
        case Qt::Key_End: triggerAction(SliderToMaximum); break;
        default: event->ignore();  // Enter and Escape reach the dialog
    }
}

void PanelTrackbar::mousePressEvent(QMouseEvent* event) {
    // A trackbar works with the left button only.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    // Only the thumb and the channel take a press, as on a native trackbar:
    // elsewhere it starts no mouse action, so its release reports nothing.
    const QPoint at = event->position().toPoint();
    if (!ThumbRect().contains(at) && !ChannelRect().contains(at)) {
        event->accept();
        return;
    }
    leftPressed_ = true;
    QSlider::mousePressEvent(event);
}

void PanelTrackbar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QSlider::mouseReleaseEvent(event);
    if (!leftPressed_) return;
    leftPressed_ = false;
    emit released();
}

void PanelTrackbar::wheelEvent(QWheelEvent* event) {
    // One line per wheel notch; turning the wheel away from the operator
    // lowers the position, as the up arrow does.
    wheelAngle_ += event->angleDelta().y();
    for (; wheelAngle_ >= 120; wheelAngle_ -= 120) triggerAction(SliderSingleStepSub);
    for (; wheelAngle_ <= -120; wheelAngle_ += 120) triggerAction(SliderSingleStepAdd);
    event->accept();
}
