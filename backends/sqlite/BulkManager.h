#pragma once

// The simulation engine's bulk retrieval from one SqliteDatabase.

#include "Service.h"

#include "service/Bulk.h"

#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

namespace moru::sqlite {

class SqliteBulkManager : public service::IBulkManager {
public:
    explicit SqliteBulkManager(SqliteDatabase& database) : m_database(&database) {}

    // An identifier is matched as the compound searches match it (any identifier type, letter case
    // folded); when it names several compounds, the one with the lowest index is taken.
    void OptimizedFind(const service::CompoundPositionTable& compounds, const std::string& databaseAlias,
                       service::EngineCompoundMap& engineCompounds, service::EngineCompoundIndexMap& compoundMap,
                       int keldaIndexFlag, int plxIndexFlag) override;
    std::optional<std::vector<service::PropertyPtr>> GetAllProperties() override;
    void OptimizedGetAllScalarPropertyValues(const service::EngineFetch& fetch,
                                             service::EngineValueMap& values) override;
    void OptimizedGetAllVectorPropertyValues(const service::EngineFetch& fetch,
                                             service::EngineValueMap& values) override;
    void OptimizedGetAllBinaryPropertyValues(int compCount, const service::EngineFetch& fetch,
                                             service::EngineValueMap& values) override;

private:
    // What an engine compound record shows of one compound.
    struct CompoundDetails {
        std::optional<std::string> name;
        std::optional<std::string> alias;
        std::optional<std::string> casNo;
        double classNumber = 0.0;
        double keldaIndex = 0.0;
        double plxIndex = 0.0;
    };
    void FetchUnary(const service::EngineFetch& fetch, bool vector, service::EngineValueMap& values);
    // The listed properties that `isWanted` accepts: property id -> position.
    template <class Predicate>
    std::unordered_map<int, int> WantedProperties(const service::EngineFetch& fetch, Predicate isWanted);
    // Calls visit(rows, databankPosition, propertyPosition) for each row of `select` (the values of
    // one databank, bound as parameter 1, among the wanted property ids) over the run's databanks.
    template <class Predicate, class Visit>
    void ForEachWantedRow(const service::EngineFetch& fetch, Predicate isWanted, const char* select,
                          int propertyColumn, Visit visit);
    int DatabankPositionOf(const service::EngineFetch& fetch, const service::DatabankPtr& databank) const;

    SqliteDatabase* m_database;
};

} // namespace moru::sqlite
