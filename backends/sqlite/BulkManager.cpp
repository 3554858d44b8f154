#include "BulkManager.h"

#include "Managers.h"
#include "Schema.h"

#include "platform/Text.h"

#include <string>

namespace moru::sqlite {

using namespace moru::service;

namespace {

// Holds one read transaction over a bulk retrieval, so that its many statements share one lock
// and one check that the file is unchanged instead of taking them statement by statement. Nested
// in a transaction already open, it leaves that one alone.
class ReadTransaction {
public:
    explicit ReadTransaction(Connection& db) : m_db(db), m_owned(sqlite3_get_autocommit(db.Handle()) != 0)
    {
        if (m_owned) m_db.Execute("BEGIN");
    }
    ~ReadTransaction()
    {
        if (m_owned) sqlite3_exec(m_db.Handle(), "COMMIT", nullptr, nullptr, nullptr);
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    Connection& m_db;
    bool m_owned;
};

// A statement that reads one databank's values of the wanted properties, their ids written into it.
std::unique_ptr<Statement> ValuesOfWanted(Connection& db, const char* select,
                                          const std::unordered_map<int, int>& wanted)
{
    std::string sqlText = select;
    char separator = '(';
    for (const auto& entry : wanted) {
        sqlText += separator;
        sqlText += std::to_string(entry.first);
        separator = ',';
    }
    sqlText += ')';
    return std::make_unique<Statement>(db.Handle(), sqlText.c_str());
}

} // namespace

SqliteBulkManager::CompoundDetails SqliteBulkManager::ReadDetails(int compoundId, bool hasEngineTable)
{
    CompoundDetails details;
    auto& identifiers = m_database->Db().Cached(sql::SelectIdentifiersOfCompound).Bind(1, compoundId);
    while (identifiers.Step()) {
        const std::string type = identifiers.Text(0);
        std::optional<std::string>* slot = nullptr;
        if (platform::EqualsIgnoringCase(type, "NAME")) slot = &details.name;
        else if (platform::EqualsIgnoringCase(type, "ALIAS")) slot = &details.alias;
        else if (platform::EqualsIgnoringCase(type, "CASRN")) slot = &details.casNo;
        if (slot && !*slot) *slot = identifiers.Text(1); // the first value of its type
    }
    if (hasEngineTable) {
        auto& engine = m_database->Db().Cached(sql::SelectCompoundEngine).Bind(1, compoundId);
        if (engine.Step()) {
            details.classNumber = engine.OptionalDouble(0).value_or(0.0);
            details.keldaIndex = engine.OptionalDouble(1).value_or(0.0);
            details.plxIndex = engine.OptionalDouble(2).value_or(0.0);
        }
    }
    return details;
}

void SqliteBulkManager::OptimizedFind(const CompoundPositionTable& compounds, const std::string& databaseAlias,
                                      EngineCompoundMap& engineCompounds, EngineCompoundIndexMap& compoundMap,
                                      int keldaIndexFlag, int plxIndexFlag)
{
    const ReadTransaction transaction(m_database->Db());
    auto& probe = m_database->Db().Cached(sql::HasCompoundEngine).Reset();
    const bool hasEngineTable = probe.Step();
    probe.Reset();

    std::map<int, CompoundDetails> details; // read once per compound, however many identifiers name it
    for (const auto& [identifier, position] : compounds) {
        const std::vector<int> ids = FindCompoundsByIdentifier(*m_database, identifier, "");
        if (ids.empty()) continue;
        const int id = ids.front();
        auto known = details.find(id);
        if (known == details.end()) known = details.emplace(id, ReadDetails(id, hasEngineTable)).first;
        const CompoundDetails& d = known->second;
        auto record = std::make_shared<EngineCompoundObject>(databaseAlias, position, id, d.name, d.alias, d.casNo);
        record->CompoundClassDblValue = d.classNumber;
        if (keldaIndexFlag) record->KeldaIndex = d.keldaIndex;
        if (plxIndexFlag) record->PLXIndex = d.plxIndex;
        engineCompounds[position] = std::move(record);
        auto& positions = compoundMap[id];
        positions.insert(std::lower_bound(positions.begin(), positions.end(), position), position);
    }
}

std::optional<std::vector<PropertyPtr>> SqliteBulkManager::GetAllProperties()
{
    return std::vector<PropertyPtr>(m_database->Properties().begin(), m_database->Properties().end());
}

template <class Predicate>
std::vector<std::pair<int, int>> SqliteBulkManager::WantedProperties(const EngineFetch& fetch, Predicate isWanted)
{
    std::vector<std::pair<int, int>> wanted;
    for (const auto& [name, position] : fetch.properties) {
        const auto property = m_database->PropertyByName(name);
        if (!property || property->m_name != name) continue;
        if (isWanted(*property)) wanted.emplace_back(property->m_id, position);
    }
    return wanted;
}

std::unordered_map<int, int> SqliteBulkManager::WantedPositions(const std::vector<std::pair<int, int>>& wanted)
{
    return {wanted.begin(), wanted.end()};
}

int SqliteBulkManager::DatabankPositionOf(const EngineFetch& fetch, const DatabankPtr& databank) const
{
    for (const auto& [listed, position] : fetch.databanks) {
        if (listed == databank) return position;
    }
    return -1;
}

// One query per databank of the run, reading the databank's values of the listed properties of
// the kind; the found compounds are picked in memory, and a value is
// decoded only when some key of it is still free.
void SqliteBulkManager::FetchUnary(const EngineFetch& fetch, bool vector, EngineValueMap& values)
{
    const auto wanted = WantedPositions(WantedProperties(
        fetch, [&](const IProperty& property) { return vector ? IsEngineVector(property) : IsEngineScalar(property); }));
    if (wanted.empty()) return;
    const ReadTransaction transaction(m_database->Db());
    const auto select = ValuesOfWanted(m_database->Db(), sql::SelectEngineUnaryValues, wanted);
    for (const auto& databank : fetch.run) {
        const DatabankRecord* record = databank ? m_database->OwnDatabank(*databank) : nullptr;
        if (!record) continue;
        const int databankPosition = DatabankPositionOf(fetch, databank);
        auto& rows = select->Reset().Bind(1, record->Id);
        while (rows.Step()) {
            const auto property = wanted.find(rows.Int(1));
            if (property == wanted.end()) continue;
            const auto compound = fetch.compounds.find(rows.Int(0));
            if (compound == fetch.compounds.end()) continue;
            AddUnderEveryPositionMade(
                fetch, compound->second, property->second,
                [&] {
                    EnginePropertyValue value;
                    value.DatabankPosition = databankPosition;
                    const NumericElements numbers = DecodeNumbers(rows.Blob(2), rows.BlobSize(2));
                    for (std::size_t k = 0; k < numbers.size(); ++k) {
                        if (numbers[k]) value.Values.emplace_hint(value.Values.end(), static_cast<int>(k) + 1, *numbers[k]);
                    }
                    return value;
                },
                values);
        }
    }
}

void SqliteBulkManager::OptimizedGetAllScalarPropertyValues(const EngineFetch& fetch, EngineValueMap& values)
{
    FetchUnary(fetch, false, values);
}

void SqliteBulkManager::OptimizedGetAllVectorPropertyValues(const EngineFetch& fetch, EngineValueMap& values)
{
    FetchUnary(fetch, true, values);
}

// As the unary values: one query per databank of the run; a value whose compounds were not both
// found is skipped in memory.
void SqliteBulkManager::OptimizedGetAllBinaryPropertyValues(int compCount, const EngineFetch& fetch,
                                                            EngineValueMap& values)
{
    const auto wanted =
        WantedPositions(WantedProperties(fetch, [](const IProperty& property) { return IsEngineBinary(property); }));
    if (wanted.empty()) return;
    const ReadTransaction transaction(m_database->Db());
    const auto select = ValuesOfWanted(m_database->Db(), sql::SelectEngineBinaryValues, wanted);
    for (const auto& databank : fetch.run) {
        const DatabankRecord* record = databank ? m_database->OwnDatabank(*databank) : nullptr;
        if (!record) continue;
        const int databankPosition = DatabankPositionOf(fetch, databank);
        auto& rows = select->Reset().Bind(1, record->Id);
        while (rows.Step()) {
            const auto property = wanted.find(rows.Int(2));
            if (property == wanted.end()) continue;
            const auto compound1 = fetch.compounds.find(rows.Int(0));
            if (compound1 == fetch.compounds.end()) continue;
            const auto compound2 = fetch.compounds.find(rows.Int(1));
            if (compound2 == fetch.compounds.end()) continue;
            AddPairUnderEveryPositionMade(
                fetch, compCount, compound1->second, compound2->second, property->second,
                [&] {
                    EnginePropertyValue value;
                    value.DatabankPosition = databankPosition;
                    const std::vector<int> labels = DecodeLabels(rows.Blob(3), rows.BlobSize(3));
                    const NumericElements numbers = DecodeNumbers(rows.Blob(4), rows.BlobSize(4));
                    for (std::size_t k = 0; k < labels.size() && k < numbers.size(); ++k) {
                        if (numbers[k]) value.Values.emplace(labels[k], *numbers[k]);
                    }
                    return value;
                },
                values);
        }
    }
}

} // namespace moru::sqlite
