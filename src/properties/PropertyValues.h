#pragma once

// Property value objects: one or all unary values of a compound, held behind handles and read by
// the host field by field.

#include "service/Database.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::properties {

// A forward-only walk over the unary values of one compound; it keeps its collection alive by itself.
class PropertyValueCollectionEnumerator {
public:
    explicit PropertyValueCollectionEnumerator(std::vector<service::PropertyValuePtr> values)
        : m_values(std::move(values))
    {}
    bool MoveNext();
    // The current value; null before the first MoveNext and after the end (and for a null entry).
    service::PropertyValuePtr Current() const;

private:
    std::vector<service::PropertyValuePtr> m_values;
    std::ptrdiff_t m_position = -1;
};

// The property value manager of a databank's database; raises when the database offers none.
std::shared_ptr<service::IPropertyValueManager> PropertyValueManagerOf(const service::IDatabank& databank);

// The service's value of the compound's property, null when it has none; nullopt for a databank
// that does not resolve, when the service was not asked.
std::optional<service::PropertyValuePtr> GetCompoundProperty(std::string_view databaseName,
                                                             std::string_view databankName,
                                                             const std::string& compoundId,
                                                             const std::string& compoundIdType,
                                                             const std::string& propertyId);

// An enumerator standing before the first value; null when the databank does not resolve or the
// service has no collection. The compound becomes the compound manager's working set.
std::shared_ptr<PropertyValueCollectionEnumerator> GetAllCompoundProperties(std::string_view databaseName,
                                                                            std::string_view databankName,
                                                                            const std::string& compoundId,
                                                                            const std::string& compoundIdType);

// The value readers. Each fails (nullopt) for a value without a property and for a value of another
// shape than it reads; the arrays they give never hold more entries than NumberOfElements reports.

// The elements of an array value, or 0 for type -1, whose value is not read at all.
int NumberOfElements(const service::PropertyValue& value);
std::optional<int> Type(const service::PropertyValue& value);
// The property's name; nullopt also for an empty one.
std::optional<std::string> PropertyId(const service::PropertyValue& value);
std::optional<std::string> ValueText(const service::PropertyValue& value);

// The constant of an array value: its first element, absent when not stored. An array without a
// first number (no elements, or a list of texts) gives an absent number and is not read.
struct Constant {
    std::optional<double> number;
    bool read = false;
};
// nullopt for a value that is no array.
std::optional<Constant> ValueConstant(const service::PropertyValue& value);

std::optional<service::NumericElements> ValueVector(const service::PropertyValue& value);
std::optional<service::TextList> ValueTextList(const service::PropertyValue& value);
// The property's unit rows; raises for more rows than hosts can read.
std::optional<std::vector<service::UnitRow>> UnitsOfMeasure(const service::PropertyValue& value);

} // namespace moru::properties
