#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/HitDetails.h"
#include "api/Release.h"
#include "compounds/Enumeration.h"
#include "compounds/Search.h"
#include "interop/Handles.h"
#include "interop/HostText.h"

using namespace moru;

MORU_API int MORU_CALL GetAllCompounds(const char** searchSource, int* objectHandle, int* numCompounds)
{
    return api::Contain(MORU_ARGUMENTS(searchSource, objectHandle, numCompounds), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        if (!searchSource || !numCompounds) return 0;
        const auto list = compounds::GetAllCompounds(interop::ReadHostList(searchSource));
        *objectHandle = interop::GetHandleFromObject(list);
        *numCompounds = static_cast<int>(list->compounds.size());
        return 1;
    });
}

MORU_API int MORU_CALL GetAllCompounds_Identifiers(int objectHandle, int nget, char* name, char* alias, char* casNum)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, nget, name, alias, casNum), 0, [&] {
        if (!name || !alias || !casNum) return 0;
        const auto list = interop::GetObjectFromHandle<compounds::CompoundList>(objectHandle);
        if (!list) return 0;
        const auto compound = compounds::HitAt(list->compounds, nget);
        if (!compound) return 0;
        const auto identifiers = compounds::ReadIdentifiers(*compound);
        api::WriteHitIdentifiers(identifiers, name, alias, casNum);
        return identifiers.whole ? 1 : 0;
    });
}

MORU_API void MORU_CALL CompoundCollection_GetEnumerator(int compoundCollectionHandle, int* enumeratorHandle)
{
    api::Contain(MORU_ARGUMENTS(compoundCollectionHandle, enumeratorHandle), [&] {
        if (!enumeratorHandle) return;
        *enumeratorHandle = 0;
        auto collection = interop::GetObjectFromHandle<const service::CompoundCollection>(compoundCollectionHandle);
        if (!collection) return;
        *enumeratorHandle = interop::GetHandleFromObject(
            std::make_shared<compounds::CompoundCollectionEnumerator>(std::move(collection)));
    });
}

MORU_API int MORU_CALL CompoundCollectionEnum_MoveNext(int enumeratorHandle)
{
    return api::Contain(MORU_ARGUMENTS(enumeratorHandle), 0, [&] {
        return interop::EnumeratorMoveNext<compounds::CompoundCollectionEnumerator>(enumeratorHandle);
    });
}

MORU_API int MORU_CALL CompoundCollectionEnum_GetItem(int enumeratorHandle, int* compoundIndex, char* compoundName,
                                                      int compoundNameBufSize, char* compoundAlias,
                                                      int compoundAliasBufSize)
{
    return api::Contain(
        MORU_ARGUMENTS(enumeratorHandle, compoundIndex, compoundName, compoundNameBufSize, compoundAlias,
                       compoundAliasBufSize),
        0, [&] {
            if (!compoundIndex || !compoundName || !compoundAlias) return 0;
            // Both names are emptied before anything can fail; a size below 1 leaves no room at all.
            if (compoundNameBufSize >= 1) compoundName[0] = '\0';
            if (compoundAliasBufSize >= 1) compoundAlias[0] = '\0';
            const auto enumerator =
                interop::GetObjectFromHandle<compounds::CompoundCollectionEnumerator>(enumeratorHandle);
            const auto* entry = enumerator ? enumerator->Current() : nullptr;
            if (!entry) return 0;
            *compoundIndex = entry->first;
            if (entry->second.Name) {
                interop::CopySizedClosingLastByte(*entry->second.Name, compoundName, compoundNameBufSize);
            }
            if (entry->second.Alias) {
                interop::CopySizedClosingLastByte(*entry->second.Alias, compoundAlias, compoundAliasBufSize);
            }
            return 1;
        });
}

MORU_API void MORU_CALL CompoundCollection_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
MORU_API void MORU_CALL CompoundCollectionEnum_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
MORU_API void MORU_CALL GetAllCompounds_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
