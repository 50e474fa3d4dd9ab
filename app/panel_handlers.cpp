// The dialog's handlers: each forwards to the subsystem that does the work.
#include "app/panel_dlg.hpp"

#include "app/launch_options.hpp"
#include "channels/channel_enables.hpp"
#include "channels/picture_attributes.hpp"
#include "layout/layout_editors.hpp"
#include "sequences/board_sequences.hpp"

void CTvPanelDlg::OnShowWindow() { StartUp(Controls(), launchOptions.showPanelFlag); }
void CTvPanelDlg::OnVideoNtsc() { ChangeVideoStandard(Controls(), 0); }
void CTvPanelDlg::OnVideoPal() { ChangeVideoStandard(Controls(), 1); }
void CTvPanelDlg::OnDestroy() { ShutDown(Controls(), launchOptions.showPanelFlag); }

void CTvPanelDlg::OnApplyDiv1() { ApplyLayout(Controls(), 1); }
void CTvPanelDlg::OnApplyDiv4() { ApplyLayout(Controls(), 4); }
void CTvPanelDlg::OnApplyDiv6() { ApplyLayout(Controls(), 6); }
void CTvPanelDlg::OnApplyDiv8() { ApplyLayout(Controls(), 8); }
void CTvPanelDlg::OnApplyDiv9() { ApplyLayout(Controls(), 9); }
void CTvPanelDlg::OnApplyDiv10() { ApplyLayout(Controls(), 10); }
void CTvPanelDlg::OnApplyDiv13() { ApplyLayout(Controls(), 13); }
void CTvPanelDlg::OnApplyDiv16() { ApplyLayout(Controls(), 16); }

void CTvPanelDlg::OnCam1() { CamClicked(Controls(), 0); }
void CTvPanelDlg::OnCam2() { CamClicked(Controls(), 1); }
void CTvPanelDlg::OnCam3() { CamClicked(Controls(), 2); }
void CTvPanelDlg::OnCam4() { CamClicked(Controls(), 3); }
void CTvPanelDlg::OnCam5() { CamClicked(Controls(), 4); }
void CTvPanelDlg::OnCam6() { CamClicked(Controls(), 5); }
void CTvPanelDlg::OnCam7() { CamClicked(Controls(), 6); }
void CTvPanelDlg::OnCam8() { CamClicked(Controls(), 7); }
void CTvPanelDlg::OnCam9() { CamClicked(Controls(), 8); }
void CTvPanelDlg::OnCam10() { CamClicked(Controls(), 9); }
void CTvPanelDlg::OnCam11() { CamClicked(Controls(), 10); }
void CTvPanelDlg::OnCam12() { CamClicked(Controls(), 11); }
void CTvPanelDlg::OnCam13() { CamClicked(Controls(), 12); }
void CTvPanelDlg::OnCam14() { CamClicked(Controls(), 13); }
void CTvPanelDlg::OnCam15() { CamClicked(Controls(), 14); }
void CTvPanelDlg::OnCam16() { CamClicked(Controls(), 15); }
void CTvPanelDlg::OnAllOn() { SwitchAllChannels(Controls(), 1); }
void CTvPanelDlg::OnAllOff() { SwitchAllChannels(Controls(), 0); }

// A handled release notification's result is 0.
void CTvPanelDlg::OnBrightnessReleased(std::intptr_t* r) { SliderReleased(Controls(), PictureAttribute::Brightness); *r = 0; }
void CTvPanelDlg::OnContrastReleased(std::intptr_t* r) { SliderReleased(Controls(), PictureAttribute::Contrast); *r = 0; }
void CTvPanelDlg::OnHueReleased(std::intptr_t* r) { SliderReleased(Controls(), PictureAttribute::Hue); *r = 0; }
void CTvPanelDlg::OnSaturationReleased(std::intptr_t* r) { SliderReleased(Controls(), PictureAttribute::Saturation); *r = 0; }
void CTvPanelDlg::OnChannelUpdate() {}
void CTvPanelDlg::OnChannelChange() { TunedChannelChanged(Controls()); }
void CTvPanelDlg::OnDefault() { RestoreDefaultAttributes(Controls()); }
void CTvPanelDlg::OnSetAll() { SetAllChannelsToSliders(Controls()); }
