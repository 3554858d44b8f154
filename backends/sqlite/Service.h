#pragma once

// The property database service over SQLite files: one SqliteDatabase per connected file, its
// databanks and managers, and the collection that a configuration file fills.

#include "Sqlite.h"

#include "common/Collection.h"
#include "common/Stored.h"

#include "service/BinaryValues.h"
#include "service/Database.h"
#include "service/Factory.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::sqlite {

class SqliteDatabase;

class SqliteCompound : public service::ICompound {
public:
    explicit SqliteCompound(int id) : m_id(id) {}
    int Id() const override { return m_id; }

private:
    int m_id;
};

class SqliteIdentifier : public service::IIdentifier {
public:
    explicit SqliteIdentifier(std::string name) : m_name(std::move(name)) {}
    std::string Name() const override { return m_name; }

private:
    std::string m_name;
};

using SqliteProperty = common::StoredProperty;
using common::DatabankRecord;

class SqliteDatabank : public service::IDatabank {
public:
    SqliteDatabank(std::shared_ptr<SqliteDatabase> database, const DatabankRecord& record)
        : m_database(std::move(database)), m_record(record)
    {}

    std::string Name() const override { return m_record.Name; }
    std::optional<std::string> BaseDatabankName() const override { return m_record.BaseName; }
    std::optional<std::string> Description() const override { return m_record.Description; }
    int Id() const override { return m_record.Id; }
    service::DatabasePtr Database() const override;
    service::CompoundCollectionPtr GetIdentifiersOfCompoundsWithData() const override;

    const SqliteDatabase& Owner() const { return *m_database; }
    // Keeps only the name and id of a databank whose database was replaced: the library's
    // catalogue keeps its entries, so each should cost little.
    void Retire();

private:
    // Databanks keep their database alive: the library's catalogue holds databanks, and a databank
    // must still answer after the collection was initialised again.
    std::shared_ptr<SqliteDatabase> m_database;
    DatabankRecord m_record;
};

using common::DatabaseEntry;

class SqliteDatabase : public common::ConnectedDatabase, public std::enable_shared_from_this<SqliteDatabase> {
public:
    // Opens the file read-only, checks that it is a database of this service (its format record and
    // the tables and columns the queries need, without reading the data) and reads what the listing
    // reports; throws ServiceError with the reason. The rest is read when a call first needs it.
    static std::shared_ptr<SqliteDatabase> Open(const std::string& alias, const std::string& path);

    // Closes the connection of a database that a later initialisation replaced: whoever still
    // holds it, its databanks or managers gets a failure from every call that would read the file.
    void Retire() override;

    std::string Alias() const override { return m_alias; }
    std::optional<std::string> Description() const override { return Meta("description"); }
    int DatabaseVersion() const override { return m_version; }
    bool GetDatabaseAccessSetting(const std::string& settingName) const override;
    service::DatabankCollectionPtr EnumerateDatabanks() const override;

    std::shared_ptr<service::ICompoundManager> CompoundManager() const override;
    std::shared_ptr<service::IPropertyManager> PropertyManager() const override;
    std::shared_ptr<service::IReactionManager> ReactionManager() const override;
    std::shared_ptr<service::ISundryDataManager> SundryDataManager() const override;
    std::shared_ptr<service::IPropertyValueManager> PropertyValueManager() const override;
    std::shared_ptr<service::IMolData> MolDataManager() const override;
    std::shared_ptr<service::IBinaryValueManager> BinaryValueManager() const override;
    std::shared_ptr<service::IBulkManager> BulkManager() const override;

    std::optional<std::string> Meta(const std::string& key) const;
    bool IsSecured() const { return Meta("password").has_value(); }
    // Throws ServiceError once the database is retired.
    Connection& Db() const;
    const std::vector<std::shared_ptr<SqliteProperty>>& Properties() const;
    std::shared_ptr<SqliteProperty> PropertyByName(const std::string& name) const;
    std::shared_ptr<SqliteProperty> PropertyById(int id) const;
    // The databank as one of this database's own, or null when it belongs elsewhere.
    const DatabankRecord* OwnDatabank(const service::IDatabank& databank) const;
    const DatabankRecord* DatabankByName(const std::string& name) const;
    service::IdentifierPtr IdentifierType(const std::string& name) const;
    // The key under which this database's identifiers are searched for `text`: folded as the
    // database's search keys were when it was built.
    std::string SearchKeyOf(std::string_view text) const;

    ~SqliteDatabase() override;

private:
    SqliteDatabase() = default;
    void LoadProperties() const;
    template <typename Manager>
    std::shared_ptr<Manager> Share(const std::unique_ptr<Manager>& manager) const;

    std::string m_alias;
    std::unique_ptr<Connection> m_connection;
    std::map<std::string, std::string> m_meta;
    bool m_asciiSearchKeys = false;
    int m_version = 0;
    std::vector<DatabankRecord> m_databanks;
    // Read on first use: the listing does not need them.
    mutable bool m_propertiesLoaded = false;
    mutable common::PropertyCatalogue m_properties;
    void RememberAsAsked(const std::string& name, const service::IdentifierPtr& identifier) const;
    mutable std::map<std::string, service::IdentifierPtr> m_identifierTypes;
    // The same by the name as asked, which is mostly the name as stored: found without folding.
    mutable std::map<std::string, service::IdentifierPtr, std::less<>> m_identifierTypesAsAsked;
    // The databank objects handed out last, so that the same databank is the same object while
    // anybody holds it.
    mutable std::vector<std::weak_ptr<SqliteDatabank>> m_databankObjects;
    std::unique_ptr<service::ICompoundManager> m_compoundManager;
    std::unique_ptr<service::IPropertyManager> m_propertyManager;
    std::unique_ptr<service::IReactionManager> m_reactionManager;
    std::unique_ptr<service::ISundryDataManager> m_sundryDataManager;
    std::unique_ptr<service::IPropertyValueManager> m_propertyValueManager;
    std::unique_ptr<service::IMolData> m_molDataManager;
    std::unique_ptr<service::IBinaryValueManager> m_binaryValueManager;
    std::unique_ptr<service::IBulkManager> m_bulkManager;
};

// Opens a database file of a configuration entry and checks the password of a secured one
// (the entry's own, else the application's).
common::OpenedDatabase OpenDatabaseFile(const DatabaseEntry& entry, const std::string& applicationPassword);

// A collection of database files only, as the backend's own tools and tests connect them.
class SqliteDatabaseCollection : public common::DatabaseCollection {
public:
    explicit SqliteDatabaseCollection(service::DatabankCollectionPtr catalogue)
        : DatabaseCollection(std::move(catalogue), OpenDatabaseFile, nullptr)
    {}
};

using SqliteConfigFileInstaller = common::ConfigFileInstaller;
using common::DefaultConfigurationPath;
using common::ParseConfiguration;
using common::TakeDefaultConfigurationWarning;

} // namespace moru::sqlite
