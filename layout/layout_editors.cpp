// The eight layout editors: the operator types a camera number into each tile
// box of a layout group and presses the group's "Apply" radio.
#include <array>

#include "app/operator_number.hpp"
#include "app/panel_dlg.hpp"
#include "app/window_messages.hpp"
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

void CTvPanelDlg::ApplyLayout(LayoutCode code) {
    if (!DriverLoaded()) return;
    CallDriver(driverTable.OvrEnableAll309CH);

    const LayoutSpec& layout = *FindLayout(code);
    LayoutTable& table = TableFor(layout);
    const int n = layout.TileCount();
    PositionMap newPositions{};
    for (int i = 0; i < n; ++i) {
        // Camera numbers are 1-based; the full value minus one goes to the map,
        // its low 8 bits to the tile.
        const std::int64_t camera = ReadOperatorNumber(Controls().GetText(layout.tileBoxes[i], kTileBoxBuffer));
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
    ShowTileChannels(Controls(), layout);

    // A refused layout leaves the board, the layout code and the tile map as
    // they were.
    if (ShowsOneCameraTwice(table, n)) {
        Controls().ShowMessageBox("Please check input channel!", "WARNING", kMessageBoxWarning);
        return;
    }
    for (int i = 0; i <= n; ++i) panelState.positionMap[i] = newPositions[i];
    SendLayout(layout);
    panelState.layoutCode = n;
}

void CTvPanelDlg::OnApplyDiv1() { ApplyLayout(1); }
void CTvPanelDlg::OnApplyDiv4() { ApplyLayout(4); }
void CTvPanelDlg::OnApplyDiv6() { ApplyLayout(6); }
void CTvPanelDlg::OnApplyDiv8() { ApplyLayout(8); }
void CTvPanelDlg::OnApplyDiv9() { ApplyLayout(9); }
void CTvPanelDlg::OnApplyDiv10() { ApplyLayout(10); }
void CTvPanelDlg::OnApplyDiv13() { ApplyLayout(13); }
void CTvPanelDlg::OnApplyDiv16() { ApplyLayout(16); }
