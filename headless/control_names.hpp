// The names a harness script may give a control instead of its number. They are
// formed from the dialog template and the layout table, so a control renamed or
// moved there is renamed here too:
//   - a layout group's "Apply" radio and tile boxes: the group's caption, then
//     ".apply" or ".tile" and the tile's number, the first tile 1
//     (DIV4.apply, DIV4.tile1 .. DIV4.tile4);
//   - any other button, check box or radio: its caption (NTSC, PAL, Cam1,
//     AllOn, SetAll, ShowApplication);
//   - a slider or edit box: the label just before it in the template, else the
//     one just after (Brightness, Contrast, Hue, Saturation, Channel).
// A caption or label gives its letters and digits alone ("All on" -> AllOn,
// "Brightness : " -> Brightness); names match whatever their case.
#pragma once

#include <optional>
#include <string_view>

// The identifier of the control named NAME, or nullopt when no control has
// that name.
std::optional<int> ControlIdByName(std::string_view name);
