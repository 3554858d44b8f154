#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "interop/HostText.h"
#include "properties/UnaryValues.h"

using namespace moru;

MORU_API int MORU_CALL CompoundProperties_GetAllUnaryPropertyValues_Vanta(const char* databaseName,
                                                                          const char* databankName, int compoundIndex,
                                                                          int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(databaseName, databankName, compoundIndex, objectHandle), 0, [&] {
        if (!objectHandle || !databaseName || !databankName) return 0;
        *objectHandle = 0;
        return properties::GetAllUnaryPropertyValues_Vanta(interop::FromHost(databaseName), interop::FromHost(databankName),
                                                           compoundIndex, *objectHandle);
    });
}

MORU_API int MORU_CALL CompoundProperties_GetNextUnaryPropertyValue(int objectHandle, int position, char* propName,
                                                                    int* valueSize, double* propertyValues)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, propName, valueSize, propertyValues), 0, [&] {
        if (!propName || !valueSize || !propertyValues) return 0;
        return properties::GetNextUnaryPropertyValue(objectHandle, position, propName, *valueSize, propertyValues);
    });
}

MORU_API void MORU_CALL GetPropertyValueFromDbank(const char* dbaseName, const char* dbankName, const char* idType,
                                                 const char* idVal, const char* propName, int valueType,
                                                 double* retvals, int retvalArraylen, int /*retvalElemLen*/,
                                                 int* success)
{
    api::Contain(MORU_ARGUMENTS(dbaseName, dbankName, idType, idVal, propName, valueType, retvals, retvalArraylen, success), [&] {
        if (!success) return;
        *success = 0;
        if (!dbaseName || !dbankName) return;
        const bool filled = properties::GetPropValueFromDbank(
            interop::FromHost(dbaseName), interop::FromHost(dbankName), interop::FromHost(idType),
            interop::FromHost(idVal), interop::FromHost(propName), valueType, retvals, retvalArraylen);
        *success = filled ? 1 : 0;
    });
}

MORU_API void MORU_CALL CompoundProperties_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
