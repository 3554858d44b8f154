#include "PgService.h"

#include "PgSchema.h"

#include "platform/Text.h"
#include "service/Errors.h"

#include <map>
#include <string>
#include <string_view>

namespace moru::postgres {

using namespace moru::service;

// Three statements for all the identifiers: the compounds under their search keys, then the
// identifiers of those compounds, then their engine numbers.
std::vector<EngineCompoundRow> PgBulkManager::OptimizedFind(const std::vector<std::string>& identifiers,
                                                            bool keldaIndex, bool plxIndex)
{
    PgConnection& db = m_database->Db();
    // Finding the compounds starts a pass: its later calls read the data read here.
    const PgResult schema = db.Run(sql::SelectSchemaOfCall);
    m_passSchema = schema.Rows() == 1 ? std::optional<long long>(schema.Int64(0, 0)) : std::nullopt;

    // Identifiers that differ only in what the search key folds share a key.
    std::map<std::string, std::vector<int>> byKey;
    for (int i = 0; i < static_cast<int>(identifiers.size()); ++i) {
        std::string key = m_database->SearchKeyOf(identifiers[static_cast<std::size_t>(i)]);
        if (Storable(key)) byKey[std::move(key)].push_back(i);
    }
    std::vector<std::string> keys;
    keys.reserve(byKey.size());
    for (const auto& entry : byKey) keys.push_back(entry.first);
    if (keys.empty()) return {};

    std::map<std::string, int> foundByKey;
    const PgResult found = db.Run(sql::FindFirstCompoundsByKeys, PgParams().TextArray(keys));
    for (int r = 0; r < found.Rows(); ++r) foundByKey.emplace(found.Text(r, 0), found.Int(r, 1));

    std::map<int, EngineCompoundRow> details; // one entry per compound, however many identifiers name it
    for (const auto& entry : foundByKey) details.try_emplace(entry.second);
    std::vector<int> ids;
    ids.reserve(details.size());
    for (const auto& entry : details) ids.push_back(entry.first);
    if (!ids.empty()) {
        const PgResult rows = db.Run(sql::SelectIdentifiersOfCompounds, PgParams().IntArray(ids));
        for (int r = 0; r < rows.Rows(); ++r) {
            EngineCompoundRow& d = details[rows.Int(r, 0)];
            const std::string type = rows.Text(r, 1);
            std::optional<std::string>* slot = nullptr;
            if (platform::EqualsIgnoringCase(type, "NAME")) slot = &d.name;
            else if (platform::EqualsIgnoringCase(type, "ALIAS")) slot = &d.alias;
            else if (platform::EqualsIgnoringCase(type, "CASRN")) slot = &d.casNo;
            if (slot && !*slot) *slot = rows.Text(r, 2); // the first value of its type
        }
        const PgResult engine = db.Run(sql::SelectCompoundsEngine, PgParams().IntArray(ids));
        for (int r = 0; r < engine.Rows(); ++r) {
            EngineCompoundRow& d = details[engine.Int(r, 0)];
            d.classNumber = engine.OptionalDouble(r, 1).value_or(0.0);
            if (keldaIndex) d.keldaIndex = engine.OptionalDouble(r, 2).value_or(0.0);
            if (plxIndex) d.plxIndex = engine.OptionalDouble(r, 3).value_or(0.0);
        }
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

std::optional<std::vector<PropertyPtr>> PgBulkManager::GetAllProperties()
{
    return std::vector<PropertyPtr>(m_database->Properties().begin(), m_database->Properties().end());
}

// An engine pass is several calls, each with a snapshot of its own. moru-db push keeps the data it
// replaces, under another name, until the next push; so a pass that began before a push reads the
// data it began with to its end, and never mixes the two.
void PgBulkManager::ReadPassData()
{
    if (!m_passSchema) return;
    PgConnection& db = m_database->Db();
    const PgResult current = db.Run(sql::SelectSchemaOfCall);
    if (current.Rows() == 1 && current.Int64(0, 0) == *m_passSchema) return;
    // The call holds the current schema's format table (PgConnection), which a push locks before
    // it drops the data replaced earlier: what is found here stays until the call ends.
    const PgResult kept = db.Run(sql::SelectSchemaName, PgParams().Int(*m_passSchema));
    if (kept.Rows() != 1) {
        throw ServiceError("the database " + m_database->Alias() +
                           " was replaced twice since this bulk pass found its compounds; load the lists again");
    }
    db.Run(sql::ReadSchemaInCall, PgParams().Text(kept.Text(0, 0)));
}

// One statement for every databank of the run, property and compound at once: a statement costs the
// server a plan over the arrays, so fewer statements beat smaller ones.
void PgBulkManager::ReadValues(const EngineValueQuery& query, const char* select, bool binary, IEngineValueSink& sink)
{
    std::map<int, int> places; // property id, place in the query
    std::vector<int> propertyIds;
    for (int i = 0; i < static_cast<int>(query.properties.size()); ++i) {
        const std::string& name = query.properties[static_cast<std::size_t>(i)];
        const auto property = m_database->PropertyByName(name);
        if (property && property->m_name == name && places.emplace(property->m_id, i).second)
            propertyIds.push_back(property->m_id);
    }
    if (propertyIds.empty() || query.compounds.empty()) return;
    std::map<int, std::vector<int>> runPlaces; // databank id, its places in the run
    std::vector<int> databankIds;
    for (int r = 0; r < static_cast<int>(query.run.size()); ++r) {
        const auto& databank = query.run[static_cast<std::size_t>(r)];
        const common::DatabankRecord* record = databank ? m_database->OwnDatabank(*databank) : nullptr;
        if (!record) continue;
        auto& places = runPlaces[record->Id];
        if (places.empty()) databankIds.push_back(record->Id);
        places.push_back(r);
    }
    if (databankIds.empty()) return;
    ReadPassData();
    const PgResult rows =
        m_database->Db().Run(select, PgParams().IntArray(databankIds).IntArray(propertyIds).IntArray(query.compounds));
    for (int k = 0; k < rows.Rows(); ++k) {
        EngineValueRow row;
        row.property = places.at(rows.Int(k, 1));
        row.compound = rows.Int(k, 2);
        m_numbers.clear();
        m_labels.clear();
        if (binary) {
            row.compound2 = rows.Int(k, 3);
            const auto labels = rows.Bytes(k, 4), numbers = rows.Bytes(k, 5);
            common::DecodeLabelsInto(labels.data(), static_cast<int>(labels.size()), m_labels);
            common::DecodeNumbersInto(numbers.data(), static_cast<int>(numbers.size()), m_numbers);
        } else {
            const auto numbers = rows.Bytes(k, 3);
            common::DecodeNumbersInto(numbers.data(), static_cast<int>(numbers.size()), m_numbers);
        }
        row.labels = m_labels;
        row.numbers = m_numbers;
        for (const int r : runPlaces.at(rows.Int(k, 0))) {
            row.databank = r;
            sink.Take(row);
        }
    }
}

void PgBulkManager::OptimizedGetAllScalarPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink)
{
    ReadValues(query, sql::SelectEngineUnaryValues, false, sink);
}

void PgBulkManager::OptimizedGetAllVectorPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink)
{
    ReadValues(query, sql::SelectEngineUnaryValues, false, sink);
}

void PgBulkManager::OptimizedGetAllBinaryPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink)
{
    ReadValues(query, sql::SelectEngineBinaryValues, true, sink);
}

void PgBulkManager::OptimizedGetAllKindsOfPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink)
{
    ReadValues(query, sql::SelectEngineUnaryValues, false, sink);
    ReadValues(query, sql::SelectEngineBinaryValues, true, sink);
}

} // namespace moru::postgres
