#include "MoruIntegration.h"

#include "api/Contain.h"
#include "compounds/IdentifierLookups.h"

using namespace moru;

MORU_API void MORU_CALL GetIdValueFromDbank(const char* dbaseName, const char* dbankName, const char* idType,
                                           int compid, char* namebuf, int namebuflen, char* buffer, int buflen)
{
    api::Contain([&] {
        if (!namebuf || !buffer) return;
        compounds::GetIdentifierFromDatabank(dbaseName, dbankName, idType, compid, namebuf, namebuflen, buffer,
                                             buflen);
    });
}

MORU_API void MORU_CALL GetCompidFromIdInDbank(const char* dbaseName, const char* dbankName, const char* idType,
                                              const char* idValue, int* compid)
{
    api::Contain([&] {
        if (!compid) return;
        compounds::GetCompidFromIdentifierInDatabank(dbaseName, dbankName, idType, idValue, *compid);
    });
}
