// The layouts stay readable in the desktop's palette, light or dark: every
// visible tile box, check box, radio circle and group frame is drawn with an
// outline that stands out from the window around it and from the box inside.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <cstdlib>
#include <memory>

#include "app/panel_dlg.hpp"
#include "qt/panel_widgets.hpp"
#include "qt/qt_panel_dialog.hpp"

namespace {

struct NamedPalette {
    const char* name;
    QPalette palette;
};

// A dark palette as desktops hand it to programs: every role set.
QPalette DesktopDarkPalette() {
    QPalette dark;
    const auto set = [&dark](QPalette::ColorRole role, const char* colour) { dark.setColor(role, QColor(colour)); };
    set(QPalette::Window, "#2a2e32");
    set(QPalette::WindowText, "#fcfcfc");
    set(QPalette::Base, "#1b1e20");
    set(QPalette::AlternateBase, "#232629");
    set(QPalette::Text, "#fcfcfc");
    set(QPalette::Button, "#31363b");
    set(QPalette::ButtonText, "#fcfcfc");
    set(QPalette::Light, "#40464c");
    set(QPalette::Midlight, "#363b40");
    set(QPalette::Mid, "#1d2023");
    set(QPalette::Dark, "#101213");
    set(QPalette::Shadow, "#0a0b0c");
    set(QPalette::Highlight, "#3daee9");
    set(QPalette::HighlightedText, "#fcfcfc");
    return dark;
}

std::vector<NamedPalette> Palettes() {
    return {{"the style's own", QApplication::style()->standardPalette()},
            {"a desktop's dark", DesktopDarkPalette()},
            {"one made from a dark grey", QPalette(QColor("#353535"), QColor("#303030"))}};
}

int Distance(QRgb a, QRgb b) { return std::abs(qGray(a) - qGray(b)); }

// True when some pixel of AREA differs by MARGIN from both colours.
bool HasLineApartFrom(const QImage& picture, const QRect& area, QRgb outside, QRgb inside, int margin) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (Distance(pixel, outside) >= margin && Distance(pixel, inside) >= margin) return true;
        }
    return false;
}

class WindowTheme : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        UsePanelStyle();
        previous_ = QApplication::palette();
        palette_ = Palettes()[static_cast<std::size_t>(GetParam())];
        // The desktop's palette is there before the panel's window.
        QApplication::setPalette(palette_.palette);
        window = std::make_unique<QtPanelDialog>(dlg);
        ASSERT_TRUE(window->Create());
        picture = window->grab().toImage();
        window_ = palette_.palette.color(QPalette::Window).rgb();
        base_ = palette_.palette.color(QPalette::Base).rgb();
    }
    void TearDown() override {
        window.reset();
        QApplication::setPalette(previous_);
    }

    // Where WIDGET lies in the picture.
    QRect Around(const QWidget* widget) const { return widget->geometry().intersected(picture.rect()); }

    static constexpr int kMargin = 40;  // grey levels a line must stand out by
    CTvPanelDlg dlg;
    std::unique_ptr<QtPanelDialog> window;
    QImage picture;
    NamedPalette palette_;
    QPalette previous_;
    QRgb window_ = 0, base_ = 0;
};

TEST_P(WindowTheme, EveryTileBoxHasAVisibleBorder) {
    SCOPED_TRACE(palette_.name);
    for (const auto& [entry, widget] : window->Built()) {
        const auto* box = qobject_cast<const QLineEdit*>(widget);
        if (box == nullptr || !widget->isVisibleTo(window.get())) continue;
        // The top and left edges, a band two pixels deep.
        const QRect r = Around(widget);
        EXPECT_TRUE(HasLineApartFrom(picture, QRect(r.left() + 3, r.top(), r.width() - 6, 2), window_, base_, kMargin))
            << "top edge of box " << entry->id;
        EXPECT_TRUE(HasLineApartFrom(picture, QRect(r.left(), r.top() + 3, 2, r.height() - 6), window_, base_, kMargin))
            << "left edge of box " << entry->id;
    }
}

TEST_P(WindowTheme, EveryRadioAndCheckBoxShowsItsOutlineUnchecked) {
    SCOPED_TRACE(palette_.name);
    int seen = 0;
    for (const auto& [entry, widget] : window->Built()) {
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        const bool radio = qobject_cast<const QRadioButton*>(widget) != nullptr;
        if (button == nullptr || !(radio || qobject_cast<const QCheckBox*>(widget) != nullptr)) continue;
        if (!widget->isVisibleTo(window.get()) || button->isChecked()) continue;
        QStyleOptionButton option;
        option.initFrom(widget);
        const QRect indicator = widget->style()
                                    ->subElementRect(radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator,
                                                     &option, widget)
                                    .translated(widget->pos());
        EXPECT_TRUE(HasLineApartFrom(picture, indicator.intersected(picture.rect()), window_, base_, kMargin))
            << (radio ? "radio " : "check box ") << entry->id;
        ++seen;
    }
    EXPECT_GE(seen, 16 + 7);  // the Cam boxes and the visible Apply radios at least
}

TEST_P(WindowTheme, EveryGroupFrameIsVisible) {
    SCOPED_TRACE(palette_.name);
    for (const auto& [entry, widget] : window->Built()) {
        const auto* group = dynamic_cast<const PanelGroupBox*>(widget);
        if (group == nullptr || !widget->isVisibleTo(window.get())) continue;
        // The left side of the frame, below the caption.
        const QRect r = Around(widget);
        const QRect side(r.left(), r.center().y() - 5, 2, 10);
        EXPECT_TRUE(HasLineApartFrom(picture, side, window_, window_, kMargin / 2)) << "group of " << entry->caption;
    }
}

INSTANTIATE_TEST_SUITE_P(Palettes, WindowTheme, ::testing::Range(0, 3));

}  // namespace
