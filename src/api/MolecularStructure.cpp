#include "MoruIntegration.h"

#include "api/Contain.h"
#include "interop/HostText.h"
#include "properties/MolecularStructure.h"

using namespace moru;

MORU_API bool MORU_CALL GetMolecularStructureString(const char* dbaseName, const char* compoundId,
                                                    const char* compIdType, int structureType,
                                                    char* moleStructString)
{
    return api::Contain(MORU_ARGUMENTS(dbaseName, compoundId, compIdType, structureType, moleStructString), false, [&] {
        if (!moleStructString) return false;
        moleStructString[0] = '\0';
        if (!dbaseName || !compoundId || !compIdType) return false;
        return properties::GetMoleStructString(interop::FromHost(dbaseName), interop::FromHost(compoundId),
                                               interop::FromHost(compIdType), structureType, moleStructString);
    });
}

MORU_API void MORU_CALL PushDataToMoleStructControl(const char* dbaseName, const char* IdName, const char* IdType,
                                                    int StructureType, void* pMoleStructCtl)
{
    api::Contain(MORU_ARGUMENTS(dbaseName, IdName, IdType, StructureType, pMoleStructCtl), [&] {
        properties::PushDataToMoleStructCtl(pMoleStructCtl, interop::FromHost(dbaseName), interop::FromHost(IdName),
                                            interop::FromHost(IdType), StructureType);
    });
}
