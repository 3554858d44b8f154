#include "compounds/SearchSource.h"

#include "interop/References.h"
#include "service/Errors.h"
#include "session/Resolution.h"

#include <algorithm>

namespace moru::compounds {

std::vector<DatabankGroup> ResolveSearchSource(const std::vector<std::string>& searchSource)
{
    std::vector<DatabankGroup> groups;
    for (const auto& entry : searchSource) {
        const auto name = interop::SplitDatabankReference(entry);
        if (!name) throw std::invalid_argument("databank reference without a full stop: " + entry);
        DatabankPtr databank = session::GetIDatabankFromDbaseDbank(name->databaseAlias, name->databankName);
        if (!databank) throw std::invalid_argument("unknown databank: " + entry);
        DatabasePtr database = databank->Database();
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const DatabankGroup& candidate) { return candidate.database == database; });
        if (group == groups.end()) group = groups.insert(groups.end(), DatabankGroup{database, {}});
        group->databanks.Add(std::move(databank));
    }
    return groups;
}

std::shared_ptr<ICompoundManager> CompoundManagerOf(const DatabasePtr& database)
{
    auto manager = database ? database->CompoundManager() : nullptr;
    if (!manager) throw ServiceError("the database offers no compounds");
    return manager;
}

} // namespace moru::compounds
