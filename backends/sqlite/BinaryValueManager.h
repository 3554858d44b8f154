#pragma once

// Binary and pair values of one SqliteDatabase, and the regression information behind them.

#include "Service.h"

#include "service/BinaryValues.h"

#include <map>
#include <optional>
#include <unordered_set>
#include <vector>

namespace moru::sqlite {

class SqliteBinaryValueManager : public service::IBinaryValueManager {
public:
    explicit SqliteBinaryValueManager(SqliteDatabase& database) : m_database(&database) {}

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
    const std::vector<common::BinaryElement>& ElementsOf(int propertyId);
    std::optional<int> CompoundId(const std::string& identifier, const std::string& identifierType);
    std::optional<service::BinaryPropertyValueList> GetAll(const service::WorkingCompoundMap& workingCompounds,
                                                           const std::string& compoundIdType,
                                                           const service::DatabankCollection& databanks,
                                                           const service::PropertyPositionMap& properties,
                                                           bool condensed, int interactionType);

    bool HasRegression(long long valueId);

    SqliteDatabase* m_database;
    std::map<int, std::vector<common::BinaryElement>> m_elements;
    // Values with regression information, read at first need: far fewer than values, and asked
    // for every value listed.
    std::optional<std::unordered_set<long long>> m_withRegression;
};

} // namespace moru::sqlite
