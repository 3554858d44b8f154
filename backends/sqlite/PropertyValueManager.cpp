#include "Managers.h"

#include "Schema.h"

namespace moru::sqlite {

using namespace moru::service;

namespace {

// The compound index that `compoundId` names as an identifier of `compoundIdType` (of any type
// when that is empty).
std::optional<int> ResolveCompound(SqliteDatabase& database, const std::string& compoundId,
                                   const std::string& compoundIdType)
{
    const CompoundPtr compound = database.CompoundManager()->GetCompound(compoundId, SqliteIdentifier(compoundIdType));
    if (!compound) return std::nullopt;
    return compound->Id();
}

bool HasDatabank(const SqliteDatabase& database, int databankId)
{
    const DatabankCollectionPtr databanks = database.EnumerateDatabanks();
    for (const auto& databank : databanks->Items()) {
        if (databank->Id() == databankId) return true;
    }
    return false;
}

} // namespace

Value ReadStoredValue(const Statement& row, int kindColumn)
{
    switch (row.Int(kindColumn)) {
    case ValueNumbers: return DecodeNumbers(row.Blob(kindColumn + 1), row.BlobSize(kindColumn + 1));
    case ValueText: return row.Text(kindColumn + 2);
    case ValueTexts: return DecodeTexts(row.Blob(kindColumn + 3), row.BlobSize(kindColumn + 3));
    default: return std::monostate{};
    }
}

PropertyValuePtr SqlitePropertyValueManager::GetUnaryPropertyValue(const IDatabank& databank,
                                                                   const std::string& compoundId,
                                                                   const std::string& compoundIdType,
                                                                   const std::string& propertyId)
{
    const DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) return nullptr;
    auto property = m_database->PropertyByName(propertyId);
    if (!property || property->m_interactionType != InteractionUnary) return nullptr;
    const auto compound = ResolveCompound(*m_database, compoundId, compoundIdType);
    if (!compound) return nullptr;
    auto& read =
        m_database->Db().Cached(sql::SelectUnaryValue).Bind(1, record->Id).Bind(2, *compound).Bind(3, property->m_id);
    if (!read.Step()) return nullptr;
    auto value = std::make_shared<PropertyValue>();
    value->Property = property;
    value->Data = ReadStoredValue(read, 0);
    return value;
}

std::optional<std::vector<PropertyValuePtr>> SqlitePropertyValueManager::GetAllUnaryPropertyValues(
    const IDatabank& databank, const std::string& compoundId, const std::string& compoundIdType)
{
    const DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) return std::nullopt;
    const auto compound = ResolveCompound(*m_database, compoundId, compoundIdType);
    if (!compound) return std::nullopt;
    std::vector<PropertyValuePtr> values;
    auto& read = m_database->Db().Cached(sql::SelectUnaryValuesOfCompound).Bind(1, record->Id).Bind(2, *compound);
    while (read.Step()) {
        auto value = std::make_shared<PropertyValue>();
        value->Property = m_database->PropertyById(read.Int(0));
        value->Data = ReadStoredValue(read, 1);
        values.push_back(std::move(value));
    }
    return values;
}

std::optional<UnaryValueMap> SqlitePropertyValueManager::GetAllUnaryPropertyValues_Vanta(int databankId,
                                                                                         int compoundIndex)
{
    if (!HasDatabank(*m_database, databankId)) return std::nullopt;
    if (!m_database->Db().Cached(sql::CompoundExists).Bind(1, compoundIndex).Step()) return std::nullopt;
    UnaryValueMap values;
    auto& read = m_database->Db().Cached(sql::SelectUnaryValuesOfCompound).Bind(1, databankId).Bind(2, compoundIndex);
    while (read.Step()) {
        if (read.Int(1) != ValueNumbers) continue;
        const auto property = m_database->PropertyById(read.Int(0));
        if (!property) continue;
        values[property->m_name] = DecodeNumbers(read.Blob(2), read.BlobSize(2));
    }
    if (values.empty()) return std::nullopt;
    return values;
}

bool SqliteMolData::GetStructureByName(const std::string& compoundId, const std::string& compoundIdType,
                                       std::string& structureText, int structureType)
{
    const auto compound = ResolveCompound(*m_database, compoundId, compoundIdType);
    if (!compound) return false;
    auto& read = m_database->Db().Cached(sql::SelectStructureOfType).Bind(1, *compound).Bind(2, structureType);
    if (!read.Step()) return false;
    structureText = read.Text(0);
    return true;
}

} // namespace moru::sqlite
