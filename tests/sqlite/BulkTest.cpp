#include "TestDatabase.h"

#include "service/Bulk.h"

#include <algorithm>
#include <map>
#include <optional>
#include <sstream>
#include <tuple>
#include <vector>

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
    // Finds the identifiers; the rows by the identifiers' places.
    std::map<int, EngineCompoundRow> Find(const std::vector<std::string>& identifiers, bool kelda, bool plx)
    {
        std::map<int, EngineCompoundRow> found;
        for (auto& row : manager->OptimizedFind(identifiers, kelda, plx)) {
            EXPECT_EQ(found.count(row.identifier), 0u) << row.identifier;
            found[row.identifier] = std::move(row);
        }
        return found;
    }

    DatabasePtr database;
    std::shared_ptr<IBulkManager> manager;
};

// Collects the rows of a value read.
struct Rows final : IEngineValueSink {
    struct Row {
        int databank, property, compound, compound2;
        std::vector<int> labels;
        std::vector<std::optional<double>> numbers;
        bool operator==(const Row&) const = default;
    };
    void Take(const EngineValueRow& row) override
    {
        rows.push_back({row.databank, row.property, row.compound, row.compound2,
                        std::vector<int>(row.labels.begin(), row.labels.end()),
                        std::vector<std::optional<double>>(row.numbers.begin(), row.numbers.end())});
    }
    std::vector<Row> rows;
};

TEST_F(Bulk, FindsListedCompoundsByAnyIdentifierWithTheirEngineFields)
{
    Connect();
    const auto found = Find({"water", "ALCOHOL", "NEON", "C2H6O", "argon"}, true, true);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found.count(2), 0u);
    const auto& water = found.at(0);
    EXPECT_EQ(water.compoundIndex, 2);
    EXPECT_EQ(water.name, "WATER");
    EXPECT_EQ(water.alias, "H2O");
    EXPECT_EQ(water.casNo, "7732-18-5");
    EXPECT_EQ(water.classNumber, 1.0);
    EXPECT_EQ(water.keldaIndex, 62.0);
    EXPECT_EQ(water.plxIndex, 13.0);
    // Two identifiers of one compound: a row for each.
    EXPECT_EQ(found.at(1).compoundIndex, 5);
    const auto& ethanol = found.at(3);
    EXPECT_EQ(ethanol.compoundIndex, 5);
    EXPECT_FALSE(ethanol.casNo.has_value());
    EXPECT_EQ(ethanol.classNumber, 4.0);
    EXPECT_EQ(found.at(4).compoundIndex, 9);
    EXPECT_EQ(found.at(4).classNumber, 0.0);
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
    const auto found = Find({"OXIDANE", "HOH"}, false, false);
    ASSERT_EQ(found.size(), 2u);
    for (int place : {0, 1}) {
        const auto& row = found.at(place);
        EXPECT_EQ(row.name, "WATER");
        EXPECT_EQ(row.alias, "H2O");
        EXPECT_EQ(row.casNo, "7732-18-5");
    }
}

TEST_F(Bulk, IndicesAreReadOnlyWhenAskedFor)
{
    Connect();
    const auto found = Find({"WATER"}, false, true);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.at(0).keldaIndex, 0.0);
    EXPECT_EQ(found.at(0).plxIndex, 13.0);
}

TEST_F(Bulk, ADatabaseBuiltBeforeTheEngineFieldsReadsThemAsZero)
{
    {
        Connection db(scratch.File("eng.db"), Connection::Mode::Create);
        db.Execute("DROP TABLE compound_engine");
    }
    Connect();
    const auto found = Find({"WATER"}, true, true);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.at(0).name, "WATER");
    EXPECT_EQ(found.at(0).classNumber, 0.0);
    EXPECT_EQ(found.at(0).keldaIndex, 0.0);
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
    std::vector<std::string> listed;
    for (int i = kCompounds - 1; i >= 0; --i) {
        const std::string n = std::to_string(i);
        listed.push_back("ALIAS-" + n);
        listed.push_back("unknown-" + n);
        if (i % 100 == 7) listed.push_back("name-" + n); // a second identifier, other letter case
    }
    const auto found = Find(listed, true, true);
    ASSERT_EQ(found.size(), static_cast<std::size_t>(kCompounds + 6));
    std::map<int, int> identifiersOf; // compound index -> identifiers found for it
    for (int at = 0; at < static_cast<int>(listed.size()); ++at) {
        const std::string& identifier = listed[static_cast<std::size_t>(at)];
        if (identifier.rfind("unknown-", 0) == 0) {
            EXPECT_EQ(found.count(at), 0u) << identifier;
            continue;
        }
        const int i = std::stoi(identifier.substr(identifier.rfind('-') + 1));
        ASSERT_EQ(found.count(at), 1u) << identifier;
        const auto& row = found.at(at);
        EXPECT_EQ(row.compoundIndex, 100 + i);
        EXPECT_EQ(row.name, "NAME-" + std::to_string(i));
        EXPECT_EQ(row.alias, "ALIAS-" + std::to_string(i));
        EXPECT_FALSE(row.casNo);
        EXPECT_EQ(row.classNumber, i);
        EXPECT_EQ(row.plxIndex, 1000 + i);
        ++identifiersOf[row.compoundIndex];
    }
    ASSERT_EQ(identifiersOf.size(), static_cast<std::size_t>(kCompounds));
    for (const auto& [index, count] : identifiersOf) EXPECT_EQ(count, (index - 100) % 100 == 7 ? 2 : 1) << index;
}

// The identifiers are looked up one key at a time: the rows still come in the order of their
// search keys, and of the identifiers under one key, as on every backend.
TEST_F(Bulk, FoundRowsComeInTheOrderOfTheirSearchKeys)
{
    Connect();
    const auto rows = manager->OptimizedFind({"water", "argon", "NEON", "H2O", "alcohol", "WATER"}, false, false);
    std::vector<std::pair<int, int>> places; // identifier, compound
    places.reserve(rows.size());
    for (const auto& row : rows) places.emplace_back(row.identifier, row.compoundIndex);
    EXPECT_EQ(places, (std::vector<std::pair<int, int>>{{4, 5}, {1, 9}, {3, 2}, {0, 2}, {5, 2}}));
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

TEST_F(Bulk, ReadsTheUnaryValuesOfARunDatabankByDatabank)
{
    Connect();
    auto banks = database->EnumerateDatabanks();
    ASSERT_TRUE(banks);
    const std::vector<DatabankPtr> run = {banks->Find("PURE"), banks->Find("MORE")};
    // Names as the database spells them: "tc" is no property of it.
    const std::vector<std::string> properties = {"CPIG", "TC", "tc"};
    const std::vector<int> compounds = {2, 5, 9};
    Rows rows;
    manager->OptimizedGetAllScalarPropertyValues({properties, compounds, run}, rows);
    const std::vector<Rows::Row> expected = {{0, 0, 5, -1, {}, {1.5, std::nullopt, 3.5}},
                                             {0, 1, 2, -1, {}, {647.1}},
                                             {1, 1, 2, -1, {}, {1.0}},
                                             {1, 1, 9, -1, {}, {150.7}}};
    auto sorted = rows.rows;
    std::sort(sorted.begin(), sorted.end(), [](const Rows::Row& x, const Rows::Row& y) {
        return std::tie(x.databank, x.property, x.compound) < std::tie(y.databank, y.property, y.compound);
    });
    EXPECT_EQ(sorted, expected);
}

// A run of many databanks, some of the database's left out: the rows of the run's databanks, each once.
TEST_F(Bulk, ALongRunGivesTheRowsOfItsDatabanksOnly)
{
    Json source = EngineSource();
    for (int i = 0; i < 20; ++i) {
        source["databanks"].push_back(
            Json{{"name", "X" + std::to_string(i)},
                 {"id", 10 + i},
                 {"compounds", {2, 9}},
                 {"values", {{{"property", "TC"}, {"compound", 9}, {"numbers", {100.0 + i}}}}}});
    }
    Build(source, scratch.File("eng.db"));
    Connect();
    auto banks = database->EnumerateDatabanks();
    ASSERT_TRUE(banks);
    std::vector<DatabankPtr> run = {banks->Find("MORE")}; // PURE and X0 are left out
    for (int i = 19; i >= 1; --i) run.push_back(banks->Find("X" + std::to_string(i)));
    const std::vector<std::string> properties = {"TC"};
    const std::vector<int> compounds = {2, 9};
    Rows rows;
    manager->OptimizedGetAllScalarPropertyValues({properties, compounds, run}, rows);
    std::map<int, std::vector<std::optional<double>>> byPlace;
    for (const auto& row : rows.rows) {
        if (row.compound == 9) {
            EXPECT_TRUE(byPlace.emplace(row.databank, row.numbers).second) << row.databank;
        }
    }
    ASSERT_EQ(byPlace.size(), 20u);
    EXPECT_EQ(byPlace.at(0), (std::vector<std::optional<double>>{150.7}));
    for (int place = 1; place < 20; ++place)
        EXPECT_EQ(byPlace.at(place), (std::vector<std::optional<double>>{120.0 - place}));
    EXPECT_EQ(rows.rows.size(), 21u); // water's TC in MORE too
}

TEST_F(Bulk, ReadsBinaryValuesWithTheirLabels)
{
    Json source = EngineSource();
    source["databanks"][0]["values"].push_back(
        Json::parse(R"({"property": "NRTL", "compounds": [2, 5], "labels": [1, 4], "numbers": [0.5, 7.0]})"));
    Build(source, scratch.File("eng.db"));
    Connect();
    auto banks = database->EnumerateDatabanks();
    ASSERT_TRUE(banks);
    const std::vector<DatabankPtr> run = {banks->Find("PURE")};
    const std::vector<std::string> properties = {"NRTL"};
    const std::vector<int> compounds = {2, 5};
    Rows rows;
    manager->OptimizedGetAllBinaryPropertyValues({properties, compounds, run}, rows);
    EXPECT_EQ(rows.rows, (std::vector<Rows::Row>{{0, 0, 2, 5, {1, 4}, {0.5, 7.0}}}));
}

// Values naming a compound outside the query, alone or as either compound of a pair, are not
// handed; the compounds may come in any order, and a stored index above all of them is no fault.
TEST_F(Bulk, HandsOnlyTheValuesOfTheAskedCompounds)
{
    Json source = EngineSource();
    for (const char* pair : {"[2, 5]", "[5, 9]", "[9, 2]"}) {
        source["databanks"][0]["values"].push_back(Json::parse(std::string(R"({"property": "NRTL", "compounds": )") +
                                                               pair + R"(, "labels": [1], "numbers": [0.5]})"));
    }
    Build(source, scratch.File("eng.db"));
    Connect();
    auto banks = database->EnumerateDatabanks();
    ASSERT_TRUE(banks);
    const std::vector<DatabankPtr> run = {banks->Find("PURE"), banks->Find("MORE")};
    const std::vector<std::string> unary = {"TC", "CPIG"}, binary = {"NRTL"};
    const std::vector<int> compounds = {5, 2};
    Rows scalars, pairs;
    manager->OptimizedGetAllScalarPropertyValues({unary, compounds, run}, scalars);
    manager->OptimizedGetAllBinaryPropertyValues({binary, compounds, run}, pairs);
    std::vector<std::tuple<int, int, int>> scalarKeys, pairKeys; // databank, compound, compound2
    for (const auto& row : scalars.rows) scalarKeys.emplace_back(row.databank, row.compound, row.compound2);
    for (const auto& row : pairs.rows) pairKeys.emplace_back(row.databank, row.compound, row.compound2);
    std::sort(scalarKeys.begin(), scalarKeys.end());
    std::sort(pairKeys.begin(), pairKeys.end());
    EXPECT_EQ(scalarKeys, (std::vector<std::tuple<int, int, int>>{{0, 2, -1}, {0, 5, -1}, {1, 2, -1}}));
    EXPECT_EQ(pairKeys, (std::vector<std::tuple<int, int, int>>{{0, 2, 5}}));
}

// Read together, one pass over the table when the query asks for most of it, seeks when it asks for
// little: either way the rows the unary and binary reads give, pairs outside the query left out.
TEST_F(Bulk, ReadingEveryKindTogetherGivesTheRowsOfTheReadsKindByKind)
{
    Json source = EngineSource();
    source["databanks"][1]["compounds"] = {2, 5, 9};
    for (const char* pair : {"[2, 5]", "[5, 9]", "[9, 2]"}) {
        source["databanks"][1]["values"].push_back(Json::parse(std::string(R"({"property": "NRTL", "compounds": )") +
                                                               pair + R"(, "labels": [3, 1], "numbers": [0.5, 2.5]})"));
    }
    for (int i = 0; i < 6; ++i) {
        source["databanks"].push_back(
            Json{{"name", "X" + std::to_string(i)},
                 {"id", 10 + i},
                 {"compounds", {2, 9}},
                 {"values", {{{"property", "TC"}, {"compound", 9}, {"numbers", {100.0 + i}}}}}});
    }
    Build(source, scratch.File("eng.db"));
    Connect();
    auto banks = database->EnumerateDatabanks();
    ASSERT_TRUE(banks);
    const std::vector<std::string> properties = {"NRTL", "TC", "CPIG"};
    const std::vector<int> compounds = {9, 2, 5};
    const auto sorted = [](std::vector<Rows::Row> rows) {
        std::sort(rows.begin(), rows.end(), [](const Rows::Row& x, const Rows::Row& y) {
            return std::tie(x.databank, x.property, x.compound, x.compound2) <
                   std::tie(y.databank, y.property, y.compound, y.compound2);
        });
        return rows;
    };
    std::vector<DatabankPtr> everything = {banks->Find("MORE"), banks->Find("PURE")};
    for (int i = 5; i >= 0; --i) everything.push_back(banks->Find("X" + std::to_string(i)));
    for (const auto& run : {everything, std::vector<DatabankPtr>{banks->Find("MORE")}}) {
        Rows together, unary, binary;
        manager->OptimizedGetAllKindsOfPropertyValues({properties, compounds, run}, together);
        manager->OptimizedGetAllScalarPropertyValues({properties, compounds, run}, unary);
        manager->OptimizedGetAllBinaryPropertyValues({properties, compounds, run}, binary);
        auto kindByKind = unary.rows;
        kindByKind.insert(kindByKind.end(), binary.rows.begin(), binary.rows.end());
        EXPECT_EQ(sorted(together.rows), sorted(kindByKind)) << run.size() << " databanks";
        EXPECT_EQ(binary.rows.size(), 3u);
    }
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
