#include "compounds/CompoundWorld.h"
#include "interop/Handles.h"

#include <string>
#include <vector>

using namespace moru::service;

using namespace moru::fake;

namespace {
class CompoundSearch : public CompoundWorld {
protected:
    int GetDetails(int handle, DetailBuffers& out)
    {
        return FoundCompounds_GetObjectDetails(handle, out.dbName, out.dbankName, &out.compIndex, out.compName,
                                               out.compAlias, out.casNumber, out.propName, &out.propertyValue);
    }
    // A search of A.A1 that the fake answers with the one hit given; the handle of what it found.
    int FindHit(const FoundCompoundsPtr& hit, const char* property = nullptr)
    {
        dbA->compounds->onFindForMM = [hit](auto&, auto&, auto&, auto&) { return FoundCompoundsList{hit}; };
        const char* source[] = {"A.A1", nullptr};
        int handle = 0;
        EXPECT_EQ(FoundCompounds_Find(source, "x", property, &handle), 1);
        return handle;
    }
    int GetNext(int handle, int position, DetailBuffers& out)
    {
        return FoundCompounds_GetNextCompoundIdentifier(handle, position, &out.compoundPosition, out.dbName,
                                                        out.dbankName, &out.compIndex, out.compName, out.compAlias,
                                                        out.casNumber, out.propName, &out.propertyValue);
    }
};
} // namespace

TEST_F(CompoundSearch, AsksDatabasesInOrderOfFirstAppearance)
{
    const char* source[] = {"B.B1", "A.A1", "b.b2", nullptr};
    int handle = -1;
    EXPECT_EQ(FoundCompounds_Find(source, "water", nullptr, &handle), 0);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(service.log.Calls(), (std::vector<std::string>{"FindForMM B[B1,B2] water||", "FindForMM A[A1] water||"}));
}

TEST_F(CompoundSearch, StopsAtTheFirstDatabaseWithHitsAndKeepsItsFirstHit)
{
    dbB->compounds->onFindForMM = [&](auto&, auto&, auto&, auto&) {
        return FoundCompoundsList{Water(b1), MakeHit(8, b1)};
    };
    dbA->compounds->onFindForMM = [&](auto&, auto&, auto&, auto&) { return FoundCompoundsList{MakeHit(9, a1)}; };
    const char* source[] = {"B.B1", "A.A1", ""};
    int handle = 0;
    ASSERT_EQ(FoundCompounds_FindByIdentifierType(source, "water", "NAME", "TC", &handle), 1);
    EXPECT_EQ(service.log.Calls(), (std::vector<std::string>{"FindForMM B[B1] water|NAME|TC"}));
    DetailBuffers out;
    ASSERT_EQ(GetDetails(handle, out), 1);
    EXPECT_EQ(out.compIndex, 7);
    EXPECT_STREQ(out.dbName, "B");
    EXPECT_STREQ(out.dbankName, "B1");
    EXPECT_STREQ(out.compName, "WATER");
    EXPECT_STREQ(out.compAlias, "H2O");
    EXPECT_STREQ(out.casNumber, "7732-18-5");
    EXPECT_STREQ(out.propName, "");
    EXPECT_EQ(out.propertyValue, 0.0);
    EXPECT_EQ(out.compoundPosition, -5);
    FoundCompounds_ReleaseHandle(handle);
    EXPECT_EQ(GetDetails(handle, out), 0);
}

TEST_F(CompoundSearch, AnUnresolvableEntryFailsTheWholeCallBeforeAnySearch)
{
    const char* unknown[] = {"A.A1", "B.NOPE", nullptr};
    const char* noStop[] = {"A.A1", "B", nullptr};
    int handle = -1, index = 0;
    EXPECT_EQ(FoundCompounds_Find(unknown, "water", nullptr, &handle), 0);
    EXPECT_EQ(FoundCompounds_FindMultiple(noStop, "NAME", unknown, nullptr, &handle), -1);
    EXPECT_EQ(handle, 0);
    char name[256] = "", alias[256] = "";
    EXPECT_EQ(FoundCompounds_Find_Vanta(unknown, "water", 0, &index, name, alias), 0);
    EXPECT_EQ(index, -1);
    EXPECT_TRUE(service.log.Calls().empty());
}

TEST_F(CompoundSearch, EmptyFirstEntryMeansNoDatabanks)
{
    const char* source[] = {"", "A.A1", nullptr};
    const char* texts[] = {"water", nullptr};
    int handle = -1;
    EXPECT_EQ(FoundCompounds_Find(source, "water", nullptr, &handle), 0);
    EXPECT_EQ(FoundCompounds_FindMultiple(source, "NAME", texts, nullptr, &handle), 0);
    EXPECT_NE(handle, 0);
    DetailBuffers out;
    EXPECT_EQ(GetNext(handle, 0, out), -1);
    FoundCompounds_ReleaseHandle(handle);
    int index = 0;
    char name[256] = "", alias[256] = "";
    EXPECT_EQ(FoundCompounds_Find_Vanta(source, "water", 0, &index, name, alias), 1);
    EXPECT_EQ(index, -1);
}

TEST_F(CompoundSearch, MultipleSearchSumsHitsAndHandsOnTheRemainingTexts)
{
    dbB->compounds->onFindForMMMultiple = [&](auto&, auto&, SearchStringMap& texts, auto&) {
        texts.erase(0); // answered here
        return FoundCompoundsList{Water(b1)};
    };
    dbA->compounds->onFindForMMMultiple = [&](auto&, auto&, auto&, auto&) {
        auto hit = MakeHit(3, a1, {MakeIdentifierValue("NAME", {"METHANE"})});
        hit->CompoundPosition = 1;
        return FoundCompoundsList{hit, MakeHit(4, a1)};
    };
    const char* source[] = {"B.B1", "A.A1", nullptr};
    const char* texts[] = {"water", "methane", "water", nullptr};
    int handle = 0;
    ASSERT_EQ(FoundCompounds_FindMultiple(source, "NAME", texts, nullptr, &handle), 3);
    EXPECT_EQ(service.log.Calls(),
              (std::vector<std::string>{"FindForMM_Multiple B[B1] NAME|{0=water,1=methane,2=water}|",
                                        "FindForMM_Multiple A[A1] NAME|{1=methane,2=water}|"}));
    DetailBuffers out;
    ASSERT_EQ(GetNext(handle, 0, out), 1);
    EXPECT_STREQ(out.compName, "WATER");
    ASSERT_EQ(GetNext(handle, 1, out), 1);
    EXPECT_EQ(out.compIndex, 3);
    EXPECT_EQ(out.compoundPosition, 1);
    EXPECT_STREQ(out.compName, "METHANE");
    EXPECT_STREQ(out.compAlias, ""); // no alias: emptied
    EXPECT_STREQ(out.dbName, "A");
    EXPECT_EQ(GetNext(handle, 3, out), -1);
    EXPECT_EQ(GetNext(handle, -1, out), -1);
    // A single-hit reader does not read a hit list, and the other way round.
    EXPECT_EQ(GetDetails(handle, out), 0);
    FoundCompounds_ReleaseHandle(handle);
}

TEST_F(CompoundSearch, MultipleSearchSkipsDatabasesOnceNothingIsLeftToFind)
{
    dbB->compounds->onFindForMMMultiple = [&](auto&, auto&, SearchStringMap& texts, auto&) {
        texts.clear();
        return FoundCompoundsList{Water(b1)};
    };
    const char* source[] = {"B.B1", "A.A1", nullptr};
    const char* texts[] = {"water", nullptr};
    int handle = 0;
    EXPECT_EQ(FoundCompounds_FindMultiple(source, "NAME", texts, nullptr, &handle), 1);
    EXPECT_EQ(service.log.Matching("FindForMM_Multiple A").size(), 0u);
    EXPECT_EQ(FoundCompounds_FindMultiple(source, nullptr, texts, nullptr, &handle), 0);
    service.log.failing.insert("FindForMM_Multiple");
    EXPECT_EQ(FoundCompounds_FindMultiple(source, "NAME", texts, nullptr, &handle), -1);
    EXPECT_EQ(handle, 0);
}

TEST_F(CompoundSearch, PropertyWithMoreThanOneElementFailsAfterItsNameIsWritten)
{
    auto hit = Water(a1);
    auto vector = std::make_shared<PropertyValue>();
    vector->Property = std::make_shared<FakeProperty>("CPIG", 0, 7);
    vector->Data = NumericElements{1.0, 2.0};
    hit->PropertyValues = std::vector<PropertyValuePtr>{vector};
    const int handle = FindHit(hit, "CPIG");
    ASSERT_NE(handle, 0);
    DetailBuffers out;
    EXPECT_EQ(GetDetails(handle, out), 0);
    EXPECT_STREQ(out.propName, "CPIG");
    EXPECT_STREQ(out.compName, "x"); // identifiers come after the property value

    auto scalar = std::make_shared<PropertyValue>();
    scalar->Property = std::make_shared<FakeProperty>("TC", 0, 1);
    scalar->Data = NumericElements{647.1};
    hit->PropertyValues = std::vector<PropertyValuePtr>{scalar};
    EXPECT_EQ(GetDetails(handle, out), 1);
    EXPECT_STREQ(out.propName, "TC");
    EXPECT_EQ(out.propertyValue, 647.1);

    hit->PropertyValues = std::vector<PropertyValuePtr>{};
    EXPECT_EQ(GetDetails(handle, out), 0);
    FoundCompounds_ReleaseHandle(handle);
}

TEST_F(CompoundSearch, IdentifierWithoutValuesFailsTheDetails)
{
    auto hit = MakeHit(1, a1, {MakeIdentifierValue("CASRN", {})});
    const int handle = FindHit(hit);
    ASSERT_NE(handle, 0);
    DetailBuffers out;
    EXPECT_EQ(GetDetails(handle, out), 0);
    EXPECT_EQ(out.compIndex, 1);
    FoundCompounds_ReleaseHandle(handle);
}

TEST_F(CompoundSearch, DetailsReportTheFirstOfSeveralValues)
{
    auto hit =
        MakeHit(3, a1,
                {MakeIdentifierValue("NAME", {"ETHANOL", "ETHYL ALCOHOL"}),
                 MakeIdentifierValue("ALIAS", {"C2H6O", "EtOH"}), MakeIdentifierValue("CASRN", {"64-17-5", "1-00-0"})});
    const int handle = FindHit(hit);
    ASSERT_NE(handle, 0);
    DetailBuffers out;
    ASSERT_EQ(GetDetails(handle, out), 1);
    EXPECT_STREQ(out.compName, "ETHANOL");
    EXPECT_STREQ(out.compAlias, "C2H6O");
    EXPECT_STREQ(out.casNumber, "64-17-5");
    FoundCompounds_ReleaseHandle(handle);
}

TEST_F(CompoundSearch, DetailsKnowTheirTypesInAnyCaseAndFoldingButNoNearName)
{
    auto hit = MakeHit(3, a1,
                       {MakeIdentifierValue("Names", {"NOT A NAME"}), MakeIdentifierValue("nAmE", {"ETHANOL"}),
                        MakeIdentifierValue("ALIA\xC5\xBF", {"EtOH"}), // long s folds to s
                        MakeIdentifierValue("CAS", {"NOT A NUMBER"}), MakeIdentifierValue("cAsRn", {"64-17-5"})});
    const int handle = FindHit(hit);
    ASSERT_NE(handle, 0);
    DetailBuffers out;
    ASSERT_EQ(GetDetails(handle, out), 1);
    EXPECT_STREQ(out.compName, "ETHANOL");
    EXPECT_STREQ(out.compAlias, "EtOH");
    EXPECT_STREQ(out.casNumber, "64-17-5");
    FoundCompounds_ReleaseHandle(handle);
}

TEST_F(CompoundSearch, TooLongValueLeavesAnEmptyTerminatedBuffer)
{
    auto hit = MakeHit(
        1, a1,
        {MakeIdentifierValue("NAME", {std::string(256, 'n')}), MakeIdentifierValue("ALIAS", {std::string(255, 'a')})});
    const int handle = FindHit(hit);
    ASSERT_NE(handle, 0);
    DetailBuffers out;
    EXPECT_EQ(GetDetails(handle, out), 1);
    EXPECT_STREQ(out.compName, "");
    EXPECT_EQ(std::string(out.compAlias), std::string(255, 'a'));
    FoundCompounds_ReleaseHandle(handle);
}

TEST_F(CompoundSearch, MissingArgumentsFailWithoutSearching)
{
    const char* source[] = {"A.A1", nullptr};
    int handle = -1;
    EXPECT_EQ(FoundCompounds_Find(source, "x", nullptr, nullptr), 0);
    EXPECT_EQ(FoundCompounds_Find(nullptr, "x", nullptr, &handle), 0);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(FoundCompounds_FindByIdentifierType(source, "x", nullptr, nullptr, &handle), 0);
    EXPECT_TRUE(service.log.Calls().empty());
    DetailBuffers out;
    EXPECT_EQ(FoundCompounds_GetObjectDetails(0, out.dbName, out.dbankName, &out.compIndex, out.compName, out.compAlias,
                                              out.casNumber, out.propName, &out.propertyValue),
              0);
    EXPECT_EQ(FoundCompounds_GetObjectDetails(1, nullptr, out.dbankName, &out.compIndex, out.compName, out.compAlias,
                                              out.casNumber, out.propName, &out.propertyValue),
              0);
    EXPECT_EQ(FoundCompounds_GetNextCompoundIdentifier(1, 0, nullptr, out.dbName, out.dbankName, &out.compIndex,
                                                       out.compName, out.compAlias, out.casNumber, out.propName,
                                                       &out.propertyValue),
              -1);
    const auto liveHandles = moru::interop::HandleRegistry::Instance().Count();
    FoundCompounds_ReleaseHandle(0);
    EXPECT_EQ(moru::interop::HandleRegistry::Instance().Count(), liveHandles);
}

TEST_F(CompoundSearch, VantaSearchTakesTheFirstDatabaseThatSetsAnIndex)
{
    dbB->compounds->onFindForVanta = [](auto&, auto&, int, int&, std::string&, std::string& alias) {
        alias = "unchanged index";
    };
    dbA->compounds->onFindForVanta = [](auto&, auto&, int, int& index, std::string& name, std::string& alias) {
        index = 12;
        name = "ETHANOL";
        alias = "C2H6O";
    };
    const char* source[] = {"B.B2", "A.A1", nullptr};
    int index = 0;
    char name[256] = "prev", alias[256] = "";
    EXPECT_EQ(FoundCompounds_Find_Vanta(source, "ethanol", 4, &index, name, alias), 1);
    EXPECT_EQ(index, 12);
    EXPECT_STREQ(name, "ETHANOL");
    EXPECT_STREQ(alias, "C2H6O");
    EXPECT_EQ(service.log.Calls(), (std::vector<std::string>{"FindForVanta B[B2] ethanol|4|-1|prev|",
                                                             "FindForVanta A[A1] ethanol|4|-1|prev|unchanged index"}));
}
