#pragma once

// The simulation engine's one-pass fetch of scalar and vector values for the loaded bulk lists,
// each value tagged with positions in the engine's lists.

#include "service/Bulk.h"

#include <map>
#include <memory>
#include <vector>

namespace moru::bulk {

using namespace moru::service;

// What a value handle holds: the values by combined key, and the keys in position order.
struct EngineValueTable {
    std::vector<int> keys;
    EngineValueMap values;
    int propertyCount = 0; // the P of the combined keys
};

// Fetches every scalar (or vector) value of the found compounds and the listed properties, one
// service call per run of databanks; sets `handle` and returns the number of values. 0 with
// handle 0 before the lists and compounds are loaded, for an empty source list, when a combined
// key would not fit a signed 32-bit integer, or on a service failure.
int GetAllScalarPropertyValues(int& handle);
int GetAllVectorPropertyValues(int& handle);

// The value at `position`: 1; -1 at or past the end; 0 on any other failure.
int GetNextScalarPropertyValue(int handle, int position, int& databankPosition, int& compoundPosition,
                               int& propertyPosition, double& value);
// Writes element k at index k, an absent one as the missing-number marker, and the property's
// element count to `valueSize`.
int GetNextVectorPropertyValue(int handle, int position, int& valueSize, int& databankPosition,
                               int& compoundPosition, int& propertyPosition, double* value);

} // namespace moru::bulk
