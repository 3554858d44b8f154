#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "interop/Handles.h"
#include "interop/HostText.h"
#include "service/HostLimits.h"
#include "session/DatabankQueries.h"
#include "session/Resolution.h"

using namespace moru;

MORU_API void MORU_CALL SetPureDatabankList(const char** pureDatabankList, int numOfDB)
{
    // A null list holds no monikers, whatever its count says; the selection is still replaced.
    api::Contain(MORU_ARGUMENTS(pureDatabankList, numOfDB),
                 [&] { session::SetPureDatabanks(interop::ReadHostList(pureDatabankList, numOfDB)); });
}

MORU_API void MORU_CALL Databank_GetIdentifiersOfCompoundsWithData(const char* databaseName, const char* databankName,
                                                                   int* compoundCollectionHandle)
{
    api::Contain(MORU_ARGUMENTS(databaseName, databankName, compoundCollectionHandle), [&] {
        if (!compoundCollectionHandle) return;
        *compoundCollectionHandle = 0;
        if (!databaseName || !databankName) return;
        *compoundCollectionHandle = interop::GetHandleFromObject(session::GetIdentifiersOfCompoundsWithData(
            interop::FromHost(databaseName), interop::FromHost(databankName)));
    });
}

MORU_API int MORU_CALL Databank_GetDatabankTypeAndPropertyList(const char* databaseName, const char* databankName,
                                                               int* databankTypes, int* propertyCollectionHandle)
{
    return api::Contain(MORU_ARGUMENTS(databaseName, databankName, databankTypes, propertyCollectionHandle), 0, [&] {
        if (!databaseName || !databankName || !databankTypes || !propertyCollectionHandle) return 0;
        *propertyCollectionHandle = 0;
        *databankTypes = 0;
        const auto table = session::GetDatabankTypeAndPropertyList(interop::FromHost(databaseName),
                                                                   interop::FromHost(databankName), *databankTypes);
        if (!table) return 0;
        *propertyCollectionHandle = interop::GetHandleFromObject(table);
        return table->entryCount;
    });
}

MORU_API int MORU_CALL Databank_GetNextPropertyName(int propertyCollectionHandle, int position, char* propName)
{
    return api::Contain(MORU_ARGUMENTS(propertyCollectionHandle, position, propName), 0, [&] {
        if (propertyCollectionHandle == 0 || position < 0 || !propName) return 0;
        const auto table = interop::GetObjectFromHandle<session::PropertyNameTable>(propertyCollectionHandle);
        if (!table) return 0;
        std::string name;
        switch (session::GetNextPropertyName(*table, position, name)) {
        case session::PropertyNameAt::PastTheEnd: return -1;
        case session::PropertyNameAt::Gap: return 0;
        case session::PropertyNameAt::Name: break;
        }
        // The host's buffer carries no size: a longer name in an edited database would overrun it.
        service::CheckHostLimit(service::HostLimit::PropertyNameBytes, interop::ToHost(name).size());
        interop::CopyUnbounded(name, propName);
        return 1;
    });
}

MORU_API void MORU_CALL Databank_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
