#pragma once

// What a connected database of this service is whatever holds it: its meta records, databanks,
// properties and managers. A backend adds the connection and how its rows are read.

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
#include <unordered_map>
#include <utility>
#include <vector>

namespace moru::common {

class StoredDatabase;

class StoredCompound : public service::ICompound {
public:
    explicit StoredCompound(int id) : m_id(id) {}
    int Id() const override { return m_id; }

private:
    int m_id;
};

class StoredIdentifier : public service::IIdentifier {
public:
    explicit StoredIdentifier(std::string name) : m_name(std::move(name)) {}
    std::string Name() const override { return m_name; }

private:
    std::string m_name;
};

class StoredDatabank : public service::IDatabank {
public:
    // `position`: the record's place in its database's list, where the database looks first.
    StoredDatabank(std::shared_ptr<StoredDatabase> database, const DatabankRecord& record, std::size_t position)
        : m_database(std::move(database)), m_record(record), m_position(position)
    {}

    std::string Name() const override { return m_record.Name; }
    std::optional<std::string> BaseDatabankName() const override { return m_record.BaseName; }
    std::optional<std::string> Description() const override { return m_record.Description; }
    int Id() const override { return m_record.Id; }
    service::DatabasePtr Database() const override;
    service::CompoundCollectionPtr GetIdentifiersOfCompoundsWithData() const override;

    const StoredDatabase& Owner() const { return *m_database; }
    std::size_t Position() const { return m_position; }
    // Keeps only the name and id of a databank whose database was replaced: the library's
    // catalogue keeps its entries, so each should cost little.
    void Retire();

private:
    // Databanks keep their database alive: the library's catalogue holds databanks, and a databank
    // must still answer after the collection was initialised again.
    std::shared_ptr<StoredDatabase> m_database;
    DatabankRecord m_record;
    std::size_t m_position = 0;
};

// The properties of a database as its rows come, in any order of properties: each unit row and
// element goes to the property of its id, after the properties before it.
class PropertyRows {
public:
    void AddProperty(int id, std::string name, int dataType, int interactionType, int elementCount);
    void AddUnitRow(int propertyId, std::string row, std::string unit);
    void AddElement(int propertyId, int labelIJ, int labelJI, int symmetry);
    std::vector<std::shared_ptr<StoredProperty>> Take() { return std::move(m_properties); }

private:
    StoredProperty* Find(int propertyId);

    std::vector<std::shared_ptr<StoredProperty>> m_properties;
    std::map<int, StoredProperty*> m_byId;
};

class StoredDatabase : public ConnectedDatabase, public std::enable_shared_from_this<StoredDatabase> {
public:
    ~StoredDatabase() override;

    // Forgets what was read; the backend closes its connection too.
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
    const std::vector<std::shared_ptr<StoredProperty>>& Properties() const;
    std::shared_ptr<StoredProperty> PropertyByName(const std::string& name) const;
    std::shared_ptr<StoredProperty> PropertyById(int id) const;
    // The databank as one of this database's own, or null when it belongs elsewhere.
    const DatabankRecord* OwnDatabank(const service::IDatabank& databank) const;
    const DatabankRecord* DatabankByName(std::string_view name) const;
    // The databank object of an id, as EnumerateDatabanks hands it out; null for an unknown id.
    service::DatabankPtr DatabankObject(int id) const;
    // The key under which this database's identifiers are searched for `text`: folded as the
    // database's search keys were when it was built.
    std::string SearchKeyOf(std::string_view text) const;
    void SearchKeyInto(std::string_view text, std::string& key) const;

    // The compounds of a databank that have data, with their names (see IDatabank).
    virtual service::CompoundCollectionPtr CompoundsWithData(int databankId) const = 0;

    // The rows that the shared managers read, as each backend reads them.
    // The compound that a value of `type` names (a compound index for that type; any type when empty).
    virtual std::optional<int> ResolveCompound(const std::string& value, const std::string& type) const = 0;
    virtual bool CompoundExists(int compoundId) const = 0;
    // The ids of the properties that hold values in a databank, ascending.
    virtual std::vector<int> ReadPropertyIdsWithData(int databankId) const = 0;
    // A compound's pure value of one property, nullopt when there is none.
    virtual std::optional<service::Value> ReadUnaryValue(int databankId, int compoundId, int propertyId) const = 0;
    // Every pure value of a compound with its property id, by property id.
    virtual std::vector<std::pair<int, service::Value>> ReadUnaryValuesOfCompound(int databankId,
                                                                                  int compoundId) const = 0;
    virtual std::optional<std::string> ReadStructure(int compoundId, int structureType) const = 0;
    // A databank's pure information, null when it has none; its binary parameter information.
    virtual std::shared_ptr<service::PureDatabankInfoObject> ReadPureInfo(int databankId) const = 0;
    virtual std::vector<service::SundryItemPtr> ReadBinaryInfo(int databankId) const = 0;

    // Throws ServiceError once the database is retired.
    void CheckOpen() const;

protected:
    explicit StoredDatabase(std::string alias) : m_alias(std::move(alias)) {}

    // Takes the meta records: the version and the search keys' folding; throws ServiceError for
    // records this service cannot read.
    void TakeMeta(std::map<std::string, std::string> meta);
    void TakeDatabanks(std::vector<DatabankRecord> databanks)
    {
        m_databanks = std::move(databanks);
        m_databankNames.Clear();
    }
    virtual bool IsOpen() const = 0;
    // The properties with their unit rows and elements; read on first use (the listing does not
    // need them).
    virtual std::vector<std::shared_ptr<StoredProperty>> ReadProperties() const = 0;

    struct Managers {
        std::unique_ptr<service::ICompoundManager> Compounds;
        std::unique_ptr<service::IPropertyManager> Properties;
        std::unique_ptr<service::IReactionManager> Reactions;
        std::unique_ptr<service::ISundryDataManager> SundryData;
        std::unique_ptr<service::IPropertyValueManager> PropertyValues;
        std::unique_ptr<service::IMolData> MolData;
        std::unique_ptr<service::IBinaryValueManager> BinaryValues;
        std::unique_ptr<service::IBulkManager> Bulk;
    };
    Managers m_managers;

private:
    void LoadProperties() const;
    template <typename Manager>
    std::shared_ptr<Manager> Share(const std::unique_ptr<Manager>& manager) const;

    std::string m_alias;
    std::map<std::string, std::string> m_meta;
    bool m_asciiSearchKeys = false;
    int m_version = 0;
    std::vector<DatabankRecord> m_databanks;
    // The listing asks by every name, which a scan would answer in quadratic time.
    mutable DatabankNameIndex m_databankNames;
    mutable bool m_propertiesLoaded = false;
    mutable PropertyCatalogue m_properties;
    // The databank objects handed out last, so that the same databank is the same object while
    // anybody holds it.
    mutable std::vector<std::weak_ptr<StoredDatabank>> m_databankObjects;
};

} // namespace moru::common
