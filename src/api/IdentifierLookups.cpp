#include "MoruIntegration.h"

#include "api/Contain.h"
#include "compounds/IdentifierLookups.h"
#include "interop/HostText.h"

using namespace moru;

MORU_API void MORU_CALL GetIdValueFromDbank(const char* dbaseName, const char* dbankName, const char* idType,
                                            int compid, char* namebuf, int namebuflen, char* buffer, int buflen)
{
    api::Contain(MORU_ARGUMENTS(dbaseName, dbankName, idType, compid, namebuf, namebuflen, buffer, buflen), [&] {
        if (!namebuf || !buffer || !dbaseName || !dbankName) return;
        const auto value = compounds::GetIdentifierFromDatabank(
            interop::FromHost(dbaseName), interop::FromHost(dbankName), interop::FromHostOptional(idType), compid,
            [&](const std::string& name) { return interop::CopyStringToCharBuffer(name, namebuf, namebuflen); });
        if (value) interop::CopyStringToCharBuffer(*value, buffer, buflen);
    });
}

MORU_API void MORU_CALL GetCompidFromIdInDbank(const char* dbaseName, const char* dbankName, const char* idType,
                                               const char* idValue, int* compid)
{
    api::Contain(MORU_ARGUMENTS(dbaseName, dbankName, idType, idValue, compid), [&] {
        if (!compid) return;
        *compid = 0;
        if (!dbaseName || !dbankName || !idType || !idValue) return;
        *compid =
            compounds::GetCompidFromIdentifierInDatabank(interop::FromHost(dbaseName), interop::FromHost(dbankName),
                                                         interop::FromHost(idType), interop::FromHost(idValue))
                .value_or(0);
    });
}
