#include "MoruIntegration.h"
#include "fake/FakeService.h"
#include "session/Resolution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <cstring>
#include <string>
#include <vector>

using namespace moru::service;

using namespace moru::fake;
namespace session = moru::session;

namespace {

class Resolution : public ::testing::Test {
protected:
    Resolution()
    {
        dbA = service.AddDatabase("DBA");
        a1 = dbA->AddDatabank("BANK1");
        dbB = service.AddDatabase("DBB");
        b1 = dbB->AddDatabank("BANKB");
    }
    void List() { ListAllDatabanks(); }
    std::vector<std::string> Offered()
    {
        DatabankCollection offered;
        session::GetAllDatabanks(offered);
        std::vector<std::string> names;
        for (const auto& databank : offered.Items()) names.push_back(session::GetMonikerForDbank(*databank));
        return names;
    }

    FakeService service;
    std::shared_ptr<FakeDatabase> dbA, dbB;
    std::shared_ptr<FakeDatabank> a1, b1;
};

} // namespace

TEST_F(Resolution, NamesResolveOnlyAfterListingAndIgnoreCase)
{
    EXPECT_EQ(session::GetIDatabankFromDbaseDbank("DBA", "BANK1"), nullptr);
    EXPECT_EQ(session::FindDbankByMoniker("DBA BANK1"), a1); // monikers ask the service directly
    List();
    EXPECT_EQ(session::GetIDatabankFromDbaseDbank("dba", "Bank1"), a1);
    EXPECT_EQ(session::GetIDatabankFromDbaseDbank("DBB", "BANK1"), nullptr); // the bank is DBA's
}

TEST_F(Resolution, TheFirstOfTwoMatchingCatalogueEntriesWins)
{
    // Two different databanks whose names differ only in case: both match, the first listed wins.
    const auto lower = dbA->AddDatabank("bank1");
    List();
    EXPECT_EQ(session::GetIDatabankFromDbaseDbank("DBA", "BANK1"), a1);
    EXPECT_EQ(session::GetIDatabankFromDbaseDbank("DBA", "bank1"), a1);
    EXPECT_NE(lower, a1);
}

TEST_F(Resolution, NullNamesResolveToNothingAtTheDoor)
{
    List();
    a1->compoundsWithData = std::make_shared<CompoundCollection>(CompoundCollection{{7, {"water", "H2O"}}});
    int handle = -1;
    Databank_GetIdentifiersOfCompoundsWithData(nullptr, "BANK1", &handle);
    EXPECT_EQ(handle, 0);
    Databank_GetIdentifiersOfCompoundsWithData("DBA", nullptr, &handle);
    EXPECT_EQ(handle, 0);
}

TEST_F(Resolution, MonikersNeedExactlyOneBlank)
{
    EXPECT_EQ(session::FindDbankByMoniker("DBA  BANK1"), nullptr);
    EXPECT_EQ(session::FindDbankByMoniker("DBABANK1"), nullptr);
    EXPECT_EQ(session::FindDbankByMoniker("NODB BANK1"), nullptr);
    EXPECT_EQ(session::FindDbankByMoniker("DBA NOBANK"), nullptr);
    EXPECT_EQ(session::GetMonikerForDbank(*b1), "DBB BANKB");
}

TEST_F(Resolution, PureSelectionReplacesTheOfferedDatabanks)
{
    EXPECT_EQ(Offered(), (std::vector<std::string>{"DBA BANK1", "DBB BANKB"}));
    const char* selection[] = {"DBB BANKB", "NODB X", "DBA BANK1"};
    SetPureDatabankList(selection, 3);
    EXPECT_EQ(Offered(), (std::vector<std::string>{"DBB BANKB", "DBA BANK1"}));
    const char* second[] = {"DBA BANK1"};
    SetPureDatabankList(second, 1);
    EXPECT_EQ(Offered(), (std::vector<std::string>{"DBA BANK1"}));
    SetPureDatabankList(nullptr, 0);
    EXPECT_TRUE(Offered().empty());
}

TEST_F(Resolution, DatabankTypeCodesAndPropertyNamesWithGaps)
{
    List();
    dbA->properties->properties["BANK1"] = {std::make_shared<FakeProperty>("TC", 0), nullptr,
                                            std::make_shared<FakeProperty>("NRTL", 1),
                                            std::make_shared<FakeProperty>("PAIR", 3)};
    int types = -1, table = -1;
    ASSERT_EQ(Databank_GetDatabankTypeAndPropertyList("DBA", "BANK1", &types, &table), 4);
    EXPECT_EQ(types, 3);
    EXPECT_EQ(service.log.Last("GetAllProperties"), "GetAllProperties BANK1 true");
    char name[64];
    EXPECT_EQ(Databank_GetNextPropertyName(table, 0, name), 1);
    EXPECT_STREQ(name, "TC");
    std::strcpy(name, "untouched");
    EXPECT_EQ(Databank_GetNextPropertyName(table, 1, name), 0); // the gap
    EXPECT_STREQ(name, "untouched");
    // Names after the gap stay readable; the end comes at the returned count.
    EXPECT_EQ(Databank_GetNextPropertyName(table, 2, name), 1);
    EXPECT_STREQ(name, "NRTL");
    EXPECT_EQ(Databank_GetNextPropertyName(table, 3, name), 1);
    EXPECT_STREQ(name, "PAIR");
    EXPECT_EQ(Databank_GetNextPropertyName(table, 4, name), -1);
    EXPECT_EQ(Databank_GetNextPropertyName(table, -1, name), 0);
    EXPECT_EQ(Databank_GetNextPropertyName(table, 0, nullptr), 0);
    EXPECT_EQ(Databank_GetNextPropertyName(0, 0, name), 0);
    Databank_ReleaseHandle(table);
    EXPECT_EQ(Databank_GetNextPropertyName(table, 0, name), 0);
}

// The host's buffer holds the documented longest name; a longer name in an edited database is
// refused instead of copied past it.
TEST_F(Resolution, APropertyNameBeyondTheHostLimitIsRefusedUnwritten)
{
    List();
    const std::string longest(MORU_MAX_PROPERTY_NAME_BYTES, 'N');
    dbA->properties->properties["BANK1"] = {std::make_shared<FakeProperty>(longest, 0),
                                            std::make_shared<FakeProperty>(longest + "N", 0)};
    int types = -1, table = -1;
    ASSERT_EQ(Databank_GetDatabankTypeAndPropertyList("DBA", "BANK1", &types, &table), 2);
    std::vector<char> name(MORU_MAX_PROPERTY_NAME_BYTES + 1 + 16, 'g');
    EXPECT_EQ(Databank_GetNextPropertyName(table, 0, name.data()), 1);
    EXPECT_EQ(std::string(name.data()), longest);
    std::fill(name.begin(), name.end(), 'g');
    EXPECT_EQ(Databank_GetNextPropertyName(table, 1, name.data()), 0);
    EXPECT_EQ(name, std::vector<char>(name.size(), 'g'));
    Databank_ReleaseHandle(table);
}

TEST_F(Resolution, TypeCodeIgnoresPairProperties)
{
    List();
    dbB->properties->properties["BANKB"] = {std::make_shared<FakeProperty>("PAIR", 3)};
    int types = -1, table = -1;
    EXPECT_EQ(Databank_GetDatabankTypeAndPropertyList("DBB", "BANKB", &types, &table), 1);
    EXPECT_EQ(types, 0);
    dbB->properties->properties["BANKB"] = {std::make_shared<FakeProperty>("NRTL", 1)};
    Databank_GetDatabankTypeAndPropertyList("DBB", "BANKB", &types, &table);
    EXPECT_EQ(types, 2);
}

TEST_F(Resolution, TypeAndPropertyListFailuresClearOrLeaveOutputs)
{
    int types = -1, table = -1;
    EXPECT_EQ(Databank_GetDatabankTypeAndPropertyList(nullptr, "BANK1", &types, &table), 0);
    EXPECT_EQ(types, -1); // nothing written on a missing argument
    EXPECT_EQ(Databank_GetDatabankTypeAndPropertyList("DBA", "BANK1", nullptr, &table), 0);
    EXPECT_EQ(Databank_GetDatabankTypeAndPropertyList("DBA", "BANK1", &types, &table), 0); // not listed
    EXPECT_EQ(types, 0);
    EXPECT_EQ(table, 0);
    List();
    types = table = -1;
    service.log.failing.insert("GetAllProperties");
    EXPECT_EQ(Databank_GetDatabankTypeAndPropertyList("DBA", "BANK1", &types, &table), 0);
    EXPECT_EQ(table, 0);
}

TEST_F(Resolution, CompoundsWithDataComeBehindAHandle)
{
    int handle = -1;
    Databank_GetIdentifiersOfCompoundsWithData("DBA", "BANK1", &handle);
    EXPECT_EQ(handle, 0); // not listed yet
    List();
    a1->compoundsWithData = std::make_shared<CompoundCollection>(CompoundCollection{{7, {"water", "H2O"}}});
    Databank_GetIdentifiersOfCompoundsWithData("DBA", "BANK1", &handle);
    EXPECT_NE(handle, 0);
    CompoundCollection_ReleaseHandle(handle);
    Databank_GetIdentifiersOfCompoundsWithData("DBB", "BANKB", &handle); // no collection
    EXPECT_EQ(handle, 0);
    Databank_GetIdentifiersOfCompoundsWithData("DBA", "BANK1", nullptr);
    service.log.failing.insert("GetIdentifiersOfCompoundsWithData");
    handle = -1;
    Databank_GetIdentifiersOfCompoundsWithData("DBA", "BANK1", &handle);
    EXPECT_EQ(handle, 0);
}

TEST_F(Resolution, CatalogueEntriesOfAReplacedDatabaseResolveNoMore)
{
    List();
    // A later initialisation connects another database under the same alias.
    service.collection->databases.clear();
    const auto replacement = service.AddDatabase("DBA");
    const auto replacementBank = replacement->AddDatabank("BANK1");
    EXPECT_EQ(session::GetIDatabankFromDbaseDbank("DBA", "BANK1"), nullptr);
    EXPECT_EQ(session::GetIDatabankFromDbaseDbank("DBB", "BANKB"), nullptr);
    List();
    EXPECT_EQ(session::GetIDatabankFromDbaseDbank("DBA", "BANK1"), replacementBank);
}

TEST_F(Resolution, AReferenceResolvesInAnySpellingAndFollowsAReplacedDatabase)
{
    EXPECT_EQ(session::GetIDatabankFromReference("DBA.BANK1"), nullptr); // not yet listed
    List();
    EXPECT_EQ(session::GetIDatabankFromReference("DBA.BANK1"), a1);
    EXPECT_EQ(session::GetIDatabankFromReference("DBA.BANK1"), a1); // the spelling seen before
    EXPECT_EQ(session::GetIDatabankFromReference("dba.Bank1"), a1);
    EXPECT_EQ(session::GetIDatabankFromReference("DBA.BANK1.more"), a1); // up to the second full stop
    EXPECT_EQ(session::GetIDatabankFromReference("DBB.BANK1"), nullptr);
    EXPECT_EQ(session::GetIDatabankFromReference("DBABANK1"), std::nullopt);

    service.collection->databases.clear();
    const auto replacement = service.AddDatabase("DBA");
    const auto replacementBank = replacement->AddDatabank("BANK1");
    EXPECT_EQ(session::GetIDatabankFromReference("DBA.BANK1"), nullptr); // the spelling seen resolves no more
    List();
    EXPECT_EQ(session::GetIDatabankFromReference("DBA.BANK1"), replacementBank);
    const auto later = dbA->AddDatabank("LATER");
    EXPECT_EQ(session::GetIDatabankFromReference("DBA.LATER"), nullptr); // of the replaced database
}

TEST_F(Resolution, APureSelectionOffersNoDatabankOfAReplacedDatabase)
{
    const char* monikers[] = {"DBA BANK1", "DBB BANKB"};
    SetPureDatabankList(monikers, 2);
    service.collection->databases.erase(service.collection->databases.begin());
    EXPECT_EQ(Offered(), (std::vector<std::string>{"DBB BANKB"}));
}

TEST_F(Resolution, CallsHoldingAReplacedDatabanksNameFail)
{
    List();
    service.collection->databases.clear();
    int handle = -1;
    Databank_GetIdentifiersOfCompoundsWithData("DBA", "BANK1", &handle);
    EXPECT_EQ(handle, 0);
    const char* source[] = {"DBA.BANK1", nullptr};
    EXPECT_EQ(FoundCompounds_Find(source, "water", nullptr, &handle), 0);
    EXPECT_TRUE(service.log.Matching("FindForMM").empty());
}
