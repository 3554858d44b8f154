#include "compounds/CompoundWorld.h"

#include <cstring>

using namespace moru::service;

using namespace moru::fake;

namespace {
class CompoundEnumeration : public CompoundWorld {};
} // namespace

TEST_F(CompoundEnumeration, FirstDatabaseWithAListAnswersEvenWhenEmpty)
{
    dbB->compounds->onGetAllCompounds = [](auto) { return FoundCompoundsList{}; };
    dbA->compounds->onGetAllCompounds = [&](auto) { return FoundCompoundsList{Water(a1)}; };
    const char* source[] = {"B.B1", "A.A1", nullptr};
    int handle = 0, count = -1;
    EXPECT_EQ(GetAllCompounds(source, &handle, &count), 1);
    EXPECT_EQ(count, 0);
    EXPECT_NE(handle, 0);
    EXPECT_EQ(service.log.Calls(), (std::vector<std::string>{"GetAllCompounds B <all>"}));
    GetAllCompounds_ReleaseHandle(handle);
}

TEST_F(CompoundEnumeration, ReadsIdentifiersAtAnyPosition)
{
    dbB->compounds->onGetAllCompounds = [](auto) { return std::nullopt; };
    dbA->compounds->onGetAllCompounds = [&](auto) {
        return FoundCompoundsList{Water(a1), MakeHit(2, a1, {MakeIdentifierValue("NAME", {"METHANE"})})};
    };
    const char* source[] = {"B.B1", "A.A1", nullptr};
    int handle = 0, count = -1;
    ASSERT_EQ(GetAllCompounds(source, &handle, &count), 1);
    EXPECT_EQ(count, 2);
    char name[256], alias[256] = "stale", cas[256];
    EXPECT_EQ(GetAllCompounds_Identifiers(handle, 1, name, alias, cas), 1);
    EXPECT_STREQ(name, "METHANE");
    EXPECT_STREQ(alias, "");
    EXPECT_EQ(GetAllCompounds_Identifiers(handle, 0, name, alias, cas), 1);
    EXPECT_STREQ(cas, "7732-18-5");
    EXPECT_EQ(GetAllCompounds_Identifiers(handle, 2, name, alias, cas), 0);
    EXPECT_EQ(GetAllCompounds_Identifiers(handle, -1, name, alias, cas), 0);
    EXPECT_EQ(GetAllCompounds_Identifiers(handle, 0, nullptr, alias, cas), 0);
    GetAllCompounds_ReleaseHandle(handle);
}

TEST_F(CompoundEnumeration, EmptySourceGivesAnEmptyListAndFailuresGiveNone)
{
    const char* empty[] = {"", nullptr};
    int handle = 0, count = -1;
    EXPECT_EQ(GetAllCompounds(empty, &handle, &count), 1);
    EXPECT_EQ(count, 0);
    EXPECT_NE(handle, 0);
    GetAllCompounds_ReleaseHandle(handle);
    const char* unknown[] = {"A.ZZ", nullptr};
    count = -1;
    EXPECT_EQ(GetAllCompounds(unknown, &handle, &count), 0);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(count, -1);
    const char* source[] = {"A.A1", nullptr};
    EXPECT_EQ(GetAllCompounds(source, &handle, nullptr), 0);
    service.log.failing.insert("GetAllCompounds");
    EXPECT_EQ(GetAllCompounds(source, &handle, &count), 0);
}

TEST_F(CompoundEnumeration, EnumeratorWalksTheCollectionAndOutlivesItsHandle)
{
    a1->compoundsWithData =
        std::make_shared<CompoundCollection>(CompoundCollection{{7, {"WATER", "H2O"}}, {9, {"ARGON", std::nullopt}}});
    int collection = 0, enumerator = -1;
    Databank_GetIdentifiersOfCompoundsWithData("A", "A1", &collection);
    CompoundCollection_GetEnumerator(collection, &enumerator);
    ASSERT_NE(enumerator, 0);
    CompoundCollection_ReleaseHandle(collection); // the enumerator keeps the collection

    int index = -1;
    char name[16] = "x", alias[16] = "x";
    EXPECT_EQ(CompoundCollectionEnum_GetItem(enumerator, &index, name, sizeof name, alias, sizeof alias), 0);
    EXPECT_STREQ(name, "");
    EXPECT_STREQ(alias, "");
    EXPECT_EQ(CompoundCollectionEnum_MoveNext(enumerator), 1);
    EXPECT_EQ(CompoundCollectionEnum_GetItem(enumerator, &index, name, sizeof name, alias, sizeof alias), 1);
    EXPECT_EQ(index, 7);
    EXPECT_STREQ(alias, "H2O");
    EXPECT_EQ(CompoundCollectionEnum_MoveNext(enumerator), 1);
    EXPECT_EQ(CompoundCollectionEnum_GetItem(enumerator, &index, name, sizeof name, alias, sizeof alias), 1);
    EXPECT_EQ(index, 9);
    EXPECT_STREQ(name, "ARGON");
    EXPECT_STREQ(alias, "");
    EXPECT_EQ(CompoundCollectionEnum_MoveNext(enumerator), 0);
    EXPECT_EQ(CompoundCollectionEnum_MoveNext(enumerator), 0);
    EXPECT_EQ(CompoundCollectionEnum_GetItem(enumerator, &index, name, sizeof name, alias, sizeof alias), 0);
    CompoundCollectionEnum_ReleaseHandle(enumerator);
    EXPECT_EQ(CompoundCollectionEnum_MoveNext(enumerator), 0);
}

TEST_F(CompoundEnumeration, BadHandlesAndBuffers)
{
    int enumerator = -1;
    CompoundCollection_GetEnumerator(0, &enumerator);
    EXPECT_EQ(enumerator, 0);
    CompoundCollection_GetEnumerator(0, nullptr);
    EXPECT_EQ(CompoundCollectionEnum_MoveNext(0), 0);
    int index = 0;
    char name[8] = "x", alias[8] = "x";
    EXPECT_EQ(CompoundCollectionEnum_GetItem(0, &index, name, 8, alias, 8), 0);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(CompoundCollectionEnum_GetItem(0, nullptr, name, 8, alias, 8), 0);

    a1->compoundsWithData = std::make_shared<CompoundCollection>(CompoundCollection{{1, {"LONGER THAN 8", "AB"}}});
    int collection = 0;
    Databank_GetIdentifiersOfCompoundsWithData("A", "A1", &collection);
    CompoundCollection_GetEnumerator(collection, &enumerator);
    ASSERT_EQ(CompoundCollectionEnum_MoveNext(enumerator), 1);
    EXPECT_EQ(CompoundCollectionEnum_GetItem(enumerator, &index, name, 8, alias, 0), 1);
    EXPECT_EQ(index, 1);
    EXPECT_STREQ(name, ""); // too long: empty
    // A handle of another kind is no enumerator.
    EXPECT_EQ(CompoundCollectionEnum_MoveNext(collection), 0);
    CompoundCollection_ReleaseHandle(collection);
    CompoundCollectionEnum_ReleaseHandle(enumerator);
}
