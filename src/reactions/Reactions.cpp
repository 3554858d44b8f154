#include "reactions/Reactions.h"

#include "interop/Handles.h"
#include "interop/HostText.h"
#include "interop/Numbers.h"
#include "interop/References.h"
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
    DatabasePtr database;
    std::vector<std::string> databankNames;
};

// -1 as the call's result when a databank is not in the catalogue; raises for malformed entries.
std::optional<std::vector<DatabaseGroup>> GroupDatabanks(const std::vector<std::string>& databankList)
{
    std::vector<DatabaseGroup> groups;
    std::vector<std::string> seen;
    for (const auto& entry : databankList) {
        std::string folded = platform::FoldCase(entry);
        if (Contains(seen, folded)) throw std::invalid_argument("databank named twice: " + entry);
        seen.push_back(std::move(folded));
        const auto name = interop::SplitDatabankReference(entry);
        if (!name) throw std::invalid_argument("databank reference without a full stop: " + entry);
        const DatabankPtr databank = session::GetIDatabankFromDbaseDbank(name->databaseAlias, name->databankName);
        if (!databank) return std::nullopt;
        const DatabasePtr database = databank->Database();
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const DatabaseGroup& candidate) { return candidate.database == database; });
        if (group == groups.end()) group = groups.insert(groups.end(), DatabaseGroup{database, {}});
        if (!Contains(group->databankNames, databank->Name())) group->databankNames.push_back(databank->Name());
    }
    return groups;
}

// The reactions of one database, found from the host's compounds.
std::map<int, ReactionRecord> CollectFromDatabase(const DatabaseGroup& group, std::vector<std::string> compounds,
                                                  const std::string& compoundIdType, int searchType)
{
    std::map<int, ReactionRecord> found;
    // Such a database reports no reactions in the listing, so it hands out none either.
    if (group.database && group.database->DatabaseVersion() == kVersionWithoutReactions) return found;
    const auto manager = group.database ? group.database->ReactionManager() : nullptr;
    if (!manager) throw ServiceError("the database holds no reactions");
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

bool IsValidReaction(const ReactionRecord& reaction, const std::vector<std::string>& compounds)
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

int GetAllReactionObjects(std::vector<std::string> compoundList, const std::vector<std::string>& databankList,
                          const std::string& compoundIdType, int searchType, int& objectHandle)
{
    if (!Contains(compoundList, kWater)) compoundList.emplace_back(kWater);
    const auto groups = GroupDatabanks(databankList);
    if (!groups) return -1;

    auto set = std::make_shared<ReactionSet>();
    for (const auto& group : *groups) {
        // Each database starts from the host's list: what one database adds does not widen another.
        for (auto& [id, reaction] : CollectFromDatabase(group, compoundList, compoundIdType, searchType))
            set->reactions.push_back(std::move(reaction));
    }
    objectHandle = interop::GetHandleFromObject(set);
    return static_cast<int>(set->reactions.size());
}

int GetNextReactionObject(int objectHandle, int position, const ReactionBuffers& buffers)
{
    const auto set = interop::GetObjectFromHandle<ReactionSet>(objectHandle);
    if (!set || position < 0) return 0;
    if (static_cast<std::size_t>(position) >= set->reactions.size()) return -1;
    const ReactionRecord& reaction = set->reactions[static_cast<std::size_t>(position)];
    const std::size_t speciesCount = reaction.Synonyms.size();
    if (reaction.Coefficients.size() != speciesCount) throw ServiceError("a reaction whose species lack coefficients");

    // Everything that could stop the read is checked before the first write: a half-written
    // reaction, or a species alias cut short into another species' name, would mislead the host.
    // The host's arrays carry no size, so a reaction of a database edited beyond the documented
    // limits is refused rather than written past them.
    constexpr auto aliasSize = static_cast<std::size_t>(interop::FixedBuffer::SpeciesAlias);
    CheckHostLimit(HostLimit::ReactionSpecies, speciesCount);
    CheckHostLimit(HostLimit::EquilibriumConstants, reaction.EqConsts.size());
    CheckHostLimit(HostLimit::EquilibriumConstants, reaction.SymmetricEqConsts.size());
    if (!reaction.SymmetricEqConsts.empty() && !buffers.symmetricEqConsts) return 0;
    for (std::size_t i = 0; i < speciesCount; ++i) {
        if (!buffers.compAliases[i]) return 0;
        if (interop::ToHost(reaction.Synonyms[i]).size() >= aliasSize) return 0;
    }

    constexpr auto shortText = static_cast<int>(interop::FixedBuffer::ShortText);
    interop::CopySizedClosingLastByte(reaction.Type, buffers.type, shortText);
    interop::CopySizedClosingLastByte(reaction.Basis, buffers.basis, shortText);
    *buffers.compListSize = static_cast<int>(speciesCount);
    interop::WriteNumbers(reaction.EqConsts, buffers.eqConsts);
    if (!reaction.SymmetricEqConsts.empty()) interop::WriteNumbers(reaction.SymmetricEqConsts, buffers.symmetricEqConsts);
    for (std::size_t i = 0; i < speciesCount; ++i) {
        buffers.stoicCoeffs[i] = reaction.Coefficients[i];
        interop::CopySized(reaction.Synonyms[i], buffers.compAliases[i], static_cast<int>(aliasSize));
    }
    return 1;
}

} // namespace moru::reactions
