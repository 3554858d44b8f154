#include "BulkManager.h"

#include "Managers.h"
#include "Schema.h"

#include "platform/Text.h"

#include <algorithm>
#include <string>
#include <string_view>

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

namespace {

// Runs `select` + "(?,...)" + `end` for the items in sets of up to 250 parameters (within the
// limit of every SQLite build), binding each item through `bind` and handing every row to `row`.
template <class Item, class Bind, class Row>
void ForEachSet(Connection& db, const char* select, const char* end, const std::vector<Item>& items, Bind bind,
                Row row)
{
    constexpr std::size_t kSetSize = 250;
    for (std::size_t start = 0; start < items.size(); start += kSetSize) {
        const std::size_t count = std::min(kSetSize, items.size() - start);
        std::string sqlText = select;
        for (std::size_t i = 0; i < count; ++i) sqlText += i == 0 ? "(?" : ",?";
        sqlText += ')';
        sqlText += end;
        Statement statement(db.Handle(), sqlText.c_str());
        for (std::size_t i = 0; i < count; ++i) bind(statement, static_cast<int>(i) + 1, items[start + i]);
        while (statement.Step()) row(statement);
    }
}

} // namespace

// Three statements for every 250 identifiers: the compounds under their search keys, then the
// identifiers of those compounds and their engine numbers.
void SqliteBulkManager::OptimizedFind(const CompoundPositionTable& compounds, const std::string& databaseAlias,
                                      EngineCompoundMap& engineCompounds, EngineCompoundIndexMap& compoundMap,
                                      int keldaIndexFlag, int plxIndexFlag)
{
    Connection& db = m_database->Db();
    const ReadTransaction transaction(db);
    auto& probe = db.Cached(sql::HasCompoundEngine).Reset();
    const bool hasEngineTable = probe.Step();
    probe.Reset();

    // Identifiers that differ only in what the search key folds share a key.
    std::map<std::string, std::vector<std::pair<std::string_view, int>>> byKey;
    for (const auto& [identifier, position] : compounds)
        byKey[m_database->SearchKeyOf(identifier)].emplace_back(identifier, position);
    std::vector<std::string> keys;
    keys.reserve(byKey.size());
    for (const auto& entry : byKey) keys.push_back(entry.first);

    std::map<std::string, int> foundByKey;
    ForEachSet(
        db, sql::FindFirstCompoundsByKeys, sql::FindFirstCompoundsByKeysEnd, keys,
        [](Statement& statement, int index, const std::string& key) { statement.Bind(index, key); },
        [&](Statement& row) { foundByKey.emplace(row.Text(0), row.Int(1)); });

    std::map<int, CompoundDetails> details; // one entry per compound, however many identifiers name it
    for (const auto& entry : foundByKey) details.try_emplace(entry.second);
    std::vector<int> ids;
    ids.reserve(details.size());
    for (const auto& entry : details) ids.push_back(entry.first);
    const auto bindId = [](Statement& statement, int index, int id) { statement.Bind(index, id); };
    ForEachSet(db, sql::SelectIdentifiersOfCompounds, sql::SelectIdentifiersOfCompoundsEnd, ids, bindId,
               [&](Statement& row) {
                   CompoundDetails& d = details[row.Int(0)];
                   const std::string_view type = row.TextView(1);
                   std::optional<std::string>* slot = nullptr;
                   if (platform::EqualsIgnoringCase(type, "NAME")) slot = &d.name;
                   else if (platform::EqualsIgnoringCase(type, "ALIAS")) slot = &d.alias;
                   else if (platform::EqualsIgnoringCase(type, "CASRN")) slot = &d.casNo;
                   if (slot && !*slot) *slot = row.Text(2); // the first value of its type
               });
    if (hasEngineTable) {
        ForEachSet(db, sql::SelectCompoundsEngine, "", ids, bindId, [&](Statement& row) {
            CompoundDetails& d = details[row.Int(0)];
            d.classNumber = row.OptionalDouble(1).value_or(0.0);
            d.keldaIndex = row.OptionalDouble(2).value_or(0.0);
            d.plxIndex = row.OptionalDouble(3).value_or(0.0);
        });
    }

    for (const auto& [key, id] : foundByKey) {
        const CompoundDetails& d = details[id];
        auto& positions = compoundMap[id];
        for (const auto& [identifier, position] : byKey[key]) {
            auto record =
                std::make_shared<EngineCompoundObject>(databaseAlias, position, id, d.name, d.alias, d.casNo);
            record->CompoundClassDblValue = d.classNumber;
            if (keldaIndexFlag) record->KeldaIndex = d.keldaIndex;
            if (plxIndexFlag) record->PLXIndex = d.plxIndex;
            engineCompounds[position] = std::move(record);
            positions.insert(std::lower_bound(positions.begin(), positions.end(), position), position);
        }
    }
}

std::optional<std::vector<PropertyPtr>> SqliteBulkManager::GetAllProperties()
{
    return std::vector<PropertyPtr>(m_database->Properties().begin(), m_database->Properties().end());
}

template <class Predicate>
std::unordered_map<int, int> SqliteBulkManager::WantedProperties(const EngineFetch& fetch, Predicate isWanted)
{
    std::unordered_map<int, int> wanted;
    for (const auto& [name, position] : fetch.properties) {
        const auto property = m_database->PropertyByName(name);
        if (!property || property->m_name != name) continue;
        if (isWanted(*property)) wanted.emplace(property->m_id, position);
    }
    return wanted;
}

int SqliteBulkManager::DatabankPositionOf(const EngineFetch& fetch, const DatabankPtr& databank) const
{
    for (const auto& [listed, position] : fetch.databanks) {
        if (listed == databank) return position;
    }
    return -1;
}

// One query per databank of the run, in one read transaction, reading the databank's values of
// every wanted property at once; rows of properties not wanted are skipped here, and the found
// compounds are picked by `visit`.
template <class Predicate, class Visit>
void SqliteBulkManager::ForEachWantedRow(const EngineFetch& fetch, Predicate isWanted, const char* select,
                                         int propertyColumn, Visit visit)
{
    const auto wanted = WantedProperties(fetch, isWanted);
    if (wanted.empty()) return;
    const ReadTransaction transaction(m_database->Db());
    const auto statement = ValuesOfWanted(m_database->Db(), select, wanted);
    for (const auto& databank : fetch.run) {
        const DatabankRecord* record = databank ? m_database->OwnDatabank(*databank) : nullptr;
        if (!record) continue;
        const int databankPosition = DatabankPositionOf(fetch, databank);
        auto& rows = statement->Reset().Bind(1, record->Id);
        while (rows.Step()) {
            const auto property = wanted.find(rows.Int(propertyColumn));
            if (property != wanted.end()) visit(rows, databankPosition, property->second);
        }
    }
}

// A value is decoded only when some key of it is still free.
void SqliteBulkManager::FetchUnary(const EngineFetch& fetch, bool vector, EngineValueMap& values)
{
    const auto isWanted = [&](const IProperty& property) {
        return vector ? IsEngineVector(property) : IsEngineScalar(property);
    };
    ForEachWantedRow(fetch, isWanted, sql::SelectEngineUnaryValues, 1,
                     [&](Statement& rows, int databankPosition, int propertyPosition) {
        const auto compound = fetch.compounds.find(rows.Int(0));
        if (compound == fetch.compounds.end()) return;
        AddUnderEveryPositionMade(
            fetch, compound->second, propertyPosition,
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
    });
}

void SqliteBulkManager::OptimizedGetAllScalarPropertyValues(const EngineFetch& fetch, EngineValueMap& values)
{
    FetchUnary(fetch, false, values);
}

void SqliteBulkManager::OptimizedGetAllVectorPropertyValues(const EngineFetch& fetch, EngineValueMap& values)
{
    FetchUnary(fetch, true, values);
}

// As the unary values; a value whose compounds were not both found is skipped.
void SqliteBulkManager::OptimizedGetAllBinaryPropertyValues(int compCount, const EngineFetch& fetch,
                                                            EngineValueMap& values)
{
    const auto isWanted = [](const IProperty& property) { return IsEngineBinary(property); };
    ForEachWantedRow(fetch, isWanted, sql::SelectEngineBinaryValues, 2,
                     [&](Statement& rows, int databankPosition, int propertyPosition) {
        const auto compound1 = fetch.compounds.find(rows.Int(0));
        if (compound1 == fetch.compounds.end()) return;
        const auto compound2 = fetch.compounds.find(rows.Int(1));
        if (compound2 == fetch.compounds.end()) return;
        AddPairUnderEveryPositionMade(
            fetch, compCount, compound1->second, compound2->second, propertyPosition,
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
    });
}

} // namespace moru::sqlite
