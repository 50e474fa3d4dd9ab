// What a screen reader says for each control of the dialog, made from the
// template's captions and places and from the layout tables, so that nothing
// on the screen changes: the group box a control lies in, the label in front
// of it and the layout its tile box or "Apply" radio belongs to.
#pragma once

#include <QString>

#include "app/dialog_template.hpp"

struct SpokenControl {
    QString name, description;
};

// The name and description of a control that has an identifier.
SpokenControl SpokenFor(const ControlSpec& control);

// The control a label names: the one on its row to its right, else the one
// below it. nullptr when none is.
const ControlSpec* LabelledBy(const ControlSpec& label);
