#pragma once

// A programmable stand-in for the property database service. A test builds a small world of
// databases and databanks, scripts what the managers answer, makes any operation raise, and reads
// back the calls the library made, in order.

#include "fake/FakePropertyValues.h"
#include "service/Database.h"
#include "service/Errors.h"
#include "service/Factory.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace moru::fake {

// Calls received, in order, as short texts such as "FindForMM DB1[B1,B2] water".
class CallLog {
public:
    void Record(std::string call) { m_calls.push_back(std::move(call)); }
    const std::vector<std::string>& Calls() const { return m_calls; }
    // Calls whose text starts with `prefix`.
    std::vector<std::string> Matching(const std::string& prefix) const;
    // The last of them; "<none>" when there is none, so that a test compares instead of crashing.
    std::string Last(const std::string& prefix) const;
    void Clear() { m_calls.clear(); }

    // Operations named here raise a ServiceError when called.
    std::set<std::string> failing;
    std::string failureMessage; // the failures' message; empty: "<operation> failed"
    void MaybeFail(const std::string& operation) const;

private:
    std::vector<std::string> m_calls;
};

class FakeDatabase;
class FakeBinaryValueManager; // fake/FakeBinaryValues.h
class FakeBulkManager;        // fake/FakeBulk.h

class FakeDatabank : public service::IDatabank {
public:
    FakeDatabank(std::string name, std::weak_ptr<FakeDatabase> database, int id, CallLog& log)
        : name(std::move(name)), m_database(std::move(database)), id(id), m_log(log)
    {}
    std::string Name() const override;
    std::optional<std::string> BaseDatabankName() const override { return baseName; }
    std::optional<std::string> Description() const override { return description; }
    int Id() const override { return id; }
    service::DatabasePtr Database() const override;
    service::CompoundCollectionPtr GetIdentifiersOfCompoundsWithData() const override;

    std::string name;
    std::optional<std::string> baseName;
    std::optional<std::string> description;
    service::CompoundCollectionPtr compoundsWithData;
    std::weak_ptr<FakeDatabase> m_database;
    int id;

private:
    CallLog& m_log;
};

class FakeCompound : public service::ICompound {
public:
    explicit FakeCompound(int id) : id(id) {}
    int Id() const override { return id; }
    int id;
};

class FakeIdentifier : public service::IIdentifier {
public:
    explicit FakeIdentifier(std::string name) : name(std::move(name)) {}
    std::string Name() const override { return name; }
    std::string name;
};

class FakeProperty : public service::IProperty {
public:
    FakeProperty(std::string name, int interactionType, int elementCount = 1, int dataType = 1)
        : name(std::move(name)), interactionType(interactionType), elementCount(elementCount), dataType(dataType)
    {}
    std::string Name() const override { return name; }
    int InteractionType() const override { return interactionType; }
    int DataType() const override { return dataType; }
    int ElementCount() const override { return elementCount; }
    std::vector<service::UnitRow> UnitsTypeList() const override { return units; }
    std::vector<int> LabelIJArray() const override { return labelIJ ? *labelIJ : service::IProperty::LabelIJArray(); }
    std::vector<int> LabelJIArray() const override { return labelJI ? *labelJI : service::IProperty::LabelJIArray(); }
    std::vector<int> SymmetryList() const override { return symmetry ? *symmetry : service::IProperty::SymmetryList(); }

    std::string name;
    int interactionType;
    int elementCount;
    int dataType;
    std::vector<service::UnitRow> units;
    std::optional<std::vector<int>> labelIJ, labelJI, symmetry; // unset: the defaults
};

// Every operation logs itself and answers through a replaceable function; without one it
// answers "nothing found".
class FakeCompoundManager : public service::ICompoundManager {
public:
    FakeCompoundManager(std::string databaseAlias, CallLog& log) : m_alias(std::move(databaseAlias)), m_log(log) {}

    std::function<std::optional<service::FoundCompoundsList>(const service::DatabankCollection&, const std::string&,
                                                             const std::string&, const std::string&)>
        onFindForMM;
    std::function<std::optional<service::FoundCompoundsList>(const service::DatabankCollection&, const std::string&,
                                                             service::SearchStringMap&, const std::string&)>
        onFindForMMMultiple;
    std::function<void(const service::DatabankCollection&, const std::string&, int, int&, std::string&, std::string&)>
        onFindForVanta;
    std::function<std::optional<service::FoundCompoundsList>(const service::IDatabank*)> onGetAllCompounds;
    std::function<service::IdentifierValuePtr(const std::string&, const std::string&, const std::string&)>
        onGetCompoundIdentifier;
    std::function<service::IdentifierPtr(const std::string&)> onGetIdentifier;
    std::function<service::CompoundPtr(const std::string&, const service::IIdentifier&)> onGetCompound;
    std::function<bool(const service::IDatabank&, const service::ICompound&)> onDatabankHasCompound;
    std::map<int, std::string> compoundClasses; // by compound index

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
    std::vector<service::CompoundPtr> workingCompounds;

private:
    std::string m_alias;
    CallLog& m_log;
};

class FakePropertyManager : public service::IPropertyManager {
public:
    explicit FakePropertyManager(CallLog& log) : m_log(log) {}
    std::optional<std::vector<service::PropertyPtr>> GetAllProperties(const service::IDatabank& databank,
                                                                      bool withData) override;
    // By databank name; a databank without an entry has no property list.
    std::map<std::string, std::vector<service::PropertyPtr>> properties;

private:
    CallLog& m_log;
};

class FakeReactionManager : public service::IReactionManager {
public:
    explicit FakeReactionManager(CallLog& log) : m_log(log) {}
    int GetAllReactionsCount(const service::IDatabank* databank) override;
    // Answers with the stored reactions of the named databanks that name one of the compounds
    // (exactly, as species synonyms), in stored order; nullopt when there are none.
    std::optional<std::vector<service::ReactionRecord>> GetCompoundsReactions(
        const std::vector<std::string>& compounds, const std::string& identifierType,
        const std::vector<std::string>& databankNames) override;
    int total = 0;
    std::map<std::string, int> perDatabank;
    // Reactions by databank name.
    std::vector<std::pair<std::string, service::ReactionRecord>> reactions;

private:
    CallLog& m_log;
};

class FakeSundryDataManager : public service::ISundryDataManager {
public:
    explicit FakeSundryDataManager(CallLog& log) : m_log(log) {}
    service::SundryItemPtr GetItem(const std::string& name) override;
    std::map<std::string, service::SundryItemPtr> items;

private:
    CallLog& m_log;
};

class FakeDatabase : public service::IDatabase, public std::enable_shared_from_this<FakeDatabase> {
public:
    FakeDatabase(std::string alias, CallLog& log);

    std::string Alias() const override;
    std::optional<std::string> Description() const override { return description; }
    int DatabaseVersion() const override { return version; }
    bool GetDatabaseAccessSetting(const std::string& settingName) const override;
    service::DatabankCollectionPtr EnumerateDatabanks() const override;
    std::shared_ptr<service::ICompoundManager> CompoundManager() const override { return compounds; }
    std::shared_ptr<service::IPropertyManager> PropertyManager() const override { return properties; }
    std::shared_ptr<service::IReactionManager> ReactionManager() const override { return reactions; }
    std::shared_ptr<service::ISundryDataManager> SundryDataManager() const override { return sundry; }
    std::shared_ptr<service::IPropertyValueManager> PropertyValueManager() const override { return propertyValues; }
    std::shared_ptr<service::IMolData> MolDataManager() const override { return molData; }
    std::shared_ptr<service::IBinaryValueManager> BinaryValueManager() const override;
    // The binary value manager, made at first use.
    FakeBinaryValueManager& BinaryValues() const;

    std::shared_ptr<FakeDatabank> AddDatabank(const std::string& name);
    void SetPureInfo(const std::string& databankName, std::shared_ptr<service::PureDatabankInfoObject> info);

    std::string alias;
    std::optional<std::string> description;
    int version = 2010;
    std::map<std::string, bool> accessSettings;
    service::DatabankCollectionPtr databanks = std::make_shared<service::DatabankCollection>(); // null: none offered
    std::shared_ptr<FakeCompoundManager> compounds;
    std::shared_ptr<FakePropertyManager> properties;
    std::shared_ptr<FakeReactionManager> reactions;
    std::shared_ptr<FakeSundryDataManager> sundry;
    std::shared_ptr<FakePropertyValueManager> propertyValues;
    std::shared_ptr<FakeMolData> molData;
    mutable std::shared_ptr<FakeBinaryValueManager> binaryValues;
    std::shared_ptr<service::IBulkManager> BulkManager() const override;
    // The bulk manager, made at first use.
    FakeBulkManager& Bulk() const;
    mutable std::shared_ptr<FakeBulkManager> bulk;

private:
    CallLog& m_log;
};

class FakeDatabaseCollection : public service::IDatabaseCollection {
public:
    explicit FakeDatabaseCollection(CallLog& log) : m_log(log) {}
    int Count() const override { return static_cast<int>(databases.size()); }
    service::DatabasePtr At(int index) const override;
    service::DatabasePtr Find(const std::string& name) const override;
    std::string InitializeFromConfigurationFile(std::istream* configuration, const std::string& configurationPath,
                                                const std::string& password) override;
    void GetExceptionResults() override;

    std::vector<std::shared_ptr<FakeDatabase>> databases;
    std::string resultText;
    std::string lastConfiguration; // what was read from the stream; "<none>" without one
    service::DatabankCollectionPtr catalogue;

private:
    CallLog& m_log;
};

class FakeConfigFileInstaller : public service::IConfigFileInstaller {
public:
    explicit FakeConfigFileInstaller(CallLog& log) : m_log(log) {}
    void CreateConfigurationFile() override;

private:
    CallLog& m_log;
};

// The whole fake service. Constructing it installs it as the library's service and gives the
// test a new session; destroying it restores the default.
class FakeService : public service::ServiceFactory {
public:
    FakeService();
    ~FakeService() override;

    std::shared_ptr<service::IDatabaseCollection> CreateDatabaseCollection(
        service::DatabankCollectionPtr catalogue) override;
    std::shared_ptr<service::IConfigFileInstaller> CreateConfigFileInstaller() override;

    std::shared_ptr<FakeDatabase> AddDatabase(const std::string& alias);
    std::shared_ptr<FakeDatabase> Database(const std::string& alias) const;

    CallLog log;
    std::shared_ptr<FakeDatabaseCollection> collection;
    std::shared_ptr<FakeConfigFileInstaller> installer;
};

// Lists every databank through the library, as a host does before naming databanks.
void ListAllDatabanks();

// Helpers for building hits.
service::IdentifierValuePtr MakeIdentifierValue(const std::string& type, std::vector<std::string> values,
                                                int compoundId = 0);
service::FoundCompoundsPtr MakeHit(int compoundId, const service::DatabankPtr& databank,
                                   std::vector<service::IdentifierValuePtr> identifiers = {});

} // namespace moru::fake
