#include "properties/MolecularStructure.h"

#include "interop/HostText.h"
#include "platform/Automation.h"
#include "session/Session.h"

#include <optional>

namespace moru::properties {

namespace {

// The structure text of a compound; nullopt when the database, its structures or the compound's
// structure of that type are unknown.
std::optional<std::string> FindStructure(const std::string& dbaseName, const std::string& compoundId,
                                         const std::string& compIdType, int structureType)
{
    const service::DatabasePtr database = session::MoruGUIDataFunctions::Instance().Databases().Find(dbaseName);
    if (!database) return std::nullopt;
    const auto molData = database->MolDataManager();
    if (!molData) return std::nullopt;
    std::string structureText;
    if (!molData->GetStructureByName(compoundId, compIdType, structureText, structureType)) return std::nullopt;
    return structureText;
}

} // namespace

bool GetMoleStructString(const std::string& dbaseName, const std::string& compoundId, const std::string& compIdType,
                         int structureType, char* moleStructString)
{
    const auto structureText = FindStructure(dbaseName, compoundId, compIdType, structureType);
    if (!structureText) return true;
    return interop::CopySized(*structureText, moleStructString, static_cast<int>(interop::FixedBuffer::StructureText));
}

bool PushDataToMoleStructCtl(void* moleStructControl, const std::string& dbaseName, const std::string& idName,
                             const std::string& idType, int structureType)
{
    const platform::AutomationObject control(moleStructControl);
    if (control.IsNull()) return false;
    const auto structureText = FindStructure(dbaseName, idName, idType, structureType);
    if (!structureText) return false;
    return control.CallWithText("GetMoleInfoFromData", *structureText);
}

} // namespace moru::properties
