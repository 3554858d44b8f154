#pragma once

// The simulation engine's bulk lists: position tables built from its databank, compound and
// property lists, and the compounds and properties found for them.
//
// One set of tables per process, driven by one host thread at a time. The tables that handles
// reach are shared: a load or an unload replaces them, so a handle still reads the tables it was
// given, never freed memory.

#include "platform/ProcessState.h"
#include "service/Database.h"

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace moru::bulk {

// One compound of the engine's list as a database found it. Positions are 0-based places in the
// engine's compound list.
struct EngineCompoundRecord {
    std::string databaseName;
    int compoundPosition = 0;
    int compoundIndex = 0;
    std::optional<std::string> name;
    std::optional<std::string> alias;
    std::optional<std::string> casNo; // absent when the compound has no CAS number
    double compoundClass = 0.0;
    // Filled only when the engine asked for them; 0 otherwise, and when the database stores none.
    double keldaIndex = 0.0;
    double plxIndex = 0.0;
};
using EngineCompoundPtr = std::shared_ptr<const EngineCompoundRecord>;

// The found compounds, by compound position: what a compound handle holds.
struct EngineCompoundTable {
    std::map<int, EngineCompoundPtr> records;
    int listedCount = 0; // compounds listed by the load they were found for: the end of positions
    // The records in position order, made at the first read so that reading every position is
    // linear rather than quadratic.
    std::vector<EngineCompoundPtr> inOrder;
};

// The found properties, by position in the engine's property list: what a property handle holds.
struct GatewayPropertyTable {
    std::map<int, service::PropertyPtr> properties;
};

// The property descriptions of one load, replaced by each GetAllProperties of that load. Value
// handles keep the descriptions of the load they were fetched in: they lay their values out by
// that load's properties, as sized by the host, whatever was loaded or unloaded since.
struct LoadDescriptions {
    std::shared_ptr<const GatewayPropertyTable> properties = std::make_shared<GatewayPropertyTable>();
};

// A database with the compounds it found: compound index to the first-occurrence positions of the
// listed identifiers that name it (two identifiers may name one compound), ascending.
struct GatewayCompounds {
    service::DatabasePtr database;
    std::map<int, std::vector<int>> compounds;
};

struct EngineValueTable; // bulk/BulkValues.h

struct BulkTables {
    // A part of the process state, ended at unload after the results handed out.
    static constexpr platform::Teardown kTeardown = platform::Teardown::Lists;
    std::unordered_map<std::string, int> compoundTable; // identifier -> first position
    std::map<int, std::vector<int>> duplicateCompTable; // first position -> later positions
    int compCount = -1;                                 // -1: no lists loaded
    std::unordered_map<std::string, int> propertyTable; // property name -> position
    int isKELIDXPresent = 0;
    int isPLXIDXPresent = 0;
    std::vector<std::pair<service::DatabankPtr, int>> dbankTable; // databank -> position, in list order
    std::vector<service::DatabasePtr> uniqueDatabases;            // in order of first appearance
    std::vector<std::vector<service::DatabankPtr>> consecutiveDbankSlots;
    std::shared_ptr<EngineCompoundTable> engineCompTable = std::make_shared<EngineCompoundTable>();
    std::vector<GatewayCompounds> gatewayCompTable;
    std::shared_ptr<LoadDescriptions> described = std::make_shared<LoadDescriptions>();
    // The values of every kind (scalar, vector, binary) read together at the first fetch of the
    // load, each kept until the fetch of its kind hands it out; a new load drops them.
    bool valuesReadTogether = false;
    std::array<std::shared_ptr<EngineValueTable>, 3> valuesAhead;

    // The position of a databank in the source list; -1 when it is not listed.
    int DatabankPosition(const service::IDatabank& databank) const;
};

// The process's tables, made empty at first use.
BulkTables& Tables();
// Empties the tables (a new, empty set; handles keep the old one).
void ResetTables();

// Loads the three lists into empty tables. False, with the tables left empty, when a databank
// entry has no full stop or does not resolve, or a property name or databank repeats.
bool InitializeAllLists(const std::vector<std::string>& sourceDatabanks,
                        const std::vector<std::string>& compoundIdentifiers,
                        const std::vector<std::string>& propertyNames);

// Empties the tables, index flags included.
void UnInitializeAllLists();

// Finds the listed compounds in every source database: the table of found compounds (their number
// is its records' size); null when no lists are loaded.
std::shared_ptr<EngineCompoundTable> GetAllCompoundsIdentifiers();

// The found compound at `position` of `table`, in position order: 1 with `record` set; -1 when
// `position` is not below the number of listed compounds; 0 on any other failure (also for a
// position past the found compounds).
int GetNextCompoundIdentifier(EngineCompoundTable& table, int position, EngineCompoundPtr& record);

// Looks the listed properties up in every source database (the first database that has a name
// wins): the table (its size is the number found); null when no database is listed.
std::shared_ptr<GatewayPropertyTable> GetAllProperties();

// The property at `position` of `table`: its position in the engine's list and its element count.
// 1, -1 past the end, 0 on any other failure.
int GetNextProperty(const GatewayPropertyTable& table, int position, int& propertyPosition, int& elementCount);

} // namespace moru::bulk
