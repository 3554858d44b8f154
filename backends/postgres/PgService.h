#pragma once

// The property database service over a PostgreSQL server: one PgDatabase per configuration entry
// with a url, its databanks and managers. The schema's content equals a database file's.

#include "PgConnection.h"

#include "common/Collection.h"
#include "common/Stored.h"

#include "service/BinaryValues.h"
#include "service/Bulk.h"
#include "service/Database.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::postgres {

class PgDatabase;

// Opens the database of a server entry: connects (with the entry's password, else the
// application's, else what libpq finds in its environment and password file), checks the schema's
// format and reads what the listing reports. A server that refuses the password gives
// NeedsPassword when none was given, WrongPassword otherwise.
common::OpenedDatabase OpenServerDatabase(const common::DatabaseEntry& entry, const std::string& applicationPassword);

// The settings a connection of `entry` is made with (libpq keywords): the url, the password, the
// timeouts, a read-only session on the entry's schema.
std::vector<std::pair<std::string, std::string>> ConnectionSettings(const common::DatabaseEntry& entry,
                                                                    const std::string& password, bool readOnly);

// Around every export call (see PgConnection::BeginCall).
void BeginCall() noexcept;
void EndCall();

// True when `text` can equal a stored text: valid UTF-8 without a NUL. Anything else matches
// nothing, as in a database file, rather than being refused by the server.
bool Storable(std::string_view text);

// A name as an SQL identifier, quoted so that letter case and any character stand as written.
std::string QuotedIdentifier(std::string_view name);

class PgCompound : public service::ICompound {
public:
    explicit PgCompound(int id) : m_id(id) {}
    int Id() const override { return m_id; }

private:
    int m_id;
};

class PgIdentifier : public service::IIdentifier {
public:
    explicit PgIdentifier(std::string name) : m_name(std::move(name)) {}
    std::string Name() const override { return m_name; }

private:
    std::string m_name;
};

class PgDatabank : public service::IDatabank {
public:
    PgDatabank(std::shared_ptr<PgDatabase> database, const common::DatabankRecord& record)
        : m_database(std::move(database)), m_record(record)
    {}
    std::string Name() const override { return m_record.Name; }
    std::optional<std::string> BaseDatabankName() const override { return m_record.BaseName; }
    std::optional<std::string> Description() const override { return m_record.Description; }
    int Id() const override { return m_record.Id; }
    service::DatabasePtr Database() const override;
    service::CompoundCollectionPtr GetIdentifiersOfCompoundsWithData() const override;
    const PgDatabase& Owner() const { return *m_database; }

private:
    std::shared_ptr<PgDatabase> m_database;
    common::DatabankRecord m_record;
};

class PgDatabase : public common::ConnectedDatabase, public std::enable_shared_from_this<PgDatabase> {
public:
    PgDatabase(std::string alias, std::unique_ptr<PgConnection> connection);
    ~PgDatabase() override;
    // Reads the format record, meta and databanks; throws ServiceError when the schema holds no
    // database of this service.
    void Load();
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
    // Throws ServiceError once the database is retired.
    PgConnection& Db() const;
    const std::vector<std::shared_ptr<common::StoredProperty>>& Properties() const;
    std::shared_ptr<common::StoredProperty> PropertyByName(const std::string& name) const;
    std::shared_ptr<common::StoredProperty> PropertyById(int id) const;
    const common::DatabankRecord* OwnDatabank(const service::IDatabank& databank) const;
    const common::DatabankRecord* DatabankByName(const std::string& name) const;
    service::DatabankPtr DatabankObject(int id) const;
    service::IdentifierPtr IdentifierType(const std::string& name) const;
    std::string SearchKeyOf(std::string_view text) const;
    // Compounds having an identifier of `type` (any type when empty) equal to `text` without regard
    // to letter case, by compound index.
    std::vector<int> FindCompounds(const std::string& text, const std::string& type) const;
    // The compound a value of `type` names (a compound index for that type), or nullopt.
    std::optional<int> Resolve(const std::string& value, const std::string& type) const;

private:
    void LoadProperties() const;
    template <typename Manager>
    std::shared_ptr<Manager> Share(const std::unique_ptr<Manager>& manager) const;

    std::string m_alias;
    std::unique_ptr<PgConnection> m_connection;
    std::map<std::string, std::string> m_meta;
    bool m_asciiSearchKeys = false;
    int m_version = 0;
    std::vector<common::DatabankRecord> m_databanks;
    mutable bool m_propertiesLoaded = false;
    mutable common::PropertyCatalogue m_properties;
    mutable std::optional<std::map<std::string, service::IdentifierPtr>> m_identifierTypes; // by folded name
    mutable std::vector<std::weak_ptr<PgDatabank>> m_databankObjects;
    std::unique_ptr<service::ICompoundManager> m_compoundManager;
    std::unique_ptr<service::IPropertyManager> m_propertyManager;
    std::unique_ptr<service::IReactionManager> m_reactionManager;
    std::unique_ptr<service::ISundryDataManager> m_sundryDataManager;
    std::unique_ptr<service::IPropertyValueManager> m_propertyValueManager;
    std::unique_ptr<service::IMolData> m_molDataManager;
    std::unique_ptr<service::IBinaryValueManager> m_binaryValueManager;
    std::unique_ptr<service::IBulkManager> m_bulkManager;
};

// A stored value from the columns kind, numbers, text and texts of a row, starting at `kindColumn`.
service::Value ReadStoredValue(const PgResult& rows, int row, int kindColumn);

class PgCompoundManager : public service::ICompoundManager {
public:
    explicit PgCompoundManager(PgDatabase& database) : m_database(&database) {}
    std::optional<service::FoundCompoundsList> FindForMM(const service::DatabankCollection& databankGroup,
                                                         const std::string& searchText,
                                                         const std::string& identifierType,
                                                         const std::string& outputPropertyName) override;
    std::optional<service::FoundCompoundsList> FindForMM_Multiple(const service::DatabankCollection& databankGroup,
                                                                  const std::string& identifierType,
                                                                  service::SearchStringMap& searchStrings,
                                                                  const std::string& outputPropertyName) override;
    void FindForVanta(const service::DatabankCollection& databankGroup, const std::string& searchText,
                      int dbankContentDataType, int& compoundIndex, std::string& compoundName,
                      std::string& compoundAlias) override;
    std::optional<service::FoundCompoundsList> GetAllCompounds(const service::IDatabank* databank) override;
    service::IdentifierValuePtr GetCompoundIdentifier(const std::string& knownValue, const std::string& knownType,
                                                      const std::string& wantedType) override;
    service::IdentifierPtr GetIdentifier(const std::string& identifierType) override;
    service::CompoundPtr GetCompound(const std::string& value, const service::IIdentifier& identifier) override;
    bool DatabankHasCompound(const service::IDatabank& databank, const service::ICompound& compound) override;
    std::optional<std::string> GetCompoundClass(const service::ICompound& compound) override;
    void SetWorkingCompounds(const std::vector<service::CompoundPtr>& compounds) override;

private:
    service::FoundCompoundsList Search(const service::DatabankCollection& group, const std::string& searchText,
                                       const std::string& identifierType, const std::string& outputPropertyName,
                                       int position);
    // Hits for compounds (in order, each with its databank), with their identifiers and, with a
    // property, its value in the hit's databank.
    service::FoundCompoundsList MakeHits(const std::vector<std::pair<int, std::pair<service::DatabankPtr, int>>>& found,
                                         const common::StoredProperty* property);

    PgDatabase* m_database;
    std::vector<service::CompoundPtr> m_workingCompounds;
};

class PgPropertyManager : public service::IPropertyManager {
public:
    explicit PgPropertyManager(PgDatabase& database) : m_database(&database) {}
    std::optional<std::vector<service::PropertyPtr>> GetAllProperties(const service::IDatabank& databank,
                                                                      bool withData) override;

private:
    PgDatabase* m_database;
};

class PgReactionManager : public service::IReactionManager {
public:
    explicit PgReactionManager(PgDatabase& database) : m_database(&database) {}
    int GetAllReactionsCount(const service::IDatabank* databank) override;
    std::optional<std::vector<service::ReactionRecord>> GetCompoundsReactions(
        const std::vector<std::string>& compounds, const std::string& identifierType,
        const std::vector<std::string>& databankNames) override;

private:
    PgDatabase* m_database;
};

class PgSundryDataManager : public service::ISundryDataManager {
public:
    explicit PgSundryDataManager(PgDatabase& database) : m_database(&database) {}
    service::SundryItemPtr GetItem(const std::string& name) override;

private:
    PgDatabase* m_database;
};

class PgPropertyValueManager : public service::IPropertyValueManager {
public:
    explicit PgPropertyValueManager(PgDatabase& database) : m_database(&database) {}
    service::PropertyValuePtr GetUnaryPropertyValue(const service::IDatabank& databank, const std::string& compoundId,
                                                    const std::string& compoundIdType,
                                                    const std::string& propertyId) override;
    std::optional<std::vector<service::PropertyValuePtr>> GetAllUnaryPropertyValues(
        const service::IDatabank& databank, const std::string& compoundId, const std::string& compoundIdType) override;
    std::optional<service::UnaryValueMap> GetAllUnaryPropertyValues_Vanta(int databankId, int compoundIndex) override;

private:
    PgDatabase* m_database;
};

class PgMolData : public service::IMolData {
public:
    explicit PgMolData(PgDatabase& database) : m_database(&database) {}
    bool GetStructureByName(const std::string& compoundId, const std::string& compoundIdType,
                            std::string& structureText, int structureType) override;

private:
    PgDatabase* m_database;
};

class PgBinaryValueManager : public service::IBinaryValueManager {
public:
    explicit PgBinaryValueManager(PgDatabase& database) : m_database(&database) {}
    service::BinaryPropertyValuePtr GetBinaryPropertyValue(const service::IDatabank& databank,
                                                           const std::string& compound1Id,
                                                           const std::string& compound2Id,
                                                           const std::string& identifierType,
                                                           const std::string& modelName, bool condensed) override;
    std::optional<service::BinaryPropertyValueList> GetAllBinaryPropertyValuesForModelManager(
        const service::WorkingCompoundMap& workingCompounds, const std::string& compoundIdType,
        const service::DatabankCollection& databanks, const service::PropertyPositionMap& properties,
        bool condensed) override;
    std::optional<service::BinaryPropertyValueList> GetAllPairPropertyValuesForModelManager(
        const service::WorkingCompoundMap& workingCompounds, const std::string& compoundIdType,
        const service::DatabankCollection& databanks, const service::PropertyPositionMap& properties, bool condensed,
        int workingCount) override;
    bool FetchExistingHelpInfo(service::IpHelpInfoObject& info, const service::IDatabank& databank,
                               const std::string& property, const std::string& compound1,
                               const std::string& compound1Type, const std::string& compound2,
                               const std::string& compound2Type, std::string& message) override;

private:
    const std::vector<common::BinaryElement>& ElementsOf(int propertyId);
    service::BinaryPropertyValuePtr GetBinaryPropertyValueFrom(
        const PgResult& row, const common::DatabankRecord& record,
        const std::shared_ptr<common::StoredProperty>& property, const std::string& compound1Id,
        const std::string& compound2Id, const std::string& modelName, bool exchanged, bool condensed);
    std::optional<service::BinaryPropertyValueList> GetAll(const service::WorkingCompoundMap& workingCompounds,
                                                           const std::string& compoundIdType,
                                                           const service::DatabankCollection& databanks,
                                                           const service::PropertyPositionMap& properties,
                                                           bool condensed, int interactionType);

    PgDatabase* m_database;
    std::map<int, std::vector<common::BinaryElement>> m_elements;
};

class PgBulkManager : public service::IBulkManager {
public:
    explicit PgBulkManager(PgDatabase& database) : m_database(&database) {}
    std::vector<service::EngineCompoundRow> OptimizedFind(const std::vector<std::string>& identifiers, bool keldaIndex,
                                                          bool plxIndex) override;
    std::optional<std::vector<service::PropertyPtr>> GetAllProperties() override;
    void OptimizedGetAllScalarPropertyValues(const service::EngineValueQuery& query,
                                             service::IEngineValueSink& sink) override;
    void OptimizedGetAllVectorPropertyValues(const service::EngineValueQuery& query,
                                             service::IEngineValueSink& sink) override;
    void OptimizedGetAllBinaryPropertyValues(const service::EngineValueQuery& query,
                                             service::IEngineValueSink& sink) override;
    // Every round trip to the server costs: the engine's first fetch reads every kind at once.
    bool ReadsAllKindsTogether() const override { return true; }
    void OptimizedGetAllKindsOfPropertyValues(const service::EngineValueQuery& query,
                                              service::IEngineValueSink& sink) override;

private:
    void ReadValues(const service::EngineValueQuery& query, const char* select, bool binary,
                    service::IEngineValueSink& sink);
    // Makes the call read the data the pass found its compounds in, also when a push has replaced
    // it since; throws ServiceError when that data is gone.
    void ReadPassData();

    PgDatabase* m_database;
    // The schema (its oid) the current pass found its compounds in; a pass's calls all read it.
    std::optional<long long> m_passSchema;
    std::vector<int> m_labels;
    std::vector<std::optional<double>> m_numbers;
};

} // namespace moru::postgres
