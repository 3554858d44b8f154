#include "fake/FakeBinaryValues.h"

using namespace moru::service;

namespace moru::fake {

namespace {

std::string Describe(const DatabankCollection& databanks)
{
    std::string text;
    for (const auto& databank : databanks.Items()) text += (text.empty() ? "" : ",") + databank->Name();
    return "[" + text + "]";
}

template <class Map>
std::string Describe(const Map& map)
{
    std::string text;
    for (const auto& [key, position] : map) text += (text.empty() ? "" : ",") + key + ":" + std::to_string(position);
    return "{" + text + "}";
}

} // namespace

std::shared_ptr<IBinaryValueManager> FakeDatabase::BinaryValueManager() const
{
    BinaryValues();
    return binaryValues;
}

FakeBinaryValueManager& FakeDatabase::BinaryValues() const
{
    if (!binaryValues) binaryValues = std::make_shared<FakeBinaryValueManager>(alias, m_log);
    return *binaryValues;
}

BinaryPropertyValuePtr FakeBinaryValueManager::GetBinaryPropertyValue(const IDatabank& databank,
                                                                      const std::string& compound1Id,
                                                                      const std::string& compound2Id,
                                                                      const std::string& identifierType,
                                                                      const std::string& modelName, bool condensed)
{
    m_log.Record("GetBinaryPropertyValue " + m_alias + "[" + databank.Name() + "] " + compound1Id + "|" + compound2Id +
                 "|" + identifierType + "|" + modelName + "|" + (condensed ? "condensed" : "full"));
    m_log.MaybeFail("GetBinaryPropertyValue");
    return onGetBinaryPropertyValue
               ? onGetBinaryPropertyValue(databank, compound1Id, compound2Id, identifierType, modelName, condensed)
               : nullptr;
}

std::optional<BinaryPropertyValueList> FakeBinaryValueManager::GetAllBinaryPropertyValuesForModelManager(
    const WorkingCompoundMap& workingCompounds, const std::string& compoundIdType, const DatabankCollection& databanks,
    const PropertyPositionMap& properties, bool condensed)
{
    m_log.Record("GetAllBinaryPropertyValuesForModelManager " + m_alias + Describe(databanks) + " " +
                 Describe(workingCompounds) + "|" + compoundIdType + "|" + Describe(properties) + "|" +
                 (condensed ? "condensed" : "full"));
    m_log.MaybeFail("GetAllBinaryPropertyValuesForModelManager");
    return onGetAll ? onGetAll(workingCompounds, databanks, properties, condensed, -1) : std::nullopt;
}

std::optional<BinaryPropertyValueList> FakeBinaryValueManager::GetAllPairPropertyValuesForModelManager(
    const WorkingCompoundMap& workingCompounds, const std::string& compoundIdType, const DatabankCollection& databanks,
    const PropertyPositionMap& properties, bool condensed, int workingCount)
{
    m_log.Record("GetAllPairPropertyValuesForModelManager " + m_alias + Describe(databanks) + " " +
                 Describe(workingCompounds) + "|" + compoundIdType + "|" + Describe(properties) + "|" +
                 (condensed ? "condensed" : "full") + "|" + std::to_string(workingCount));
    m_log.MaybeFail("GetAllPairPropertyValuesForModelManager");
    return onGetAll ? onGetAll(workingCompounds, databanks, properties, condensed, workingCount) : std::nullopt;
}

bool FakeBinaryValueManager::FetchExistingHelpInfo(IpHelpInfoObject& info, const IDatabank& databank,
                                                   const std::string& property, const std::string& compound1,
                                                   const std::string& compound1Type, const std::string& compound2,
                                                   const std::string& compound2Type, std::string&)
{
    m_log.Record("FetchExistingHelpInfo " + m_alias + "[" + databank.Name() + "] " + property + "|" + compound1 + "|" +
                 compound1Type + "|" + compound2 + "|" + compound2Type +
                 (info.Database ? "|database " + info.Database->Alias() : "|no database"));
    m_log.MaybeFail("FetchExistingHelpInfo");
    if (!onFetchExistingHelpInfo) return false;
    onFetchExistingHelpInfo(info);
    return true;
}

BinaryPropertyValuePtr MakeBinaryValue(const DatabankPtr& databank, const std::string& property, int interactionType,
                                       std::vector<std::string> compounds, NumericElements value,
                                       bool hasRegressionInfo)
{
    compounds.resize(4);
    BinaryPropertyValue made;
    made.Compound.InteractionType = interactionType;
    made.HasRegressionInfo = hasRegressionInfo;
    auto madeProperty = std::make_shared<FakeProperty>(property, interactionType, static_cast<int>(value.size()));
    return HoldOwnValue(made, {std::move(madeProperty),
                               databank,
                               {compounds[0], compounds[1], compounds[2], compounds[3]},
                               std::move(value)});
}

} // namespace moru::fake
