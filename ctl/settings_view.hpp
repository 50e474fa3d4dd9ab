// The named settings as the file holds them and as the panel will use them,
// and the writes a change of them takes. Values are the stored integers, in
// the order of AllSettings().
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the file holds: one entry per named setting, nullopt for a missing key.
using StoredValues = std::vector<std::optional<std::int32_t>>;

// Reads every named setting's key, one locked access each.
StoredValues ReadStoredValues();

// The values the panel uses after its start-up: a missing key gives its
// default, and a layout that is not one of the eight gives layout 16 with
// tile N showing camera N.
std::vector<std::int32_t> UsedValues(const StoredValues& stored);

// What `list` prints as VALUE for each setting.
std::vector<std::string> ShownValues(const StoredValues& stored);

struct KeyWrite {
    std::size_t setting;  // index in AllSettings()
    std::int32_t value;   // as stored
};

// The writes that carry out ASSIGNMENTS on a file holding STORED. When they
// touch the layout or a tile, every tile the panel would not take as stored
// (its key is missing, or the stored layout is none of the eight) gets the
// panel's default assignment first, and a stored layout that is none of the
// eight becomes the 16 the panel uses: the panel never sends a camera that
// does not exist, and the settings not named keep the values `list` showed.
// The settings in KEPT were named with the value they hold and stay as stored.
std::vector<KeyWrite> PlanWrites(const StoredValues& stored, const std::vector<KeyWrite>& assignments,
                                 const std::vector<std::size_t>& kept = {});

// STORED after WRITES.
StoredValues AfterWrites(StoredValues stored, const std::vector<KeyWrite>& writes);

// "NAME OLD NEW" lines for each setting whose shown value differs.
std::vector<std::string> ChangeLines(const StoredValues& before, const StoredValues& after);
