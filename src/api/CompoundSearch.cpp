#include "MoruIntegration.h"

#include "api/Contain.h"
#include "api/HitDetails.h"
#include "api/Release.h"
#include "compounds/Search.h"
#include "interop/Handles.h"
#include "interop/HostText.h"

using namespace moru;

MORU_API int MORU_CALL FoundCompounds_Find(const char** searchSource, const char* identSearchString,
                                           const char* outputPropertyName, int* objectHandle)
{
    return api::Contain(MORU_ARGUMENTS(searchSource, identSearchString, outputPropertyName, objectHandle), 0, [&] {
        if (!objectHandle) return 0;
        *objectHandle = 0;
        if (!searchSource || !identSearchString) return 0;
        *objectHandle = interop::GetHandleFromObject(compounds::Find(interop::ReadHostList(searchSource),
                                                                     interop::FromHost(identSearchString), "",
                                                                     interop::FromHost(outputPropertyName)));
        return *objectHandle != 0 ? 1 : 0;
    });
}

MORU_API int MORU_CALL FoundCompounds_FindByIdentifierType(const char** searchSource, const char* identSearchString,
                                                           const char* identifierType, const char* outputPropertyName,
                                                           int* objectHandle)
{
    return api::Contain(
        MORU_ARGUMENTS(searchSource, identSearchString, identifierType, outputPropertyName, objectHandle), 0, [&] {
            if (!objectHandle) return 0;
            *objectHandle = 0;
            if (!searchSource || !identSearchString || !identifierType) return 0;
            *objectHandle = interop::GetHandleFromObject(
                compounds::Find(interop::ReadHostList(searchSource), interop::FromHost(identSearchString),
                                interop::FromHost(identifierType), interop::FromHost(outputPropertyName)));
            return *objectHandle != 0 ? 1 : 0;
        });
}

MORU_API int MORU_CALL FoundCompounds_FindMultiple(const char** searchSource, const char* identifierType,
                                                   const char** identSearchStrings, const char* outputPropertyName,
                                                   int* objectHandle)
{
    if (!objectHandle) return 0;
    *objectHandle = 0;
    if (!searchSource || !identSearchStrings || !identifierType) return 0;
    return api::Contain(
        MORU_ARGUMENTS(searchSource, identifierType, identSearchStrings, outputPropertyName, objectHandle), -1, [&] {
            const auto hitList = compounds::FindMultiple(
                interop::ReadHostList(searchSource), interop::FromHost(identifierType),
                interop::ReadHostList(identSearchStrings), interop::FromHost(outputPropertyName));
            *objectHandle = interop::GetHandleFromObject(hitList);
            return static_cast<int>(hitList->hits.size());
        });
}

MORU_API int MORU_CALL FoundCompounds_Find_Vanta(const char** searchSource, const char* identSearchString,
                                                 int dbankContentDataType, int* compIndex, char* compName,
                                                 char* compAlias)
{
    return api::Contain(
        MORU_ARGUMENTS(searchSource, identSearchString, dbankContentDataType, compIndex, compName, compAlias), 0, [&] {
            if (!compIndex) return 0;
            *compIndex = -1;
            if (!searchSource || !identSearchString || !compName || !compAlias) return 0;
            const auto match =
                compounds::FindVanta(interop::ReadHostList(searchSource), interop::FromHost(identSearchString),
                                     dbankContentDataType, interop::FromHost(compName), interop::FromHost(compAlias));
            if (match) {
                *compIndex = match->compoundIndex;
                interop::CopyToFixedBuffer(match->name, compName, interop::FixedBuffer::ShortText);
                interop::CopyToFixedBuffer(match->alias, compAlias, interop::FixedBuffer::ShortText);
            }
            return 1;
        });
}

MORU_API int MORU_CALL FoundCompounds_GetObjectDetails(int objectHandle, char* dbName, char* dbankName, int* compIndex,
                                                       char* compName, char* compAlias, char* casNumber, char* propName,
                                                       double* propertyValue)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, dbName, dbankName, compIndex, compName, compAlias, casNumber,
                                       propName, propertyValue),
                        0, [&] {
                            if (objectHandle == 0 || !dbName || !dbankName || !compIndex || !compName || !compAlias ||
                                !casNumber || !propName || !propertyValue)
                                return 0;
                            const auto hit = interop::GetObjectFromHandle<service::FoundCompounds>(objectHandle);
                            if (!hit) return 0;
                            return api::WriteHitDetails(compounds::ReadHitDetails(*hit), dbName, dbankName, compIndex,
                                                        nullptr, compName, compAlias, casNumber, propName,
                                                        propertyValue)
                                       ? 1
                                       : 0;
                        });
}

MORU_API int MORU_CALL FoundCompounds_GetNextCompoundIdentifier(int objectHandle, int position, int* compoundPosition,
                                                                char* dbName, char* dbankName, int* compIndex,
                                                                char* compName, char* compAlias, char* casNumber,
                                                                char* propName, double* propertyValue)
{
    return api::Contain(MORU_ARGUMENTS(objectHandle, position, compoundPosition, dbName, dbankName, compIndex, compName,
                                       compAlias, casNumber, propName, propertyValue),
                        -1, [&] {
                            if (objectHandle == 0 || !compoundPosition || !dbName || !dbankName || !compIndex ||
                                !compName || !compAlias || !casNumber || !propName || !propertyValue)
                                return -1;
                            const auto hitList = interop::GetObjectFromHandle<compounds::HitList>(objectHandle);
                            if (!hitList) return -1;
                            const auto hit = compounds::HitAt(hitList->hits, position);
                            if (!hit) return -1;
                            return api::WriteHitDetails(compounds::ReadHitDetails(*hit), dbName, dbankName, compIndex,
                                                        compoundPosition, compName, compAlias, casNumber, propName,
                                                        propertyValue)
                                       ? 1
                                       : -1;
                        });
}

MORU_API void MORU_CALL FoundCompounds_ReleaseHandle(int handle) { api::ReleaseAnyHandle(handle); }
