// The desktop frontend: the panel's dialog as a Qt window with the panel's icon.
#pragma once

#include <functional>

#include "app/frontend.hpp"
#include "qt/qt_panel_dialog.hpp"

class QtFrontend : public Frontend {
public:
    // INSTANCE and AFTER_SHOW as RunQtDialog takes them.
    explicit QtFrontend(platform::PanelInstance* instance = nullptr,
                        std::function<void(QtPanelDialog&)> afterShow = {});

    IconHandle LoadAppIcon(int resourceId) override;
    int RunModal(CTvPanelDlg& dlg) override;

private:
    platform::PanelInstance* instance_;
    std::function<void(QtPanelDialog&)> afterShow_;
};
