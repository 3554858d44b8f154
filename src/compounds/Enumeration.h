#pragma once

// Walking compounds without a search: the compounds of a database, and compound collections.

#include "service/Database.h"

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace moru::compounds {

// The compounds of a database, behind one handle, readable at any position.
struct CompoundList {
    service::FoundCompoundsList compounds;
};

// A forward-only walk over a compound collection; it keeps its collection alive by itself.
class CompoundCollectionEnumerator {
public:
    explicit CompoundCollectionEnumerator(service::CompoundCollectionPtr collection)
        : m_collection(std::move(collection))
    {}
    bool MoveNext();
    // The current entry; null, noting why, before the first MoveNext and after the end.
    const std::pair<int, service::CompoundNames>* Current() const;

private:
    service::CompoundCollectionPtr m_collection;
    std::ptrdiff_t m_position = -1;
};

// The compounds of the first database of the source list that offers a list.
std::shared_ptr<CompoundList> GetAllCompounds(const std::vector<std::string>& searchSource);

} // namespace moru::compounds
