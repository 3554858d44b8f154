#include "common/StoredManagers.h"

namespace moru::common {

using namespace moru::service;

// Without `withData`: every property of the database. With it: those holding values in the databank.
std::optional<std::vector<PropertyPtr>> StoredPropertyManager::GetAllProperties(const IDatabank& databank,
                                                                                bool withData)
{
    const DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) return std::nullopt;
    std::vector<PropertyPtr> properties;
    if (!withData) {
        properties.assign(m_database->Properties().begin(), m_database->Properties().end());
        return properties;
    }
    for (int id : m_database->ReadPropertyIdsWithData(record->Id)) properties.push_back(m_database->PropertyById(id));
    return properties;
}

// Pure databank information under its entry name; binary parameter information under the
// databank's own name.
SundryItemPtr StoredSundryDataManager::GetItem(const std::string& name)
{
    const std::string pureEntry = PureDatabankInfoObject::GetSundryDataTableEntryName("");
    m_database->CheckOpen();
    if (name.starts_with(pureEntry)) {
        const DatabankRecord* record = m_database->DatabankByName(std::string_view(name).substr(pureEntry.size()));
        if (!record) return nullptr;
        return m_database->ReadPureInfo(record->Id);
    }
    const DatabankRecord* record = m_database->DatabankByName(name);
    if (!record) return nullptr;
    std::vector<SundryItemPtr> entries = m_database->ReadBinaryInfo(record->Id);
    if (entries.empty()) return nullptr;
    auto info = std::make_shared<InteractionParameterDatabankInformationObject>();
    info->ParameterInfoList = std::move(entries);
    return info;
}

PropertyValuePtr StoredPropertyValueManager::GetUnaryPropertyValue(const IDatabank& databank,
                                                                   const std::string& compoundId,
                                                                   const std::string& compoundIdType,
                                                                   const std::string& propertyId)
{
    const DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) return nullptr;
    auto property = m_database->PropertyByName(propertyId);
    if (!property || property->m_interactionType != InteractionUnary) return nullptr;
    const auto compound = m_database->ResolveCompound(compoundId, compoundIdType);
    if (!compound) return nullptr;
    auto data = m_database->ReadUnaryValue(record->Id, *compound, property->m_id);
    if (!data) return nullptr;
    auto value = std::make_shared<PropertyValue>();
    value->Property = property;
    value->Data = std::move(*data);
    return value;
}

std::optional<std::vector<PropertyValuePtr>> StoredPropertyValueManager::GetAllUnaryPropertyValues(
    const IDatabank& databank, const std::string& compoundId, const std::string& compoundIdType)
{
    const DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) return std::nullopt;
    const auto compound = m_database->ResolveCompound(compoundId, compoundIdType);
    if (!compound) return std::nullopt;
    std::vector<PropertyValuePtr> values;
    for (auto& [propertyId, data] : m_database->ReadUnaryValuesOfCompound(record->Id, *compound)) {
        auto value = std::make_shared<PropertyValue>();
        value->Property = m_database->PropertyById(propertyId);
        value->Data = std::move(data);
        values.push_back(std::move(value));
    }
    return values;
}

std::optional<UnaryValueMap> StoredPropertyValueManager::GetAllUnaryPropertyValues_Vanta(int databankId,
                                                                                         int compoundIndex)
{
    if (!m_database->DatabankObject(databankId)) return std::nullopt;
    if (!m_database->CompoundExists(compoundIndex)) return std::nullopt;
    UnaryValueMap values;
    for (auto& [propertyId, data] : m_database->ReadUnaryValuesOfCompound(databankId, compoundIndex)) {
        auto* numbers = std::get_if<NumericElements>(&data);
        if (!numbers) continue;
        const auto property = m_database->PropertyById(propertyId);
        if (!property) continue;
        values[property->m_name] = std::move(*numbers);
    }
    if (values.empty()) return std::nullopt;
    return values;
}

bool StoredMolData::GetStructureByName(const std::string& compoundId, const std::string& compoundIdType,
                                       std::string& structureText, int structureType)
{
    const auto compound = m_database->ResolveCompound(compoundId, compoundIdType);
    if (!compound) return false;
    auto text = m_database->ReadStructure(*compound, structureType);
    if (!text) return false;
    structureText = std::move(*text);
    return true;
}

} // namespace moru::common
