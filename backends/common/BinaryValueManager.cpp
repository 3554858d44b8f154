#include "common/BinaryValueManager.h"

#include "service/Errors.h"

#include <algorithm>
#include <set>
#include <unordered_map>

namespace moru::common {

using namespace moru::service;

namespace {

// A working compound: the host position and identifier it is reported under, and its rank among
// the working compounds in the host's order.
struct WorkingCompound {
    int Position = 0;
    std::string Identifier;
    std::size_t Rank = 0;
};
using WorkingCompounds = std::unordered_map<int, WorkingCompound>; // by compound id

// Where a value of a list stands while the list grows: the rank of its first compound, and where
// its numbers are in the list's numbers.
struct Placement {
    std::size_t Rank = 0;
    std::size_t NumbersBegin = 0;
    std::size_t NumbersEnd = 0;
};

// What the pointers of a list share: every value, every value's numbers, the working compounds
// whose identifiers name the values' compounds, and the properties and databanks of the values.
struct ListBlock {
    std::vector<BinaryPropertyValue> Values;
    NumericElements Numbers;
    WorkingCompounds Working;
    std::vector<PropertyPtr> Properties;
    std::vector<DatabankPtr> Databanks;
};

// Decodes one value's labels and numbers into lists reused from value to value.
class DecodedValue {
public:
    void Decode(const StoredPairValue& value)
    {
        m_labels.clear();
        m_numbers.clear();
        DecodeLabelsInto(value.Labels.data(), static_cast<int>(value.Labels.size()), m_labels);
        DecodeNumbersInto(value.Numbers.data(), static_cast<int>(value.Numbers.size()), m_numbers);
    }
    void AppendTo(const std::vector<BinaryElement>& elements, bool exchanged, bool condensed,
                  NumericElements& array) const
    {
        AppendParameterArray(elements, m_labels, m_numbers, exchanged, condensed, array);
    }

private:
    std::vector<int> m_labels;
    NumericElements m_numbers;
};

// The values of a list as the backend hands them over, the ones of compounds outside the working
// list left out, and the order in which the host reads them. The values are made as they come and
// name their compounds by the identifiers in the working compounds' entries.
class ListBuilder : public StoredPairValueSink {
public:
    ListBuilder(const WorkingCompounds& working, int interactionType, bool condensed)
        : m_working(&working), m_interactionType(interactionType), m_condensed(condensed),
          m_rankCounts(working.size() + 1)
    {}

    // The databank and property whose values come next; the list keeps them (see Finish).
    void Expect(const IDatabank& databank, const IProperty& property, const std::vector<BinaryElement>& elements)
    {
        m_databank = &databank;
        m_property = &property;
        m_elements = &elements;
        m_groupBegin = m_values.size();
    }

    void Take(const StoredPairValue& stored) override
    {
        std::array<const WorkingCompound*, 4> compounds{};
        // A binary value has two compounds: a third makes it no binary value, a fourth is not
        // read, as the single value's fetch does not read it.
        const std::size_t slots = m_interactionType == InteractionBinary ? 3 : stored.CompoundIds.size();
        for (std::size_t i = 0; i < slots; ++i) {
            if (!stored.CompoundIds[i]) continue;
            // The rows come by their first compound: the last one found is asked for again first.
            if (i == 0 && m_lastFirst && m_lastFirstId == *stored.CompoundIds[0]) {
                compounds[0] = m_lastFirst;
                continue;
            }
            const auto found = m_working->find(*stored.CompoundIds[i]);
            if (found == m_working->end()) return;
            compounds[i] = &found->second;
            if (i == 0) {
                m_lastFirst = compounds[0];
                m_lastFirstId = *stored.CompoundIds[0];
            }
        }
        if (!compounds[0]) return;
        if (m_interactionType == InteractionBinary && (!compounds[1] || compounds[2])) return;
        if (m_interactionType == InteractionPair && !compounds[2]) return;
        BinaryPropertyValue& value = m_values.emplace_back();
        value.Compound.InteractionType = m_interactionType;
        std::string_view* names[] = {&value.Compound.Compound1Name, &value.Compound.Compound2Name,
                                     &value.Compound.Compound3Name, &value.Compound.Compound4Name};
        for (std::size_t i = 0; i < compounds.size(); ++i) {
            if (compounds[i]) *names[i] = compounds[i]->Identifier;
        }
        value.Property = m_property;
        value.Databank = m_databank;
        value.HasRegressionInfo = stored.HasRegression;
        m_decoded.Decode(stored);
        Placement& placement = m_placements.emplace_back();
        placement.Rank = compounds[0]->Rank;
        placement.NumbersBegin = m_numbers.size();
        m_decoded.AppendTo(*m_elements, false, m_condensed, m_numbers);
        placement.NumbersEnd = m_numbers.size();
    }

    // Orders the values since Expect by the host position of their first compound, each
    // compound's values in the order they came (a counting sort by rank: stable, and linear).
    void OrderGroup()
    {
        std::fill(m_rankCounts.begin(), m_rankCounts.end(), 0);
        for (std::size_t i = m_groupBegin; i < m_placements.size(); ++i) ++m_rankCounts[m_placements[i].Rank + 1];
        std::size_t start = m_groupBegin;
        for (auto& count : m_rankCounts) {
            start += count;
            count = start;
        }
        m_order.resize(m_placements.size());
        for (std::size_t i = m_groupBegin; i < m_placements.size(); ++i)
            m_order[m_rankCounts[m_placements[i].Rank]++] = i;
    }

    // The list, in the host's order; nullopt when no value came. One block holds every value, all
    // their numbers, `working`, whose entries name the values' compounds (they keep their places
    // when the table moves), and the properties and databanks that were expected; each pointer
    // handed out shares it.
    std::optional<BinaryPropertyValueList> Finish(WorkingCompounds working, std::vector<PropertyPtr> properties,
                                                  std::vector<DatabankPtr> databanks)
    {
        if (m_values.empty()) return std::nullopt;
        auto block = std::make_shared<ListBlock>();
        block->Values = std::move(m_values);
        block->Numbers = std::move(m_numbers);
        block->Working = std::move(working);
        block->Properties = std::move(properties);
        block->Databanks = std::move(databanks);
        const NumericView numbers(block->Numbers);
        for (std::size_t i = 0; i < block->Values.size(); ++i) {
            const Placement& placement = m_placements[i];
            block->Values[i].Value =
                numbers.subspan(placement.NumbersBegin, placement.NumbersEnd - placement.NumbersBegin);
        }
        BinaryPropertyValueList values;
        values.reserve(block->Values.size());
        for (std::size_t index : m_order) values.emplace_back(block, &block->Values[index]);
        return values;
    }

private:
    const WorkingCompounds* m_working;
    int m_interactionType;
    bool m_condensed;
    std::size_t m_groupBegin = 0;
    const IDatabank* m_databank = nullptr;
    const IProperty* m_property = nullptr;
    const std::vector<BinaryElement>* m_elements = nullptr;
    const WorkingCompound* m_lastFirst = nullptr;
    int m_lastFirstId = 0;
    DecodedValue m_decoded;
    std::vector<BinaryPropertyValue> m_values; // as they came
    std::vector<Placement> m_placements;       // as m_values
    NumericElements m_numbers;
    std::vector<std::size_t> m_order;
    std::vector<std::size_t> m_rankCounts; // by rank + 1
};

class OneValue : public StoredPairValueSink {
public:
    void Take(const StoredPairValue& stored) override
    {
        decoded.Decode(stored);
        hasRegression = stored.HasRegression;
    }

    DecodedValue decoded;
    bool hasRegression = false;
};

} // namespace

const std::vector<BinaryElement>& StoredBinaryValueManager::ElementsOf(int propertyId)
{
    auto found = m_elements.find(propertyId);
    if (found != m_elements.end()) return found->second;
    return m_elements.emplace(propertyId, ReadElements(propertyId)).first->second;
}

BinaryPropertyValuePtr StoredBinaryValueManager::GetBinaryPropertyValue(const IDatabank& databank,
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

    OneValue row;
    bool exchanged = false;
    if (!ReadBinaryValue(record->Id, *first, property->m_id, *second, row)) {
        // A pair is stored in one order only; the other order exchanges its IJ and JI parts.
        if (!ReadBinaryValue(record->Id, *second, property->m_id, *first, row)) return nullptr;
        exchanged = true;
    }
    BinaryPropertyValue value;
    value.Compound.InteractionType = InteractionBinary;
    value.HasRegressionInfo = row.hasRegression;
    OwnValueParts parts{std::make_shared<EchoedProperty>(property, modelName),
                        m_database->EnumerateDatabanks()->Find(record->Name),
                        {compound1Id, compound2Id, "", ""},
                        {}};
    row.decoded.AppendTo(ElementsOf(property->m_id), exchanged, condensed, parts.Numbers);
    return HoldOwnValue(value, std::move(parts));
}

std::optional<BinaryPropertyValueList> StoredBinaryValueManager::GetAllBinaryPropertyValuesForModelManager(
    const WorkingCompoundMap& workingCompounds, const std::string& compoundIdType, const DatabankCollection& databanks,
    const PropertyPositionMap& properties, bool condensed)
{
    return GetAll(workingCompounds, compoundIdType, databanks, properties, condensed, InteractionBinary);
}

std::optional<BinaryPropertyValueList> StoredBinaryValueManager::GetAllPairPropertyValuesForModelManager(
    const WorkingCompoundMap& workingCompounds, const std::string& compoundIdType, const DatabankCollection& databanks,
    const PropertyPositionMap& properties, bool condensed, int /*workingCount*/)
{
    return GetAll(workingCompounds, compoundIdType, databanks, properties, condensed, InteractionPair);
}

// Values come databank by databank (in the group's order), then property by property (in the
// host's order), then by the host position of their first compound, each compound's values in the
// order the backend gives them.
std::optional<BinaryPropertyValueList> StoredBinaryValueManager::GetAll(const WorkingCompoundMap& workingCompounds,
                                                                        const std::string& compoundIdType,
                                                                        const DatabankCollection& databanks,
                                                                        const PropertyPositionMap& properties,
                                                                        bool condensed, int interactionType)
{
    // Each compound is reported under the host's identifier at its first position, however many
    // spellings of it the host wrote.
    WorkingCompounds working;
    for (const auto& [identifier, position] : workingCompounds) {
        auto id = CompoundId(identifier, compoundIdType);
        if (!id) continue;
        auto [entry, added] = working.emplace(*id, WorkingCompound{position, identifier});
        if (!added && position < entry->second.Position) entry->second = {position, identifier};
    }
    if (working.empty()) {
        m_database->CheckOpen();
        return std::nullopt;
    }
    std::vector<std::pair<int, int>> firstCompounds; // host position, compound id
    firstCompounds.reserve(working.size());
    for (const auto& [id, named] : working) firstCompounds.emplace_back(named.Position, id);
    std::sort(firstCompounds.begin(), firstCompounds.end());
    std::vector<int> compoundIds;
    compoundIds.reserve(firstCompounds.size());
    for (const auto& entry : firstCompounds) {
        working[entry.second].Rank = compoundIds.size();
        compoundIds.push_back(entry.second);
    }

    std::vector<std::pair<int, PropertyPtr>> wanted; // host position, property
    std::vector<std::shared_ptr<StoredProperty>> stored;
    for (const auto& [name, position] : properties) {
        auto property = m_database->PropertyByName(name);
        if (!property || property->m_interactionType != interactionType) continue;
        wanted.emplace_back(position, std::make_shared<EchoedProperty>(property, name));
        stored.push_back(property);
    }
    std::vector<std::size_t> order(wanted.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](auto a, auto b) { return wanted[a].first < wanted[b].first; });

    ListBuilder list(working, interactionType, condensed);
    std::vector<DatabankPtr> read;
    std::set<int> seenDatabanks;
    for (const auto& databank : databanks.Items()) {
        const DatabankRecord* record = databank ? m_database->OwnDatabank(*databank) : nullptr;
        if (!record || !seenDatabanks.insert(record->Id).second) continue;
        read.push_back(databank);
        for (std::size_t index : order) {
            const auto& property = stored[index];
            list.Expect(*databank, *wanted[index].second, ElementsOf(property->m_id));
            ReadValues(record->Id, property->m_id, interactionType, compoundIds, list);
            list.OrderGroup();
        }
    }
    std::vector<PropertyPtr> echoed;
    echoed.reserve(wanted.size());
    for (auto& entry : wanted) echoed.push_back(std::move(entry.second));
    return list.Finish(std::move(working), std::move(echoed), std::move(read));
}

bool StoredBinaryValueManager::FetchExistingHelpInfo(IpHelpInfoObject& info, const IDatabank& databank,
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
    std::optional<long long> valueId;
    for (auto [a, b] : {std::make_pair(*first, *second), std::make_pair(*second, *first)}) {
        valueId = ValueIdOf(property->m_interactionType, record->Id, a, property->m_id, b);
        if (valueId) break;
    }
    if (!valueId) {
        message = "the databank holds no value for the pair";
        return false;
    }
    auto regression = ReadRegression(*valueId);
    if (!regression) {
        message = "the value has no regression information";
        return false;
    }
    info.FirstCompound = regression->FirstCompound;
    FillRegressionInformation(info, regression->Kind, regression->Sigma, regression->Ranges,
                              std::move(regression->Deviations), std::move(regression->Citations));
    return true;
}

} // namespace moru::common
