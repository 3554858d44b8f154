#include "MoruIntegration.h"

#include "api/Contain.h"
#include "interop/HostText.h"
#include "platform/Automation.h"
#include "properties/MolecularStructure.h"

using namespace moru;

MORU_API bool MORU_CALL GetMolecularStructureString(const char* dbaseName, const char* compoundId,
                                                    const char* compIdType, int structureType, char* moleStructString)
{
    return api::Contain(MORU_ARGUMENTS(dbaseName, compoundId, compIdType, structureType, moleStructString), false, [&] {
        if (!moleStructString) return false;
        moleStructString[0] = '\0';
        if (!dbaseName || !compoundId || !compIdType) return false;
        const auto structureText = properties::FindStructure(
            interop::FromHost(dbaseName), interop::FromHost(compoundId), interop::FromHost(compIdType), structureType);
        // An unknown database or structure completes with the buffer empty.
        if (!structureText) return true;
        return interop::CopySized(*structureText, moleStructString,
                                  static_cast<int>(interop::FixedBuffer::StructureText));
    });
}

MORU_API void MORU_CALL PushDataToMoleStructControl(const char* dbaseName, const char* IdName, const char* IdType,
                                                    int StructureType, void* pMoleStructCtl)
{
    api::Contain(MORU_ARGUMENTS(dbaseName, IdName, IdType, StructureType, pMoleStructCtl), [&] {
        const platform::AutomationObject control(pMoleStructCtl);
        properties::PushDataToMoleStructCtl(control, interop::FromHost(dbaseName), interop::FromHost(IdName),
                                            interop::FromHost(IdType), StructureType);
    });
}
