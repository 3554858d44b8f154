#pragma once

// Binary and pair values of one SqliteDatabase: how their rows are read from the file.

#include "Service.h"

#include "common/BinaryValueManager.h"

#include <optional>
#include <set>
#include <utility>
#include <unordered_set>
#include <vector>

namespace moru::sqlite {

class SqliteBinaryValueManager : public common::StoredBinaryValueManager {
public:
    explicit SqliteBinaryValueManager(SqliteDatabase& database)
        : StoredBinaryValueManager(database), m_database(&database)
    {}

private:
    std::optional<int> CompoundId(const std::string& identifier, const std::string& identifierType) override;
    std::vector<common::BinaryElement> ReadElements(int propertyId) override;
    bool ReadBinaryValue(int databankId, int compound1, int propertyId, int compound2,
                         common::StoredPairValueSink& sink) override;
    std::optional<long long> ValueIdOf(int interactionType, int databankId, int compound1, int propertyId,
                                       int compound2) override;
    std::optional<common::StoredRegression> ReadRegression(long long valueId) override;
    void ReadValues(int databankId, int propertyId, int interactionType, const std::vector<int>& compoundIds,
                    common::StoredPairValueSink& sink) override;

    // Reads which values, and which databanks' properties, hold regression information, once.
    void ReadRegressionIndex();

    SqliteDatabase* m_database;
    // Values with regression information, read at first need: far fewer than values, and asked
    // for every value listed.
    std::optional<std::unordered_set<long long>> m_withRegression;
    // The databank and property ids of those values: a list reads value ids only where they matter.
    std::set<std::pair<int, int>> m_groupsWithRegression;
};

} // namespace moru::sqlite
