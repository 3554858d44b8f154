#include "binary/BinaryValueSets.h"

#include "interop/Numbers.h"
#include "interop/Handles.h"
#include "interop/References.h"
#include "platform/Text.h"
#include "service/Errors.h"
#include "session/Resolution.h"

#include <memory>
#include <optional>
#include <set>
#include <stdexcept>

namespace moru::binary {

namespace {

// Working identifier to every position at which the host wrote it, ascending.
using AllPositions = std::map<std::string, std::vector<int>>;

const std::vector<int>& PositionsOf(const AllPositions& allPositions, const std::string& name, bool optional)
{
    static const std::vector<int> absent{-1};
    if (optional && name.empty()) return absent;
    auto found = allPositions.find(name);
    if (found == allPositions.end()) throw std::invalid_argument("a pair value names a compound outside the working list");
    return found->second;
}

template <class Map>
int PositionIn(const Map& map, const typename Map::key_type& key)
{
    auto found = map.find(key);
    if (found == map.end()) throw std::invalid_argument("a value lies outside the host's lists");
    return found->second;
}

// One engine pair value per combination of the positions of the value's compounds, compound 1
// outermost; grouped by databank in the host's databank order.
std::vector<BinaryPropertyValueObjects::Entry> Expand(const BinaryPropertyValueList& values,
                                                      const AllPositions& allPositions,
                                                      const PropertyPositionMap& propArr,
                                                      const std::map<DatabankKey, int>& myDbankPosHT,
                                                      const std::vector<DatabankKey>& databankOrder)
{
    std::map<DatabankKey, std::vector<BinaryPropertyValueObjects::Entry>> byDatabank;
    for (const auto& value : values) {
        if (!value || value->Compound.InteractionType != InteractionPair) continue;
        if (!value->Property || !value->Databank) throw ServiceError("a pair value without property or databank");
        const auto& p1 = PositionsOf(allPositions, value->Compound.Compound1Name, false);
        const auto& p2 = PositionsOf(allPositions, value->Compound.Compound2Name, true);
        const auto& p3 = PositionsOf(allPositions, value->Compound.Compound3Name, false);
        const auto& p4 = PositionsOf(allPositions, value->Compound.Compound4Name, true);
        DatabankKey key = KeyOf(*value->Databank);
        int propertyPosition = PositionIn(propArr, value->Property->Name());
        int databankPosition = PositionIn(myDbankPosHT, key);
        auto& list = byDatabank[key];
        for (int a : p1) {
            for (int b : p2) {
                for (int c : p3) {
                    for (int d : p4) {
                        list.emplace_back(std::make_shared<const EnginePairPropertyValueObject>(
                            EnginePairPropertyValueObject{a, b, c, d, propertyPosition, databankPosition, value->Value}));
                    }
                }
            }
        }
    }
    std::vector<BinaryPropertyValueObjects::Entry> expanded;
    for (const auto& key : databankOrder) {
        auto found = byDatabank.find(key);
        if (found == byDatabank.end()) continue;
        for (auto& entry : found->second) expanded.push_back(std::move(entry));
    }
    return expanded;
}

void Write(const EntryOutputs& out, const int (&positions)[4], int databankPosition, int propertyPosition,
           const NumericElements& numbers)
{
    *out.comp1Index = positions[0];
    *out.comp2Index = positions[1];
    *out.comp3Index = positions[2];
    *out.comp4Index = positions[3];
    *out.dbankIndex = databankPosition;
    *out.propIndex = propertyPosition;
    *out.valueSize = static_cast<int>(numbers.size());
    interop::WriteNumbers(numbers, out.propValues);
}

} // namespace

DatabankKey KeyOf(const IDatabank& databank)
{
    DatabasePtr database = databank.Database();
    return {platform::FoldCase(database ? database->Alias() : std::string()), platform::FoldCase(databank.Name())};
}

int BinaryPropertyValueObjects::DatabankPosition(const IDatabank& databank) const
{
    auto known = m_positionsByObject.find(&databank);
    if (known != m_positionsByObject.end()) return known->second;
    auto found = m_myDbankPosHT.find(KeyOf(databank));
    return found == m_myDbankPosHT.end() ? -1 : found->second;
}

int GetAllBinaryPropertyValueObjects(const std::vector<std::string>& workingCompounds,
                                     const std::string& compoundIdType, const std::vector<std::string>& dbankArr,
                                     const std::vector<std::string>& propertyArr, int interactionType,
                                     int condensedFlag)
{
    const bool condensed = condensedFlag != 0;

    WorkingCompoundMap workingPairArr;
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
            throw std::invalid_argument("a property is named twice: " + propertyArr[i]);
        propArr.emplace(propertyArr[i], static_cast<int>(i));
    }

    // Keyed by the databank that an entry resolves to, so that one databank written twice, in any
    // spelling, is refused instead of delivering its values twice.
    std::map<DatabankKey, int> myDbankPosHT;
    std::vector<DatabankKey> databankOrder;
    DatabaseDatabanks DBaseDBankHT;
    for (std::size_t i = 0; i < dbankArr.size(); ++i) {
        auto reference = interop::SplitDatabankReference(dbankArr[i]);
        if (!reference) throw std::invalid_argument("a databank entry without a full stop");
        DatabankPtr databank = session::GetIDatabankFromDbaseDbank(reference->databaseAlias, reference->databankName);
        if (!databank) throw std::invalid_argument("a databank entry that does not resolve");
        DatabankKey key = KeyOf(*databank);
        if (!myDbankPosHT.emplace(key, static_cast<int>(i)).second) throw std::invalid_argument("a databank is named twice");
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
            if (!manager) throw ServiceError("a database offers no binary values");
            auto found = interactionType == InteractionBinary
                             ? manager->GetAllBinaryPropertyValuesForModelManager(workingPairArr, compoundIdType,
                                                                                   databanks, propArr, condensed)
                             : manager->GetAllPairPropertyValuesForModelManager(
                                   workingPairArr, compoundIdType, databanks, propArr, condensed,
                                   static_cast<int>(workingCompounds.size()));
            if (found) allValues.insert(allValues.end(), found->begin(), found->end());
        }
    }

    std::vector<BinaryPropertyValueObjects::Entry> entries;
    if (interactionType == InteractionPair && (condensedFlag == 0 || condensedFlag == 2)) {
        entries = Expand(allValues, allPositions, propArr, myDbankPosHT, databankOrder);
    } else {
        entries.assign(allValues.begin(), allValues.end());
    }
    return interop::GetHandleFromObject(std::make_shared<BinaryPropertyValueObjects>(
        std::move(workingPairArr), std::move(propArr), std::move(myDbankPosHT), std::move(DBaseDBankHT),
        std::move(entries)));
}

int GetNextPropertyValueObject(int objectHandle, const EntryOutputs& out)
{
    auto result = interop::GetObjectFromHandle<BinaryPropertyValueObjects>(objectHandle);
    if (!result) return 0;
    const auto& entries = result->GetPropertyValueObjectList();
    const auto cursor = static_cast<std::size_t>(result->GetCurrentCounter());
    if (cursor >= entries.size()) return -1;
    // Only an entry to deliver needs the flag: the end of the list is reported without it.
    if (!out.hasRegInfo) return 0;
    const auto* held = std::get_if<BinaryPropertyValuePtr>(&entries[cursor]);
    if (!held || !*held) return 0;
    const BinaryPropertyValue& value = **held;
    if (!value.Property || !value.Databank) return 0;

    const auto& working = result->GetCompoundsSortedList();
    bool known = true;
    auto positionOf = [&](const std::string& name, bool optional) {
        if (optional && name.empty()) return -1;
        auto found = working.find(name);
        if (found == working.end()) {
            known = false;
            return -1;
        }
        return found->second;
    };
    int positions[4] = {-1, -1, -1, -1};
    const PairCompounds& compounds = value.Compound;
    switch (value.Property->InteractionType()) {
    case InteractionBinary:
        positions[0] = positionOf(compounds.Compound1Name, false);
        positions[1] = positionOf(compounds.Compound2Name, false);
        break;
    case InteractionPair:
        positions[0] = positionOf(compounds.Compound1Name, false);
        positions[1] = positionOf(compounds.Compound2Name, true);
        positions[2] = positionOf(compounds.Compound3Name, false);
        positions[3] = positionOf(compounds.Compound4Name, true);
        break;
    default: // no compound of the value can be placed: every position reads -1
        break;
    }
    if (!known) return 0;
    const int databankPosition = result->DatabankPosition(*value.Databank);
    const auto& properties = result->GetPropertiesSortedList();
    auto property = properties.find(value.Property->Name());
    if (databankPosition < 0 || property == properties.end()) return 0;

    *out.hasRegInfo = value.HasRegressionInfo ? 1 : 0;
    Write(out, positions, databankPosition, property->second, value.Value);
    result->SetCurrentCounter(static_cast<int>(cursor) + 1);
    return 1;
}

int GetNextPropertyValueObjectVanta(int objectHandle, const EntryOutputs& out)
{
    auto result = interop::GetObjectFromHandle<BinaryPropertyValueObjects>(objectHandle);
    if (!result) return 0;
    const auto& entries = result->GetPropertyValueObjectList();
    const auto cursor = static_cast<std::size_t>(result->GetCurrentCounter());
    if (cursor >= entries.size()) return -1;
    const auto* held = std::get_if<EnginePairPropertyValuePtr>(&entries[cursor]);
    if (!held || !*held) return 0;
    const EnginePairPropertyValueObject& value = **held;
    const int positions[4] = {value.Compound1Position, value.Compound2Position, value.Compound3Position,
                              value.Compound4Position};
    Write(out, positions, value.DatabankPosition, value.PropertyPosition, value.Values);
    result->SetCurrentCounter(static_cast<int>(cursor) + 1);
    return 1;
}

int NumberOfEntries(int objectHandle)
{
    auto result = interop::GetObjectFromHandle<BinaryPropertyValueObjects>(objectHandle);
    return result ? static_cast<int>(result->GetPropertyValueObjectList().size()) : 0;
}

} // namespace moru::binary
