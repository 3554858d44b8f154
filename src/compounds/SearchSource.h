#pragma once

// The host's list of databanks to search, resolved and grouped by database.

#include "service/Database.h"

#include <memory>
#include <string>
#include <vector>

namespace moru::compounds {

// The databanks of one database, in the order the host named them (a databank named twice is
// in its group twice).
struct DatabankGroup {
    service::DatabasePtr database;
    service::DatabankCollection databanks;
};

// Groups in order of their database's first appearance. Raises when an entry has no full stop or
// names a databank that the session does not know: then no search may be made at all.
std::vector<DatabankGroup> ResolveSearchSource(const std::vector<std::string>& searchSource);

// The compound manager of a database; raises when the database offers none.
std::shared_ptr<service::ICompoundManager> CompoundManagerOf(const service::DatabasePtr& database);

} // namespace moru::compounds
