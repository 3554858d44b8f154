#include "reactions/Reactions.h"

#include "interop/HostText.h"
#include "interop/References.h"
#include "platform/Diagnostics.h"
#include "platform/Text.h"
#include "service/Errors.h"
#include "service/HostLimits.h"
#include "session/Resolution.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace moru::reactions {

namespace {

constexpr const char* kWater = "H2O";
constexpr const char* kDissociation = "DISS";

bool Contains(const std::vector<std::string>& compounds, const std::string& compound)
{
    return std::find(compounds.begin(), compounds.end(), compound) != compounds.end();
}

// The databanks of one database, by name, in the host's order.
struct DatabaseGroup {
    service::DatabasePtr database;
    std::vector<std::string> databankNames;
};

// -1 as the call's result when a databank is not in the catalogue; raises for malformed entries.
std::optional<std::vector<DatabaseGroup>> GroupDatabanks(const std::vector<std::string>& databankList)
{
    std::vector<DatabaseGroup> groups;
    std::vector<std::string> seen;
    for (const auto& entry : databankList) {
        std::string folded = platform::FoldCase(entry);
        if (Contains(seen, folded)) {
            platform::NoteFailure("databank ", entry, " is named twice");
            throw std::invalid_argument("databank named twice: " + entry);
        }
        seen.push_back(std::move(folded));
        const auto name = interop::SplitDatabankReference(entry);
        if (!name) {
            platform::NoteFailure("databank reference ", entry, " has no full stop");
            throw std::invalid_argument("databank reference without a full stop: " + entry);
        }
        const service::DatabankPtr databank =
            session::GetIDatabankFromDbaseDbank(name->databaseAlias, name->databankName);
        if (!databank) return std::nullopt;
        const service::DatabasePtr database = databank->Database();
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const DatabaseGroup& candidate) { return candidate.database == database; });
        if (group == groups.end()) group = groups.insert(groups.end(), DatabaseGroup{database, {}});
        if (!Contains(group->databankNames, databank->Name())) group->databankNames.push_back(databank->Name());
    }
    return groups;
}

// The reactions of one database, found from the host's compounds.
std::map<int, service::ReactionRecord> CollectFromDatabase(const DatabaseGroup& group,
                                                           std::vector<std::string> compounds,
                                                           const std::string& compoundIdType, int searchType)
{
    std::map<int, service::ReactionRecord> found;
    // Such a database reports no reactions in the listing, so it hands out none either.
    if (group.database && group.database->DatabaseVersion() == service::kVersionWithoutReactions) return found;
    const auto manager = group.database ? group.database->ReactionManager() : nullptr;
    if (!manager) {
        platform::NoteFailure("database ", group.database ? group.database->Alias() : std::string("(none)"),
                              " holds no reactions");
        throw service::ServiceError("the database holds no reactions");
    }
    for (;;) {
        const std::size_t known = compounds.size();
        auto reactions = manager->GetCompoundsReactions(compounds, compoundIdType, group.databankNames);
        if (!reactions) break;
        for (auto& reaction : *reactions) {
            if (searchType == EveryReaction) {
                found.try_emplace(reaction.Id, reaction);
            } else if (searchType == Widening && IsValidReaction(reaction, compounds)) {
                // The list grows while this query's reactions are examined, so later ones are tested
                // against what earlier ones added.
                const bool dissociation = reaction.Type == kDissociation;
                for (std::size_t i = 0; i < reaction.Synonyms.size(); ++i) {
                    if (dissociation && !(reaction.Coefficients.at(i) > 0)) continue;
                    if (!Contains(compounds, reaction.Synonyms[i])) compounds.push_back(reaction.Synonyms[i]);
                }
                found.try_emplace(reaction.Id, std::move(reaction));
            }
        }
        if (compounds.size() == known) break;
    }
    return found;
}

} // namespace

bool IsValidReaction(const service::ReactionRecord& reaction, const std::vector<std::string>& compounds)
{
    bool reactantsPresent = true, productsPresent = true;
    for (std::size_t i = 0; i < reaction.Synonyms.size(); ++i) {
        const double coefficient = i < reaction.Coefficients.size() ? reaction.Coefficients[i] : 0.0;
        const bool present = Contains(compounds, reaction.Synonyms[i]);
        if (coefficient < 0) reactantsPresent = reactantsPresent && present;
        if (coefficient > 0) productsPresent = productsPresent && present;
    }
    if (reaction.Type == kDissociation) return reactantsPresent;
    return reactantsPresent || productsPresent;
}

std::shared_ptr<ReactionSet> GetAllReactionObjects(std::vector<std::string> compoundList,
                                                   const std::vector<std::string>& databankList,
                                                   const std::string& compoundIdType, int searchType)
{
    if (!Contains(compoundList, kWater)) compoundList.emplace_back(kWater);
    const auto groups = GroupDatabanks(databankList);
    if (!groups) return nullptr;

    auto set = std::make_shared<ReactionSet>();
    for (const auto& group : *groups) {
        // Each database starts from the host's list: what one database adds does not widen another.
        for (auto& [id, reaction] : CollectFromDatabase(group, compoundList, compoundIdType, searchType))
            set->reactions.push_back(std::move(reaction));
    }
    return set;
}

const service::ReactionRecord* ReactionAt(const ReactionSet& set, int position)
{
    if (position < 0) {
        platform::NoteFailure("position ", position, " is negative");
        return nullptr;
    }
    if (static_cast<std::size_t>(position) >= set.reactions.size()) {
        platform::NoteFailure("position ", position, " is past the last of ", set.reactions.size(), " reactions");
        return nullptr;
    }
    return &set.reactions[static_cast<std::size_t>(position)];
}

bool FitsTheHost(const service::ReactionRecord& reaction)
{
    const std::size_t speciesCount = reaction.Synonyms.size();
    if (reaction.Coefficients.size() != speciesCount) {
        platform::NoteFailure("reaction ", reaction.Id, " has ", speciesCount, " species and ",
                              reaction.Coefficients.size(), " coefficients");
        throw service::ServiceError("a reaction whose species lack coefficients");
    }
    // The host's arrays carry no size, so a reaction of a database edited beyond the documented
    // limits is refused rather than written past them.
    const std::pair<service::HostLimit, std::size_t> counts[] = {
        {service::HostLimit::ReactionSpecies, speciesCount},
        {service::HostLimit::EquilibriumConstants, reaction.EqConsts.size()},
        {service::HostLimit::EquilibriumConstants, reaction.SymmetricEqConsts.size()}};
    for (const auto& [limit, count] : counts) {
        if (auto beyond = service::BeyondHostLimit(limit, count)) {
            platform::NoteFailure("reaction ", reaction.Id, ": ", *beyond);
            throw service::ServiceError(*beyond);
        }
    }
    // An alias cut short into another species' name would mislead the host.
    constexpr auto aliasSize = static_cast<std::size_t>(interop::FixedBuffer::SpeciesAlias);
    for (const auto& alias : reaction.Synonyms) {
        const std::size_t bytes = interop::ToHost(alias).size();
        if (bytes >= aliasSize) {
            platform::NoteFailure("species ", alias, " of reaction ", reaction.Id, " needs ", bytes + 1,
                                  " bytes; an alias buffer holds ", aliasSize);
            return false;
        }
    }
    return true;
}

} // namespace moru::reactions
