// The panel's core names window messages, notifications and styles by their
// Windows values without including windows.h; this checks them against it.
#include <windows.h>
#include <commctrl.h>

#include "app/dialog_template.hpp"
#include "app/window_messages.hpp"
#include "dialog/dialog_controls.hpp"
#include "win32/dialog_template_image.hpp"

static_assert(wm::Create == WM_CREATE && wm::Destroy == WM_DESTROY && wm::Paint == WM_PAINT);
static_assert(wm::ShowWindow == WM_SHOWWINDOW && wm::QueryDragIcon == WM_QUERYDRAGICON);
static_assert(wm::Notify == WM_NOTIFY && wm::Command == WM_COMMAND);
static_assert(notify::BnClicked == BN_CLICKED && notify::EnChange == EN_CHANGE && notify::EnUpdate == EN_UPDATE);
static_assert(notify::NmReleasedCapture == static_cast<int>(NM_RELEASEDCAPTURE));
static_assert(message_box::Ok == MB_OK && message_box::IconExclamation == MB_ICONEXCLAMATION);

static_assert(style::Popup == WS_POPUP && style::Child == WS_CHILD && style::Visible == WS_VISIBLE);
static_assert(style::Disabled == WS_DISABLED && style::Caption == WS_CAPTION && style::Border == WS_BORDER);
static_assert(style::SysMenu == WS_SYSMENU && style::Group == WS_GROUP && style::TabStop == WS_TABSTOP);
static_assert(style::ModalFrame == DS_MODALFRAME && style::SetFont == DS_SETFONT);
static_assert(style::AppWindowEx == WS_EX_APPWINDOW);
static_assert(style::PushButton == BS_PUSHBUTTON && style::AutoCheckBox == BS_AUTOCHECKBOX);
static_assert(style::GroupBox == BS_GROUPBOX && style::AutoRadio == BS_AUTORADIOBUTTON);
static_assert(style::EditAutoHScroll == ES_AUTOHSCROLL && style::LabelLeft == SS_LEFT);
static_assert(style::TrackHorz == TBS_HORZ && style::TrackBoth == TBS_BOTH && style::TrackNoTicks == TBS_NOTICKS);

static_assert(kTrackbarClass == TRACKBAR_CLASSA);
