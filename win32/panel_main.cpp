// KORVANE16.exe: the panel on a native Windows dialog.
#include <windows.h>

#include "app/dialog_template.hpp"
#include "app/panel_app.hpp"
#include "win32/resource_ids.h"
#include "win32/win32_dialog.hpp"

static_assert(KORVANE16_ICON_RESOURCE == kDialog.iconId, "the resource script's icon is the dialog's icon");

IconHandle LoadIconResource(int resourceId) {
    return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId));
}

int RunModalDialog(CTvPanelDlg& dlg) {
    Win32Dialog dialog(dlg);
    return static_cast<int>(dialog.RunModal());
}

// The settings lock already exists here: it is created during static
// initialisation, before any window.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    theApp.InitInstance();
    return 0;
}
