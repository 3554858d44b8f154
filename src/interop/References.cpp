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

// Every search resolves its references through here: no list of parts for what is dropped.
std::optional<DatabankName> SplitDatabankReference(std::string_view reference)
{
    const auto first = reference.find('.');
    if (first == std::string_view::npos) return std::nullopt;
    const auto second = reference.find('.', first + 1);
    return DatabankName{
        std::string(reference.substr(0, first)),
        std::string(reference.substr(first + 1,
                                     second == std::string_view::npos ? std::string_view::npos : second - first - 1))};
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
