#include "binary/BinaryValueSets.h"

#include "interop/References.h"
#include "platform/Diagnostics.h"
#include "platform/Text.h"
#include "service/Errors.h"
#include "session/Resolution.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string_view>

namespace moru::binary {

using service::BinaryPropertyValueList;
using service::DatabankPtr;
using service::DatabasePtr;
using service::EnginePairPropertyValueObject;
using service::InteractionBinary;
using service::InteractionPair;
using service::PropertyPositionMap;

namespace {

// Working identifier to every position at which the host wrote it, ascending.
using AllPositions = std::map<std::string, std::vector<int>, std::less<>>;

const std::vector<int>& PositionsOf(const AllPositions& allPositions, std::string_view name, bool optional)
{
    static const std::vector<int> absent{-1};
    if (optional && name.empty()) return absent;
    auto found = allPositions.find(name);
    if (found == allPositions.end())
        throw std::invalid_argument("a pair value names compound " + std::string(name) +
                                    ", which is not in the working list");
    return found->second;
}

// One engine pair value per combination of the positions of the value's compounds, compound 1
// outermost; grouped by databank in the host's databank order.
std::vector<EnginePairPropertyValueObject> Expand(const BinaryPropertyValueList& values,
                                                  const AllPositions& allPositions, const PropertyPositionMap& propArr,
                                                  const std::map<DatabankKey, int>& myDbankPosHT,
                                                  const std::vector<DatabankKey>& databankOrder)
{
    std::map<DatabankKey, std::vector<EnginePairPropertyValueObject>> byDatabank;
    for (const auto& value : values) {
        if (!value || value->Compound.InteractionType != InteractionPair) continue;
        if (!value->Property || !value->Databank)
            throw service::ServiceError("a pair value without property or databank");
        const auto& p1 = PositionsOf(allPositions, value->Compound.Compound1Name, false);
        const auto& p2 = PositionsOf(allPositions, value->Compound.Compound2Name, true);
        const auto& p3 = PositionsOf(allPositions, value->Compound.Compound3Name, false);
        const auto& p4 = PositionsOf(allPositions, value->Compound.Compound4Name, true);
        DatabankKey key = KeyOf(*value->Databank);
        const auto property = propArr.find(value->Property->Name());
        if (property == propArr.end())
            throw std::invalid_argument("a pair value of property " + value->Property->Name() +
                                        ", which is not in the list");
        const auto databank = myDbankPosHT.find(key);
        if (databank == myDbankPosHT.end())
            throw std::invalid_argument("a pair value of databank " + value->Databank->Name() +
                                        ", which is not in the list");
        auto& list = byDatabank[key];
        for (int a : p1) {
            for (int b : p2) {
                for (int c : p3) {
                    for (int d : p4) {
                        list.push_back({a, b, c, d, property->second, databank->second,
                                        service::NumericElements(value->Value.begin(), value->Value.end())});
                    }
                }
            }
        }
    }
    std::vector<EnginePairPropertyValueObject> expanded;
    for (const auto& key : databankOrder) {
        auto found = byDatabank.find(key);
        if (found == byDatabank.end()) continue;
        for (auto& entry : found->second) expanded.push_back(std::move(entry));
    }
    return expanded;
}

} // namespace

PositionsByName::PositionsByName(std::size_t count)
{
    std::size_t capacity = 8;
    while (capacity < 2 * count) capacity *= 2;
    m_slots.resize(capacity);
    m_mask = capacity - 1;
}

std::size_t PositionsByName::First(std::string_view name) const
{
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    std::uint64_t head = 0, tail = 0;
    if (name.size() >= 8) {
        std::memcpy(&head, name.data(), 8);
        std::memcpy(&tail, name.data() + name.size() - 8, 8);
    } else if (!name.empty()) {
        std::memcpy(&head, name.data(), name.size());
    }
    std::uint64_t hash = (name.size() + 1) * kMultiplier;
    hash = (hash ^ head) * kMultiplier;
    hash = (hash ^ tail) * kMultiplier;
    return static_cast<std::size_t>(hash ^ (hash >> 32)) & m_mask;
}

void PositionsByName::Add(std::string_view name, int position)
{
    for (std::size_t slot = First(name);; slot = (slot + 1) & m_mask) {
        if (m_slots[slot].position < 0) {
            m_slots[slot] = {name, position};
            return;
        }
        if (m_slots[slot].name == name) return;
    }
}

int PositionsByName::Find(std::string_view name) const
{
    for (std::size_t slot = First(name);; slot = (slot + 1) & m_mask) {
        const Slot& entry = m_slots[slot];
        if (entry.position < 0) return -1;
        if (entry.name == name) return entry.position;
    }
}

DatabankKey KeyOf(const service::IDatabank& databank)
{
    DatabasePtr database = databank.Database();
    return {platform::FoldCase(database ? database->Alias() : std::string()), platform::FoldCase(databank.Name())};
}

BinaryPropertyValueObjects::BinaryPropertyValueObjects(service::WorkingCompoundMap workingPairArr,
                                                       PropertyPositionMap propArr,
                                                       std::map<DatabankKey, int> myDbankPosHT,
                                                       DatabaseDatabanks DBaseDBankHT,
                                                       Entries allPropValuesFromAllDatabases)
    : m_workingPairArr(std::move(workingPairArr)), m_propArr(std::move(propArr)),
      m_myDbankPosHT(std::move(myDbankPosHT)), m_DBaseDBankHT(std::move(DBaseDBankHT)),
      m_allPropValuesFromAllDatabases(std::move(allPropValuesFromAllDatabases)),
      m_compoundPositions(m_workingPairArr.size())
{
    for (const auto& [name, position] : m_workingPairArr) m_compoundPositions.Add(name, position);
    for (const auto& [database, databanks] : m_DBaseDBankHT) {
        for (const auto& databank : databanks.Items()) {
            auto found = m_myDbankPosHT.find(KeyOf(*databank));
            if (found != m_myDbankPosHT.end()) m_positionsByObject.emplace(databank.get(), found->second);
        }
    }
}

int BinaryPropertyValueObjects::DatabankPosition(const service::IDatabank& databank) const
{
    if (&databank == m_lastDatabank) return m_lastDatabankPosition;
    const int position = FindDatabankPosition(databank);
    m_lastDatabank = &databank;
    m_lastDatabankPosition = position;
    return position;
}

int BinaryPropertyValueObjects::FindDatabankPosition(const service::IDatabank& databank) const
{
    auto known = m_positionsByObject.find(&databank);
    if (known != m_positionsByObject.end()) return known->second;
    auto found = m_myDbankPosHT.find(KeyOf(databank));
    return found == m_myDbankPosHT.end() ? -1 : found->second;
}

int BinaryPropertyValueObjects::PropertyPosition(const service::IProperty& property) const
{
    if (&property == m_lastProperty) return m_lastPropertyPosition;
    const auto found = m_propArr.find(property.Name());
    if (found == m_propArr.end()) return -1;
    m_lastProperty = &property;
    m_lastPropertyPosition = found->second;
    return found->second;
}

std::optional<PlacedEntry> BinaryPropertyValueObjects::PlaceServiceValue() const
{
    const std::size_t entry = m_counter + 1;
    if (m_allPropValuesFromAllDatabases.expanded) {
        platform::NoteFailure("entry ", entry, " of ", Count(), " is an engine pair value, read by the engine's form");
        return std::nullopt;
    }
    const auto& held = m_allPropValuesFromAllDatabases.serviceValues[m_counter];
    if (!held || !held->Property || !held->Databank) {
        platform::NoteFailure("entry ", entry, " of ", Count(), " names no property or databank");
        return std::nullopt;
    }
    const service::BinaryPropertyValue& value = *held;

    std::optional<std::string_view> unknownCompound;
    auto positionOf = [&](std::string_view name, bool optional) {
        if (optional && name.empty()) return -1;
        const int position = m_compoundPositions.Find(name);
        if (position < 0 && !unknownCompound) unknownCompound = name;
        return position;
    };
    // Values come by their first compound, so the last one found is asked for again first.
    auto firstPosition = [&](std::string_view name) {
        // The values of one list often view one text for one compound: the same text needs no
        // comparing.
        const bool same =
            name.data() == m_lastCompound1.data() ? name.size() == m_lastCompound1.size() : name == m_lastCompound1;
        if (m_lastCompound1Position >= 0 && same) return m_lastCompound1Position;
        const int position = positionOf(name, false);
        if (position >= 0) {
            m_lastCompound1 = name;
            m_lastCompound1Position = position;
        }
        return position;
    };
    PlacedEntry placed;
    const service::PairCompounds& compounds = value.Compound;
    switch (value.Property->InteractionType()) {
    case InteractionBinary:
        placed.compoundPositions[0] = firstPosition(compounds.Compound1Name);
        placed.compoundPositions[1] = positionOf(compounds.Compound2Name, false);
        break;
    case InteractionPair:
        placed.compoundPositions[0] = firstPosition(compounds.Compound1Name);
        placed.compoundPositions[1] = positionOf(compounds.Compound2Name, true);
        placed.compoundPositions[2] = positionOf(compounds.Compound3Name, false);
        placed.compoundPositions[3] = positionOf(compounds.Compound4Name, true);
        break;
    default: // no compound of the value can be placed: every position reads -1
        break;
    }
    if (unknownCompound) {
        platform::NoteFailure("entry ", entry, " of ", Count(), " names compound ", *unknownCompound,
                              ", which is not in the working list");
        return std::nullopt;
    }
    placed.databankPosition = DatabankPosition(*value.Databank);
    if (placed.databankPosition < 0) {
        platform::NoteFailure("entry ", entry, " of ", Count(), " is of databank ", value.Databank->Name(),
                              ", which is not in the list");
        return std::nullopt;
    }
    placed.propertyPosition = PropertyPosition(*value.Property);
    if (placed.propertyPosition < 0) {
        platform::NoteFailure("entry ", entry, " of ", Count(), " is of property ", value.Property->Name(),
                              ", which is not in the list");
        return std::nullopt;
    }
    placed.hasRegressionInfo = value.HasRegressionInfo;
    placed.numbers = value.Value;
    return placed;
}

std::optional<PlacedEntry> BinaryPropertyValueObjects::PlaceEnginePairValue() const
{
    if (!m_allPropValuesFromAllDatabases.expanded) {
        platform::NoteFailure("entry ", m_counter + 1, " of ", Count(), " is no engine pair value");
        return std::nullopt;
    }
    const EnginePairPropertyValueObject& value = m_allPropValuesFromAllDatabases.engineValues[m_counter];
    PlacedEntry placed;
    placed.compoundPositions = {value.Compound1Position, value.Compound2Position, value.Compound3Position,
                                value.Compound4Position};
    placed.databankPosition = value.DatabankPosition;
    placed.propertyPosition = value.PropertyPosition;
    placed.numbers = value.Values;
    return placed;
}

std::shared_ptr<BinaryPropertyValueObjects> GetAllBinaryPropertyValueObjects(
    const std::vector<std::string>& workingCompounds, const std::string& compoundIdType,
    const std::vector<std::string>& dbankArr, const std::vector<std::string>& propertyArr, int interactionType,
    int condensedFlag)
{
    const bool condensed = condensedFlag != 0;

    service::WorkingCompoundMap workingPairArr;
    AllPositions allPositions;
    for (std::size_t i = 0; i < workingCompounds.size(); ++i) {
        allPositions[workingCompounds[i]].push_back(static_cast<int>(i));
        workingPairArr.emplace(workingCompounds[i], static_cast<int>(i));
    }

    // Property names match without regard to letter case in the service, so a name repeated in
    // another case would deliver its values twice.
    PropertyPositionMap propArr;
    std::set<std::string> foldedProperties;
    for (std::size_t i = 0; i < propertyArr.size(); ++i) {
        if (!foldedProperties.insert(platform::FoldCase(propertyArr[i])).second)
            throw std::invalid_argument("property " + propertyArr[i] + " is named twice");
        propArr.emplace(propertyArr[i], static_cast<int>(i));
    }

    // Keyed by the databank that an entry resolves to, so that one databank written twice, in any
    // spelling, is refused instead of delivering its values twice.
    std::map<DatabankKey, int> myDbankPosHT;
    std::vector<DatabankKey> databankOrder;
    DatabaseDatabanks DBaseDBankHT;
    for (std::size_t i = 0; i < dbankArr.size(); ++i) {
        const std::string entry = std::to_string(i + 1);
        auto reference = interop::SplitDatabankReference(dbankArr[i]);
        if (!reference) throw std::invalid_argument("databank entry " + entry + " has no full stop");
        DatabankPtr databank = session::GetIDatabankFromDbaseDbank(reference->databaseAlias, reference->databankName);
        if (!databank) throw std::invalid_argument("databank entry " + entry + " does not resolve");
        DatabankKey key = KeyOf(*databank);
        if (!myDbankPosHT.emplace(key, static_cast<int>(i)).second)
            throw std::invalid_argument("databank entry " + entry + " names databank " + reference->databaseAlias +
                                        "." + reference->databankName + " again");
        databankOrder.push_back(key);
        DatabasePtr database = databank->Database();
        auto group = DBaseDBankHT.begin();
        while (group != DBaseDBankHT.end() && group->first != database) ++group;
        if (group == DBaseDBankHT.end()) group = DBaseDBankHT.insert(DBaseDBankHT.end(), {database, {}});
        group->second.Add(std::move(databank));
    }

    BinaryPropertyValueList allValues;
    if (interactionType == InteractionBinary || interactionType == InteractionPair) {
        for (const auto& [database, databanks] : DBaseDBankHT) {
            auto manager = database ? database->BinaryValueManager() : nullptr;
            if (!manager)
                throw service::ServiceError("database " + (database ? database->Alias() : std::string()) +
                                            " offers no binary values");
            auto found = interactionType == InteractionBinary
                             ? manager->GetAllBinaryPropertyValuesForModelManager(workingPairArr, compoundIdType,
                                                                                  databanks, propArr, condensed)
                             : manager->GetAllPairPropertyValuesForModelManager(
                                   workingPairArr, compoundIdType, databanks, propArr, condensed,
                                   static_cast<int>(workingCompounds.size()));
            if (!found) continue;
            if (allValues.empty()) allValues = std::move(*found);
            else
                allValues.insert(allValues.end(), std::make_move_iterator(found->begin()),
                                 std::make_move_iterator(found->end()));
        }
    }

    BinaryPropertyValueObjects::Entries entries;
    if (interactionType == InteractionPair && (condensedFlag == 0 || condensedFlag == 2)) {
        entries.engineValues = Expand(allValues, allPositions, propArr, myDbankPosHT, databankOrder);
        entries.expanded = true;
    } else {
        entries.serviceValues = std::move(allValues);
    }
    return std::make_shared<BinaryPropertyValueObjects>(std::move(workingPairArr), std::move(propArr),
                                                        std::move(myDbankPosHT), std::move(DBaseDBankHT),
                                                        std::move(entries));
}

} // namespace moru::binary
