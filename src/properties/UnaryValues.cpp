#include "properties/UnaryValues.h"

#include "interop/HostText.h"
#include "platform/Diagnostics.h"
#include "properties/PropertyValues.h"
#include "service/HostLimits.h"
#include "session/Resolution.h"

#include <stdexcept>

namespace moru::properties {

std::shared_ptr<UnaryPropertyList> GetAllUnaryPropertyValues_Vanta(std::string_view databaseName,
                                                                   std::string_view databankName, int compoundIndex)
{
    const service::DatabankPtr databank = session::GetIDatabankFromDbaseDbank(databaseName, databankName);
    if (!databank) return nullptr;
    auto values = PropertyValueManagerOf(*databank)->GetAllUnaryPropertyValues_Vanta(databank->Id(), compoundIndex);
    if (!values) {
        platform::NoteFailure("databank ", databaseName, ".", databankName, " holds no values of compound index ",
                              compoundIndex);
        return nullptr;
    }
    auto list = std::make_shared<UnaryPropertyList>();
    list->values = std::move(*values);
    int position = 0;
    for (const auto& entry : list->values) list->names.emplace(position++, entry.first);
    return list;
}

const service::UnaryValueMap::value_type* UnaryValueAt(const UnaryPropertyList& list, int position)
{
    if (position < 0) throw std::out_of_range("position " + std::to_string(position) + " is before the first");
    if (static_cast<std::size_t>(position) >= list.values.size()) return nullptr;
    const auto name = list.names.find(position);
    const auto value = name == list.names.end() ? list.values.end() : list.values.find(name->second);
    if (value == list.values.end()) throw std::out_of_range("no value at position " + std::to_string(position));
    // The host's buffers carry no size; a name or value beyond the documented limits would overrun them.
    service::CheckHostLimit(service::HostLimit::PropertyNameBytes, interop::ToHost(value->first).size());
    service::CheckHostLimit(service::HostLimit::UnaryElements, value->second.size());
    return &*value;
}

std::optional<service::NumericElements> GetPropValueFromDbank(std::string_view dbaseName, std::string_view dbankName,
                                                              const std::string& idType, const std::string& idVal,
                                                              const std::string& propName, int valueType,
                                                              int retvalArraylen)
{
    const service::DatabankPtr databank = session::GetIDatabankFromDbaseDbank(dbaseName, dbankName);
    if (!databank) return std::nullopt;
    const service::PropertyValuePtr value =
        PropertyValueManagerOf(*databank)->GetUnaryPropertyValue(*databank, idVal, idType, propName);
    if (!value) {
        platform::NoteFailure("databank ", dbaseName, ".", dbankName, " holds no value of ", propName, " for ", idVal);
        return std::nullopt;
    }
    if (!value->Property) {
        platform::NoteFailure("the value names no property");
        return std::nullopt;
    }
    if (value->Property->DataType() != kPropertyTypeNumbers) {
        platform::NoteFailure("property ", propName, " is of data type ", value->Property->DataType(), ", not numbers");
        return std::nullopt;
    }
    if (valueType != kValueTypeDoubles) {
        platform::NoteFailure("value type ", valueType, " is not read; only ", kValueTypeDoubles, " (doubles)");
        return std::nullopt;
    }
    const auto* numbers = std::get_if<service::NumericElements>(&value->Data);
    if (!numbers) {
        platform::NoteFailure("property ", propName, " holds no numbers");
        return std::nullopt;
    }
    if (retvalArraylen < 1 || numbers->size() > static_cast<std::size_t>(retvalArraylen)) {
        platform::NoteFailure("value of ", numbers->size(), " numbers, host array of ", retvalArraylen);
        return std::nullopt;
    }
    return *numbers;
}

} // namespace moru::properties
