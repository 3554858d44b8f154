#pragma once

// What hosts can read of a database: arrays and buffers whose size the interface fixes instead of
// passing it. A database file is outside input, edited by any tool, so its values are held to this
// one table everywhere: the library refuses a value beyond it before writing anything, `moru-db
// build` refuses a source beyond it, and `moru-db check` reports a database beyond it.

#include <cstddef>
#include <optional>
#include <string>

namespace moru::service {

enum class HostLimit {
    ReactionSpecies,
    EquilibriumConstants,
    SpeciesAliasBytes,
    PropertyNameBytes,
    UnitRows,
    UnaryElements
};

struct HostLimitEntry {
    HostLimit limit;
    std::size_t most;
    const char* counted; // what is counted, as "<count> <counted>"
};

inline constexpr HostLimitEntry kHostLimits[] = {
    {HostLimit::ReactionSpecies, 32, "species in a reaction"},
    {HostLimit::EquilibriumConstants, 16, "equilibrium constants of one kind in a reaction"},
    {HostLimit::SpeciesAliasBytes, 19, "bytes in a species alias"},
    {HostLimit::PropertyNameBytes, 255, "bytes in a property name"},
    {HostLimit::UnitRows, 16, "unit rows of a property"},
    {HostLimit::UnaryElements, 64, "elements in a unary value"},
};

constexpr const HostLimitEntry& EntryOf(HostLimit limit)
{
    for (const auto& entry : kHostLimits) {
        if (entry.limit == limit) return entry;
    }
    return kHostLimits[0];
}

constexpr std::size_t MostOf(HostLimit limit) { return EntryOf(limit).most; }

// Empty when `count` is within the limit; otherwise why not, as "43 species in a reaction; hosts
// read at most 32".
std::optional<std::string> BeyondHostLimit(HostLimit limit, std::size_t count);

// Raises ServiceError with that reason when `count` is beyond the limit.
void CheckHostLimit(HostLimit limit, std::size_t count);

} // namespace moru::service
