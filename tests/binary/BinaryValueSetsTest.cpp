#include "binary/BinaryWorld.h"

#include <vector>

using namespace moru::service;

using namespace moru::fake;

namespace {

// What one next-function call wrote.
struct Entry {
    int comp[4] = {-7, -7, -7, -7};
    int dbank = -7, prop = -7, size = -7, regInfo = -7;
    double values[8] = {};
    std::vector<int> Positions() const { return {comp[0], comp[1], comp[2], comp[3], dbank, prop}; }
};

class BinaryValueSets : public BinaryWorld {
protected:
    int GetAll(std::vector<const char*> working, std::vector<const char*> banks, std::vector<const char*> properties,
               int type, int condensed, int& handle)
    {
        working.push_back(nullptr);
        banks.push_back(nullptr);
        properties.push_back(nullptr);
        return BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(
            working.data(), "NAME", banks.data(), properties.data(), &type, &condensed, &handle);
    }
    static int Next(int handle, Entry& e)
    {
        return BinaryPropertyValueObjects_GetNextPropertyValueObject(
            handle, &e.comp[0], &e.comp[1], &e.comp[2], &e.comp[3], &e.dbank, &e.prop, &e.size, &e.regInfo, e.values);
    }
    static int NextVanta(int handle, Entry& e)
    {
        return BinaryPropertyValueObjects_GetNextPropertyValueObject_Vanta(
            handle, &e.comp[0], &e.comp[1], &e.comp[2], &e.comp[3], &e.dbank, &e.prop, &e.size, e.values);
    }
    // Every call of the service answers with these values.
    void Answer(BinaryPropertyValueList values)
    {
        dbA->BinaryValues().onGetAll = [values](auto&, auto&, auto&, bool, int) { return values; };
    }
};

} // namespace

TEST_F(BinaryValueSets, ExpandsAPairValueAtEveryPositionOfARepeatedIdentifier)
{
    Answer({MakeBinaryValue(a1, "UNIQ", 3, {"A", "", "B"}, {1.5, std::nullopt})});
    int handle = 0;
    ASSERT_EQ(GetAll({"A", "B", "A"}, {"A.A1"}, {"UNIQ"}, 3, 0, handle), 1);
    EXPECT_EQ(
        service.log.Calls(),
        (std::vector<std::string>{"GetAllPairPropertyValuesForModelManager A[A1] {A:0,B:1}|NAME|{UNIQ:0}|full|3"}));
    ASSERT_EQ(BinaryPropertyValueObjects_NumberOfElements(handle), 2);
    Entry first, second, past;
    EXPECT_EQ(Next(handle, first), 0); // expanded entries are read in the engine's form only
    ASSERT_EQ(NextVanta(handle, first), 1);
    ASSERT_EQ(NextVanta(handle, second), 1);
    EXPECT_EQ(first.Positions(), (std::vector<int>{0, -1, 1, -1, 0, 0}));
    EXPECT_EQ(second.Positions(), (std::vector<int>{2, -1, 1, -1, 0, 0}));
    EXPECT_EQ(second.size, 2);
    EXPECT_EQ(second.values[1], 1e35);
    EXPECT_EQ(NextVanta(handle, past), -1);
    EXPECT_EQ(Next(handle, past), -1);
    EXPECT_EQ(past.size, -7);
    BinaryPropertyValueObjects_ReleaseHandle(handle);
}

TEST_F(BinaryValueSets, ExpansionGroupsByTheHostsDatabankOrder)
{
    Answer({MakeBinaryValue(a1, "UNIQ", 3, {"A", "", "B"}, {1}), MakeBinaryValue(a2, "UNIQ", 3, {"B", "", "A"}, {2}),
            MakeBinaryValue(a1, "UNIQ", 3, {"B", "A", "A", "B"}, {3})});
    int handle = 0;
    ASSERT_EQ(GetAll({"A", "B"}, {"A.A2", "A.A1"}, {"UNIQ"}, 3, 2, handle), 1);
    EXPECT_NE(service.log.Matching("GetAllPair").at(0).find("|condensed|"), std::string::npos);
    std::vector<std::vector<int>> read;
    Entry e;
    while (NextVanta(handle, e) == 1) read.push_back(e.Positions());
    EXPECT_EQ(read, (std::vector<std::vector<int>>{{1, -1, 0, -1, 0, 0}, {0, -1, 1, -1, 1, 0}, {1, 0, 0, 1, 1, 0}}));
}

TEST_F(BinaryValueSets, CondensedPairValuesStayOneEntryAtFirstPositions)
{
    Answer({MakeBinaryValue(a1, "UNIQ", 3, {"A", "", "B"}, {1.5}, true)});
    int handle = 0;
    ASSERT_EQ(GetAll({"A", "B", "A"}, {"A.A1"}, {"UNIQ"}, 3, 1, handle), 1);
    ASSERT_EQ(BinaryPropertyValueObjects_NumberOfElements(handle), 1);
    Entry e;
    EXPECT_EQ(NextVanta(handle, e), 0);
    ASSERT_EQ(Next(handle, e), 1);
    EXPECT_EQ(e.Positions(), (std::vector<int>{0, -1, 1, -1, 0, 0}));
    EXPECT_EQ(e.regInfo, 1);
    EXPECT_EQ(e.size, 1);
    EXPECT_EQ(e.values[0], 1.5);
}

TEST_F(BinaryValueSets, BinaryValuesAreAskedOncePerDatabaseWithItsDatabanksInTheHostsOrder)
{
    const auto value = MakeBinaryValue(b1, "NRTL", 1, {"W", "E"}, {1, 2, 3, 4});
    dbB->BinaryValues().onGetAll = [&](auto&, auto&, auto&, bool, int) { return BinaryPropertyValueList{value}; };
    int handle = 0;
    ASSERT_EQ(GetAll({"E", "W"}, {"A.A2", "B.B1", "a.a1"}, {"WILSON", "NRTL"}, 1, 0, handle), 1);
    EXPECT_EQ(service.log.Calls(),
              (std::vector<std::string>{
                  "GetAllBinaryPropertyValuesForModelManager A[A2,A1] {E:0,W:1}|NAME|{NRTL:1,WILSON:0}|full",
                  "GetAllBinaryPropertyValuesForModelManager B[B1] {E:0,W:1}|NAME|{NRTL:1,WILSON:0}|full"}));
    Entry e;
    ASSERT_EQ(Next(handle, e), 1);
    EXPECT_EQ(e.Positions(), (std::vector<int>{1, 0, -1, -1, 1, 1}));
    EXPECT_EQ(e.regInfo, 0);
    EXPECT_EQ(std::vector<double>(e.values, e.values + 5), (std::vector<double>{1, 2, 3, 4, 0}));
}

TEST_F(BinaryValueSets, OneDatabankNamedTwiceInAnySpellingFailsBeforeTheServiceIsAsked)
{
    int handle = -1;
    EXPECT_EQ(GetAll({"A"}, {"A.A1", "a.a1"}, {"NRTL"}, 1, 0, handle), 0);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(GetAll({"A"}, {"A.A1.x", "A.A1"}, {"NRTL"}, 1, 0, handle), 0);
    EXPECT_EQ(GetAll({"A"}, {"A.A1"}, {"NRTL", "NRTL"}, 1, 0, handle), 0);
    EXPECT_EQ(GetAll({"A"}, {"A.A1"}, {"NRTL", "nrtl"}, 1, 0, handle), 0); // the service matches in any case
    EXPECT_EQ(GetAll({"A"}, {"A"}, {"NRTL"}, 1, 0, handle), 0);
    EXPECT_EQ(GetAll({"A"}, {"A.NOPE"}, {"NRTL"}, 1, 0, handle), 0);
    EXPECT_EQ(handle, 0);
    EXPECT_TRUE(service.log.Calls().empty());
}

TEST_F(BinaryValueSets, AnEntryWithTwoFullStopsResolvesAndKeepsItsPosition)
{
    Answer({MakeBinaryValue(a1, "UNIQ", 3, {"A", "", "B"}, {1})});
    int handle = 0;
    ASSERT_EQ(GetAll({"A", "B"}, {"B.B1", "A.A1.extra"}, {"UNIQ"}, 3, 0, handle), 1);
    Entry e;
    ASSERT_EQ(NextVanta(handle, e), 1);
    EXPECT_EQ(e.dbank, 1);
}

TEST_F(BinaryValueSets, AnEmptyWorkingListStillAsksTheService)
{
    int handle = 0;
    ASSERT_EQ(GetAll({}, {"A.A1"}, {"UNIQ"}, 3, 0, handle), 1);
    EXPECT_EQ(service.log.Calls(),
              (std::vector<std::string>{"GetAllPairPropertyValuesForModelManager A[A1] {}|NAME|{UNIQ:0}|full|0"}));
    EXPECT_NE(handle, 0);
    EXPECT_EQ(BinaryPropertyValueObjects_NumberOfElements(handle), 0);
}

TEST_F(BinaryValueSets, AnotherInteractionTypeAsksNothingAndGivesAnEmptyResult)
{
    int handle = 0;
    ASSERT_EQ(GetAll({"A"}, {"A.A1"}, {"TC"}, 0, 0, handle), 1);
    EXPECT_NE(handle, 0);
    EXPECT_EQ(BinaryPropertyValueObjects_NumberOfElements(handle), 0);
    EXPECT_TRUE(service.log.Calls().empty());
    const char* list[] = {"A", nullptr};
    const char* banks[] = {"A.A1", nullptr};
    int condensed = 0;
    handle = -1;
    EXPECT_EQ(BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(list, "NAME", banks, list, nullptr,
                                                                          &condensed, &handle),
              0);
    EXPECT_EQ(handle, 0);
}

TEST_F(BinaryValueSets, AnExpansionMeetingANameOutsideTheListsFailsTheWholeCall)
{
    int handle = -1;
    Answer({MakeBinaryValue(a1, "UNIQ", 3, {"A", "", "C"}, {1})});
    EXPECT_EQ(GetAll({"A", "B"}, {"A.A1"}, {"UNIQ"}, 3, 0, handle), 0);
    Answer({MakeBinaryValue(a1, "OTHER", 3, {"A", "", "B"}, {1})});
    EXPECT_EQ(GetAll({"A", "B"}, {"A.A1"}, {"UNIQ"}, 3, 0, handle), 0);
    Answer({MakeBinaryValue(a2, "UNIQ", 3, {"A", "", "B"}, {1})});
    EXPECT_EQ(GetAll({"A", "B"}, {"A.A1"}, {"UNIQ"}, 3, 0, handle), 0);
    EXPECT_EQ(handle, 0);
    service.log.failing.insert("GetAllPairPropertyValuesForModelManager");
    Answer({});
    EXPECT_EQ(GetAll({"A", "B"}, {"A.A1"}, {"UNIQ"}, 3, 0, handle), 0);
    EXPECT_EQ(handle, 0);
}

TEST_F(BinaryValueSets, AnEntryThatCannotBePlacedFailsWithoutMovingTheCursor)
{
    Answer({MakeBinaryValue(a1, "NRTL", 1, {"A", "Z"}, {1}), MakeBinaryValue(a1, "NRTL", 1, {"A", "B"}, {2})});
    int handle = 0;
    ASSERT_EQ(GetAll({"A", "B"}, {"A.A1"}, {"NRTL"}, 1, 0, handle), 1);
    Entry e;
    EXPECT_EQ(Next(handle, e), 0);
    EXPECT_EQ(Next(handle, e), 0);
    EXPECT_EQ(e.Positions(), (std::vector<int>{-7, -7, -7, -7, -7, -7}));
    EXPECT_EQ(e.regInfo, -7);
}

TEST_F(BinaryValueSets, AValueOfAnotherInteractionTypeReadsEveryCompoundAtMinusOne)
{
    Answer({MakeBinaryValue(a1, "NRTL", 1, {"A", "B"}, {2}), MakeBinaryValue(a1, "ODD", 2, {"A", "B"}, {3})});
    int handle = 0;
    ASSERT_EQ(GetAll({"A", "B"}, {"A.A1"}, {"NRTL", "ODD"}, 1, 0, handle), 1);
    Entry e;
    ASSERT_EQ(Next(handle, e), 1);
    EXPECT_EQ(e.Positions(), (std::vector<int>{0, 1, -1, -1, 0, 0}));
    ASSERT_EQ(Next(handle, e), 1);
    EXPECT_EQ(e.Positions(), (std::vector<int>{-1, -1, -1, -1, 0, 1}));
    EXPECT_EQ(e.values[0], 3);
}

TEST_F(BinaryValueSets, NextFunctionsRefuseNullOutputsAndHandleZero)
{
    Answer({MakeBinaryValue(a1, "NRTL", 1, {"A", "B"}, {2})});
    int handle = 0;
    ASSERT_EQ(GetAll({"A", "B"}, {"A.A1"}, {"NRTL"}, 1, 0, handle), 1);
    Entry e;
    int i = 0;
    double d[1];
    EXPECT_EQ(BinaryPropertyValueObjects_GetNextPropertyValueObject(handle, &i, &i, &i, &i, &i, &i, &i, nullptr, d), 0);
    EXPECT_EQ(BinaryPropertyValueObjects_GetNextPropertyValueObject(handle, &i, &i, &i, &i, &i, &i, &i, &i, nullptr),
              0);
    EXPECT_EQ(BinaryPropertyValueObjects_GetNextPropertyValueObject_Vanta(handle, nullptr, &i, &i, &i, &i, &i, &i, d),
              0);
    EXPECT_EQ(Next(0, e), 0);
    EXPECT_EQ(BinaryPropertyValueObjects_NumberOfElements(0), 0);
    ASSERT_EQ(Next(handle, e), 1); // the refused calls did not move the cursor
    EXPECT_EQ(e.values[0], 2);
    // The end of the list comes first: it needs no flag to write.
    EXPECT_EQ(BinaryPropertyValueObjects_GetNextPropertyValueObject(handle, &i, &i, &i, &i, &i, &i, &i, nullptr, d),
              -1);
}
