#include "BulkManager.h"

#include "Managers.h"
#include "Schema.h"

#include "platform/Text.h"

namespace moru::sqlite {

using namespace moru::service;

SqliteBulkManager::CompoundDetails SqliteBulkManager::ReadDetails(int compoundId, bool hasEngineTable)
{
    CompoundDetails details;
    auto& identifiers = m_database->Db().Cached(sql::SelectIdentifiersOfCompound).Bind(1, compoundId);
    while (identifiers.Step()) {
        const std::string type = identifiers.Text(0);
        std::optional<std::string>* slot = nullptr;
        if (platform::EqualsIgnoringCase(type, "NAME")) slot = &details.name;
        else if (platform::EqualsIgnoringCase(type, "ALIAS")) slot = &details.alias;
        else if (platform::EqualsIgnoringCase(type, "CASRN")) slot = &details.casNo;
        if (slot && !*slot) *slot = identifiers.Text(1); // the first value of its type
    }
    if (hasEngineTable) {
        auto& engine = m_database->Db().Cached(sql::SelectCompoundEngine).Bind(1, compoundId);
        if (engine.Step()) {
            details.classNumber = engine.OptionalDouble(0).value_or(0.0);
            details.keldaIndex = engine.OptionalDouble(1).value_or(0.0);
            details.plxIndex = engine.OptionalDouble(2).value_or(0.0);
        }
    }
    return details;
}

void SqliteBulkManager::OptimizedFind(const CompoundPositionTable& compounds, const std::string& databaseAlias,
                                      EngineCompoundMap& engineCompounds, EngineCompoundIndexMap& compoundMap,
                                      int keldaIndexFlag, int plxIndexFlag)
{
    auto& probe = m_database->Db().Cached(sql::HasCompoundEngine).Reset();
    const bool hasEngineTable = probe.Step();
    probe.Reset();

    std::map<int, CompoundDetails> details; // read once per compound, however many identifiers name it
    for (const auto& [identifier, position] : compounds) {
        const std::vector<int> ids = FindCompoundsByIdentifier(*m_database, identifier, "");
        if (ids.empty()) continue;
        const int id = ids.front();
        auto known = details.find(id);
        if (known == details.end()) known = details.emplace(id, ReadDetails(id, hasEngineTable)).first;
        const CompoundDetails& d = known->second;
        auto record = std::make_shared<EngineCompoundObject>(databaseAlias, position, id, d.name, d.alias, d.casNo);
        record->CompoundClassDblValue = d.classNumber;
        if (keldaIndexFlag) record->KeldaIndex = d.keldaIndex;
        if (plxIndexFlag) record->PLXIndex = d.plxIndex;
        engineCompounds[position] = std::move(record);
        auto& positions = compoundMap[id];
        positions.insert(std::lower_bound(positions.begin(), positions.end(), position), position);
    }
}

std::optional<std::vector<PropertyPtr>> SqliteBulkManager::GetAllProperties()
{
    return std::vector<PropertyPtr>(m_database->Properties().begin(), m_database->Properties().end());
}

} // namespace moru::sqlite
