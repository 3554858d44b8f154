#include "fake/FakeBulk.h"

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

void FakeBulkManager::OptimizedFind(const CompoundPositionTable& listed, const std::string& databaseAlias,
                                    EngineCompoundMap& engineCompounds, EngineCompoundIndexMap& compoundMap,
                                    int keldaIndexFlag, int plxIndexFlag)
{
    m_log.Record("OptimizedFind " + m_alias + " as " + databaseAlias + " k" + std::to_string(keldaIndexFlag) + " p" +
                 std::to_string(plxIndexFlag));
    m_log.MaybeFail("OptimizedFind");
    for (const auto& [identifier, position] : listed) {
        const auto known = compounds.find(identifier);
        if (known == compounds.end()) continue;
        const FakeEngineCompound& c = known->second;
        auto record = std::make_shared<EngineCompoundObject>(databaseAlias, position, c.index, c.name, c.alias, c.casNo);
        record->CompoundClassDblValue = c.compoundClass;
        if (keldaIndexFlag) record->KeldaIndex = c.keldaIndex;
        if (plxIndexFlag) record->PLXIndex = c.plxIndex;
        engineCompounds[position] = record;
        compoundMap[c.index].push_back(position);
    }
}

std::optional<std::vector<PropertyPtr>> FakeBulkManager::GetAllProperties()
{
    m_log.Record("GetAllDatabaseProperties " + m_alias);
    m_log.MaybeFail("GetAllDatabaseProperties");
    return properties;
}

void FakeBulkManager::Fetch(const std::string& operation, Kind kind, int compCount, const EngineFetch& fetch,
                            EngineValueMap& out)
{
    std::string run;
    for (const auto& databank : fetch.run) run += (run.empty() ? "" : ",") + databank->Name();
    m_log.Record(operation + " " + m_alias + " [" + run + "]" +
                 (kind == Kind::Binary ? " C" + std::to_string(compCount) : std::string()));
    m_log.MaybeFail(operation);
    for (const auto& databank : fetch.run) {
        int databankPosition = -1;
        for (const auto& [listed, position] : fetch.databanks) {
            if (listed == databank) databankPosition = position;
        }
        for (const StoredValue& stored : storedValues) {
            if (stored.databank != databank->Name()) continue;
            const auto property = fetch.properties.find(stored.property);
            const auto compound = fetch.compounds.find(stored.compoundIndex);
            if (property == fetch.properties.end() || compound == fetch.compounds.end() || !properties) continue;
            for (const PropertyPtr& known : *properties) {
                if (!known || known->Name() != stored.property) continue;
                const EnginePropertyValue value{databankPosition, stored.elements};
                if (kind == Kind::Binary) {
                    const auto compound2 = fetch.compounds.find(stored.compound2Index);
                    if (!IsEngineBinary(*known) || compound2 == fetch.compounds.end()) continue;
                    AddPairUnderEveryPosition(fetch, compCount, compound->second, compound2->second, property->second,
                                              value, out);
                    continue;
                }
                if (kind == Kind::Vector ? !IsEngineVector(*known) : !IsEngineScalar(*known)) continue;
                AddUnderEveryPosition(fetch, compound->second, property->second, value, out);
            }
        }
    }
}

void FakeBulkManager::OptimizedGetAllScalarPropertyValues(const EngineFetch& fetch, EngineValueMap& values)
{
    Fetch("OptimizedGetAllScalarPropertyValues", Kind::Scalar, 0, fetch, values);
}

void FakeBulkManager::OptimizedGetAllVectorPropertyValues(const EngineFetch& fetch, EngineValueMap& values)
{
    Fetch("OptimizedGetAllVectorPropertyValues", Kind::Vector, 0, fetch, values);
}

void FakeBulkManager::OptimizedGetAllBinaryPropertyValues(int compCount, const EngineFetch& fetch,
                                                          EngineValueMap& values)
{
    Fetch("OptimizedGetAllBinaryPropertyValues", Kind::Binary, compCount, fetch, values);
}

} // namespace moru::fake
