#pragma once

// What the simulation engine's one-pass retrieval asks of the database service: its listed
// compounds found in one go, and every property of a database.

#include "service/Model.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace moru::service {

// One compound of the engine's list as a database found it. Positions are 0-based places in the
// engine's compound list.
class EngineCompoundObject {
public:
    EngineCompoundObject(std::optional<std::string> databaseName, int compoundPosition, int compoundIndex,
                         std::optional<std::string> compoundName, std::optional<std::string> compoundAlias,
                         std::optional<std::string> compoundCasNo)
        : DatabaseName(std::move(databaseName)), CompoundPosition(compoundPosition), CompoundIndex(compoundIndex),
          CompoundName(std::move(compoundName)), CompoundAlias(std::move(compoundAlias)),
          CompoundCasNo(std::move(compoundCasNo))
    {
    }

    std::optional<std::string> DatabaseName;
    int CompoundPosition = 0;
    int CompoundIndex = 0;
    std::optional<std::string> CompoundName;
    std::optional<std::string> CompoundAlias;
    std::optional<std::string> CompoundCasNo; // absent when the compound has no CAS number
    double CompoundClassDblValue = 0.0;
    // Filled only when the engine asked for them; 0 otherwise, and when the database stores none.
    double KeldaIndex = 0.0;
    double PLXIndex = 0.0;
};
using EngineCompoundPtr = std::shared_ptr<EngineCompoundObject>;

// Engine compounds by the position of their identifier's first occurrence, in position order.
using EngineCompoundMap = std::map<int, EngineCompoundPtr>;
// The engine's compound identifiers, each with the position of its first occurrence.
using CompoundPositionTable = std::unordered_map<std::string, int>;
// The compounds a database found: compound index to the first-occurrence positions of the listed
// identifiers that name it (two identifiers may name one compound), ascending.
using EngineCompoundIndexMap = std::map<int, std::vector<int>>;

// One value of the engine: the position of its databank in the source list, and its elements by
// label, ascending. An absent element has no entry. A unary value's element k has label k + 1.
struct EnginePropertyValue {
    int DatabankPosition = 0;
    std::map<int, double> Values;
};
using EnginePropertyValuePtr = std::shared_ptr<EnginePropertyValue>;
// Engine values by combined key: compound position times the number of listed properties, plus
// the property position.
using EngineValueMap = std::map<int, EnginePropertyValuePtr>;

// What a value fetch of one run of databanks (databanks next to each other in the source list,
// all of one database) is handed.
struct EngineFetch {
    const EngineCompoundIndexMap& compounds;                      // what this database found
    const std::map<int, std::vector<int>>& duplicates;            // first position -> later positions
    const std::unordered_map<std::string, int>& properties;       // listed name -> position
    const std::vector<std::pair<DatabankPtr, int>>& databanks;    // listed databank -> position
    const std::vector<DatabankPtr>& run;
};

class IBulkManager {
public:
    virtual ~IBulkManager() = default;

    // Finds the listed identifiers (each exactly as written, as an identifier of any type) in this
    // database. Adds to `engineCompounds` a record for every identifier found, under its position,
    // with `databaseAlias` as its database name; adds to `compoundMap` the compound index of each.
    // The index flags (1 or 0) ask for the KELDA and PLX indices of the compounds.
    virtual void OptimizedFind(const CompoundPositionTable& compounds, const std::string& databaseAlias,
                               EngineCompoundMap& engineCompounds, EngineCompoundIndexMap& compoundMap,
                               int keldaIndexFlag, int plxIndexFlag) = 0;

    // Every property of the database, whatever databank holds its values; nullopt when it has no
    // property list.
    virtual std::optional<std::vector<PropertyPtr>> GetAllProperties() = 0;

    // Adds the run's values of the listed properties for the found compounds to `values`, under
    // every position of each compound (later occurrences included); a key already there is kept.
    // Scalar: numeric unary properties of one element; vector: numeric unary properties of more.
    // Within the run, the first databank in list order that holds a value gives it.
    virtual void OptimizedGetAllScalarPropertyValues(const EngineFetch& fetch, EngineValueMap& values) = 0;
    virtual void OptimizedGetAllVectorPropertyValues(const EngineFetch& fetch, EngineValueMap& values) = 0;

    // The same for binary values (numeric properties of interaction type 1) whose two compounds
    // were both found, in the compound order the databank stores; keyed by
    // (compound 1 position x compCount + compound 2 position) x properties + property position,
    // with the elements under their stored labels. The caller has checked that every key fits.
    virtual void OptimizedGetAllBinaryPropertyValues(int compCount, const EngineFetch& fetch,
                                                     EngineValueMap& values) = 0;
};

// Adds a value of a found compound under the key of every position that names it. `make` returns
// the value (an EnginePropertyValue); it is called at most once, and only when some key is still
// free, so that a value a databank earlier in the list already gave is never decoded. The keys
// share the one value, which nothing changes once it is added.
template <class Make>
void AddUnderEveryPositionMade(const EngineFetch& fetch, const std::vector<int>& firstPositions, int propertyPosition,
                               Make&& make, EngineValueMap& values)
{
    const int propertyCount = static_cast<int>(fetch.properties.size());
    EnginePropertyValuePtr shared;
    auto add = [&](int position) {
        const int key = position * propertyCount + propertyPosition;
        const auto hint = values.lower_bound(key);
        if (hint != values.end() && hint->first == key) return;
        if (!shared) shared = std::make_shared<EnginePropertyValue>(make());
        values.emplace_hint(hint, key, shared);
    };
    for (int first : firstPositions) {
        add(first);
        const auto later = fetch.duplicates.find(first);
        if (later == fetch.duplicates.end()) continue;
        for (int position : later->second) add(position);
    }
}

inline void AddUnderEveryPosition(const EngineFetch& fetch, const std::vector<int>& firstPositions,
                                  int propertyPosition, const EnginePropertyValue& value, EngineValueMap& values)
{
    AddUnderEveryPositionMade(fetch, firstPositions, propertyPosition, [&] { return value; }, values);
}

// Adds a binary value of two found compounds under the key of every pair of positions that name
// them, compound 1 first; `make` as above.
template <class Make>
void AddPairUnderEveryPositionMade(const EngineFetch& fetch, int compCount, const std::vector<int>& firstPositions1,
                                   const std::vector<int>& firstPositions2, int propertyPosition, Make&& make,
                                   EngineValueMap& values)
{
    const int propertyCount = static_cast<int>(fetch.properties.size());
    EnginePropertyValuePtr shared;
    auto everyPosition = [&](const std::vector<int>& firstPositions, auto&& visit) {
        for (int first : firstPositions) {
            visit(first);
            const auto later = fetch.duplicates.find(first);
            if (later == fetch.duplicates.end()) continue;
            for (int position : later->second) visit(position);
        }
    };
    everyPosition(firstPositions1, [&](int position1) {
        everyPosition(firstPositions2, [&](int position2) {
            const int key = (position1 * compCount + position2) * propertyCount + propertyPosition;
            const auto hint = values.lower_bound(key);
            if (hint != values.end() && hint->first == key) return;
            if (!shared) shared = std::make_shared<EnginePropertyValue>(make());
            values.emplace_hint(hint, key, shared);
        });
    });
}

inline void AddPairUnderEveryPosition(const EngineFetch& fetch, int compCount, const std::vector<int>& firstPositions1,
                                      const std::vector<int>& firstPositions2, int propertyPosition,
                                      const EnginePropertyValue& value, EngineValueMap& values)
{
    AddPairUnderEveryPositionMade(fetch, compCount, firstPositions1, firstPositions2, propertyPosition,
                                  [&] { return value; }, values);
}

// Whether a property's values are scalar, vector or binary values for the engine: numbers (data
// type 1) of one compound with one element (scalar) or more (vector), or numbers of two compounds
// (binary, interaction type 1). Texts, and pair values of up to four compounds, are none of them.
inline bool IsEngineScalar(const IProperty& property)
{
    return property.DataType() == 1 && property.InteractionType() == InteractionUnary && property.ElementCount() == 1;
}
inline bool IsEngineVector(const IProperty& property)
{
    return property.DataType() == 1 && property.InteractionType() == InteractionUnary && property.ElementCount() > 1;
}
inline bool IsEngineBinary(const IProperty& property)
{
    return property.DataType() == 1 && property.InteractionType() == InteractionBinary && property.ElementCount() > 0;
}

} // namespace moru::service
