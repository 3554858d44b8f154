#include "PgService.h"

#include "PgSchema.h"

namespace moru::postgres {

using namespace moru::service;

namespace {

common::StoredPairValue ValueOfRow(const PgResult& rows, int row)
{
    common::StoredPairValue value;
    for (int column = 0; column < 4; ++column) {
        if (!rows.IsNull(row, column)) value.CompoundIds[static_cast<std::size_t>(column)] = rows.Int(row, column);
    }
    value.Labels = rows.Bytes(row, 4);
    value.Numbers = rows.Bytes(row, 5);
    value.HasRegression = rows.Int(row, 6) != 0;
    return value;
}

} // namespace

std::optional<int> PgBinaryValueManager::CompoundId(const std::string& identifier, const std::string& identifierType)
{
    return m_database->Resolve(identifier, identifierType);
}

std::vector<common::BinaryElement> PgBinaryValueManager::ReadElements(int propertyId)
{
    std::vector<common::BinaryElement> elements;
    const PgResult rows = m_database->Db().Run(sql::SelectPropertyElements, PgParams().Int(propertyId));
    elements.reserve(static_cast<std::size_t>(rows.Rows()));
    for (int r = 0; r < rows.Rows(); ++r) elements.push_back({rows.Int(r, 0), rows.Int(r, 1), rows.Int(r, 2)});
    return elements;
}

bool PgBinaryValueManager::ReadBinaryValue(int databankId, int compound1, int propertyId, int compound2,
                                           common::StoredPairValueSink& sink)
{
    const PgResult row = m_database->Db().Run(sql::SelectBinaryValue,
                                              PgParams().Int(databankId).Int(compound1).Int(propertyId).Int(compound2));
    if (row.Rows() == 0) return false;
    sink.Take(
        {{compound1, compound2, std::nullopt, std::nullopt}, row.Bytes(0, 1), row.Bytes(0, 2), row.Int(0, 3) != 0});
    return true;
}

std::optional<long long> PgBinaryValueManager::ValueIdOf(int interactionType, int databankId, int compound1,
                                                         int propertyId, int compound2)
{
    const char* query = interactionType == InteractionBinary ? sql::SelectBinaryValue : sql::SelectPairValueOfTwo;
    const PgResult row =
        m_database->Db().Run(query, PgParams().Int(databankId).Int(compound1).Int(propertyId).Int(compound2));
    if (row.Rows() == 0) return std::nullopt;
    return row.Int64(0, 0);
}

std::optional<common::StoredRegression> PgBinaryValueManager::ReadRegression(long long valueId)
{
    PgConnection& db = m_database->Db();
    const PgResult row = db.Run(sql::SelectRegression, PgParams().Int(valueId));
    if (row.Rows() == 0) return std::nullopt;
    common::StoredRegression regression;
    regression.Kind = row.Int(0, 0);
    regression.FirstCompound = row.OptionalText(0, 1);
    regression.Sigma = row.OptionalDouble(0, 2);
    const PgResult ranges = db.Run(sql::SelectRegressionRanges, PgParams().Int(valueId));
    for (int r = 0; r < ranges.Rows(); ++r)
        regression.Ranges[ranges.Text(r, 0)] = {ranges.OptionalDouble(r, 1), ranges.OptionalDouble(r, 2)};
    const PgResult deviations = db.Run(sql::SelectRegressionDeviations, PgParams().Int(valueId));
    for (int r = 0; r < deviations.Rows(); ++r) {
        std::optional<double> points;
        if (auto count = deviations.OptionalInt(r, 1)) points = *count;
        regression.Deviations.emplace_back(deviations.Text(r, 0),
                                           IpRegressDeviations{points, deviations.OptionalDouble(r, 2),
                                                               deviations.OptionalDouble(r, 3),
                                                               deviations.OptionalDouble(r, 4)});
    }
    if (regression.Kind == HelpInfoNist) {
        const PgResult citations = db.Run(sql::SelectRegressionCitations, PgParams().Int(valueId));
        for (int r = 0; r < citations.Rows(); ++r) regression.Citations.push_back(citations.Text(r, 0));
    }
    return regression;
}

// One statement per databank and property reads the values of every working compound.
void PgBinaryValueManager::ReadValues(int databankId, int propertyId, int /*interactionType*/,
                                      const std::vector<int>& compoundIds, common::StoredPairValueSink& sink)
{
    const PgResult rows = m_database->Db().Run(sql::SelectValuesOfFirstCompounds,
                                               PgParams().Int(databankId).Int(propertyId).IntArray(compoundIds));
    for (int r = 0; r < rows.Rows(); ++r) sink.Take(ValueOfRow(rows, r));
}

} // namespace moru::postgres
