#include "app/panel_dlg.hpp"

CTvPanelDlg::CTvPanelDlg(IconHandle icon) : m_hIcon(icon) {}

void CTvPanelDlg::Attach(DialogControls& controls, DialogWindow& window) {
    controls_ = &controls;
    window_ = &window;
}

bool CTvPanelDlg::OnInitDialog() {
    window_->SetIcon(m_hIcon, true);
    window_->SetIcon(m_hIcon, false);
    return true;  // focus goes to the first tab stop
}

int CTvPanelDlg::OnCreate() { return window_->DefaultCreate() == -1 ? -1 : 0; }

void CTvPanelDlg::OnPaint() {
    if (!window_->IsMinimised()) {
        window_->DefaultPaint();
        return;
    }
    // Centre the icon in the minimised window's client area.
    const PixelSize client = window_->ClientSize();
    const PixelSize icon = window_->StandardIconSize();
    window_->PaintIcon(m_hIcon, (client.width - icon.width + 1) / 2, (client.height - icon.height + 1) / 2);
}

IconHandle CTvPanelDlg::OnQueryDragIcon() { return m_hIcon; }
