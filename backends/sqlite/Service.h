#pragma once

// The property database service over SQLite files: one SqliteDatabase per connected file, its
// databanks and managers, and the collection that a configuration file fills.

#include "Sqlite.h"

#include "common/Collection.h"
#include "common/Stored.h"
#include "common/StoredDatabase.h"

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

using SqliteCompound = common::StoredCompound;
using SqliteIdentifier = common::StoredIdentifier;
using SqliteProperty = common::StoredProperty;
using SqliteDatabank = common::StoredDatabank;
using common::DatabankRecord;
using common::DatabaseEntry;

class SqliteDatabase : public common::StoredDatabase {
public:
    // Opens the file read-only, checks that it is a database of this service (its format record and
    // the tables and columns the queries need, without reading the data) and reads what the listing
    // reports; throws ServiceError with the reason. The rest is read when a call first needs it.
    static std::shared_ptr<SqliteDatabase> Open(const std::string& alias, const std::string& path);

    // Closes the connection of a database that a later initialisation replaced: whoever still
    // holds it, its databanks or managers gets a failure from every call that would read the file.
    void Retire() override;

    bool IsSecured() const { return Meta("password").has_value(); }
    // Throws ServiceError once the database is retired.
    Connection& Db() const;
    service::IdentifierPtr IdentifierType(const std::string& name) const;
    service::CompoundCollectionPtr CompoundsWithData(int databankId) const override;
    std::optional<int> ResolveCompound(const std::string& value, const std::string& type) const override;
    bool CompoundExists(int compoundId) const override;
    std::vector<int> ReadPropertyIdsWithData(int databankId) const override;
    std::optional<service::Value> ReadUnaryValue(int databankId, int compoundId, int propertyId) const override;
    std::vector<std::pair<int, service::Value>> ReadUnaryValuesOfCompound(int databankId,
                                                                          int compoundId) const override;
    std::optional<std::string> ReadStructure(int compoundId, int structureType) const override;
    std::shared_ptr<service::PureDatabankInfoObject> ReadPureInfo(int databankId) const override;
    std::vector<service::SundryItemPtr> ReadBinaryInfo(int databankId) const override;

    // The number of reactions of a databank (of all of them without one), every databank's counted
    // by one statement at first need.
    int ReactionCount(std::optional<int> databankId) const;

    ~SqliteDatabase() override;

private:
    explicit SqliteDatabase(const std::string& alias) : StoredDatabase(alias) {}
    bool IsOpen() const override { return m_connection != nullptr; }
    std::vector<std::shared_ptr<SqliteProperty>> ReadProperties() const override;

    // Every databank's pure information, read at first need.
    const std::map<int, service::PureDatabankInfoObject>& PureInfoByDatabank() const;

    std::unique_ptr<Connection> m_connection;
    // The information tables by databank id, each read whole when the listing first asks: the
    // listing asks for every databank, so one statement answers them all.
    mutable std::optional<std::map<int, service::PureDatabankInfoObject>> m_pureInfo;
    mutable std::optional<std::map<int, std::vector<service::GammaModelParameterInformation>>> m_binaryInfo;
    mutable std::optional<std::map<int, int>> m_reactionCounts;
    void RememberAsAsked(const std::string& name, const service::IdentifierPtr& identifier) const;
    mutable std::map<std::string, service::IdentifierPtr> m_identifierTypes;
    // The same by the name as asked, which is mostly the name as stored: found without folding.
    mutable std::map<std::string, service::IdentifierPtr, std::less<>> m_identifierTypesAsAsked;
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
