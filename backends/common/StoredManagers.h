#pragma once

// The managers whose work is the same for every backend once the rows are read: properties,
// databank information, pure values and structures. Each lives inside its database and reads
// through the database's row readers.

#include "common/StoredDatabase.h"

#include "service/Database.h"

#include <optional>
#include <string>
#include <vector>

namespace moru::common {

class StoredPropertyManager : public service::IPropertyManager {
public:
    explicit StoredPropertyManager(const StoredDatabase& database) : m_database(&database) {}
    std::optional<std::vector<service::PropertyPtr>> GetAllProperties(const service::IDatabank& databank,
                                                                      bool withData) override;

private:
    const StoredDatabase* m_database;
};

class StoredSundryDataManager : public service::ISundryDataManager {
public:
    explicit StoredSundryDataManager(const StoredDatabase& database) : m_database(&database) {}
    service::SundryItemPtr GetItem(const std::string& name) override;

private:
    const StoredDatabase* m_database;
};

class StoredPropertyValueManager : public service::IPropertyValueManager {
public:
    explicit StoredPropertyValueManager(const StoredDatabase& database) : m_database(&database) {}
    service::PropertyValuePtr GetUnaryPropertyValue(const service::IDatabank& databank, const std::string& compoundId,
                                                    const std::string& compoundIdType,
                                                    const std::string& propertyId) override;
    std::optional<std::vector<service::PropertyValuePtr>> GetAllUnaryPropertyValues(
        const service::IDatabank& databank, const std::string& compoundId, const std::string& compoundIdType) override;
    std::optional<service::UnaryValueMap> GetAllUnaryPropertyValues_Vanta(int databankId, int compoundIndex) override;

private:
    const StoredDatabase* m_database;
};

class StoredMolData : public service::IMolData {
public:
    explicit StoredMolData(const StoredDatabase& database) : m_database(&database) {}
    bool GetStructureByName(const std::string& compoundId, const std::string& compoundIdType,
                            std::string& structureText, int structureType) override;

private:
    const StoredDatabase* m_database;
};

} // namespace moru::common
