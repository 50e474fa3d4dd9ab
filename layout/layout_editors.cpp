#include "layout/layout_editors.hpp"

#include <array>

#include "dialog/operator_number.hpp"
#include "driver/driver_table.hpp"
#include "layout/layout_tables.hpp"

namespace {

// A tile box is read into a buffer of 5 characters: at most 4 are taken.
constexpr int kTileBoxBuffer = 5;

bool ShowsOneCameraTwice(const LayoutTable& table, int tileCount) {
    std::array<int, 256> seen{};
    for (int i = 0; i < tileCount; ++i)
        if (++seen[table.records[i].channel] == 2) return true;
    return false;
}

}  // namespace

void ApplyLayout(DialogControls& controls, LayoutCode code) {
    if (!DriverLoaded()) return;
    CallDriver(driverTable.OvrEnableAll309CH);

    const LayoutSpec& layout = *FindLayout(code);
    const LayoutTable table = TableFor(layout);
    const int n = layout.TileCount();
    PositionMap newPositions{};
    for (int i = 0; i < n; ++i) {
        // Camera numbers are 1-based; the full value minus one goes to the map,
        // its low 8 bits to the tile.
        const std::int64_t camera = ReadOperatorNumber(controls.GetText(layout.tileBoxes[i], kTileBoxBuffer));
        newPositions[i] = static_cast<std::int32_t>(camera - 1);
        table.records[i].channel = static_cast<std::uint8_t>(camera - 1);
    }
    for (int i = 0; i < n; ++i) {
        if (table.records[i].channel > 15) {
            table.records[i].channel = layout.fallbackChannels[i];
            newPositions[i] = layout.fallbackChannels[i];
        }
    }
    table.records[n].channel = kEndMark;
    newPositions[n] = kEndMark;
    ShowTileChannels(controls, layout);

    // A refused layout leaves the board, the layout code and the tile map as
    // they were.
    if (ShowsOneCameraTwice(table, n)) {
        controls.ShowMessageBox("Please check input channel!", "WARNING",
                                message_box::Ok | message_box::IconExclamation);
        return;
    }
    for (int i = 0; i <= n; ++i) panelState.positionMap[i] = newPositions[i];
    SendLayout(layout);
    panelState.layoutCode = n;
}
