#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "interop/HostText.h"
#include "properties/PropertyValues.h"

using namespace moru;

MORU_API int MORU_CALL CompoundProperties_GetCompoundProperty(const char* databaseName, const char* databankName,
                                                              const char* compoundId, const char* compoundIdType,
                                                              const char* propertyId, int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(databaseName, databankName, compoundId, compoundIdType, propertyId, objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        if (!databaseName || !databankName) return 0;
        return properties::GetCompoundProperty(interop::FromHost(databaseName), interop::FromHost(databankName),
                                               interop::FromHost(compoundId), interop::FromHost(compoundIdType),
                                               interop::FromHost(propertyId), *objectHandle);
    });
}

MORU_API int MORU_CALL CompoundProperties_GetAllCompoundProperties(const char* databaseName, const char* databankName,
                                                                   const char* compoundId, const char* compoundIdType,
                                                                   int* enumeratorHandle)
{
    return api::Contain(MORU_ARGUMENTS(databaseName, databankName, compoundId, compoundIdType, enumeratorHandle), 0, [&] {
        if (!enumeratorHandle) return 0;
        *enumeratorHandle = 0;
        if (!databaseName || !databankName) return 0;
        return properties::GetAllCompoundProperties(interop::FromHost(databaseName), interop::FromHost(databankName),
                                                    interop::FromHost(compoundId), interop::FromHost(compoundIdType),
                                                    *enumeratorHandle);
    });
}

MORU_API int MORU_CALL PropertyValueCollectionEnum_MoveNext(int enumeratorHandle)
{
    return api::Contain(MORU_ARGUMENTS(enumeratorHandle), 0, [&] { return properties::MoveNext(enumeratorHandle); });
}

MORU_API int MORU_CALL PropertyValueCollectionEnum_GetItem(int enumeratorHandle, int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(enumeratorHandle, objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        return properties::GetItem(enumeratorHandle, *objectHandle);
    });
}

MORU_API int MORU_CALL PropertyValueObject_NumberOfElements(int objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] { return properties::NumberOfElements(objectHandle); });
}

MORU_API int MORU_CALL PropertyValueObject_Type(int objectHandle, int* type)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, type), 0, [&] {
        if (!type) return 0;
        return properties::Type(objectHandle, *type);
    });
}

MORU_API int MORU_CALL PropertyValueObject_PropertyId(int objectHandle, char* property, int bufSize)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, property, bufSize), 0, [&] {
        if (!property) return 0;
        return properties::PropertyId(objectHandle, property, bufSize);
    });
}

MORU_API int MORU_CALL PropertyValueObject_ValueText(int objectHandle, char* value, int valueBufSize)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, value, valueBufSize), 0, [&] {
        if (!value) return 0;
        return properties::ValueText(objectHandle, value, valueBufSize);
    });
}

MORU_API int MORU_CALL PropertyValueObject_ValueConstant(int objectHandle, double* value)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, value), 0, [&] {
        if (!value) return 0;
        return properties::ValueConstant(objectHandle, *value);
    });
}

MORU_API int MORU_CALL PropertyValueObject_ValueVector(int objectHandle, double* values)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, values), 0, [&] {
        if (!values) return 0;
        return properties::ValueVector(objectHandle, values);
    });
}

MORU_API int MORU_CALL PropertyValueObject_ValueTextList(int objectHandle, char** values, int valueBufSize)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, values, valueBufSize), 0, [&] {
        if (!values) return 0;
        return properties::ValueTextList(objectHandle, values, valueBufSize);
    });
}

MORU_API int MORU_CALL PropertyValueObject_UnitsOfMeasure(int objectHandle, char** unitRowNames,
                                                          char** defaultUnitsOfMeasure, int bufSize)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, unitRowNames, defaultUnitsOfMeasure, bufSize), 0, [&] {
        if (!unitRowNames || !defaultUnitsOfMeasure) return 0;
        return properties::UnitsOfMeasure(objectHandle, unitRowNames, defaultUnitsOfMeasure, bufSize);
    });
}

MORU_API void MORU_CALL PropertyValueCollectionEnum_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
MORU_API void MORU_CALL PropertyValueObject_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
