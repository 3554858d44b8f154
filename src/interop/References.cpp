#include "interop/References.h"

namespace moru::interop {

std::vector<std::string> SplitAtEvery(std::string_view name, char separator)
{
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const auto stop = name.find(separator, start);
        parts.emplace_back(name.substr(start, stop == std::string_view::npos ? std::string_view::npos : stop - start));
        if (stop == std::string_view::npos) return parts;
        start = stop + 1;
    }
}

std::optional<DatabankName> SplitDatabankReference(std::string_view reference)
{
    auto parts = SplitAtEvery(reference, '.');
    if (parts.size() < 2) return std::nullopt;
    return DatabankName{std::move(parts[0]), std::move(parts[1])};
}

std::optional<DatabankName> SplitMoniker(std::string_view moniker)
{
    auto parts = SplitAtEvery(moniker, ' ');
    if (parts.size() != 2) return std::nullopt;
    return DatabankName{std::move(parts[0]), std::move(parts[1])};
}

std::string MakeMoniker(std::string_view databaseAlias, std::string_view databankName)
{
    std::string moniker(databaseAlias);
    moniker += ' ';
    moniker += databankName;
    return moniker;
}

} // namespace moru::interop
