#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "interop/HostText.h"
#include "reactions/Reactions.h"

using namespace moru;

MORU_API int MORU_CALL Reactions_GetAllReactionObjects(const char** compoundList, const char** databankList,
                                                       const char* compoundIdType, int searchType, int* objectHandle)
{
    if (!objectHandle) return -1;
    return api::Contain(MORU_ARGUMENTS(compoundList, databankList, compoundIdType, searchType, objectHandle), 0, [&] {
        *objectHandle = 0;
        if (!compoundList || !databankList || !compoundIdType) return -1;
        return reactions::GetAllReactionObjects(interop::ReadHostList(compoundList), interop::ReadHostList(databankList),
                                                interop::FromHost(compoundIdType), searchType, *objectHandle);
    });
}

MORU_API int MORU_CALL Reactions_GetNextReactionObject(int objectHandle, int position, char* type, char* basis,
                                                       int* compListSize, char** compAliases, double* stoicCoeffs,
                                                       double* eqConsts, double* SymmetricEqConsts,
                                                       char* /*symEqConstBasis*/)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, type, basis, compListSize, compAliases, stoicCoeffs, eqConsts, SymmetricEqConsts), 0, [&] {
        if (objectHandle == 0 || !type || !basis || !compListSize || !compAliases || !stoicCoeffs || !eqConsts) return 0;
        return reactions::GetNextReactionObject(
            objectHandle, position, {type, basis, compListSize, compAliases, stoicCoeffs, eqConsts, SymmetricEqConsts});
    });
}

MORU_API void MORU_CALL Reactions_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
