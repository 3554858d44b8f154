#pragma once

// The simulator's list of all numeric unary values of a compound, read by position, and the typed
// fetch of one value into the host's array of doubles.

#include "service/Database.h"

#include "MoruIntegration.h"

#include <map>
#include <string>
#include <string_view>

namespace moru::properties {

using namespace moru::service;

// The value type that the typed fetch fills, and the only property data type it reads.
inline constexpr int kValueTypeDoubles = 3;
inline constexpr int kPropertyTypeNumbers = 1;

// The service's values by name, and each name's position, numbered in the order of the service's
// map when the list was made.
struct UnaryPropertyList {
    UnaryValueMap values;
    std::map<int, std::string> names;
};

// The number of values, with `objectHandle` set to the list; 0 (handle 0) when the databank does
// not resolve or the service returns nothing.
int GetAllUnaryPropertyValues_Vanta(std::string_view databaseName, std::string_view databankName, int compoundIndex,
                                    int& objectHandle);

// 1 with the name and values at `position`; -1 at or past the end; 0 for any other failure: with
// nothing written for a name or value beyond the host limits, after the name, size and the
// elements before it for an absent element.
int GetNextUnaryPropertyValue(int objectHandle, int position, char* propName, int& valueSize,
                              double* propertyValues);

// The typed fetch: whether `retvals` received the value.
bool GetPropValueFromDbank(std::string_view dbaseName, std::string_view dbankName, const std::string& idType,
                           const std::string& idVal, const std::string& propName, int valueType, double* retvals,
                           int retvalArraylen);

bool GetPropValueFromDatabank(const IDatabank& databank, const std::string& idType, const std::string& idVal,
                              const std::string& propName, int valueType, double* retvals, int retvalArraylen);

// Writes a value into the host's array of `retvalArraylen` doubles; absent elements as the missing
// number. Nothing is written unless the whole value fits.
bool FillResultsFromResultObject(const PropertyValue& value, int valueType, double* retvals, int retvalArraylen);

} // namespace moru::properties
