#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace moru::api {

struct DatabankName {
    std::string databaseAlias;
    std::string databankName;
};

// "ALIAS.BANK": split at full stops; pieces after the second are ignored. nullopt without a full stop.
std::optional<DatabankName> SplitDatabankReference(std::string_view reference);

// "ALIAS BANK": exactly one blank, empty parts kept (so two blanks in a row do not split). nullopt otherwise.
std::optional<DatabankName> SplitMoniker(std::string_view moniker);

std::string MakeMoniker(std::string_view databaseAlias, std::string_view databankName);

} // namespace moru::api
