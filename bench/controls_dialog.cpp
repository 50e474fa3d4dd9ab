// The panel's dialog as the toolkit alone builds it: the template's controls
// (same kinds, captions, places and font) in a plain Qt dialog, without the
// panel's start-up, names for the screen reader or keyboard handling. Beside
// the empty dialog, it is the floor the toolkit itself sets for this window.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "qt/dialog_units.hpp"

namespace {

QString Text(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

QWidget* Build(const ControlSpec& entry, QWidget* parent) {
    const QString caption = Text(entry.caption);
    switch (entry.kind) {
        case ControlKind::GroupBox: return new QGroupBox(caption, parent);
        case ControlKind::Label: return new QLabel(caption, parent);
        case ControlKind::CheckBox: return new QCheckBox(caption, parent);
        case ControlKind::Radio: return new QRadioButton(caption, parent);
        case ControlKind::PushButton: return new QPushButton(caption, parent);
        case ControlKind::Trackbar: return new QSlider(Qt::Horizontal, parent);
        case ControlKind::Edit: return new QLineEdit(parent);
    }
    return new QWidget(parent);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(Text(kDialog.caption));
    QFont font(Text(kDialog.fontFace));
    font.setPointSize(kDialog.fontPoints);
    dialog.setFont(font);
    const BaseUnits units = BaseUnitsOf(dialog.font());
    dialog.setFixedSize(ToPixels(kDialog.rect, units).size());
    for (const ControlSpec& entry : TemplateControls()) {
        QWidget* widget = Build(entry, &dialog);
        widget->setGeometry(ToPixels(entry.rect, units));
        if (entry.Hidden()) widget->hide();
        if (entry.IsDisabled()) widget->setEnabled(false);
    }
    dialog.show();
    return application.exec();
}
