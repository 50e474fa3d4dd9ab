// The driver library handle and its resolved entry points. Valid from the load
// at start-up to the release at shut-down; the handle gates all board work.
#pragma once

#include <cstdint>

#include "driver/driver_call.hpp"
#include "driver/tile_spec.hpp"
#include "platform/dynamic_library.hpp"

inline constexpr const char* kDriverLibraryName = "TAVRIND.dll";

struct DriverTable {
    platform::LibraryHandle library = nullptr;

#define KORVANE16_DRIVER_ENTRY(name, params, args)              \
    using name##Entry = std::int32_t(KORVANE16_DRIVER_CALL*) params; \
    name##Entry name = nullptr;
#include "driver/driver_entries.inc"
#undef KORVANE16_DRIVER_ENTRY
};

inline constexpr int kDriverEntryCount = 0
#define KORVANE16_DRIVER_ENTRY(name, params, args) +1
#include "driver/driver_entries.inc"
#undef KORVANE16_DRIVER_ENTRY
    ;
static_assert(kDriverEntryCount == 53);

extern DriverTable driverTable;

inline bool DriverLoaded() { return driverTable.library != nullptr; }

// Loads the driver library into the table and says on standard error which
// file it loaded, which it passed over and why, or that none could be loaded.
void LoadDriver();

// Looks every entry point up by name; one the library lacks, or exports as
// something other than code of its own, stays empty (the latter is said).
void ResolveDriverEntries();

// Releases the library, when one is loaded, and empties the table.
void ReleaseDriver();

// Calls the entry point unless the library lacks it: no call ever goes through
// an empty entry. The driver's result is never looked at.
template <typename Entry, typename... Args>
void CallDriver(Entry entry, Args... args) {
    if (entry != nullptr) entry(args...);
}
