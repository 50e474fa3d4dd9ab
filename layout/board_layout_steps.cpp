#include "layout/board_layout_steps.hpp"

#include "layout/layout_tables.hpp"

namespace {

const LayoutSpec& Layout16() { return *FindLayout(16); }

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

constexpr LayoutSteps kBoardLayoutSteps{SelectSavedLayoutRadio, RestoreSavedLayout, ResetToDefaultLayout,
                                        SelectDefaultLayoutRadioAlone};

}  // namespace

const LayoutSteps& BoardLayoutSteps() { return kBoardLayoutSteps; }
