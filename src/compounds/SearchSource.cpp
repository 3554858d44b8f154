#include "compounds/SearchSource.h"

#include "platform/Diagnostics.h"
#include "service/Errors.h"
#include "session/Resolution.h"

#include <algorithm>
#include <stdexcept>

namespace moru::compounds {

std::vector<DatabankGroup> ResolveSearchSource(const std::vector<std::string>& searchSource)
{
    std::vector<DatabankGroup> groups;
    for (const auto& entry : searchSource) {
        auto found = session::GetIDatabankFromReference(entry);
        if (!found) {
            platform::NoteFailure("databank reference ", entry, " has no full stop");
            throw std::invalid_argument("databank reference without a full stop: " + entry);
        }
        service::DatabankPtr databank = std::move(*found);
        if (!databank) throw std::invalid_argument("unknown databank: " + entry);
        service::DatabasePtr database = databank->Database();
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const DatabankGroup& candidate) { return candidate.database == database; });
        if (group == groups.end()) group = groups.insert(groups.end(), DatabankGroup{database, {}});
        group->databanks.Add(std::move(databank));
    }
    return groups;
}

std::shared_ptr<service::ICompoundManager> CompoundManagerOf(const service::DatabasePtr& database)
{
    auto manager = database ? database->CompoundManager() : nullptr;
    if (!manager) {
        platform::NoteFailure("database ", database ? database->Alias() : std::string("(none)"),
                              " offers no compounds");
        throw service::ServiceError("the database offers no compounds");
    }
    return manager;
}

} // namespace moru::compounds
