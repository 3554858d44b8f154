#pragma once

// How hosts name databanks in one string: a databank reference ("ALIAS.BANK") or a moniker
// ("ALIAS BANK").

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::interop {

struct DatabankName {
    std::string databaseAlias;
    std::string databankName;
};

// The parts of a name split at every `separator`, empty parts kept: "A..B" gives "A", "", "B".
std::vector<std::string> SplitAtEvery(std::string_view name, char separator);

// "ALIAS.BANK": the parts before and after the first full stop; a further full stop and what
// follows it are ignored. nullopt without a full stop.
std::optional<DatabankName> SplitDatabankReference(std::string_view reference);

// "ALIAS BANK": split at every blank, and exactly two parts (so two blanks in a row do not split).
// nullopt otherwise.
std::optional<DatabankName> SplitMoniker(std::string_view moniker);

std::string MakeMoniker(std::string_view databaseAlias, std::string_view databankName);

} // namespace moru::interop
