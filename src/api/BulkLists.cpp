#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "bulk/BulkLists.h"
#include "bulk/BulkValues.h"
#include "interop/HostText.h"

using namespace moru;

MORU_API int MORU_CALL Optimized_InitializeAllLists(const char** sourceDatabanks, const char** compoundIdentifierList,
                                                    const char** propertyList)
{
    return api::Contain(MORU_ARGUMENTS(sourceDatabanks, compoundIdentifierList, propertyList), 0, [&] {
        if (!sourceDatabanks || !compoundIdentifierList || !propertyList) {
            bulk::UnInitializeAllLists();
            return 0;
        }
        return bulk::InitializeAllLists(interop::ReadHostList(sourceDatabanks),
                                        interop::ReadHostList(compoundIdentifierList),
                                        interop::ReadHostList(propertyList))
                   ? 1
                   : 0;
    });
}

MORU_API int MORU_CALL Optimized_UnInitializeAllLists(void)
{
    return api::Contain(0, [&] {
        bulk::UnInitializeAllLists();
        return 1;
    });
}

MORU_API int MORU_CALL Optimized_GetAllCompoundsIdentifiers(int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        return bulk::GetAllCompoundsIdentifiers(*objectHandle);
    });
}

MORU_API int MORU_CALL Optimized_GetNextCompoundIdentifier(int objectHandle, int position, int* compoundPosition,
                                                           char* databaseName, int* compoundIndex, char* name,
                                                           char* alias, char* casno, double* compclass, double* kelidx,
                                                           double* PLXidx)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, compoundPosition, databaseName, compoundIndex, name, alias, casno, compclass, kelidx, PLXidx), 0, [&] {
        if (!compoundPosition || !databaseName || !compoundIndex || !name || !alias || !casno || !compclass ||
            !kelidx || !PLXidx) {
            return 0;
        }
        return bulk::GetNextCompoundIdentifier(objectHandle, position, *compoundPosition, databaseName,
                                               *compoundIndex, name, alias, casno, *compclass, *kelidx, *PLXidx);
    });
}

MORU_API int MORU_CALL Optimized_GetAllProperties(int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        return bulk::GetAllProperties(*objectHandle);
    });
}

MORU_API int MORU_CALL Optimized_GetNextProperty(int objectHandle, int position, int* propertyPosition,
                                                 int* numOfElements)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, propertyPosition, numOfElements), 0, [&] {
        if (!propertyPosition || !numOfElements) return 0;
        return bulk::GetNextProperty(objectHandle, position, *propertyPosition, *numOfElements);
    });
}

MORU_API int MORU_CALL Optimized_GetAllScalarPropertyValues(int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        return bulk::GetAllScalarPropertyValues(*objectHandle);
    });
}

MORU_API int MORU_CALL Optimized_GetNextScalarPropertyValue(int objectHandle, int position, int* databankPosition,
                                                            int* compoundPosition, int* propertyPosition,
                                                            double* value)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, databankPosition, compoundPosition, propertyPosition, value), 0, [&] {
        if (!databankPosition || !compoundPosition || !propertyPosition || !value) return 0;
        return bulk::GetNextScalarPropertyValue(objectHandle, position, *databankPosition, *compoundPosition,
                                                *propertyPosition, *value);
    });
}

MORU_API int MORU_CALL Optimized_GetAllVectorPropertyValues(int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        return bulk::GetAllVectorPropertyValues(*objectHandle);
    });
}

MORU_API int MORU_CALL Optimized_GetNextVectorPropertyValue(int objectHandle, int position, int* valueSize,
                                                            int* databankPosition, int* compoundPosition,
                                                            int* propertyPosition, double* value)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, valueSize, databankPosition, compoundPosition, propertyPosition, value), 0, [&] {
        if (!valueSize || !databankPosition || !compoundPosition || !propertyPosition || !value) return 0;
        return bulk::GetNextVectorPropertyValue(objectHandle, position, *valueSize, *databankPosition,
                                                *compoundPosition, *propertyPosition, value);
    });
}

MORU_API int MORU_CALL Optimized_GetAllBinaryPropertyValues(int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        return bulk::GetAllBinaryPropertyValues(*objectHandle);
    });
}

MORU_API int MORU_CALL Optimized_GetNextBinaryPropertyValueWithCondensedFlag(int objectHandle, int position,
                                                                             int* valueSize, int* databankPosition,
                                                                             int* compound1Position,
                                                                             int* compound2Position,
                                                                             int* propertyPosition, double* value,
                                                                             int* bCondensed)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, valueSize, databankPosition, compound1Position, compound2Position, propertyPosition, value, bCondensed), 0, [&] {
        if (!valueSize || !databankPosition || !compound1Position || !compound2Position || !propertyPosition ||
            !value || !bCondensed) {
            return 0;
        }
        return bulk::GetNextBinaryPropertyValue(objectHandle, position, *valueSize, *databankPosition,
                                                *compound1Position, *compound2Position, *propertyPosition, value,
                                                *bCondensed != 0);
    });
}

MORU_API int MORU_CALL Optimized_GetNextBinaryPropertyValue(int objectHandle, int position, int* valueSize,
                                                            int* databankPosition, int* compound1Position,
                                                            int* compound2Position, int* propertyPosition,
                                                            double* value)
{
    int full = 0;
    return Optimized_GetNextBinaryPropertyValueWithCondensedFlag(objectHandle, position, valueSize, databankPosition,
                                                                 compound1Position, compound2Position,
                                                                 propertyPosition, value, &full);
}

MORU_API void MORU_CALL Optimized_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
