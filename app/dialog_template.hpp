// The panel's dialog: every control with its identifier, kind, caption, place
// and style, in tab order. Every frontend builds its window from this one table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "dialog/control_ids.hpp"

enum class ControlKind { GroupBox, Radio, CheckBox, PushButton, Trackbar, Edit, Label };

// A rectangle in dialog units.
struct DialogRect {
    int x, y, width, height;
};

// Window style bits, with their Windows values so the native frontend can use
// them unchanged.
namespace style {
inline constexpr std::uint32_t Popup = 0x80000000u, Child = 0x40000000u, Visible = 0x10000000u,
                               Disabled = 0x08000000u, Caption = 0x00C00000u, Border = 0x00800000u,
                               SysMenu = 0x00080000u, Group = 0x00020000u, TabStop = 0x00010000u;
inline constexpr std::uint32_t ModalFrame = 0x80u, SetFont = 0x40u, AppWindowEx = 0x00040000u;
inline constexpr std::uint32_t PushButton = 0x0u, AutoCheckBox = 0x3u, GroupBox = 0x7u, AutoRadio = 0x9u;
inline constexpr std::uint32_t EditAutoHScroll = 0x80u, LabelLeft = 0x0u;
inline constexpr std::uint32_t TrackHorz = 0x0u, TrackBoth = 0x8u, TrackNoTicks = 0x10u;
}  // namespace style

inline constexpr int kNoId = -1;

struct ControlSpec {
    int id;  // kNoId for group boxes and labels
    ControlKind kind;
    std::string_view caption;
    DialogRect rect;
    std::uint32_t style;

    constexpr bool GroupStart() const { return (style & style::Group) != 0; }
    constexpr bool Hidden() const { return (style & style::Visible) == 0; }
    constexpr bool IsDisabled() const { return (style & style::Disabled) != 0; }
};

struct DialogSpec {
    int templateId;
    int iconId;
    std::string_view caption;
    DialogRect rect;
    std::string_view fontFace;
    int fontPoints;
    std::uint32_t style;
    std::uint32_t exStyle;
};

inline constexpr DialogSpec kDialog{
    102, 128, "KORVANE16", {0, 0, 439, 243}, "Arial", 9,
    style::Popup | style::Visible | style::Caption | style::SysMenu | style::ModalFrame | style::SetFont,
    style::AppWindowEx};

namespace detail {
enum Flags : unsigned { None = 0, StartsGroup = 1, HiddenDisabled = 2 };

constexpr std::uint32_t StyleOf(ControlKind kind, unsigned flags) {
    std::uint32_t s = style::Child | style::Visible;
    switch (kind) {
        case ControlKind::GroupBox: s |= style::GroupBox; break;
        case ControlKind::Radio: s |= style::AutoRadio; break;
        case ControlKind::CheckBox: s |= style::TabStop | style::AutoCheckBox; break;
        case ControlKind::PushButton: s |= style::TabStop | style::PushButton; break;
        case ControlKind::Trackbar: s |= style::TabStop | style::TrackHorz | style::TrackBoth | style::TrackNoTicks; break;
        case ControlKind::Edit: s |= style::Border | style::TabStop | style::EditAutoHScroll; break;
        case ControlKind::Label: s |= style::Group | style::LabelLeft; break;
    }
    if (flags & StartsGroup) s |= style::Group;
    if (flags & HiddenDisabled) s = (s & ~style::Visible) | style::Disabled;
    return s;
}

constexpr ControlSpec Make(int id, ControlKind kind, std::string_view caption, DialogRect rect, unsigned flags = None) {
    return {id, kind, caption, rect, StyleOf(kind, flags)};
}
constexpr ControlSpec GroupBox(std::string_view caption, DialogRect r, unsigned f = None) {
    return Make(kNoId, ControlKind::GroupBox, caption, r, f);
}
constexpr ControlSpec Label(std::string_view caption, DialogRect r) { return Make(kNoId, ControlKind::Label, caption, r); }
constexpr ControlSpec Radio(int id, std::string_view caption, DialogRect r, unsigned f = None) {
    return Make(id, ControlKind::Radio, caption, r, f);
}
constexpr ControlSpec Check(int id, std::string_view caption, DialogRect r) {
    return Make(id, ControlKind::CheckBox, caption, r);
}
constexpr ControlSpec Button(int id, std::string_view caption, DialogRect r) {
    return Make(id, ControlKind::PushButton, caption, r);
}
constexpr ControlSpec Slider(int id, std::string_view caption, DialogRect r) {
    return Make(id, ControlKind::Trackbar, caption, r);
}
constexpr ControlSpec Edit(int id, DialogRect r, unsigned f = None) { return Make(id, ControlKind::Edit, "", r, f); }
constexpr ControlSpec Tile(int id, int x, int y, int side, unsigned f = None) { return Edit(id, {x, y, side, side}, f); }
}  // namespace detail

// In tab order.
inline constexpr ControlSpec kDialogControls[] = {
    detail::GroupBox("Video format", {6, 4, 78, 28}),
    detail::Radio(ids::Ntsc, "NTSC", {11, 18, 31, 10}, detail::StartsGroup),
    detail::Radio(ids::Pal, "PAL", {53, 19, 26, 10}),

    detail::GroupBox("Video enable", {89, 5, 201, 61}),
    detail::Check(ids::CamBox(0), "Cam1", {95, 16, 35, 10}),
    detail::Check(ids::CamBox(1), "Cam2", {95, 28, 35, 10}),
    detail::Check(ids::CamBox(2), "Cam3", {95, 41, 35, 10}),
    detail::Check(ids::CamBox(3), "Cam4", {95, 54, 35, 10}),
    detail::Check(ids::CamBox(4), "Cam5", {133, 17, 35, 10}),
    detail::Check(ids::CamBox(5), "Cam6", {133, 29, 35, 10}),
    detail::Check(ids::CamBox(6), "Cam7", {133, 41, 35, 10}),
    detail::Check(ids::CamBox(7), "Cam8", {133, 53, 35, 10}),
    detail::Check(ids::CamBox(8), "Cam9", {174, 17, 35, 10}),
    detail::Check(ids::CamBox(9), "Cam10", {174, 30, 35, 10}),
    detail::Check(ids::CamBox(10), "Cam11", {174, 42, 35, 10}),
    detail::Check(ids::CamBox(11), "Cam12", {174, 54, 35, 10}),
    detail::Check(ids::CamBox(12), "Cam13", {217, 18, 35, 10}),
    detail::Check(ids::CamBox(13), "Cam14", {217, 30, 35, 10}),
    detail::Check(ids::CamBox(14), "Cam15", {217, 42, 35, 10}),
    detail::Check(ids::CamBox(15), "Cam16", {217, 54, 35, 10}),
    detail::Button(ids::AllOn, "All on", {256, 20, 30, 11}),
    detail::Button(ids::AllOff, "All off", {256, 39, 30, 11}),

    detail::GroupBox("Attribute", {294, 5, 142, 61}),
    detail::Label("Brightness : ", {302, 23, 40, 8}),
    detail::Slider(ids::BrightnessSlider, "Slider1", {298, 35, 50, 8}),
    detail::Label("Contrast : ", {355, 23, 33, 8}),
    detail::Slider(ids::ContrastSlider, "Slider2", {351, 34, 50, 8}),
    detail::Label("HUE : ", {303, 45, 22, 8}),
    detail::Slider(ids::HueSlider, "Slider3", {299, 55, 50, 8}),
    detail::Label("Saturation : ", {355, 44, 38, 8}),
    detail::Slider(ids::SaturationSlider, "Slider4", {351, 55, 50, 8}),
    detail::Edit(ids::ChannelBox, {408, 12, 24, 12}),
    detail::Label("Channel : ", {373, 13, 33, 8}),
    detail::Button(ids::DefaultButton, "Default", {403, 32, 30, 11}),
    detail::Button(ids::SetAllButton, "Set all", {403, 50, 30, 11}),

    detail::GroupBox("Application setting", {6, 37, 78, 28}),
    detail::Check(ids::ShowApplication, "Show application.", {11, 49, 68, 10}),

    detail::GroupBox("DIV 16", {237, 158, 84, 83}),
    detail::Tile(ids::Div16Tiles[0], 249, 179, 15), detail::Tile(ids::Div16Tiles[1], 264, 179, 15),
    detail::Tile(ids::Div16Tiles[2], 278, 179, 15), detail::Tile(ids::Div16Tiles[3], 293, 179, 15),
    detail::Tile(ids::Div16Tiles[4], 249, 193, 15), detail::Tile(ids::Div16Tiles[5], 264, 193, 15),
    detail::Tile(ids::Div16Tiles[6], 278, 193, 15), detail::Tile(ids::Div16Tiles[7], 293, 193, 15),
    detail::Tile(ids::Div16Tiles[8], 249, 208, 15), detail::Tile(ids::Div16Tiles[9], 264, 208, 15),
    detail::Tile(ids::Div16Tiles[10], 278, 208, 15), detail::Tile(ids::Div16Tiles[11], 293, 208, 15),
    detail::Tile(ids::Div16Tiles[12], 249, 223, 15), detail::Tile(ids::Div16Tiles[13], 264, 223, 15),
    detail::Tile(ids::Div16Tiles[14], 278, 223, 15), detail::Tile(ids::Div16Tiles[15], 293, 223, 15),

    detail::GroupBox("DIV 10", {122, 158, 84, 83}),
    detail::Tile(ids::Div10Tiles[0], 134, 179, 30), detail::Tile(ids::Div10Tiles[1], 164, 179, 30),
    detail::Tile(ids::Div10Tiles[2], 134, 209, 15), detail::Tile(ids::Div10Tiles[3], 149, 209, 15),
    detail::Tile(ids::Div10Tiles[4], 164, 209, 15), detail::Tile(ids::Div10Tiles[5], 179, 209, 15),
    detail::Tile(ids::Div10Tiles[6], 134, 224, 15), detail::Tile(ids::Div10Tiles[7], 149, 224, 15),
    detail::Tile(ids::Div10Tiles[8], 164, 224, 15), detail::Tile(ids::Div10Tiles[9], 179, 224, 15),

    detail::GroupBox("DIV 8", {350, 70, 84, 83}),
    detail::Tile(ids::Div8Tiles[0], 362, 91, 45), detail::Tile(ids::Div8Tiles[1], 407, 91, 15),
    detail::Tile(ids::Div8Tiles[2], 407, 106, 15), detail::Tile(ids::Div8Tiles[3], 407, 120, 15),
    detail::Tile(ids::Div8Tiles[4], 362, 136, 15), detail::Tile(ids::Div8Tiles[5], 377, 136, 15),
    detail::Tile(ids::Div8Tiles[6], 392, 136, 15), detail::Tile(ids::Div8Tiles[7], 407, 136, 15),

    detail::GroupBox("DIV 4", {123, 70, 84, 85}),
    detail::Tile(ids::Div4Tiles[0], 133, 91, 30), detail::Tile(ids::Div4Tiles[1], 164, 91, 30),
    detail::Tile(ids::Div4Tiles[2], 133, 122, 30), detail::Tile(ids::Div4Tiles[3], 164, 122, 30),

    detail::GroupBox("DIV 1", {7, 70, 86, 85}),
    detail::Tile(ids::Div1Tiles[0], 18, 92, 60),

    detail::GroupBox("DIV 6", {237, 70, 84, 84}),
    detail::Tile(ids::Div6Tiles[0], 247, 91, 40), detail::Tile(ids::Div6Tiles[1], 288, 91, 20),
    detail::Tile(ids::Div6Tiles[2], 288, 111, 20), detail::Tile(ids::Div6Tiles[3], 247, 132, 20),
    detail::Tile(ids::Div6Tiles[4], 267, 132, 20), detail::Tile(ids::Div6Tiles[5], 288, 132, 20),

    detail::GroupBox("DIV 9", {7, 158, 86, 83}),
    detail::Tile(ids::Div9Tiles[0], 18, 176, 20), detail::Tile(ids::Div9Tiles[1], 39, 176, 20), detail::Tile(ids::Div9Tiles[2], 60, 176, 20),
    detail::Tile(ids::Div9Tiles[3], 18, 197, 20), detail::Tile(ids::Div9Tiles[4], 39, 197, 20), detail::Tile(ids::Div9Tiles[5], 60, 197, 20),
    detail::Tile(ids::Div9Tiles[6], 18, 217, 20), detail::Tile(ids::Div9Tiles[7], 39, 217, 20), detail::Tile(ids::Div9Tiles[8], 60, 217, 20),

    detail::GroupBox("DIV 13", {350, 158, 85, 83}, detail::HiddenDisabled),
    detail::Tile(ids::Div13Tiles[0], 364, 179, 30, detail::HiddenDisabled),
    detail::Tile(ids::Div13Tiles[1], 395, 179, 15, detail::HiddenDisabled),
    detail::Tile(ids::Div13Tiles[2], 410, 179, 15, detail::HiddenDisabled),
    detail::Tile(ids::Div13Tiles[3], 395, 193, 15, detail::HiddenDisabled),
    detail::Tile(ids::Div13Tiles[4], 410, 193, 15, detail::HiddenDisabled),
    detail::Tile(ids::Div13Tiles[5], 364, 209, 15, detail::HiddenDisabled),
    detail::Tile(ids::Div13Tiles[6], 379, 209, 15, detail::HiddenDisabled),
    detail::Tile(ids::Div13Tiles[7], 395, 209, 15, detail::HiddenDisabled),
    detail::Tile(ids::Div13Tiles[8], 410, 209, 15, detail::HiddenDisabled),
    detail::Tile(ids::Div13Tiles[9], 364, 224, 15, detail::HiddenDisabled),
    detail::Tile(ids::Div13Tiles[10], 379, 224, 15, detail::HiddenDisabled),
    detail::Tile(ids::Div13Tiles[11], 395, 224, 15, detail::HiddenDisabled),
    detail::Tile(ids::Div13Tiles[12], 410, 224, 15, detail::HiddenDisabled),

    // The eight "Apply" radios form one radio group, starting at the "DIV 1" one.
    detail::Radio(ids::ApplyDiv1, "Apply", {19, 80, 35, 10}, detail::StartsGroup),
    detail::Radio(ids::ApplyDiv4, "Apply", {133, 79, 35, 10}),
    detail::Radio(ids::ApplyDiv6, "Apply", {246, 79, 35, 10}),
    detail::Radio(ids::ApplyDiv8, "Apply", {361, 80, 35, 10}),
    detail::Radio(ids::ApplyDiv9, "Apply", {17, 166, 35, 10}),
    detail::Radio(ids::ApplyDiv10, "Apply", {134, 167, 39, 10}),
    detail::Radio(ids::ApplyDiv16, "Apply", {249, 167, 39, 10}),
    detail::Radio(ids::ApplyDiv13, "Apply", {363, 166, 39, 10}, detail::HiddenDisabled),
};

inline constexpr std::span<const ControlSpec> TemplateControls() { return kDialogControls; }

// The control with this identifier (a copy, so it also serves compile-time
// checks), or nullopt.
constexpr std::optional<ControlSpec> FindControl(int id) {
    if (id == kNoId) return std::nullopt;
    for (const ControlSpec& c : kDialogControls)
        if (c.id == id) return c;
    return std::nullopt;
}

// The controls of the group the control ID belongs to: from the nearest
// group-start control at or before it to the next group start (hidden ones
// included). An operator click on an automatic radio clears the other radios
// of this span.
constexpr std::span<const ControlSpec> GroupOf(int id) {
    const std::span<const ControlSpec> all = TemplateControls();
    std::size_t at = 0;
    while (at < all.size() && all[at].id != id) ++at;
    if (at == all.size()) return {};
    std::size_t first = at;
    while (first > 0 && !all[first].GroupStart()) --first;
    std::size_t end = at + 1;
    while (end < all.size() && !all[end].GroupStart()) ++end;
    return all.subspan(first, end - first);
}
