#include "qt/panel_icon.hpp"

#include <QIcon>
#include <QImageReader>
#include <QPixmap>

#include "app/dialog_template.hpp"

namespace {

// Read as PNG by name: the toolkit's own reader, without its search through
// every image plug-in (loaded for nothing before the first frame otherwise).
QPixmap Png(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace

IconHandle LoadPanelIcon(int resourceId) {
    if (resourceId != kDialog.iconId) return nullptr;
    static QIcon* const icon = [] {
        auto* loaded = new QIcon(Png(QStringLiteral(":/korvane16/korvane16.png")));
        loaded->addPixmap(Png(QStringLiteral(":/korvane16/korvane16-256.png")));
        return loaded;
    }();
    return icon;
}
