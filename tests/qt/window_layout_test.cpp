// The window is the dialog template: every control, at its place, readable.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>

#include "app/dialog_template.hpp"
#include "app/panel_dlg.hpp"
#include "qt/dialog_units.hpp"
#include "qt/panel_icon.hpp"
#include "qt/panel_widgets.hpp"
#include "qt/qt_panel_dialog.hpp"
#include "operator.hpp"

namespace {

bool Overlap(const DialogRect& a, const DialogRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

const char* KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::GroupBox: return "group box";
        case ControlKind::Radio: return "radio";
        case ControlKind::CheckBox: return "check box";
        case ControlKind::PushButton: return "push button";
        case ControlKind::Trackbar: return "trackbar";
        case ControlKind::Edit: return "edit box";
        case ControlKind::Label: return "label";
    }
    return "?";
}

bool IsKind(const QWidget* widget, ControlKind kind) {
    switch (kind) {
        case ControlKind::GroupBox: return qobject_cast<const QGroupBox*>(widget) != nullptr;
        case ControlKind::Radio: return qobject_cast<const QRadioButton*>(widget) != nullptr;
        case ControlKind::CheckBox: return qobject_cast<const QCheckBox*>(widget) != nullptr;
        case ControlKind::PushButton: return qobject_cast<const QPushButton*>(widget) != nullptr;
        case ControlKind::Trackbar: return dynamic_cast<const PanelTrackbar*>(widget) != nullptr;
        case ControlKind::Edit: return qobject_cast<const QLineEdit*>(widget) != nullptr;
        case ControlKind::Label: return qobject_cast<const QLabel*>(widget) != nullptr;
    }
    return false;
}

QString CaptionOf(const QWidget* widget) {
    if (auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
    return {};
}

class WindowLayout : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(window.Create()); }

    CTvPanelDlg dlg{LoadPanelIcon(kDialog.iconId)};
    QtPanelDialog window{dlg};
};

TEST(DialogUnits, RoundHalfAwayFromZeroAsMulDivDoes) {
    EXPECT_EQ(MulDiv(95, 7, 4), 166);   // 166.25
    EXPECT_EQ(MulDiv(2, 7, 4), 4);      // 3.5
    EXPECT_EQ(MulDiv(-2, 7, 4), -4);    // -3.5
    EXPECT_EQ(MulDiv(243, 14, 8), 425);  // 425.25
    EXPECT_EQ(MulDiv(7, 3, -2), -11);   // -10.5
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(DialogUnits, TemplateRectanglesThatDoNotOverlapStayApartInPixels) {
    // Every base unit size a 9-point font gets between 96 and 192 DPI.
    for (BaseUnits units : {BaseUnits{6, 13}, BaseUnits{7, 14}, BaseUnits{8, 16}, BaseUnits{11, 21}, BaseUnits{14, 27}}) {
        for (const ControlSpec& a : TemplateControls()) {
            for (const ControlSpec& b : TemplateControls()) {
                if (&a == &b || Overlap(a.rect, b.rect)) continue;
                EXPECT_FALSE(ToPixels(a.rect, units).intersects(ToPixels(b.rect, units)))
                    << a.id << " and " << b.id << " at base units " << units.x << 'x' << units.y;
            }
        }
    }
}

TEST_F(WindowLayout, IsTheTemplateDialogInItsFont) {
    EXPECT_EQ(window.windowTitle(), "KORVANE16");
    const QString family = QFontInfo(window.font()).family();
    EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family.toStdString();
    EXPECT_EQ(window.font().pointSize(), 9);
    // Liberation Sans 9 pt at 96 DPI: 52 letters are 364 px wide, 14 px high.
    ASSERT_EQ(window.Units().x, 7);
    ASSERT_EQ(window.Units().y, 14);
    EXPECT_EQ(window.minimumSize(), QSize(768, 425));
    EXPECT_EQ(window.maximumSize(), QSize(768, 425));
    EXPECT_EQ(window.Control(1017)->geometry(), QRect(166, 28, 62, 18));     // Cam1: 95,16,35,10
    EXPECT_EQ(window.Control(1040)->geometry(), QRect(714, 21, 42, 21));     // Channel: 408,12,24,12
    EXPECT_EQ(window.Control(1104)->geometry(), QRect(32, 161, 105, 105));   // DIV 1 tile: 18,92,60,60
    const QIcon icon = window.windowIcon();
    EXPECT_TRUE(icon.availableSizes().contains(QSize(48, 48)));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(256, 256)));
}

TEST_F(WindowLayout, HasEveryTemplateControlInTemplateOrder) {
    ASSERT_EQ(window.Built().size(), TemplateControls().size());
    int hidden = 0;
    for (std::size_t i = 0; i < TemplateControls().size(); ++i) {
        const ControlSpec& entry = TemplateControls()[i];
        const auto& [builtFrom, widget] = window.Built()[i];
        SCOPED_TRACE(testing::Message() << "template entry " << i << ", id " << entry.id);
        EXPECT_EQ(builtFrom, &entry);
        EXPECT_EQ(widget->parentWidget(), &window);
        EXPECT_TRUE(IsKind(widget, entry.kind)) << "not a " << KindName(entry.kind);
        if (entry.kind != ControlKind::Trackbar) {  // a trackbar shows no caption
            EXPECT_EQ(CaptionOf(widget).toStdString(), std::string(entry.caption));
        }
        EXPECT_EQ(widget->geometry(), ToPixels(entry.rect, window.Units()));
        if (entry.id != kNoId) {
            EXPECT_EQ(window.Control(entry.id), widget);
        }
        // Only the DIV 13 group is hidden and disabled.
        EXPECT_EQ(widget->isVisibleTo(&window), !entry.Hidden());
        EXPECT_EQ(widget->isEnabled(), !entry.IsDisabled());
        hidden += widget->isVisibleTo(&window) ? 0 : 1;
    }
    EXPECT_EQ(hidden, 15);  // the group box, 13 tile boxes and its Apply radio
    EXPECT_FALSE(window.Control(1016)->isVisibleTo(&window));
    // Stacking follows the template too: a group box lies under its controls.
    const QObjectList children = window.children();
    for (std::size_t i = 1; i < window.Built().size(); ++i)
        EXPECT_LT(children.indexOf(window.Built()[i - 1].second), children.indexOf(window.Built()[i].second));
}

TEST_F(WindowLayout, TabVisitsTheTabStopsInTemplateOrder) {
    // Before the start-up selects a radio, the tab stops are the template's.
    std::vector<QWidget*> expected;
    for (const auto& [entry, widget] : window.Built())
        if ((entry->style & style::TabStop) != 0 && !entry->Hidden() && !entry->IsDisabled()) expected.push_back(widget);
    ASSERT_FALSE(expected.empty());
    // The focus starts on the first of them, and Tab goes round them all.
    std::vector<QWidget*> visited{window.focusWidget()};
    for (std::size_t stop = 1; stop <= expected.size(); ++stop) {
        op::Key(window, Qt::Key_Tab);
        visited.push_back(window.focusWidget());
    }
    expected.push_back(expected.front());
    EXPECT_EQ(visited, expected);
    // A selected radio is a stop too.
    window.SetCheck(ids::Pal, 1);
    op::Key(window, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(window.focusWidget(), window.Control(ids::Pal));
}

// Also run at 144 DPI (see CMakeLists.txt).
TEST_F(WindowLayout, NothingOverlapsAndEveryCaptionFits) {
    const QRect client = window.rect();
    const QFontMetrics metrics(window.font());
    for (const auto& [entry, widget] : window.Built()) {
        SCOPED_TRACE(testing::Message() << KindName(entry->kind) << ' ' << entry->id << " \"" << entry->caption << '"');
        EXPECT_TRUE(client.contains(widget->geometry())) << "outside the dialog";
        if (entry->Hidden()) continue;

        // Controls overlap on screen only where the template overlaps them.
        for (const auto& [otherSpec, other] : window.Built()) {
            if (otherSpec == entry || otherSpec->Hidden() || entry->kind == ControlKind::GroupBox ||
                otherSpec->kind == ControlKind::GroupBox || Overlap(entry->rect, otherSpec->rect))
                continue;
            EXPECT_FALSE(widget->geometry().intersects(other->geometry())) << "overlaps " << otherSpec->id;
        }
        // No control covers a group box's caption.
        if (auto* group = dynamic_cast<PanelGroupBox*>(widget)) {
            const QRect caption = group->CaptionRect().translated(group->pos());
            EXPECT_LE(caption.right(), group->geometry().right()) << "caption wider than the box";
            for (const auto& [otherSpec, other] : window.Built()) {
                if (other != widget && !otherSpec->Hidden()) {
                    EXPECT_FALSE(other->geometry().intersects(caption)) << "covered by " << otherSpec->id;
                }
            }
        }

        const QSize size = widget->size();
        switch (entry->kind) {
            case ControlKind::CheckBox:
            case ControlKind::Radio: {
                const bool check = entry->kind == ControlKind::CheckBox;
                QStyleOptionButton option;
                option.initFrom(widget);
                option.text = CaptionOf(widget);
                const QStyle* style = widget->style();
                const QRect box = style->subElementRect(
                    check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &option, widget);
                const QRect contents = style->subElementRect(
                    check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, widget);
                EXPECT_TRUE(widget->rect().contains(box)) << "box clipped";
                EXPECT_LE(metrics.horizontalAdvance(option.text), contents.width()) << "caption clipped";
                EXPECT_LE(metrics.height(), contents.height()) << "caption clipped";
                break;
            }
            case ControlKind::Label:
                EXPECT_LE(widget->sizeHint().width(), size.width()) << "caption clipped";
                EXPECT_LE(widget->sizeHint().height(), size.height()) << "caption clipped";
                break;
            case ControlKind::PushButton: {
                QStyleOptionButton option;
                option.initFrom(widget);
                const QRect contents = widget->style()->subElementRect(QStyle::SE_PushButtonContents, &option, widget);
                EXPECT_LE(metrics.horizontalAdvance(CaptionOf(widget)), contents.width()) << "caption clipped";
                EXPECT_LE(metrics.height(), contents.height()) << "caption clipped";
                break;
            }
            case ControlKind::Trackbar: {
                const QRect thumb = dynamic_cast<PanelTrackbar*>(widget)->ThumbRect();
                EXPECT_TRUE(widget->rect().contains(thumb)) << "thumb clipped: " << thumb.x() << ',' << thumb.y() << ' ' << thumb.width() << 'x' << thumb.height() << " in " << widget->width() << 'x' << widget->height();
                break;
            }
            case ControlKind::Edit: {
                // Room for a two-digit camera number inside the frame.
                auto* edit = qobject_cast<QLineEdit*>(widget);
                const int frame = widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
                const QMargins margins = edit->textMargins();
                EXPECT_LE(metrics.horizontalAdvance("16") + 2 * frame + 4 + margins.left() + margins.right(),
                          size.width());
                EXPECT_LE(metrics.height() + 2 * frame + 2, size.height());
                break;
            }
            case ControlKind::GroupBox: break;
        }
    }
}

}  // namespace
