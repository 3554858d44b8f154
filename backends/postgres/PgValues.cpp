#include "PgService.h"

#include "PgSchema.h"

#include "platform/Text.h"

#include <map>
#include <set>

namespace moru::postgres {

using namespace moru::service;

bool PgDatabase::CompoundExists(int compoundId) const
{
    return Db().Run(sql::CompoundExists, PgParams().Int(compoundId)).Rows() > 0;
}

std::vector<int> PgDatabase::ReadPropertyIdsWithData(int databankId) const
{
    const PgResult rows = Db().Run(sql::SelectPropertiesWithData, PgParams().Int(databankId));
    std::vector<int> ids;
    ids.reserve(static_cast<std::size_t>(rows.Rows()));
    for (int r = 0; r < rows.Rows(); ++r) ids.push_back(rows.Int(r, 0));
    return ids;
}

std::optional<Value> PgDatabase::ReadUnaryValue(int databankId, int compoundId, int propertyId) const
{
    const PgResult read = Db().Run(sql::SelectUnaryValue, PgParams().Int(databankId).Int(compoundId).Int(propertyId));
    if (read.Rows() == 0) return std::nullopt;
    return ReadStoredValue(read, 0, 0);
}

std::vector<std::pair<int, Value>> PgDatabase::ReadUnaryValuesOfCompound(int databankId, int compoundId) const
{
    const PgResult read = Db().Run(sql::SelectUnaryValuesOfCompound, PgParams().Int(databankId).Int(compoundId));
    std::vector<std::pair<int, Value>> values;
    values.reserve(static_cast<std::size_t>(read.Rows()));
    for (int r = 0; r < read.Rows(); ++r) values.emplace_back(read.Int(r, 0), ReadStoredValue(read, r, 1));
    return values;
}

std::optional<std::string> PgDatabase::ReadStructure(int compoundId, int structureType) const
{
    const PgResult read = Db().Run(sql::SelectStructureOfType, PgParams().Int(compoundId).Int(structureType));
    if (read.Rows() == 0) return std::nullopt;
    return read.Text(0, 0);
}

std::shared_ptr<PureDatabankInfoObject> PgDatabase::ReadPureInfo(int databankId) const
{
    const PgResult row = Db().Run(sql::SelectPureInfo, PgParams().Int(databankId));
    if (row.Rows() == 0) return nullptr;
    auto info = std::make_shared<PureDatabankInfoObject>();
    info->Password = row.OptionalText(0, 0);
    info->DisplayNameMM = row.OptionalText(0, 1);
    info->Product = row.OptionalText(0, 2);
    info->DatabankType = row.OptionalText(0, 3);
    info->PromptMM = row.OptionalText(0, 4);
    info->HelpFileName = row.OptionalText(0, 5);
    info->HelpCode = row.Int(0, 6);
    return info;
}

std::vector<SundryItemPtr> PgDatabase::ReadBinaryInfo(int databankId) const
{
    const PgResult rows = Db().Run(sql::SelectBinaryInfo, PgParams().Int(databankId));
    std::vector<SundryItemPtr> entries;
    for (int r = 0; r < rows.Rows(); ++r) {
        auto entry = std::make_shared<GammaModelParameterInformation>();
        entry->ParameterName = rows.OptionalText(r, 0);
        entry->GammaModelName = rows.OptionalText(r, 1);
        entry->VaporModelName = rows.OptionalText(r, 2);
        entries.push_back(std::move(entry));
    }
    return entries;
}

int PgReactionManager::GetAllReactionsCount(const IDatabank* databank)
{
    PgConnection& db = m_database->Db();
    if (!databank) {
        const PgResult count = db.Run(sql::CountReactions);
        return count.Rows() ? count.Int(0, 0) : 0;
    }
    const common::DatabankRecord* record = m_database->OwnDatabank(*databank);
    if (!record) return 0;
    const PgResult count = db.Run(sql::CountReactionsOfDatabank, PgParams().Int(record->Id));
    return count.Rows() ? count.Int(0, 0) : 0;
}

std::optional<std::vector<ReactionRecord>> PgReactionManager::GetCompoundsReactions(
    const std::vector<std::string>& compounds, const std::string& identifierType,
    const std::vector<std::string>& databankNames)
{
    std::vector<int> databankIds;
    for (const auto& name : databankNames) {
        if (const common::DatabankRecord* record = m_database->DatabankByName(name)) databankIds.push_back(record->Id);
    }
    PgConnection& db = m_database->Db();

    // The caller's compounds as compounds of this database, each remembered by the caller's own
    // text so that it is echoed as written; species that are no compound match by their own name.
    std::map<int, std::string> namedCompounds;
    std::vector<std::string> speciesNames;
    for (const auto& text : compounds) {
        for (int id : m_database->FindCompounds(text, identifierType)) namedCompounds.emplace(id, text);
        if (Storable(text)) speciesNames.push_back(text);
    }
    if (databankIds.empty()) return std::nullopt;
    std::vector<int> compoundIds;
    compoundIds.reserve(namedCompounds.size());
    for (const auto& entry : namedCompounds) compoundIds.push_back(entry.first);
    const PgResult found = db.Run(sql::SelectReactionsOfCompounds,
                                  PgParams().IntArray(databankIds).IntArray(compoundIds).TextArray(speciesNames));
    std::vector<int> reactionIds;
    reactionIds.reserve(static_cast<std::size_t>(found.Rows()));
    for (int r = 0; r < found.Rows(); ++r) reactionIds.push_back(found.Int(r, 0));
    if (reactionIds.empty()) return std::nullopt;

    struct Member {
        std::string name;
        std::optional<int> compound;
    };
    std::map<int, std::vector<Member>> members;
    std::map<int, std::vector<double>> coefficients;
    const PgResult species = db.Run(sql::SelectSpeciesOfReactions, PgParams().IntArray(reactionIds));
    for (int r = 0; r < species.Rows(); ++r) {
        const int reaction = species.Int(r, 0);
        members[reaction].push_back({species.Text(r, 1), species.OptionalInt(r, 2)});
        coefficients[reaction].push_back(species.Double(r, 3));
    }

    // A species compound the caller did not name is named by its first identifier of the type.
    auto identifierOf = [&](int compoundId) -> std::optional<std::string> {
        const PgResult rows = db.Run(sql::SelectIdentifiersOfCompound, PgParams().Int(compoundId));
        for (int r = 0; r < rows.Rows(); ++r) {
            if (identifierType.empty() || platform::EqualsIgnoringCase(rows.Text(r, 0), identifierType))
                return rows.Text(r, 1);
        }
        return std::nullopt;
    };

    std::vector<ReactionRecord> reactions;
    const PgResult rows = db.Run(sql::SelectReactions, PgParams().IntArray(reactionIds));
    reactions.reserve(static_cast<std::size_t>(rows.Rows()));
    for (int r = 0; r < rows.Rows(); ++r) {
        ReactionRecord reaction;
        reaction.Id = rows.Int(r, 0);
        reaction.Type = rows.Text(r, 1);
        reaction.Basis = rows.Text(r, 2);
        const auto constants = rows.Bytes(r, 3), symmetric = rows.Bytes(r, 4);
        reaction.EqConsts = common::DecodeNumbers(constants.data(), static_cast<int>(constants.size()));
        reaction.SymmetricEqConsts = common::DecodeNumbers(symmetric.data(), static_cast<int>(symmetric.size()));
        reaction.Coefficients = coefficients[reaction.Id];
        for (const auto& member : members[reaction.Id]) {
            std::optional<std::string> synonym;
            if (member.compound) {
                const auto named = namedCompounds.find(*member.compound);
                synonym = named != namedCompounds.end() ? std::optional<std::string>(named->second)
                                                        : identifierOf(*member.compound);
            }
            reaction.Synonyms.push_back(synonym.value_or(member.name));
        }
        reactions.push_back(std::move(reaction));
    }
    return reactions;
}

} // namespace moru::postgres
