#pragma once

// The databases of the service and the managers reached through their capabilities.
// A capability that a database does not offer reads as a null manager.

#include "service/Model.h"
#include "service/PropertyValues.h"
#include "service/Reactions.h"

#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>

namespace moru::service {

class ICompoundManager;
class IPropertyManager;
class IReactionManager;
class ISundryDataManager;
class IBinaryValueManager;
class IBulkManager;

// The format version of a database that holds no reactions: its reaction manager is never asked.
inline constexpr int kVersionWithoutReactions = 2006;

class IDatabank {
public:
    virtual ~IDatabank() = default;
    virtual std::string Name() const = 0;
    virtual std::optional<std::string> BaseDatabankName() const = 0;
    virtual std::optional<std::string> Description() const = 0;
    virtual int Id() const = 0;
    virtual DatabasePtr Database() const = 0;
    // The compounds for which this databank holds data; null when it cannot tell.
    virtual CompoundCollectionPtr GetIdentifiersOfCompoundsWithData() const = 0;
};

class IDatabase {
public:
    virtual ~IDatabase() = default;
    virtual std::string Alias() const = 0;
    virtual std::optional<std::string> Description() const = 0;
    virtual int DatabaseVersion() const = 0; // kVersionWithoutReactions marks a database without reactions
    virtual bool GetDatabaseAccessSetting(const std::string& settingName) const = 0;
    virtual DatabankCollectionPtr EnumerateDatabanks() const = 0; // null when it has none

    virtual std::shared_ptr<ICompoundManager> CompoundManager() const = 0;
    virtual std::shared_ptr<IPropertyManager> PropertyManager() const = 0;
    virtual std::shared_ptr<IReactionManager> ReactionManager() const = 0;
    virtual std::shared_ptr<ISundryDataManager> SundryDataManager() const = 0;
    virtual std::shared_ptr<IPropertyValueManager> PropertyValueManager() const = 0;
    virtual std::shared_ptr<IMolData> MolDataManager() const = 0;
    virtual std::shared_ptr<IBinaryValueManager> BinaryValueManager() const = 0; // service/BinaryValues.h
    virtual std::shared_ptr<IBulkManager> BulkManager() const = 0;               // service/Bulk.h
};

// Search texts of a multiple search by their position in the host's list. The service may remove
// the entries it has answered; what it leaves is searched in the next database.
using SearchStringMap = std::map<int, std::string>;

class ICompoundManager {
public:
    virtual ~ICompoundManager() = default;

    // Compounds of the group's databanks having an identifier equal to `searchText`, of
    // `identifierType` (any type when empty). With an `outputPropertyName`, each hit carries that
    // property's value. nullopt or an empty list: no hit.
    virtual std::optional<FoundCompoundsList> FindForMM(const DatabankCollection& databankGroup,
                                                        const std::string& searchText,
                                                        const std::string& identifierType,
                                                        const std::string& outputPropertyName) = 0;

    virtual std::optional<FoundCompoundsList> FindForMM_Multiple(const DatabankCollection& databankGroup,
                                                                 const std::string& identifierType,
                                                                 SearchStringMap& searchStrings,
                                                                 const std::string& outputPropertyName) = 0;

    // Leaves `compoundIndex` unchanged (-1 on the first call) when this database has no match;
    // otherwise sets index, name and alias of the match.
    virtual void FindForVanta(const DatabankCollection& databankGroup, const std::string& searchText,
                              int dbankContentDataType, int& compoundIndex, std::string& compoundName,
                              std::string& compoundAlias) = 0;

    // All compounds of the database (databank null) or of one databank; nullopt when it offers none.
    virtual std::optional<FoundCompoundsList> GetAllCompounds(const IDatabank* databank) = 0;

    // The identifier of type `wantedType` of the compound whose `knownType` identifier is `knownValue`;
    // null when that names no compound.
    virtual IdentifierValuePtr GetCompoundIdentifier(const std::string& knownValue, const std::string& knownType,
                                                     const std::string& wantedType) = 0;

    virtual IdentifierPtr GetIdentifier(const std::string& identifierType) = 0;
    virtual CompoundPtr GetCompound(const std::string& value, const IIdentifier& identifier) = 0;
    virtual bool DatabankHasCompound(const IDatabank& databank, const ICompound& compound) = 0;
    // The class of a compound of this database ("alcohols"); nullopt when it has none.
    virtual std::optional<std::string> GetCompoundClass(const ICompound& compound) = 0;
    // Makes these compounds the manager's working set; entries may be null.
    virtual void SetWorkingCompounds(const std::vector<CompoundPtr>& compounds) = 0;
};

class IPropertyManager {
public:
    virtual ~IPropertyManager() = default;
    // The properties of a databank; entries may be null. With `withData` only properties for which
    // the databank holds values. nullopt when the databank has no property list.
    virtual std::optional<std::vector<PropertyPtr>> GetAllProperties(const IDatabank& databank, bool withData) = 0;
};

class IReactionManager {
public:
    virtual ~IReactionManager() = default;
    // Reactions of one databank, or of the whole database when `databank` is null.
    virtual int GetAllReactionsCount(const IDatabank* databank) = 0;
    // The reactions of the named databanks of this database in which at least one of `compounds`
    // takes part; each compound is written as an identifier of `identifierType`. nullopt when the
    // database holds no reactions for them.
    virtual std::optional<std::vector<ReactionRecord>> GetCompoundsReactions(
        const std::vector<std::string>& compounds, const std::string& identifierType,
        const std::vector<std::string>& databankNames) = 0;
};

class ISundryDataManager {
public:
    virtual ~ISundryDataManager() = default;
    virtual SundryItemPtr GetItem(const std::string& name) = 0; // null when nothing is stored
};

// The databases that a configuration connects, over the session's databank catalogue.
// The largest configuration file read: a list of databases is a few hundred bytes a database, and a
// larger file is refused before it fills the host's memory.
inline constexpr std::size_t kMaxConfigurationBytes = 1 << 20;

class IDatabaseCollection {
public:
    virtual ~IDatabaseCollection() = default;
    virtual int Count() const = 0;
    virtual DatabasePtr At(int index) const = 0;
    virtual DatabasePtr Find(const std::string& name) const = 0; // by alias; null when absent
    // A number that changes whenever the connected databases change, so that a caller may keep
    // what it derived from them; 0 from a collection that keeps no such number, whose databases
    // the caller must compare itself.
    virtual std::uint64_t Revision() const { return 0; }

    // Connects the databases that the configuration names, read up to kMaxConfigurationBytes.
    // `configuration` may be null (no file);
    // `configurationPath` locates files that the configuration names relative to itself.
    // Returns the result text: one entry per database, entries joined by "<?>".
    virtual std::string InitializeFromConfigurationFile(std::istream* configuration,
                                                        const std::string& configurationPath,
                                                        const std::string& password) = 0;
    virtual void GetExceptionResults() = 0;
};

class IConfigFileInstaller {
public:
    virtual ~IConfigFileInstaller() = default;
    // Writes a default configuration where none exists yet.
    virtual void CreateConfigurationFile() = 0;
};

} // namespace moru::service
