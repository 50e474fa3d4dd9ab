#include "app/panel_app.hpp"

#include "app/panel_dlg.hpp"

CTvPanelApp theApp;

bool CTvPanelApp::InitInstance() {
    CTvPanelDlg dlg;
    RunModalDialog(dlg);
    return false;
}
