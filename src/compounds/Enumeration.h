#pragma once

// Walking compounds without a search: the compounds of a database, and compound collections.

#include "service/Database.h"

#include <string>
#include <vector>

namespace moru::compounds {

using namespace moru::service;

// The compounds of a database, behind one handle, readable at any position.
struct CompoundList {
    FoundCompoundsList compounds;
};

// A forward-only walk over a compound collection; it keeps its collection alive by itself.
class CompoundCollectionEnumerator {
public:
    explicit CompoundCollectionEnumerator(CompoundCollectionPtr collection) : m_collection(std::move(collection)) {}
    bool MoveNext();
    // The current entry; null before the first MoveNext and after the end.
    const std::pair<int, CompoundNames>* Current() const;

private:
    CompoundCollectionPtr m_collection;
    std::ptrdiff_t m_position = -1;
};

// The compounds of the first database of the source list that offers a list. Writes the handle
// and the count.
void GetAllCompounds(const std::vector<std::string>& searchSource, int& objectHandle, int& numCompounds);

int GetAllCompoundsIdentifiers(int objectHandle, int nget, char* name, char* alias, char* casNum);

// Handle of a new enumerator over the collection behind the handle; 0 when it holds none.
int GetEnumerator(int compoundCollectionHandle);

int MoveNext(int enumeratorHandle);

int GetItem(int enumeratorHandle, int& compoundIndex, char* compoundName, int compoundNameBufSize,
            char* compoundAlias, int compoundAliasBufSize);

} // namespace moru::compounds
