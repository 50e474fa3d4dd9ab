#include "headless/control_names.hpp"

#include <cctype>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/dialog_template.hpp"
#include "layout/layout_specs.hpp"

namespace {

using NameTable = std::vector<std::pair<std::string, int>>;

std::string LettersAndDigits(std::string_view caption) {
    std::string name;
    for (char c : caption)
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
    return name;
}

std::size_t PlaceOf(std::span<const ControlSpec> controls, int id) {
    std::size_t at = 0;
    while (at < controls.size() && controls[at].id != id) ++at;
    return at;
}

// The caption of the group box a control lies in: the nearest one before it.
std::string_view GroupCaptionOf(std::span<const ControlSpec> controls, int id) {
    for (std::size_t at = PlaceOf(controls, id); at-- > 0;)
        if (controls[at].kind == ControlKind::GroupBox) return controls[at].caption;
    return {};
}

void AddLayoutNames(NameTable& names, std::span<const ControlSpec> controls) {
    for (const LayoutSpec& layout : kLayouts) {
        const std::string group = LettersAndDigits(GroupCaptionOf(controls, layout.tileBoxes[0]));
        names.emplace_back(group + ".apply", layout.applyRadio);
        for (int tile = 0; tile < layout.TileCount(); ++tile)
            names.emplace_back(group + ".tile" + std::to_string(tile + 1), layout.tileBoxes[tile]);
    }
}

std::string_view LabelBeside(std::span<const ControlSpec> controls, std::size_t at) {
    if (at > 0 && controls[at - 1].kind == ControlKind::Label) return controls[at - 1].caption;
    if (at + 1 < controls.size() && controls[at + 1].kind == ControlKind::Label) return controls[at + 1].caption;
    return {};
}

NameTable BuildNames() {
    const std::span<const ControlSpec> controls = TemplateControls();
    NameTable names;
    AddLayoutNames(names, controls);
    const std::size_t layoutNames = names.size();
    for (std::size_t at = 0; at < controls.size(); ++at) {
        const ControlSpec& control = controls[at];
        if (control.id == kNoId) continue;
        bool named = false;
        for (std::size_t i = 0; i < layoutNames; ++i) named = named || names[i].second == control.id;
        if (named) continue;
        const bool ownCaption = control.kind == ControlKind::Radio || control.kind == ControlKind::CheckBox ||
                                control.kind == ControlKind::PushButton;
        const std::string name = LettersAndDigits(ownCaption ? control.caption : LabelBeside(controls, at));
        if (!name.empty()) names.emplace_back(name, control.id);
    }
    return names;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

std::optional<int> ControlIdByName(std::string_view name) {
    static const NameTable names = BuildNames();
    for (const auto& [candidate, id] : names)
        if (SameIgnoringCase(candidate, name)) return id;
    return std::nullopt;
}
