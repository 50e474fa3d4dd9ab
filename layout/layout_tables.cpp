#include "layout/layout_tables.hpp"

#include <string>

#include "driver/driver_table.hpp"
#include "settings/settings_file.hpp"

namespace {

LayoutTable InitialTable(const LayoutSpec& layout) {
    LayoutTable table{};
    const int n = layout.TileCount();
    for (int i = 0; i < n; ++i) {
        const TileGeometry& g = layout.tiles[i];
        table.records[i] = {static_cast<std::uint8_t>(i), {}, g.scale, g.x, g.y, g.width, g.height};
    }
    // The end mark, then unread records with the end mark's size code.
    table.records[n] = {kEndMark, {}, layout.endMarkScale, 0, 0, 0, 0};
    for (int i = n + 1; i < layout.recordCount; ++i) table.records[i] = {0, {}, layout.endMarkScale, 0, 0, 0, 0};
    return table;
}

std::array<LayoutTable, kLayouts.size()> InitialTables() {
    std::array<LayoutTable, kLayouts.size()> tables{};
    for (std::size_t i = 0; i < kLayouts.size(); ++i) tables[i] = InitialTable(kLayouts[i]);
    return tables;
}

std::array<LayoutTable, kLayouts.size()> layoutTables = InitialTables();

}  // namespace

LayoutTable& TableFor(const LayoutSpec& layout) { return layoutTables[&layout - kLayouts.data()]; }

void ResetLayoutTables() { layoutTables = InitialTables(); }

void ShowTileChannels(DialogControls& controls, const LayoutSpec& layout) {
    const LayoutTable& table = TableFor(layout);
    for (int i = 0; i < layout.TileCount(); ++i)
        controls.SetText(layout.tileBoxes[i], std::to_string(table.records[i].channel + 1));
}

void SendLayout(const LayoutSpec& layout) {
    CallDriver(driverTable.OvrSetDisplayFormatForTV, TableFor(layout).records.data());
}

void RestoreSavedLayout(DialogControls& controls) {
    ReadPositions();
    const LayoutSpec* layout = FindLayout(panelState.layoutCode);
    if (layout == nullptr) {
        ResetToDefaultLayout();
        ShowTileChannels(controls, *FindLayout(16));
        return;
    }
    LayoutTable& table = TableFor(*layout);
    const int n = layout->TileCount();
    // Only the low 8 bits of a stored position reach the tile; no range check.
    for (int i = 0; i < n; ++i) table.records[i].channel = static_cast<std::uint8_t>(panelState.positionMap[i]);
    table.records[n].channel = kEndMark;
    ShowTileChannels(controls, *layout);
    SendLayout(*layout);
}

void ResetToDefaultLayout() {
    const LayoutSpec& layout16 = *FindLayout(16);
    LayoutTable& table = TableFor(layout16);
    for (int i = 0; i < 16; ++i) table.records[i].channel = static_cast<std::uint8_t>(i);
    table.records[16].channel = kEndMark;
    for (int i = 0; i < 16; ++i) panelState.positionMap[i] = i;
    panelState.positionMap[16] = kEndMark;
    SendLayout(layout16);
    panelState.layoutCode = 16;
}
