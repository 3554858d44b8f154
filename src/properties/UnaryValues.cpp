#include "properties/UnaryValues.h"

#include "interop/Handles.h"
#include "interop/HostText.h"
#include "interop/Numbers.h"
#include "properties/PropertyValues.h"
#include "service/HostLimits.h"
#include "session/Resolution.h"

namespace moru::properties {

int GetAllUnaryPropertyValues_Vanta(std::string_view databaseName, std::string_view databankName, int compoundIndex,
                                    int& objectHandle)
{
    const DatabankPtr databank = session::GetIDatabankFromDbaseDbank(databaseName, databankName);
    if (!databank) return 0;
    auto values = PropertyValueManagerOf(*databank)->GetAllUnaryPropertyValues_Vanta(databank->Id(), compoundIndex);
    if (!values) return 0;
    auto list = std::make_shared<UnaryPropertyList>();
    list->values = std::move(*values);
    int position = 0;
    for (const auto& entry : list->values) list->names.emplace(position++, entry.first);
    objectHandle = interop::GetHandleFromObject(list);
    return static_cast<int>(list->values.size());
}

int GetNextUnaryPropertyValue(int objectHandle, int position, char* propName, int& valueSize, double* propertyValues)
{
    const auto list = interop::GetObjectFromHandle<UnaryPropertyList>(objectHandle);
    if (!list || position < 0) return 0;
    if (static_cast<std::size_t>(position) >= list->values.size()) return -1;
    const auto name = list->names.find(position);
    if (name == list->names.end()) return 0;
    const auto value = list->values.find(name->second);
    if (value == list->values.end()) return 0;
    // The host's buffers carry no size; a name or value beyond the documented limits would overrun them.
    CheckHostLimit(HostLimit::PropertyNameBytes, interop::ToHost(name->second).size());
    CheckHostLimit(HostLimit::UnaryElements, value->second.size());

    interop::CopyUnbounded(name->second, propName);
    valueSize = static_cast<int>(value->second.size());
    for (std::size_t i = 0; i < value->second.size(); ++i) {
        if (!value->second[i]) return 0;
        propertyValues[i] = *value->second[i];
    }
    return 1;
}

bool GetPropValueFromDbank(std::string_view dbaseName, std::string_view dbankName, const std::string& idType,
                           const std::string& idVal, const std::string& propName, int valueType, double* retvals,
                           int retvalArraylen)
{
    const DatabankPtr databank = session::GetIDatabankFromDbaseDbank(dbaseName, dbankName);
    if (!databank) return false;
    return GetPropValueFromDatabank(*databank, idType, idVal, propName, valueType, retvals, retvalArraylen);
}

bool GetPropValueFromDatabank(const IDatabank& databank, const std::string& idType, const std::string& idVal,
                              const std::string& propName, int valueType, double* retvals, int retvalArraylen)
{
    const PropertyValuePtr value = PropertyValueManagerOf(databank)->GetUnaryPropertyValue(databank, idVal, idType, propName);
    if (!value) return false;
    return FillResultsFromResultObject(*value, valueType, retvals, retvalArraylen);
}

bool FillResultsFromResultObject(const PropertyValue& value, int valueType, double* retvals, int retvalArraylen)
{
    if (!retvals || !value.Property) return false;
    if (value.Property->DataType() != kPropertyTypeNumbers) return false;
    if (valueType != kValueTypeDoubles) return false;
    if (retvalArraylen < 1) return false;
    const auto* numbers = std::get_if<NumericElements>(&value.Data);
    if (!numbers || numbers->size() > static_cast<std::size_t>(retvalArraylen)) return false;
    interop::WriteNumbers(*numbers, retvals);
    return true;
}

} // namespace moru::properties
