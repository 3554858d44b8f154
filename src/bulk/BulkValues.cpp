#include "bulk/BulkValues.h"

#include "bulk/ValueOrder.h"
#include "interop/Numbers.h"
#include "platform/Diagnostics.h"
#include "service/Bulk.h"
#include "service/Errors.h"

#include <algorithm>
#include <array>
#include <climits>
#include <iterator>
#include <string>
#include <utility>

namespace moru::bulk {

using service::InteractionBinary;
using service::InteractionUnary;
using service::IProperty;
using service::PropertyPtr;
using service::ServiceError;

namespace {

enum class Kind { Scalar, Vector, Binary };

// Whether a property's values are scalar, vector or binary values for the engine: numbers (data
// type 1) of one compound with one element (scalar) or more (vector), or numbers of two compounds
// (binary, interaction type 1). Texts, and pair values of up to four compounds, are none of them.
bool IsOfKind(const IProperty& property, Kind kind)
{
    if (property.DataType() != 1) return false;
    switch (kind) {
    case Kind::Scalar: return property.InteractionType() == InteractionUnary && property.ElementCount() == 1;
    case Kind::Vector: return property.InteractionType() == InteractionUnary && property.ElementCount() > 1;
    case Kind::Binary: return property.InteractionType() == InteractionBinary && property.ElementCount() > 0;
    }
    return false;
}

// The listed properties of a kind that a database describes, by the name it spells them with:
// parallel lists of names and positions.
struct WantedProperties {
    std::vector<std::string> names;
    std::vector<int> positions;
};

WantedProperties WantedOf(service::IBulkManager& manager, const BulkTables& tables, Kind kind)
{
    WantedProperties wanted;
    const auto properties = manager.GetAllProperties();
    if (!properties) return wanted;
    for (const PropertyPtr& property : *properties) {
        if (!property || !IsOfKind(*property, kind)) continue;
        const auto listed = tables.propertyTable.find(property->Name());
        if (listed == tables.propertyTable.end()) continue;
        if (std::find(wanted.names.begin(), wanted.names.end(), listed->first) != wanted.names.end()) continue;
        wanted.names.push_back(listed->first);
        wanted.positions.push_back(listed->second);
    }
    return wanted;
}

// Takes a read's rows into the tables of their kinds: a value goes under the key of every position
// that names its compounds (later occurrences of an identifier included). Flat: an entry per key
// and the numbers side by side, nothing allocated per value.
class ValueCollector final : public service::IEngineValueSink {
public:
    ValueCollector(const BulkTables& tables, const GatewayCompounds& found, std::vector<int> runPositions)
        : m_tables(tables), m_runPositions(std::move(runPositions))
    {
        // Compound indices are small integers: each row's positions are found by index, not by a
        // search of the map.
        const int largest = found.compounds.empty() ? -1 : found.compounds.rbegin()->first;
        const std::size_t size = largest < 0 ? 0 : static_cast<std::size_t>(largest) + 1;
        m_positionsOf.assign(size, nullptr);
        m_onlyPositionOf.assign(size, kNowhere);
        for (const auto& [compound, positions] : found.compounds) {
            if (compound < 0 || positions.empty()) continue;
            m_positionsOf[static_cast<std::size_t>(compound)] = &positions;
            const bool once = positions.size() == 1 && !tables.duplicateCompTable.contains(positions.front());
            m_onlyPositionOf[static_cast<std::size_t>(compound)] = once ? positions.front() : kSeveral;
        }
    }

    // The next places of the read's properties: `wanted`, whose values go into `table`.
    void Add(const WantedProperties& wanted, EngineValueTable& table)
    {
        for (int position : wanted.positions) m_places.push_back({&table, position});
    }

    void Take(const service::EngineValueRow& row) override
    {
        if (row.property < 0 || row.property >= static_cast<int>(m_places.size())) return;
        if (row.databank < 0 || row.databank >= static_cast<int>(m_runPositions.size())) return;
        const Place& place = m_places[static_cast<std::size_t>(row.property)];
        EngineValueTable* const table = place.table;
        const int property = place.property;
        const int only1 = OnlyPositionOf(row.compound);
        if (only1 == kNowhere) return;
        const EngineKeys& keys = *table->format;
        const bool binary = keys.Binary();
        int only2 = kNowhere;
        if (binary) {
            only2 = OnlyPositionOf(row.compound2);
            if (only2 == kNowhere) return;
        } else if (row.compound2 >= 0) {
            return;
        }
        EngineValueEntry value = MakeValue(*table, row);
        auto& entries = table->entries;
        // Mostly each compound is listed once: one key.
        if (only1 >= 0 && (!binary || only2 >= 0)) {
            value.key = binary ? keys.Make(only1, only2, property) : keys.Make(only1, property);
            entries.push_back(value);
            return;
        }
        auto add = [&](int key) {
            value.key = key;
            entries.push_back(value);
        };
        const std::vector<int>& positions1 = *m_positionsOf[static_cast<std::size_t>(row.compound)];
        if (!binary) {
            EveryPosition(positions1, [&](int position) { add(keys.Make(position, property)); });
            return;
        }
        const std::vector<int>& positions2 = *m_positionsOf[static_cast<std::size_t>(row.compound2)];
        EveryPosition(positions1, [&](int position1) {
            EveryPosition(positions2, [&](int position2) { add(keys.Make(position1, position2, property)); });
        });
    }

private:
    struct Place {
        EngineValueTable* table;
        int property; // position in the engine's list
    };

    static constexpr int kNowhere = -1; // the compound was not found
    static constexpr int kSeveral = -2; // at more than one position: see m_positionsOf

    // The compound's one position, or kNowhere or kSeveral; one small table, so that a row costs
    // no search and no walk through the found compounds' map.
    int OnlyPositionOf(int compound) const
    {
        if (compound < 0 || static_cast<std::size_t>(compound) >= m_onlyPositionOf.size()) return kNowhere;
        return m_onlyPositionOf[static_cast<std::size_t>(compound)];
    }

    template <class Visit>
    void EveryPosition(const std::vector<int>& firstPositions, Visit&& visit) const
    {
        const bool repeats = !m_tables.duplicateCompTable.empty();
        for (int first : firstPositions) {
            visit(first);
            if (!repeats) continue;
            const auto later = m_tables.duplicateCompTable.find(first);
            if (later == m_tables.duplicateCompTable.end()) continue;
            for (int position : later->second) visit(position);
        }
    }

    // Appends the row's numbers, ascending by label (the first of a repeated label kept).
    EngineValueEntry MakeValue(EngineValueTable& table, const service::EngineValueRow& row) const
    {
        auto& numbers = table.numbers;
        EngineValueEntry value;
        value.databankPosition = m_runPositions[static_cast<std::size_t>(row.databank)];
        value.first = static_cast<std::uint32_t>(numbers.size());
        if (row.labels.empty()) {
            for (std::size_t k = 0; k < row.numbers.size(); ++k) {
                if (row.numbers[k]) numbers.push_back({static_cast<int>(k) + 1, *row.numbers[k]});
            }
        } else {
            for (std::size_t k = 0; k < row.labels.size() && k < row.numbers.size(); ++k) {
                if (row.numbers[k]) numbers.push_back({row.labels[k], *row.numbers[k]});
            }
            const auto begin = numbers.begin() + static_cast<std::ptrdiff_t>(value.first);
            const auto byLabel = [](const LabelledNumber& x, const LabelledNumber& y) { return x.label < y.label; };
            // Stored labels are mostly ascending already: sorted and each once, nothing to do.
            const auto notAbove = [](const LabelledNumber& x, const LabelledNumber& y) { return x.label >= y.label; };
            if (std::adjacent_find(begin, numbers.end(), notAbove) != numbers.end()) {
                std::stable_sort(begin, numbers.end(), byLabel);
                numbers.erase(
                    std::unique(begin, numbers.end(),
                                [](const LabelledNumber& x, const LabelledNumber& y) { return x.label == y.label; }),
                    numbers.end());
            }
        }
        value.count = static_cast<std::uint32_t>(numbers.size() - value.first);
        return value;
    }

    const BulkTables& m_tables;
    std::vector<const std::vector<int>*> m_positionsOf; // by compound index; null when not found
    std::vector<int> m_onlyPositionOf;                  // by compound index
    std::vector<int> m_runPositions;
    std::vector<Place> m_places; // by the read's property place
};

// A new table for values of `kind` under the current lists; null, with the reason noted, when
// none can be fetched.
std::shared_ptr<EngineValueTable> NewTable(const BulkTables& tables, Kind kind)
{
    if (tables.compCount < 0 || tables.consecutiveDbankSlots.empty()) {
        platform::NoteFailure("no bulk lists are loaded");
        return nullptr;
    }
    const int propertyCount = static_cast<int>(tables.propertyTable.size());
    if (propertyCount == 0) {
        platform::NoteFailure("the property list is empty");
        return nullptr;
    }
    const auto format = EngineKeys::For(tables.compCount, propertyCount, kind == Kind::Binary);
    if (!format) {
        platform::NoteFailure("compound count ", tables.compCount, " with ", propertyCount,
                              kind == Kind::Binary ? " properties passes the binary key limit of "
                                                   : " properties passes the key limit of ",
                              INT_MAX);
        return nullptr;
    }
    auto table = std::make_shared<EngineValueTable>();
    table->load = tables.described;
    table->format = format;
    return table;
}

// Where the values of a run of databanks come from: its database, the compounds found in it and
// its bulk retrieval. False, with the reason noted, when the run cannot be read.
struct RunSource {
    service::DatabasePtr database;
    const GatewayCompounds* found = nullptr;
    std::shared_ptr<service::IBulkManager> manager;
};

bool SourceOf(const BulkTables& tables, const std::vector<service::DatabankPtr>& run, RunSource& source)
{
    if (run.empty()) {
        platform::NoteFailure("the source databank list is empty");
        return false;
    }
    source.database = run.front()->Database();
    if (!source.database) {
        platform::NoteFailure("databank ", run.front()->Name(), " belongs to no database");
        return false;
    }
    source.found = nullptr;
    for (const auto& entry : tables.gatewayCompTable) {
        if (entry.database == source.database) source.found = &entry;
    }
    if (!source.found) {
        platform::NoteFailure("the compounds of database ", source.database->Alias(), " were not looked up");
        return false;
    }
    source.manager = source.database->BulkManager();
    if (!source.manager) throw ServiceError("the database offers no bulk retrieval");
    return true;
}

std::vector<int> CompoundsOf(const GatewayCompounds& found)
{
    std::vector<int> compounds;
    compounds.reserve(found.compounds.size());
    for (const auto& entry : found.compounds) compounds.push_back(entry.first);
    return compounds;
}

std::vector<int> PositionsOf(const BulkTables& tables, const std::vector<service::DatabankPtr>& run)
{
    std::vector<int> positions;
    positions.reserve(run.size());
    for (const auto& databank : run) positions.push_back(databank ? tables.DatabankPosition(*databank) : -1);
    return positions;
}

void ReadKind(service::IBulkManager& manager, Kind kind, const service::EngineValueQuery& query,
              service::IEngineValueSink& sink)
{
    if (kind == Kind::Scalar) manager.OptimizedGetAllScalarPropertyValues(query, sink);
    else if (kind == Kind::Vector) manager.OptimizedGetAllVectorPropertyValues(query, sink);
    else manager.OptimizedGetAllBinaryPropertyValues(query, sink);
}

void Finish(EngineValueTable& table) { KeepEarliestOfEachKey(table.entries); }

// Fetches the values of one kind, one service call per run of databanks.
std::shared_ptr<EngineValueTable> FetchKind(BulkTables& tables, Kind kind)
{
    auto table = NewTable(tables, kind);
    if (!table) return nullptr;
    for (const auto& run : tables.consecutiveDbankSlots) {
        RunSource source;
        if (!SourceOf(tables, run, source)) return nullptr;
        const WantedProperties wanted = WantedOf(*source.manager, tables, kind);
        const std::vector<int> compounds = CompoundsOf(*source.found);
        ValueCollector collector(tables, *source.found, PositionsOf(tables, run));
        collector.Add(wanted, *table);
        ReadKind(*source.manager, kind, {wanted.names, compounds, run}, collector);
    }
    Finish(*table);
    return table;
}

using KindTables = std::array<std::shared_ptr<EngineValueTable>, 3>;

enum class Together { Read, KindByKind, Failed };

// Reads the values of every kind with one service call per database, when every database's
// backend reads them together: a table per kind (null for a kind whose keys would not fit).
// KindByKind, having read nothing, when some backend reads kind by kind; Failed when a run cannot
// be read (the reason noted).
Together FetchEveryKind(BulkTables& tables, KindTables& read)
{
    constexpr Kind kinds[] = {Kind::Scalar, Kind::Vector, Kind::Binary};
    // The databanks of each database across its runs, in list order: one read whatever runs they
    // form, since a value's place among its key's values depends on its databank's position only.
    std::vector<std::pair<RunSource, std::vector<service::DatabankPtr>>> databases;
    for (const auto& run : tables.consecutiveDbankSlots) {
        RunSource source;
        if (!SourceOf(tables, run, source)) return Together::Failed;
        if (!source.manager->ReadsAllKindsTogether()) return Together::KindByKind;
        auto same = std::find_if(databases.begin(), databases.end(),
                                 [&](const auto& entry) { return entry.first.database == source.database; });
        if (same == databases.end()) same = databases.insert(databases.end(), {source, {}});
        same->second.insert(same->second.end(), run.begin(), run.end());
    }
    for (const Kind kind : kinds) {
        if (EngineKeys::For(tables.compCount, static_cast<int>(tables.propertyTable.size()), kind == Kind::Binary))
            read[static_cast<std::size_t>(kind)] = NewTable(tables, kind);
    }
    for (const auto& [source, databanks] : databases) {
        const std::vector<int> compounds = CompoundsOf(*source.found);
        const std::vector<int> positions = PositionsOf(tables, databanks);
        std::array<WantedProperties, 3> wanted;
        ValueCollector collector(tables, *source.found, positions);
        std::vector<std::string> names;
        for (const Kind kind : kinds) {
            const auto k = static_cast<std::size_t>(kind);
            if (!read[k]) continue;
            wanted[k] = WantedOf(*source.manager, tables, kind);
            collector.Add(wanted[k], *read[k]);
            names.insert(names.end(), wanted[k].names.begin(), wanted[k].names.end());
        }
        source.manager->OptimizedGetAllKindsOfPropertyValues({names, compounds, databanks}, collector);
    }
    for (const auto& table : read) {
        if (table) Finish(*table);
    }
    return Together::Read;
}

std::shared_ptr<EngineValueTable> FetchAll(Kind kind)
{
    BulkTables& tables = Tables();
    auto& ahead = tables.valuesAhead[static_cast<std::size_t>(kind)];
    if (ahead) return std::exchange(ahead, nullptr);
    // The first fetch of a load reads every kind where the backend can, which costs less than a
    // read per kind; a later fetch (of a kind already handed out, or when that failed) reads its
    // kind alone.
    if (!tables.valuesReadTogether) {
        if (!NewTable(tables, kind)) return nullptr;
        KindTables read;
        const Together together = FetchEveryKind(tables, read);
        if (together == Together::Failed) return nullptr;
        if (together == Together::Read) {
            tables.valuesReadTogether = true;
            tables.valuesAhead = read;
            return std::exchange(ahead, nullptr);
        }
    }
    return FetchKind(tables, kind);
}

// Whether `table` holds values of the kind a read wants, and `position` can be one of them.
bool Readable(const EngineValueTable& table, int position, bool binary)
{
    if (!table.format) return false;
    if (table.format->Binary() != binary) {
        platform::NoteFailure(binary ? "the handle holds unary values, not binary values"
                                     : "the handle holds binary values, not unary values");
        return false;
    }
    if (position < 0) {
        platform::NoteFailure("position ", position, " is negative");
        return false;
    }
    return true;
}

// The value at a position and its decoded positions.
const EngineValueEntry& ValueAt(const EngineValueTable& table, int position, EnginePositions& positions)
{
    const EngineValueEntry& entry = table.entries[static_cast<std::size_t>(position)];
    positions = table.format->Decode(entry.key);
    return entry;
}

std::span<const LabelledNumber> NumbersOf(const EngineValueTable& table, const EngineValueEntry& entry)
{
    return std::span<const LabelledNumber>(table.numbers).subspan(entry.first, entry.count);
}

// The layout of the property at `propertyPosition`, from the property descriptions of the
// table's load; null when there is none. It lives as long as the table's layouts.
const BinaryLayout* LayoutOf(EngineValueTable& table, int propertyPosition)
{
    const GatewayPropertyTable* described = table.load ? table.load->properties.get() : nullptr;
    if (table.describedBy.get() != described) {
        table.layouts.clear();
        table.describedBy = table.load ? table.load->properties : nullptr;
    }
    if (propertyPosition < 0) return nullptr;
    const auto index = static_cast<std::size_t>(propertyPosition);
    if (index < table.layouts.size() && table.layouts[index]) return table.layouts[index].get();
    const PropertyPtr property = table.DescribedProperty(propertyPosition);
    if (!property) return nullptr;
    auto layout = std::make_shared<BinaryLayout>();
    layout->elementCount = std::max(property->ElementCount(), 0);
    layout->labelIJ = property->LabelIJArray();
    layout->labelJI = property->LabelJIArray();
    if (property->InteractionType() == InteractionUnary) {
        layout->symmetry.assign(static_cast<std::size_t>(layout->elementCount), -1);
    } else {
        layout->symmetry = property->SymmetryList();
    }
    for (int k = 0; k < layout->elementCount; ++k) {
        const auto element = static_cast<std::size_t>(k);
        if (element < layout->labelIJ.size()) layout->slots.emplace_back(layout->labelIJ[element], 2 * k);
        if (element < layout->labelJI.size()) layout->slots.emplace_back(layout->labelJI[element], 2 * k + 1);
    }
    std::stable_sort(layout->slots.begin(), layout->slots.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    if (index >= table.layouts.size()) table.layouts.resize(index + 1);
    table.layouts[index] = layout;
    return layout.get();
}

// One element of a binary value: its two halves as stored (null when absent) and its code.
struct Element {
    const double* ij;
    const double* ji;
    int code;
};

// Finds every element's halves in one pass over the stored numbers, which are ascending by label
// and each label once, beside the layout's slots, ascending too.
void FindElements(const BinaryLayout& layout, std::span<const LabelledNumber> stored, Element* elements)
{
    for (int k = 0; k < layout.elementCount; ++k) {
        const auto index = static_cast<std::size_t>(k);
        elements[k] = {nullptr, nullptr, index < layout.symmetry.size() ? layout.symmetry[index] : -1};
    }
    auto slot = layout.slots.begin();
    const auto end = layout.slots.end();
    for (const LabelledNumber& number : stored) {
        while (slot != end && slot->first < number.label) ++slot;
        if (slot == end) break;
        for (auto same = slot; same != end && same->first == number.label; ++same) {
            Element& element = elements[same->second / 2];
            (same->second % 2 == 0 ? element.ij : element.ji) = &number.number;
        }
    }
}

// Writes a binary value as IJ/JI pairs, element by element, and returns how many doubles it wrote
// (at most two per element). Sets `exchanged` when the condensed form gives the value for the
// compounds in reverse order.
//
// An element of code 1 holds one number, stored for one compound order. The full form puts it in
// the half of that order and the marker in the other; a code-2 element beside it then keeps only
// the half of the order of the last code-1 element. The condensed form decides the order once
// for the whole value (IJ when any code-1 element has its IJ half) and lays every element out for
// that order, so an element absent in it is the marker and never makes the read fail.
int LayOutBinaryValue(const BinaryLayout& layout, std::span<const LabelledNumber> stored, bool condensed,
                      bool& exchanged, double* out)
{
    const double marker = interop::kMissingNumber;
    // Each element found once: on the stack for the usual few.
    constexpr int kOnStack = 16;
    std::array<Element, kOnStack> onStack;
    std::vector<Element> onHeap;
    Element* elements = onStack.data();
    if (layout.elementCount > kOnStack) {
        onHeap.resize(static_cast<std::size_t>(layout.elementCount));
        elements = onHeap.data();
    }
    FindElements(layout, stored, elements);
    bool anyCode1 = false, lastIJ = false, anyCode1IJ = false, anyCode1JI = false;
    for (int k = 0; k < layout.elementCount; ++k) {
        const Element& e = elements[k];
        if (e.code != 1) continue;
        anyCode1 = true;
        lastIJ = e.ij != nullptr;
        anyCode1IJ = anyCode1IJ || e.ij;
        anyCode1JI = anyCode1JI || e.ji;
    }
    exchanged = condensed && !anyCode1IJ && anyCode1JI;

    int size = 0;
    auto put = [&](const double* number) { out[size++] = number ? *number : marker; };
    for (int k = 0; k < layout.elementCount; ++k) {
        Element e = elements[k];
        if (exchanged) std::swap(e.ij, e.ji);
        switch (e.code) {
        case -1: put(e.ij); break;
        case 0:
            put(e.ij);
            put(e.ji);
            break;
        case 1:
            if (condensed) {
                put(e.ij);
            } else if (e.ij) {
                put(e.ij);
                put(nullptr);
            } else {
                put(nullptr);
                put(e.ji);
            }
            break;
        case 2: {
            const double* same = e.ij ? e.ij : e.ji;
            if (condensed) {
                put(same);
            } else {
                put(anyCode1 && !lastIJ ? nullptr : same);
                put(anyCode1 && lastIJ ? nullptr : same);
            }
            break;
        }
        case 3:
            if (e.ij) {
                out[size++] = *e.ij;
                out[size++] = -*e.ij;
            } else if (e.ji) {
                out[size++] = -*e.ji;
                out[size++] = *e.ji;
            } else {
                put(nullptr);
                put(nullptr);
            }
            break;
        default: // an unknown code has no place in either form
            break;
        }
    }
    return size;
}

} // namespace

PropertyPtr EngineValueTable::DescribedProperty(int propertyPosition) const
{
    if (!load || !load->properties) return nullptr;
    const auto& properties = load->properties->properties;
    const auto property = properties.find(propertyPosition);
    return property == properties.end() ? nullptr : property->second;
}

std::shared_ptr<EngineValueTable> GetAllScalarPropertyValues() { return FetchAll(Kind::Scalar); }
std::shared_ptr<EngineValueTable> GetAllVectorPropertyValues() { return FetchAll(Kind::Vector); }
std::shared_ptr<EngineValueTable> GetAllBinaryPropertyValues() { return FetchAll(Kind::Binary); }

int GetNextScalarPropertyValue(EngineValueTable& table, int position, int& databankPosition, int& compoundPosition,
                               int& propertyPosition, double& value)
{
    if (!Readable(table, position, false)) return 0;
    if (position >= static_cast<int>(table.entries.size())) return -1;
    EnginePositions positions;
    const EngineValueEntry& stored = ValueAt(table, position, positions);
    compoundPosition = positions.compound;
    propertyPosition = positions.property;
    if (stored.count == 0) {
        platform::NoteFailure("the value at position ", position, " has no number");
        return 0;
    }
    databankPosition = stored.databankPosition;
    value = NumbersOf(table, stored).front().number;
    return 1;
}

int GetNextVectorPropertyValue(EngineValueTable& table, int position, int& databankPosition, int& compoundPosition,
                               int& propertyPosition, std::span<const double>& numbers)
{
    if (!Readable(table, position, false)) return 0;
    if (position >= static_cast<int>(table.entries.size())) return -1;
    EnginePositions positions;
    const EngineValueEntry& stored = ValueAt(table, position, positions);
    compoundPosition = positions.compound;
    propertyPosition = positions.property;
    const PropertyPtr property = table.DescribedProperty(propertyPosition);
    if (!property) {
        platform::NoteFailure("property position ", propertyPosition,
                              " was not described by Optimized_GetAllProperties");
        return 0;
    }
    databankPosition = stored.databankPosition;
    const int elementCount = std::max(property->ElementCount(), 0);
    // Element k, stored under label k + 1, always lands at index k: an absent element arrives as
    // the marker in its place, so it never shifts the elements after it, whatever size the caller
    // expected.
    table.readNumbers.assign(static_cast<std::size_t>(elementCount), interop::kMissingNumber);
    for (const auto& [label, number] : NumbersOf(table, stored)) {
        if (label >= 1 && label <= elementCount) table.readNumbers[static_cast<std::size_t>(label - 1)] = number;
    }
    numbers = table.readNumbers;
    return 1;
}

int GetNextBinaryPropertyValue(EngineValueTable& table, int position, int& databankPosition, int& compound1Position,
                               int& compound2Position, int& propertyPosition, bool condensed,
                               std::span<const double>& numbers)
{
    if (!Readable(table, position, true)) return 0;
    if (position >= static_cast<int>(table.entries.size())) return -1;
    EnginePositions positions;
    const EngineValueEntry& stored = ValueAt(table, position, positions);
    const BinaryLayout* layout = LayoutOf(table, positions.property);
    if (!layout) {
        platform::NoteFailure("property position ", positions.property,
                              " was not described by Optimized_GetAllProperties");
        return 0;
    }
    compound1Position = positions.compound;
    compound2Position = positions.compound2;
    propertyPosition = positions.property;
    databankPosition = stored.databankPosition;
    bool exchanged = false;
    table.readNumbers.resize(2 * static_cast<std::size_t>(layout->elementCount));
    const int size =
        LayOutBinaryValue(*layout, NumbersOf(table, stored), condensed, exchanged, table.readNumbers.data());
    numbers = std::span<const double>(table.readNumbers.data(), static_cast<std::size_t>(size));
    if (exchanged) std::swap(compound1Position, compound2Position);
    return 1;
}

} // namespace moru::bulk
