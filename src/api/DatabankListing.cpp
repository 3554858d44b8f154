#include "MoruIntegration.h"

#include "api/Contain.h"
#include "session/DatabankListing.h"

using namespace moru;

MORU_API void MORU_CALL ListMoruDatabanks(void* callbackFnAddDatabankInfo, void* callbackFnAddPureParameterInfo,
                                         void* callbackFnAddBinaryDatabankInfo)
{
    api::Contain(MORU_ARGUMENTS(callbackFnAddDatabankInfo, callbackFnAddPureParameterInfo, callbackFnAddBinaryDatabankInfo), [&] {
        session::FillDatabankList(callbackFnAddDatabankInfo, callbackFnAddPureParameterInfo,
                                  callbackFnAddBinaryDatabankInfo, 0);
    });
}

MORU_API void MORU_CALL ListMoruDatabanks_WithDBAccessFlag(void* callbackFnAddDatabankInfo,
                                                          void* callbackFnAddPureParameterInfo,
                                                          void* callbackFnAddBinaryDatabankInfo, int accessFlag)
{
    api::Contain(MORU_ARGUMENTS(callbackFnAddDatabankInfo, callbackFnAddPureParameterInfo, callbackFnAddBinaryDatabankInfo, accessFlag), [&] {
        session::FillDatabankList(callbackFnAddDatabankInfo, callbackFnAddPureParameterInfo,
                                  callbackFnAddBinaryDatabankInfo, accessFlag);
    });
}

MORU_API void MORU_CALL ListMoruDatabanks_Vanta(void* callbackFnAddDatabankInfo)
{
    api::Contain(MORU_ARGUMENTS(callbackFnAddDatabankInfo), [&] { session::FillDatabankList_Vanta(callbackFnAddDatabankInfo, 0); });
}

MORU_API void MORU_CALL ListMoruDatabanks_Vanta_WithDBAccessFlag(void* callbackFnAddDatabankInfo, int accessFlag)
{
    api::Contain(MORU_ARGUMENTS(callbackFnAddDatabankInfo, accessFlag), [&] { session::FillDatabankList_Vanta(callbackFnAddDatabankInfo, accessFlag); });
}
