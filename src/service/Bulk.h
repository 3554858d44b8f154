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
};

} // namespace moru::service
