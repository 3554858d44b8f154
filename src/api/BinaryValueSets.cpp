#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "binary/BinaryValueSets.h"
#include "interop/HostText.h"

using namespace moru;

MORU_API int MORU_CALL BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(
    const char** workingCompoundPairArr, const char* compoundIdType, const char** dbankArr, const char** propertyArr,
    int* interactionType, int* bCondensedForViewing, int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(workingCompoundPairArr, compoundIdType, dbankArr, propertyArr, interactionType, bCondensedForViewing, objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        if (!workingCompoundPairArr || !dbankArr || !propertyArr || !bCondensedForViewing || !interactionType)
            return 0;
        *objectHandle = binary::GetAllBinaryPropertyValueObjects(
            interop::ReadHostList(workingCompoundPairArr), interop::FromHost(compoundIdType),
            interop::ReadHostList(dbankArr), interop::ReadHostList(propertyArr), *interactionType,
            *bCondensedForViewing);
        return 1;
    });
}

MORU_API int MORU_CALL BinaryPropertyValueObjects_GetNextPropertyValueObject(int objectHandle, int* comp1Index,
                                                                           int* comp2Index, int* comp3Index,
                                                                           int* comp4Index, int* dbankIndex,
                                                                           int* propIndex, int* valueSize,
                                                                           int* hasRegInfo, double* propValues)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, comp1Index, comp2Index, comp3Index, comp4Index, dbankIndex, propIndex, valueSize, hasRegInfo, propValues), 0, [&] {
        if (objectHandle == 0 || !comp1Index || !comp2Index || !comp3Index || !comp4Index || !dbankIndex ||
            !propIndex || !valueSize || !propValues)
            return 0;
        return binary::GetNextPropertyValueObject(objectHandle, {comp1Index, comp2Index, comp3Index, comp4Index,
                                                                 dbankIndex, propIndex, valueSize, hasRegInfo,
                                                                 propValues});
    });
}

MORU_API int MORU_CALL BinaryPropertyValueObjects_GetNextPropertyValueObject_Vanta(int objectHandle, int* comp1Index,
                                                                                 int* comp2Index, int* comp3Index,
                                                                                 int* comp4Index, int* dbankIndex,
                                                                                 int* propIndex, int* valueSize,
                                                                                 double* propValues)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, comp1Index, comp2Index, comp3Index, comp4Index, dbankIndex, propIndex, valueSize, propValues), 0, [&] {
        if (objectHandle == 0 || !comp1Index || !comp2Index || !comp3Index || !comp4Index || !dbankIndex ||
            !propIndex || !valueSize || !propValues)
            return 0;
        return binary::GetNextPropertyValueObjectVanta(objectHandle, {comp1Index, comp2Index, comp3Index, comp4Index,
                                                                      dbankIndex, propIndex, valueSize, nullptr,
                                                                      propValues});
    });
}

MORU_API int MORU_CALL BinaryPropertyValueObjects_NumberOfElements(int objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] { return binary::NumberOfEntries(objectHandle); });
}

MORU_API void MORU_CALL BinaryPropertyValueObjects_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
