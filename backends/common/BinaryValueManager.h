#pragma once

// Binary and pair values of a stored database, and the regression information behind them: what
// the service makes of the stored rows, the same for every backend. A backend says how it reads
// the rows.

#include "common/Stored.h"
#include "common/StoredDatabase.h"

#include "service/BinaryValues.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace moru::common {

// One stored binary or pair value as a backend reads it. The bytes are the stored labels and
// numbers, valid until the backend reads its next row.
struct StoredPairValue {
    std::array<std::optional<int>, 4> CompoundIds;
    std::string_view Labels;
    std::string_view Numbers;
    bool HasRegression = false;
};

// Takes the rows a backend reads, one at a time.
class StoredPairValueSink {
public:
    virtual void Take(const StoredPairValue& value) = 0;

protected:
    ~StoredPairValueSink() = default;
};

// The regression information of one value as stored.
struct StoredRegression {
    int Kind = service::HelpInfoNone;
    std::optional<std::string> FirstCompound;
    std::optional<double> Sigma;
    std::map<std::string, service::IpRegressLimits> Ranges;                       // by name
    std::vector<std::pair<std::string, service::IpRegressDeviations>> Deviations; // in stored order
    std::vector<std::string> Citations;                                           // read for kind NIST only
};

class StoredBinaryValueManager : public service::IBinaryValueManager {
public:
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

protected:
    explicit StoredBinaryValueManager(const StoredDatabase& database) : m_database(&database) {}

    // The compound that an identifier of `type` names.
    virtual std::optional<int> CompoundId(const std::string& identifier, const std::string& type) = 0;
    // The stored elements of a binary or pair property, in order.
    virtual std::vector<BinaryElement> ReadElements(int propertyId) = 0;
    // Hands `sink` the binary value stored for the compounds in this order, if there is one;
    // returns whether there was.
    virtual bool ReadBinaryValue(int databankId, int compound1, int propertyId, int compound2,
                                 StoredPairValueSink& sink) = 0;
    // The id of the value stored for the compounds in this order (compound 1 and 2 of a binary
    // value, compound 1 and 3 of a pair value without others).
    virtual std::optional<long long> ValueIdOf(int interactionType, int databankId, int compound1, int propertyId,
                                               int compound2) = 0;
    virtual std::optional<StoredRegression> ReadRegression(long long valueId) = 0;
    // Hands `sink` the values of a property in a databank whose first compound is one of
    // `compoundIds` (distinct, in the host's order), each first compound's values in the order a
    // database file's index gives them. Binary values whose second compound is not one of them may
    // be left out, as may pair values without a third compound; a binary value's compounds 3 and 4
    // need not be read.
    virtual void ReadValues(int databankId, int propertyId, int interactionType, const std::vector<int>& compoundIds,
                            StoredPairValueSink& sink) = 0;

private:
    const std::vector<BinaryElement>& ElementsOf(int propertyId);
    std::optional<service::BinaryPropertyValueList> GetAll(const service::WorkingCompoundMap& workingCompounds,
                                                           const std::string& compoundIdType,
                                                           const service::DatabankCollection& databanks,
                                                           const service::PropertyPositionMap& properties,
                                                           bool condensed, int interactionType);

    const StoredDatabase* m_database;
    std::map<int, std::vector<BinaryElement>> m_elements;
};

} // namespace moru::common
