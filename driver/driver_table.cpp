#include "driver/driver_table.hpp"

DriverTable driverTable;

void ResolveDriverEntries() {
#define KORVANE16_DRIVER_ENTRY(name, params, args) \
    driverTable.name = reinterpret_cast<DriverTable::name##Entry>(platform::FindEntry(driverTable.library, #name));
#include "driver/driver_entries.inc"
#undef KORVANE16_DRIVER_ENTRY
}
