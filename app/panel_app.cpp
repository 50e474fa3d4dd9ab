#include "app/panel_app.hpp"

#include "app/panel_dlg.hpp"

CTvPanelApp theApp;

bool CTvPanelApp::InitInstance() {
    CTvPanelDlg dlg;
    m_pMainWnd = &dlg;
    RunModalDialog(dlg);
    m_pMainWnd = nullptr;
    return false;
}
