#include "layout/layout_radios.hpp"

#include "layout/layout_specs.hpp"

namespace {

const LayoutSpec& Layout16() { return *FindLayout(16); }

}  // namespace

void SelectSavedLayoutRadio(DialogControls& controls, LayoutCode code) {
    const LayoutSpec* layout = FindLayout(code);
    controls.SetCheck((layout ? *layout : Layout16()).applyRadio, 1);
}

void SelectDefaultLayoutRadioAlone(DialogControls& controls) {
    const int radio16 = Layout16().applyRadio;
    controls.SetCheck(radio16, 1);
    for (const LayoutSpec& layout : kLayouts)
        if (layout.applyRadio != radio16) controls.SetCheck(layout.applyRadio, 0);
}
