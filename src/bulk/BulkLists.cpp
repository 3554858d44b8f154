#include "bulk/BulkLists.h"

#include "bulk/BulkValues.h"

#include "interop/References.h"
#include "platform/Diagnostics.h"
#include "platform/Text.h"
#include "service/Errors.h"
#include "service/Bulk.h"
#include "session/Resolution.h"

#include <algorithm>

namespace moru::bulk {

using service::DatabankPtr;
using service::DatabasePtr;
using service::PropertyPtr;
using service::ServiceError;

namespace {

bool LoadCompounds(BulkTables& tables, const std::vector<std::string>& identifiers)
{
    for (int i = 0; i < static_cast<int>(identifiers.size()); ++i) {
        const auto [found, added] = tables.compoundTable.try_emplace(identifiers[static_cast<std::size_t>(i)], i);
        if (!added) tables.duplicateCompTable[found->second].push_back(i);
    }
    tables.compCount = static_cast<int>(identifiers.size());
    return true;
}

bool LoadProperties(BulkTables& tables, const std::vector<std::string>& names)
{
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        const std::string& name = names[static_cast<std::size_t>(i)];
        if (platform::EqualsIgnoringCase(name, "KELIDX")) tables.isKELIDXPresent = 1;
        if (platform::EqualsIgnoringCase(name, "PLXIDX")) tables.isPLXIDXPresent = 1;
        if (!tables.propertyTable.try_emplace(name, i).second) {
            platform::NoteFailure("property ", name, " is listed twice (positions ", tables.propertyTable[name],
                                  " and ", i, ")");
            return false;
        }
    }
    return true;
}

// Databanks next to each other in the list that belong to one database form a run.
bool LoadDatabanks(BulkTables& tables, const std::vector<std::string>& references)
{
    std::vector<DatabankPtr> run;
    std::optional<std::string> previousAlias;
    for (int i = 0; i < static_cast<int>(references.size()); ++i) {
        const auto parts = interop::SplitDatabankReference(references[static_cast<std::size_t>(i)]);
        if (!parts) {
            platform::NoteFailure("source databank ", i, " is not of the form DATABASE.DATABANK");
            return false;
        }
        DatabankPtr databank = session::GetIDatabankFromDbaseDbank(parts->databaseAlias, parts->databankName);
        if (!databank) return false; // resolution says why
        DatabasePtr database = databank->Database();
        if (!database) {
            platform::NoteFailure("databank ", parts->databaseAlias, ".", parts->databankName,
                                  " belongs to no database");
            return false;
        }
        if (previousAlias && !platform::EqualsIgnoringCase(*previousAlias, parts->databaseAlias)) {
            tables.consecutiveDbankSlots.push_back(std::move(run));
            run.clear();
        }
        run.push_back(databank);
        if (const int earlier = tables.DatabankPosition(*databank); earlier >= 0) {
            platform::NoteFailure("databank ", parts->databaseAlias, ".", parts->databankName,
                                  " is listed twice (positions ", earlier, " and ", i, ")");
            return false;
        }
        tables.dbankTable.emplace_back(databank, i);
        if (std::find(tables.uniqueDatabases.begin(), tables.uniqueDatabases.end(), database) ==
            tables.uniqueDatabases.end()) {
            tables.uniqueDatabases.push_back(database);
        }
        previousAlias = database->Alias();
    }
    tables.consecutiveDbankSlots.push_back(std::move(run));
    return true;
}

} // namespace

int BulkTables::DatabankPosition(const service::IDatabank& databank) const
{
    for (const auto& [listed, position] : dbankTable) {
        if (listed.get() == &databank) return position;
    }
    return -1;
}

BulkTables& Tables() { return platform::ProcessState::Part<BulkTables>(); }

void ResetTables() { platform::ProcessState::Drop<BulkTables>(); }

bool InitializeAllLists(const std::vector<std::string>& sourceDatabanks,
                        const std::vector<std::string>& compoundIdentifiers,
                        const std::vector<std::string>& propertyNames)
{
    // Nothing of an earlier load survives, and neither does anything of a load that fails.
    ResetTables();
    bool loaded = false;
    try {
        BulkTables& tables = Tables();
        loaded = LoadCompounds(tables, compoundIdentifiers) && LoadProperties(tables, propertyNames) &&
                 LoadDatabanks(tables, sourceDatabanks);
    } catch (...) {
        ResetTables();
        throw;
    }
    if (!loaded) ResetTables();
    return loaded;
}

void UnInitializeAllLists() { ResetTables(); }

std::shared_ptr<EngineCompoundTable> GetAllCompoundsIdentifiers()
{
    BulkTables& tables = Tables();
    if (tables.compCount < 0) {
        platform::NoteFailure("no bulk lists are loaded");
        return nullptr;
    }
    const bool keldaIndex = tables.isKELIDXPresent != 0;
    const bool plxIndex = tables.isPLXIDXPresent != 0;

    // Each distinct identifier once, in the order of its first position.
    std::vector<std::pair<int, std::string>> byPosition;
    byPosition.reserve(tables.compoundTable.size());
    for (const auto& [identifier, position] : tables.compoundTable) byPosition.emplace_back(position, identifier);
    std::sort(byPosition.begin(), byPosition.end());
    std::vector<std::string> identifiers;
    identifiers.reserve(byPosition.size());
    for (const auto& entry : byPosition) identifiers.push_back(entry.second);

    // Built aside and installed whole, so that a failure leaves the tables as they were.
    auto found = std::make_shared<EngineCompoundTable>(*tables.engineCompTable);
    std::vector<GatewayCompounds> gateway = tables.gatewayCompTable;
    for (const DatabasePtr& database : tables.uniqueDatabases) {
        for (const auto& done : gateway) {
            if (done.database == database) {
                throw ServiceError("the compounds of database " + database->Alias() +
                                   " were already found for these lists");
            }
        }
        auto manager = database->BulkManager();
        if (!manager) throw ServiceError("the database offers no bulk retrieval");
        GatewayCompounds compounds{database, {}};
        for (service::EngineCompoundRow& row : manager->OptimizedFind(identifiers, keldaIndex, plxIndex)) {
            if (row.identifier < 0 || row.identifier >= static_cast<int>(byPosition.size())) continue;
            const int position = byPosition[static_cast<std::size_t>(row.identifier)].first;
            auto& positions = compounds.compounds[row.compoundIndex];
            positions.insert(std::lower_bound(positions.begin(), positions.end(), position), position);
            // The first database in list order that found an identifier gives its record.
            if (found->records.count(position) != 0) continue;
            auto record = std::make_shared<EngineCompoundRecord>();
            record->databaseName = database->Alias();
            record->compoundPosition = position;
            record->compoundIndex = row.compoundIndex;
            record->name = std::move(row.name);
            record->alias = std::move(row.alias);
            record->casNo = std::move(row.casNo);
            record->compoundClass = row.classNumber;
            if (keldaIndex) record->keldaIndex = row.keldaIndex;
            if (plxIndex) record->plxIndex = row.plxIndex;
            found->records.emplace(position, std::move(record));
        }
        gateway.push_back(std::move(compounds));
    }

    // A repeated identifier gets a record of its own at each later position, copied from the first.
    for (const auto& [first, later] : tables.duplicateCompTable) {
        const auto original = found->records.find(first);
        if (original == found->records.end()) continue;
        for (int position : later) {
            auto copy = std::make_shared<EngineCompoundRecord>(*original->second);
            copy->compoundPosition = position;
            found->records[position] = std::move(copy);
        }
    }

    found->listedCount = tables.compCount;
    tables.engineCompTable = found;
    tables.gatewayCompTable = std::move(gateway);
    // Values read ahead were kept for the compounds found before.
    tables.valuesReadTogether = false;
    tables.valuesAhead = {};
    return found;
}

int GetNextCompoundIdentifier(EngineCompoundTable& table, int position, EngineCompoundPtr& record)
{
    if (position < 0) {
        platform::NoteFailure("position ", position, " is negative");
        return 0;
    }
    // Bounded by the table's own load, not the current one: a handle reads what it was given.
    if (position >= table.listedCount) return -1;
    if (position >= static_cast<int>(table.records.size())) {
        platform::NoteFailure("position ", position, " is past the ", table.records.size(), " compounds found");
        return 0;
    }
    if (table.inOrder.size() != table.records.size()) {
        table.inOrder.clear();
        for (const auto& entry : table.records) table.inOrder.push_back(entry.second);
    }
    record = table.inOrder[static_cast<std::size_t>(position)];
    return record ? 1 : 0;
}

std::shared_ptr<GatewayPropertyTable> GetAllProperties()
{
    BulkTables& tables = Tables();
    if (tables.uniqueDatabases.empty()) {
        platform::NoteFailure("no source databank is loaded");
        return nullptr;
    }
    auto found = std::make_shared<GatewayPropertyTable>(*tables.described->properties);
    for (const DatabasePtr& database : tables.uniqueDatabases) {
        auto manager = database->BulkManager();
        if (!manager) throw ServiceError("the database offers no bulk retrieval");
        const auto properties = manager->GetAllProperties();
        if (!properties) continue;
        for (const PropertyPtr& property : *properties) {
            if (!property) continue;
            const auto listed = tables.propertyTable.find(property->Name());
            if (listed != tables.propertyTable.end()) found->properties.try_emplace(listed->second, property);
        }
    }
    tables.described->properties = found;
    return found;
}

int GetNextProperty(const GatewayPropertyTable& table, int position, int& propertyPosition, int& elementCount)
{
    if (position < 0) {
        platform::NoteFailure("position ", position, " is negative");
        return 0;
    }
    if (position >= static_cast<int>(table.properties.size())) return -1;
    auto entry = table.properties.begin();
    std::advance(entry, position);
    if (!entry->second) return 0;
    propertyPosition = entry->first;
    elementCount = entry->second->ElementCount();
    return 1;
}

} // namespace moru::bulk
