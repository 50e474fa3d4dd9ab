#include "layout/layout_tables.hpp"

#include <array>
#include <string>

#include "driver/driver_table.hpp"
#include "settings/settings_file.hpp"

namespace {

constexpr void FillInitialTable(const LayoutSpec& layout, std::span<TileSpec> records) {
    const int n = layout.TileCount();
    for (int i = 0; i < n; ++i) {
        const TileGeometry& g = layout.tiles[i];
        records[i] = {static_cast<std::uint8_t>(i), {}, g.scale, g.x, g.y, g.width, g.height};
    }
    // The end mark, then unread records with the end mark's size code.
    records[n] = {kEndMark, {}, layout.endMarkScale, 0, 0, 0, 0};
    for (std::size_t i = n + 1; i < records.size(); ++i) records[i] = {0, {}, layout.endMarkScale, 0, 0, 0, 0};
}

template <std::size_t Index>
using Records = std::array<TileSpec, kLayouts[Index].recordCount>;

template <std::size_t Index>
constexpr Records<Index> InitialRecords() {
    Records<Index> records{};
    FillInitialTable(kLayouts[Index], records);
    return records;
}

// One array per layout, each of exactly its layout's record count, in kLayouts
// order, filled before any code runs.
static_assert(kLayouts.size() == 8);
Records<0> table0 = InitialRecords<0>();
Records<1> table1 = InitialRecords<1>();
Records<2> table2 = InitialRecords<2>();
Records<3> table3 = InitialRecords<3>();
Records<4> table4 = InitialRecords<4>();
Records<5> table5 = InitialRecords<5>();
Records<6> table6 = InitialRecords<6>();
Records<7> table7 = InitialRecords<7>();
const std::array<std::span<TileSpec>, 8> kTables{table0, table1, table2, table3, table4, table5, table6, table7};

}  // namespace

LayoutTable TableFor(const LayoutSpec& layout) { return {kTables[&layout - kLayouts.data()]}; }

void ResetLayoutTables() {
    for (std::size_t i = 0; i < kLayouts.size(); ++i) FillInitialTable(kLayouts[i], kTables[i]);
}

void ShowTileChannels(DialogControls& controls, const LayoutSpec& layout) {
    const LayoutTable table = TableFor(layout);
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
    const LayoutTable table = TableFor(*layout);
    const int n = layout->TileCount();
    // Only the low 8 bits of a stored position reach the tile; no range check.
    for (int i = 0; i < n; ++i) table.records[i].channel = static_cast<std::uint8_t>(panelState.positionMap[i]);
    table.records[n].channel = kEndMark;
    ShowTileChannels(controls, *layout);
    SendLayout(*layout);
}

void ResetToDefaultLayout() {
    const LayoutSpec& layout16 = *FindLayout(16);
    const LayoutTable table = TableFor(layout16);
    for (int i = 0; i < 16; ++i) table.records[i].channel = static_cast<std::uint8_t>(i);
    table.records[16].channel = kEndMark;
    for (int i = 0; i < 16; ++i) panelState.positionMap[i] = i;
    panelState.positionMap[16] = kEndMark;
    SendLayout(layout16);
    panelState.layoutCode = 16;
}
