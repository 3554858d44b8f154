#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "binary/BinaryParameters.h"
#include "interop/HostText.h"

using namespace moru;

MORU_API int MORU_CALL InteractionParameters_GetBinaryIp(const char* databaseName, const char* databankName,
                                                         const char* modelName, const char* compound1Id,
                                                         const char* compound2Id, const char* compoundIdsType,
                                                         int* bCondensedForViewing, int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(databaseName, databankName, modelName, compound1Id, compound2Id, compoundIdsType, bCondensedForViewing, objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        if (!databaseName || !databankName || !bCondensedForViewing) return 0;
        int handle = 0;
        if (!binary::GetBinaryIp(interop::FromHost(databaseName), interop::FromHost(databankName),
                                 interop::FromHost(modelName), interop::FromHost(compound1Id),
                                 interop::FromHost(compound2Id), interop::FromHost(compoundIdsType),
                                 *bCondensedForViewing != 0, handle))
            return 0;
        *objectHandle = handle;
        return 1;
    });
}

MORU_API int MORU_CALL InteractionParameterValueObject_NumberOfElements(int objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle), 0, [&] { return binary::NumberOfElements(objectHandle); });
}

MORU_API int MORU_CALL InteractionParameterValueObject_Parameters(int objectHandle, double* parameters)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, parameters), 0, [&] {
        if (!parameters) return 0;
        return binary::Parameters(objectHandle, parameters);
    });
}

MORU_API void MORU_CALL InteractionParameterValueObject_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
