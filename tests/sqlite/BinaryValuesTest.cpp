#include "TestDatabase.h"

#include "BinaryValueManager.h"

#include <sstream>

namespace moru::sqlite::testing {
namespace {

using namespace moru::service;
using dbtool::Json;

NumericElements Held(NumericView numbers) { return {numbers.begin(), numbers.end()}; }

std::vector<std::string_view> Names(const PairCompounds& compounds)
{
    return {compounds.Compound1Name, compounds.Compound2Name, compounds.Compound3Name, compounds.Compound4Name};
}

// Ethanol (1), water (2), methanol (3); binary values of every symmetry code, a pair value and
// regression information of all four kinds.
Json BinarySource()
{
    return Json::parse(R"({
  "format": "moru-property-db 1",
  "database": {"alias": "BIN", "version": 2020},
  "properties": [
    {"name": "NRTL", "dataType": 1, "interactionType": 1, "elementCount": 2,
     "elements": [{"ij": 1, "ji": 2, "symmetry": 0}, {"ij": 3, "ji": 4, "symmetry": 2}]},
    {"name": "WILSON", "dataType": 1, "interactionType": 1, "elementCount": 1,
     "elements": [{"ij": 1, "ji": 2, "symmetry": 3}]},
    {"name": "KIJ", "dataType": 1, "interactionType": 1, "elementCount": 2,
     "elements": [{"ij": 1, "ji": 2, "symmetry": 1}, {"ij": 3, "ji": 4, "symmetry": 2}]},
    {"name": "SITE", "dataType": 1, "interactionType": 3, "elementCount": 1,
     "elements": [{"ij": 1, "ji": 2, "symmetry": 0}]}
  ],
  "compounds": [
    {"id": 1, "identifiers": {"NAME": ["ETHANOL"]}},
    {"id": 2, "identifiers": {"NAME": ["WATER"]}},
    {"id": 3, "identifiers": {"NAME": ["METHANOL"]}}
  ],
  "databanks": [
    {"name": "PARAMS", "id": 1, "compounds": [1, 2, 3],
     "values": [
       {"property": "NRTL", "compounds": [1, 2], "labels": [1, 2, 3], "numbers": [-55.17, 670.44, 0.3031],
        "regression": {"kind": 1, "firstCompound": "ETHANOL", "sigma": 0.01,
                       "ranges": [{"name": "Temp", "lower": 298.15, "upper": 373.15}],
                       "deviations": [{"name": "Pres", "points": 12, "aard": 0.5, "aad": 0.01, "max": 1.2}]}},
       {"property": "NRTL", "compounds": [3, 2], "labels": [1, 2, 4], "numbers": [1, 2, 0.3],
        "regression": {"kind": 2, "ranges": [{"name": "X1", "lower": 0.1, "upper": 0.2}],
                       "deviations": [{"name": "X2", "points": 4, "aard": 1, "aad": 2, "max": 3}]}},
       {"property": "WILSON", "compounds": [1, 2], "labels": [1], "numbers": [0.5],
        "regression": {"kind": 3, "ranges": [{"name": "Henry", "lower": 1000, "upper": 2000}]}},
       {"property": "KIJ", "compounds": [1, 3], "labels": [1, 4], "numbers": [0.02, 250],
        "regression": {"kind": 4, "deviations": [{"name": "P", "points": 3, "aard": 1, "aad": 2, "max": 3}],
                       "citations": ["first", "second"]}},
       {"property": "SITE", "compounds": {"1": 1, "3": 2}, "labels": [1, 2], "numbers": [7, 8]},
       {"property": "SITE", "compounds": {"1": 3, "2": 1, "3": 2, "4": 3}, "labels": [1], "numbers": [9]}
     ]}
  ]
})");
}

class BinaryValues : public ::testing::Test {
protected:
    void SetUp() override
    {
        Build(BinarySource(), scratch.File("bin.db"));
        scratch.Write("databases.json", R"({"databases": [{"alias": "BIN", "path": "bin.db"}]})");
        std::istringstream config(R"({"databases": [{"alias": "BIN", "path": "bin.db"}]})");
        collection.InitializeFromConfigurationFile(&config, scratch.File("databases.json"), "");
        database = collection.Find("BIN");
        ASSERT_TRUE(database);
        const auto databanks = database->EnumerateDatabanks();
        ASSERT_TRUE(databanks);
        bank = databanks->Find("PARAMS");
        manager = database->BinaryValueManager();
        ASSERT_TRUE(bank && manager);
        group.Add(bank);
    }
    NumericElements Fetch(const std::string& first, const std::string& second, const std::string& model,
                          bool condensed = false)
    {
        auto value = manager->GetBinaryPropertyValue(*bank, first, second, "NAME", model, condensed);
        return value ? Held(value->Value) : NumericElements{-1};
    }

    ScratchDirectory scratch;
    SqliteDatabaseCollection collection{std::make_shared<DatabankCollection>()};
    DatabasePtr database;
    DatabankPtr bank;
    DatabankCollection group;
    std::shared_ptr<IBinaryValueManager> manager;
};

TEST_F(BinaryValues, AnswersThePairInEitherOrderWithIjAndJiExchanged)
{
    EXPECT_EQ(Fetch("ETHANOL", "WATER", "NRTL"), (NumericElements{-55.17, 670.44, 0.3031, 0.3031}));
    EXPECT_EQ(Fetch("water", "ethanol", "nrtl"), (NumericElements{670.44, -55.17, 0.3031, 0.3031}));
    EXPECT_EQ(Fetch("WATER", "ETHANOL", "NRTL", true), (NumericElements{670.44, -55.17, 0.3031}));
    // Only the JI part of the second element is stored: the same for both orders.
    EXPECT_EQ(Fetch("WATER", "METHANOL", "NRTL"), (NumericElements{2, 1, 0.3, 0.3}));
    EXPECT_EQ(Fetch("ETHANOL", "METHANOL", "NRTL"), (NumericElements{-1}));
    EXPECT_EQ(Fetch("ETHANOL", "NOBODY", "NRTL"), (NumericElements{-1}));
}

TEST_F(BinaryValues, DerivesTheMissingPartFromItsSymmetryCode)
{
    EXPECT_EQ(Fetch("ETHANOL", "WATER", "WILSON"), (NumericElements{0.5, -0.5}));
    EXPECT_EQ(Fetch("WATER", "ETHANOL", "WILSON"), (NumericElements{-0.5, 0.5}));
    EXPECT_EQ(Fetch("WATER", "ETHANOL", "WILSON", true), (NumericElements{-0.5}));
    EXPECT_EQ(Fetch("METHANOL", "ETHANOL", "KIJ"), (NumericElements{0.02, 0.02, 250, 250}));
    EXPECT_EQ(Fetch("METHANOL", "ETHANOL", "KIJ", true), (NumericElements{0.02, 250}));
}

TEST_F(BinaryValues, EchoesTheCallersSpellingsAndReportsRegressionInformation)
{
    auto value = manager->GetBinaryPropertyValue(*bank, "ethanol", "Water", "name", "nrtl", false);
    ASSERT_TRUE(value && value->Property);
    EXPECT_EQ(value->Compound.Compound1Name, "ethanol");
    EXPECT_EQ(value->Compound.Compound2Name, "Water");
    EXPECT_EQ(value->Property->Name(), "nrtl");
    EXPECT_EQ(value->Databank, bank.get());
    EXPECT_TRUE(value->HasRegressionInfo);
    const auto wilson = manager->GetBinaryPropertyValue(*bank, "ETHANOL", "WATER", "NAME", "WILSON", false);
    ASSERT_TRUE(wilson);
    EXPECT_TRUE(wilson->HasRegressionInfo);
}

TEST_F(BinaryValues, KeepTheirOwnNamesAndNumbersOnceTheCallersTextsChange)
{
    std::string first = "ethanol", second = "Water";
    const auto single = manager->GetBinaryPropertyValue(*bank, first, second, "NAME", "WILSON", false);
    first.assign("methanol");
    second.assign("xxxxx");
    ASSERT_TRUE(single);
    EXPECT_EQ(single->Compound.Compound1Name, "ethanol");
    EXPECT_EQ(single->Compound.Compound2Name, "Water");
    EXPECT_EQ(Held(single->Value), (NumericElements{0.5, -0.5}));

    WorkingCompoundMap working{{"ETHANOL", 0}, {"WATER", 1}};
    const auto values =
        manager->GetAllBinaryPropertyValuesForModelManager(working, "NAME", group, {{"WILSON", 0}}, false);
    // Assigning reuses the map's entries in place, overwriting the texts the request named.
    working = {{"ZZZZZZZ", 0}, {"YYYYY", 1}};
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 1U);
    EXPECT_EQ(Names((*values)[0]->Compound), (std::vector<std::string_view>{"ETHANOL", "WATER", "", ""}));
    EXPECT_EQ(Held((*values)[0]->Value), (NumericElements{0.5, -0.5}));
}

TEST_F(BinaryValues, ListsTheValuesAmongTheWorkingCompoundsInStoredOrder)
{
    WorkingCompoundMap working{{"water", 0}, {"ETHANOL", 1}, {"Ethanol", 2}};
    auto values =
        manager->GetAllBinaryPropertyValuesForModelManager(working, "NAME", group, {{"WILSON", 1}, {"NRTL", 0}}, false);
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 2u);
    ASSERT_TRUE((*values)[0]->Property && (*values)[1]->Property);
    EXPECT_EQ((*values)[0]->Property->Name(), "NRTL");
    EXPECT_EQ((*values)[0]->Compound.Compound1Name, "ETHANOL"); // the first position of the compound
    EXPECT_EQ((*values)[0]->Compound.Compound2Name, "water");
    EXPECT_EQ((*values)[1]->Property->Name(), "WILSON");
    EXPECT_EQ(Held((*values)[1]->Value), (NumericElements{0.5, -0.5}));
    EXPECT_FALSE(
        manager->GetAllBinaryPropertyValuesForModelManager({{"WATER", 0}}, "NAME", group, {{"NRTL", 0}}, false));
}

TEST_F(BinaryValues, ListsTheValuesOfEachFirstCompoundInTheHostsOrderNotTheStoredOne)
{
    // Methanol (stored third) is listed first: its value comes before ethanol's.
    WorkingCompoundMap working{{"METHANOL", 0}, {"ETHANOL", 1}, {"WATER", 2}};
    auto values = manager->GetAllBinaryPropertyValuesForModelManager(working, "NAME", group, {{"NRTL", 0}}, true);
    ASSERT_TRUE(values);
    std::vector<std::string> pairs;
    for (const auto& value : *values)
        pairs.push_back(std::string(value->Compound.Compound1Name) + "/" + std::string(value->Compound.Compound2Name));
    EXPECT_EQ(pairs, (std::vector<std::string>{"METHANOL/WATER", "ETHANOL/WATER"}));
}

TEST_F(BinaryValues, ListsEachValuesRegressionFlagWhetherOrNotItsModelHoldsAny)
{
    // NRTL and WILSON hold regression information in the databank, SITE none: its values are read
    // without their ids, and every listing still flags each value as stored.
    WorkingCompoundMap working{{"ETHANOL", 0}, {"WATER", 1}, {"METHANOL", 2}};
    auto binary =
        manager->GetAllBinaryPropertyValuesForModelManager(working, "NAME", group, {{"NRTL", 0}, {"WILSON", 1}}, false);
    ASSERT_TRUE(binary);
    ASSERT_EQ(binary->size(), 3u);
    for (const auto& value : *binary) EXPECT_TRUE(value->HasRegressionInfo) << value->Property->Name();
    auto pairs = manager->GetAllPairPropertyValuesForModelManager(working, "NAME", group, {{"SITE", 0}}, false, 3);
    ASSERT_TRUE(pairs);
    ASSERT_EQ(pairs->size(), 2u);
    for (const auto& value : *pairs) EXPECT_FALSE(value->HasRegressionInfo);
}

TEST_F(BinaryValues, ListsPairValuesWithTheirSlots)
{
    WorkingCompoundMap working{{"ETHANOL", 0}, {"WATER", 1}, {"METHANOL", 2}};
    auto values = manager->GetAllPairPropertyValuesForModelManager(working, "NAME", group, {{"SITE", 0}}, true, 3);
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 2u);
    const auto& two = (*values)[0]->Compound;
    EXPECT_EQ(two.InteractionType, 3);
    EXPECT_EQ(Names(two), (std::vector<std::string_view>{"ETHANOL", "", "WATER", ""}));
    EXPECT_EQ(Held((*values)[0]->Value), (NumericElements{7, 8}));
    const auto& four = (*values)[1]->Compound;
    EXPECT_EQ(Names(four), (std::vector<std::string_view>{"METHANOL", "ETHANOL", "WATER", "METHANOL"}));
    // A value naming a compound outside the working list is left out.
    values = manager->GetAllPairPropertyValuesForModelManager({{"ETHANOL", 0}, {"WATER", 1}}, "NAME", group,
                                                              {{"SITE", 0}}, true, 2);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->size(), 1u);
}

TEST_F(BinaryValues, FetchesRegressionInformationOfEveryKindInEitherOrder)
{
    std::string message;
    IpHelpInfoObject vle;
    ASSERT_TRUE(manager->FetchExistingHelpInfo(vle, *bank, "NRTL", "WATER", "NAME", "ETHANOL", "NAME", message));
    EXPECT_EQ(vle.ParamType, HelpInfoVle);
    EXPECT_EQ(vle.FirstCompound, "ETHANOL");
    ASSERT_TRUE(vle.VleInfo);
    EXPECT_EQ(vle.VleInfo->Sigma, 0.01);
    EXPECT_EQ(vle.VleInfo->Temp_Limits.Upper, 373.15);
    EXPECT_EQ(vle.VleInfo->Pres_Deviation.Npoints, 12);
    EXPECT_FALSE(vle.VleInfo->X_Limits.Lower);

    IpHelpInfoObject lle, henry, nist, none;
    ASSERT_TRUE(manager->FetchExistingHelpInfo(lle, *bank, "NRTL", "METHANOL", "NAME", "WATER", "NAME", message));
    ASSERT_TRUE(lle.LleInfo);
    EXPECT_EQ(lle.LleInfo->X1_Limits.Lower, 0.1);
    EXPECT_EQ(lle.LleInfo->X2_Deviation.MaxDeviation, 3);
    ASSERT_TRUE(manager->FetchExistingHelpInfo(henry, *bank, "WILSON", "ETHANOL", "NAME", "WATER", "NAME", message));
    ASSERT_TRUE(henry.HenryInfo);
    EXPECT_EQ(henry.HenryInfo->Henry_Limits.Upper, 2000);
    ASSERT_TRUE(manager->FetchExistingHelpInfo(nist, *bank, "KIJ", "ETHANOL", "NAME", "METHANOL", "NAME", message));
    ASSERT_TRUE(nist.NistInfo);
    EXPECT_EQ(nist.NistInfo->Size(), 1);
    EXPECT_EQ(nist.NistInfo->GetPropertyName(0), "P");
    EXPECT_EQ(nist.NistInfo->Citations, (std::vector<std::string>{"first", "second"}));
    EXPECT_FALSE(manager->FetchExistingHelpInfo(none, *bank, "SITE", "ETHANOL", "NAME", "WATER", "NAME", message));
    EXPECT_EQ(none.ParamType, HelpInfoNone);
}

// Builds `source` expecting it refused, and returns the messages.
std::string Refusal(const Json& source)
{
    ScratchDirectory scratch;
    std::string text;
    for (const auto& error : dbtool::BuildDatabase(source, scratch.File("x.db"))) text += dbtool::Format(error) + "\n";
    return text;
}

TEST(BinaryValueSource, RefusesAPairStoredInBothOrders)
{
    Json source = BinarySource();
    source["databanks"][0]["values"].push_back(
        Json::parse(R"({"property": "NRTL", "compounds": [2, 1], "labels": [1], "numbers": [1]})"));
    source["databanks"][0]["values"].push_back(Json::parse(
        R"({"property": "SITE", "compounds": {"1": 2, "2": 3, "3": 3, "4": 1}, "labels": [1], "numbers": [1]})"));
    std::string errors = Refusal(source);
    EXPECT_NE(errors.find("databanks[0].values[6]: stores the pair of values[0] in the other order"), std::string::npos)
        << errors;
    EXPECT_NE(errors.find("databanks[0].values[7]: stores the pair of values[5] in the other order"), std::string::npos)
        << errors;
}

TEST(BinaryValueSource, PairValuesNameTheirSlots)
{
    Json source = BinarySource();
    source["databanks"][0]["values"][4]["compounds"] = Json::array({1, 2});
    EXPECT_NE(Refusal(source).find("values[4].compounds: must be an object"), std::string::npos) << Refusal(source);
    source["databanks"][0]["values"][4]["compounds"] = Json::parse(R"({"1": 1, "2": 2})");
    EXPECT_NE(Refusal(source).find("values[4].compounds"), std::string::npos);
}

TEST(BinaryValueSource, ChecksRegressionNamesAgainstTheKind)
{
    Json source = BinarySource();
    auto& regression = source["databanks"][0]["values"][0]["regression"];
    regression["ranges"].push_back(Json::parse(R"({"name": "Tmp", "lower": 1, "upper": 2})"));
    regression["deviations"].push_back(Json::parse(R"({"name": "X1", "points": 1, "aard": 1, "aad": 1, "max": 1})"));
    regression["citations"] = Json::array({"x"});
    std::string errors = Refusal(source);
    EXPECT_NE(errors.find("regression.ranges[1].name: \"Tmp\" is no range of kind 1"), std::string::npos) << errors;
    EXPECT_NE(errors.find("regression.deviations[1].name: \"X1\" is no deviation of kind 1"), std::string::npos)
        << errors;
    EXPECT_NE(errors.find("regression.citations: belong to regression information of kind 4"), std::string::npos)
        << errors;
}

} // namespace
} // namespace moru::sqlite::testing
