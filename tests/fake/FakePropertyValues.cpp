#include "fake/FakePropertyValues.h"

#include "fake/FakeService.h"

using namespace moru::service;

namespace moru::fake {

PropertyValuePtr FakePropertyValueManager::GetUnaryPropertyValue(const IDatabank& databank,
                                                                 const std::string& compoundId,
                                                                 const std::string& compoundIdType,
                                                                 const std::string& propertyId)
{
    m_log.Record("GetUnaryPropertyValue " + databank.Name() + " " + compoundId + "|" + compoundIdType + "|" +
                 propertyId);
    m_log.MaybeFail("GetUnaryPropertyValue");
    const auto compound = values.find(Key(databank.Name(), compoundId));
    if (compound == values.end()) return nullptr;
    const auto value = compound->second.find(propertyId);
    return value == compound->second.end() ? nullptr : value->second;
}

std::optional<std::vector<PropertyValuePtr>> FakePropertyValueManager::GetAllUnaryPropertyValues(
    const IDatabank& databank, const std::string& compoundId, const std::string& compoundIdType)
{
    m_log.Record("GetAllUnaryPropertyValues " + databank.Name() + " " + compoundId + "|" + compoundIdType);
    m_log.MaybeFail("GetAllUnaryPropertyValues");
    const auto found = allValues.find(Key(databank.Name(), compoundId));
    if (found == allValues.end()) return std::nullopt;
    return found->second;
}

std::optional<UnaryValueMap> FakePropertyValueManager::GetAllUnaryPropertyValues_Vanta(int databankId,
                                                                                       int compoundIndex)
{
    m_log.Record("GetAllUnaryPropertyValues_Vanta " + std::to_string(databankId) + "|" + std::to_string(compoundIndex));
    m_log.MaybeFail("GetAllUnaryPropertyValues_Vanta");
    const auto found = vantaValues.find({databankId, compoundIndex});
    if (found == vantaValues.end()) return std::nullopt;
    return found->second;
}

bool FakeMolData::GetStructureByName(const std::string& compoundId, const std::string& compoundIdType,
                                     std::string& structureText, int structureType)
{
    m_log.Record("GetStructureByName " + compoundId + "|" + compoundIdType + "|" + std::to_string(structureType));
    m_log.MaybeFail("GetStructureByName");
    const auto found = structures.find({compoundId, structureType});
    if (found == structures.end()) return false;
    structureText = found->second;
    return true;
}

void FakeCompoundManager::SetWorkingCompounds(const std::vector<CompoundPtr>& compounds)
{
    std::string ids;
    for (const auto& compound : compounds)
        ids += (ids.empty() ? "" : ",") + (compound ? std::to_string(compound->Id()) : "<null>");
    m_log.Record("SetWorkingCompounds " + m_alias + " [" + ids + "]");
    workingCompounds = compounds;
}

PropertyPtr MakeProperty(const std::string& name, int dataType, std::vector<UnitRow> units)
{
    auto property = std::make_shared<FakeProperty>(name, InteractionUnary, 1, dataType);
    property->units = std::move(units);
    return property;
}

PropertyValuePtr MakeValue(PropertyPtr property, Value data)
{
    auto value = std::make_shared<PropertyValue>();
    value->Property = std::move(property);
    value->Data = std::move(data);
    return value;
}

} // namespace moru::fake
