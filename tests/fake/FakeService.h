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

using namespace moru::service;

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

class FakeDatabank : public IDatabank {
public:
    FakeDatabank(std::string name, std::weak_ptr<FakeDatabase> database, int id, CallLog& log)
        : name(std::move(name)), m_database(std::move(database)), id(id), m_log(log)
    {}
    std::string Name() const override;
    std::optional<std::string> BaseDatabankName() const override { return baseName; }
    std::optional<std::string> Description() const override { return description; }
    int Id() const override { return id; }
    DatabasePtr Database() const override;
    CompoundCollectionPtr GetIdentifiersOfCompoundsWithData() const override;

    std::string name;
    std::optional<std::string> baseName;
    std::optional<std::string> description;
    CompoundCollectionPtr compoundsWithData;
    std::weak_ptr<FakeDatabase> m_database;
    int id;

private:
    CallLog& m_log;
};

class FakeCompound : public ICompound {
public:
    explicit FakeCompound(int id) : id(id) {}
    int Id() const override { return id; }
    int id;
};

class FakeIdentifier : public IIdentifier {
public:
    explicit FakeIdentifier(std::string name) : name(std::move(name)) {}
    std::string Name() const override { return name; }
    std::string name;
};

class FakeProperty : public IProperty {
public:
    FakeProperty(std::string name, int interactionType, int elementCount = 1, int dataType = 1)
        : name(std::move(name)), interactionType(interactionType), elementCount(elementCount), dataType(dataType)
    {}
    std::string Name() const override { return name; }
    int InteractionType() const override { return interactionType; }
    int DataType() const override { return dataType; }
    int ElementCount() const override { return elementCount; }
    std::vector<UnitRow> UnitsTypeList() const override { return units; }
    std::vector<int> LabelIJArray() const override { return labelIJ ? *labelIJ : IProperty::LabelIJArray(); }
    std::vector<int> LabelJIArray() const override { return labelJI ? *labelJI : IProperty::LabelJIArray(); }
    std::vector<int> SymmetryList() const override { return symmetry ? *symmetry : IProperty::SymmetryList(); }

    std::string name;
    int interactionType;
    int elementCount;
    int dataType;
    std::vector<UnitRow> units;
    std::optional<std::vector<int>> labelIJ, labelJI, symmetry; // unset: the defaults
};

// Every operation logs itself and answers through a replaceable function; without one it
// answers "nothing found".
class FakeCompoundManager : public ICompoundManager {
public:
    FakeCompoundManager(std::string databaseAlias, CallLog& log) : m_alias(std::move(databaseAlias)), m_log(log) {}

    std::function<std::optional<FoundCompoundsList>(const DatabankCollection&, const std::string&, const std::string&,
                                                    const std::string&)>
        onFindForMM;
    std::function<std::optional<FoundCompoundsList>(const DatabankCollection&, const std::string&, SearchStringMap&,
                                                    const std::string&)>
        onFindForMMMultiple;
    std::function<void(const DatabankCollection&, const std::string&, int, int&, std::string&, std::string&)>
        onFindForVanta;
    std::function<std::optional<FoundCompoundsList>(const IDatabank*)> onGetAllCompounds;
    std::function<IdentifierValuePtr(const std::string&, const std::string&, const std::string&)>
        onGetCompoundIdentifier;
    std::function<IdentifierPtr(const std::string&)> onGetIdentifier;
    std::function<CompoundPtr(const std::string&, const IIdentifier&)> onGetCompound;
    std::function<bool(const IDatabank&, const ICompound&)> onDatabankHasCompound;
    std::map<int, std::string> compoundClasses; // by compound index

    std::optional<FoundCompoundsList> FindForMM(const DatabankCollection& databankGroup, const std::string& searchText,
                                                const std::string& identifierType,
                                                const std::string& outputPropertyName) override;
    std::optional<FoundCompoundsList> FindForMM_Multiple(const DatabankCollection& databankGroup,
                                                         const std::string& identifierType,
                                                         SearchStringMap& searchStrings,
                                                         const std::string& outputPropertyName) override;
    void FindForVanta(const DatabankCollection& databankGroup, const std::string& searchText, int dbankContentDataType,
                      int& compoundIndex, std::string& compoundName, std::string& compoundAlias) override;
    std::optional<FoundCompoundsList> GetAllCompounds(const IDatabank* databank) override;
    IdentifierValuePtr GetCompoundIdentifier(const std::string& knownValue, const std::string& knownType,
                                             const std::string& wantedType) override;
    IdentifierPtr GetIdentifier(const std::string& identifierType) override;
    CompoundPtr GetCompound(const std::string& value, const IIdentifier& identifier) override;
    bool DatabankHasCompound(const IDatabank& databank, const ICompound& compound) override;
    std::optional<std::string> GetCompoundClass(const ICompound& compound) override;
    void SetWorkingCompounds(const std::vector<CompoundPtr>& compounds) override;
    std::vector<CompoundPtr> workingCompounds;

private:
    std::string m_alias;
    CallLog& m_log;
};

class FakePropertyManager : public IPropertyManager {
public:
    explicit FakePropertyManager(CallLog& log) : m_log(log) {}
    std::optional<std::vector<PropertyPtr>> GetAllProperties(const IDatabank& databank, bool withData) override;
    // By databank name; a databank without an entry has no property list.
    std::map<std::string, std::vector<PropertyPtr>> properties;

private:
    CallLog& m_log;
};

class FakeReactionManager : public IReactionManager {
public:
    explicit FakeReactionManager(CallLog& log) : m_log(log) {}
    int GetAllReactionsCount(const IDatabank* databank) override;
    // Answers with the stored reactions of the named databanks that name one of the compounds
    // (exactly, as species synonyms), in stored order; nullopt when there are none.
    std::optional<std::vector<ReactionRecord>> GetCompoundsReactions(
        const std::vector<std::string>& compounds, const std::string& identifierType,
        const std::vector<std::string>& databankNames) override;
    int total = 0;
    std::map<std::string, int> perDatabank;
    // Reactions by databank name.
    std::vector<std::pair<std::string, ReactionRecord>> reactions;

private:
    CallLog& m_log;
};

class FakeSundryDataManager : public ISundryDataManager {
public:
    explicit FakeSundryDataManager(CallLog& log) : m_log(log) {}
    SundryItemPtr GetItem(const std::string& name) override;
    std::map<std::string, SundryItemPtr> items;

private:
    CallLog& m_log;
};

class FakeDatabase : public IDatabase, public std::enable_shared_from_this<FakeDatabase> {
public:
    FakeDatabase(std::string alias, CallLog& log);

    std::string Alias() const override;
    std::optional<std::string> Description() const override { return description; }
    int DatabaseVersion() const override { return version; }
    bool GetDatabaseAccessSetting(const std::string& settingName) const override;
    DatabankCollectionPtr EnumerateDatabanks() const override;
    std::shared_ptr<ICompoundManager> CompoundManager() const override { return compounds; }
    std::shared_ptr<IPropertyManager> PropertyManager() const override { return properties; }
    std::shared_ptr<IReactionManager> ReactionManager() const override { return reactions; }
    std::shared_ptr<ISundryDataManager> SundryDataManager() const override { return sundry; }
    std::shared_ptr<IPropertyValueManager> PropertyValueManager() const override { return propertyValues; }
    std::shared_ptr<IMolData> MolDataManager() const override { return molData; }
    std::shared_ptr<IBinaryValueManager> BinaryValueManager() const override;
    // The binary value manager, made at first use.
    FakeBinaryValueManager& BinaryValues() const;

    std::shared_ptr<FakeDatabank> AddDatabank(const std::string& name);
    void SetPureInfo(const std::string& databankName, std::shared_ptr<PureDatabankInfoObject> info);

    std::string alias;
    std::optional<std::string> description;
    int version = 2010;
    std::map<std::string, bool> accessSettings;
    DatabankCollectionPtr databanks = std::make_shared<DatabankCollection>(); // null: none offered
    std::shared_ptr<FakeCompoundManager> compounds;
    std::shared_ptr<FakePropertyManager> properties;
    std::shared_ptr<FakeReactionManager> reactions;
    std::shared_ptr<FakeSundryDataManager> sundry;
    std::shared_ptr<FakePropertyValueManager> propertyValues;
    std::shared_ptr<FakeMolData> molData;
    mutable std::shared_ptr<FakeBinaryValueManager> binaryValues;
    std::shared_ptr<IBulkManager> BulkManager() const override;
    // The bulk manager, made at first use.
    FakeBulkManager& Bulk() const;
    mutable std::shared_ptr<FakeBulkManager> bulk;

private:
    CallLog& m_log;
};

class FakeDatabaseCollection : public IDatabaseCollection {
public:
    explicit FakeDatabaseCollection(CallLog& log) : m_log(log) {}
    int Count() const override { return static_cast<int>(databases.size()); }
    DatabasePtr At(int index) const override;
    DatabasePtr Find(const std::string& name) const override;
    std::string InitializeFromConfigurationFile(std::istream* configuration, const std::string& configurationPath,
                                                const std::string& password) override;
    void GetExceptionResults() override;

    std::vector<std::shared_ptr<FakeDatabase>> databases;
    std::string resultText;
    std::string lastConfiguration; // what was read from the stream; "<none>" without one
    DatabankCollectionPtr catalogue;

private:
    CallLog& m_log;
};

class FakeConfigFileInstaller : public IConfigFileInstaller {
public:
    explicit FakeConfigFileInstaller(CallLog& log) : m_log(log) {}
    void CreateConfigurationFile() override;

private:
    CallLog& m_log;
};

// The whole fake service. Constructing it installs it as the library's service and gives the
// test a new session; destroying it restores the default.
class FakeService : public ServiceFactory {
public:
    FakeService();
    ~FakeService() override;

    std::shared_ptr<IDatabaseCollection> CreateDatabaseCollection(DatabankCollectionPtr catalogue) override;
    std::shared_ptr<IConfigFileInstaller> CreateConfigFileInstaller() override;

    std::shared_ptr<FakeDatabase> AddDatabase(const std::string& alias);
    std::shared_ptr<FakeDatabase> Database(const std::string& alias) const;

    CallLog log;
    std::shared_ptr<FakeDatabaseCollection> collection;
    std::shared_ptr<FakeConfigFileInstaller> installer;
};

// Lists every databank through the library, as a host does before naming databanks.
void ListAllDatabanks();

// Helpers for building hits.
IdentifierValuePtr MakeIdentifierValue(const std::string& type, std::vector<std::string> values, int compoundId = 0);
FoundCompoundsPtr MakeHit(int compoundId, const DatabankPtr& databank,
                          std::vector<IdentifierValuePtr> identifiers = {});

} // namespace moru::fake
