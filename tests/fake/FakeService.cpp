#include "fake/FakeService.h"

#include "session/Session.h"

#include "MoruIntegration.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <sstream>

using namespace moru::service;

namespace moru::fake {

namespace {
std::string GroupText(const DatabankCollection& group)
{
    std::string text;
    for (const auto& databank : group.Items()) {
        if (!text.empty()) text += ',';
        text += databank ? databank->Name() : "<null>";
    }
    return "[" + text + "]";
}
} // namespace

std::vector<std::string> CallLog::Matching(const std::string& prefix) const
{
    std::vector<std::string> matching;
    for (const auto& call : m_calls) {
        if (call.rfind(prefix, 0) == 0) matching.push_back(call);
    }
    return matching;
}

std::string CallLog::Last(const std::string& prefix) const
{
    const auto matching = Matching(prefix);
    return matching.empty() ? "<none>" : matching.back();
}

void CallLog::MaybeFail(const std::string& operation) const
{
    if (failing.count(operation)) throw ServiceError(failureMessage.empty() ? operation + " failed" : failureMessage);
}

std::string FakeDatabank::Name() const
{
    m_log.MaybeFail("IDatabank.Name");
    return name;
}

DatabasePtr FakeDatabank::Database() const { return m_database.lock(); }

CompoundCollectionPtr FakeDatabank::GetIdentifiersOfCompoundsWithData() const
{
    m_log.Record("GetIdentifiersOfCompoundsWithData " + name);
    m_log.MaybeFail("GetIdentifiersOfCompoundsWithData");
    return compoundsWithData;
}

std::optional<FoundCompoundsList> FakeCompoundManager::FindForMM(const DatabankCollection& databankGroup,
                                                                 const std::string& searchText,
                                                                 const std::string& identifierType,
                                                                 const std::string& outputPropertyName)
{
    m_log.Record("FindForMM " + m_alias + GroupText(databankGroup) + " " + searchText + "|" + identifierType + "|" +
                 outputPropertyName);
    m_log.MaybeFail("FindForMM");
    if (!onFindForMM) return std::nullopt;
    return onFindForMM(databankGroup, searchText, identifierType, outputPropertyName);
}

std::optional<FoundCompoundsList> FakeCompoundManager::FindForMM_Multiple(const DatabankCollection& databankGroup,
                                                                          const std::string& identifierType,
                                                                          SearchStringMap& searchStrings,
                                                                          const std::string& outputPropertyName)
{
    std::string keys;
    for (const auto& [position, text] : searchStrings)
        keys += (keys.empty() ? "" : ",") + std::to_string(position) + "=" + text;
    m_log.Record("FindForMM_Multiple " + m_alias + GroupText(databankGroup) + " " + identifierType + "|{" + keys +
                 "}|" + outputPropertyName);
    m_log.MaybeFail("FindForMM_Multiple");
    if (!onFindForMMMultiple) return std::nullopt;
    return onFindForMMMultiple(databankGroup, identifierType, searchStrings, outputPropertyName);
}

void FakeCompoundManager::FindForVanta(const DatabankCollection& databankGroup, const std::string& searchText,
                                       int dbankContentDataType, int& compoundIndex, std::string& compoundName,
                                       std::string& compoundAlias)
{
    m_log.Record("FindForVanta " + m_alias + GroupText(databankGroup) + " " + searchText + "|" +
                 std::to_string(dbankContentDataType) + "|" + std::to_string(compoundIndex) + "|" + compoundName + "|" +
                 compoundAlias);
    m_log.MaybeFail("FindForVanta");
    if (onFindForVanta)
        onFindForVanta(databankGroup, searchText, dbankContentDataType, compoundIndex, compoundName, compoundAlias);
}

std::optional<FoundCompoundsList> FakeCompoundManager::GetAllCompounds(const IDatabank* databank)
{
    m_log.Record("GetAllCompounds " + m_alias + (databank ? " " + databank->Name() : " <all>"));
    m_log.MaybeFail("GetAllCompounds");
    if (!onGetAllCompounds) return std::nullopt;
    return onGetAllCompounds(databank);
}

IdentifierValuePtr FakeCompoundManager::GetCompoundIdentifier(const std::string& knownValue,
                                                              const std::string& knownType,
                                                              const std::string& wantedType)
{
    m_log.Record("GetCompoundIdentifier " + m_alias + " " + knownValue + "|" + knownType + "|" + wantedType);
    m_log.MaybeFail("GetCompoundIdentifier");
    if (!onGetCompoundIdentifier) return nullptr;
    return onGetCompoundIdentifier(knownValue, knownType, wantedType);
}

IdentifierPtr FakeCompoundManager::GetIdentifier(const std::string& identifierType)
{
    m_log.Record("GetIdentifier " + m_alias + " " + identifierType);
    m_log.MaybeFail("GetIdentifier");
    if (!onGetIdentifier) return std::make_shared<FakeIdentifier>(identifierType);
    return onGetIdentifier(identifierType);
}

CompoundPtr FakeCompoundManager::GetCompound(const std::string& value, const IIdentifier& identifier)
{
    m_log.Record("GetCompound " + m_alias + " " + value + "|" + identifier.Name());
    m_log.MaybeFail("GetCompound");
    if (!onGetCompound) return nullptr;
    return onGetCompound(value, identifier);
}

bool FakeCompoundManager::DatabankHasCompound(const IDatabank& databank, const ICompound& compound)
{
    m_log.Record("DatabankHasCompound " + m_alias + " " + databank.Name() + "|" + std::to_string(compound.Id()));
    m_log.MaybeFail("DatabankHasCompound");
    if (!onDatabankHasCompound) return true;
    return onDatabankHasCompound(databank, compound);
}

std::optional<std::string> FakeCompoundManager::GetCompoundClass(const ICompound& compound)
{
    m_log.Record("GetCompoundClass " + m_alias + " " + std::to_string(compound.Id()));
    m_log.MaybeFail("GetCompoundClass");
    const auto found = compoundClasses.find(compound.Id());
    if (found == compoundClasses.end()) return std::nullopt;
    return found->second;
}

std::optional<std::vector<PropertyPtr>> FakePropertyManager::GetAllProperties(const IDatabank& databank, bool withData)
{
    m_log.Record("GetAllProperties " + databank.Name() + (withData ? " true" : " false"));
    m_log.MaybeFail("GetAllProperties");
    const auto found = properties.find(databank.Name());
    if (found == properties.end()) return std::nullopt;
    return found->second;
}

int FakeReactionManager::GetAllReactionsCount(const IDatabank* databank)
{
    m_log.Record("GetAllReactionsCount " + (databank ? databank->Name() : std::string("<all>")));
    m_log.MaybeFail("GetAllReactionsCount");
    if (!databank) return total;
    const auto found = perDatabank.find(databank->Name());
    return found == perDatabank.end() ? 0 : found->second;
}

std::optional<std::vector<ReactionRecord>> FakeReactionManager::GetCompoundsReactions(
    const std::vector<std::string>& compounds, const std::string& identifierType,
    const std::vector<std::string>& databankNames)
{
    const auto join = [](const std::vector<std::string>& texts) {
        std::string joined;
        for (const auto& text : texts) joined += (joined.empty() ? "" : ",") + text;
        return "[" + joined + "]";
    };
    m_log.Record("GetCompoundsReactions " + join(compounds) + "|" + identifierType + "|" + join(databankNames));
    m_log.MaybeFail("GetCompoundsReactions");
    const auto named = [](const std::vector<std::string>& texts, const std::string& text) {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    };
    std::vector<ReactionRecord> found;
    for (const auto& [databank, reaction] : reactions) {
        if (!named(databankNames, databank)) continue;
        if (std::any_of(reaction.Synonyms.begin(), reaction.Synonyms.end(),
                        [&](const std::string& species) { return named(compounds, species); }))
            found.push_back(reaction);
    }
    if (found.empty()) return std::nullopt;
    return found;
}

SundryItemPtr FakeSundryDataManager::GetItem(const std::string& name)
{
    m_log.Record("SundryGetItem " + name);
    m_log.MaybeFail("SundryGetItem");
    const auto found = items.find(name);
    return found == items.end() ? nullptr : found->second;
}

FakeDatabase::FakeDatabase(std::string alias, CallLog& log)
    : alias(alias), compounds(std::make_shared<FakeCompoundManager>(alias, log)),
      properties(std::make_shared<FakePropertyManager>(log)), reactions(std::make_shared<FakeReactionManager>(log)),
      sundry(std::make_shared<FakeSundryDataManager>(log)),
      propertyValues(std::make_shared<FakePropertyValueManager>(log)), molData(std::make_shared<FakeMolData>(log)),
      m_log(log)
{}

std::string FakeDatabase::Alias() const
{
    m_log.MaybeFail("IDatabase.Alias");
    return alias;
}

bool FakeDatabase::GetDatabaseAccessSetting(const std::string& settingName) const
{
    m_log.Record("GetDatabaseAccessSetting " + alias + " " + settingName);
    const auto found = accessSettings.find(settingName);
    return found != accessSettings.end() && found->second;
}

DatabankCollectionPtr FakeDatabase::EnumerateDatabanks() const
{
    m_log.MaybeFail("EnumerateDatabanks " + alias);
    return databanks;
}

std::shared_ptr<FakeDatabank> FakeDatabase::AddDatabank(const std::string& name)
{
    auto databank = std::make_shared<FakeDatabank>(name, weak_from_this(), databanks->Count() + 1, m_log);
    databanks->Add(databank);
    return databank;
}

void FakeDatabase::SetPureInfo(const std::string& databankName, std::shared_ptr<PureDatabankInfoObject> info)
{
    sundry->items[PureDatabankInfoObject::GetSundryDataTableEntryName(databankName)] = std::move(info);
}

DatabasePtr FakeDatabaseCollection::At(int index) const { return databases.at(static_cast<std::size_t>(index)); }

DatabasePtr FakeDatabaseCollection::Find(const std::string& name) const
{
    for (const auto& database : databases) {
        if (database->alias == name) return database;
    }
    return nullptr;
}

std::string FakeDatabaseCollection::InitializeFromConfigurationFile(std::istream* configuration,
                                                                    const std::string& configurationPath,
                                                                    const std::string& password)
{
    lastConfiguration = configuration ? std::string(std::istreambuf_iterator<char>(*configuration), {}) : "<none>";
    m_log.Record("InitializeFromConfigurationFile " + configurationPath + "|" + password);
    m_log.MaybeFail("InitializeFromConfigurationFile");
    return resultText;
}

void FakeDatabaseCollection::GetExceptionResults()
{
    m_log.Record("GetExceptionResults");
    m_log.MaybeFail("GetExceptionResults");
}

void FakeConfigFileInstaller::CreateConfigurationFile()
{
    m_log.Record("CreateConfigurationFile");
    m_log.MaybeFail("CreateConfigurationFile");
}

FakeService::FakeService()
    : collection(std::make_shared<FakeDatabaseCollection>(log)),
      installer(std::make_shared<FakeConfigFileInstaller>(log))
{
    SetServiceFactory(std::shared_ptr<ServiceFactory>(this, [](ServiceFactory*) {}));
    session::MoruGUIDataFunctions::ResetInstanceForTesting();
}

FakeService::~FakeService()
{
    session::MoruGUIDataFunctions::ResetInstanceForTesting();
    SetServiceFactory(nullptr);
}

std::shared_ptr<IDatabaseCollection> FakeService::CreateDatabaseCollection(DatabankCollectionPtr catalogue)
{
    collection->catalogue = std::move(catalogue);
    return collection;
}

std::shared_ptr<IConfigFileInstaller> FakeService::CreateConfigFileInstaller() { return installer; }

std::shared_ptr<FakeDatabase> FakeService::AddDatabase(const std::string& alias)
{
    auto database = std::make_shared<FakeDatabase>(alias, log);
    collection->databases.push_back(database);
    return database;
}

std::shared_ptr<FakeDatabase> FakeService::Database(const std::string& alias) const
{
    for (const auto& database : collection->databases) {
        if (database->alias == alias) return database;
    }
    return nullptr;
}

namespace {
int MORU_CALL IgnoreDatabank(const char*, const char*, const char*, const char*, const char*, const char*, int,
                             const char*, const char*, const char*, int, int, int)
{
    return 0;
}
} // namespace

void ListAllDatabanks() { ListMoruDatabanks_Vanta(reinterpret_cast<void*>(&IgnoreDatabank)); }

IdentifierValuePtr MakeIdentifierValue(const std::string& type, std::vector<std::string> values, int compoundId)
{
    auto value = std::make_shared<IdentifierValue>();
    value->Identifier = std::make_shared<FakeIdentifier>(type);
    value->ValueList = std::move(values);
    value->Compound = std::make_shared<FakeCompound>(compoundId);
    return value;
}

FoundCompoundsPtr MakeHit(int compoundId, const DatabankPtr& databank, std::vector<IdentifierValuePtr> identifiers)
{
    auto hit = std::make_shared<FoundCompounds>();
    hit->Compound = std::make_shared<FakeCompound>(compoundId);
    hit->Databank = databank;
    hit->IdentifierValues = std::move(identifiers);
    return hit;
}

} // namespace moru::fake

namespace moru::service {
// Contract tests run without the embedded service: only the fake is ever installed.
std::shared_ptr<ServiceFactory> CreateDefaultServiceFactory() { return nullptr; }
} // namespace moru::service
