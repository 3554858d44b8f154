#pragma once

// The simulation engine's bulk retrieval from one SqliteDatabase.

#include "Service.h"

#include "service/Bulk.h"

#include <optional>
#include <string>
#include <vector>

namespace moru::sqlite {

class AskedCompounds;

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
    bool ReadsAllKindsTogether() const override { return true; }
    // One pass over the value table when the query asks for most of its rows, else the seeks of
    // the three reads, one after the other.
    void OptimizedGetAllKindsOfPropertyValues(const service::EngineValueQuery& query,
                                              service::IEngineValueSink& sink) override;

private:
    // Hands `sink` every row of `select` (the values of one databank, bound as parameter 1, among
    // the query's property ids) over the run's databanks.
    void ReadValues(const service::EngineValueQuery& query, const char* select, bool binary,
                    service::IEngineValueSink& sink);

    // The query's properties that this database knows, by id: (property id, place in the query).
    std::vector<std::pair<int, int>> WantedProperties(const service::EngineValueQuery& query) const;
    void TakeRow(Statement& rows, int first, service::EngineValueRow& row, const AskedCompounds& asked,
                 service::IEngineValueSink& sink);
    // Whether the query asks for so many of the value table's rows that one pass over the table
    // costs less than the seeks, as estimated from what ANALYZE recorded (read once per
    // connection; an estimate only chooses the plan, never the answer).
    bool WorthAPass(long long databanks, long long properties);

    SqliteDatabase* m_database;
    std::optional<std::vector<long long>> m_statistics; // rows; per databank; per databank and property
    // Reused from row to row, so that reading a value allocates nothing once they have grown.
    std::vector<int> m_labels;
    std::vector<std::optional<double>> m_numbers;
};

} // namespace moru::sqlite
