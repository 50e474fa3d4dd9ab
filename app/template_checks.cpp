// Compile-time proof that the named control identifiers, the layout tables and
// the dialog template agree: every name stands for a control of the kind its
// use needs, and every control of the template has a name.
#include <array>
#include <optional>

#include "app/dialog_template.hpp"
#include "dialog/control_ids.hpp"
#include "layout/layout_specs.hpp"

namespace {

struct NamedControl {
    int id;
    ControlKind kind;
};

constexpr auto NamedControls() {
    std::array<NamedControl, 36> named{{
        {ids::Ntsc, ControlKind::Radio},
        {ids::Pal, ControlKind::Radio},
        {ids::AllOn, ControlKind::PushButton},
        {ids::AllOff, ControlKind::PushButton},
        {ids::BrightnessSlider, ControlKind::Trackbar},
        {ids::ContrastSlider, ControlKind::Trackbar},
        {ids::HueSlider, ControlKind::Trackbar},
        {ids::SaturationSlider, ControlKind::Trackbar},
        {ids::ChannelBox, ControlKind::Edit},
        {ids::DefaultButton, ControlKind::PushButton},
        {ids::SetAllButton, ControlKind::PushButton},
        {ids::ShowApplication, ControlKind::CheckBox},
        {ids::ApplyDiv1, ControlKind::Radio},
        {ids::ApplyDiv4, ControlKind::Radio},
        {ids::ApplyDiv6, ControlKind::Radio},
        {ids::ApplyDiv8, ControlKind::Radio},
        {ids::ApplyDiv9, ControlKind::Radio},
        {ids::ApplyDiv10, ControlKind::Radio},
        {ids::ApplyDiv13, ControlKind::Radio},
        {ids::ApplyDiv16, ControlKind::Radio},
    }};
    for (int channel = 0; channel < 16; ++channel) named[20 + channel] = {ids::CamBox(channel), ControlKind::CheckBox};
    return named;
}

constexpr bool IsA(int id, ControlKind kind) {
    const std::optional<ControlSpec> control = FindControl(id);
    return control && control->kind == kind;
}

constexpr bool NamedControlsAreInTheTemplate() {
    for (const NamedControl& c : NamedControls())
        if (!IsA(c.id, c.kind)) return false;
    return true;
}
static_assert(NamedControlsAreInTheTemplate());

// The layout table names the dialog's controls by id; the dialog template
// says what they are. Both must agree, or an editor reads the wrong box.
constexpr bool LayoutsAgreeWithTheDialogTemplate() {
    for (const LayoutSpec& layout : kLayouts) {
        const std::optional<ControlSpec> radio = FindControl(layout.applyRadio);
        if (!radio || radio->kind != ControlKind::Radio) return false;
        for (int i = 0; i < layout.TileCount(); ++i) {
            const std::optional<ControlSpec> box = FindControl(layout.tileBoxes[i]);
            if (!box || box->kind != ControlKind::Edit || box->Hidden() != radio->Hidden()) return false;
            if (layout.fallbackChannels[i] > 15) return false;
            // Distinct fallbacks: a group whose boxes were never filled applies.
            for (int j = 0; j < i; ++j)
                if (layout.fallbackChannels[j] == layout.fallbackChannels[i]) return false;
        }
    }
    return true;
}
static_assert(LayoutsAgreeWithTheDialogTemplate());

// Every control with an identifier is one of the named ones or a tile box of a
// layout: no identifier stands in the template alone.
constexpr bool EveryTemplateControlIsNamed() {
    int named = static_cast<int>(NamedControls().size());
    for (const LayoutSpec& layout : kLayouts) named += layout.TileCount();
    int withId = 0;
    for (const ControlSpec& control : kDialogControls) withId += control.id != kNoId ? 1 : 0;
    return named == withId;
}
static_assert(EveryTemplateControlIsNamed());

}  // namespace
