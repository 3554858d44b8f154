#pragma once

// The property database service over SQLite files: one SqliteDatabase per connected file, its
// databanks and managers, and the collection that a configuration file fills.

#include "Sqlite.h"

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

class SqliteProperty : public service::IProperty {
public:
    int m_id = 0;
    std::string m_name;
    int m_dataType = -1;
    int m_interactionType = 0;
    int m_elementCount = 0;
    std::vector<service::UnitRow> m_unitRows;
    // The stored element descriptions; empty when the database describes none.
    std::vector<int> m_labelIJ, m_labelJI, m_symmetry;

    std::string Name() const override { return m_name; }
    int InteractionType() const override { return m_interactionType; }
    int DataType() const override { return m_dataType; }
    int ElementCount() const override { return m_elementCount; }
    std::vector<service::UnitRow> UnitsTypeList() const override { return m_unitRows; }
    std::vector<int> LabelIJArray() const override { return m_labelIJ.empty() ? IProperty::LabelIJArray() : m_labelIJ; }
    std::vector<int> LabelJIArray() const override { return m_labelJI.empty() ? IProperty::LabelJIArray() : m_labelJI; }
    std::vector<int> SymmetryList() const override
    {
        return m_symmetry.empty() ? IProperty::SymmetryList() : m_symmetry;
    }
};

struct DatabankRecord {
    int Id = 0;
    std::string Name;
    std::optional<std::string> BaseName;
    std::optional<std::string> Description;
};

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

// What a configuration entry asks for.
struct DatabaseEntry {
    std::string Alias;
    std::string Path;
    std::optional<std::string> Password;
};

class SqliteDatabase : public service::IDatabase, public std::enable_shared_from_this<SqliteDatabase> {
public:
    // Opens the file read-only, checks that it is a database of this service (its format record and
    // the tables and columns the queries need, without reading the data) and reads what the listing
    // reports; throws ServiceError with the reason. The rest is read when a call first needs it.
    static std::shared_ptr<SqliteDatabase> Open(const std::string& alias, const std::string& path);

    // Closes the connection of a database that a later initialisation replaced: whoever still
    // holds it, its databanks or managers gets a failure from every call that would read the file.
    void Retire();

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
    mutable std::vector<std::shared_ptr<SqliteProperty>> m_properties;
    // By folded name.
    mutable std::map<std::string, std::shared_ptr<SqliteProperty>> m_propertiesByKey;
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

class SqliteDatabaseCollection : public service::IDatabaseCollection {
public:
    explicit SqliteDatabaseCollection(service::DatabankCollectionPtr catalogue) : m_catalogue(std::move(catalogue)) {}

    int Count() const override { return static_cast<int>(m_databases.size()); }
    service::DatabasePtr At(int index) const override;
    service::DatabasePtr Find(const std::string& name) const override;
    std::string InitializeFromConfigurationFile(std::istream* configuration, const std::string& configurationPath,
                                                const std::string& password) override;
    void GetExceptionResults() override {}

private:
    std::string ConnectConfiguration(std::istream* configuration, const std::string& configurationPath,
                                     const std::string& password);
    std::string Connect(const DatabaseEntry& entry, const std::string& applicationPassword);

    service::DatabankCollectionPtr m_catalogue;
    std::vector<std::shared_ptr<SqliteDatabase>> m_databases;
};

// Writes the default configuration where none exists yet, as well as it can: a failure never fails
// the initialisation, it ends the next initialisation's result text as a warning entry.
class SqliteConfigFileInstaller : public service::IConfigFileInstaller {
public:
    void CreateConfigurationFile() override;
};

// The warning that the last CreateConfigurationFile left, or empty; taking it clears it.
std::string TakeDefaultConfigurationWarning();

// Where CreateConfigurationFile writes: MORU_CONFIG_FILE when set, else the per-user location
// (%APPDATA%\MoruIntegration\databases.json, $XDG_CONFIG_HOME or ~/.config/moru-integration/databases.json).
// Empty when no location can be determined.
std::string DefaultConfigurationPath();

// Parses a configuration text; throws ServiceError for text that is not a valid configuration.
std::vector<DatabaseEntry> ParseConfiguration(const std::string& text);

} // namespace moru::sqlite
