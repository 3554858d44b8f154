#pragma once

// Every binary or pair value that the host's databanks hold among its working compounds, behind one
// handle, each value placed at the positions of its compounds, databank and property in the host's
// own lists.

#include "service/BinaryValues.h"
#include "service/Database.h"

#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace moru::binary {

using namespace moru::service;

// A databank as the result keys it: its database alias and its name, both case-folded, taken from
// the resolved databank rather than from the host's text.
using DatabankKey = std::pair<std::string, std::string>;
DatabankKey KeyOf(const IDatabank& databank);

// Databases with their databanks, in the order of their first appearance in the host's list.
using DatabaseDatabanks = std::vector<std::pair<DatabasePtr, DatabankCollection>>;

class BinaryPropertyValueObjects {
public:
    // A service value (binary values, pair values kept as the service returned them) or a pair
    // value expanded into the engine's positions.
    using Entry = std::variant<BinaryPropertyValuePtr, EnginePairPropertyValuePtr>;

    BinaryPropertyValueObjects(WorkingCompoundMap workingPairArr, PropertyPositionMap propArr,
                               std::map<DatabankKey, int> myDbankPosHT, DatabaseDatabanks DBaseDBankHT,
                               std::vector<Entry> allPropValuesFromAllDatabases)
        : m_workingPairArr(std::move(workingPairArr)), m_propArr(std::move(propArr)),
          m_myDbankPosHT(std::move(myDbankPosHT)), m_DBaseDBankHT(std::move(DBaseDBankHT)),
          m_allPropValuesFromAllDatabases(std::move(allPropValuesFromAllDatabases))
    {
        for (const auto& [database, databanks] : m_DBaseDBankHT) {
            for (const auto& databank : databanks.Items()) {
                auto found = m_myDbankPosHT.find(KeyOf(*databank));
                if (found != m_myDbankPosHT.end()) m_positionsByObject.emplace(databank.get(), found->second);
            }
        }
    }

    const WorkingCompoundMap& GetCompoundsSortedList() const { return m_workingPairArr; }
    const PropertyPositionMap& GetPropertiesSortedList() const { return m_propArr; }
    const std::map<DatabankKey, int>& GetDbankPositionHashtable() const { return m_myDbankPosHT; }
    const DatabaseDatabanks& GetDatabaseDatabankHashtable() const { return m_DBaseDBankHT; }
    const std::vector<Entry>& GetPropertyValueObjectList() const { return m_allPropValuesFromAllDatabases; }
    int GetCurrentCounter() const { return m_counter; }
    void SetCurrentCounter(int count) { m_counter = count; }
    // The position of a value's databank in the host's list: found by the object first, which
    // spares folding its names for every entry. -1 when it is not listed.
    int DatabankPosition(const IDatabank& databank) const;

private:
    int m_counter = 0;
    WorkingCompoundMap m_workingPairArr;
    PropertyPositionMap m_propArr;
    std::map<DatabankKey, int> m_myDbankPosHT;
    DatabaseDatabanks m_DBaseDBankHT;
    std::vector<Entry> m_allPropValuesFromAllDatabases;
    std::map<const IDatabank*, int> m_positionsByObject;
};

// Builds the result and returns its handle; raises for every failure (a repeated property or
// databank, an entry without a full stop, a databank that does not resolve, a service failure, an
// expansion that meets a name outside the host's lists). `condensedFlag` 0 or 2 with interaction
// type 3 expands pair values into engine pair values; 1 and 2 ask the service for condensed values.
int GetAllBinaryPropertyValueObjects(const std::vector<std::string>& workingCompounds,
                                     const std::string& compoundIdType, const std::vector<std::string>& dbankArr,
                                     const std::vector<std::string>& propertyArr, int interactionType,
                                     int condensedFlag);

// The host's outputs for one entry; `hasRegInfo` is null for the engine's form.
struct EntryOutputs {
    int* comp1Index;
    int* comp2Index;
    int* comp3Index;
    int* comp4Index;
    int* dbankIndex;
    int* propIndex;
    int* valueSize;
    int* hasRegInfo;
    double* propValues;
};

// 1 delivered and cursor advanced, -1 past the end, 0 when the entry cannot be delivered in this
// form (nothing written, cursor kept). Both forms share the one cursor. The service values' form
// reads an entry only with a `hasRegInfo` to write, but reports the end without one.
int GetNextPropertyValueObject(int objectHandle, const EntryOutputs& outputs);
int GetNextPropertyValueObjectVanta(int objectHandle, const EntryOutputs& outputs);

int NumberOfEntries(int objectHandle);

} // namespace moru::binary
