#include "BinaryValueManager.h"

#include "Schema.h"

#include "service/Errors.h"

#include <algorithm>
#include <set>
#include <unordered_map>

namespace moru::sqlite {

using namespace moru::service;

namespace {

std::vector<int> Labels(const Statement& row, int column)
{
    return DecodeLabels(row.Blob(column), row.BlobSize(column));
}

NumericElements Numbers(const Statement& row, int column)
{
    return DecodeNumbers(row.Blob(column), row.BlobSize(column));
}

} // namespace

const std::vector<common::BinaryElement>& SqliteBinaryValueManager::ElementsOf(int propertyId)
{
    auto found = m_elements.find(propertyId);
    if (found != m_elements.end()) return found->second;
    std::vector<common::BinaryElement> elements;
    auto& query = m_database->Db().Cached(sql::SelectPropertyElements).Bind(1, propertyId);
    while (query.Step()) elements.push_back({query.Int(0), query.Int(1), query.Int(2)});
    return m_elements.emplace(propertyId, std::move(elements)).first->second;
}

bool SqliteBinaryValueManager::HasRegression(long long valueId)
{
    if (!m_withRegression) {
        m_withRegression.emplace();
        auto& rows = m_database->Db().Cached(sql::SelectValuesWithRegression).Reset();
        while (rows.Step()) m_withRegression->insert(rows.Int64(0));
    }
    return m_withRegression->count(valueId) != 0;
}

std::optional<int> SqliteBinaryValueManager::CompoundId(const std::string& identifier,
                                                        const std::string& identifierType)
{
    auto compound = m_database->CompoundManager()->GetCompound(identifier, SqliteIdentifier(identifierType));
    if (!compound) return std::nullopt;
    return compound->Id();
}

BinaryPropertyValuePtr SqliteBinaryValueManager::GetBinaryPropertyValue(const IDatabank& databank,
                                                                        const std::string& compound1Id,
                                                                        const std::string& compound2Id,
                                                                        const std::string& identifierType,
                                                                        const std::string& modelName, bool condensed)
{
    const DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) throw ServiceError("the databank belongs to another database");
    auto property = m_database->PropertyByName(modelName);
    if (!property || property->m_interactionType != InteractionBinary) return nullptr;
    auto first = CompoundId(compound1Id, identifierType);
    auto second = CompoundId(compound2Id, identifierType);
    if (!first || !second) return nullptr;

    auto& db = m_database->Db();
    bool exchanged = false;
    auto* row =
        &db.Cached(sql::SelectBinaryValue).Bind(1, record->Id).Bind(2, *first).Bind(3, property->m_id).Bind(4, *second);
    if (!row->Step()) {
        // A pair is stored in one order only; the other order exchanges its IJ and JI parts.
        row = &db.Cached(sql::SelectBinaryValue)
                   .Bind(1, record->Id)
                   .Bind(2, *second)
                   .Bind(3, property->m_id)
                   .Bind(4, *first);
        if (!row->Step()) return nullptr;
        exchanged = true;
    }
    auto value = std::make_shared<BinaryPropertyValue>();
    value->Compound = {InteractionBinary, compound1Id, compound2Id, "", ""};
    value->Property = std::make_shared<common::EchoedProperty>(property, modelName);
    value->Databank = m_database->EnumerateDatabanks()->Find(record->Name);
    value->Value =
        common::ParameterArray(ElementsOf(property->m_id), Labels(*row, 1), Numbers(*row, 2), exchanged, condensed);
    value->HasRegressionInfo = row->Int(3) != 0;
    return value;
}

std::optional<BinaryPropertyValueList> SqliteBinaryValueManager::GetAllBinaryPropertyValuesForModelManager(
    const WorkingCompoundMap& workingCompounds, const std::string& compoundIdType, const DatabankCollection& databanks,
    const PropertyPositionMap& properties, bool condensed)
{
    return GetAll(workingCompounds, compoundIdType, databanks, properties, condensed, InteractionBinary);
}

std::optional<BinaryPropertyValueList> SqliteBinaryValueManager::GetAllPairPropertyValuesForModelManager(
    const WorkingCompoundMap& workingCompounds, const std::string& compoundIdType, const DatabankCollection& databanks,
    const PropertyPositionMap& properties, bool condensed, int /*workingCount*/)
{
    return GetAll(workingCompounds, compoundIdType, databanks, properties, condensed, InteractionPair);
}

// Values come databank by databank (in the group's order), then property by property (in the
// host's order), then by the host position of their first compound.
std::optional<BinaryPropertyValueList> SqliteBinaryValueManager::GetAll(const WorkingCompoundMap& workingCompounds,
                                                                        const std::string& compoundIdType,
                                                                        const DatabankCollection& databanks,
                                                                        const PropertyPositionMap& properties,
                                                                        bool condensed, int interactionType)
{
    // Each compound is reported under the host's identifier at its first position, however many
    // spellings of it the host wrote.
    std::unordered_map<int, std::pair<int, std::string>> working; // compound id to host position and identifier
    for (const auto& [identifier, position] : workingCompounds) {
        auto id = CompoundId(identifier, compoundIdType);
        if (!id) continue;
        auto [entry, added] = working.emplace(*id, std::make_pair(position, identifier));
        if (!added && position < entry->second.first) entry->second = {position, identifier};
    }
    std::vector<std::pair<int, int>> firstCompounds; // host position, compound id
    firstCompounds.reserve(working.size());
    for (const auto& [id, named] : working) firstCompounds.emplace_back(named.first, id);
    std::sort(firstCompounds.begin(), firstCompounds.end());

    std::vector<std::pair<int, PropertyPtr>> wanted; // host position, property
    std::vector<std::pair<int, std::shared_ptr<SqliteProperty>>> stored;
    for (const auto& [name, position] : properties) {
        auto property = m_database->PropertyByName(name);
        if (!property || property->m_interactionType != interactionType) continue;
        wanted.emplace_back(position, std::make_shared<common::EchoedProperty>(property, name));
        stored.emplace_back(position, property);
    }
    std::vector<std::size_t> order(wanted.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](auto a, auto b) { return wanted[a].first < wanted[b].first; });

    auto nameOf = [&](const Statement& row, int column, bool& known) -> std::string {
        if (row.IsNull(column)) return {};
        auto found = working.find(row.Int(column));
        if (found == working.end()) {
            known = false;
            return {};
        }
        return found->second.second;
    };
    // The working compounds as the statement's set, and their host positions by id.
    std::string compoundSet = "[";
    for (const auto& [position, compoundId] : firstCompounds) {
        if (compoundSet.size() > 1) compoundSet += ',';
        compoundSet += std::to_string(compoundId);
    }
    compoundSet += ']';
    const char* select = interactionType == InteractionBinary ? sql::SelectBinaryValuesOfCompoundSet
                                                              : sql::SelectPairValuesOfCompoundSet;

    BinaryPropertyValueList values;
    std::vector<std::pair<int, BinaryPropertyValuePtr>> found; // host position of the first compound, value
    std::set<int> seenDatabanks;
    auto& db = m_database->Db();
    for (const auto& databank : databanks.Items()) {
        const DatabankRecord* record = databank ? m_database->OwnDatabank(*databank) : nullptr;
        if (!record || !seenDatabanks.insert(record->Id).second) continue;
        for (std::size_t index : order) {
            const auto& property = stored[index].second;
            // Most databanks hold one model: skip the others at the cost of one probe.
            if (!db.Cached(sql::DatabankHasPropertyValues).Bind(1, record->Id).Bind(2, property->m_id).Step()) continue;
            const auto& elements = ElementsOf(property->m_id);
            found.clear();
            auto& row = db.Cached(select).Bind(1, record->Id).Bind(2, property->m_id).Bind(3, compoundSet);
            while (row.Step()) {
                const auto first = working.find(row.Int(0));
                if (first == working.end()) continue;
                bool known = true;
                PairCompounds compounds{interactionType, first->second.second, nameOf(row, 1, known),
                                        nameOf(row, 2, known), nameOf(row, 3, known)};
                if (!known) continue;
                if (interactionType == InteractionBinary && compounds.Compound2Name.empty()) continue;
                if (interactionType == InteractionPair && compounds.Compound3Name.empty()) continue;
                auto value = std::make_shared<BinaryPropertyValue>();
                value->Compound = std::move(compounds);
                value->Property = wanted[index].second;
                value->Databank = databank;
                value->Value = common::ParameterArray(elements, Labels(row, 4), Numbers(row, 5), false, condensed);
                value->HasRegressionInfo = HasRegression(row.Int64(6));
                found.emplace_back(first->second.first, std::move(value));
            }
            // The index gives them by compound id; the host reads them by its positions, each
            // compound's values in index order as they came.
            std::stable_sort(found.begin(), found.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            for (auto& [position, value] : found) values.push_back(std::move(value));
        }
    }
    if (values.empty()) return std::nullopt;
    return values;
}

bool SqliteBinaryValueManager::FetchExistingHelpInfo(IpHelpInfoObject& info, const IDatabank& databank,
                                                     const std::string& propertyName, const std::string& compound1,
                                                     const std::string& compound1Type, const std::string& compound2,
                                                     const std::string& compound2Type, std::string& message)
{
    const DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) throw ServiceError("the databank belongs to another database");
    auto property = m_database->PropertyByName(propertyName);
    if (!property || property->m_interactionType == InteractionUnary) {
        message = "no binary property \"" + propertyName + "\"";
        return false;
    }
    auto first = CompoundId(compound1, compound1Type);
    auto second = CompoundId(compound2, compound2Type);
    if (!first || !second) {
        message = "a compound is unknown";
        return false;
    }
    auto& db = m_database->Db();
    const char* query =
        property->m_interactionType == InteractionBinary ? sql::SelectBinaryValue : sql::SelectPairValueOfTwo;
    std::optional<long long> valueId;
    for (auto [a, b] : {std::make_pair(*first, *second), std::make_pair(*second, *first)}) {
        auto& row = db.Cached(query).Bind(1, record->Id).Bind(2, a).Bind(3, property->m_id).Bind(4, b);
        if (row.Step()) {
            valueId = row.Int64(0);
            break;
        }
    }
    if (!valueId) {
        message = "the databank holds no value for the pair";
        return false;
    }
    auto& regression = db.Cached(sql::SelectRegression).Bind(1, *valueId);
    if (!regression.Step()) {
        message = "the value has no regression information";
        return false;
    }
    int kind = regression.Int(0);
    info.FirstCompound = regression.OptionalText(1);
    std::optional<double> sigma = regression.OptionalDouble(2);

    std::map<std::string, IpRegressLimits> ranges;
    auto& rangeRows = db.Cached(sql::SelectRegressionRanges).Bind(1, *valueId);
    while (rangeRows.Step()) ranges[rangeRows.Text(0)] = {rangeRows.OptionalDouble(1), rangeRows.OptionalDouble(2)};
    std::vector<std::pair<std::string, IpRegressDeviations>> deviations;
    auto& deviationRows = db.Cached(sql::SelectRegressionDeviations).Bind(1, *valueId);
    while (deviationRows.Step()) {
        std::optional<double> points;
        if (auto count = deviationRows.OptionalInt(1)) points = *count;
        deviations.emplace_back(deviationRows.Text(0),
                                IpRegressDeviations{points, deviationRows.OptionalDouble(2),
                                                    deviationRows.OptionalDouble(3), deviationRows.OptionalDouble(4)});
    }
    std::vector<std::string> citations;
    if (kind == HelpInfoNist) {
        auto& rows = db.Cached(sql::SelectRegressionCitations).Bind(1, *valueId);
        while (rows.Step()) citations.push_back(rows.Text(0));
    }
    common::FillRegressionInformation(info, kind, sigma, ranges, std::move(deviations), std::move(citations));
    return true;
}

} // namespace moru::sqlite
