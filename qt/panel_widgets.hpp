// Qt widgets that behave as the Windows controls of the panel's dialog do.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QProxyStyle>
#include <QRadioButton>
#include <QSlider>

// The look every control of the panel uses, whatever the desktop's theme: the
// layout is fixed in pixels, so the control metrics must be known. A trackbar
// thumb is kept inside the control's height, and a click on the channel pages
// the thumb towards the click, as a Windows trackbar does. In a dark palette
// the outlines of edit boxes, check boxes and radios stay visible.
class PanelStyle : public QProxyStyle {
public:
    PanelStyle();
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

// Makes PanelStyle the application's style, once.
void UsePanelStyle();

// Presents the panel's own widgets to assistive technology as what they are
// (a PanelRadio as a radio button), once.
void UsePanelAccessibility();

// A group box drawn as on Windows: an etched frame whose top line runs through
// the middle of the caption, so controls placed just below the caption stay
// clear of the frame.
// The arrow keys can give it the focus, as they can a native group box; it
// keeps the focus then rather than passing it on.
class PanelGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

    // Where the caption is drawn; nothing else may cover it.
    QRect CaptionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};

// A click anywhere on the control counts, not only on the box and its caption.
class PanelCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& pos) const override;
};

// An automatic radio button: a click selects it (never clears it) and is
// reported also when it was already selected. The dialog clears the rest of
// its group, since a program may set several radios of one group at once,
// and moves the focus with the arrow keys.
class PanelRadio : public QRadioButton {
    Q_OBJECT
public:
    explicit PanelRadio(const QString& text, QWidget* parent);

protected:
    bool hitButton(const QPoint& pos) const override;
    void nextCheckState() override;
};

// A horizontal trackbar. Its range ends are kept as the program set them; the
// page size follows the range (a fifth of it). The keys move the thumb as on
// Windows (left and up lower it, right and down raise it) and report nothing;
// the end of every left-button mouse action on it, a thumb drag or a click on
// the channel, is reported by released(). A press on neither the thumb nor the
// channel starts no mouse action.
class PanelTrackbar : public QSlider {
    Q_OBJECT
public:
    explicit PanelTrackbar(QWidget* parent);

    void SetRangeMin(int minimum);
    void SetRangeMax(int maximum);
    int RangeMin() const { return minimum_; }
    int RangeMax() const { return maximum_; }
    // Where the thumb is drawn, and the channel it runs in.
    QRect ThumbRect() const;
    QRect ChannelRect() const;

signals:
    void released();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void ApplyRange();

    // A trackbar as the platform creates it: range 0..100.
    int minimum_ = 0, maximum_ = 100;
    bool leftPressed_ = false;
    int wheelAngle_ = 0;
};
