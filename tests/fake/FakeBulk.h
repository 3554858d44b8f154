#pragma once

// The fake service's bulk retrieval: the compounds and properties a database knows, and logged calls.

#include "fake/FakeService.h"
#include "service/Bulk.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace moru::fake {

struct FakeEngineCompound {
    int index = 0;
    std::optional<std::string> name;
    std::optional<std::string> alias;
    std::optional<std::string> casNo;
    double compoundClass = 0.0;
    double keldaIndex = 0.0;
    double plxIndex = 0.0;
};

class FakeBulkManager : public IBulkManager {
public:
    FakeBulkManager(std::string databaseAlias, CallLog& log) : m_alias(std::move(databaseAlias)), m_log(log) {}

    // Logged as "OptimizedFind DB k<flag> p<flag>"; answers from `compounds`, by exact identifier.
    void OptimizedFind(const CompoundPositionTable& compounds, const std::string& databaseAlias,
                       EngineCompoundMap& engineCompounds, EngineCompoundIndexMap& compoundMap, int keldaIndexFlag,
                       int plxIndexFlag) override;
    // Logged as "GetAllDatabaseProperties DB".
    std::optional<std::vector<PropertyPtr>> GetAllProperties() override;

    void OptimizedGetAllScalarPropertyValues(const EngineFetch& fetch, EngineValueMap& values) override;
    void OptimizedGetAllVectorPropertyValues(const EngineFetch& fetch, EngineValueMap& values) override;
    // Logged as "OptimizedGetAllBinaryPropertyValues DB [run] C<compCount>".
    void OptimizedGetAllBinaryPropertyValues(int compCount, const EngineFetch& fetch, EngineValueMap& values) override;

    // Stored values: databank name, compound index, property name, elements by label, and for a
    // binary value the index of its second compound. The property's kind comes from `properties`.
    struct StoredValue {
        std::string databank;
        int compoundIndex = 0;
        std::string property;
        std::map<int, double> elements;
        int compound2Index = -1;
    };
    std::vector<StoredValue> storedValues;

    std::map<std::string, FakeEngineCompound> compounds; // by identifier
    std::optional<std::vector<PropertyPtr>> properties;

private:
    enum class Kind { Scalar, Vector, Binary };
    void Fetch(const std::string& operation, Kind kind, int compCount, const EngineFetch& fetch, EngineValueMap& values);
    std::string m_alias;
    CallLog& m_log;
};

} // namespace moru::fake
