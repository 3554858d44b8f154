#include "BinaryValueManager.h"

#include "Schema.h"

namespace moru::sqlite {

using namespace moru::service;

namespace {

std::string_view Bytes(const Statement& row, int column)
{
    const auto bytes = row.BlobView(column);
    return {static_cast<const char*>(bytes.data), static_cast<std::size_t>(bytes.size)};
}

} // namespace

std::vector<common::BinaryElement> SqliteBinaryValueManager::ReadElements(int propertyId)
{
    std::vector<common::BinaryElement> elements;
    auto& query = m_database->Db().Cached(sql::SelectPropertyElements).Bind(1, propertyId);
    while (query.Step()) elements.push_back({query.Int(0), query.Int(1), query.Int(2)});
    return elements;
}

void SqliteBinaryValueManager::ReadRegressionIndex()
{
    if (m_withRegression) return;
    std::unordered_set<long long> values;
    std::set<std::pair<int, int>> groups;
    auto& rows = m_database->Db().Cached(sql::SelectValuesWithRegression).Reset();
    while (rows.Step()) {
        values.insert(rows.Int64(0));
        groups.emplace(rows.Int(1), rows.Int(2));
    }
    m_withRegression = std::move(values);
    m_groupsWithRegression = std::move(groups);
}

std::optional<int> SqliteBinaryValueManager::CompoundId(const std::string& identifier,
                                                        const std::string& identifierType)
{
    auto compound = m_database->CompoundManager()->GetCompound(identifier, SqliteIdentifier(identifierType));
    if (!compound) return std::nullopt;
    return compound->Id();
}

bool SqliteBinaryValueManager::ReadBinaryValue(int databankId, int compound1, int propertyId, int compound2,
                                               common::StoredPairValueSink& sink)
{
    auto& row = m_database->Db()
                    .Cached(sql::SelectBinaryValue)
                    .Bind(1, databankId)
                    .Bind(2, compound1)
                    .Bind(3, propertyId)
                    .Bind(4, compound2);
    if (!row.Step()) return false;
    sink.Take({{compound1, compound2, std::nullopt, std::nullopt}, Bytes(row, 1), Bytes(row, 2), row.Int(3) != 0});
    return true;
}

std::optional<long long> SqliteBinaryValueManager::ValueIdOf(int interactionType, int databankId, int compound1,
                                                             int propertyId, int compound2)
{
    const char* query = interactionType == InteractionBinary ? sql::SelectBinaryValue : sql::SelectPairValueOfTwo;
    auto& row =
        m_database->Db().Cached(query).Bind(1, databankId).Bind(2, compound1).Bind(3, propertyId).Bind(4, compound2);
    if (!row.Step()) return std::nullopt;
    return row.Int64(0);
}

std::optional<common::StoredRegression> SqliteBinaryValueManager::ReadRegression(long long valueId)
{
    auto& db = m_database->Db();
    auto& row = db.Cached(sql::SelectRegression).Bind(1, valueId);
    if (!row.Step()) return std::nullopt;
    common::StoredRegression regression;
    regression.Kind = row.Int(0);
    regression.FirstCompound = row.OptionalText(1);
    regression.Sigma = row.OptionalDouble(2);
    auto& ranges = db.Cached(sql::SelectRegressionRanges).Bind(1, valueId);
    while (ranges.Step()) regression.Ranges[ranges.Text(0)] = {ranges.OptionalDouble(1), ranges.OptionalDouble(2)};
    auto& deviations = db.Cached(sql::SelectRegressionDeviations).Bind(1, valueId);
    while (deviations.Step()) {
        std::optional<double> points;
        if (auto count = deviations.OptionalInt(1)) points = *count;
        regression.Deviations.emplace_back(deviations.Text(0), IpRegressDeviations{points, deviations.OptionalDouble(2),
                                                                                   deviations.OptionalDouble(3),
                                                                                   deviations.OptionalDouble(4)});
    }
    if (regression.Kind == HelpInfoNist) {
        auto& citations = db.Cached(sql::SelectRegressionCitations).Bind(1, valueId);
        while (citations.Step()) regression.Citations.push_back(citations.Text(0));
    }
    return regression;
}

void SqliteBinaryValueManager::ReadValues(int databankId, int propertyId, int interactionType,
                                          const std::vector<int>& compoundIds, common::StoredPairValueSink& sink)
{
    auto& db = m_database->Db();
    // Most databanks hold one model: skip the others at the cost of one probe.
    if (!db.Cached(sql::DatabankHasPropertyValues).Bind(1, databankId).Bind(2, propertyId).Step()) return;
    // The compounds as the statement's set, in the host's order.
    std::string compoundSet = "[";
    for (int id : compoundIds) {
        if (compoundSet.size() > 1) compoundSet += ',';
        compoundSet += std::to_string(id);
    }
    compoundSet += ']';
    const bool binary = interactionType == InteractionBinary;
    ReadRegressionIndex();
    const bool regressions = m_groupsWithRegression.count({databankId, propertyId}) != 0;
    const char* select =
        binary ? (regressions ? sql::SelectBinaryValuesOfCompoundSet : sql::SelectBinaryValuesOfCompoundSetWithoutIds)
               : (regressions ? sql::SelectPairValuesOfCompoundSet : sql::SelectPairValuesOfCompoundSetWithoutIds);
    auto& row = db.Cached(select).Bind(1, databankId).Bind(2, propertyId).Bind(3, compoundSet);
    // What the statements fix is not read again: compound 1 is always stored, a binary value has
    // compounds 1 and 2 only, compound 3 of a pair value is there.
    auto optionalId = [&](int column) {
        return row.IsNull(column) ? std::nullopt : std::optional<int>(row.Int(column));
    };
    common::StoredPairValue value;
    if (binary) {
        while (row.Step()) {
            value.CompoundIds[0] = row.Int(0);
            value.CompoundIds[1] = row.Int(1);
            value.Labels = Bytes(row, 2);
            value.Numbers = Bytes(row, 3);
            value.HasRegression = regressions && m_withRegression->count(row.Int64(4)) != 0;
            sink.Take(value);
        }
        return;
    }
    while (row.Step()) {
        value.CompoundIds[0] = row.Int(0);
        value.CompoundIds[1] = optionalId(1);
        value.CompoundIds[2] = row.Int(2);
        value.CompoundIds[3] = optionalId(3);
        value.Labels = Bytes(row, 4);
        value.Numbers = Bytes(row, 5);
        value.HasRegression = regressions && m_withRegression->count(row.Int64(6)) != 0;
        sink.Take(value);
    }
}

} // namespace moru::sqlite
