#include "bulk/BulkValues.h"

#include "bulk/BulkLists.h"
#include "interop/Handles.h"
#include "interop/Numbers.h"
#include "service/Errors.h"

#include <climits>
#include <iterator>

namespace moru::bulk {

namespace {

enum class Kind { Scalar, Vector };

int FetchAll(Kind kind, int& handle)
{
    handle = 0;
    BulkTables& tables = Tables();
    if (tables.compCount < 0 || tables.consecutiveDbankSlots.empty()) return 0;
    const int propertyCount = static_cast<int>(tables.propertyTable.size());
    if (propertyCount == 0) return 0;
    // Keys are compound position times property count plus property position.
    if (static_cast<long long>(tables.compCount) * propertyCount > INT_MAX) return 0;

    auto table = std::make_shared<EngineValueTable>();
    table->propertyCount = propertyCount;
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
        else manager->OptimizedGetAllVectorPropertyValues(fetch, table->values);
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

} // namespace

int GetAllScalarPropertyValues(int& handle) { return FetchAll(Kind::Scalar, handle); }
int GetAllVectorPropertyValues(int& handle) { return FetchAll(Kind::Vector, handle); }

int GetNextScalarPropertyValue(int handle, int position, int& databankPosition, int& compoundPosition,
                               int& propertyPosition, double& value)
{
    if (handle == 0 || position < 0) return 0;
    auto table = interop::GetObjectFromHandle<EngineValueTable>(handle);
    if (!table || table->propertyCount <= 0) return 0;
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
    if (!table || table->propertyCount <= 0) return 0;
    if (position >= static_cast<int>(table->keys.size())) return -1;
    const auto stored = ValueAt(*table, position, compoundPosition, propertyPosition);
    if (!stored) return 0;
    databankPosition = stored->DatabankPosition;
    const auto& properties = Tables().gatewayPropTable->properties;
    const auto property = properties.find(propertyPosition);
    if (property == properties.end() || !property->second) return 0;
    const int elementCount = property->second->ElementCount();
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

} // namespace moru::bulk
