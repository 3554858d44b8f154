#pragma once

// Converting between a compound's index in its database and its other identifiers, within one
// databank that must hold the compound.

#include "service/Database.h"

#include <string>

namespace moru::compounds {

using namespace moru::service;

inline constexpr const char* kCompoundIndexType = "CompoundIndex";

// True when the compound that `value` names as an identifier of `identifierType` has data in the
// databank. Raises what the service raises.
bool DatabankHasCompound(const std::string& identifierType, const std::string& value, ICompoundManager* manager,
                         const IDatabank* databank);

// Name and any identifier of a compound index. Returns whether the value was delivered.
bool GetIdentifierFromDatabank(const char* dbaseName, const char* dbankName, const char* idType, int compid,
                               char* namebuf, int namebuflen, char* buffer, int buflen);

// Compound index of an identifier value; `compid` 0 when there is none.
bool GetCompidFromIdentifierInDatabank(const char* dbaseName, const char* dbankName, const char* idType,
                                       const char* idValue, int& compid);

} // namespace moru::compounds
