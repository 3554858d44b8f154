#include "bulk/BulkValues.h"

#include "interop/Handles.h"
#include "interop/Numbers.h"
#include "service/Errors.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <utility>

namespace moru::bulk {

namespace {

enum class Kind { Scalar, Vector, Binary };

int FetchAll(Kind kind, int& handle)
{
    handle = 0;
    BulkTables& tables = Tables();
    if (tables.compCount < 0 || tables.consecutiveDbankSlots.empty()) return 0;
    const int propertyCount = static_cast<int>(tables.propertyTable.size());
    if (propertyCount == 0) return 0;
    // Keys are compound position times property count plus property position; binary keys take
    // the pair of compound positions, compound 1 times the compound count plus compound 2. Keys
    // that would not fit are refused rather than handed out wrapped.
    long long keyRange = static_cast<long long>(tables.compCount) * propertyCount;
    if (kind == Kind::Binary) keyRange *= tables.compCount;
    if (keyRange > INT_MAX) return 0;

    auto table = std::make_shared<EngineValueTable>();
    table->load = tables.described;
    table->propertyCount = propertyCount;
    if (kind == Kind::Binary) table->compoundCount = tables.compCount;
    for (const auto& run : tables.consecutiveDbankSlots) {
        if (run.empty()) return 0;
        const DatabasePtr database = run.front()->Database();
        if (!database) return 0;
        const GatewayCompounds* found = nullptr;
        for (const auto& entry : tables.gatewayCompTable) {
            if (entry.database == database) found = &entry;
        }
        if (!found) return 0; // the compounds were not looked up
        auto manager = database->BulkManager();
        if (!manager) throw ServiceError("the database offers no bulk retrieval");
        const EngineFetch fetch{found->compounds, tables.duplicateCompTable, tables.propertyTable, tables.dbankTable,
                                run};
        if (kind == Kind::Scalar) manager->OptimizedGetAllScalarPropertyValues(fetch, table->values);
        else if (kind == Kind::Vector) manager->OptimizedGetAllVectorPropertyValues(fetch, table->values);
        else manager->OptimizedGetAllBinaryPropertyValues(tables.compCount, fetch, table->values);
    }
    table->keys.reserve(table->values.size());
    for (const auto& entry : table->values) table->keys.push_back(entry.first);
    handle = interop::GetHandleFromObject(table);
    return static_cast<int>(table->keys.size());
}

// The value at a position and its decoded positions; null when there is none.
EnginePropertyValuePtr ValueAt(const EngineValueTable& table, int position, int& compoundPosition,
                               int& propertyPosition)
{
    const int key = table.keys[static_cast<std::size_t>(position)];
    compoundPosition = key / table.propertyCount;
    propertyPosition = key % table.propertyCount;
    const auto found = table.values.find(key);
    return found == table.values.end() ? nullptr : found->second;
}

// The layout of the property at `propertyPosition`, from the property descriptions of the
// table's load; null when there is none.
std::shared_ptr<const BinaryLayout> LayoutOf(EngineValueTable& table, int propertyPosition)
{
    const auto described = table.load ? table.load->properties : nullptr;
    if (table.describedBy != described) {
        table.layouts.clear();
        table.describedBy = described;
    }
    const auto cached = table.layouts.find(propertyPosition);
    if (cached != table.layouts.end()) return cached->second;
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
    table.layouts.emplace(propertyPosition, layout);
    return layout;
}

// One element of a binary value: its two halves as stored (null when absent) and its code.
struct Element {
    const double* ij = nullptr;
    const double* ji = nullptr;
    int code = -1;
};

Element ElementAt(const BinaryLayout& layout, const std::map<int, double>& stored, int k)
{
    const auto index = static_cast<std::size_t>(k);
    auto half = [&](const std::vector<int>& labels) -> const double* {
        if (index >= labels.size()) return nullptr;
        const auto found = stored.find(labels[index]);
        return found == stored.end() ? nullptr : &found->second;
    };
    return {half(layout.labelIJ), half(layout.labelJI), index < layout.symmetry.size() ? layout.symmetry[index] : -1};
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
int LayOutBinaryValue(const BinaryLayout& layout, const std::map<int, double>& stored, bool condensed,
                      bool& exchanged, double* out)
{
    const double marker = interop::kMissingNumber;
    bool anyCode1 = false, lastIJ = false, anyCode1IJ = false, anyCode1JI = false;
    for (int k = 0; k < layout.elementCount; ++k) {
        const Element e = ElementAt(layout, stored, k);
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
        Element e = ElementAt(layout, stored, k);
        if (exchanged) std::swap(e.ij, e.ji);
        switch (e.code) {
        case -1:
            put(e.ij);
            break;
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

int GetAllScalarPropertyValues(int& handle) { return FetchAll(Kind::Scalar, handle); }
int GetAllVectorPropertyValues(int& handle) { return FetchAll(Kind::Vector, handle); }
int GetAllBinaryPropertyValues(int& handle) { return FetchAll(Kind::Binary, handle); }

int GetNextScalarPropertyValue(int handle, int position, int& databankPosition, int& compoundPosition,
                               int& propertyPosition, double& value)
{
    if (handle == 0 || position < 0) return 0;
    auto table = interop::GetObjectFromHandle<EngineValueTable>(handle);
    if (!table || table->propertyCount <= 0 || table->compoundCount >= 0) return 0;
    if (position >= static_cast<int>(table->keys.size())) return -1;
    const auto stored = ValueAt(*table, position, compoundPosition, propertyPosition);
    if (!stored || stored->Values.empty()) return 0;
    databankPosition = stored->DatabankPosition;
    value = stored->Values.begin()->second;
    return 1;
}

int GetNextVectorPropertyValue(int handle, int position, int& valueSize, int& databankPosition,
                               int& compoundPosition, int& propertyPosition, double* value)
{
    if (handle == 0 || position < 0) return 0;
    auto table = interop::GetObjectFromHandle<EngineValueTable>(handle);
    if (!table || table->propertyCount <= 0 || table->compoundCount >= 0) return 0;
    if (position >= static_cast<int>(table->keys.size())) return -1;
    const auto stored = ValueAt(*table, position, compoundPosition, propertyPosition);
    if (!stored) return 0;
    const PropertyPtr property = table->DescribedProperty(propertyPosition);
    if (!property) return 0;
    databankPosition = stored->DatabankPosition;
    const int elementCount = property->ElementCount();
    // Element k, stored under label k + 1, always lands at index k: an absent element arrives as
    // the marker in its place, so it never shifts the elements after it, whatever size the caller
    // expected.
    for (int k = 0; k < elementCount; ++k) {
        const auto element = stored->Values.find(k + 1);
        value[k] = element != stored->Values.end() ? element->second : interop::kMissingNumber;
    }
    valueSize = elementCount;
    return 1;
}

int GetNextBinaryPropertyValue(int handle, int position, int& valueSize, int& databankPosition,
                               int& compound1Position, int& compound2Position, int& propertyPosition, double* value,
                               bool condensed)
{
    if (handle == 0 || position < 0) return 0;
    auto table = interop::GetObjectFromHandle<EngineValueTable>(handle);
    if (!table || table->propertyCount <= 0 || table->compoundCount <= 0) return 0;
    if (position >= static_cast<int>(table->keys.size())) return -1;
    const int key = table->keys[static_cast<std::size_t>(position)];
    const auto stored = table->values.find(key);
    if (stored == table->values.end() || !stored->second) return 0;
    const auto layout = LayoutOf(*table, key % table->propertyCount);
    if (!layout) return 0;
    compound1Position = key / (table->propertyCount * table->compoundCount);
    compound2Position = (key / table->propertyCount) % table->compoundCount;
    propertyPosition = key % table->propertyCount;
    databankPosition = stored->second->DatabankPosition;
    bool exchanged = false;
    valueSize = LayOutBinaryValue(*layout, stored->second->Values, condensed, exchanged, value);
    if (exchanged) std::swap(compound1Position, compound2Position);
    return 1;
}

} // namespace moru::bulk
