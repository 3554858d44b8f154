#include "BulkManager.h"

#include "Managers.h"
#include "Schema.h"

#include "platform/Text.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <tuple>
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

// Statements prepared once per connection, each run per search key or per compound: for a few
// thousand identifiers, cheaper than preparing statements of hundreds of parameters per call.
std::vector<EngineCompoundRow> SqliteBulkManager::OptimizedFind(const std::vector<std::string>& identifiers,
                                                                bool keldaIndex, bool plxIndex)
{
    Connection& db = m_database->Db();
    const ReadTransaction transaction(db);
    auto& probe = db.Cached(sql::HasCompoundEngine).Reset();
    const bool hasEngineTable = probe.Step();
    probe.Reset();

    // Identifiers that differ only in what the search key folds share a key.
    std::unordered_map<std::string, std::vector<int>> byKey;
    byKey.reserve(identifiers.size());
    for (int i = 0; i < static_cast<int>(identifiers.size()); ++i)
        byKey[m_database->SearchKeyOf(identifiers[static_cast<std::size_t>(i)])].push_back(i);

    // The compound with the lowest index under each key, and its details once however many keys
    // name it.
    std::unordered_map<int, EngineCompoundRow> details;
    details.reserve(byKey.size());
    // The search key, its compound and the identifiers it stands for.
    std::vector<std::tuple<const std::string*, int, const std::vector<int>*>> found;
    found.reserve(byKey.size());
    Statement& first = db.Cached(sql::FindFirstCompoundByKey);
    Statement& names = db.Cached(sql::SelectIdentifiersOfCompound);
    Statement* engine = hasEngineTable ? &db.Cached(sql::SelectCompoundEngine) : nullptr;
    for (const auto& [key, places] : byKey) {
        first.Reset().Bind(1, key);
        if (!first.Step() || first.IsNull(0)) continue;
        const int id = first.Int(0);
        found.emplace_back(&key, id, &places);
        const auto [entry, isNew] = details.try_emplace(id);
        if (!isNew) continue;
        EngineCompoundRow& d = entry->second;
        names.Reset().Bind(1, id);
        while (names.Step()) {
            const std::string_view type = names.TextView(0);
            std::optional<std::string>* slot = nullptr;
            if (platform::EqualsIgnoringCase(type, "NAME")) slot = &d.name;
            else if (platform::EqualsIgnoringCase(type, "ALIAS")) slot = &d.alias;
            else if (platform::EqualsIgnoringCase(type, "CASRN")) slot = &d.casNo;
            if (slot && !*slot) *slot = names.Text(1); // the first value of its type
        }
        if (engine && engine->Reset().Bind(1, id).Step()) {
            d.classNumber = engine->OptionalDouble(0).value_or(0.0);
            if (keldaIndex) d.keldaIndex = engine->OptionalDouble(1).value_or(0.0);
            if (plxIndex) d.plxIndex = engine->OptionalDouble(2).value_or(0.0);
        }
    }
    first.Reset();
    names.Reset();
    if (engine) engine->Reset();

    // In the order of the search keys, as every backend gives them, whatever order they were
    // looked up in.
    std::sort(found.begin(), found.end(),
              [](const auto& x, const auto& y) { return *std::get<0>(x) < *std::get<0>(y); });
    std::vector<EngineCompoundRow> rows;
    rows.reserve(identifiers.size());
    for (const auto& [key, id, places] : found) {
        for (int identifier : *places) {
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
// Rows of compounds outside the query are dropped before their numbers are decoded.
void SqliteBulkManager::ReadValues(const EngineValueQuery& query, const char* select, bool binary,
                                   IEngineValueSink& sink)
{
    std::vector<std::pair<int, int>> wanted; // property id, place in the query
    for (int i = 0; i < static_cast<int>(query.properties.size()); ++i) {
        const std::string& name = query.properties[static_cast<std::size_t>(i)];
        const auto property = m_database->PropertyByName(name);
        if (property && property->m_name == name) wanted.emplace_back(property->m_id, i);
    }
    if (wanted.empty() || query.compounds.empty()) return;
    // Compound indices are small: a flag per index up to the largest asked about.
    const int largest = *std::max_element(query.compounds.begin(), query.compounds.end());
    std::vector<bool> asked(static_cast<std::size_t>(std::max(largest, 0)) + 1, false);
    for (int compound : query.compounds) {
        if (compound >= 0) asked[static_cast<std::size_t>(compound)] = true;
    }
    const auto isAsked = [&asked](int compound) {
        return compound >= 0 && static_cast<std::size_t>(compound) < asked.size() &&
               asked[static_cast<std::size_t>(compound)];
    };
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
                if (!isAsked(row.compound)) continue;
                m_numbers.clear();
                m_labels.clear();
                if (binary) {
                    row.compound2 = rows.Int(1);
                    if (!isAsked(row.compound2)) continue;
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
