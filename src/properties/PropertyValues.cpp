#include "properties/PropertyValues.h"

#include "interop/Handles.h"
#include "interop/HostText.h"
#include "interop/Numbers.h"
#include "service/HostLimits.h"
#include "session/Resolution.h"

#include <stdexcept>

namespace moru::properties {

namespace {

PropertyValuePtr ValueOf(int objectHandle) { return interop::GetObjectFromHandle<PropertyValue>(objectHandle); }

// A value that can be read: held by the handle and knowing its property.
PropertyValuePtr ReadableValue(int objectHandle)
{
    auto value = ValueOf(objectHandle);
    if (!value || !value->Property) return nullptr;
    return value;
}

// The elements of an array value, or 0 for type -1, whose value is not read at all.
std::size_t ElementCount(const PropertyValue& value)
{
    if (value.Property->DataType() == -1) return 0;
    if (const auto* numbers = std::get_if<NumericElements>(&value.Data)) return numbers->size();
    if (const auto* texts = std::get_if<TextList>(&value.Data)) return texts->size();
    return 0;
}

// Whether every one of the first `count` host buffers is there, so that nothing is written for a
// list that would fail part way.
bool AllPresent(char* const* buffers, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (!buffers[i]) return false;
    }
    return true;
}

} // namespace

bool PropertyValueCollectionEnumerator::MoveNext()
{
    const auto count = static_cast<std::ptrdiff_t>(m_values.size());
    if (m_position < count) ++m_position;
    return m_position < count;
}

PropertyValuePtr PropertyValueCollectionEnumerator::Current() const
{
    if (m_position < 0 || m_position >= static_cast<std::ptrdiff_t>(m_values.size())) return nullptr;
    return m_values[static_cast<std::size_t>(m_position)];
}

std::shared_ptr<IPropertyValueManager> PropertyValueManagerOf(const IDatabank& databank)
{
    const DatabasePtr database = databank.Database();
    auto manager = database ? database->PropertyValueManager() : nullptr;
    if (!manager) throw std::runtime_error("the database offers no property values");
    return manager;
}

int GetCompoundProperty(std::string_view databaseName, std::string_view databankName, const std::string& compoundId,
                        const std::string& compoundIdType, const std::string& propertyId, int& objectHandle)
{
    const DatabankPtr databank = session::GetIDatabankFromDbaseDbank(databaseName, databankName);
    if (!databank) return 0;
    auto value = PropertyValueManagerOf(*databank)->GetUnaryPropertyValue(*databank, compoundId, compoundIdType, propertyId);
    objectHandle = interop::GetHandleFromObject(std::move(value));
    return 1;
}

int GetAllCompoundProperties(std::string_view databaseName, std::string_view databankName,
                             const std::string& compoundId, const std::string& compoundIdType, int& enumeratorHandle)
{
    const DatabankPtr databank = session::GetIDatabankFromDbaseDbank(databaseName, databankName);
    if (!databank) return 0;
    const DatabasePtr database = databank->Database();
    const auto compoundManager = database ? database->CompoundManager() : nullptr;
    if (!compoundManager) return 0;
    // The service may know no such identifier type: then no compound is found, and the working
    // set holds one null entry.
    const IdentifierPtr identifier = compoundManager->GetIdentifier(compoundIdType);
    const CompoundPtr compound = identifier ? compoundManager->GetCompound(compoundId, *identifier) : nullptr;
    compoundManager->SetWorkingCompounds({compound});

    auto values = PropertyValueManagerOf(*databank)->GetAllUnaryPropertyValues(*databank, compoundId, compoundIdType);
    if (!values) return 0;
    enumeratorHandle = interop::GetHandleFromObject(std::make_shared<PropertyValueCollectionEnumerator>(std::move(*values)));
    return 1;
}

int MoveNext(int enumeratorHandle)
{
    return interop::EnumeratorMoveNext<PropertyValueCollectionEnumerator>(enumeratorHandle);
}

int GetItem(int enumeratorHandle, int& objectHandle)
{
    const auto enumerator = interop::GetObjectFromHandle<PropertyValueCollectionEnumerator>(enumeratorHandle);
    if (!enumerator) return 0;
    auto current = enumerator->Current();
    if (!current) return 0;
    objectHandle = interop::GetHandleFromObject(std::move(current));
    return 1;
}

int NumberOfElements(int objectHandle)
{
    const auto value = ReadableValue(objectHandle);
    return value ? static_cast<int>(ElementCount(*value)) : 0;
}

int Type(int objectHandle, int& type)
{
    const auto value = ReadableValue(objectHandle);
    if (!value) return 0;
    type = value->Property->DataType();
    return 1;
}

int PropertyId(int objectHandle, char* property, int bufSize)
{
    const auto value = ReadableValue(objectHandle);
    if (!value) return 0;
    const std::string name = value->Property->Name();
    if (name.empty()) return 0;
    return interop::CopySizedClosingLastByte(name, property, bufSize) ? 1 : 0;
}

int ValueText(int objectHandle, char* text, int valueBufSize)
{
    const auto value = ReadableValue(objectHandle);
    if (!value) return 0;
    const auto* stored = std::get_if<std::string>(&value->Data);
    if (!stored) return 0;
    return interop::CopySizedClosingLastByte(*stored, text, valueBufSize) ? 1 : 0;
}

int ValueConstant(int objectHandle, double& number)
{
    const auto value = ReadableValue(objectHandle);
    if (!value) return 0;
    const bool isArray = std::holds_alternative<NumericElements>(value->Data) || std::holds_alternative<TextList>(value->Data);
    if (!isArray) return 0;
    number = interop::kMissingNumber;
    // A list of texts is an array whose first element is no number.
    const auto* numbers = std::get_if<NumericElements>(&value->Data);
    if (!numbers || numbers->empty()) return 0;
    if (numbers->front()) number = *numbers->front();
    return 1;
}

int ValueVector(int objectHandle, double* values)
{
    const auto value = ReadableValue(objectHandle);
    if (!value) return 0;
    const auto* numbers = std::get_if<NumericElements>(&value->Data);
    if (!numbers) return 0;
    const std::size_t count = ElementCount(*value);
    for (std::size_t i = 0; i < count; ++i) values[i] = (*numbers)[i].value_or(interop::kMissingNumber);
    return 1;
}

int ValueTextList(int objectHandle, char* const* values, int valueBufSize)
{
    const auto value = ReadableValue(objectHandle);
    if (!value) return 0;
    const auto* texts = std::get_if<TextList>(&value->Data);
    if (!texts) return 0;
    const std::size_t count = ElementCount(*value);
    if (!AllPresent(values, count)) return 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!interop::CopySizedClosingLastByte((*texts)[i], values[i], valueBufSize)) return 0;
    }
    return 1;
}

int UnitsOfMeasure(int objectHandle, char* const* unitRowNames, char* const* defaultUnitsOfMeasure, int bufSize)
{
    const auto value = ReadableValue(objectHandle);
    if (!value) return 0;
    const std::vector<UnitRow> rows = value->Property->UnitsTypeList();
    // The host cannot ask for the count first: more rows than the documented limit would run past
    // its arrays.
    CheckHostLimit(HostLimit::UnitRows, rows.size());
    if (!AllPresent(unitRowNames, rows.size()) || !AllPresent(defaultUnitsOfMeasure, rows.size())) return 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!interop::CopySizedClosingLastByte(rows[i].UnitRowName, unitRowNames[i], bufSize)) return 0;
        if (!interop::CopySizedClosingLastByte(rows[i].DefaultUOM, defaultUnitsOfMeasure[i], bufSize)) return 0;
    }
    return static_cast<int>(rows.size());
}

} // namespace moru::properties
