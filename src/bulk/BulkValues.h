#pragma once

// The simulation engine's one-pass fetch of scalar, vector and binary values for the loaded bulk
// lists, each value tagged with positions in the engine's lists.

#include "bulk/BulkLists.h"
#include "bulk/EngineKeys.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace moru::bulk {

// One value of the engine: the position of its databank in the source list, and its elements by
// label, ascending. An absent element has no entry. A unary value's element k has label k + 1.
struct EnginePropertyValue {
    int DatabankPosition = 0;
    std::map<int, double> Values;
};
using EnginePropertyValuePtr = std::shared_ptr<const EnginePropertyValue>;
// Engine values by combined key (see EngineKeys).
using EngineValueMap = std::map<int, EnginePropertyValuePtr>;

// How a binary value of one property is laid out: per element, its labels for the two compound
// orders and its symmetry code (-1 for every element of a unary property).
struct BinaryLayout {
    int elementCount = 0;
    std::vector<int> labelIJ, labelJI, symmetry;
};

// What a value handle holds: the values by combined key, and the keys in position order.
struct EngineValueTable {
    std::vector<int> keys;
    EngineValueMap values;
    std::optional<EngineKeys> format;

    // The property descriptions of the load the values were fetched in; never those of a later
    // load, whose properties at the same positions may have other sizes.
    std::shared_ptr<const LoadDescriptions> load;
    // Layouts by property position, read from `describedBy` when first needed, so that a pass does
    // not copy a property's description for every value.
    std::shared_ptr<const GatewayPropertyTable> describedBy;
    std::map<int, std::shared_ptr<const BinaryLayout>> layouts;

    // The property at `propertyPosition` as its load described it; null when it was not described.
    service::PropertyPtr DescribedProperty(int propertyPosition) const;
};

// Fetches every scalar (or vector) value of the found compounds and the listed properties, one
// service call per run of databanks; sets `handle` and returns the number of values. 0 with
// handle 0 before the lists and compounds are loaded, for an empty source list, when a combined
// key would not fit a signed 32-bit integer, or on a service failure.
int GetAllScalarPropertyValues(int& handle);
int GetAllVectorPropertyValues(int& handle);
// The same for binary values; also 0 when a binary key, (compounds x compounds) x properties,
// would not fit a signed 32-bit integer.
int GetAllBinaryPropertyValues(int& handle);

// The value at `position`: 1; -1 at or past the end; 0 on any other failure.
int GetNextScalarPropertyValue(int handle, int position, int& databankPosition, int& compoundPosition,
                               int& propertyPosition, double& value);
// Writes element k at index k, an absent one as the missing-number marker, and the property's
// element count to `valueSize`.
int GetNextVectorPropertyValue(int handle, int position, int& valueSize, int& databankPosition,
                               int& compoundPosition, int& propertyPosition, double* value);
// Writes the binary value at `position` as IJ/JI pairs element by element (up to two doubles per
// element of its property), full or condensed, and their number to `valueSize`. 0 also when the
// handle's load has not described the value's property.
int GetNextBinaryPropertyValue(int handle, int position, int& valueSize, int& databankPosition,
                               int& compound1Position, int& compound2Position, int& propertyPosition, double* value,
                               bool condensed);

} // namespace moru::bulk
