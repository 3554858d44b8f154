#pragma once

// The details of a compound hit into the host's 256-byte buffers, shared by the search and the
// enumeration exports.

#include "compounds/Search.h"
#include "interop/HostText.h"

namespace moru::api {

// A text the hit has is copied by the rule of values; one it lacks empties the buffer.
inline void WriteHitText(const compounds::HitText& text, char* buffer)
{
    if (text) {
        interop::CopyToFixedBuffer(*text, buffer, interop::FixedBuffer::ShortText);
    } else {
        buffer[0] = '\0';
    }
}

// A field the reading did not reach leaves its buffer as it was.
inline void WriteHitField(const compounds::HitField& field, char* buffer)
{
    if (field) WriteHitText(*field, buffer);
}

inline void WriteHitIdentifiers(const compounds::HitIdentifiers& identifiers, char* compName, char* compAlias,
                                char* casNumber)
{
    WriteHitField(identifiers.name, compName);
    WriteHitField(identifiers.alias, compAlias);
    WriteHitField(identifiers.casNumber, casNumber);
}

// Writes what was read of a hit; `compoundPosition` null for a single hit. Returns whether the hit
// was read whole.
inline bool WriteHitDetails(const compounds::HitDetails& details, char* dbName, char* dbankName, int* compIndex,
                            int* compoundPosition, char* compName, char* compAlias, char* casNumber, char* propName,
                            double* propertyValue)
{
    if (details.compoundIndex) {
        *compIndex = *details.compoundIndex;
        if (compoundPosition) *compoundPosition = details.compoundPosition;
    }
    WriteHitText(details.databankName, dbankName);
    WriteHitText(details.databaseAlias, dbName);
    WriteHitField(details.propertyName, propName);
    if (details.propertyValue) *propertyValue = *details.propertyValue;
    WriteHitIdentifiers(details.identifiers, compName, compAlias, casNumber);
    return details.whole;
}

} // namespace moru::api
