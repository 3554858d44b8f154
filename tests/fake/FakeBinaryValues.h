#pragma once

// The fake service's binary values: scripted answers and logged calls.

#include "fake/FakeService.h"
#include "service/BinaryValues.h"

#include <functional>

namespace moru::fake {

class FakeBinaryValueManager : public service::IBinaryValueManager {
public:
    FakeBinaryValueManager(std::string databaseAlias, CallLog& log) : m_alias(std::move(databaseAlias)), m_log(log) {}

    std::function<service::BinaryPropertyValuePtr(const service::IDatabank&, const std::string&, const std::string&,
                                                  const std::string&, const std::string&, bool)>
        onGetBinaryPropertyValue;
    // Answers both GetAll operations; the last argument is the working count (-1 for binary values).
    std::function<std::optional<service::BinaryPropertyValueList>(const service::WorkingCompoundMap&,
                                                                  const service::DatabankCollection&,
                                                                  const service::PropertyPositionMap&, bool, int)>
        onGetAll;
    std::function<void(service::IpHelpInfoObject&)> onFetchExistingHelpInfo;

    service::BinaryPropertyValuePtr GetBinaryPropertyValue(const service::IDatabank& databank,
                                                           const std::string& compound1Id,
                                                           const std::string& compound2Id,
                                                           const std::string& identifierType,
                                                           const std::string& modelName, bool condensed) override;
    std::optional<service::BinaryPropertyValueList> GetAllBinaryPropertyValuesForModelManager(
        const service::WorkingCompoundMap& workingCompounds, const std::string& compoundIdType,
        const service::DatabankCollection& databanks, const service::PropertyPositionMap& properties,
        bool condensed) override;
    std::optional<service::BinaryPropertyValueList> GetAllPairPropertyValuesForModelManager(
        const service::WorkingCompoundMap& workingCompounds, const std::string& compoundIdType,
        const service::DatabankCollection& databanks, const service::PropertyPositionMap& properties, bool condensed,
        int workingCount) override;
    bool FetchExistingHelpInfo(service::IpHelpInfoObject& info, const service::IDatabank& databank,
                               const std::string& property, const std::string& compound1,
                               const std::string& compound1Type, const std::string& compound2,
                               const std::string& compound2Type, std::string& message) override;

private:
    std::string m_alias;
    CallLog& m_log;
};

// A value as the service returns it; numbers without std::nullopt are all present.
service::BinaryPropertyValuePtr MakeBinaryValue(const service::DatabankPtr& databank, const std::string& property,
                                                int interactionType, std::vector<std::string> compounds,
                                                service::NumericElements value, bool hasRegressionInfo = false);

} // namespace moru::fake
