#pragma once

// Compound search by identifier in the host's databanks, and the details of each hit.

#include "service/Database.h"

#include <string>
#include <vector>

namespace moru::compounds {

using namespace moru::service;

// The hits of a multiple search, behind one handle.
struct HitList {
    FoundCompoundsList hits;
};

// The first hit of the first database (in the order the host named them) that has any; its
// handle, or 0 without a hit. `identifierType` empty: any identifier.
int Find(const std::vector<std::string>& searchSource, const std::string& searchText, const std::string& identifierType,
         const std::string& outputPropertyName);

// Every hit of every database; the service leaves in `searchStrings` what the next database
// should still be asked. Writes the handle of the hit list; returns the number of hits.
int FindMultiple(const std::vector<std::string>& searchSource, const std::string& identifierType,
                 const std::vector<std::string>& identSearchStrings, const std::string& outputPropertyName,
                 int& objectHandle);

// The simulator's search: index, name and alias of the first match, `compIndex` -1 without one.
// The service starts from `name` and `alias`, what the host's buffers held; a match is copied
// into `compName` and `compAlias` (256 bytes each).
void FindVanta(const std::vector<std::string>& searchSource, const std::string& searchText, int dbankContentDataType,
               int& compIndex, std::string name, std::string alias, char* compName, char* compAlias);

// Host buffers receiving the details of a hit. Text buffers hold 256 bytes each.
struct HitDetailsBuffers {
    char* dbName;
    char* dbankName;
    int* compIndex;
    int* compoundPosition; // only for hits of a multiple search
    char* compName;
    char* compAlias;
    char* casNumber;
    char* propName;
    double* propertyValue;
};

// Writes the details of one hit; raises, leaving what was written, when the hit cannot be read
// (a property value of other than one element, an identifier without values).
void WriteHitDetails(const FoundCompounds& hit, const HitDetailsBuffers& buffers);

// Writes name, alias and CAS number of a hit by its identifier values (256-byte buffers).
void WriteIdentifiers(const FoundCompounds& hit, char* compName, char* compAlias, char* casNumber);

int GetObjectDetails(int objectHandle, const HitDetailsBuffers& buffers);
int GetNextCompoundIdentifier(int objectHandle, int position, const HitDetailsBuffers& buffers);

} // namespace moru::compounds
