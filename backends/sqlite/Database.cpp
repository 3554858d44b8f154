#include "BinaryValueManager.h"
#include "BulkManager.h"
#include "Managers.h"

#include "Checks.h"
#include "Schema.h"

#include "platform/Files.h"
#include "platform/Text.h"
#include "service/Errors.h"

#include <charconv>
#include <filesystem>

namespace moru::sqlite {

using namespace moru::service;

DatabasePtr SqliteDatabank::Database() const { return m_database; }

void SqliteDatabank::Retire()
{
    m_record.BaseName.reset();
    m_record.Description.reset();
    m_record.Name.shrink_to_fit();
}

CompoundCollectionPtr SqliteDatabank::GetIdentifiersOfCompoundsWithData() const
{
    auto collection = std::make_shared<CompoundCollection>();
    auto& query = m_database->Db().Cached(sql::SelectNamesOfDatabankCompounds).Bind(1, m_record.Id);
    while (query.Step())
        collection->emplace_back(query.Int(0), CompoundNames{query.OptionalText(1), query.OptionalText(2)});
    return collection;
}

namespace {

// The page cache a connection may take. Queries touch few pages each, so a small cache keeps
// searches fast while a configuration of many databases stays within memory.
constexpr int kCacheKibibytes = 512;

int ParseVersion(const std::optional<std::string>& text)
{
    if (!text) return 0;
    int version = 0;
    const auto* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, version);
    if (error != std::errc() || stop != end) throw ServiceError("the database's version record is not a whole number");
    return version;
}

} // namespace

std::shared_ptr<SqliteDatabase> SqliteDatabase::Open(const std::string& alias, const std::string& path)
{
    CheckDatabaseFile(path);

    std::shared_ptr<SqliteDatabase> database(new SqliteDatabase());
    database->m_alias = alias;
    database->m_connection = std::make_unique<Connection>(path, Connection::Mode::ReadOnly);
    auto& db = *database->m_connection;
    db.Execute(("PRAGMA cache_size = -" + std::to_string(kCacheKibibytes)).c_str());
    CheckDatabaseFormat(db);
    try {
        auto& meta = db.Cached(sql::SelectMeta);
        while (meta.Step()) database->m_meta[meta.Text(0)] = meta.Text(1);
        database->m_version = ParseVersion(database->Meta("version"));
        auto folding = database->Meta(std::string(SearchFoldingKey));
        if (!folding) {
            database->m_asciiSearchKeys = true;
        } else if (*folding != UnicodeSimpleFolding) {
            throw ServiceError("the database's search keys use the unknown case folding \"" + *folding + "\"");
        }

        auto& databanks = db.Cached(sql::SelectDatabanks);
        while (databanks.Step()) {
            database->m_databanks.push_back(
                {databanks.Int(0), databanks.Text(1), databanks.OptionalText(2), databanks.OptionalText(3)});
        }
        database->m_compoundManager = std::make_unique<SqliteCompoundManager>(*database);
        database->m_propertyManager = std::make_unique<SqlitePropertyManager>(*database);
        database->m_reactionManager = std::make_unique<SqliteReactionManager>(*database);
        database->m_sundryDataManager = std::make_unique<SqliteSundryDataManager>(*database);
        database->m_propertyValueManager = std::make_unique<SqlitePropertyValueManager>(*database);
        database->m_molDataManager = std::make_unique<SqliteMolData>(*database);
        database->m_binaryValueManager = std::make_unique<SqliteBinaryValueManager>(*database);
        database->m_bulkManager = std::make_unique<SqliteBulkManager>(*database);
    } catch (const ServiceError&) {
        int code = sqlite3_errcode(db.Handle()) & 0xFF;
        if (code == SQLITE_NOTADB) throw ServiceError("the file is not a database");
        if (code == SQLITE_CORRUPT) throw ServiceError("the database file is corrupt");
        throw;
    }
    return database;
}

void SqliteDatabase::LoadProperties() const
{
    if (m_propertiesLoaded) return;
    auto& db = Db();
    std::vector<std::shared_ptr<SqliteProperty>> properties;
    auto& query = db.Cached(sql::SelectProperties);
    while (query.Step()) {
        auto property = std::make_shared<SqliteProperty>();
        property->m_id = query.Int(0);
        property->m_name = query.Text(1);
        property->m_dataType = query.Int(2);
        property->m_interactionType = query.Int(3);
        property->m_elementCount = query.Int(4);
        properties.push_back(property);
    }
    for (auto& property : properties) {
        auto& units = db.Cached(sql::SelectUnitRows).Bind(1, property->m_id);
        while (units.Step()) property->m_unitRows.push_back({units.Text(0), units.Text(1)});
    }
    std::map<int, SqliteProperty*> byId;
    for (auto& property : properties) byId[property->m_id] = property.get();
    auto& elements = db.Cached(sql::SelectAllPropertyElements);
    while (elements.Step()) {
        const auto owner = byId.find(elements.Int(0));
        if (owner == byId.end()) continue;
        owner->second->m_labelIJ.push_back(elements.Int(1));
        owner->second->m_labelJI.push_back(elements.Int(2));
        owner->second->m_symmetry.push_back(elements.Int(3));
    }
    m_properties.Assign(std::move(properties));
    m_propertiesLoaded = true;
}

const std::vector<std::shared_ptr<SqliteProperty>>& SqliteDatabase::Properties() const
{
    LoadProperties();
    return m_properties.All();
}

Connection& SqliteDatabase::Db() const
{
    if (!m_connection) {
        throw ServiceError("the database '" + m_alias + "' is closed: a later initialisation replaced it");
    }
    return *m_connection;
}

void SqliteDatabase::Retire()
{
    for (const auto& object : m_databankObjects) {
        if (auto databank = object.lock()) databank->Retire();
    }
    m_connection.reset();
    m_meta.clear();
    std::vector<DatabankRecord>().swap(m_databanks);
    m_properties.Clear();
    m_propertiesLoaded = false;
    m_identifierTypes.clear();
    m_identifierTypesAsAsked.clear();
    std::vector<std::weak_ptr<SqliteDatabank>>().swap(m_databankObjects);
}

SqliteDatabase::~SqliteDatabase() = default;

bool SqliteDatabase::GetDatabaseAccessSetting(const std::string& settingName) const
{
    return common::AccessSetting(m_meta, settingName);
}

DatabankCollectionPtr SqliteDatabase::EnumerateDatabanks() const
{
    auto collection = std::make_shared<DatabankCollection>();
    bool alive = m_databankObjects.size() == m_databanks.size();
    for (const auto& object : m_databankObjects) alive = alive && !object.expired();
    if (!alive) {
        m_databankObjects.clear();
        auto self = std::const_pointer_cast<SqliteDatabase>(shared_from_this());
        for (const auto& record : m_databanks) {
            auto databank = std::make_shared<SqliteDatabank>(self, record);
            m_databankObjects.push_back(databank);
            collection->Add(std::move(databank));
        }
        return collection;
    }
    for (const auto& object : m_databankObjects) collection->Add(object.lock());
    return collection;
}

// Managers live inside their database; the pointer handed out shares ownership of the database, so
// a held manager keeps it alive and is the same object on every call.
template <typename Manager>
std::shared_ptr<Manager> SqliteDatabase::Share(const std::unique_ptr<Manager>& manager) const
{
    return std::shared_ptr<Manager>(std::const_pointer_cast<SqliteDatabase>(shared_from_this()), manager.get());
}

std::shared_ptr<ICompoundManager> SqliteDatabase::CompoundManager() const { return Share(m_compoundManager); }
std::shared_ptr<IPropertyManager> SqliteDatabase::PropertyManager() const { return Share(m_propertyManager); }
std::shared_ptr<IReactionManager> SqliteDatabase::ReactionManager() const { return Share(m_reactionManager); }
std::shared_ptr<ISundryDataManager> SqliteDatabase::SundryDataManager() const { return Share(m_sundryDataManager); }
std::shared_ptr<IPropertyValueManager> SqliteDatabase::PropertyValueManager() const
{
    return Share(m_propertyValueManager);
}
std::shared_ptr<IMolData> SqliteDatabase::MolDataManager() const { return Share(m_molDataManager); }
std::shared_ptr<IBinaryValueManager> SqliteDatabase::BinaryValueManager() const { return Share(m_binaryValueManager); }
std::shared_ptr<IBulkManager> SqliteDatabase::BulkManager() const { return Share(m_bulkManager); }

std::optional<std::string> SqliteDatabase::Meta(const std::string& key) const
{
    auto found = m_meta.find(key);
    if (found == m_meta.end()) return std::nullopt;
    return found->second;
}

std::string SqliteDatabase::SearchKeyOf(std::string_view text) const
{
    return m_asciiSearchKeys ? AsciiSearchKey(text) : SearchKey(text);
}

std::shared_ptr<SqliteProperty> SqliteDatabase::PropertyByName(const std::string& name) const
{
    LoadProperties();
    return m_properties.ByName(name);
}

std::shared_ptr<SqliteProperty> SqliteDatabase::PropertyById(int id) const
{
    LoadProperties();
    return m_properties.ById(id);
}

const DatabankRecord* SqliteDatabase::OwnDatabank(const IDatabank& databank) const
{
    Db(); // a retired database owns nothing any more: fail rather than answer "not mine"
    const auto* own = dynamic_cast<const SqliteDatabank*>(&databank);
    if (!own || &own->Owner() != this) return nullptr;
    return common::RecordById(m_databanks, own->Id());
}

const DatabankRecord* SqliteDatabase::DatabankByName(const std::string& name) const
{
    Db();
    return common::RecordByName(m_databanks, name);
}

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
