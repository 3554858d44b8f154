#include "TestDatabase.h"

#include "service/Errors.h"

#include <cstdlib>
#include <sstream>

namespace moru::sqlite::testing {
namespace {

using namespace moru::service;
using dbtool::Json;

std::string Initialize(SqliteDatabaseCollection& collection, const ScratchDirectory& scratch, const std::string& config,
                       const std::string& password = "")
{
    scratch.Write("databases.json", config);
    std::istringstream stream(config);
    return collection.InitializeFromConfigurationFile(&stream, scratch.File("databases.json"), password);
}

// The rich database, connected as RICH through a configuration beside it.
class ConnectedDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        Build(RichSource(), scratch.File("rich.db"));
        std::string result =
            Initialize(collection, scratch, R"({"databases": [{"alias": "RICH", "path": "rich.db"}]})");
        ASSERT_TRUE(EndsWith(result, "OK")) << result;
        database = collection.Find("rich");
        ASSERT_TRUE(database);
        databanks = database->EnumerateDatabanks();
        compounds = database->CompoundManager();
        ASSERT_TRUE(databanks);
        ASSERT_TRUE(compounds);
    }

    // The hits of a search; none when it answers nothing, so that a fault never dereferences it.
    FoundCompoundsList Hits(const DatabankCollection& group, const std::string& text, const std::string& type = "",
                            const std::string& property = "") const
    {
        auto hits = compounds->FindForMM(group, text, type, property);
        return hits ? *hits : FoundCompoundsList{};
    }

    // The compound index of each hit, -1 for a hit without a compound.
    static std::vector<int> Ids(const FoundCompoundsList& hits)
    {
        std::vector<int> ids;
        for (const auto& hit : hits) ids.push_back(hit && hit->Compound ? hit->Compound->Id() : -1);
        return ids;
    }

    DatabankCollection Group(std::initializer_list<const char*> names) const
    {
        DatabankCollection group;
        for (const char* name : names) group.Add(databanks->Find(name));
        return group;
    }

    static std::string First(const FoundCompounds& hit, const std::string& type)
    {
        if (!hit.IdentifierValues) return "<none>";
        for (const auto& value : *hit.IdentifierValues) {
            if (value && value->Identifier && value->Identifier->Name() == type && value->ValueList &&
                !value->ValueList->empty())
                return value->ValueList->front();
        }
        return "<none>";
    }

    ScratchDirectory scratch;
    SqliteDatabaseCollection collection{std::make_shared<DatabankCollection>()};
    DatabasePtr database;
    DatabankCollectionPtr databanks;
    std::shared_ptr<ICompoundManager> compounds;
};

TEST_F(ConnectedDatabase, DescribesItselfAndItsDatabanks)
{
    EXPECT_EQ(database->Alias(), "RICH");
    EXPECT_EQ(database->Description(), "Every kind of record");
    EXPECT_EQ(database->DatabaseVersion(), 2021);
    EXPECT_TRUE(database->GetDatabaseAccessSetting("ZRSIMULATOR"));
    EXPECT_FALSE(database->GetDatabaseAccessSetting("ZRVIEWER"));
    EXPECT_FALSE(database->GetDatabaseAccessSetting("OTHER"));
    ASSERT_EQ(databanks->Count(), 3);
    EXPECT_EQ((*databanks)[0]->Name(), "PURE");
    EXPECT_EQ((*databanks)[0]->BaseDatabankName(), "PUREBASE");
    EXPECT_EQ((*databanks)[0]->Description(), "Pure data");
    EXPECT_EQ((*databanks)[1]->Description(), std::nullopt);
    EXPECT_EQ((*databanks)[2]->Id(), 12);
    EXPECT_EQ((*databanks)[0]->Database(), database);
    // The same databank is the same object while it is held.
    EXPECT_EQ(database->EnumerateDatabanks()->Find("BINARY"), databanks->Find("BINARY"));
}

TEST_F(ConnectedDatabase, FindsByAnyIdentifierIgnoringCase)
{
    auto hits = compounds->FindForMM(Group({"PURE"}), "water", "", "");
    ASSERT_TRUE(hits && hits->size() == 1);
    const auto& hit = *hits->front();
    ASSERT_TRUE(hit.Compound && hit.Databank);
    EXPECT_EQ(hit.Compound->Id(), 1);
    EXPECT_EQ(hit.Databank->Name(), "PURE");
    EXPECT_EQ(First(hit, "NAME"), "WATER");
    EXPECT_EQ(First(hit, "ALIAS"), "H2O");
    EXPECT_EQ(First(hit, "CASRN"), "7732-18-5");
    EXPECT_EQ(hit.PropertyValues, std::nullopt);

    EXPECT_EQ(Hits(Group({"PURE"}), "WASSER").size(), 1u);
    EXPECT_EQ(Ids(Hits(Group({"PURE"}), "64-17-5", "CASRN")), std::vector<int>{7});
    EXPECT_TRUE(Hits(Group({"PURE"}), "64-17-5", "NAME").empty());
    EXPECT_EQ(Hits(Group({"PURE"}), "Éthanol").size(), 1u);
    EXPECT_EQ(Hits(Group({"PURE"}), "éthanol").size(), 1u);
    EXPECT_TRUE(Hits(Group({"PURE"}), "ethanol").empty());
}

TEST_F(ConnectedDatabase, NamesWithApostrophesArePlainData)
{
    auto hits = Hits(Group({"PURE"}), "Hünig's base", "SYNONYM", "FAMILY");
    ASSERT_EQ(Ids(hits), std::vector<int>{2});
    ASSERT_TRUE(hits.front()->PropertyValues && !hits.front()->PropertyValues->empty());
    ASSERT_TRUE(hits.front()->PropertyValues->front());
    EXPECT_EQ(hits.front()->PropertyValues->front()->Data, Value(std::string("amine's family")));
    EXPECT_TRUE(Hits(Group({"PURE"}), "x' OR '1'='1").empty());
    EXPECT_EQ(Hits(Group({"BINARY"}), "4,4′-methylenedianiline").size(), 1u);
}

TEST_F(ConnectedDatabase, SearchesOnlyTheGroupsDatabanksInTheirOrder)
{
    // Water has data in all three databanks; the group decides which answer and in what order.
    auto hits = Hits(Group({"REACT", "PURE", "REACT"}), "H2O", "ALIAS");
    ASSERT_EQ(hits.size(), 2u);
    ASSERT_TRUE(hits[0]->Databank && hits[1]->Databank);
    EXPECT_EQ(hits[0]->Databank->Name(), "REACT");
    EXPECT_EQ(hits[1]->Databank->Name(), "PURE");
    EXPECT_TRUE(Hits(Group({"REACT"}), "ÉTHANOL").empty());
}

TEST_F(ConnectedDatabase, HitsCarryTheOutputProperty)
{
    auto hits = Hits(Group({"PURE"}), "WATER", "NAME", "antoine");
    ASSERT_EQ(hits.size(), 1u);
    ASSERT_TRUE(hits.front()->PropertyValues && !hits.front()->PropertyValues->empty());
    ASSERT_TRUE(hits.front()->PropertyValues->front());
    const auto& value = *hits.front()->PropertyValues->front();
    ASSERT_TRUE(value.Property);
    EXPECT_EQ(value.Property->Name(), "ANTOINE");
    EXPECT_EQ(value.Property->ElementCount(), 3);
    ASSERT_EQ(value.Property->UnitsTypeList().size(), 2u);
    EXPECT_EQ(value.Property->UnitsTypeList()[1].DefaultUOM, "K");
    ASSERT_TRUE(std::holds_alternative<NumericElements>(value.Data));
    auto numbers = std::get<NumericElements>(value.Data);
    ASSERT_EQ(numbers.size(), 3u);
    EXPECT_EQ(numbers[0], 23.2);
    EXPECT_EQ(numbers[1], std::nullopt);
    EXPECT_EQ(numbers[2], -1e-300);
    auto texts = Hits(Group({"PURE"}), "C8H19N", "", "HAZARDS");
    ASSERT_EQ(texts.size(), 1u);
    ASSERT_TRUE(texts.front()->PropertyValues && !texts.front()->PropertyValues->empty());
    ASSERT_TRUE(texts.front()->PropertyValues->front());
    EXPECT_EQ(texts.front()->PropertyValues->front()->Data, Value(TextList{"flammable", "", "toxic ☠"}));
}

TEST_F(ConnectedDatabase, MultipleSearchRemovesAnsweredTexts)
{
    SearchStringMap searchStrings{{0, "WATER"}, {1, "NOTHING"}, {2, "Éthanol"}};
    auto hits = compounds->FindForMM_Multiple(Group({"PURE"}), "NAME", searchStrings, "TB");
    ASSERT_TRUE(hits);
    ASSERT_EQ(hits->size(), 2u);
    EXPECT_EQ((*hits)[0]->CompoundPosition, 0);
    EXPECT_EQ((*hits)[1]->CompoundPosition, 2);
    EXPECT_EQ(FirstNumbers(*(*hits)[1]), NumericElements{0.30000000000000004});
    EXPECT_EQ(searchStrings, (SearchStringMap{{1, "NOTHING"}}));
}

TEST_F(ConnectedDatabase, VantaSearchSetsIndexNameAndAliasOnlyOnAMatch)
{
    int index = -1;
    std::string name = "before", alias = "before";
    compounds->FindForVanta(Group({"PURE"}), "nothing", 0, index, name, alias);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(name, "before");
    compounds->FindForVanta(Group({"PURE"}), "7087-68-5", 0, index, name, alias);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(name, "N,N-DIISOPROPYLETHYLAMINE");
    EXPECT_EQ(alias, "C8H19N");
}

TEST_F(ConnectedDatabase, ListsCompoundsOfTheDatabaseOrOfOneDatabank)
{
    auto all = compounds->GetAllCompounds(nullptr);
    ASSERT_TRUE(all);
    ASSERT_EQ(Ids(*all).size(), 4u);
    EXPECT_EQ(Ids(*all)[2], 5);
    EXPECT_EQ(First(*(*all)[2], "NAME"), "4,4′-METHYLENEDIANILINE");
    auto binary = compounds->GetAllCompounds(databanks->Find("BINARY").get());
    ASSERT_TRUE(binary);
    ASSERT_EQ(binary->size(), 3u);
    EXPECT_EQ(Ids(*binary)[0], 7);
    ASSERT_TRUE((*binary)[0]->Databank);
    EXPECT_EQ((*binary)[0]->Databank->Name(), "BINARY");

    const auto pure = databanks->Find("PURE");
    ASSERT_TRUE(pure);
    auto withData = pure->GetIdentifiersOfCompoundsWithData();
    ASSERT_TRUE(withData);
    ASSERT_EQ(withData->size(), 3u);
    EXPECT_EQ((*withData)[1].first, 2);
    EXPECT_EQ((*withData)[1].second.Name, "N,N-DIISOPROPYLETHYLAMINE");
    EXPECT_EQ((*withData)[1].second.Alias, "C8H19N");
}

TEST_F(ConnectedDatabase, ConvertsIdentifiersThroughTheCompoundIndex)
{
    EXPECT_EQ(Texts(compounds->GetCompoundIdentifier("7", "CompoundIndex", "NAME")),
              std::vector<std::string>{"ÉTHANOL"});
    auto index = compounds->GetCompoundIdentifier("Hünig's base", "SYNONYM", "CompoundIndex");
    ASSERT_TRUE(index && index->Compound);
    EXPECT_EQ(index->Compound->Id(), 2);
    EXPECT_EQ(Texts(index), std::vector<std::string>{"2"});
    EXPECT_EQ(Texts(compounds->GetCompoundIdentifier("1", "compoundindex", "synonym")),
              (std::vector<std::string>{"oxidane", "Wasser"}));
    auto none = compounds->GetCompoundIdentifier("5", "CompoundIndex", "SYNONYM");
    ASSERT_TRUE(none);
    EXPECT_EQ(none->ValueList, std::nullopt);
    EXPECT_EQ(compounds->GetCompoundIdentifier("3", "CompoundIndex", "NAME"), nullptr);
    EXPECT_EQ(compounds->GetCompoundIdentifier("7x", "CompoundIndex", "NAME"), nullptr);
    EXPECT_EQ(compounds->GetCompoundIdentifier("nobody", "NAME", "CompoundIndex"), nullptr);
}

TEST_F(ConnectedDatabase, KnowsIdentifierTypesCompoundsAndWhichDatabankHoldsThem)
{
    const auto cas = compounds->GetIdentifier("casrn"), index = compounds->GetIdentifier("CompoundIndex");
    ASSERT_TRUE(cas && index);
    EXPECT_EQ(cas->Name(), "CASRN");
    EXPECT_EQ(index->Name(), "CompoundIndex");
    EXPECT_EQ(compounds->GetIdentifier("COLOUR"), nullptr);
    auto water = compounds->GetCompound("7732-18-5", *cas);
    ASSERT_TRUE(water);
    EXPECT_EQ(water->Id(), 1);
    EXPECT_EQ(compounds->GetCompound("99", *index), nullptr);
    const auto react = databanks->Find("REACT");
    ASSERT_TRUE(react);
    EXPECT_TRUE(compounds->DatabankHasCompound(*react, *water));
    EXPECT_FALSE(compounds->DatabankHasCompound(*react, SqliteCompound(7)));
}

TEST_F(ConnectedDatabase, ListsPropertiesOfADatabank)
{
    auto properties = database->PropertyManager();
    const auto binary = databanks->Find("BINARY"), react = databanks->Find("REACT");
    ASSERT_TRUE(properties && binary && react);
    auto all = properties->GetAllProperties(*binary, false);
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 6u);
    auto withData = properties->GetAllProperties(*binary, true);
    ASSERT_TRUE(withData);
    ASSERT_EQ(withData->size(), 2u);
    EXPECT_EQ((*withData)[0]->Name(), "NRTL");
    EXPECT_EQ((*withData)[0]->InteractionType(), 1);
    EXPECT_EQ((*withData)[1]->InteractionType(), 3);
    const auto none = properties->GetAllProperties(*react, true);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());
}

TEST_F(ConnectedDatabase, CountsReactionsAndKeepsSundryInformation)
{
    auto reactions = database->ReactionManager();
    ASSERT_TRUE(reactions);
    EXPECT_EQ(reactions->GetAllReactionsCount(nullptr), 2);
    EXPECT_EQ(reactions->GetAllReactionsCount(databanks->Find("REACT").get()), 2);
    EXPECT_EQ(reactions->GetAllReactionsCount(databanks->Find("PURE").get()), 0);

    auto sundry = database->SundryDataManager();
    ASSERT_TRUE(sundry);
    auto pure = std::dynamic_pointer_cast<PureDatabankInfoObject>(
        sundry->GetItem(PureDatabankInfoObject::GetSundryDataTableEntryName("PURE")));
    ASSERT_TRUE(pure);
    EXPECT_EQ(pure->Password, "pw");
    EXPECT_EQ(pure->DisplayNameMM, "Pure components");
    EXPECT_EQ(pure->HelpFileName, "pure.chm");
    EXPECT_EQ(pure->HelpCode, 42);
    EXPECT_EQ(sundry->GetItem(PureDatabankInfoObject::GetSundryDataTableEntryName("BINARY")), nullptr);
    auto binary = std::dynamic_pointer_cast<InteractionParameterDatabankInformationObject>(sundry->GetItem("BINARY"));
    ASSERT_TRUE(binary && binary->ParameterInfoList);
    ASSERT_EQ(binary->ParameterInfoList->size(), 2u);
    auto first = std::dynamic_pointer_cast<GammaModelParameterInformation>(binary->ParameterInfoList->front());
    auto second = std::dynamic_pointer_cast<GammaModelParameterInformation>(binary->ParameterInfoList->back());
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->ParameterName, "NRTL");
    EXPECT_EQ(first->VaporModelName, "IDEAL");
    EXPECT_EQ(second->GammaModelName, std::nullopt);
    EXPECT_EQ(sundry->GetItem("PURE"), nullptr);
    EXPECT_EQ(sundry->GetItem("NOTHING"), nullptr);

    // Databank names match ignoring case; each answer is an object of its own, asked again or not.
    auto again = std::dynamic_pointer_cast<InteractionParameterDatabankInformationObject>(sundry->GetItem("binary"));
    ASSERT_TRUE(again && again->ParameterInfoList);
    EXPECT_EQ(again->ParameterInfoList->size(), 2u);
    EXPECT_NE(again, binary);
    auto pureAgain = std::dynamic_pointer_cast<PureDatabankInfoObject>(
        sundry->GetItem(PureDatabankInfoObject::GetSundryDataTableEntryName("pure")));
    ASSERT_TRUE(pureAgain);
    EXPECT_NE(pureAgain, pure);
    EXPECT_EQ(pureAgain->DisplayNameMM, "Pure components");
    EXPECT_EQ(reactions->GetAllReactionsCount(databanks->Find("react").get()), 2);
}

TEST_F(ConnectedDatabase, FindsReactionsOfCompoundsAndEchoesTheCallersText)
{
    auto reactions = database->ReactionManager();
    ASSERT_TRUE(reactions);
    // Water by its alias in another case: the caller's own text comes back for it.
    auto found = reactions->GetCompoundsReactions({"h2o"}, "ALIAS", {"react"});
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 1u);
    const ReactionRecord& water = found->front();
    EXPECT_EQ(water.Id, 100);
    EXPECT_EQ(water.Type, "DISS");
    EXPECT_EQ(water.Basis, "MOLALITY");
    EXPECT_EQ(water.Synonyms, (std::vector<std::string>{"h2o", "H+", "OH-"}));
    EXPECT_EQ(water.Coefficients, (std::vector<double>{-1, 1, 1}));
    EXPECT_EQ(water.EqConsts, (std::vector<std::optional<double>>{-13.995, std::nullopt}));
    EXPECT_EQ(water.SymmetricEqConsts, (std::vector<std::optional<double>>{1.5}));

    // A species that is no compound is found and named by its own name, exactly; a compound the
    // caller did not name is named by its identifier of the caller's kind.
    found = reactions->GetCompoundsReactions({"H+"}, "NAME", {"REACT"});
    ASSERT_TRUE(found && !found->empty());
    EXPECT_EQ(found->front().Synonyms, (std::vector<std::string>{"WATER", "H+", "OH-"}));
    found = reactions->GetCompoundsReactions({"CO2"}, "ALIAS", {"REACT"});
    ASSERT_TRUE(found && !found->empty());
    EXPECT_EQ(found->front().Id, 101);
    EXPECT_EQ(found->front().Synonyms, (std::vector<std::string>{"CO2(g)", "CO2"}));
    EXPECT_FALSE(reactions->GetCompoundsReactions({"co2"}, "ALIAS", {"REACT"}));

    // Only the named databanks count.
    EXPECT_FALSE(reactions->GetCompoundsReactions({"H2O", "CO2"}, "ALIAS", {"PURE", "NOSUCH"}));
    EXPECT_FALSE(reactions->GetCompoundsReactions({}, "ALIAS", {"REACT"}));
}

TEST_F(ConnectedDatabase, DatabanksAndManagersHeldAcrossAnotherInitialisationReachNothing)
{
    auto pure = databanks->Find("PURE");
    ASSERT_TRUE(pure);
    EXPECT_EQ(database->CompoundManager(), compounds);
    Initialize(collection, scratch, R"({"databases": []})");
    EXPECT_EQ(collection.Count(), 0);
    // Their names stay readable; every call that would read the replaced file fails.
    ASSERT_TRUE(pure->Database());
    EXPECT_EQ(pure->Database()->Alias(), "RICH");
    EXPECT_THROW(compounds->FindForMM(Group({"PURE"}), "WATER", "", ""), ServiceError);
    EXPECT_THROW(pure->GetIdentifiersOfCompoundsWithData(), ServiceError);
    const auto properties = database->PropertyManager();
    const auto sundry = database->SundryDataManager();
    ASSERT_TRUE(properties && sundry);
    EXPECT_THROW(properties->GetAllProperties(*pure, false), ServiceError);
    EXPECT_THROW(sundry->GetItem("PURE"), ServiceError);
}

// Compounds that share a text under identifiers of different types, which the search key's index
// holds in another order: a search answers them by compound index.
TEST(CompoundSearch, AnswersCompoundsThatShareAnIdentifierByCompoundIndex)
{
    ScratchDirectory scratch;
    Build(Json::parse(R"({
  "format": "moru-property-db 1",
  "database": {"alias": "SPIRITS", "version": 1},
  "compounds": [
    {"id": 9, "identifiers": {"NAME": ["SPIRIT"]}},
    {"id": 4, "identifiers": {"NAME": ["METHANOL"], "SYNONYM": ["SPIRIT", "WOOD SPIRIT"]}},
    {"id": 6, "identifiers": {"NAME": ["ETHANOL"], "ALIAS": ["SPIRIT"]}}
  ],
  "databanks": [{"name": "ALL", "id": 1, "compounds": [9, 4, 6]}]
})"),
          scratch.File("spirits.db"));
    SqliteDatabaseCollection collection{std::make_shared<DatabankCollection>()};
    Initialize(collection, scratch, R"({"databases": [{"alias": "SPIRITS", "path": "spirits.db"}]})");
    const auto database = collection.Find("SPIRITS");
    ASSERT_TRUE(database);
    DatabankCollection group;
    group.Add(database->EnumerateDatabanks()->Find("ALL"));
    auto ids = [&](const std::string& type) {
        std::vector<int> found;
        const auto hits = database->CompoundManager()->FindForMM(group, "spirit", type, "");
        for (const auto& hit : hits.value_or(FoundCompoundsList{}))
            found.push_back(hit && hit->Compound ? hit->Compound->Id() : -1);
        return found;
    };
    EXPECT_EQ(ids(""), (std::vector<int>{4, 6, 9}));
    EXPECT_EQ(ids("synonym"), (std::vector<int>{4}));
    EXPECT_EQ(ids("NAME"), (std::vector<int>{9}));
}

TEST(DatabaseCollection, ReportsEveryDatabaseAndConnectsTheGoodOnes)
{
    ScratchDirectory scratch;
    Build(RichSource(), scratch.File("good.db"));
    Json secured = RichSource();
    secured["database"]["password"] = "s3cret";
    Build(secured, scratch.File("secured.db"));
    scratch.Write("empty.db", "");
    scratch.Write("text.db", "this is not a database at all, just some text that is long enough to matter");
    // A copy cut short, as an interrupted download or a full disk leaves it.
    std::filesystem::copy_file(scratch.File("good.db"), scratch.File("corrupt.db"));
    std::filesystem::resize_file(scratch.File("corrupt.db"), std::filesystem::file_size(scratch.File("good.db")) / 2);
    SqliteDatabaseCollection collection(std::make_shared<DatabankCollection>());
    std::string result = Initialize(collection, scratch, R"({"databases": [
        {"alias": "MISSING", "path": "missing.db"},
        {"alias": "EMPTY", "path": "empty.db"},
        {"alias": "TEXT", "path": "text.db"},
        {"alias": "CORRUPT", "path": "corrupt.db"},
        {"alias": "GOOD", "path": "good.db"},
        {"alias": "LOCKED", "path": "secured.db"},
        {"alias": "OPENED", "path": "secured.db", "password": "s3cret"},
        {"alias": "GOOD", "path": "good.db"}]})",
                                    "wrong");
    auto entries = Entries(result);
    ASSERT_EQ(entries.size(), 8u) << result;
    EXPECT_NE(entries[0].find("'MISSING'"), std::string::npos);
    EXPECT_NE(entries[0].find("does not exist"), std::string::npos);
    EXPECT_NE(entries[1].find("empty"), std::string::npos);
    EXPECT_NE(entries[2].find("not a database"), std::string::npos);
    EXPECT_NE(entries[3].find("corrupt"), std::string::npos) << entries[3];
    EXPECT_TRUE(EndsWith(entries[4], "OK"));
    EXPECT_NE(entries[5].find("password is wrong"), std::string::npos);
    EXPECT_TRUE(EndsWith(entries[6], "OK")) << entries[6];
    EXPECT_NE(entries[7].find("already uses that alias"), std::string::npos);
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 7u}) {
        EXPECT_NE(entries[i].find(scratch.Path().string()), std::string::npos) << "names the file: " << entries[i];
        EXPECT_FALSE(EndsWith(entries[i], "OK") || EndsWith(entries[i], "SECURED")) << entries[i];
    }
    ASSERT_EQ(collection.Count(), 2);
    ASSERT_TRUE(collection.At(0) && collection.At(1));
    EXPECT_EQ(collection.At(0)->Alias(), "GOOD");
    EXPECT_EQ(collection.At(1)->Alias(), "OPENED");
    EXPECT_EQ(collection.At(2), nullptr);
}

TEST(DatabaseCollection, SecuredDatabasesEndOkWhenOpenedAndSecuredOnlyWithoutAPassword)
{
    ScratchDirectory scratch;
    Json secured = RichSource();
    secured["database"]["password"] = "s3cret";
    Build(secured, scratch.File("secured.db"));
    SqliteDatabaseCollection collection(std::make_shared<DatabankCollection>());
    const char* config = R"({"databases": [{"alias": "S", "path": "secured.db"}]})";
    std::string opened = Initialize(collection, scratch, config, "s3cret");
    EXPECT_TRUE(EndsWith(opened, "OK")) << opened;
    EXPECT_EQ(collection.Count(), 1);

    std::string withoutPassword = Initialize(collection, scratch, config, "");
    EXPECT_TRUE(EndsWith(withoutPassword, "SECURED")) << withoutPassword;
    EXPECT_EQ(collection.Count(), 0);

    std::string wrong = Initialize(collection, scratch, config, "guess");
    EXPECT_FALSE(EndsWith(wrong, "OK") || EndsWith(wrong, "SECURED")) << wrong;
    EXPECT_EQ(collection.Count(), 0);
}

TEST(DatabaseCollection, InitialisingAgainReplacesTheDatabases)
{
    ScratchDirectory scratch;
    Build(RichSource(), scratch.File("good.db"));
    SqliteDatabaseCollection collection(std::make_shared<DatabankCollection>());
    const char* config = R"({"databases": [{"alias": "A", "path": "good.db"}, {"alias": "B", "path": "good.db"}]})";
    Initialize(collection, scratch, config);
    const auto revision = collection.Revision();
    EXPECT_NE(revision, 0u);
    EXPECT_EQ(collection.Revision(), revision); // reading changes nothing
    Initialize(collection, scratch, config);
    EXPECT_EQ(collection.Count(), 2);
    ASSERT_TRUE(collection.Find("b"));
    EXPECT_EQ(collection.Find("b")->Alias(), "B");
    // The same aliases, yet other databases: whoever kept what it derived from them must know.
    EXPECT_NE(collection.Revision(), revision);
}

TEST(DatabaseCollection, ExplainsMissingOrBrokenConfigurations)
{
    ScratchDirectory scratch;
    SqliteDatabaseCollection collection(std::make_shared<DatabankCollection>());
    std::string none = collection.InitializeFromConfigurationFile(nullptr, "", "");
    EXPECT_NE(none.find("No configuration file"), std::string::npos);
    EXPECT_NE(Initialize(collection, scratch, "{\"databases\": [").find("not valid JSON"), std::string::npos);
    EXPECT_NE(Initialize(collection, scratch, R"({"databases": [{"alias": "A"}]})").find("\"path\""),
              std::string::npos);
    EXPECT_NE(Initialize(collection, scratch, R"({"databases": []})").find("names no database"), std::string::npos);
    EXPECT_EQ(collection.Count(), 0);
}

TEST(ConfigFileInstaller, WritesADefaultOnlyWhereNoneExists)
{
    ScratchDirectory scratch;
    std::string path = scratch.File("user/config/databases.json");
    ::setenv("MORU_CONFIG_FILE", path.c_str(), 1);
    SqliteConfigFileInstaller installer;
    installer.CreateConfigurationFile();
    ASSERT_TRUE(std::filesystem::exists(path));
    std::ifstream written(path);
    std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(ParseConfiguration(text).empty());

    scratch.Write("user/config/databases.json", R"({"databases": [{"alias": "MINE", "path": "mine.db"}]})");
    installer.CreateConfigurationFile();
    std::ifstream kept(path);
    std::string keptText((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
    EXPECT_NE(keptText.find("MINE"), std::string::npos);
    ::unsetenv("MORU_CONFIG_FILE");
}

TEST(ConfigFileInstaller, APlaceThatCannotBeWrittenIsAWarningAfterTheDatabasesNotAFailure)
{
    ScratchDirectory scratch;
    Build(RichSource(), scratch.File("good.db"));
    // A file where the configuration's folder would be: no account can write there, root included.
    scratch.Write("blocked", "not a folder");
    const std::string path = scratch.File("blocked/config/databases.json");
    ::setenv("MORU_CONFIG_FILE", path.c_str(), 1);
    SqliteConfigFileInstaller installer;
    EXPECT_NO_THROW(installer.CreateConfigurationFile());
    ::unsetenv("MORU_CONFIG_FILE");

    SqliteDatabaseCollection collection(std::make_shared<DatabankCollection>());
    const std::string configuration = R"({"databases": [{"alias": "GOOD", "path": "good.db"}]})";
    auto entries = Entries(Initialize(collection, scratch, configuration));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(EndsWith(entries[0], "OK")) << entries[0];
    EXPECT_NE(entries[1].find("could not be written"), std::string::npos) << entries[1];
    EXPECT_NE(entries[1].find(path), std::string::npos) << entries[1];
    EXPECT_FALSE(EndsWith(entries[1], "OK") || EndsWith(entries[1], "SECURED")) << entries[1];
    EXPECT_EQ(collection.Count(), 1);
    // Reported once.
    EXPECT_EQ(Entries(Initialize(collection, scratch, configuration)).size(), 1u);
}

TEST(SampleDatabase, ConnectsAndFindsWellKnownCompounds)
{
    if (!std::filesystem::exists(MORU_SAMPLE_DB)) GTEST_SKIP() << "no sample database in this build";
    std::ifstream file(MORU_SAMPLE_CONFIG);
    SqliteDatabaseCollection collection(std::make_shared<DatabankCollection>());
    std::string result = collection.InitializeFromConfigurationFile(&file, MORU_SAMPLE_CONFIG, "");
    ASSERT_TRUE(EndsWith(result, "OK")) << result;
    auto sample = collection.Find("SAMPLE");
    ASSERT_TRUE(sample);
    auto databanks = sample->EnumerateDatabanks();
    const auto compounds = sample->CompoundManager();
    const auto reactions = sample->ReactionManager();
    const auto sundry = sample->SundryDataManager();
    ASSERT_TRUE(databanks && compounds && reactions && sundry);
    DatabankCollection group;
    group.Add(databanks->Find("PURE"));
    auto hits = compounds->FindForMM(group, "7732-18-5", "CASRN", "TB");
    ASSERT_TRUE(hits);
    ASSERT_EQ(hits->size(), 1u);
    EXPECT_EQ(FirstNumbers(*hits->front()), NumericElements{373.15});
    EXPECT_EQ(reactions->GetAllReactionsCount(nullptr), 4);
    EXPECT_TRUE(
        std::dynamic_pointer_cast<InteractionParameterDatabankInformationObject>(sundry->GetItem("NRTL-SAMPLE")));
}

} // namespace
} // namespace moru::sqlite::testing
