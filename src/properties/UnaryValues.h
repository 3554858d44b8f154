#pragma once

// The simulator's list of all numeric unary values of a compound, read by position, and the typed
// fetch of one value as numbers.

#include "service/Database.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace moru::properties {

// The value type that the typed fetch fills, and the only property data type it reads.
inline constexpr int kValueTypeDoubles = 3;
inline constexpr int kPropertyTypeNumbers = 1;

// The service's values by name, and each name's position, numbered in the order of the service's
// map when the list was made.
struct UnaryPropertyList {
    service::UnaryValueMap values;
    std::map<int, std::string> names;
};

// The list of the compound's values; null when the databank does not resolve or the service returns
// nothing.
std::shared_ptr<UnaryPropertyList> GetAllUnaryPropertyValues_Vanta(std::string_view databaseName,
                                                                   std::string_view databankName, int compoundIndex);

// The name and elements at `position`; null at or past the end. Raises for a negative position
// and for a name or value beyond the host limits.
const service::UnaryValueMap::value_type* UnaryValueAt(const UnaryPropertyList& list, int position);

// The typed fetch: the elements of the value, to be written into the host's array of
// `retvalArraylen` doubles; nullopt when the value is missing, is not numbers of a numeric
// property, is asked for as another value type, or would not fit whole.
std::optional<service::NumericElements> GetPropValueFromDbank(std::string_view dbaseName, std::string_view dbankName,
                                                              const std::string& idType, const std::string& idVal,
                                                              const std::string& propName, int valueType,
                                                              int retvalArraylen);

} // namespace moru::properties
