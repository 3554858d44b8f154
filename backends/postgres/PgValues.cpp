#include "PgService.h"

#include "PgSchema.h"

#include "platform/Text.h"

#include <map>
#include <set>

namespace moru::postgres {

using namespace moru::service;

namespace {

std::optional<int> ResolveCompound(const PgDatabase& database, const std::string& compoundId,
                                   const std::string& compoundIdType)
{
    return database.Resolve(compoundId, compoundIdType);
}

} // namespace

// Without `withData`: every property of the database. With it: those holding values in the databank.
std::optional<std::vector<PropertyPtr>> PgPropertyManager::GetAllProperties(const IDatabank& databank, bool withData)
{
    const common::DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) return std::nullopt;
    std::vector<PropertyPtr> properties;
    if (!withData) {
        properties.assign(m_database->Properties().begin(), m_database->Properties().end());
        return properties;
    }
    const PgResult rows = m_database->Db().Run(sql::SelectPropertiesWithData, PgParams().Int(record->Id));
    for (int r = 0; r < rows.Rows(); ++r) properties.push_back(m_database->PropertyById(rows.Int(r, 0)));
    return properties;
}

PropertyValuePtr PgPropertyValueManager::GetUnaryPropertyValue(const IDatabank& databank, const std::string& compoundId,
                                                               const std::string& compoundIdType,
                                                               const std::string& propertyId)
{
    const common::DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) return nullptr;
    auto property = m_database->PropertyByName(propertyId);
    if (!property || property->m_interactionType != InteractionUnary) return nullptr;
    const auto compound = ResolveCompound(*m_database, compoundId, compoundIdType);
    if (!compound) return nullptr;
    const PgResult read =
        m_database->Db().Run(sql::SelectUnaryValue, PgParams().Int(record->Id).Int(*compound).Int(property->m_id));
    if (read.Rows() == 0) return nullptr;
    auto value = std::make_shared<PropertyValue>();
    value->Property = property;
    value->Data = ReadStoredValue(read, 0, 0);
    return value;
}

std::optional<std::vector<PropertyValuePtr>> PgPropertyValueManager::GetAllUnaryPropertyValues(
    const IDatabank& databank, const std::string& compoundId, const std::string& compoundIdType)
{
    const common::DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) return std::nullopt;
    const auto compound = ResolveCompound(*m_database, compoundId, compoundIdType);
    if (!compound) return std::nullopt;
    std::vector<PropertyValuePtr> values;
    const PgResult read =
        m_database->Db().Run(sql::SelectUnaryValuesOfCompound, PgParams().Int(record->Id).Int(*compound));
    for (int r = 0; r < read.Rows(); ++r) {
        auto value = std::make_shared<PropertyValue>();
        value->Property = m_database->PropertyById(read.Int(r, 0));
        value->Data = ReadStoredValue(read, r, 1);
        values.push_back(std::move(value));
    }
    return values;
}

std::optional<UnaryValueMap> PgPropertyValueManager::GetAllUnaryPropertyValues_Vanta(int databankId, int compoundIndex)
{
    if (!m_database->DatabankObject(databankId)) return std::nullopt;
    if (m_database->Db().Run(sql::CompoundExists, PgParams().Int(compoundIndex)).Rows() == 0) return std::nullopt;
    UnaryValueMap values;
    const PgResult read =
        m_database->Db().Run(sql::SelectUnaryValuesOfCompound, PgParams().Int(databankId).Int(compoundIndex));
    for (int r = 0; r < read.Rows(); ++r) {
        if (read.Int(r, 1) != common::ValueNumbers) continue;
        const auto property = m_database->PropertyById(read.Int(r, 0));
        if (!property) continue;
        const auto numbers = read.Bytes(r, 2);
        values[property->m_name] = common::DecodeNumbers(numbers.data(), static_cast<int>(numbers.size()));
    }
    if (values.empty()) return std::nullopt;
    return values;
}

bool PgMolData::GetStructureByName(const std::string& compoundId, const std::string& compoundIdType,
                                   std::string& structureText, int structureType)
{
    const auto compound = ResolveCompound(*m_database, compoundId, compoundIdType);
    if (!compound) return false;
    const PgResult read =
        m_database->Db().Run(sql::SelectStructureOfType, PgParams().Int(*compound).Int(structureType));
    if (read.Rows() == 0) return false;
    structureText = read.Text(0, 0);
    return true;
}

// Pure databank information under its entry name; binary parameter information under the
// databank's own name.
SundryItemPtr PgSundryDataManager::GetItem(const std::string& name)
{
    const std::string pureEntry = PureDatabankInfoObject::GetSundryDataTableEntryName("");
    PgConnection& db = m_database->Db();
    if (name.starts_with(pureEntry)) {
        const common::DatabankRecord* record = m_database->DatabankByName(name.substr(pureEntry.size()));
        if (!record) return nullptr;
        const PgResult row = db.Run(sql::SelectPureInfo, PgParams().Int(record->Id));
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
    const common::DatabankRecord* record = m_database->DatabankByName(name);
    if (!record) return nullptr;
    const PgResult rows = db.Run(sql::SelectBinaryInfo, PgParams().Int(record->Id));
    std::vector<SundryItemPtr> entries;
    for (int r = 0; r < rows.Rows(); ++r) {
        auto entry = std::make_shared<GammaModelParameterInformation>();
        entry->ParameterName = rows.OptionalText(r, 0);
        entry->GammaModelName = rows.OptionalText(r, 1);
        entry->VaporModelName = rows.OptionalText(r, 2);
        entries.push_back(std::move(entry));
    }
    if (entries.empty()) return nullptr;
    auto info = std::make_shared<InteractionParameterDatabankInformationObject>();
    info->ParameterInfoList = std::move(entries);
    return info;
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
