#include "properties/PropertyValues.h"

#include "platform/Diagnostics.h"
#include "service/HostLimits.h"
#include "session/Resolution.h"

#include <stdexcept>

namespace moru::properties {

using service::NumericElements;
using service::PropertyValue;
using service::TextList;

namespace {

// The value's property, noting why there is none.
const service::IProperty* PropertyOf(const PropertyValue& value)
{
    if (!value.Property) platform::NoteFailure("the value names no property");
    return value.Property.get();
}

const char* ShapeOf(const service::Value& data)
{
    if (std::holds_alternative<NumericElements>(data)) return "numbers";
    if (std::holds_alternative<std::string>(data)) return "a text";
    if (std::holds_alternative<TextList>(data)) return "a list of texts";
    return "nothing";
}

// The value's data when it has the shape wanted, noting what it holds otherwise.
template <class Shape>
const Shape* DataAs(const PropertyValue& value, const char* wanted)
{
    const auto* data = std::get_if<Shape>(&value.Data);
    if (!data)
        platform::NoteFailure("property ", value.Property->Name(), " holds ", ShapeOf(value.Data), ", not ", wanted);
    return data;
}

// Whether the elements of an array value are read: type -1 is not read at all.
bool ElementsAreRead(const PropertyValue& value) { return value.Property->DataType() != -1; }

} // namespace

bool PropertyValueCollectionEnumerator::MoveNext()
{
    const auto count = static_cast<std::ptrdiff_t>(m_values.size());
    if (m_position < count) ++m_position;
    return m_position < count;
}

service::PropertyValuePtr PropertyValueCollectionEnumerator::Current() const
{
    if (m_position < 0) {
        platform::NoteFailure("the enumeration stands before its first value");
        return nullptr;
    }
    if (m_position >= static_cast<std::ptrdiff_t>(m_values.size())) {
        platform::NoteFailure("the enumeration is past its last value (", m_values.size(), ")");
        return nullptr;
    }
    auto current = m_values[static_cast<std::size_t>(m_position)];
    if (!current) platform::NoteFailure("value ", m_position, " of the enumeration is empty");
    return current;
}

std::shared_ptr<service::IPropertyValueManager> PropertyValueManagerOf(const service::IDatabank& databank)
{
    const service::DatabasePtr database = databank.Database();
    auto manager = database ? database->PropertyValueManager() : nullptr;
    if (!manager)
        throw std::runtime_error("the database of databank " + databank.Name() + " offers no property values");
    return manager;
}

std::optional<service::PropertyValuePtr> GetCompoundProperty(std::string_view databaseName,
                                                             std::string_view databankName,
                                                             const std::string& compoundId,
                                                             const std::string& compoundIdType,
                                                             const std::string& propertyId)
{
    const service::DatabankPtr databank = session::GetIDatabankFromDbaseDbank(databaseName, databankName);
    if (!databank) return std::nullopt;
    return PropertyValueManagerOf(*databank)->GetUnaryPropertyValue(*databank, compoundId, compoundIdType, propertyId);
}

std::shared_ptr<PropertyValueCollectionEnumerator> GetAllCompoundProperties(std::string_view databaseName,
                                                                            std::string_view databankName,
                                                                            const std::string& compoundId,
                                                                            const std::string& compoundIdType)
{
    const service::DatabankPtr databank = session::GetIDatabankFromDbaseDbank(databaseName, databankName);
    if (!databank) return nullptr;
    const service::DatabasePtr database = databank->Database();
    const auto compoundManager = database ? database->CompoundManager() : nullptr;
    if (!compoundManager) {
        platform::NoteFailure("the database of databank ", databaseName, ".", databankName, " offers no compounds");
        return nullptr;
    }
    // The service may know no such identifier type: then no compound is found, and the working
    // set holds one null entry.
    const service::IdentifierPtr identifier = compoundManager->GetIdentifier(compoundIdType);
    const service::CompoundPtr compound = identifier ? compoundManager->GetCompound(compoundId, *identifier) : nullptr;
    compoundManager->SetWorkingCompounds({compound});

    auto values = PropertyValueManagerOf(*databank)->GetAllUnaryPropertyValues(*databank, compoundId, compoundIdType);
    if (!values) {
        platform::NoteFailure("databank ", databaseName, ".", databankName, " holds no values of compound ",
                              compoundId);
        return nullptr;
    }
    return std::make_shared<PropertyValueCollectionEnumerator>(std::move(*values));
}

int NumberOfElements(const PropertyValue& value)
{
    if (!PropertyOf(value) || !ElementsAreRead(value)) return 0;
    if (const auto* numbers = std::get_if<NumericElements>(&value.Data)) return static_cast<int>(numbers->size());
    if (const auto* texts = std::get_if<TextList>(&value.Data)) return static_cast<int>(texts->size());
    return 0;
}

std::optional<int> Type(const PropertyValue& value)
{
    if (!PropertyOf(value)) return std::nullopt;
    return value.Property->DataType();
}

std::optional<std::string> PropertyId(const PropertyValue& value)
{
    if (!PropertyOf(value)) return std::nullopt;
    std::string name = value.Property->Name();
    if (name.empty()) {
        platform::NoteFailure("the value's property has no name");
        return std::nullopt;
    }
    return name;
}

std::optional<std::string> ValueText(const PropertyValue& value)
{
    if (!PropertyOf(value)) return std::nullopt;
    const auto* stored = DataAs<std::string>(value, "a text");
    if (!stored) return std::nullopt;
    return *stored;
}

std::optional<Constant> ValueConstant(const PropertyValue& value)
{
    if (!PropertyOf(value)) return std::nullopt;
    if (std::holds_alternative<TextList>(value.Data)) {
        // A list of texts is an array whose first element is no number.
        platform::NoteFailure("property ", value.Property->Name(), " holds a list of texts, not numbers");
        return Constant{};
    }
    const auto* numbers = DataAs<NumericElements>(value, "an array");
    if (!numbers) return std::nullopt;
    if (numbers->empty()) {
        platform::NoteFailure("property ", value.Property->Name(), " holds no elements");
        return Constant{};
    }
    return Constant{numbers->front(), true};
}

std::optional<NumericElements> ValueVector(const PropertyValue& value)
{
    if (!PropertyOf(value)) return std::nullopt;
    const auto* numbers = DataAs<NumericElements>(value, "numbers");
    if (!numbers) return std::nullopt;
    return ElementsAreRead(value) ? *numbers : NumericElements();
}

std::optional<TextList> ValueTextList(const PropertyValue& value)
{
    if (!PropertyOf(value)) return std::nullopt;
    const auto* texts = DataAs<TextList>(value, "a list of texts");
    if (!texts) return std::nullopt;
    return ElementsAreRead(value) ? *texts : TextList();
}

std::optional<std::vector<service::UnitRow>> UnitsOfMeasure(const PropertyValue& value)
{
    if (!PropertyOf(value)) return std::nullopt;
    std::vector<service::UnitRow> rows = value.Property->UnitsTypeList();
    // The host cannot ask for the count first: more rows than the documented limit would run past
    // its arrays.
    service::CheckHostLimit(service::HostLimit::UnitRows, rows.size());
    return rows;
}

} // namespace moru::properties
