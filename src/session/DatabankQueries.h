#pragma once

// What a databank holds: the compounds with data, its type, the names of its properties.

#include "service/Database.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace moru::session {

// The property names of a databank by their position in the service's list; a position whose
// entry was empty has no name.
struct PropertyNameTable {
    std::map<int, std::string> names;
    int entryCount = 0;
};

// Databank type codes: which interaction types its properties cover.
enum DatabankTypeCode : int { NoPureOrBinary = 0, PureOnly = 1, BinaryOnly = 2, PureAndBinary = 3 };

// The databank's compounds with data; null when the databank is not listed.
service::CompoundCollectionPtr GetIdentifiersOfCompoundsWithData(std::string_view databaseName,
                                                                 std::string_view databankName);

// The databank's property names, and its type code into `databankTypes`; null on failure, when
// `databankTypes` is left as it was.
std::shared_ptr<PropertyNameTable> GetDatabankTypeAndPropertyList(std::string_view databaseName,
                                                                  std::string_view databankName, int& databankTypes);

// The outcome of reading one position of a property name table.
enum class PropertyNameAt { Name, Gap, PastTheEnd };
// The name at `position` (0 or more) into `name`.
PropertyNameAt GetNextPropertyName(const PropertyNameTable& table, int position, std::string& name);

} // namespace moru::session
