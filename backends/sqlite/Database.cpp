#include "Service.h"

#include "Schema.h"
#include "service/Errors.h"

#include <charconv>
#include <filesystem>
#include <set>

namespace moru::sqlite {

using namespace moru::service;

namespace {

constexpr const char* CompoundIndexType = "CompoundIndex";

bool EqualsAsciiIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && SearchKey(a) == SearchKey(b);
}

std::optional<int> ParseCompoundIndex(const std::string& text)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

Value ReadValue(const Statement& row, int kindColumn)
{
    switch (row.Int(kindColumn)) {
    case ValueNumbers:
        return DecodeNumbers(row.Blob(kindColumn + 1), row.BlobSize(kindColumn + 1));
    case ValueText:
        return row.Text(kindColumn + 2);
    case ValueTexts:
        return DecodeTexts(row.Blob(kindColumn + 3), row.BlobSize(kindColumn + 3));
    default:
        return std::monostate{};
    }
}

std::filesystem::path FsPath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

class SqliteCompoundManager : public ICompoundManager {
public:
    explicit SqliteCompoundManager(SqliteDatabase& database) : m_database(&database) {}

    std::optional<FoundCompoundsList> FindForMM(const DatabankCollection& databankGroup, const std::string& searchText,
                                                const std::string& identifierType,
                                                const std::string& outputPropertyName) override
    {
        return Search(databankGroup, searchText, identifierType, outputPropertyName, 0);
    }

    std::optional<FoundCompoundsList> FindForMM_Multiple(const DatabankCollection& databankGroup,
                                                         const std::string& identifierType,
                                                         SearchStringMap& searchStrings,
                                                         const std::string& outputPropertyName) override
    {
        FoundCompoundsList hits;
        for (auto entry = searchStrings.begin(); entry != searchStrings.end();) {
            auto found = Search(databankGroup, entry->second, identifierType, outputPropertyName, entry->first);
            if (found.empty()) {
                ++entry;
                continue;
            }
            hits.insert(hits.end(), found.begin(), found.end());
            entry = searchStrings.erase(entry);
        }
        return hits;
    }

    // The content type is accepted for the caller's sake; every databank of the group is searched.
    void FindForVanta(const DatabankCollection& databankGroup, const std::string& searchText, int,
                      int& compoundIndex, std::string& compoundName, std::string& compoundAlias) override
    {
        auto found = Search(databankGroup, searchText, "", "", 0);
        if (found.empty()) return;
        const auto& hit = *found.front();
        compoundIndex = hit.Compound->Id();
        compoundName = FirstValue(hit, "NAME");
        compoundAlias = FirstValue(hit, "ALIAS");
    }

    std::optional<FoundCompoundsList> GetAllCompounds(const IDatabank* databank) override
    {
        auto& db = m_database->Db();
        DatabankPtr hitDatabank;
        Statement* listing = nullptr;
        if (databank) {
            const DatabankRecord* record = m_database->OwnDatabank(*databank);
            if (!record) return std::nullopt;
            listing = &db.Cached(sql::SelectCompoundsOfDatabank).Bind(1, record->Id);
            hitDatabank = FindDatabankObject(record->Id);
        } else {
            listing = &db.Cached(sql::SelectAllCompoundIds);
        }
        std::vector<int> ids;
        while (listing->Step()) ids.push_back(listing->Int(0));
        FoundCompoundsList hits;
        hits.reserve(ids.size());
        for (int id : ids) hits.push_back(MakeHit(id, hitDatabank, nullptr, 0));
        return hits;
    }

    IdentifierValuePtr GetCompoundIdentifier(const std::string& knownValue, const std::string& knownType,
                                             const std::string& wantedType) override
    {
        auto id = Resolve(knownValue, knownType);
        if (!id) return nullptr;
        auto value = std::make_shared<IdentifierValue>();
        value->Compound = std::make_shared<SqliteCompound>(*id);
        value->Identifier = m_database->IdentifierType(wantedType);
        if (!value->Identifier) value->Identifier = std::make_shared<SqliteIdentifier>(wantedType);
        if (EqualsAsciiIgnoringCase(wantedType, CompoundIndexType)) {
            value->ValueList = std::vector<std::string>{std::to_string(*id)};
            return value;
        }
        auto& query = m_database->Db().Cached(sql::SelectIdentifierOfCompound).Bind(1, *id).Bind(2, wantedType);
        std::vector<std::string> values;
        while (query.Step()) values.push_back(query.Text(0));
        if (!values.empty()) value->ValueList = std::move(values);
        return value;
    }

    IdentifierPtr GetIdentifier(const std::string& identifierType) override
    {
        return m_database->IdentifierType(identifierType);
    }

    CompoundPtr GetCompound(const std::string& value, const IIdentifier& identifier) override
    {
        auto id = Resolve(value, identifier.Name());
        return id ? std::make_shared<SqliteCompound>(*id) : nullptr;
    }

    bool DatabankHasCompound(const IDatabank& databank, const ICompound& compound) override
    {
        const DatabankRecord* record = m_database->OwnDatabank(databank);
        if (!record) return false;
        return m_database->Db().Cached(sql::DatabankHasCompound).Bind(1, record->Id).Bind(2, compound.Id()).Step();
    }

private:
    // Hits are ordered by databank, in the group's order, then by compound index.
    FoundCompoundsList Search(const DatabankCollection& group, const std::string& searchText,
                              const std::string& identifierType, const std::string& outputPropertyName,
                              int position)
    {
        FoundCompoundsList hits;
        std::vector<std::pair<DatabankPtr, int>> databanks;
        std::set<int> seen;
        for (const auto& databank : group.Items()) {
            const DatabankRecord* record = databank ? m_database->OwnDatabank(*databank) : nullptr;
            if (record && seen.insert(record->Id).second) databanks.emplace_back(databank, record->Id);
        }
        if (databanks.empty()) return hits;

        auto& db = m_database->Db();
        auto& find = db.Cached(sql::FindCompoundsByKey).Bind(1, SearchKey(searchText)).Bind(2, identifierType);
        std::vector<int> ids;
        while (find.Step()) ids.push_back(find.Int(0));
        if (ids.empty()) return hits;

        auto property = outputPropertyName.empty() ? nullptr : m_database->PropertyByName(outputPropertyName);
        for (const auto& [databank, databankId] : databanks) {
            for (int id : ids) {
                if (!db.Cached(sql::DatabankHasCompound).Bind(1, databankId).Bind(2, id).Step()) continue;
                auto hit = MakeHit(id, databank, property.get(), databankId);
                hit->CompoundPosition = position;
                hits.push_back(std::move(hit));
            }
        }
        return hits;
    }

    FoundCompoundsPtr MakeHit(int id, DatabankPtr databank, const SqliteProperty* property, int databankId)
    {
        auto hit = std::make_shared<FoundCompounds>();
        auto compound = std::make_shared<SqliteCompound>(id);
        hit->Compound = compound;
        hit->Databank = std::move(databank);

        std::vector<IdentifierValuePtr> identifiers;
        std::string lastType;
        auto& query = m_database->Db().Cached(sql::SelectIdentifiersOfCompound).Bind(1, id);
        while (query.Step()) {
            std::string type = query.Text(0);
            if (identifiers.empty() || lastType != type) {
                lastType = type;
                auto value = std::make_shared<IdentifierValue>();
                value->Identifier = m_database->IdentifierType(type);
                value->ValueList.emplace();
                value->Compound = compound;
                identifiers.push_back(std::move(value));
            }
            identifiers.back()->ValueList->push_back(query.Text(1));
        }
        hit->IdentifierValues = std::move(identifiers);

        if (property) {
            auto& read = m_database->Db().Cached(sql::SelectUnaryValue).Bind(1, databankId).Bind(2, id).Bind(
                3, property->m_id);
            if (read.Step()) {
                auto value = std::make_shared<PropertyValue>();
                value->Property = m_database->PropertyById(property->m_id);
                value->Data = ReadValue(read, 0);
                hit->PropertyValues = std::vector<PropertyValuePtr>{std::move(value)};
            }
        }
        return hit;
    }

    static std::string FirstValue(const FoundCompounds& hit, std::string_view type)
    {
        for (const auto& value : *hit.IdentifierValues) {
            if (EqualsAsciiIgnoringCase(value->Identifier->Name(), type) && value->ValueList &&
                !value->ValueList->empty())
                return value->ValueList->front();
        }
        return {};
    }

    std::optional<int> Resolve(const std::string& value, const std::string& type)
    {
        auto& db = m_database->Db();
        if (EqualsAsciiIgnoringCase(type, CompoundIndexType)) {
            auto id = ParseCompoundIndex(value);
            if (!id || !db.Cached(sql::CompoundExists).Bind(1, *id).Step()) return std::nullopt;
            return id;
        }
        auto& find = db.Cached(sql::FindCompoundsByKey).Bind(1, SearchKey(value)).Bind(2, type);
        if (!find.Step()) return std::nullopt;
        return find.Int(0);
    }

    DatabankPtr FindDatabankObject(int id) const
    {
        auto databanks = m_database->EnumerateDatabanks();
        for (const auto& databank : databanks->Items()) {
            if (databank->Id() == id) return databank;
        }
        return nullptr;
    }

    SqliteDatabase* m_database;
};

class SqlitePropertyManager : public IPropertyManager {
public:
    explicit SqlitePropertyManager(SqliteDatabase& database) : m_database(&database) {}

    // Without `withData`: every property of the database. With it: those holding values in the databank.
    std::optional<std::vector<PropertyPtr>> GetAllProperties(const IDatabank& databank, bool withData) override
    {
        const DatabankRecord* record = m_database->OwnDatabank(databank);
        if (!record) return std::nullopt;
        std::vector<PropertyPtr> properties;
        if (!withData) {
            properties.assign(m_database->Properties().begin(), m_database->Properties().end());
            return properties;
        }
        auto& query = m_database->Db().Cached(sql::SelectPropertiesWithData).Bind(1, record->Id);
        while (query.Step()) properties.push_back(m_database->PropertyById(query.Int(0)));
        return properties;
    }

private:
    SqliteDatabase* m_database;
};

class SqlitePropertyValueManager : public IPropertyValueManager {};
class SqliteMolData : public IMolData {};

class SqliteReactionManager : public IReactionManager {
public:
    explicit SqliteReactionManager(SqliteDatabase& database) : m_database(&database) {}

    int GetAllReactionsCount(const IDatabank* databank) override
    {
        auto& db = m_database->Db();
        if (!databank) {
            auto& count = db.Cached(sql::CountReactions);
            return count.Step() ? count.Int(0) : 0;
        }
        const DatabankRecord* record = m_database->OwnDatabank(*databank);
        if (!record) return 0;
        auto& count = db.Cached(sql::CountReactionsOfDatabank).Bind(1, record->Id);
        return count.Step() ? count.Int(0) : 0;
    }

private:
    SqliteDatabase* m_database;
};

class SqliteSundryDataManager : public ISundryDataManager {
public:
    explicit SqliteSundryDataManager(SqliteDatabase& database) : m_database(&database) {}

    // Pure databank information under its entry name; binary parameter information under the
    // databank's own name.
    SundryItemPtr GetItem(const std::string& name) override
    {
        const std::string pureEntry = PureDatabankInfoObject::GetSundryDataTableEntryName("");
        auto& db = m_database->Db();
        if (name.starts_with(pureEntry)) {
            const DatabankRecord* record = m_database->DatabankByName(name.substr(pureEntry.size()));
            if (!record) return nullptr;
            auto& query = db.Cached(sql::SelectPureInfo).Bind(1, record->Id);
            if (!query.Step()) return nullptr;
            auto info = std::make_shared<PureDatabankInfoObject>();
            info->Password = query.OptionalText(0);
            info->DisplayNameMM = query.OptionalText(1);
            info->Product = query.OptionalText(2);
            info->DatabankType = query.OptionalText(3);
            info->PromptMM = query.OptionalText(4);
            info->HelpFileName = query.OptionalText(5);
            info->HelpCode = query.Int(6);
            return info;
        }
        const DatabankRecord* record = m_database->DatabankByName(name);
        if (!record) return nullptr;
        auto& query = db.Cached(sql::SelectBinaryInfo).Bind(1, record->Id);
        std::vector<SundryItemPtr> entries;
        while (query.Step()) {
            auto entry = std::make_shared<GammaModelParameterInformation>();
            entry->ParameterName = query.OptionalText(0);
            entry->GammaModelName = query.OptionalText(1);
            entry->VaporModelName = query.OptionalText(2);
            entries.push_back(std::move(entry));
        }
        if (entries.empty()) return nullptr;
        auto info = std::make_shared<InteractionParameterDatabankInformationObject>();
        info->ParameterInfoList = std::move(entries);
        return info;
    }

private:
    SqliteDatabase* m_database;
};

} // namespace

DatabasePtr SqliteDatabank::Database() const { return m_database; }

CompoundCollectionPtr SqliteDatabank::GetIdentifiersOfCompoundsWithData() const
{
    auto collection = std::make_shared<CompoundCollection>();
    auto& query = m_database->Db().Cached(sql::SelectNamesOfDatabankCompounds).Bind(1, m_record.Id);
    while (query.Step()) collection->emplace_back(query.Int(0), CompoundNames{query.OptionalText(1), query.OptionalText(2)});
    return collection;
}

std::shared_ptr<SqliteDatabase> SqliteDatabase::Open(const std::string& alias, const std::string& path)
{
    std::error_code error;
    auto fsPath = FsPath(path);
    if (!std::filesystem::is_regular_file(fsPath, error)) throw ServiceError("the file does not exist");
    if (std::filesystem::file_size(fsPath, error) == 0) throw ServiceError("the file is empty, not a database");

    std::shared_ptr<SqliteDatabase> database(new SqliteDatabase());
    database->m_alias = alias;
    database->m_connection = std::make_unique<Connection>(path, Connection::Mode::ReadOnly);
    auto& db = *database->m_connection;
    try {
        auto& check = db.Cached(sql::CheckFormat);
        if (!check.Step() || check.Text(0) != FormatName) {
            throw ServiceError("the file is an SQLite database but not a property database of this service");
        }
        Statement integrity(db.Handle(), "PRAGMA quick_check(1)");
        if (integrity.Step() && integrity.Text(0) != "ok") throw ServiceError("the database file is corrupt");

        auto& meta = db.Cached(sql::SelectMeta);
        while (meta.Step()) database->m_meta[meta.Text(0)] = meta.Text(1);
        database->m_version = std::stoi(database->Meta("version").value_or("0"));

        auto& databanks = db.Cached(sql::SelectDatabanks);
        while (databanks.Step()) {
            database->m_databanks.push_back(
                {databanks.Int(0), databanks.Text(1), databanks.OptionalText(2), databanks.OptionalText(3)});
        }
        auto& properties = db.Cached(sql::SelectProperties);
        while (properties.Step()) {
            auto property = std::make_shared<SqliteProperty>();
            property->m_id = properties.Int(0);
            property->m_name = properties.Text(1);
            property->m_dataType = properties.Int(2);
            property->m_interactionType = properties.Int(3);
            property->m_elementCount = properties.Int(4);
            database->m_properties.push_back(property);
        }
        for (auto& property : database->m_properties) {
            auto& units = db.Cached(sql::SelectUnitRows).Bind(1, property->m_id);
            while (units.Step()) property->m_unitRows.push_back({units.Text(0), units.Text(1)});
            auto& elements = db.Cached(sql::SelectPropertyElements).Bind(1, property->m_id);
            while (elements.Step()) property->m_elements.push_back({elements.Int(0), elements.Int(1), elements.Int(2)});
            database->m_propertiesByKey[SearchKey(property->m_name)] = property;
        }
        database->m_compoundManager = std::make_unique<SqliteCompoundManager>(*database);
        database->m_propertyManager = std::make_unique<SqlitePropertyManager>(*database);
        database->m_propertyValueManager = std::make_unique<SqlitePropertyValueManager>();
        database->m_reactionManager = std::make_unique<SqliteReactionManager>(*database);
        database->m_sundryDataManager = std::make_unique<SqliteSundryDataManager>(*database);
        database->m_molData = std::make_unique<SqliteMolData>();
    } catch (const ServiceError&) {
        int code = sqlite3_errcode(db.Handle());
        if (code == SQLITE_NOTADB) throw ServiceError("the file is not a database");
        if (code == SQLITE_CORRUPT) throw ServiceError("the database file is corrupt");
        throw;
    }
    return database;
}

SqliteDatabase::~SqliteDatabase() = default;

bool SqliteDatabase::GetDatabaseAccessSetting(const std::string& settingName) const
{
    for (const auto& [key, value] : m_meta) {
        if (key.starts_with("access.") && EqualsAsciiIgnoringCase(key.substr(7), settingName)) return value == "1";
    }
    return false;
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
template <typename Manager> std::shared_ptr<Manager> SqliteDatabase::Share(const std::unique_ptr<Manager>& manager) const
{
    return std::shared_ptr<Manager>(std::const_pointer_cast<SqliteDatabase>(shared_from_this()), manager.get());
}

std::shared_ptr<ICompoundManager> SqliteDatabase::CompoundManager() const { return Share(m_compoundManager); }
std::shared_ptr<IPropertyManager> SqliteDatabase::PropertyManager() const { return Share(m_propertyManager); }
std::shared_ptr<IPropertyValueManager> SqliteDatabase::PropertyValueManager() const { return Share(m_propertyValueManager); }
std::shared_ptr<IReactionManager> SqliteDatabase::ReactionManager() const { return Share(m_reactionManager); }
std::shared_ptr<ISundryDataManager> SqliteDatabase::SundryDataManager() const { return Share(m_sundryDataManager); }
std::shared_ptr<IMolData> SqliteDatabase::MolData() const { return Share(m_molData); }

std::optional<std::string> SqliteDatabase::Meta(const std::string& key) const
{
    auto found = m_meta.find(key);
    if (found == m_meta.end()) return std::nullopt;
    return found->second;
}

std::shared_ptr<SqliteProperty> SqliteDatabase::PropertyByName(const std::string& name) const
{
    auto found = m_propertiesByKey.find(SearchKey(name));
    return found == m_propertiesByKey.end() ? nullptr : found->second;
}

std::shared_ptr<SqliteProperty> SqliteDatabase::PropertyById(int id) const
{
    for (const auto& property : m_properties) {
        if (property->m_id == id) return property;
    }
    return nullptr;
}

const DatabankRecord* SqliteDatabase::OwnDatabank(const IDatabank& databank) const
{
    const auto* own = dynamic_cast<const SqliteDatabank*>(&databank);
    if (!own || &own->Owner() != this) return nullptr;
    for (const auto& record : m_databanks) {
        if (record.Id == own->Id()) return &record;
    }
    return nullptr;
}

const DatabankRecord* SqliteDatabase::DatabankByName(const std::string& name) const
{
    for (const auto& record : m_databanks) {
        if (EqualsAsciiIgnoringCase(record.Name, name)) return &record;
    }
    return nullptr;
}

IdentifierPtr SqliteDatabase::IdentifierType(const std::string& name) const
{
    std::string key = SearchKey(name);
    auto found = m_identifierTypes.find(key);
    if (found != m_identifierTypes.end()) return found->second;
    IdentifierPtr identifier;
    if (EqualsAsciiIgnoringCase(name, CompoundIndexType)) {
        identifier = std::make_shared<SqliteIdentifier>(CompoundIndexType);
    } else {
        auto& query = m_connection->Cached(sql::SelectIdentifierType).Bind(1, name);
        if (!query.Step()) return nullptr;
        identifier = std::make_shared<SqliteIdentifier>(query.Text(0));
    }
    m_identifierTypes[key] = identifier;
    return identifier;
}

} // namespace moru::sqlite
