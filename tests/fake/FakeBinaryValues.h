#pragma once

// The fake service's binary values: scripted answers and logged calls.

#include "fake/FakeService.h"
#include "service/BinaryValues.h"

#include <functional>

namespace moru::fake {

class FakeBinaryValueManager : public IBinaryValueManager {
public:
    FakeBinaryValueManager(std::string databaseAlias, CallLog& log) : m_alias(std::move(databaseAlias)), m_log(log) {}

    std::function<BinaryPropertyValuePtr(const IDatabank&, const std::string&, const std::string&, const std::string&,
                                         const std::string&, bool)>
        onGetBinaryPropertyValue;
    // Answers both GetAll operations; the last argument is the working count (-1 for binary values).
    std::function<std::optional<BinaryPropertyValueList>(const WorkingCompoundMap&, const DatabankCollection&,
                                                         const PropertyPositionMap&, bool, int)>
        onGetAll;
    std::function<void(IpHelpInfoObject&)> onFetchExistingHelpInfo;

    BinaryPropertyValuePtr GetBinaryPropertyValue(const IDatabank& databank, const std::string& compound1Id,
                                                  const std::string& compound2Id, const std::string& identifierType,
                                                  const std::string& modelName, bool condensed) override;
    std::optional<BinaryPropertyValueList> GetAllBinaryPropertyValuesForModelManager(
        const WorkingCompoundMap& workingCompounds, const std::string& compoundIdType,
        const DatabankCollection& databanks, const PropertyPositionMap& properties, bool condensed) override;
    std::optional<BinaryPropertyValueList> GetAllPairPropertyValuesForModelManager(
        const WorkingCompoundMap& workingCompounds, const std::string& compoundIdType,
        const DatabankCollection& databanks, const PropertyPositionMap& properties, bool condensed,
        int workingCount) override;
    bool FetchExistingHelpInfo(IpHelpInfoObject& info, const IDatabank& databank, const std::string& property,
                               const std::string& compound1, const std::string& compound1Type,
                               const std::string& compound2, const std::string& compound2Type,
                               std::string& message) override;

private:
    std::string m_alias;
    CallLog& m_log;
};

// A value as the service returns it; numbers without std::nullopt are all present.
BinaryPropertyValuePtr MakeBinaryValue(const DatabankPtr& databank, const std::string& property, int interactionType,
                                       std::vector<std::string> compounds, NumericElements value,
                                       bool hasRegressionInfo = false);

} // namespace moru::fake
