#pragma once

// The simulation engine's one-pass fetch of scalar, vector and binary values for the loaded bulk
// lists, each value tagged with positions in the engine's lists.

#include "bulk/BulkLists.h"
#include "bulk/EngineKeys.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace moru::bulk {

// One number of a value: its element's label and the number. An absent element has none.
struct LabelledNumber {
    int label = 0;
    double number = 0.0;
};

// One value of the engine under its combined key (see EngineKeys): the position of its databank in
// the source list, and its numbers, ascending by label, at [first, first + count) of the table's
// numbers. A unary value's element k has label k + 1. Keys that name the same compounds share the
// numbers.
struct EngineValueEntry {
    int key = 0;
    int databankPosition = 0;
    std::uint32_t first = 0;
    std::uint32_t count = 0;
};

// How a binary value of one property is laid out: per element, its labels for the two compound
// orders and its symmetry code (-1 for every element of a unary property).
struct BinaryLayout {
    int elementCount = 0;
    std::vector<int> labelIJ, labelJI, symmetry;
    // Where each label goes, ascending by label: element * 2 for its IJ half, + 1 for its JI half.
    std::vector<std::pair<int, int>> slots;
};

// What a value handle holds: the values in key order, their numbers side by side.
struct EngineValueTable {
    std::vector<EngineValueEntry> entries;
    std::vector<LabelledNumber> numbers;
    std::optional<EngineKeys> format;

    // The property descriptions of the load the values were fetched in; never those of a later
    // load, whose properties at the same positions may have other sizes.
    std::shared_ptr<const LoadDescriptions> load;
    // Layouts by property position (null where not made yet), read from `describedBy` when first
    // needed, so that a pass does not copy a property's description for every value.
    std::shared_ptr<const GatewayPropertyTable> describedBy;
    std::vector<std::shared_ptr<const BinaryLayout>> layouts;
    // The numbers of the last vector or binary read.
    std::vector<double> readNumbers;

    // The property at `propertyPosition` as its load described it; null when it was not described.
    service::PropertyPtr DescribedProperty(int propertyPosition) const;
};

// Fetches every scalar (or vector) value of the found compounds and the listed properties, one
// service call per run of databanks: the table (its number of values is its entries' size). Null
// before the lists and compounds are loaded, for an empty source list, when a combined key would
// not fit a signed 32-bit integer, or when a run's database is not known.
std::shared_ptr<EngineValueTable> GetAllScalarPropertyValues();
std::shared_ptr<EngineValueTable> GetAllVectorPropertyValues();
// The same for binary values; also null when a binary key, (compounds x compounds) x properties,
// would not fit a signed 32-bit integer.
std::shared_ptr<EngineValueTable> GetAllBinaryPropertyValues();

// The value at `position`: 1; -1 at or past the end; 0 on any other failure.
int GetNextScalarPropertyValue(EngineValueTable& table, int position, int& databankPosition, int& compoundPosition,
                               int& propertyPosition, double& value);
// Sets `numbers` to element k at index k, an absent one as the missing-number marker, as many as
// the property has elements. The numbers live in the table until its next read.
int GetNextVectorPropertyValue(EngineValueTable& table, int position, int& databankPosition, int& compoundPosition,
                               int& propertyPosition, std::span<const double>& numbers);
// Sets `numbers` to the binary value at `position` as IJ/JI pairs element by element (up to two
// doubles per element of its property), full or condensed; they live as above. 0 also when the
// table's load has not described the value's property.
int GetNextBinaryPropertyValue(EngineValueTable& table, int position, int& databankPosition, int& compound1Position,
                               int& compound2Position, int& propertyPosition, bool condensed,
                               std::span<const double>& numbers);

} // namespace moru::bulk
