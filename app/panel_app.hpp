// The application object: its whole life is one modal run of the panel's dialog.
#pragma once

class CTvPanelDlg;

class CTvPanelApp {
public:
    // Runs the dialog modally and returns false, so the process ends as soon as
    // the dialog has closed, whatever its result.
    bool InitInstance();
};

extern CTvPanelApp theApp;

// Builds the dialog's window from the dialog template, runs it modally until it
// ends and destroys it. Defined by each frontend; returns the modal result.
int RunModalDialog(CTvPanelDlg& dlg);
