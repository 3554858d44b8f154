#include "PgService.h"

#include "PgSchema.h"

#include "service/Errors.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

namespace moru::postgres {

using namespace moru::service;

namespace {

std::vector<int> Labels(const PgResult& rows, int row, int column)
{
    const auto bytes = rows.Bytes(row, column);
    return common::DecodeLabels(bytes.data(), static_cast<int>(bytes.size()));
}

NumericElements Numbers(const PgResult& rows, int row, int column)
{
    const auto bytes = rows.Bytes(row, column);
    return common::DecodeNumbers(bytes.data(), static_cast<int>(bytes.size()));
}

} // namespace

const std::vector<common::BinaryElement>& PgBinaryValueManager::ElementsOf(int propertyId)
{
    auto found = m_elements.find(propertyId);
    if (found != m_elements.end()) return found->second;
    std::vector<common::BinaryElement> elements;
    const PgResult rows = m_database->Db().Run(sql::SelectPropertyElements, PgParams().Int(propertyId));
    elements.reserve(static_cast<std::size_t>(rows.Rows()));
    for (int r = 0; r < rows.Rows(); ++r) elements.push_back({rows.Int(r, 0), rows.Int(r, 1), rows.Int(r, 2)});
    return m_elements.emplace(propertyId, std::move(elements)).first->second;
}

BinaryPropertyValuePtr PgBinaryValueManager::GetBinaryPropertyValue(const IDatabank& databank,
                                                                    const std::string& compound1Id,
                                                                    const std::string& compound2Id,
                                                                    const std::string& identifierType,
                                                                    const std::string& modelName, bool condensed)
{
    const common::DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) throw ServiceError("the databank belongs to another database");
    auto property = m_database->PropertyByName(modelName);
    if (!property || property->m_interactionType != InteractionBinary) return nullptr;
    auto first = m_database->Resolve(compound1Id, identifierType);
    auto second = m_database->Resolve(compound2Id, identifierType);
    if (!first || !second) return nullptr;

    PgConnection& db = m_database->Db();
    bool exchanged = false;
    PgResult row =
        db.Run(sql::SelectBinaryValue, PgParams().Int(record->Id).Int(*first).Int(property->m_id).Int(*second));
    if (row.Rows() == 0) {
        // A pair is stored in one order only; the other order exchanges its IJ and JI parts.
        PgResult other =
            db.Run(sql::SelectBinaryValue, PgParams().Int(record->Id).Int(*second).Int(property->m_id).Int(*first));
        if (other.Rows() == 0) return nullptr;
        exchanged = true;
        return GetBinaryPropertyValueFrom(other, *record, property, compound1Id, compound2Id, modelName, exchanged,
                                          condensed);
    }
    return GetBinaryPropertyValueFrom(row, *record, property, compound1Id, compound2Id, modelName, exchanged,
                                      condensed);
}

BinaryPropertyValuePtr PgBinaryValueManager::GetBinaryPropertyValueFrom(
    const PgResult& row, const common::DatabankRecord& record, const std::shared_ptr<common::StoredProperty>& property,
    const std::string& compound1Id, const std::string& compound2Id, const std::string& modelName, bool exchanged,
    bool condensed)
{
    auto value = std::make_shared<BinaryPropertyValue>();
    value->Compound = {InteractionBinary, compound1Id, compound2Id, "", ""};
    value->Property = std::make_shared<common::EchoedProperty>(property, modelName);
    value->Databank = m_database->EnumerateDatabanks()->Find(record.Name);
    value->Value =
        common::ParameterArray(ElementsOf(property->m_id), Labels(row, 0, 1), Numbers(row, 0, 2), exchanged, condensed);
    value->HasRegressionInfo = row.Int(0, 3) != 0;
    return value;
}

std::optional<BinaryPropertyValueList> PgBinaryValueManager::GetAllBinaryPropertyValuesForModelManager(
    const WorkingCompoundMap& workingCompounds, const std::string& compoundIdType, const DatabankCollection& databanks,
    const PropertyPositionMap& properties, bool condensed)
{
    return GetAll(workingCompounds, compoundIdType, databanks, properties, condensed, InteractionBinary);
}

std::optional<BinaryPropertyValueList> PgBinaryValueManager::GetAllPairPropertyValuesForModelManager(
    const WorkingCompoundMap& workingCompounds, const std::string& compoundIdType, const DatabankCollection& databanks,
    const PropertyPositionMap& properties, bool condensed, int /*workingCount*/)
{
    return GetAll(workingCompounds, compoundIdType, databanks, properties, condensed, InteractionPair);
}

// Values come databank by databank (in the group's order), then property by property (in the
// host's order), then by the host position of their first compound: one statement per databank and
// property reads the values of every working compound.
std::optional<BinaryPropertyValueList> PgBinaryValueManager::GetAll(const WorkingCompoundMap& workingCompounds,
                                                                    const std::string& compoundIdType,
                                                                    const DatabankCollection& databanks,
                                                                    const PropertyPositionMap& properties,
                                                                    bool condensed, int interactionType)
{
    // Each compound is reported under the host's identifier at its first position, however many
    // spellings of it the host wrote.
    std::unordered_map<int, std::pair<int, std::string>> working; // compound id to host position and identifier
    for (const auto& [identifier, position] : workingCompounds) {
        auto id = m_database->Resolve(identifier, compoundIdType);
        if (!id) continue;
        auto [entry, added] = working.emplace(*id, std::make_pair(position, identifier));
        if (!added && position < entry->second.first) entry->second = {position, identifier};
    }
    if (working.empty()) return std::nullopt;
    std::vector<int> workingIds;
    workingIds.reserve(working.size());
    for (const auto& entry : working) workingIds.push_back(entry.first);

    std::vector<std::pair<int, PropertyPtr>> wanted; // host position, property
    std::vector<std::shared_ptr<common::StoredProperty>> stored;
    for (const auto& [name, position] : properties) {
        auto property = m_database->PropertyByName(name);
        if (!property || property->m_interactionType != interactionType) continue;
        wanted.emplace_back(position, std::make_shared<common::EchoedProperty>(property, name));
        stored.push_back(property);
    }
    std::vector<std::size_t> order(wanted.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](auto a, auto b) { return wanted[a].first < wanted[b].first; });

    auto nameOf = [&](const PgResult& rows, int row, int column, bool& known) -> std::string {
        if (rows.IsNull(row, column)) return {};
        auto found = working.find(rows.Int(row, column));
        if (found == working.end()) {
            known = false;
            return {};
        }
        return found->second.second;
    };

    BinaryPropertyValueList values;
    std::set<int> seenDatabanks;
    PgConnection& db = m_database->Db();
    for (const auto& databank : databanks.Items()) {
        const common::DatabankRecord* record = databank ? m_database->OwnDatabank(*databank) : nullptr;
        if (!record || !seenDatabanks.insert(record->Id).second) continue;
        for (std::size_t index : order) {
            const auto& property = stored[index];
            const PgResult rows = db.Run(sql::SelectValuesOfFirstCompounds,
                                         PgParams().Int(record->Id).Int(property->m_id).IntArray(workingIds));
            if (rows.Rows() == 0) continue;
            const auto& elements = ElementsOf(property->m_id);
            // The rows of each first compound stay in stored order; the compounds go by host position.
            std::vector<int> rowOrder(static_cast<std::size_t>(rows.Rows()));
            for (int r = 0; r < rows.Rows(); ++r) rowOrder[static_cast<std::size_t>(r)] = r;
            std::stable_sort(rowOrder.begin(), rowOrder.end(), [&](int a, int b) {
                return working.at(rows.Int(a, 0)).first < working.at(rows.Int(b, 0)).first;
            });
            for (int r : rowOrder) {
                bool known = true;
                PairCompounds compounds{interactionType, working.at(rows.Int(r, 0)).second, nameOf(rows, r, 1, known),
                                        nameOf(rows, r, 2, known), nameOf(rows, r, 3, known)};
                if (!known) continue;
                if (interactionType == InteractionBinary && (compounds.Compound2Name.empty() || !rows.IsNull(r, 2)))
                    continue;
                if (interactionType == InteractionPair && compounds.Compound3Name.empty()) continue;
                auto value = std::make_shared<BinaryPropertyValue>();
                value->Compound = std::move(compounds);
                value->Property = wanted[index].second;
                value->Databank = databank;
                value->Value =
                    common::ParameterArray(elements, Labels(rows, r, 4), Numbers(rows, r, 5), false, condensed);
                value->HasRegressionInfo = rows.Int(r, 6) != 0;
                values.push_back(std::move(value));
            }
        }
    }
    if (values.empty()) return std::nullopt;
    return values;
}

bool PgBinaryValueManager::FetchExistingHelpInfo(IpHelpInfoObject& info, const IDatabank& databank,
                                                 const std::string& propertyName, const std::string& compound1,
                                                 const std::string& compound1Type, const std::string& compound2,
                                                 const std::string& compound2Type, std::string& message)
{
    const common::DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) throw ServiceError("the databank belongs to another database");
    auto property = m_database->PropertyByName(propertyName);
    if (!property || property->m_interactionType == InteractionUnary) {
        message = "no binary property \"" + propertyName + "\"";
        return false;
    }
    auto first = m_database->Resolve(compound1, compound1Type);
    auto second = m_database->Resolve(compound2, compound2Type);
    if (!first || !second) {
        message = "a compound is unknown";
        return false;
    }
    PgConnection& db = m_database->Db();
    const char* query =
        property->m_interactionType == InteractionBinary ? sql::SelectBinaryValue : sql::SelectPairValueOfTwo;
    std::optional<long long> valueId;
    for (auto [a, b] : {std::make_pair(*first, *second), std::make_pair(*second, *first)}) {
        const PgResult row = db.Run(query, PgParams().Int(record->Id).Int(a).Int(property->m_id).Int(b));
        if (row.Rows() > 0) {
            valueId = row.Int64(0, 0);
            break;
        }
    }
    if (!valueId) {
        message = "the databank holds no value for the pair";
        return false;
    }
    const PgResult regression = db.Run(sql::SelectRegression, PgParams().Int(*valueId));
    if (regression.Rows() == 0) {
        message = "the value has no regression information";
        return false;
    }
    const int kind = regression.Int(0, 0);
    info.FirstCompound = regression.OptionalText(0, 1);
    const std::optional<double> sigma = regression.OptionalDouble(0, 2);

    std::map<std::string, IpRegressLimits> ranges;
    const PgResult rangeRows = db.Run(sql::SelectRegressionRanges, PgParams().Int(*valueId));
    for (int r = 0; r < rangeRows.Rows(); ++r)
        ranges[rangeRows.Text(r, 0)] = {rangeRows.OptionalDouble(r, 1), rangeRows.OptionalDouble(r, 2)};
    std::vector<std::pair<std::string, IpRegressDeviations>> deviations;
    const PgResult deviationRows = db.Run(sql::SelectRegressionDeviations, PgParams().Int(*valueId));
    for (int r = 0; r < deviationRows.Rows(); ++r) {
        std::optional<double> points;
        if (auto count = deviationRows.OptionalInt(r, 1)) points = *count;
        deviations.emplace_back(deviationRows.Text(r, 0),
                                IpRegressDeviations{points, deviationRows.OptionalDouble(r, 2),
                                                    deviationRows.OptionalDouble(r, 3),
                                                    deviationRows.OptionalDouble(r, 4)});
    }
    std::vector<std::string> citations;
    if (kind == HelpInfoNist) {
        const PgResult rows = db.Run(sql::SelectRegressionCitations, PgParams().Int(*valueId));
        for (int r = 0; r < rows.Rows(); ++r) citations.push_back(rows.Text(r, 0));
    }
    common::FillRegressionInformation(info, kind, sigma, ranges, std::move(deviations), std::move(citations));
    return true;
}

} // namespace moru::postgres
