#pragma once

// Molecular structures of a compound: copied into a host buffer, or pushed into the host's
// structure control.

#include <string>

namespace moru::properties {

// The structure text of a compound into a 4097-byte buffer, which the caller has emptied. True
// when the call completed, with the buffer empty when the database or the structure is unknown;
// false on a failure, and for a text of more than 4096 bytes in the host's code page.
bool GetMoleStructString(const std::string& dbaseName, const std::string& compoundId, const std::string& compIdType,
                         int structureType, char* moleStructString);

// Calls "GetMoleInfoFromData" on the host's control with the structure text. True when the
// control was called; false for a null control (without asking the service), an unknown database
// or structure, and a failed call.
bool PushDataToMoleStructCtl(void* moleStructControl, const std::string& dbaseName, const std::string& idName,
                             const std::string& idType, int structureType);

} // namespace moru::properties
