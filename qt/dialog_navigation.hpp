// Where the keyboard moves the focus in the dialog, as the native dialog
// manager moves it: over the controls in template order, Tab to the next (or
// previous) tab stop, the arrow keys to the next (or previous) control of the
// group. The controls are given by their index in template order.
#pragma once

#include <cstddef>
#include <functional>

// Whether the control at an index is shown and enabled.
using ControlTest = std::function<bool(std::size_t)>;

// The next tab stop after FROM, going round; FROM when there is none.
std::size_t NextTabStop(std::size_t from, std::size_t count, bool previous, const ControlTest& isTabStop);

// The next reachable control of FROM's group, going round within the group;
// FROM when there is none. A group runs from a group-start control to the
// next; the controls before the first group start belong to the last group,
// since the dialog manager's search goes on past the last control to the first.
std::size_t NextInGroup(std::size_t from, std::size_t count, bool previous, const ControlTest& startsGroup,
                        const ControlTest& isReachable);
