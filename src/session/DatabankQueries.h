#pragma once

// What a databank holds: the compounds with data, its type, the names of its properties.

#include <map>
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

// Handle of the databank's compound collection; 0 on any failure.
int GetIdentifiersOfCompoundsWithData(std::string_view databaseName, std::string_view databankName);

// Fills the type code and the property name table handle; returns the number of entries of the
// service's property list, 0 on failure.
int GetDatabankTypeAndPropertyList(std::string_view databaseName, std::string_view databankName, int& databankTypes,
                                   int& propertyCollectionHandle);

// 1 with the name at `position` copied whole, -1 at or past the end, 0 for a gap or a failure.
int GetNextPropertyName(int propertyCollectionHandle, int position, char* propName);

} // namespace moru::session
