#pragma once

// Property value objects: one or all unary values of a compound, held behind handles and read by
// the host field by field.

#include "service/Database.h"

#include "MoruIntegration.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace moru::properties {

using namespace moru::service;

// A forward-only walk over the unary values of one compound; it keeps its collection alive by itself.
class PropertyValueCollectionEnumerator {
public:
    explicit PropertyValueCollectionEnumerator(std::vector<PropertyValuePtr> values) : m_values(std::move(values)) {}
    bool MoveNext();
    // The current value; null before the first MoveNext and after the end (and for a null entry).
    PropertyValuePtr Current() const;

private:
    std::vector<PropertyValuePtr> m_values;
    std::ptrdiff_t m_position = -1;
};

// The property value manager of a databank's database; raises when the database offers none.
std::shared_ptr<IPropertyValueManager> PropertyValueManagerOf(const IDatabank& databank);

// 1 once the service was asked, with `objectHandle` 0 when it had no value; 0 for a databank that
// does not resolve.
int GetCompoundProperty(std::string_view databaseName, std::string_view databankName, const std::string& compoundId,
                        const std::string& compoundIdType, const std::string& propertyId, int& objectHandle);

// 1 with `enumeratorHandle` standing before the first value; 0 when the databank does not resolve
// or the service has no collection. The compound becomes the compound manager's working set.
int GetAllCompoundProperties(std::string_view databaseName, std::string_view databankName,
                             const std::string& compoundId, const std::string& compoundIdType, int& enumeratorHandle);

int MoveNext(int enumeratorHandle);
// A new value handle for the current element; 0 (with `objectHandle` untouched) when there is none.
int GetItem(int enumeratorHandle, int& objectHandle);

// The value readers. Each fails (0) for a handle that holds no value and for a value of another
// shape than it reads; they never write more entries than NumberOfElements reports.
int NumberOfElements(int objectHandle);
int Type(int objectHandle, int& type);
int PropertyId(int objectHandle, char* property, int bufSize);
int ValueText(int objectHandle, char* value, int valueBufSize);
int ValueConstant(int objectHandle, double& value);
int ValueVector(int objectHandle, double* values);
int ValueTextList(int objectHandle, char* const* values, int valueBufSize);
int UnitsOfMeasure(int objectHandle, char* const* unitRowNames, char* const* defaultUnitsOfMeasure, int bufSize);

} // namespace moru::properties
