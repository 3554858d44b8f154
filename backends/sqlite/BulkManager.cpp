#include "BulkManager.h"

#include "Managers.h"
#include "Schema.h"

#include "platform/Text.h"

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

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

} // namespace

namespace {

// Runs `select` + "(?,...)" + `end` for the items in sets of up to 250 parameters (within the
// limit of every SQLite build), binding each item through `bind` and handing every row to `row`.
template <class Item, class Bind, class Row>
void ForEachSet(Connection& db, const char* select, const char* end, const std::vector<Item>& items, Bind bind, Row row)
{
    constexpr std::size_t kSetSize = 250;
    for (std::size_t start = 0; start < items.size(); start += kSetSize) {
        const std::size_t count = std::min(kSetSize, items.size() - start);
        std::string sqlText = select;
        for (std::size_t i = 0; i < count; ++i) sqlText += i == 0 ? "(?" : ",?";
        sqlText += ')';
        sqlText += end;
        Statement statement(db, sqlText.c_str());
        for (std::size_t i = 0; i < count; ++i) bind(statement, static_cast<int>(i) + 1, items[start + i]);
        while (statement.Step()) row(statement);
    }
}

} // namespace

// Three statements for every 250 identifiers: the compounds under their search keys, then the
// identifiers of those compounds and their engine numbers.
std::vector<EngineCompoundRow> SqliteBulkManager::OptimizedFind(const std::vector<std::string>& identifiers,
                                                                bool keldaIndex, bool plxIndex)
{
    Connection& db = m_database->Db();
    const ReadTransaction transaction(db);
    auto& probe = db.Cached(sql::HasCompoundEngine).Reset();
    const bool hasEngineTable = probe.Step();
    probe.Reset();

    // Identifiers that differ only in what the search key folds share a key.
    std::map<std::string, std::vector<int>> byKey;
    for (int i = 0; i < static_cast<int>(identifiers.size()); ++i)
        byKey[m_database->SearchKeyOf(identifiers[static_cast<std::size_t>(i)])].push_back(i);
    std::vector<std::string> keys;
    keys.reserve(byKey.size());
    for (const auto& entry : byKey) keys.push_back(entry.first);

    std::map<std::string, int> foundByKey;
    ForEachSet(
        db, sql::FindFirstCompoundsByKeys, sql::FindFirstCompoundsByKeysEnd, keys,
        [](Statement& statement, int index, const std::string& key) { statement.Bind(index, key); },
        [&](Statement& row) { foundByKey.emplace(row.Text(0), row.Int(1)); });

    std::map<int, EngineCompoundRow> details; // one entry per compound, however many identifiers name it
    for (const auto& entry : foundByKey) details.try_emplace(entry.second);
    std::vector<int> ids;
    ids.reserve(details.size());
    for (const auto& entry : details) ids.push_back(entry.first);
    const auto bindId = [](Statement& statement, int index, int id) { statement.Bind(index, id); };
    ForEachSet(db, sql::SelectIdentifiersOfCompounds, sql::SelectIdentifiersOfCompoundsEnd, ids, bindId,
               [&](Statement& row) {
                   EngineCompoundRow& d = details[row.Int(0)];
                   const std::string_view type = row.TextView(1);
                   std::optional<std::string>* slot = nullptr;
                   if (platform::EqualsIgnoringCase(type, "NAME")) slot = &d.name;
                   else if (platform::EqualsIgnoringCase(type, "ALIAS")) slot = &d.alias;
                   else if (platform::EqualsIgnoringCase(type, "CASRN")) slot = &d.casNo;
                   if (slot && !*slot) *slot = row.Text(2); // the first value of its type
               });
    if (hasEngineTable) {
        ForEachSet(db, sql::SelectCompoundsEngine, "", ids, bindId, [&](Statement& row) {
            EngineCompoundRow& d = details[row.Int(0)];
            d.classNumber = row.OptionalDouble(1).value_or(0.0);
            if (keldaIndex) d.keldaIndex = row.OptionalDouble(2).value_or(0.0);
            if (plxIndex) d.plxIndex = row.OptionalDouble(3).value_or(0.0);
        });
    }

    std::vector<EngineCompoundRow> rows;
    for (const auto& [key, id] : foundByKey) {
        for (int identifier : byKey[key]) {
            EngineCompoundRow row = details[id];
            row.identifier = identifier;
            row.compoundIndex = id;
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

std::optional<std::vector<PropertyPtr>> SqliteBulkManager::GetAllProperties()
{
    return std::vector<PropertyPtr>(m_database->Properties().begin(), m_database->Properties().end());
}

// One prepared statement, run for each databank of the run and each asked property in one read
// transaction: index seeks on value_by_property, the statement never prepared again. Measured on
// the bundle database, one pass over the value table per kind cost more CPU than these seeks.
void SqliteBulkManager::ReadValues(const EngineValueQuery& query, const char* select, bool binary,
                                   IEngineValueSink& sink)
{
    std::vector<std::pair<int, int>> wanted; // property id, place in the query
    for (int i = 0; i < static_cast<int>(query.properties.size()); ++i) {
        const std::string& name = query.properties[static_cast<std::size_t>(i)];
        const auto property = m_database->PropertyByName(name);
        if (property && property->m_name == name) wanted.emplace_back(property->m_id, i);
    }
    if (wanted.empty()) return;
    Connection& db = m_database->Db();
    const ReadTransaction transaction(db);
    Statement& rows = db.Cached(select);
    for (int r = 0; r < static_cast<int>(query.run.size()); ++r) {
        const auto& databank = query.run[static_cast<std::size_t>(r)];
        const DatabankRecord* record = databank ? m_database->OwnDatabank(*databank) : nullptr;
        if (!record) continue;
        for (const auto& [propertyId, place] : wanted) {
            rows.Reset().Bind(1, record->Id).Bind(2, propertyId);
            while (rows.Step()) {
                EngineValueRow row;
                row.databank = r;
                row.property = place;
                row.compound = rows.Int(0);
                m_numbers.clear();
                m_labels.clear();
                if (binary) {
                    row.compound2 = rows.Int(1);
                    DecodeLabelsInto(rows.Blob(2), rows.BlobSize(2), m_labels);
                    DecodeNumbersInto(rows.Blob(3), rows.BlobSize(3), m_numbers);
                } else {
                    DecodeNumbersInto(rows.Blob(1), rows.BlobSize(1), m_numbers);
                }
                row.labels = m_labels;
                row.numbers = m_numbers;
                sink.Take(row);
            }
        }
    }
    rows.Reset();
}

void SqliteBulkManager::OptimizedGetAllScalarPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink)
{
    ReadValues(query, sql::SelectEngineUnaryValues, false, sink);
}

void SqliteBulkManager::OptimizedGetAllVectorPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink)
{
    ReadValues(query, sql::SelectEngineUnaryValues, false, sink);
}

void SqliteBulkManager::OptimizedGetAllBinaryPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink)
{
    ReadValues(query, sql::SelectEngineBinaryValues, true, sink);
}

} // namespace moru::sqlite
