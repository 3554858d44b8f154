#pragma once

// Every binary or pair value that the host's databanks hold among its working compounds, behind one
// handle, each value placed at the positions of its compounds, databank and property in the host's
// own lists.

#include "service/BinaryValues.h"
#include "service/Database.h"

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace moru::binary {

// A databank as the result keys it: its database alias and its name, both case-folded, taken from
// the resolved databank rather than from the host's text.
using DatabankKey = std::pair<std::string, std::string>;
DatabankKey KeyOf(const service::IDatabank& databank);

// Databases with their databanks, in the order of their first appearance in the host's list.
using DatabaseDatabanks = std::vector<std::pair<service::DatabasePtr, service::DatabankCollection>>;

// One entry as the host receives it: the positions of its compounds (-1 for none), its databank and
// its property in the host's lists, and its numbers, which the result holds.
struct PlacedEntry {
    std::array<int, 4> compoundPositions{-1, -1, -1, -1};
    int databankPosition = -1;
    int propertyPosition = -1;
    bool hasRegressionInfo = false;
    service::NumericView numbers;
};

// Host positions by name, asked for every compound of every entry: an open-addressed table hashed
// on a name's length and its first and last eight bytes, which finds the short names of working
// compounds in a few dozen instructions. Views the names it is given.
class PositionsByName {
public:
    explicit PositionsByName(std::size_t count);
    // Keeps the first position added under a name.
    void Add(std::string_view name, int position);
    // -1 for a name not added.
    int Find(std::string_view name) const;

private:
    struct Slot {
        std::string_view name;
        int position = -1; // -1: free
    };
    std::size_t First(std::string_view name) const;

    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
};

class BinaryPropertyValueObjects {
public:
    // The entries, of one form: the service's values (binary values, pair values kept as the
    // service returned them) or pair values expanded into the engine's positions, held flat.
    struct Entries {
        service::BinaryPropertyValueList serviceValues;
        std::vector<service::EnginePairPropertyValueObject> engineValues;
        bool expanded = false; // whether they are engineValues
    };

    BinaryPropertyValueObjects(service::WorkingCompoundMap workingPairArr, service::PropertyPositionMap propArr,
                               std::map<DatabankKey, int> myDbankPosHT, DatabaseDatabanks DBaseDBankHT,
                               Entries allPropValuesFromAllDatabases);
    // Not copied: m_compoundPositions views the keys of m_workingPairArr.
    BinaryPropertyValueObjects(const BinaryPropertyValueObjects&) = delete;
    BinaryPropertyValueObjects& operator=(const BinaryPropertyValueObjects&) = delete;

    std::size_t Count() const
    {
        return m_allPropValuesFromAllDatabases.expanded ? m_allPropValuesFromAllDatabases.engineValues.size()
                                                        : m_allPropValuesFromAllDatabases.serviceValues.size();
    }
    // Whether the cursor has passed the last entry. Both forms of reading share the one cursor.
    bool AtEnd() const { return m_counter >= Count(); }
    // The entry at the cursor, which must not be at the end, in the service values' form or the
    // engine's; nullopt, with the reason noted, when it cannot be delivered in that form.
    std::optional<PlacedEntry> PlaceServiceValue() const;
    std::optional<PlacedEntry> PlaceEnginePairValue() const;
    // Past the entry the host has received.
    void Advance() { ++m_counter; }

private:
    // The position of a value's databank in the host's list: found by the object first, which
    // spares folding its names for every entry. -1 when it is not listed.
    int DatabankPosition(const service::IDatabank& databank) const;
    int FindDatabankPosition(const service::IDatabank& databank) const;
    // The position of a value's property in the host's list, -1 when it is not listed. Values come
    // property by property, so the last one found is asked for again first.
    int PropertyPosition(const service::IProperty& property) const;

    std::size_t m_counter = 0;
    service::WorkingCompoundMap m_workingPairArr;
    service::PropertyPositionMap m_propArr;
    std::map<DatabankKey, int> m_myDbankPosHT;
    // Holds the databanks whose addresses key m_positionsByObject.
    DatabaseDatabanks m_DBaseDBankHT;
    Entries m_allPropValuesFromAllDatabases;
    std::map<const service::IDatabank*, int> m_positionsByObject;
    // The working compounds' positions by hash, over the keys of m_workingPairArr: asked for every
    // compound of every entry.
    PositionsByName m_compoundPositions;
    mutable const service::IProperty* m_lastProperty = nullptr;
    mutable int m_lastPropertyPosition = -1;
    // The last databank and first compound placed, and their positions: values come grouped by both.
    mutable const service::IDatabank* m_lastDatabank = nullptr;
    mutable int m_lastDatabankPosition = -1;
    mutable std::string_view m_lastCompound1; // views a value that the object holds
    mutable int m_lastCompound1Position = -1;
};

// Builds the result; raises for every failure (a repeated property or databank, an entry without a
// full stop, a databank that does not resolve, a service failure, an expansion that meets a name
// outside the host's lists). `condensedFlag` 0 or 2 with interaction type 3 expands pair values
// into engine pair values; 1 and 2 ask the service for condensed values.
std::shared_ptr<BinaryPropertyValueObjects> GetAllBinaryPropertyValueObjects(
    const std::vector<std::string>& workingCompounds, const std::string& compoundIdType,
    const std::vector<std::string>& dbankArr, const std::vector<std::string>& propertyArr, int interactionType,
    int condensedFlag);

} // namespace moru::binary
