#include "properties/MolecularStructure.h"

#include "platform/Diagnostics.h"
#include "session/Session.h"

namespace moru::properties {

std::optional<std::string> FindStructure(const std::string& dbaseName, const std::string& compoundId,
                                         const std::string& compIdType, int structureType)
{
    const service::DatabasePtr database = session::MoruGUIDataFunctions::Instance().Databases().Find(dbaseName);
    if (!database) {
        platform::NoteFailure("database ", dbaseName, " is not connected");
        return std::nullopt;
    }
    const auto molData = database->MolDataManager();
    if (!molData) {
        platform::NoteFailure("database ", dbaseName, " offers no structures");
        return std::nullopt;
    }
    std::string structureText;
    if (!molData->GetStructureByName(compoundId, compIdType, structureText, structureType)) {
        platform::NoteFailure("database ", dbaseName, " has no structure of type ", structureType, " for compound ",
                              compoundId);
        return std::nullopt;
    }
    return structureText;
}

bool PushDataToMoleStructCtl(const platform::AutomationObject& control, const std::string& dbaseName,
                             const std::string& idName, const std::string& idType, int structureType)
{
    if (control.IsNull()) {
        platform::NoteFailure("no structure control");
        return false;
    }
    const auto structureText = FindStructure(dbaseName, idName, idType, structureType);
    if (!structureText) return false;
    if (control.CallWithText("GetMoleInfoFromData", *structureText)) return true;
    platform::NoteFailure("the structure control's GetMoleInfoFromData failed");
    return false;
}

} // namespace moru::properties
