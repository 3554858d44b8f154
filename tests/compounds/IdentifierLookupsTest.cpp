#include "compounds/CompoundWorld.h"

#include <cstring>

using namespace moru::service;

using namespace moru::fake;

namespace {
class IdentifierLookups : public CompoundWorld {
protected:
    IdentifierLookups()
    {
        // Compound 7 is water; compound 8 has a name with a leading blank; 9 exists but has no data in A1.
        dbA->compounds->onGetCompoundIdentifier = [](const std::string& known, const std::string& knownType,
                                                     const std::string& wanted) -> IdentifierValuePtr {
            const std::map<std::string, std::map<std::string, std::string>> compounds = {
                {"7", {{"NAME", "WATER"}, {"CASRN", "7732-18-5"}, {"FORMULA", ""}}},
                {"8", {{"NAME", " ODD"}}},
                {"9", {{"NAME", "ARGON"}}}};
            if (knownType == "CompoundIndex") {
                auto compound = compounds.find(known);
                if (compound == compounds.end()) return nullptr;
                auto value = compound->second.find(wanted);
                if (value == compound->second.end()) return MakeIdentifierValue(wanted, {}, std::stoi(known));
                return MakeIdentifierValue(wanted, {value->second}, std::stoi(known));
            }
            for (const auto& [index, identifiers] : compounds) {
                auto value = identifiers.find(knownType);
                if (value != identifiers.end() && value->second == known)
                    return MakeIdentifierValue(wanted, {index}, std::stoi(index));
            }
            return nullptr;
        };
        dbA->compounds->onGetCompound = [](const std::string& value, const IIdentifier&) -> CompoundPtr {
            if (value == "WATER" || value == "7732-18-5") return std::make_shared<FakeCompound>(7);
            if (value == "ARGON") return std::make_shared<FakeCompound>(9);
            if (value == " ODD") return std::make_shared<FakeCompound>(8);
            return nullptr;
        };
        dbA->compounds->onDatabankHasCompound = [](const IDatabank&, const ICompound& compound) {
            return compound.Id() == 7 || compound.Id() == 8;
        };
    }
    char name[64] = "untouched";
    char value[64] = "untouched";
};
} // namespace

TEST_F(IdentifierLookups, IndexToNameAndAnyIdentifier)
{
    GetIdValueFromDbank("a", "a1", "CASRN", 7, name, sizeof name, value, sizeof value);
    EXPECT_STREQ(name, "WATER");
    EXPECT_STREQ(value, "7732-18-5");
    EXPECT_EQ(service.log.Matching("GetCompoundIdentifier"),
              (std::vector<std::string>{"GetCompoundIdentifier A 7|CompoundIndex|NAME",
                                        "GetCompoundIdentifier A 7|CompoundIndex|CASRN"}));
    EXPECT_EQ(service.log.Matching("GetIdentifier "), (std::vector<std::string>{"GetIdentifier A NAME"}));
}

TEST_F(IdentifierLookups, NameTypeInAnyCaseCopiesTheName)
{
    GetIdValueFromDbank("A", "A1", "name", 7, name, sizeof name, value, sizeof value);
    EXPECT_STREQ(value, "WATER");
    std::strcpy(value, "untouched");
    GetIdValueFromDbank("A", "A1", "NAME", 7, name, sizeof name, value, 5); // does not fit
    EXPECT_STREQ(value, "");
}

TEST_F(IdentifierLookups, CompoundWithoutDataInTheDatabankGetsOnlyItsName)
{
    GetIdValueFromDbank("A", "A1", "NAME", 9, name, sizeof name, value, sizeof value);
    EXPECT_STREQ(name, "ARGON");
    EXPECT_STREQ(value, "untouched");
}

TEST_F(IdentifierLookups, NameWithLeadingBlankOrEmptyValueStopsTheLookup)
{
    GetIdValueFromDbank("A", "A1", "NAME", 8, name, sizeof name, value, sizeof value);
    EXPECT_STREQ(name, " ODD");
    EXPECT_STREQ(value, "untouched");
    std::strcpy(name, "untouched");
    GetIdValueFromDbank("A", "A1", "FORMULA", 7, name, sizeof name, value, sizeof value);
    EXPECT_STREQ(name, "WATER");
    EXPECT_STREQ(value, "untouched"); // an empty value leaves the buffer
    GetIdValueFromDbank("A", "A1", nullptr, 7, name, sizeof name, value, sizeof value);
    EXPECT_STREQ(value, "untouched");
}

TEST_F(IdentifierLookups, ANameThatDoesNotFitOrBeginsWithABlankEndsTheLookupThoughTheServiceKnowsIt)
{
    // Compound 8 " ODD" has data in A1: only the leading blank stops the lookup.
    GetIdValueFromDbank("A", "A1", "CASRN", 8, name, sizeof name, value, sizeof value);
    EXPECT_STREQ(name, " ODD");
    EXPECT_STREQ(value, "untouched");
    // "WATER" needs 6 bytes: the name buffer stays empty and nothing else is asked.
    service.log.Clear();
    char shortName[5] = "xxxx";
    GetIdValueFromDbank("A", "A1", "CASRN", 7, shortName, sizeof shortName, value, sizeof value);
    EXPECT_STREQ(shortName, "");
    EXPECT_STREQ(value, "untouched");
    EXPECT_TRUE(service.log.Matching("DatabankHasCompound").empty());
    EXPECT_EQ(service.log.Matching("GetCompoundIdentifier").size(), 1u);
}

TEST_F(IdentifierLookups, UnresolvedDatabankWritesNothing)
{
    GetIdValueFromDbank("A", "B1", "NAME", 7, name, sizeof name, value, sizeof value);
    GetIdValueFromDbank(nullptr, "A1", "NAME", 7, name, sizeof name, value, sizeof value);
    GetIdValueFromDbank("A", "A1", "NAME", 7, nullptr, 0, value, sizeof value);
    EXPECT_STREQ(name, "untouched");
    EXPECT_STREQ(value, "untouched");
    EXPECT_TRUE(service.log.Calls().empty());
}

TEST_F(IdentifierLookups, IdentifierToIndex)
{
    int compid = -1;
    GetCompidFromIdInDbank("A", "A1", "CASRN", "7732-18-5", &compid);
    EXPECT_EQ(compid, 7);
    EXPECT_EQ(service.log.Last("GetCompoundIdentifier"), "GetCompoundIdentifier A 7732-18-5|CASRN|CompoundIndex");
    GetCompidFromIdInDbank("A", "A1", "NAME", "ARGON", &compid); // no data in A1
    EXPECT_EQ(compid, 0);
    compid = -1;
    GetCompidFromIdInDbank("A", "A1", "NAME", "O'CONNOR'S ACID", &compid);
    EXPECT_EQ(compid, 0);
    compid = -1;
    GetCompidFromIdInDbank("A", "NOPE", "NAME", "WATER", &compid);
    EXPECT_EQ(compid, 0);
    compid = -1;
    GetCompidFromIdInDbank("A", "A1", nullptr, "WATER", &compid);
    EXPECT_EQ(compid, 0);
    service.log.Clear();
    GetCompidFromIdInDbank("A", "A1", "NAME", "WATER", nullptr);
    EXPECT_TRUE(service.log.Calls().empty());
    service.log.failing.insert("DatabankHasCompound");
    compid = -1;
    GetCompidFromIdInDbank("A", "A1", "NAME", "WATER", &compid);
    EXPECT_EQ(compid, 0);
}
