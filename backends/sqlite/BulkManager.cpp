#include "BulkManager.h"

#include "Managers.h"
#include "Schema.h"

#include "platform/Text.h"

#include <algorithm>
#include <sstream>
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
    // name it, with the number of rows they go to.
    struct Details {
        EngineCompoundRow row;
        std::size_t uses = 0;
    };
    std::unordered_map<int, Details> details;
    details.reserve(byKey.size());
    // The search key, its compound and the identifiers it stands for.
    std::vector<std::tuple<const std::string*, int, const std::vector<int>*>> found;
    found.reserve(byKey.size());
    Statement& first = db.Cached(sql::FindFirstCompoundByKey);
    Statement& names = db.Cached(sql::SelectIdentifiersOfCompound);
    Statement* engine = hasEngineTable ? &db.Cached(sql::SelectCompoundEngine) : nullptr;
    for (const auto& [key, places] : byKey) {
        // The key stays in its map, unchanged, until the statement is bound anew.
        first.Reset().BindUnchanged(1, key);
        if (!first.Step() || first.IsNull(0)) continue;
        const int id = first.Int(0);
        found.emplace_back(&key, id, &places);
        const auto [entry, isNew] = details.try_emplace(id);
        entry->second.uses += places.size();
        if (!isNew) continue;
        EngineCompoundRow& d = entry->second.row;
        names.Reset().Bind(1, id);
        // The first value of each type, so the rest of the compound's identifiers need not be read.
        while (!(d.name && d.alias && d.casNo) && names.Step()) {
            const std::string_view type = names.TextView(0);
            std::optional<std::string>* slot = nullptr;
            if (platform::EqualsIgnoringCase(type, "NAME")) slot = &d.name;
            else if (platform::EqualsIgnoringCase(type, "ALIAS")) slot = &d.alias;
            else if (platform::EqualsIgnoringCase(type, "CASRN")) slot = &d.casNo;
            if (slot && !*slot) *slot = names.Text(1);
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
        Details& d = details[id];
        for (int identifier : *places) {
            // The last row of a compound takes its details rather than a copy.
            EngineCompoundRow row = --d.uses == 0 ? std::move(d.row) : d.row;
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

// Compound indices are small: a flag per index up to the largest asked about.
class AskedCompounds {
public:
    explicit AskedCompounds(const std::vector<int>& compounds)
    {
        const int largest = compounds.empty() ? -1 : *std::max_element(compounds.begin(), compounds.end());
        m_asked.assign(largest < 0 ? 0 : static_cast<std::size_t>(largest) + 1, false);
        for (int compound : compounds) {
            if (compound >= 0) m_asked[static_cast<std::size_t>(compound)] = true;
        }
    }
    bool operator()(int compound) const
    {
        return compound >= 0 && static_cast<std::size_t>(compound) < m_asked.size() &&
               m_asked[static_cast<std::size_t>(compound)];
    }

private:
    std::vector<bool> m_asked;
};

namespace {

// A place by small id (property or databank id): -1 for an id not asked about.
int PlaceOf(const std::vector<int>& places, int id)
{
    return id >= 0 && static_cast<std::size_t>(id) < places.size() ? places[static_cast<std::size_t>(id)] : -1;
}

void SetPlace(std::vector<int>& places, int id, int place)
{
    if (id < 0) return;
    if (static_cast<std::size_t>(id) >= places.size()) places.resize(static_cast<std::size_t>(id) + 1, -1);
    places[static_cast<std::size_t>(id)] = place;
}

} // namespace

std::vector<std::pair<int, int>> SqliteBulkManager::WantedProperties(const EngineValueQuery& query) const
{
    std::vector<std::pair<int, int>> wanted; // property id, place in the query
    for (int i = 0; i < static_cast<int>(query.properties.size()); ++i) {
        const std::string& name = query.properties[static_cast<std::size_t>(i)];
        const auto property = m_database->PropertyByName(name);
        if (property && property->m_name == name) wanted.emplace_back(property->m_id, i);
    }
    return wanted;
}

// Hands `sink` the row `rows` stands on, its columns from `first` on: compound1, compound2 (null
// for a unary value), labels, numbers. Rows of compounds outside the query are dropped before their
// numbers are decoded.
void SqliteBulkManager::TakeRow(Statement& rows, int first, EngineValueRow& row, const AskedCompounds& asked,
                                IEngineValueSink& sink)
{
    row.compound = rows.Int(first);
    if (!asked(row.compound)) return;
    m_numbers.clear();
    m_labels.clear();
    const std::optional<int> compound2 = rows.OptionalInt(first + 1);
    if (!compound2) {
        row.compound2 = -1;
    } else {
        row.compound2 = *compound2;
        if (!asked(row.compound2)) return;
        const auto labels = rows.BlobView(first + 2);
        DecodeLabelsInto(labels.data, labels.size, m_labels);
    }
    const auto numbers = rows.BlobView(first + 3);
    DecodeNumbersInto(numbers.data, numbers.size, m_numbers);
    row.labels = m_labels;
    row.numbers = m_numbers;
    sink.Take(row);
}

// One prepared statement, run for each databank of the run and each asked property in one read
// transaction: index seeks on value_by_property, the statement never prepared again. Measured on
// the bundle database, one pass over the value table per kind cost more CPU than these seeks.
void SqliteBulkManager::ReadValues(const EngineValueQuery& query, const char* select, bool binary,
                                   IEngineValueSink& sink)
{
    const auto wanted = WantedProperties(query);
    if (wanted.empty() || query.compounds.empty()) return;
    const AskedCompounds asked(query.compounds);
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
                if (binary) {
                    TakeRow(rows, 0, row, asked, sink);
                    continue;
                }
                row.compound = rows.Int(0);
                if (!asked(row.compound)) continue;
                m_numbers.clear();
                m_labels.clear();
                const auto numbers = rows.BlobView(1);
                DecodeNumbersInto(numbers.data, numbers.size, m_numbers);
                row.labels = m_labels;
                row.numbers = m_numbers;
                sink.Take(row);
            }
        }
    }
    rows.Reset();
}

bool SqliteBulkManager::WorthAPass(long long databanks, long long properties)
{
    if (!m_statistics) {
        m_statistics.emplace();
        Statement& stat = m_database->Db().Cached(sql::SelectValueStatistics).Reset();
        if (stat.Step()) {
            std::istringstream numbers{std::string(stat.TextView(0))};
            for (long long n = 0; m_statistics->size() < 3 && numbers >> n;) m_statistics->push_back(n);
        }
        stat.Reset();
    }
    const auto& statistics = *m_statistics;
    if (statistics.size() < 3) return false;
    const long long asked = std::min(databanks * statistics[1], databanks * properties * statistics[2]);
    return asked * 8 >= statistics[0] * 5;
}

// Measured on the bundle database: a row read through value_by_property costs about 1.6 times a
// row of a pass over the whole table (the index entry, then the table row), so the pass pays once
// the query asks for more than about 5/8 of the table's rows. Either way, each databank and
// property's rows come in the order of their ids, as the reads kind by kind give them.
void SqliteBulkManager::OptimizedGetAllKindsOfPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink)
{
    const auto wanted = WantedProperties(query);
    if (wanted.empty() || query.compounds.empty()) return;
    std::vector<int> propertyPlace, databankPlace;
    for (const auto& [propertyId, place] : wanted) SetPlace(propertyPlace, propertyId, place);
    std::vector<std::pair<int, int>> databanks; // databank id, place in the run
    for (int r = 0; r < static_cast<int>(query.run.size()); ++r) {
        const auto& databank = query.run[static_cast<std::size_t>(r)];
        const DatabankRecord* record = databank ? m_database->OwnDatabank(*databank) : nullptr;
        if (!record || PlaceOf(databankPlace, record->Id) >= 0) continue;
        SetPlace(databankPlace, record->Id, r);
        databanks.emplace_back(record->Id, r);
    }
    if (databanks.empty()) return;
    const AskedCompounds asked(query.compounds);
    Connection& db = m_database->Db();
    const ReadTransaction transaction(db);
    EngineValueRow row;
    if (!WorthAPass(static_cast<long long>(databanks.size()), static_cast<long long>(wanted.size()))) {
        Statement& rows = db.Cached(sql::SelectEngineValuesOfProperty);
        for (const auto& [databankId, place] : databanks) {
            row.databank = place;
            for (const auto& [propertyId, propertyPlace] : wanted) {
                row.property = propertyPlace;
                rows.Reset().Bind(1, databankId).Bind(2, propertyId);
                while (rows.Step()) TakeRow(rows, 0, row, asked, sink);
            }
        }
        rows.Reset();
        return;
    }
    Statement& rows = db.Cached(sql::SelectEngineValues).Reset();
    while (rows.Step()) {
        row.databank = PlaceOf(databankPlace, rows.Int(0));
        if (row.databank < 0) continue;
        row.property = PlaceOf(propertyPlace, rows.Int(1));
        if (row.property < 0) continue;
        TakeRow(rows, 2, row, asked, sink);
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
