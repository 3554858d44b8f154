#include "MoruIntegration.h"

#include "api/Contain.h"
#include "interop/HostText.h"
#include "session/Initialization.h"

using namespace moru;

MORU_API void MORU_CALL InitializeFromConfigFile(const char* configFileName, const char* appPwd)
{
    api::Contain(MORU_ARGUMENTS(configFileName, appPwd), [&] { session::InitFromConfigFile(interop::FromHostOptional(configFileName), interop::FromHost(appPwd)); });
}

MORU_API int MORU_CALL InitializeVNFromConfigFile(const char* configFileName, const char* appPwd)
{
    return api::Contain(MORU_ARGUMENTS(configFileName, appPwd), 0, [&] { return session::InitializeVNFromConfigFile(interop::FromHostOptional(configFileName), interop::FromHost(appPwd)); });
}

MORU_API int MORU_CALL InitVNFromConfigFileWithReturnMsgs(const char* configFileName, const char* appPwd, int* size,
                                                           int* overAllSuccess, int* dbSuccessCodeObjHandle)
{
    return api::Contain(MORU_ARGUMENTS(configFileName, appPwd, size, overAllSuccess, dbSuccessCodeObjHandle), 0, [&] {
        if (!size || !overAllSuccess || !dbSuccessCodeObjHandle) return 0;
        return session::InitVNFromConfigFileWithReturnMsgs(interop::FromHostOptional(configFileName),
                                                           interop::FromHost(appPwd), *size, *overAllSuccess,
                                                           *dbSuccessCodeObjHandle);
    });
}

MORU_API int MORU_CALL GetNextDatabaseSuccessCode(int objectHandle, int position)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position), -1, [&] { return session::GetNextDatabaseSuccessCode(objectHandle, position); });
}

MORU_API int MORU_CALL GetNextDatabaseErrorMessageSize(int objectHandle, int position)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position), -1, [&] { return session::GetNextDatabaseErrorMessageSize(objectHandle, position); });
}

MORU_API int MORU_CALL GetNextDatabaseErrorMessage(int objectHandle, int position, char* errMsg, int errMsgSize)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, errMsg, errMsgSize), 
        0, [&] { return session::GetNextDatabaseErrorMessage(objectHandle, position, errMsg, errMsgSize); });
}

MORU_API void MORU_CALL CheckExceptions(void)
{
    api::Contain([] { session::GetExceptions(); });
}

MORU_API void MORU_CALL CreateDBConfigFile(void)
{
    api::Contain([] { session::CreateConfigFile(); });
}

MORU_API int MORU_CALL GetDescription(const char* dbaseDOTdbankName, char* value, int valueBufSize)
{
    return api::Contain(MORU_ARGUMENTS(dbaseDOTdbankName, value, valueBufSize), 0, [&] {
        if (!dbaseDOTdbankName) return 0;
        return session::GetDescriptionString(interop::FromHost(dbaseDOTdbankName), value, valueBufSize);
    });
}

MORU_API void MORU_CALL SetDatabankTabFlag(bool bTab)
{
    api::Contain(MORU_ARGUMENTS(bTab), [&] { session::SetDatabankTab(bTab); });
}

MORU_API void MORU_CALL FindCompHelpID(void* callbackHtmlHelpTopic)
{
    api::Contain(MORU_ARGUMENTS(callbackHtmlHelpTopic), [&] {
        session::FillFindCompHelpID(reinterpret_cast<MoruHelpTopicCallback>(callbackHtmlHelpTopic));
    });
}
