#include "driver/driver_table.hpp"

#include <string>
#include <vector>

#include "platform/diagnostics.hpp"

DriverTable driverTable;

void LoadDriver() {
    const platform::LibrarySearch search = platform::LoadDriverLibrary(kDriverLibraryName);
    for (const platform::PassedOverLibrary& file : search.passedOver)
        platform::TellOperator("driver: passed over " + file.path + ": " + file.reason);
    if (search.library != nullptr)
        platform::TellOperator("driver: loaded " + search.path);
    else
        platform::WarnOperator(std::string("driver: no ") + kDriverLibraryName + " could be loaded (looked " +
                              search.placesSearched + "); nothing reaches a board");
    driverTable.library = search.library;
}

void ResolveDriverEntries() {
    std::vector<std::string> notCode;
#define KORVANE16_DRIVER_ENTRY(name, params, args)                                           \
    {                                                                                        \
        const platform::LibraryEntry entry = platform::FindEntry(driverTable.library, #name); \
        driverTable.name = reinterpret_cast<DriverTable::name##Entry>(entry.address);        \
        if (entry.notCode) notCode.push_back(#name);                                         \
    }
#include "driver/driver_entries.inc"
#undef KORVANE16_DRIVER_ENTRY
    if (notCode.empty()) return;
    std::string names;
    for (std::size_t i = 0; i < notCode.size() && i < 3; ++i) names += (i == 0 ? "" : ", ") + notCode[i];
    if (notCode.size() > 3) names += ", ...";
    platform::TellOperator("driver: " + std::to_string(notCode.size()) + " entry points (" + names +
                           ") are not code of the library's own; they count as missing");
}

void ReleaseDriver() {
    if (DriverLoaded()) platform::ReleaseLibrary(driverTable.library);
    driverTable = DriverTable{};
}
