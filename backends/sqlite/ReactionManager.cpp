#include "Managers.h"

#include "Schema.h"

#include "platform/Text.h"

#include <map>
#include <set>

namespace moru::sqlite {

using namespace moru::service;

int SqliteReactionManager::GetAllReactionsCount(const IDatabank* databank)
{
    if (!databank) return m_database->ReactionCount(std::nullopt);
    const DatabankRecord* record = m_database->OwnDatabank(*databank);
    if (!record) return 0;
    return m_database->ReactionCount(record->Id);
}

namespace {

// The first identifier of `type` of a compound; nullopt when it has none.
std::optional<std::string> IdentifierOf(const SqliteDatabase& database, int compoundId, const std::string& type)
{
    auto& identifiers = database.Db().Cached(sql::SelectIdentifiersOfCompound).Bind(1, compoundId);
    while (identifiers.Step()) {
        if (type.empty() || platform::EqualsIgnoringCase(identifiers.TextView(0), type)) return identifiers.Text(1);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<ReactionRecord>> SqliteReactionManager::GetCompoundsReactions(
    const std::vector<std::string>& compounds, const std::string& identifierType,
    const std::vector<std::string>& databankNames)
{
    std::set<int> databankIds;
    for (const auto& name : databankNames) {
        if (const DatabankRecord* record = m_database->DatabankByName(name)) databankIds.insert(record->Id);
    }
    auto& db = m_database->Db();

    // The caller's compounds as compounds of this database, each remembered by the caller's own
    // text so that it is echoed as written; species that are no compound match by their own name.
    std::map<int, std::string> namedCompounds;
    std::set<int> reactionIds;
    const auto collect = [&](Statement& query) {
        while (query.Step()) {
            if (databankIds.count(query.Int(1))) reactionIds.insert(query.Int(0));
        }
    };
    for (const auto& text : compounds) {
        for (int id : FindCompoundsByIdentifier(*m_database, text, identifierType)) {
            if (!namedCompounds.emplace(id, text).second) continue;
            collect(db.Cached(sql::SelectReactionsOfCompound).Bind(1, id));
        }
        collect(db.Cached(sql::SelectReactionsOfSpeciesName).Bind(1, text));
    }
    if (reactionIds.empty()) return std::nullopt;

    std::vector<ReactionRecord> reactions;
    reactions.reserve(reactionIds.size());
    for (int id : reactionIds) {
        auto& row = db.Cached(sql::SelectReaction).Bind(1, id);
        if (!row.Step()) continue;
        ReactionRecord reaction;
        reaction.Id = id;
        reaction.Type = row.Text(0);
        reaction.Basis = row.Text(1);
        const auto constants = row.BlobView(2), symmetric = row.BlobView(3);
        reaction.EqConsts = DecodeNumbers(constants.data, constants.size);
        reaction.SymmetricEqConsts = DecodeNumbers(symmetric.data, symmetric.size);
        auto& species = db.Cached(sql::SelectReactionSpecies).Bind(1, id);
        std::vector<std::pair<std::string, std::optional<int>>> members;
        while (species.Step()) {
            members.emplace_back(species.Text(0), species.OptionalInt(1));
            reaction.Coefficients.push_back(species.Double(2));
        }
        // Read apart from the species query: naming a compound runs other statements.
        for (const auto& [name, compound] : members) {
            std::optional<std::string> synonym;
            if (compound) {
                const auto named = namedCompounds.find(*compound);
                synonym = named != namedCompounds.end() ? std::optional<std::string>(named->second)
                                                        : IdentifierOf(*m_database, *compound, identifierType);
            }
            reaction.Synonyms.push_back(synonym.value_or(name));
        }
        reactions.push_back(std::move(reaction));
    }
    return reactions;
}

} // namespace moru::sqlite
