#include "Managers.h"

#include "Schema.h"

#include "platform/Text.h"

#include <charconv>
#include <algorithm>

namespace moru::sqlite {

using namespace moru::service;

namespace {

std::optional<int> ParseCompoundIndex(const std::string& text)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

} // namespace

std::optional<FoundCompoundsList> SqliteCompoundManager::FindForMM(const DatabankCollection& databankGroup,
                                                                   const std::string& searchText,
                                                                   const std::string& identifierType,
                                                                   const std::string& outputPropertyName)
{
    return Search(databankGroup, searchText, identifierType, outputPropertyName, 0);
}

std::optional<FoundCompoundsList> SqliteCompoundManager::FindForMM_Multiple(const DatabankCollection& databankGroup,
                                                                            const std::string& identifierType,
                                                                            SearchStringMap& searchStrings,
                                                                            const std::string& outputPropertyName)
{
    return common::SearchEach(searchStrings, [&](const std::string& text, int position) {
        return Search(databankGroup, text, identifierType, outputPropertyName, position);
    });
}

// The content type is accepted for the caller's sake; every databank of the group is searched.
void SqliteCompoundManager::FindForVanta(const DatabankCollection& databankGroup, const std::string& searchText, int,
                                         int& compoundIndex, std::string& compoundName, std::string& compoundAlias)
{
    common::TakeFirstHit(Search(databankGroup, searchText, "", "", 0), compoundIndex, compoundName, compoundAlias);
}

std::optional<FoundCompoundsList> SqliteCompoundManager::GetAllCompounds(const IDatabank* databank)
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

IdentifierValuePtr SqliteCompoundManager::GetCompoundIdentifier(const std::string& knownValue,
                                                                const std::string& knownType,
                                                                const std::string& wantedType)
{
    auto id = Resolve(knownValue, knownType);
    if (!id) return nullptr;
    auto value = std::make_shared<IdentifierValue>();
    value->Compound = std::make_shared<SqliteCompound>(*id);
    value->Identifier = m_database->IdentifierType(wantedType);
    if (!value->Identifier) value->Identifier = std::make_shared<SqliteIdentifier>(wantedType);
    if (platform::EqualsIgnoringCase(wantedType, kCompoundIndexType)) {
        value->ValueList = std::vector<std::string>{std::to_string(*id)};
        return value;
    }
    auto& query = m_database->Db().Cached(sql::SelectIdentifiersOfCompound).Bind(1, *id);
    std::vector<std::string> values;
    while (query.Step()) {
        if (platform::EqualsIgnoringCase(query.TextView(0), wantedType)) values.push_back(query.Text(1));
        else if (!values.empty()) break; // the values of one type stand together
    }
    if (!values.empty()) value->ValueList = std::move(values);
    return value;
}

IdentifierPtr SqliteCompoundManager::GetIdentifier(const std::string& identifierType)
{
    return m_database->IdentifierType(identifierType);
}

CompoundPtr SqliteCompoundManager::GetCompound(const std::string& value, const IIdentifier& identifier)
{
    auto id = Resolve(value, identifier.Name());
    return id ? std::make_shared<SqliteCompound>(*id) : nullptr;
}

bool SqliteCompoundManager::DatabankHasCompound(const IDatabank& databank, const ICompound& compound)
{
    const DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) return false;
    return m_database->Db().Cached(sql::DatabankHasCompound).Bind(1, record->Id).Bind(2, compound.Id()).Step();
}

std::optional<std::string> SqliteCompoundManager::GetCompoundClass(const ICompound& compound)
{
    auto& query = m_database->Db().Cached(sql::SelectCompoundClass).Bind(1, compound.Id());
    std::optional<std::string> compoundClass = query.Step() ? query.OptionalText(0) : std::nullopt;
    query.Reset();
    return compoundClass;
}

// Hits are ordered by databank, in the group's order, then by compound index.
FoundCompoundsList SqliteCompoundManager::Search(const DatabankCollection& group, const std::string& searchText,
                                                 const std::string& identifierType,
                                                 const std::string& outputPropertyName, int position)
{
    FoundCompoundsList hits;
    auto& databanks = m_searchDatabanks;
    databanks.clear();
    for (const auto& databank : group.Items()) {
        const DatabankRecord* record = databank ? m_database->OwnDatabank(*databank) : nullptr;
        if (!record) continue;
        const bool seen = std::any_of(databanks.begin(), databanks.end(),
                                      [&](const SearchDatabank& known) { return known.id == record->Id; });
        if (!seen) databanks.push_back({&databank, record->Id});
    }
    if (databanks.empty()) return hits;

    auto& db = m_database->Db();
    auto& ids = m_searchIds;
    FindCompoundsByIdentifier(*m_database, searchText, identifierType, m_searchKey, ids);
    if (ids.empty()) return hits;

    auto property = outputPropertyName.empty() ? nullptr : m_database->PropertyByName(outputPropertyName);
    for (const auto& [databank, databankId] : databanks) {
        for (int id : ids) {
            if (!db.Cached(sql::DatabankHasCompound).Bind(1, databankId).Bind(2, id).Step()) continue;
            auto hit = MakeHit(id, *databank, property.get(), databankId);
            hit->CompoundPosition = position;
            hits.push_back(std::move(hit));
        }
    }
    return hits;
}

FoundCompoundsPtr SqliteCompoundManager::MakeHit(int id, DatabankPtr databank, const SqliteProperty* property,
                                                 int databankId)
{
    auto hit = std::make_shared<FoundCompounds>();
    auto compound = std::make_shared<SqliteCompound>(id);
    hit->Compound = compound;
    hit->Databank = std::move(databank);

    // The values of each type gather in room kept from the hits before; then all of the hit's
    // identifier values move into one block.
    auto& pending = m_pendingValues;
    std::size_t typeCount = 0;
    std::vector<std::string>* values = nullptr;
    auto& query = m_database->Db().Cached(sql::SelectIdentifiersOfCompound).Bind(1, id);
    while (query.Step()) {
        const std::string_view type = query.TextView(0);
        if (!values || m_lastType != type) {
            m_lastType.assign(type);
            if (typeCount == pending.size()) pending.emplace_back();
            IdentifierValue& value = pending[typeCount++];
            value.Identifier = StoredIdentifierType(m_lastType);
            values = &value.ValueList.emplace();
            values->reserve(4); // most types hold a few values: one allocation rather than a chain
        }
        values->emplace_back(query.TextView(1));
    }
    std::vector<IdentifierValuePtr> identifiers;
    identifiers.reserve(typeCount);
    if (typeCount) {
        auto block = std::make_shared<IdentifierValue[]>(typeCount);
        for (std::size_t t = 0; t < typeCount; ++t) {
            IdentifierValue& value = block[t];
            value.Identifier = std::move(pending[t].Identifier);
            value.ValueList = std::move(pending[t].ValueList);
            value.Compound = compound;
            identifiers.emplace_back(block, &value);
        }
    }
    hit->IdentifierValues = std::move(identifiers);

    if (property) {
        auto& read =
            m_database->Db().Cached(sql::SelectUnaryValue).Bind(1, databankId).Bind(2, id).Bind(3, property->m_id);
        if (read.Step()) {
            auto value = std::make_shared<PropertyValue>();
            value->Property = m_database->PropertyById(property->m_id);
            value->Data = ReadStoredValue(read, 0);
            hit->PropertyValues = std::vector<PropertyValuePtr>{std::move(value)};
        }
    }
    return hit;
}

// Identifier types as the database spells them, for the hits: a handful, each met in every hit.
IdentifierPtr SqliteCompoundManager::StoredIdentifierType(const std::string& type)
{
    for (const auto& [name, identifier] : m_storedTypes) {
        if (name == type) return identifier;
    }
    IdentifierPtr identifier = m_database->IdentifierType(type);
    constexpr std::size_t kMostTypes = 64;
    if (m_storedTypes.size() < kMostTypes) m_storedTypes.emplace_back(type, identifier);
    return identifier;
}

std::optional<int> SqliteCompoundManager::Resolve(const std::string& value, const std::string& type)
{
    auto& db = m_database->Db();
    if (platform::EqualsIgnoringCase(type, kCompoundIndexType)) {
        auto id = ParseCompoundIndex(value);
        if (!id || !db.Cached(sql::CompoundExists).Bind(1, *id).Step()) return std::nullopt;
        return id;
    }
    std::vector<int> ids = FindByKey(value, type);
    if (ids.empty()) return std::nullopt;
    return ids.front();
}

std::vector<int> SqliteCompoundManager::FindByKey(const std::string& text, const std::string& type)
{
    return FindCompoundsByIdentifier(*m_database, text, type);
}

void FindCompoundsByIdentifier(const SqliteDatabase& database, std::string_view text, std::string_view type,
                               std::string& key, std::vector<int>& ids)
{
    ids.clear();
    database.SearchKeyInto(text, key);
    auto& find = database.Db().Cached(sql::FindCompoundsByKey).BindUnchanged(1, key);
    while (find.Step()) {
        if (type.empty() || platform::EqualsIgnoringCase(find.TextView(1), type)) ids.push_back(find.Int(0));
    }
    if (ids.size() > 1) {
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    }
}

std::vector<int> FindCompoundsByIdentifier(const SqliteDatabase& database, const std::string& text,
                                           const std::string& type)
{
    std::string key;
    std::vector<int> ids;
    FindCompoundsByIdentifier(database, text, type, key, ids);
    return ids;
}

DatabankPtr SqliteCompoundManager::FindDatabankObject(int id) const
{
    auto databanks = m_database->EnumerateDatabanks();
    for (const auto& databank : databanks->Items()) {
        if (databank->Id() == id) return databank;
    }
    return nullptr;
}

// Nothing of this service depends on the working set; it is kept for the caller's sake.
void SqliteCompoundManager::SetWorkingCompounds(const std::vector<CompoundPtr>& compounds)
{
    m_workingCompounds = compounds;
}

} // namespace moru::sqlite
