#include "app/panel_app.hpp"

#include "app/dialog_template.hpp"
#include "app/frontend.hpp"
#include "app/panel_dlg.hpp"

CTvPanelApp theApp;

bool CTvPanelApp::InitInstance(Frontend& frontend) {
    CTvPanelDlg dlg(frontend.LoadAppIcon(kDialog.iconId));
    frontend.RunModal(dlg);
    return false;
}
