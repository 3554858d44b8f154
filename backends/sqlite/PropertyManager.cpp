#include "Managers.h"

#include "Schema.h"

namespace moru::sqlite {

using namespace moru::service;

// Without `withData`: every property of the database. With it: those holding values in the databank.
std::optional<std::vector<PropertyPtr>> SqlitePropertyManager::GetAllProperties(const IDatabank& databank,
                                                                                bool withData)
{
    const DatabankRecord* record = m_database->OwnDatabank(databank);
    if (!record) return std::nullopt;
    std::vector<PropertyPtr> properties;
    if (!withData) {
        properties.assign(m_database->Properties().begin(), m_database->Properties().end());
        return properties;
    }
    auto& query = m_database->Db().Cached(sql::SelectPropertiesWithData).Bind(1, record->Id);
    while (query.Step()) properties.push_back(m_database->PropertyById(query.Int(0)));
    return properties;
}

} // namespace moru::sqlite
