#pragma once

// Converting between a compound's index in its database and its other identifiers, within one
// databank that must hold the compound.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace moru::compounds {

// Takes a compound's name as it is found, before the lookup goes on; false ends the lookup.
using NameDelivery = std::function<bool(const std::string& name)>;

// Name and any identifier of a compound index. The name is handed to `deliverName` first and stays
// delivered when a later step fails. The identifier's value, or nullopt when there is none (always
// without `idType`).
std::optional<std::string> GetIdentifierFromDatabank(std::string_view dbaseName, std::string_view dbankName,
                                                     const std::optional<std::string>& idType, int compid,
                                                     const NameDelivery& deliverName);

// Compound index of an identifier value; nullopt when there is none.
std::optional<int> GetCompidFromIdentifierInDatabank(std::string_view dbaseName, std::string_view dbankName,
                                                     const std::string& idType, const std::string& idValue);

} // namespace moru::compounds
