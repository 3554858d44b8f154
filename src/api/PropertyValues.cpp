#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "interop/Handles.h"
#include "interop/HostText.h"
#include "interop/Numbers.h"
#include "platform/Diagnostics.h"
#include "properties/PropertyValues.h"

using namespace moru;

namespace {

service::PropertyValuePtr ValueOf(int objectHandle)
{
    return interop::GetObjectFromHandle<service::PropertyValue>(objectHandle);
}

// Whether every one of the first `count` host buffers is there, so that nothing is written for a
// list that would fail part way.
bool AllPresent(char* const* buffers, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (!buffers[i]) {
            platform::NoteFailure("buffer ", i + 1, " of ", count, " is null");
            return false;
        }
    }
    return true;
}

} // namespace

MORU_API int MORU_CALL CompoundProperties_GetCompoundProperty(const char* databaseName, const char* databankName,
                                                              const char* compoundId, const char* compoundIdType,
                                                              const char* propertyId, int* objectHandle)
{
    return api::Contain(
        MORU_ARGUMENTS(databaseName, databankName, compoundId, compoundIdType, propertyId, objectHandle), 0, [&] {
            if (!objectHandle) return 0;
            *objectHandle = 0;
            if (!databaseName || !databankName) return 0;
            auto value = properties::GetCompoundProperty(
                interop::FromHost(databaseName), interop::FromHost(databankName), interop::FromHost(compoundId),
                interop::FromHost(compoundIdType), interop::FromHost(propertyId));
            if (!value) return 0;
            // A value the service lacks is no failure: the handle stays 0.
            *objectHandle = interop::GetHandleFromObject(std::move(*value));
            return 1;
        });
}

MORU_API int MORU_CALL CompoundProperties_GetAllCompoundProperties(const char* databaseName, const char* databankName,
                                                                   const char* compoundId, const char* compoundIdType,
                                                                   int* enumeratorHandle)
{
    return api::Contain(
        MORU_ARGUMENTS(databaseName, databankName, compoundId, compoundIdType, enumeratorHandle), 0, [&] {
            if (!enumeratorHandle) return 0;
            *enumeratorHandle = 0;
            if (!databaseName || !databankName) return 0;
            auto enumerator =
                properties::GetAllCompoundProperties(interop::FromHost(databaseName), interop::FromHost(databankName),
                                                     interop::FromHost(compoundId), interop::FromHost(compoundIdType));
            if (!enumerator) return 0;
            *enumeratorHandle = interop::GetHandleFromObject(std::move(enumerator));
            return 1;
        });
}

MORU_API int MORU_CALL PropertyValueCollectionEnum_MoveNext(int enumeratorHandle)
{
    return api::Contain(MORU_ARGUMENTS(enumeratorHandle), 0, [&] {
        return interop::EnumeratorMoveNext<properties::PropertyValueCollectionEnumerator>(enumeratorHandle);
    });
}

MORU_API int MORU_CALL PropertyValueCollectionEnum_GetItem(int enumeratorHandle, int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(enumeratorHandle, objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        const auto enumerator =
            interop::GetObjectFromHandle<properties::PropertyValueCollectionEnumerator>(enumeratorHandle);
        if (!enumerator) return 0;
        auto current = enumerator->Current();
        if (!current) return 0;
        *objectHandle = interop::GetHandleFromObject(std::move(current));
        return 1;
    });
}

MORU_API int MORU_CALL PropertyValueObject_NumberOfElements(int objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] {
        const auto value = ValueOf(objectHandle);
        return value ? properties::NumberOfElements(*value) : 0;
    });
}

MORU_API int MORU_CALL PropertyValueObject_Type(int objectHandle, int* type)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, type), 0, [&] {
        if (!type) return 0;
        const auto value = ValueOf(objectHandle);
        const auto dataType = value ? properties::Type(*value) : std::nullopt;
        if (!dataType) return 0;
        *type = *dataType;
        return 1;
    });
}

MORU_API int MORU_CALL PropertyValueObject_PropertyId(int objectHandle, char* property, int bufSize)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, property, bufSize), 0, [&] {
        if (!property) return 0;
        const auto value = ValueOf(objectHandle);
        const auto name = value ? properties::PropertyId(*value) : std::nullopt;
        if (!name) return 0;
        return interop::CopySizedClosingLastByte(*name, property, bufSize) ? 1 : 0;
    });
}

MORU_API int MORU_CALL PropertyValueObject_ValueText(int objectHandle, char* value, int valueBufSize)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, value, valueBufSize), 0, [&] {
        if (!value) return 0;
        const auto found = ValueOf(objectHandle);
        const auto text = found ? properties::ValueText(*found) : std::nullopt;
        if (!text) return 0;
        return interop::CopySizedClosingLastByte(*text, value, valueBufSize) ? 1 : 0;
    });
}

MORU_API int MORU_CALL PropertyValueObject_ValueConstant(int objectHandle, double* value)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, value), 0, [&] {
        if (!value) return 0;
        const auto found = ValueOf(objectHandle);
        const auto constant = found ? properties::ValueConstant(*found) : std::nullopt;
        if (!constant) return 0;
        // An array without a first number still gives the missing number.
        *value = constant->number.value_or(interop::kMissingNumber);
        return constant->read ? 1 : 0;
    });
}

MORU_API int MORU_CALL PropertyValueObject_ValueVector(int objectHandle, double* values)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, values), 0, [&] {
        if (!values) return 0;
        const auto found = ValueOf(objectHandle);
        const auto numbers = found ? properties::ValueVector(*found) : std::nullopt;
        if (!numbers) return 0;
        interop::WriteNumbers(*numbers, values);
        return 1;
    });
}

MORU_API int MORU_CALL PropertyValueObject_ValueTextList(int objectHandle, char** values, int valueBufSize)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, values, valueBufSize), 0, [&] {
        if (!values) return 0;
        const auto found = ValueOf(objectHandle);
        const auto texts = found ? properties::ValueTextList(*found) : std::nullopt;
        if (!texts || !AllPresent(values, texts->size())) return 0;
        for (std::size_t i = 0; i < texts->size(); ++i) {
            if (!interop::CopySizedClosingLastByte((*texts)[i], values[i], valueBufSize)) return 0;
        }
        return 1;
    });
}

MORU_API int MORU_CALL PropertyValueObject_UnitsOfMeasure(int objectHandle, char** unitRowNames,
                                                          char** defaultUnitsOfMeasure, int bufSize)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, unitRowNames, defaultUnitsOfMeasure, bufSize), 0, [&] {
        if (!unitRowNames || !defaultUnitsOfMeasure) return 0;
        const auto found = ValueOf(objectHandle);
        const auto rows = found ? properties::UnitsOfMeasure(*found) : std::nullopt;
        if (!rows || !AllPresent(unitRowNames, rows->size()) || !AllPresent(defaultUnitsOfMeasure, rows->size()))
            return 0;
        for (std::size_t i = 0; i < rows->size(); ++i) {
            if (!interop::CopySizedClosingLastByte((*rows)[i].UnitRowName, unitRowNames[i], bufSize)) return 0;
            if (!interop::CopySizedClosingLastByte((*rows)[i].DefaultUOM, defaultUnitsOfMeasure[i], bufSize)) return 0;
        }
        return static_cast<int>(rows->size());
    });
}

MORU_API void MORU_CALL PropertyValueCollectionEnum_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
MORU_API void MORU_CALL PropertyValueObject_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
