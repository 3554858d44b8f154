#include "api/References.h"

namespace moru::api {

std::optional<DatabankName> SplitDatabankReference(std::string_view reference)
{
    const auto firstStop = reference.find('.');
    if (firstStop == std::string_view::npos) return std::nullopt;
    const auto rest = reference.substr(firstStop + 1);
    return DatabankName{std::string(reference.substr(0, firstStop)), std::string(rest.substr(0, rest.find('.')))};
}

std::optional<DatabankName> SplitMoniker(std::string_view moniker)
{
    const auto blank = moniker.find(' ');
    if (blank == std::string_view::npos || moniker.find(' ', blank + 1) != std::string_view::npos) return std::nullopt;
    return DatabankName{std::string(moniker.substr(0, blank)), std::string(moniker.substr(blank + 1))};
}

std::string MakeMoniker(std::string_view databaseAlias, std::string_view databankName)
{
    std::string moniker(databaseAlias);
    moniker += ' ';
    moniker += databankName;
    return moniker;
}

} // namespace moru::api
