#include "qt/dialog_navigation.hpp"

std::size_t NextTabStop(std::size_t from, std::size_t count, bool previous, const ControlTest& isTabStop) {
    for (std::size_t step = 1; step < count; ++step) {
        const std::size_t at = previous ? (from + count - step) % count : (from + step) % count;
        if (isTabStop(at)) return at;
    }
    return from;
}

std::size_t NextInGroup(std::size_t from, std::size_t count, bool previous, const ControlTest& startsGroup,
                        const ControlTest& isReachable) {
    // Goes forward round the controls from FROM. Reaching a group start before
    // FROM's group is left, the search skips on round to FROM and starts again
    // at the start of FROM's group. Going forward, the first reachable control
    // found is the next; going back, the last one found before FROM is.
    std::size_t found = from, at = from;
    std::size_t groupStart = count;
    bool skipping = false;
    for (std::size_t steps = 0; steps < 3 * count; ++steps) {
        at = (at + 1) % count;
        if (startsGroup(at)) {
            groupStart = at;
            skipping = true;
        }
        if (at == from) {
            if (!skipping || groupStart == at) break;
            at = groupStart;
            skipping = false;
        }
        if (!skipping && isReachable(at)) {
            found = at;
            if (!previous) break;
        }
    }
    return found;
}
