#include "BinaryValueManager.h"
#include "BulkManager.h"
#include "Managers.h"

#include "Checks.h"
#include "Schema.h"

#include "common/StoredManagers.h"

#include "platform/Files.h"
#include "platform/Text.h"
#include "service/Errors.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

namespace moru::sqlite {

using namespace moru::service;

CompoundCollectionPtr SqliteDatabase::CompoundsWithData(int databankId) const
{
    auto collection = std::make_shared<CompoundCollection>();
    auto& query = Db().Cached(sql::SelectNamesOfDatabankCompounds).Bind(1, databankId);
    while (query.Step())
        collection->emplace_back(query.Int(0), CompoundNames{query.OptionalText(1), query.OptionalText(2)});
    return collection;
}

namespace {

// The page cache a connection may take. Queries touch few pages each, so a small cache keeps
// searches fast while a configuration of many databases stays within memory.
constexpr int kCacheKibibytes = 512;

} // namespace

std::shared_ptr<SqliteDatabase> SqliteDatabase::Open(const std::string& alias, const std::string& path)
{
    CheckDatabaseFile(path);

    std::shared_ptr<SqliteDatabase> database(new SqliteDatabase(alias));
    database->m_connection = std::make_unique<Connection>(path, Connection::Mode::ReadOnly);
    auto& db = *database->m_connection;
    db.TakeReadLock();
    db.Execute(("PRAGMA cache_size = -" + std::to_string(kCacheKibibytes)).c_str());
    auto meta = CheckDatabaseFormat(db);
    try {
        database->TakeMeta(std::move(meta));

        std::vector<std::pair<long long, DatabankRecord>> positioned;
        auto& rows = db.Cached(sql::SelectDatabanksUnordered);
        while (rows.Step()) {
            positioned.emplace_back(
                rows.Int64(4), DatabankRecord{rows.Int(0), rows.Text(1), rows.OptionalText(2), rows.OptionalText(3)});
        }
        // Stable, so that databanks of one position keep the order SQLite's sort gave them: the stored
        // one. A database built by moru-db stores them in their order already.
        const auto byPosition = [](const auto& a, const auto& b) { return a.first < b.first; };
        if (!std::is_sorted(positioned.begin(), positioned.end(), byPosition))
            std::stable_sort(positioned.begin(), positioned.end(), byPosition);
        std::vector<DatabankRecord> databanks;
        databanks.reserve(positioned.size());
        for (auto& entry : positioned) databanks.push_back(std::move(entry.second));
        database->TakeDatabanks(std::move(databanks));
        auto& managers = database->m_managers;
        managers.Compounds = std::make_unique<SqliteCompoundManager>(*database);
        managers.Properties = std::make_unique<common::StoredPropertyManager>(*database);
        managers.Reactions = std::make_unique<SqliteReactionManager>(*database);
        managers.SundryData = std::make_unique<common::StoredSundryDataManager>(*database);
        managers.PropertyValues = std::make_unique<common::StoredPropertyValueManager>(*database);
        managers.MolData = std::make_unique<common::StoredMolData>(*database);
        managers.BinaryValues = std::make_unique<SqliteBinaryValueManager>(*database);
        managers.Bulk = std::make_unique<SqliteBulkManager>(*database);
    } catch (const ServiceError&) {
        int code = sqlite3_errcode(db.Handle()) & 0xFF;
        if (code == SQLITE_NOTADB) throw ServiceError("the file is not a database");
        if (code == SQLITE_CORRUPT) throw ServiceError("the database file is corrupt");
        throw;
    }
    return database;
}

std::vector<std::shared_ptr<SqliteProperty>> SqliteDatabase::ReadProperties() const
{
    auto& db = Db();
    common::PropertyRows properties;
    std::vector<int> ids;
    auto& query = db.Cached(sql::SelectProperties);
    while (query.Step()) {
        properties.AddProperty(query.Int(0), query.Text(1), query.Int(2), query.Int(3), query.Int(4));
        ids.push_back(query.Int(0));
    }
    for (int id : ids) {
        auto& units = db.Cached(sql::SelectUnitRows).Bind(1, id);
        while (units.Step()) properties.AddUnitRow(id, units.Text(0), units.Text(1));
    }
    auto& elements = db.Cached(sql::SelectAllPropertyElements);
    while (elements.Step()) properties.AddElement(elements.Int(0), elements.Int(1), elements.Int(2), elements.Int(3));
    return properties.Take();
}

Connection& SqliteDatabase::Db() const
{
    CheckOpen();
    return *m_connection;
}

void SqliteDatabase::Retire()
{
    StoredDatabase::Retire();
    m_connection.reset();
    m_identifierTypes.clear();
    m_identifierTypesAsAsked.clear();
    m_pureInfo.reset();
    m_binaryInfo.reset();
    m_reactionCounts.reset();
}

SqliteDatabase::~SqliteDatabase() = default;

void SqliteDatabase::RememberAsAsked(const std::string& name, const IdentifierPtr& identifier) const
{
    // Bounded: a host that asks in ever new spellings of one name finds the later ones by folding.
    constexpr std::size_t maxSpellings = 256;
    if (m_identifierTypesAsAsked.size() < maxSpellings) m_identifierTypesAsAsked.emplace(name, identifier);
}

IdentifierPtr SqliteDatabase::IdentifierType(const std::string& name) const
{
    if (auto asked = m_identifierTypesAsAsked.find(name); asked != m_identifierTypesAsAsked.end()) return asked->second;
    std::string key = platform::FoldCase(name);
    if (auto found = m_identifierTypes.find(key); found != m_identifierTypes.end()) {
        RememberAsAsked(name, found->second);
        return found->second;
    }
    IdentifierPtr identifier;
    if (key == platform::FoldCase(kCompoundIndexType)) {
        identifier = std::make_shared<SqliteIdentifier>(kCompoundIndexType);
    } else {
        auto* query = &Db().Cached(sql::SelectIdentifierType).Bind(1, name);
        if (!query->Step()) {
            query = &Db().Cached(sql::SelectIdentifierTypeFolded).Bind(1, key);
            if (!query->Step()) return nullptr;
        }
        identifier = std::make_shared<SqliteIdentifier>(query->Text(0));
    }
    m_identifierTypes[key] = identifier;
    RememberAsAsked(name, identifier);
    return identifier;
}

} // namespace moru::sqlite
