#include "fake/FakeBulk.h"

#include <algorithm>

using namespace moru::service;

namespace moru::fake {

std::shared_ptr<IBulkManager> FakeDatabase::BulkManager() const
{
    Bulk();
    return bulk;
}

FakeBulkManager& FakeDatabase::Bulk() const
{
    if (!bulk) bulk = std::make_shared<FakeBulkManager>(alias, m_log);
    return *bulk;
}

std::vector<EngineCompoundRow> FakeBulkManager::OptimizedFind(const std::vector<std::string>& identifiers,
                                                              bool keldaIndex, bool plxIndex)
{
    m_log.Record("OptimizedFind " + m_alias + " as " + m_alias + " k" + std::to_string(keldaIndex ? 1 : 0) + " p" +
                 std::to_string(plxIndex ? 1 : 0));
    m_log.MaybeFail("OptimizedFind");
    std::vector<EngineCompoundRow> rows;
    for (int i = 0; i < static_cast<int>(identifiers.size()); ++i) {
        const auto known = compounds.find(identifiers[static_cast<std::size_t>(i)]);
        if (known == compounds.end()) continue;
        const FakeEngineCompound& c = known->second;
        EngineCompoundRow row;
        row.identifier = i;
        row.compoundIndex = c.index;
        row.name = c.name;
        row.alias = c.alias;
        row.casNo = c.casNo;
        row.classNumber = c.compoundClass;
        if (keldaIndex) row.keldaIndex = c.keldaIndex;
        if (plxIndex) row.plxIndex = c.plxIndex;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<std::vector<PropertyPtr>> FakeBulkManager::GetAllProperties()
{
    m_log.Record("GetAllDatabaseProperties " + m_alias);
    m_log.MaybeFail("GetAllDatabaseProperties");
    return properties;
}

void FakeBulkManager::Read(const std::string& operation, std::optional<bool> binary, const EngineValueQuery& query,
                           IEngineValueSink& sink)
{
    std::string run;
    for (const auto& databank : query.run) run += (run.empty() ? "" : ",") + databank->Name();
    m_log.Record(operation + " " + m_alias + " [" + run + "]" +
                 (binary == true ? " C" + std::to_string(query.compounds.size()) : std::string()));
    m_log.MaybeFail(operation);
    for (std::size_t r = 0; r < query.run.size(); ++r) {
        for (const StoredValue& stored : storedValues) {
            if (stored.databank != query.run[r]->Name()) continue;
            if (binary && (stored.compound2Index >= 0) != *binary) continue;
            const auto asked = std::find(query.properties.begin(), query.properties.end(), stored.property);
            if (asked == query.properties.end()) continue;
            std::vector<int> labels;
            std::vector<std::optional<double>> numbers;
            for (const auto& [label, number] : stored.elements) {
                labels.push_back(label);
                numbers.emplace_back(number);
            }
            EngineValueRow row;
            row.databank = static_cast<int>(r);
            row.property = static_cast<int>(asked - query.properties.begin());
            row.compound = stored.compoundIndex;
            row.compound2 = stored.compound2Index;
            row.labels = labels;
            row.numbers = numbers;
            sink.Take(row);
        }
    }
}

void FakeBulkManager::OptimizedGetAllScalarPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink)
{
    Read("OptimizedGetAllScalarPropertyValues", false, query, sink);
}

void FakeBulkManager::OptimizedGetAllVectorPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink)
{
    Read("OptimizedGetAllVectorPropertyValues", false, query, sink);
}

void FakeBulkManager::OptimizedGetAllBinaryPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink)
{
    Read("OptimizedGetAllBinaryPropertyValues", true, query, sink);
}

void FakeBulkManager::OptimizedGetAllKindsOfPropertyValues(const EngineValueQuery& query, IEngineValueSink& sink)
{
    Read("OptimizedGetAllKindsOfPropertyValues", std::nullopt, query, sink);
}

} // namespace moru::fake
