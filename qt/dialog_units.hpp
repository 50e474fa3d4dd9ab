// Dialog units to pixels, as a Windows dialog converts its template: the base
// units come from the dialog font (the average width of the 52 letters A-Z a-z,
// and the font height), 4 horizontal and 8 vertical dialog units per base unit.
#pragma once

#include <QFont>
#include <QRect>

#include "app/dialog_template.hpp"

struct BaseUnits {
    int x = 0, y = 0;
};

// Multiplies and divides, rounding half away from zero, as the Windows MulDiv does.
int MulDiv(int number, int numerator, int denominator);

BaseUnits BaseUnitsOf(const QFont& font);

// The edges are converted, not the width and height: rectangles that touch in
// the template touch on screen too, whatever the rounding.
QRect ToPixels(const DialogRect& rect, BaseUnits units);
