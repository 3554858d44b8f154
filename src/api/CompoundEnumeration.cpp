#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/Release.h"
#include "compounds/Enumeration.h"
#include "interop/HostText.h"

using namespace moru;

MORU_API int MORU_CALL GetAllCompounds(const char** searchSource, int* objectHandle, int* numCompounds)
{
    return api::Contain(MORU_ARGUMENTS(searchSource, objectHandle, numCompounds), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        if (!searchSource || !numCompounds) return 0;
        compounds::GetAllCompounds(interop::ReadHostList(searchSource), *objectHandle, *numCompounds);
        return 1;
    });
}

MORU_API int MORU_CALL GetAllCompounds_Identifiers(int objectHandle, int nget, char* name, char* alias, char* casNum)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, nget, name, alias, casNum), 0, [&] {
        if (!name || !alias || !casNum) return 0;
        return compounds::GetAllCompoundsIdentifiers(objectHandle, nget, name, alias, casNum);
    });
}

MORU_API void MORU_CALL CompoundCollection_GetEnumerator(int compoundCollectionHandle, int* enumeratorHandle)
{
    api::Contain(MORU_ARGUMENTS(compoundCollectionHandle, enumeratorHandle), [&] {
        if (!enumeratorHandle) return;
        *enumeratorHandle = 0;
        *enumeratorHandle = compounds::GetEnumerator(compoundCollectionHandle);
    });
}

MORU_API int MORU_CALL CompoundCollectionEnum_MoveNext(int enumeratorHandle)
{
    return api::Contain(MORU_ARGUMENTS(enumeratorHandle), 0, [&] { return compounds::MoveNext(enumeratorHandle); });
}

MORU_API int MORU_CALL CompoundCollectionEnum_GetItem(int enumeratorHandle, int* compoundIndex, char* compoundName,
                                                      int compoundNameBufSize, char* compoundAlias,
                                                      int compoundAliasBufSize)
{
    return api::Contain(MORU_ARGUMENTS(enumeratorHandle, compoundIndex, compoundName, compoundNameBufSize, compoundAlias, compoundAliasBufSize), 0, [&] {
        if (!compoundIndex || !compoundName || !compoundAlias) return 0;
        // Both names are emptied before anything can fail; a size below 1 leaves no room at all.
        if (compoundNameBufSize >= 1) compoundName[0] = '\0';
        if (compoundAliasBufSize >= 1) compoundAlias[0] = '\0';
        return compounds::GetItem(enumeratorHandle, *compoundIndex, compoundName, compoundNameBufSize, compoundAlias,
                                  compoundAliasBufSize);
    });
}

MORU_API void MORU_CALL CompoundCollection_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
MORU_API void MORU_CALL CompoundCollectionEnum_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
MORU_API void MORU_CALL GetAllCompounds_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
