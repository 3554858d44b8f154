// A failed call of the compound family says why in the trace.

#include "compounds/CompoundWorld.h"
#include "fake/TraceCapture.h"

#include <string>

using namespace moru::service;

using namespace moru::fake;

namespace {

class CompoundTrace : public CompoundWorld {
protected:
    std::string ReasonOf(const std::string& exportName) const { return trace.ReasonOf(exportName); }

    TraceCapture trace;
};

} // namespace

TEST_F(CompoundTrace, SearchesNameWhatTheyMissed)
{
    const char* source[] = {"A.A1", nullptr};
    int handle = -1;
    EXPECT_EQ(FoundCompounds_Find(source, "unobtainium", nullptr, &handle), 0);
    EXPECT_EQ(ReasonOf("FoundCompounds_Find"), "no compound found for any identifier unobtainium");
    EXPECT_EQ(FoundCompounds_FindByIdentifierType(source, "x", "CASRN", nullptr, &handle), 0);
    EXPECT_EQ(ReasonOf("FoundCompounds_FindByIdentifierType"), "no compound found for CASRN x");

    const char* unknown[] = {"A.A1", "A.ZZ", nullptr};
    const char* noStop[] = {"A", nullptr};
    const char* texts[] = {"water", nullptr};
    EXPECT_EQ(FoundCompounds_FindMultiple(unknown, "NAME", texts, nullptr, &handle), -1);
    EXPECT_EQ(ReasonOf("FoundCompounds_FindMultiple"), "databank A.ZZ is not listed");
    int index = 0;
    char name[256] = "", alias[256] = "";
    EXPECT_EQ(FoundCompounds_Find_Vanta(noStop, "water", 0, &index, name, alias), 0);
    EXPECT_EQ(ReasonOf("FoundCompounds_Find_Vanta"), "databank reference A has no full stop");
}

TEST_F(CompoundTrace, HitsThatCannotBeReadSayWhichPartFailed)
{
    // Water with a critical temperature that holds no number, and a compound whose CAS number has no value.
    auto noNumber = std::make_shared<PropertyValue>();
    noNumber->Property = std::make_shared<FakeProperty>("TC", 0, 1);
    auto water = Water(a1);
    water->PropertyValues = std::vector<PropertyValuePtr>{noNumber};
    const auto noCas = MakeHit(3, a1, {MakeIdentifierValue("CASRN", {})});
    dbA->compounds->onFindForMMMultiple = [&](auto&, auto&, auto&, auto&) { return FoundCompoundsList{water, noCas}; };
    const char* source[] = {"A.A1", nullptr};
    const char* texts[] = {"water", "x", nullptr};
    int handle = 0;
    ASSERT_EQ(FoundCompounds_FindMultiple(source, "NAME", texts, "TC", &handle), 2);
    DetailBuffers out;
    const auto next = [&](int position) {
        return FoundCompounds_GetNextCompoundIdentifier(handle, position, &out.compoundPosition, out.dbName,
                                                        out.dbankName, &out.compIndex, out.compName, out.compAlias,
                                                        out.casNumber, out.propName, &out.propertyValue);
    };
    EXPECT_EQ(next(0), -1);
    EXPECT_EQ(ReasonOf("FoundCompounds_GetNextCompoundIdentifier"),
              "the value of property TC of compound 7 is no number");
    EXPECT_EQ(next(1), -1);
    EXPECT_EQ(ReasonOf("FoundCompounds_GetNextCompoundIdentifier"), "identifier CASRN of compound 3 holds no value");
    EXPECT_EQ(next(2), -1);
    EXPECT_EQ(ReasonOf("FoundCompounds_GetNextCompoundIdentifier"), "position 2 is outside the list of 2");
    FoundCompounds_ReleaseHandle(handle);

    dbA->compounds->onGetAllCompounds = [&](auto) { return FoundCompoundsList{Water(a1)}; };
    int count = 0;
    ASSERT_EQ(GetAllCompounds(source, &handle, &count), 1);
    char name[256], alias[256], cas[256];
    EXPECT_EQ(GetAllCompounds_Identifiers(handle, -1, name, alias, cas), 0);
    EXPECT_EQ(ReasonOf("GetAllCompounds_Identifiers"), "position -1 is outside the list of 1");
    GetAllCompounds_ReleaseHandle(handle);
}

TEST_F(CompoundTrace, AnEnumeratorOffItsCompoundsSaysWhere)
{
    a1->compoundsWithData = std::make_shared<CompoundCollection>(CompoundCollection{{7, {"WATER", "H2O"}}});
    int collection = 0, enumerator = 0, index = 0;
    Databank_GetIdentifiersOfCompoundsWithData("A", "A1", &collection);
    CompoundCollection_GetEnumerator(collection, &enumerator);
    char name[16], alias[16];
    EXPECT_EQ(CompoundCollectionEnum_GetItem(enumerator, &index, name, sizeof name, alias, sizeof alias), 0);
    EXPECT_NE(ReasonOf("CompoundCollectionEnum_GetItem").find("before its first compound"), std::string::npos);
    CompoundCollectionEnum_MoveNext(enumerator);
    CompoundCollectionEnum_MoveNext(enumerator);
    EXPECT_EQ(CompoundCollectionEnum_GetItem(enumerator, &index, name, sizeof name, alias, sizeof alias), 0);
    EXPECT_EQ(ReasonOf("CompoundCollectionEnum_GetItem"), "the enumerator has passed the last of its 1 compounds");
    CompoundCollectionEnum_ReleaseHandle(enumerator);
    CompoundCollection_ReleaseHandle(collection);
}

TEST_F(CompoundTrace, IdentifierLookupsNameTheCompoundAndTheDatabank)
{
    dbA->compounds->onGetCompound = [](const std::string& value, const IIdentifier&) -> CompoundPtr {
        return value == "ARGON" ? std::make_shared<FakeCompound>(9) : nullptr;
    };
    dbA->compounds->onDatabankHasCompound = [](const IDatabank&, const ICompound&) { return false; };
    dbA->compounds->onGetCompoundIdentifier = [](const std::string& known, const std::string&,
                                                 const std::string& wanted) -> IdentifierValuePtr {
        return known == "9" ? MakeIdentifierValue(wanted, {"ARGON"}, 9) : nullptr;
    };
    int compid = -1;
    GetCompidFromIdInDbank("A", "A1", "NAME", "ARGON", &compid);
    EXPECT_EQ(ReasonOf("GetCompidFromIdInDbank"), "compound 9 has no data in databank A.A1");
    GetCompidFromIdInDbank("A", "A1", "NAME", "KRYPTON", &compid);
    EXPECT_EQ(ReasonOf("GetCompidFromIdInDbank"), "no compound found for NAME KRYPTON");

    char name[4] = "", value[64] = "";
    GetIdValueFromDbank("A", "A1", "CASRN", 9, name, sizeof name, value, sizeof value);
    EXPECT_EQ(ReasonOf("GetIdValueFromDbank"), "buffer of 4 bytes, text needs 6");
    GetIdValueFromDbank("A", "A1", "CASRN", 12, name, sizeof name, value, sizeof value);
    EXPECT_EQ(ReasonOf("GetIdValueFromDbank"), "compound 12 has no name in database A");
}
