#include "PgService.h"

#include "PgSchema.h"

#include "platform/Text.h"
#include "service/Contract.h"

#include <map>
#include <set>

namespace moru::postgres {

using namespace moru::service;

Value ReadStoredValue(const PgResult& rows, int row, int kindColumn)
{
    auto bytes = [&](int column) { return rows.Bytes(row, column); };
    switch (rows.Int(row, kindColumn)) {
    case common::ValueNumbers: {
        const auto numbers = bytes(kindColumn + 1);
        return common::DecodeNumbers(numbers.data(), static_cast<int>(numbers.size()));
    }
    case common::ValueText: return rows.Text(row, kindColumn + 2);
    case common::ValueTexts: {
        const auto texts = bytes(kindColumn + 3);
        return common::DecodeTexts(texts.data(), static_cast<int>(texts.size()));
    }
    default: return std::monostate{};
    }
}

std::optional<FoundCompoundsList> PgCompoundManager::FindForMM(const DatabankCollection& databankGroup,
                                                               const std::string& searchText,
                                                               const std::string& identifierType,
                                                               const std::string& outputPropertyName)
{
    return Search(databankGroup, searchText, identifierType, outputPropertyName, 0);
}

std::optional<FoundCompoundsList> PgCompoundManager::FindForMM_Multiple(const DatabankCollection& databankGroup,
                                                                        const std::string& identifierType,
                                                                        SearchStringMap& searchStrings,
                                                                        const std::string& outputPropertyName)
{
    return common::SearchEach(searchStrings, [&](const std::string& text, int position) {
        return Search(databankGroup, text, identifierType, outputPropertyName, position);
    });
}

// The content type is accepted for the caller's sake; every databank of the group is searched.
void PgCompoundManager::FindForVanta(const DatabankCollection& databankGroup, const std::string& searchText, int,
                                     int& compoundIndex, std::string& compoundName, std::string& compoundAlias)
{
    common::TakeFirstHit(Search(databankGroup, searchText, "", "", 0), compoundIndex, compoundName, compoundAlias);
}

std::optional<FoundCompoundsList> PgCompoundManager::GetAllCompounds(const IDatabank* databank)
{
    PgConnection& db = m_database->Db();
    DatabankPtr hitDatabank;
    std::optional<PgResult> listing;
    if (databank) {
        const common::DatabankRecord* record = m_database->OwnDatabank(*databank);
        if (!record) return std::nullopt;
        listing.emplace(db.Run(sql::SelectCompoundsOfDatabank, PgParams().Int(record->Id)));
        hitDatabank = m_database->DatabankObject(record->Id);
    } else {
        listing.emplace(db.Run(sql::SelectAllCompoundIds));
    }
    std::vector<std::pair<int, std::pair<DatabankPtr, int>>> found;
    found.reserve(static_cast<std::size_t>(listing->Rows()));
    for (int r = 0; r < listing->Rows(); ++r) found.push_back({listing->Int(r, 0), {hitDatabank, 0}});
    return MakeHits(found, nullptr);
}

IdentifierValuePtr PgCompoundManager::GetCompoundIdentifier(const std::string& knownValue, const std::string& knownType,
                                                            const std::string& wantedType)
{
    auto id = m_database->Resolve(knownValue, knownType);
    if (!id) return nullptr;
    auto value = std::make_shared<IdentifierValue>();
    value->Compound = std::make_shared<PgCompound>(*id);
    value->Identifier = m_database->IdentifierType(wantedType);
    if (!value->Identifier) value->Identifier = std::make_shared<PgIdentifier>(wantedType);
    if (platform::EqualsIgnoringCase(wantedType, kCompoundIndexType)) {
        value->ValueList = std::vector<std::string>{std::to_string(*id)};
        return value;
    }
    const PgResult rows = m_database->Db().Run(sql::SelectIdentifiersOfCompound, PgParams().Int(*id));
    std::vector<std::string> values;
    for (int r = 0; r < rows.Rows(); ++r) {
        if (platform::EqualsIgnoringCase(rows.Text(r, 0), wantedType)) values.push_back(rows.Text(r, 1));
        else if (!values.empty()) break; // the values of one type stand together
    }
    if (!values.empty()) value->ValueList = std::move(values);
    return value;
}

IdentifierPtr PgCompoundManager::GetIdentifier(const std::string& identifierType)
{
    return m_database->IdentifierType(identifierType);
}

CompoundPtr PgCompoundManager::GetCompound(const std::string& value, const IIdentifier& identifier)
{
    auto id = m_database->Resolve(value, identifier.Name());
    return id ? std::make_shared<PgCompound>(*id) : nullptr;
}

bool PgCompoundManager::DatabankHasCompound(const IDatabank& databank, const ICompound& compound)
{
    const common::DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) return false;
    return m_database->Db().Run(sql::DatabankHasCompound, PgParams().Int(record->Id).Int(compound.Id())).Rows() > 0;
}

std::optional<std::string> PgCompoundManager::GetCompoundClass(const ICompound& compound)
{
    const PgResult row = m_database->Db().Run(sql::SelectCompoundClass, PgParams().Int(compound.Id()));
    return row.Rows() > 0 ? row.OptionalText(0, 0) : std::nullopt;
}

// Hits are ordered by databank, in the group's order, then by compound index: one statement finds
// the compounds, one tells which databanks hold them, one reads their identifiers.
FoundCompoundsList PgCompoundManager::Search(const DatabankCollection& group, const std::string& searchText,
                                             const std::string& identifierType, const std::string& outputPropertyName,
                                             int position)
{
    std::vector<std::pair<DatabankPtr, int>> databanks;
    std::vector<int> databankIds;
    for (const auto& databank : group.Items()) {
        const common::DatabankRecord* record = databank ? m_database->OwnDatabank(*databank) : nullptr;
        if (record && std::find(databankIds.begin(), databankIds.end(), record->Id) == databankIds.end()) {
            databanks.emplace_back(databank, record->Id);
            databankIds.push_back(record->Id);
        }
    }
    if (databanks.empty()) return {};
    const std::vector<int> ids = m_database->FindCompounds(searchText, identifierType);
    if (ids.empty()) return {};

    std::set<std::pair<int, int>> held; // databank id, compound id
    const PgResult rows =
        m_database->Db().Run(sql::SelectCompoundsOfDatabanks, PgParams().IntArray(databankIds).IntArray(ids));
    for (int r = 0; r < rows.Rows(); ++r) held.emplace(rows.Int(r, 0), rows.Int(r, 1));
    std::vector<std::pair<int, std::pair<DatabankPtr, int>>> found;
    for (const auto& [databank, databankId] : databanks) {
        for (int id : ids) {
            if (held.count({databankId, id})) found.push_back({id, {databank, databankId}});
        }
    }
    auto property = outputPropertyName.empty() ? nullptr : m_database->PropertyByName(outputPropertyName);
    FoundCompoundsList hits = MakeHits(found, property.get());
    for (auto& hit : hits) hit->CompoundPosition = position;
    return hits;
}

FoundCompoundsList PgCompoundManager::MakeHits(const std::vector<std::pair<int, std::pair<DatabankPtr, int>>>& found,
                                               const common::StoredProperty* property)
{
    FoundCompoundsList hits;
    if (found.empty()) return hits;
    std::vector<int> ids;
    ids.reserve(found.size());
    for (const auto& entry : found) ids.push_back(entry.first);

    // Each compound's identifiers, grouped by type in stored order.
    std::map<int, std::vector<std::pair<std::string, std::string>>> identifiers;
    const PgResult rows = m_database->Db().Run(sql::SelectIdentifiersOfCompounds, PgParams().IntArray(ids));
    for (int r = 0; r < rows.Rows(); ++r) identifiers[rows.Int(r, 0)].emplace_back(rows.Text(r, 1), rows.Text(r, 2));

    // The output property's values, databank by databank.
    std::map<std::pair<int, int>, Value> values;
    if (property) {
        std::map<int, std::vector<int>> idsByDatabank;
        for (const auto& [id, databank] : found) idsByDatabank[databank.second].push_back(id);
        for (const auto& [databankId, databankIds] : idsByDatabank) {
            const PgResult read =
                m_database->Db().Run(sql::SelectUnaryValuesOfCompounds,
                                     PgParams().Int(databankId).Int(property->m_id).IntArray(databankIds));
            for (int r = 0; r < read.Rows(); ++r) values[{databankId, read.Int(r, 0)}] = ReadStoredValue(read, r, 1);
        }
    }

    hits.reserve(found.size());
    for (const auto& [id, databank] : found) {
        auto hit = std::make_shared<FoundCompounds>();
        auto compound = std::make_shared<PgCompound>(id);
        hit->Compound = compound;
        hit->Databank = databank.first;
        std::vector<IdentifierValuePtr> list;
        const std::string* lastType = nullptr;
        for (const auto& [type, text] : identifiers[id]) {
            if (!lastType || *lastType != type) {
                lastType = &type;
                auto value = std::make_shared<IdentifierValue>();
                value->Identifier = m_database->IdentifierType(type);
                value->ValueList.emplace();
                value->Compound = compound;
                list.push_back(std::move(value));
            }
            list.back()->ValueList->push_back(text);
        }
        hit->IdentifierValues = std::move(list);
        if (property) {
            auto stored = values.find({databank.second, id});
            if (stored != values.end()) {
                auto value = std::make_shared<PropertyValue>();
                value->Property = m_database->PropertyById(property->m_id);
                value->Data = stored->second;
                hit->PropertyValues = std::vector<PropertyValuePtr>{std::move(value)};
            }
        }
        hits.push_back(std::move(hit));
    }
    return hits;
}

// Nothing of this service depends on the working set; it is kept for the caller's sake.
void PgCompoundManager::SetWorkingCompounds(const std::vector<CompoundPtr>& compounds)
{
    m_workingCompounds = compounds;
}

} // namespace moru::postgres
