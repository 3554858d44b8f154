#pragma once

// The property database service over a PostgreSQL server: one PgDatabase per configuration entry
// with a url, its databanks and managers. The schema's content equals a database file's.

#include "PgConnection.h"

#include "common/BinaryValueManager.h"
#include "common/Collection.h"
#include "common/Stored.h"
#include "common/StoredDatabase.h"

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

using PgCompound = common::StoredCompound;
using PgIdentifier = common::StoredIdentifier;
using PgDatabank = common::StoredDatabank;

class PgDatabase : public common::StoredDatabase {
public:
    PgDatabase(std::string alias, std::unique_ptr<PgConnection> connection);
    ~PgDatabase() override;
    // Reads the format record, meta and databanks; throws ServiceError when the schema holds no
    // database of this service.
    void Load();
    void Retire() override;

    // Throws ServiceError once the database is retired.
    PgConnection& Db() const;
    service::IdentifierPtr IdentifierType(const std::string& name) const;
    service::CompoundCollectionPtr CompoundsWithData(int databankId) const override;
    std::optional<int> ResolveCompound(const std::string& value, const std::string& type) const override
    {
        return Resolve(value, type);
    }
    bool CompoundExists(int compoundId) const override;
    std::vector<int> ReadPropertyIdsWithData(int databankId) const override;
    std::optional<service::Value> ReadUnaryValue(int databankId, int compoundId, int propertyId) const override;
    std::vector<std::pair<int, service::Value>> ReadUnaryValuesOfCompound(int databankId,
                                                                          int compoundId) const override;
    std::optional<std::string> ReadStructure(int compoundId, int structureType) const override;
    std::shared_ptr<service::PureDatabankInfoObject> ReadPureInfo(int databankId) const override;
    std::vector<service::SundryItemPtr> ReadBinaryInfo(int databankId) const override;
    // Compounds having an identifier of `type` (any type when empty) equal to `text` without regard
    // to letter case, by compound index.
    std::vector<int> FindCompounds(const std::string& text, const std::string& type) const;
    // The compound a value of `type` names (a compound index for that type), or nullopt.
    std::optional<int> Resolve(const std::string& value, const std::string& type) const;

private:
    bool IsOpen() const override { return m_connection != nullptr; }
    std::vector<std::shared_ptr<common::StoredProperty>> ReadProperties() const override;

    std::unique_ptr<PgConnection> m_connection;
    mutable std::optional<std::map<std::string, service::IdentifierPtr>> m_identifierTypes; // by folded name
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

class PgBinaryValueManager : public common::StoredBinaryValueManager {
public:
    explicit PgBinaryValueManager(PgDatabase& database) : StoredBinaryValueManager(database), m_database(&database) {}

private:
    std::optional<int> CompoundId(const std::string& identifier, const std::string& identifierType) override;
    std::vector<common::BinaryElement> ReadElements(int propertyId) override;
    bool ReadBinaryValue(int databankId, int compound1, int propertyId, int compound2,
                         common::StoredPairValueSink& sink) override;
    std::optional<long long> ValueIdOf(int interactionType, int databankId, int compound1, int propertyId,
                                       int compound2) override;
    std::optional<common::StoredRegression> ReadRegression(long long valueId) override;
    void ReadValues(int databankId, int propertyId, int interactionType, const std::vector<int>& compoundIds,
                    common::StoredPairValueSink& sink) override;

    PgDatabase* m_database;
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
