#pragma once

// One binary parameter set: the values of one model's parameters for one compound pair, taken from
// one databank, kept behind a handle.

#include "service/BinaryValues.h"

#include <string>

namespace moru::binary {

// What an InteractionParameterValueObject handle holds.
struct InteractionParameterValueObject {
    service::BinaryPropertyValuePtr Value;
};

// Asks the databank's service for the set. Returns false when the databank does not resolve;
// otherwise true, with `objectHandle` the handle of the set or 0 when the service holds none.
bool GetBinaryIp(const std::string& databaseName, const std::string& databankName, const std::string& modelName,
                 const std::string& compound1Id, const std::string& compound2Id, const std::string& compoundIdsType,
                 bool condensed, int& objectHandle);

// Element count of the set behind the handle; 0 for a handle that holds none.
int NumberOfElements(int objectHandle);

// Writes every element into `parameters` (absent ones as the missing-number marker); 0 without
// writing anything when the handle holds no set.
int Parameters(int objectHandle, double* parameters);

} // namespace moru::binary
