// Identifiers of the controls the handlers name directly. The layout groups'
// radios and tile boxes are named by the layout table (layout/layout_tables.hpp).
#pragma once

namespace ctl {
inline constexpr int Ntsc = 1001;
inline constexpr int Pal = 1002;
inline constexpr int Cam1 = 1017;  // Cam1..Cam16 are 1017..1032, channel = id - Cam1
inline constexpr int Cam16 = 1032;
inline constexpr int AllOn = 1033;
inline constexpr int AllOff = 1034;
inline constexpr int BrightnessSlider = 1035;
inline constexpr int ContrastSlider = 1036;
inline constexpr int HueSlider = 1037;
inline constexpr int SaturationSlider = 1038;
inline constexpr int ChannelBox = 1040;
inline constexpr int DefaultButton = 1041;
inline constexpr int SetAllButton = 1042;
inline constexpr int ShowApplication = 1043;
}  // namespace ctl
