#include "MoruIntegration.h"

#include "api/Contain.h"
#include "interop/Handles.h"
#include "interop/HostText.h"
#include "session/Initialization.h"

using namespace moru;

MORU_API void MORU_CALL InitializeFromConfigFile(const char* configFileName, const char* appPwd)
{
    api::Contain(MORU_ARGUMENTS(configFileName, appPwd), [&] {
        session::InitFromConfigFile(interop::FromHostOptional(configFileName), interop::FromHost(appPwd));
    });
}

MORU_API int MORU_CALL InitializeVNFromConfigFile(const char* configFileName, const char* appPwd)
{
    return api::Contain(MORU_ARGUMENTS(configFileName, appPwd), 0, [&] {
        return session::InitializeVNFromConfigFile(interop::FromHostOptional(configFileName),
                                                   interop::FromHost(appPwd));
    });
}

MORU_API int MORU_CALL InitVNFromConfigFileWithReturnMsgs(const char* configFileName, const char* appPwd, int* size,
                                                          int* overAllSuccess, int* dbSuccessCodeObjHandle)
{
    return api::Contain(MORU_ARGUMENTS(configFileName, appPwd, size, overAllSuccess, dbSuccessCodeObjHandle), 0, [&] {
        if (!size || !overAllSuccess || !dbSuccessCodeObjHandle) return 0;
        *size = 0;
        *overAllSuccess = 0;
        *dbSuccessCodeObjHandle = 0;
        const auto report = session::InitVNFromConfigFileWithReturnMsgs(interop::FromHostOptional(configFileName),
                                                                        interop::FromHost(appPwd));
        *size = report.size;
        *overAllSuccess = report.overAllSuccess;
        *dbSuccessCodeObjHandle = interop::GetHandleFromObject(report.codes);
        return interop::GetHandleFromObject(report.messages);
    });
}

MORU_API int MORU_CALL GetNextDatabaseSuccessCode(int objectHandle, int position)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position), -1, [&] {
        const auto list = interop::GetObjectFromHandle<session::DatabaseCodeList>(objectHandle);
        return list ? session::GetNextDatabaseSuccessCode(*list, position).value_or(-1) : -1;
    });
}

MORU_API int MORU_CALL GetNextDatabaseErrorMessageSize(int objectHandle, int position)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position), -1, [&] {
        const auto list = interop::GetObjectFromHandle<session::DatabaseMessageList>(objectHandle);
        const auto message = list ? session::GetNextDatabaseErrorMessage(*list, position) : std::nullopt;
        return message ? static_cast<int>(interop::ToHost(*message).size()) + 1 : -1;
    });
}

MORU_API int MORU_CALL GetNextDatabaseErrorMessage(int objectHandle, int position, char* errMsg, int errMsgSize)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, errMsg, errMsgSize), 0, [&] {
        const auto list = interop::GetObjectFromHandle<session::DatabaseMessageList>(objectHandle);
        const auto message = list ? session::GetNextDatabaseErrorMessage(*list, position) : std::nullopt;
        return message && interop::CopyStringToCharBuffer(*message, errMsg, errMsgSize) ? 1 : 0;
    });
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
        if (!dbaseDOTdbankName || !value || valueBufSize <= 0) return 0;
        const auto description = session::GetDescriptionString(interop::FromHost(dbaseDOTdbankName));
        if (!description) {
            value[0] = '\0';
            return 0;
        }
        interop::CopySized(*description, value, valueBufSize);
        return 1;
    });
}

MORU_API void MORU_CALL SetDatabankTabFlag(bool bTab)
{
    api::Contain(MORU_ARGUMENTS(bTab), [&] { session::SetDatabankTab(bTab); });
}

MORU_API void MORU_CALL FindCompHelpID(void* callbackHtmlHelpTopic)
{
    api::Contain(MORU_ARGUMENTS(callbackHtmlHelpTopic), [&] {
        if (!callbackHtmlHelpTopic) return;
        reinterpret_cast<MoruHelpTopicCallback>(callbackHtmlHelpTopic)(session::FindCompoundsHelpTopic());
    });
}
