#pragma once

// The simulation engine's bulk retrieval from one SqliteDatabase.

#include "Service.h"

#include "service/Bulk.h"

#include <optional>
#include <string>
#include <vector>

namespace moru::sqlite {

class SqliteBulkManager : public service::IBulkManager {
public:
    explicit SqliteBulkManager(SqliteDatabase& database) : m_database(&database) {}

    // An identifier is matched as the compound searches match it (any identifier type, letter case
    // folded); when it names several compounds, the one with the lowest index is taken.
    std::vector<service::EngineCompoundRow> OptimizedFind(const std::vector<std::string>& identifiers, bool keldaIndex,
                                                          bool plxIndex) override;
    std::optional<std::vector<service::PropertyPtr>> GetAllProperties() override;
    void OptimizedGetAllScalarPropertyValues(const service::EngineValueQuery& query,
                                             service::IEngineValueSink& sink) override;
    void OptimizedGetAllVectorPropertyValues(const service::EngineValueQuery& query,
                                             service::IEngineValueSink& sink) override;
    void OptimizedGetAllBinaryPropertyValues(const service::EngineValueQuery& query,
                                             service::IEngineValueSink& sink) override;

private:
    // Hands `sink` every row of `select` (the values of one databank, bound as parameter 1, among
    // the query's property ids) over the run's databanks.
    void ReadValues(const service::EngineValueQuery& query, const char* select, bool binary,
                    service::IEngineValueSink& sink);

    SqliteDatabase* m_database;
    // Reused from row to row, so that reading a value allocates nothing once they have grown.
    std::vector<int> m_labels;
    std::vector<std::optional<double>> m_numbers;
};

} // namespace moru::sqlite
