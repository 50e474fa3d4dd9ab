// What puts the panel's dialog on a screen (or on none). Each program hands the
// application object its frontend; the frontend builds the dialog's window from
// the dialog template and runs it.
#pragma once

#include "app/dialog_window.hpp"

class CTvPanelDlg;

class Frontend {
public:
    virtual ~Frontend() = default;

    // The icon resource RESOURCE_ID of the program's own module; a frontend
    // whose platform shows no icon of the program's keeps nullptr. (Not named
    // LoadIcon: windows.h makes that a macro.)
    virtual IconHandle LoadAppIcon(int /*resourceId*/) { return nullptr; }

    // Builds the dialog's window, runs it modally until it ends and destroys
    // it; returns the modal result.
    virtual int RunModal(CTvPanelDlg& dlg) = 0;
};
