#pragma once

// Molecular structures of a compound: their texts, or pushed into the host's structure control.

#include "platform/Automation.h"

#include <optional>
#include <string>

namespace moru::properties {

// The structure text of a compound; nullopt when the database, its structures or the compound's
// structure of that type are unknown.
std::optional<std::string> FindStructure(const std::string& dbaseName, const std::string& compoundId,
                                         const std::string& compIdType, int structureType);

// Calls "GetMoleInfoFromData" on the control with the structure text. True when the control was
// called; false for a null control (without asking the service), an unknown database or structure,
// and a failed call.
bool PushDataToMoleStructCtl(const platform::AutomationObject& control, const std::string& dbaseName,
                             const std::string& idName, const std::string& idType, int structureType);

} // namespace moru::properties
