#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "interop/HostText.h"
#include "session/DatabankQueries.h"
#include "session/Resolution.h"

using namespace moru;

MORU_API void MORU_CALL SetPureDatabankList(const char** pureDatabankList, int numOfDB)
{
    // A null list holds no monikers, whatever its count says; the selection is still replaced.
    api::Contain(MORU_ARGUMENTS(pureDatabankList, numOfDB), [&] { session::SetPureDatabanks(interop::ReadHostList(pureDatabankList, numOfDB)); });
}

MORU_API void MORU_CALL Databank_GetIdentifiersOfCompoundsWithData(const char* databaseName, const char* databankName,
                                                                  int* compoundCollectionHandle)
{
    api::Contain(MORU_ARGUMENTS(databaseName, databankName, compoundCollectionHandle), [&] {
        if (!compoundCollectionHandle) return;
        *compoundCollectionHandle = 0;
        if (!databaseName || !databankName) return;
        *compoundCollectionHandle = session::GetIdentifiersOfCompoundsWithData(interop::FromHost(databaseName),
                                                                               interop::FromHost(databankName));
    });
}

MORU_API int MORU_CALL Databank_GetDatabankTypeAndPropertyList(const char* databaseName, const char* databankName,
                                                               int* databankTypes, int* propertyCollectionHandle)
{
    return api::Contain(MORU_ARGUMENTS(databaseName, databankName, databankTypes, propertyCollectionHandle), 0, [&] {
        if (!databaseName || !databankName || !databankTypes || !propertyCollectionHandle) return 0;
        *propertyCollectionHandle = 0;
        *databankTypes = 0;
        return session::GetDatabankTypeAndPropertyList(interop::FromHost(databaseName), interop::FromHost(databankName),
                                                       *databankTypes, *propertyCollectionHandle);
    });
}

MORU_API int MORU_CALL Databank_GetNextPropertyName(int propertyCollectionHandle, int position, char* propName)
{
    return api::Contain(MORU_ARGUMENTS(propertyCollectionHandle, position, propName), 0, [&] {
        if (propertyCollectionHandle == 0 || position < 0 || !propName) return 0;
        return session::GetNextPropertyName(propertyCollectionHandle, position, propName);
    });
}

MORU_API void MORU_CALL Databank_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
