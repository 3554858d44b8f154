#include "bulk/BulkWorld.h"

#include <map>
#include <string>
#include <vector>

using namespace moru::service;

using namespace moru;
using namespace moru::fake;

namespace {

class BulkLists : public BulkWorld {
protected:
    // Every found compound, by its compound position.
    static std::map<int, CompoundEntry> ReadAll(int handle, int count)
    {
        std::map<int, CompoundEntry> entries;
        for (int i = 0; i < count; ++i) {
            CompoundEntry e;
            EXPECT_EQ(Next(handle, i, e), 1) << i;
            entries[e.position] = e;
        }
        return entries;
    }
    static std::vector<std::string> Names(const std::vector<DatabankPtr>& run)
    {
        std::vector<std::string> names;
        for (const auto& databank : run) names.push_back(databank ? databank->Name() : "<null>");
        return names;
    }
};

TEST_F(BulkLists, DatabanksFormRunsOfOneDatabaseAndDatabasesInOrderOfFirstAppearance)
{
    ASSERT_EQ(Load({"DB1.a", "db1.B.ignored", "DB2.c", "DB1.d"}, {"water"}, {"TC"}), 1);
    const auto& tables = bulk::Tables();
    ASSERT_EQ(tables.consecutiveDbankSlots.size(), 3u);
    EXPECT_EQ(Names(tables.consecutiveDbankSlots[0]), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Names(tables.consecutiveDbankSlots[1]), (std::vector<std::string>{"c"}));
    EXPECT_EQ(Names(tables.consecutiveDbankSlots[2]), (std::vector<std::string>{"d"}));
    ASSERT_EQ(tables.uniqueDatabases.size(), 2u);
    ASSERT_TRUE(tables.uniqueDatabases[0] && tables.uniqueDatabases[1]);
    EXPECT_EQ(tables.uniqueDatabases[0]->Alias(), "DB1");
    EXPECT_EQ(tables.uniqueDatabases[1]->Alias(), "DB2");
    EXPECT_EQ(tables.DatabankPosition(*c), 2);
    EXPECT_EQ(tables.DatabankPosition(*d), 3);
    EXPECT_EQ(tables.compCount, 1);
}

TEST_F(BulkLists, AnEmptyDatabankListGivesOneEmptyRun)
{
    ASSERT_EQ(Load({}, {"water"}, {}), 1);
    ASSERT_EQ(bulk::Tables().consecutiveDbankSlots.size(), 1u);
    EXPECT_TRUE(bulk::Tables().consecutiveDbankSlots[0].empty());
    int handle = -1;
    EXPECT_EQ(Optimized_GetAllProperties(&handle), 0); // no database to ask
    EXPECT_EQ(handle, 0);
}

TEST_F(BulkLists, FiveIdentifiersOfWhichFourAreFound)
{
    ASSERT_EQ(Load({"DB1.a", "DB2.c"}, {"water", "ethanol", "nothing", "argon", "water"}, {"TC"}), 1);
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllCompoundsIdentifiers(&handle), 4);
    EXPECT_NE(handle, 0);
    auto entries = ReadAll(handle, 4);
    EXPECT_EQ(entries.count(2), 0u);
    CompoundEntry e;
    EXPECT_EQ(Next(handle, 4, e), 0); // listed, but past the found compounds
    EXPECT_EQ(Next(handle, 5, e), -1);
    EXPECT_EQ(Next(handle, -1, e), 0);
    Optimized_ReleaseHandle(handle);
}

TEST_F(BulkLists, TheFirstDatabaseInListOrderWinsAndEachDatabaseIsAskedOnce)
{
    ASSERT_EQ(Load({"DB2.c", "DB1.a", "DB1.b"}, {"water", "argon"}, {"TC"}), 1);
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllCompoundsIdentifiers(&handle), 2);
    EXPECT_EQ(service.log.Matching("OptimizedFind"),
              (std::vector<std::string>{"OptimizedFind DB2 as DB2 k0 p0", "OptimizedFind DB1 as DB1 k0 p0"}));
    auto entries = ReadAll(handle, 2);
    EXPECT_STREQ(entries[0].name, "WATER2");
    EXPECT_STREQ(entries[0].database, "DB2");
    EXPECT_EQ(entries[0].index, 101);
    // The compound maps kept for the value fetches, per database.
    const auto& gateway = bulk::Tables().gatewayCompTable;
    ASSERT_EQ(gateway.size(), 2u);
    ASSERT_TRUE(gateway[1].database);
    EXPECT_EQ(gateway[1].database->Alias(), "DB1");
    EXPECT_EQ(gateway[1].compounds.at(1), std::vector<int>{0});
}

TEST_F(BulkLists, ARepeatedIdentifierGetsARecordAtEachPositionCopiedFromTheFirst)
{
    ASSERT_EQ(Load({"DB1.a"}, {"ethanol", "x", "y", "ethanol"}, {"kelIdx", "PLXIDX"}), 1);
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllCompoundsIdentifiers(&handle), 2);
    EXPECT_EQ(service.log.Matching("OptimizedFind"), std::vector<std::string>{"OptimizedFind DB1 as DB1 k1 p1"});
    auto entries = ReadAll(handle, 2);
    ASSERT_EQ(entries.count(0), 1u);
    ASSERT_EQ(entries.count(3), 1u);
    const CompoundEntry& first = entries[0];
    const CompoundEntry& repeat = entries[3];
    EXPECT_EQ(repeat.position, 3);
    EXPECT_STREQ(repeat.database, "DB1");
    EXPECT_EQ(repeat.index, 7);
    EXPECT_STREQ(repeat.name, "ETHANOL");
    EXPECT_STREQ(repeat.alias, "C2H6O");
    EXPECT_STREQ(repeat.cas, "64-17-5");
    EXPECT_EQ(repeat.compoundClass, 3.0);
    EXPECT_EQ(first.kelda, 12.0);
    EXPECT_EQ(first.plx, 22.0);
    EXPECT_EQ(repeat.kelda, first.kelda);
    EXPECT_EQ(repeat.plx, first.plx);
}

TEST_F(BulkLists, IndicesStayZeroUnlessTheEngineAsksForThem)
{
    ASSERT_EQ(Load({"DB1.a"}, {"ethanol"}, {"TC"}), 1);
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllCompoundsIdentifiers(&handle), 1);
    CompoundEntry e;
    ASSERT_EQ(Next(handle, 0, e), 1);
    EXPECT_EQ(e.kelda, 0.0);
    EXPECT_EQ(e.plx, 0.0);
    EXPECT_EQ(e.compoundClass, 3.0);
}

TEST_F(BulkLists, ACompoundWithoutCasNumberGetsAnEmptyOneAndALongDatabaseNameArrivesEmpty)
{
    auto longDb = service.AddDatabase("DATABASE_OF_20_BYTES");
    longDb->AddDatabank("z");
    ListAllDatabanks();
    longDb->Bulk().compounds["argon"] = {5, "ARGON", "AR", std::nullopt, 4.0, 0.0, 0.0};
    ASSERT_EQ(Load({"DATABASE_OF_20_BYTES.z"}, {"argon"}, {}), 1);
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllCompoundsIdentifiers(&handle), 1);
    CompoundEntry e;
    ASSERT_EQ(Next(handle, 0, e), 1);
    EXPECT_STREQ(e.database, "");
    EXPECT_STREQ(e.name, "ARGON");
    EXPECT_STREQ(e.cas, "");
}

TEST_F(BulkLists, PropertiesAreFoundByExactNameInTheFirstDatabaseThatHasThem)
{
    db1->Bulk().properties = std::vector<PropertyPtr>{std::make_shared<FakeProperty>("TC", 0, 1),
                                                      std::make_shared<FakeProperty>("kelIdx", 0, 1), nullptr};
    db2->Bulk().properties = std::vector<PropertyPtr>{std::make_shared<FakeProperty>("TC", 0, 9),
                                                      std::make_shared<FakeProperty>("CPIG", 0, 7),
                                                      std::make_shared<FakeProperty>("tc", 0, 5)};
    ASSERT_EQ(Load({"DB1.a", "DB2.c"}, {"water"}, {"CPIG", "TC", "kelIdx", "MISSING"}), 1);
    EXPECT_EQ(bulk::Tables().isKELIDXPresent, 1);
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllProperties(&handle), 3);
    std::map<int, int> elements;
    for (int i = 0; i < 3; ++i) {
        int position = -7, count = -7;
        ASSERT_EQ(Optimized_GetNextProperty(handle, i, &position, &count), 1);
        elements[position] = count;
    }
    EXPECT_EQ(elements, (std::map<int, int>{{0, 7}, {1, 1}, {2, 1}}));
    int position = 0, count = 0;
    EXPECT_EQ(Optimized_GetNextProperty(handle, 3, &position, &count), -1);
    EXPECT_EQ(Optimized_GetNextProperty(handle, -1, &position, &count), 0);
    EXPECT_EQ(Optimized_GetNextProperty(handle, 0, nullptr, &count), 0);
    EXPECT_EQ(Optimized_GetNextProperty(0, 0, &position, &count), 0);
}

TEST_F(BulkLists, ABadListLeavesEmptyTables)
{
    const char* banks[] = {"DB1.a", nullptr};
    const char* none[] = {nullptr};
    EXPECT_EQ(Optimized_InitializeAllLists(nullptr, none, none), 0);
    EXPECT_EQ(Optimized_InitializeAllLists(banks, nullptr, none), 0);
    EXPECT_EQ(Optimized_InitializeAllLists(banks, none, nullptr), 0);

    struct Case {
        std::vector<const char*> banks, properties;
    };
    const std::vector<Case> bad = {
        {{"DB1a"}, {"TC"}},                   // no full stop
        {{"DB1.unknown"}, {"TC"}},            // does not resolve
        {{"NODB.a"}, {"TC"}},                 // does not resolve
        {{"DB1.a"}, {"TC", "PC", "TC"}},      // repeated property
        {{"DB1.a", "DB2.c", "db1.A"}, {"TC"}} // repeated databank
    };
    for (const Case& test : bad) {
        EXPECT_EQ(Load(test.banks, {"water", "water"}, test.properties), 0) << test.banks.back();
        const auto& tables = bulk::Tables();
        EXPECT_EQ(tables.compCount, -1);
        EXPECT_TRUE(tables.compoundTable.empty());
        EXPECT_TRUE(tables.duplicateCompTable.empty());
        EXPECT_TRUE(tables.propertyTable.empty());
        EXPECT_TRUE(tables.dbankTable.empty());
        EXPECT_TRUE(tables.uniqueDatabases.empty());
        EXPECT_EQ(tables.isKELIDXPresent, 0);
    }
    int handle = -1;
    EXPECT_EQ(Optimized_GetAllCompoundsIdentifiers(&handle), 0);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(Optimized_GetAllCompoundsIdentifiers(nullptr), 0);
    EXPECT_EQ(Optimized_GetAllProperties(nullptr), 0);
}

TEST_F(BulkLists, LoadingAgainStartsFromEmptyTablesAndClearedFlags)
{
    ASSERT_EQ(Load({"DB1.a"}, {"water", "water"}, {"KELIDX", "TC"}), 1);
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllCompoundsIdentifiers(&handle), 2);
    ASSERT_EQ(Load({"DB1.a"}, {"ethanol"}, {"TC"}), 1); // the same names load again
    const auto& tables = bulk::Tables();
    EXPECT_EQ(tables.isKELIDXPresent, 0);
    EXPECT_TRUE(tables.duplicateCompTable.empty());
    ASSERT_TRUE(tables.engineCompTable);
    EXPECT_TRUE(tables.engineCompTable->records.empty());
    EXPECT_EQ(tables.compCount, 1);
    int again = 0;
    EXPECT_EQ(Optimized_GetAllCompoundsIdentifiers(&again), 1);
    // The handle of the earlier load still reads its own table.
    CompoundEntry e;
    ASSERT_EQ(Next(handle, 0, e), 1);
    EXPECT_STREQ(e.name, "WATER");
}

TEST_F(BulkLists, FindingTwiceForOneLoadFailsWithoutChangingWhatWasFound)
{
    ASSERT_EQ(Load({"DB1.a"}, {"water"}, {"TC"}), 1);
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllCompoundsIdentifiers(&handle), 1);
    int again = -1;
    EXPECT_EQ(Optimized_GetAllCompoundsIdentifiers(&again), 0);
    EXPECT_EQ(again, 0);
    ASSERT_TRUE(bulk::Tables().engineCompTable);
    EXPECT_EQ(bulk::Tables().engineCompTable->records.size(), 1u);
}

TEST_F(BulkLists, AServiceFailureIsContained)
{
    ASSERT_EQ(Load({"DB1.a", "DB2.c"}, {"water"}, {"TC"}), 1);
    service.log.failing = {"OptimizedFind", "GetAllDatabaseProperties"};
    int handle = -1;
    EXPECT_EQ(Optimized_GetAllCompoundsIdentifiers(&handle), 0);
    EXPECT_EQ(handle, 0);
    EXPECT_TRUE(bulk::Tables().gatewayCompTable.empty());
    handle = -1;
    EXPECT_EQ(Optimized_GetAllProperties(&handle), 0);
    EXPECT_EQ(handle, 0);
}

TEST_F(BulkLists, ReadsAfterUnloadingAreDefinedAndHandlesStillHoldTheirTables)
{
    db1->Bulk().properties = std::vector<PropertyPtr>{std::make_shared<FakeProperty>("TC", 0, 1)};
    ASSERT_EQ(Load({"DB1.a"}, {"water"}, {"TC"}), 1);
    int compounds = 0, properties = 0;
    ASSERT_EQ(Optimized_GetAllCompoundsIdentifiers(&compounds), 1);
    ASSERT_EQ(Optimized_GetAllProperties(&properties), 1);
    ASSERT_EQ(Optimized_UnInitializeAllLists(), 1);
    EXPECT_EQ(bulk::Tables().compCount, -1);
    CompoundEntry e;
    EXPECT_EQ(Next(compounds, 0, e), 1); // the handle reads what it was given
    EXPECT_STREQ(e.name, "WATER");
    EXPECT_EQ(Next(compounds, 1, e), -1);
    int position = -7, count = -7;
    EXPECT_EQ(Optimized_GetNextProperty(properties, 0, &position, &count), 1);
    EXPECT_EQ(count, 1);
    Optimized_ReleaseHandle(compounds);
    Optimized_ReleaseHandle(properties);
    EXPECT_EQ(Optimized_GetNextProperty(properties, 0, &position, &count), 0);
}

TEST_F(BulkLists, ACompoundHandleIsBoundedByItsOwnLoadAfterAReload)
{
    ASSERT_EQ(Load({"DB1.a"}, {"x", "y", "ethanol"}, {"TC"}), 1);
    int compounds = 0;
    ASSERT_EQ(Optimized_GetAllCompoundsIdentifiers(&compounds), 1);
    ASSERT_EQ(Load({"DB1.a"}, {"water"}, {"TC"}), 1); // fewer compounds listed now
    CompoundEntry e;
    EXPECT_EQ(Next(compounds, 0, e), 1);
    EXPECT_EQ(e.position, 2);
    EXPECT_STREQ(e.name, "ETHANOL");
    EXPECT_EQ(Next(compounds, 1, e), 0); // listed then, not found
    EXPECT_EQ(Next(compounds, 3, e), -1);
}

TEST_F(BulkLists, NextCompoundRefusesNullOutputsAndForeignHandles)
{
    ASSERT_EQ(Load({"DB1.a"}, {"water"}, {"TC"}), 1);
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllCompoundsIdentifiers(&handle), 1);
    CompoundEntry e;
    EXPECT_EQ(Optimized_GetNextCompoundIdentifier(handle, 0, &e.position, e.database, &e.index, e.name, e.alias,
                                                  nullptr, &e.compoundClass, &e.kelda, &e.plx),
              0);
    EXPECT_EQ(Optimized_GetNextCompoundIdentifier(handle, 0, &e.position, e.database, &e.index, e.name, e.alias, e.cas,
                                                  &e.compoundClass, &e.kelda, nullptr),
              0);
    EXPECT_EQ(Next(0, 0, e), 0);
    int properties = 0;
    db1->Bulk().properties = std::vector<PropertyPtr>{};
    ASSERT_EQ(Optimized_GetAllProperties(&properties), 0); // nothing found, yet a valid handle
    EXPECT_NE(properties, 0);
    EXPECT_EQ(Next(properties, 0, e), 0); // a property table is no compound table
}

} // namespace
