#include "TestDatabase.h"

#include "service/Bulk.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <unordered_map>

namespace moru::sqlite::testing {
namespace {

using namespace moru::service;
using dbtool::Json;

// Water with every engine field, ethanol without a CAS number and with its class only, argon with
// none of them.
Json EngineSource()
{
    return Json::parse(R"({
  "format": "moru-property-db 1",
  "database": {"alias": "ENG", "version": 2020},
  "properties": [
    {"name": "TC", "dataType": 1, "interactionType": 0, "elementCount": 1},
    {"name": "CPIG", "dataType": 1, "interactionType": 0, "elementCount": 3},
    {"name": "NRTL", "dataType": 1, "interactionType": 1, "elementCount": 2,
     "elements": [{"ij": 1, "ji": 2, "symmetry": 0}, {"ij": 3, "ji": 4, "symmetry": 2}]}
  ],
  "compounds": [
    {"id": 2, "identifiers": {"NAME": ["WATER"], "ALIAS": ["H2O"], "CASRN": ["7732-18-5"]},
     "classNumber": 1, "keldaIndex": 62, "plxIndex": 13},
    {"id": 5, "identifiers": {"NAME": ["ETHANOL"], "ALIAS": ["C2H6O"], "SYNONYM": ["alcohol"]}, "classNumber": 4},
    {"id": 9, "identifiers": {"NAME": ["ARGON"], "ALIAS": ["AR"]}}
  ],
  "databanks": [
    {"name": "PURE", "id": 1, "compounds": [2, 5, 9],
     "values": [{"property": "TC", "compound": 2, "numbers": [647.1]},
                {"property": "CPIG", "compound": 5, "numbers": [1.5, null, 3.5]}]},
    {"name": "MORE", "id": 2, "compounds": [2, 9],
     "values": [{"property": "TC", "compound": 2, "numbers": [1.0]},
                {"property": "TC", "compound": 9, "numbers": [150.7]}]}]
})");
}

class Bulk : public ::testing::Test {
protected:
    void Connect()
    {
        std::istringstream config(R"({"databases": [{"alias": "ENG", "path": "eng.db"}]})");
        collection.InitializeFromConfigurationFile(&config, scratch.File("databases.json"), "");
        database = collection.Find("ENG");
        ASSERT_TRUE(database);
        manager = database->BulkManager();
        ASSERT_TRUE(manager);
    }
    void SetUp() override { Build(EngineSource(), scratch.File("eng.db")); }

    ScratchDirectory scratch;
    SqliteDatabaseCollection collection{std::make_shared<DatabankCollection>()};
    DatabasePtr database;
    std::shared_ptr<IBulkManager> manager;
    EngineCompoundMap found;
    EngineCompoundIndexMap indices;
};

TEST_F(Bulk, FindsListedCompoundsByAnyIdentifierWithTheirEngineFields)
{
    Connect();
    const CompoundPositionTable listed = {{"water", 0}, {"ALCOHOL", 1}, {"NEON", 2}, {"C2H6O", 4}, {"argon", 5}};
    manager->OptimizedFind(listed, "ENG", found, indices, 1, 1);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found.count(2), 0u);
    const auto& water = *found.at(0);
    EXPECT_EQ(water.DatabaseName, "ENG");
    EXPECT_EQ(water.CompoundPosition, 0);
    EXPECT_EQ(water.CompoundIndex, 2);
    EXPECT_EQ(water.CompoundName, "WATER");
    EXPECT_EQ(water.CompoundAlias, "H2O");
    EXPECT_EQ(water.CompoundCasNo, "7732-18-5");
    EXPECT_EQ(water.CompoundClassDblValue, 1.0);
    EXPECT_EQ(water.KeldaIndex, 62.0);
    EXPECT_EQ(water.PLXIndex, 13.0);
    const auto& ethanol = *found.at(4);
    EXPECT_EQ(ethanol.CompoundIndex, 5);
    EXPECT_FALSE(ethanol.CompoundCasNo.has_value());
    EXPECT_EQ(ethanol.CompoundClassDblValue, 4.0);
    EXPECT_EQ(found.at(5)->CompoundClassDblValue, 0.0);
    // Two identifiers of one compound: both positions, in order.
    EXPECT_EQ(indices, (EngineCompoundIndexMap{{2, {0}}, {5, {1, 4}}, {9, {5}}}));
}

TEST_F(Bulk, ARecordCarriesTheFirstNameAliasAndCasNumberOfItsCompound)
{
    Json source = EngineSource();
    Json& water = source["compounds"][0]["identifiers"];
    water["NAME"].push_back("OXIDANE");
    water["ALIAS"].push_back("HOH");
    water["CASRN"].push_back("64-17-5");
    Build(source, scratch.File("eng.db"));
    Connect();
    manager->OptimizedFind({{"OXIDANE", 0}, {"HOH", 1}}, "ENG", found, indices, 0, 0);
    ASSERT_EQ(found.size(), 2u);
    for (int position : {0, 1}) {
        const auto& record = *found.at(position);
        EXPECT_EQ(record.CompoundName, "WATER");
        EXPECT_EQ(record.CompoundAlias, "H2O");
        EXPECT_EQ(record.CompoundCasNo, "7732-18-5");
    }
}

TEST_F(Bulk, IndicesAreReadOnlyWhenAskedFor)
{
    Connect();
    manager->OptimizedFind({{"WATER", 3}}, "ENG", found, indices, 0, 1);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.at(3)->KeldaIndex, 0.0);
    EXPECT_EQ(found.at(3)->PLXIndex, 13.0);
}

TEST_F(Bulk, ADatabaseBuiltBeforeTheEngineFieldsReadsThemAsZero)
{
    {
        Connection db(scratch.File("eng.db"), Connection::Mode::Create);
        db.Execute("DROP TABLE compound_engine");
    }
    Connect();
    manager->OptimizedFind({{"WATER", 0}}, "ENG", found, indices, 1, 1);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.at(0)->CompoundName, "WATER");
    EXPECT_EQ(found.at(0)->CompoundClassDblValue, 0.0);
    EXPECT_EQ(found.at(0)->KeldaIndex, 0.0);
}

// More compounds and identifiers than one statement of the search takes: each compound found
// under every identifier that names it, in any letter case, with its own details.
TEST_F(Bulk, FindsHundredsOfCompoundsWithTheirOwnDetails)
{
    constexpr int kCompounds = 600;
    Json source = EngineSource();
    auto& compounds = source["compounds"];
    for (int i = 0; i < kCompounds; ++i) {
        const std::string n = std::to_string(i);
        compounds.push_back(Json{{"id", 100 + i},
                                 {"identifiers", {{"NAME", {"NAME-" + n}}, {"ALIAS", {"ALIAS-" + n}}}},
                                 {"classNumber", i},
                                 {"plxIndex", 1000 + i}});
    }
    Build(source, scratch.File("eng.db"));
    Connect();
    CompoundPositionTable listed;
    int position = 0;
    for (int i = kCompounds - 1; i >= 0; --i) {
        const std::string n = std::to_string(i);
        listed.emplace("ALIAS-" + n, position++);
        listed.emplace("unknown-" + n, position++);
        if (i % 100 == 7) listed.emplace("name-" + n, position++); // a second identifier, other letter case
    }
    manager->OptimizedFind(listed, "ENG", found, indices, 1, 1);
    ASSERT_EQ(found.size(), static_cast<std::size_t>(kCompounds + 6));
    ASSERT_EQ(indices.size(), static_cast<std::size_t>(kCompounds));
    for (const auto& [identifier, at] : listed) {
        if (identifier.rfind("unknown-", 0) == 0) {
            EXPECT_EQ(found.count(at), 0u) << identifier;
            continue;
        }
        const int i = std::stoi(identifier.substr(identifier.rfind('-') + 1));
        ASSERT_EQ(found.count(at), 1u) << identifier;
        const auto& record = *found.at(at);
        EXPECT_EQ(record.CompoundPosition, at);
        EXPECT_EQ(record.CompoundIndex, 100 + i);
        EXPECT_EQ(record.CompoundName, "NAME-" + std::to_string(i));
        EXPECT_EQ(record.CompoundAlias, "ALIAS-" + std::to_string(i));
        EXPECT_FALSE(record.CompoundCasNo);
        EXPECT_EQ(record.CompoundClassDblValue, i);
        EXPECT_EQ(record.PLXIndex, 1000 + i);
        const auto& positions = indices.at(100 + i);
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
        EXPECT_EQ(positions.size(), i % 100 == 7 ? 2u : 1u);
    }
}

TEST_F(Bulk, EveryPropertyOfTheDatabase)
{
    Connect();
    auto properties = manager->GetAllProperties();
    ASSERT_TRUE(properties);
    ASSERT_EQ(properties->size(), 3u);
    EXPECT_EQ((*properties)[2]->Name(), "NRTL");
    EXPECT_EQ((*properties)[2]->ElementCount(), 2);
}

TEST_F(Bulk, FetchesScalarAndVectorValuesOfARunUnderEveryPosition)
{
    Connect();
    manager->OptimizedFind({{"WATER", 0}, {"ETHANOL", 1}, {"ARGON", 2}}, "ENG", found, indices, 0, 0);
    const std::map<int, std::vector<int>> duplicates = {{0, {3}}};
    const std::unordered_map<std::string, int> properties = {{"CPIG", 0}, {"TC", 1}, {"tc", 2}};
    auto banks = database->EnumerateDatabanks();
    ASSERT_TRUE(banks);
    const std::vector<std::pair<DatabankPtr, int>> listed = {{banks->Find("PURE"), 4}, {banks->Find("MORE"), 5}};
    const std::vector<DatabankPtr> run = {listed[0].first, listed[1].first};
    const EngineFetch fetch{indices, duplicates, properties, listed, run};
    EngineValueMap scalars, vectors;
    manager->OptimizedGetAllScalarPropertyValues(fetch, scalars);
    manager->OptimizedGetAllVectorPropertyValues(fetch, vectors);
    // Keys: compound position times 3 plus property position.
    ASSERT_EQ(scalars.size(), 3u);
    EXPECT_EQ(scalars.at(1)->Values, (std::map<int, double>{{1, 647.1}})); // PURE comes first in the run
    EXPECT_EQ(scalars.at(1)->DatabankPosition, 4);
    EXPECT_EQ(scalars.at(10)->Values.at(1), 647.1); // water again at position 3
    EXPECT_EQ(scalars.at(7)->Values.at(1), 150.7);
    EXPECT_EQ(scalars.at(7)->DatabankPosition, 5);
    ASSERT_EQ(vectors.size(), 1u);
    EXPECT_EQ(vectors.at(3)->Values, (std::map<int, double>{{1, 1.5}, {3, 3.5}}));
}

TEST_F(Bulk, TheDumpKeepsTheEngineFields)
{
    const Json dumped = dbtool::DumpDatabase(scratch.File("eng.db"));
    const Json& compounds = dumped.at("compounds");
    EXPECT_EQ(compounds.at(0).at("keldaIndex"), 62.0);
    EXPECT_EQ(compounds.at(0).at("plxIndex"), 13.0);
    EXPECT_EQ(compounds.at(1).at("classNumber"), 4.0);
    EXPECT_FALSE(compounds.at(1).contains("keldaIndex"));
    EXPECT_FALSE(compounds.at(2).contains("classNumber"));
}

TEST_F(Bulk, TheSourceFormatRefusesEngineFieldsThatAreNoNumbers)
{
    Json source = EngineSource();
    source["compounds"][0]["keldaIndex"] = "62";
    EXPECT_FALSE(dbtool::BuildDatabase(source, scratch.File("bad.db")).empty());
}

} // namespace
} // namespace moru::sqlite::testing
