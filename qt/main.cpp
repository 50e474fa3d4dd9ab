// korvane16: the panel with its desktop dialog.
#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "app/panel_app.hpp"
#include "qt/panel_icon.hpp"
#include "qt/qt_panel_dialog.hpp"

IconHandle LoadIconResource(int resourceId) { return LoadPanelIcon(resourceId); }

int RunModalDialog(CTvPanelDlg& dlg) { return RunQtDialog(dlg); }

namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

int main(int argc, char** argv) {
    // Without a display the toolkit would abort with a long report; say it in one line.
    if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM")) {
        std::fputs("korvane16: no display to show the panel on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "run it on a virtual one with: xvfb-run -a korvane16\n",
                   stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("korvane16"));
    theApp.InitInstance();
    return 0;
}
