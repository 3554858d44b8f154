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

class FakeBulkManager : public service::IBulkManager {
public:
    FakeBulkManager(std::string databaseAlias, CallLog& log) : m_alias(std::move(databaseAlias)), m_log(log) {}

    // Logged as "OptimizedFind DB as DB k<flag> p<flag>"; answers from `compounds`, by exact identifier.
    std::vector<service::EngineCompoundRow> OptimizedFind(const std::vector<std::string>& identifiers, bool keldaIndex,
                                                          bool plxIndex) override;
    // Logged as "GetAllDatabaseProperties DB".
    std::optional<std::vector<service::PropertyPtr>> GetAllProperties() override;

    // Logged as "<operation> DB [run]"; the binary read adds " C<number of compounds asked about>".
    void OptimizedGetAllScalarPropertyValues(const service::EngineValueQuery& query,
                                             service::IEngineValueSink& sink) override;
    void OptimizedGetAllVectorPropertyValues(const service::EngineValueQuery& query,
                                             service::IEngineValueSink& sink) override;
    void OptimizedGetAllBinaryPropertyValues(const service::EngineValueQuery& query,
                                             service::IEngineValueSink& sink) override;

    // Reads every kind together when `readsAllKindsTogether` is set, logged as
    // "OptimizedGetAllKindsOfPropertyValues DB [databanks]": every stored value of an asked property.
    bool ReadsAllKindsTogether() const override { return readsAllKindsTogether; }
    void OptimizedGetAllKindsOfPropertyValues(const service::EngineValueQuery& query,
                                              service::IEngineValueSink& sink) override;
    bool readsAllKindsTogether = false;

    // Stored values: databank name, compound index, property name, elements by label, and for a
    // binary value the index of its second compound. Every stored value of an asked property is
    // handed, whatever compounds were asked about.
    struct StoredValue {
        std::string databank;
        int compoundIndex = 0;
        std::string property;
        std::map<int, double> elements;
        int compound2Index = -1;
    };
    std::vector<StoredValue> storedValues;

    std::map<std::string, FakeEngineCompound> compounds; // by identifier
    std::optional<std::vector<service::PropertyPtr>> properties;

private:
    // Hands the stored values of the asked properties: unary or binary ones, or both (no `binary`).
    void Read(const std::string& operation, std::optional<bool> binary, const service::EngineValueQuery& query,
              service::IEngineValueSink& sink);
    std::string m_alias;
    CallLog& m_log;
};

} // namespace moru::fake
