#include "qt/panel_icon.hpp"

#include <QIcon>

#include "app/dialog_template.hpp"

IconHandle LoadPanelIcon(int resourceId) {
    if (resourceId != kDialog.iconId) return nullptr;
    static QIcon* const icon = [] {
        auto* loaded = new QIcon(QStringLiteral(":/korvane16/korvane16.png"));
        loaded->addFile(QStringLiteral(":/korvane16/korvane16-256.png"));
        return loaded;
    }();
    return icon;
}
