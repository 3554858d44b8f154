#pragma once

// Converting between a compound's index in its database and its other identifiers, within one
// databank that must hold the compound.

#include "service/Contract.h"
#include "service/Database.h"

#include <optional>
#include <string>
#include <string_view>

namespace moru::compounds {

using namespace moru::service;

// True when the compound that `value` names as an identifier of `identifierType` has data in the
// databank. Raises what the service raises.
bool DatabankHasCompound(const std::string& identifierType, const std::string& value, ICompoundManager* manager,
                         const IDatabank* databank);

// Name and any identifier of a compound index, into the host's buffers. Returns whether the
// value was delivered; the name stays in `namebuf` when a later step fails. Without `idType`
// only the name is delivered.
bool GetIdentifierFromDatabank(std::string_view dbaseName, std::string_view dbankName,
                               const std::optional<std::string>& idType, int compid, char* namebuf, int namebuflen,
                               char* buffer, int buflen);

// Compound index of an identifier value; `compid` 0 when there is none.
bool GetCompidFromIdentifierInDatabank(std::string_view dbaseName, std::string_view dbankName,
                                       const std::string& idType, const std::string& idValue, int& compid);

} // namespace moru::compounds
