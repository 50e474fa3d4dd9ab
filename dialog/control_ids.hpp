// The identifiers of the dialog's controls: the one list through which the
// panel's code, its message table, its layout tables and its frontends name a
// control. The dialog template places a control under each of these, and the
// application checks at compile time that every name here stands for a control
// of the kind its use needs.
#pragma once

#include <array>

namespace ids {

inline constexpr int Ntsc = 1001;
inline constexpr int Pal = 1002;

// The "Apply" radios of the layout groups, named by their layouts' tile counts.
inline constexpr int ApplyDiv1 = 1008;
inline constexpr int ApplyDiv4 = 1009;
inline constexpr int ApplyDiv6 = 1010;
inline constexpr int ApplyDiv8 = 1011;
inline constexpr int ApplyDiv9 = 1012;
inline constexpr int ApplyDiv10 = 1013;
inline constexpr int ApplyDiv16 = 1014;
inline constexpr int ApplyDiv13 = 1016;

// The Cam boxes: channel n (0..15) has box Cam1 + n.
inline constexpr int Cam1 = 1017;
inline constexpr int Cam16 = 1032;
constexpr int CamBox(int channel) { return Cam1 + channel; }
static_assert(CamBox(15) == Cam16);

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

// The tile boxes of each layout group, tile 0 first.
inline constexpr std::array<int, 1> Div1Tiles{1104};
inline constexpr std::array<int, 4> Div4Tiles{1092, 1093, 1102, 1103};
inline constexpr std::array<int, 6> Div6Tiles{1061, 1111, 1114, 1115, 1116, 1117};
inline constexpr std::array<int, 8> Div8Tiles{1076, 1079, 1083, 1087, 1088, 1089, 1090, 1091};
inline constexpr std::array<int, 9> Div9Tiles{1118, 1119, 1120, 1121, 1122, 1123, 1124, 1125, 1126};
inline constexpr std::array<int, 10> Div10Tiles{1060, 1062, 1068, 1069, 1070, 1071, 1072, 1073, 1074, 1075};
inline constexpr std::array<int, 13> Div13Tiles{1095, 1096, 1097, 1098, 1099, 1100, 1101,
                                                1105, 1106, 1107, 1108, 1109, 1110};
inline constexpr std::array<int, 16> Div16Tiles{1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051,
                                                1052, 1053, 1054, 1055, 1056, 1057, 1058, 1059};

}  // namespace ids
