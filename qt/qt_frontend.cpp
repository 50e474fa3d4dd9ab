#include "qt/qt_frontend.hpp"

#include <utility>

#include "qt/panel_icon.hpp"

QtFrontend::QtFrontend(platform::PanelInstance* instance, std::function<void(QtPanelDialog&)> afterShow)
    : instance_(instance), afterShow_(std::move(afterShow)) {}

IconHandle QtFrontend::LoadAppIcon(int resourceId) { return LoadPanelIcon(resourceId); }

int QtFrontend::RunModal(CTvPanelDlg& dlg) { return RunQtDialog(dlg, afterShow_, instance_); }
