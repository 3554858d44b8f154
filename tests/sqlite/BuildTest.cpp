#include "TestDatabase.h"

#include <functional>

namespace moru::sqlite::testing {
namespace {

using dbtool::Json;

TEST(DatabaseBuild, DumpGivesBackTheSourceExactly)
{
    ScratchDirectory scratch;
    Json source = RichSource();
    Build(source, scratch.File("rich.db"));
    Json dumped = dbtool::DumpDatabase(scratch.File("rich.db"));
    EXPECT_EQ(dumped, source) << dumped.dump(1);
    // The canonical text survives a second round unchanged, byte for byte.
    Build(dumped, scratch.File("again.db"));
    EXPECT_EQ(dbtool::DumpDatabase(scratch.File("again.db")).dump(1), dumped.dump(1));
    EXPECT_FALSE(std::filesystem::exists(scratch.File("rich.db.partial")));
}

TEST(DatabaseBuild, ChecksCasNumbersByTheirCheckDigit)
{
    EXPECT_EQ(dbtool::CheckCasNumber("7732-18-5"), "");
    EXPECT_EQ(dbtool::CheckCasNumber("64-17-5"), "");
    EXPECT_NE(dbtool::CheckCasNumber("64-17-6").find("check digit (expected 5)"), std::string::npos);
    EXPECT_NE(dbtool::CheckCasNumber("6417-5"), "");
    EXPECT_NE(dbtool::CheckCasNumber("12345678-12-3"), "");
    EXPECT_NE(dbtool::CheckCasNumber("64-1a-5"), "");
}

struct BadSource {
    const char* Name;
    std::function<void(Json&)> Spoil;
    const char* Location;
    const char* Message;
};

class DatabaseBuildRejects : public ::testing::TestWithParam<BadSource> {};

TEST_P(DatabaseBuildRejects, WithItsLocationAndLeavesNoFile)
{
    ScratchDirectory scratch;
    Json source = RichSource();
    GetParam().Spoil(source);
    auto errors = dbtool::BuildDatabase(source, scratch.File("bad.db"));
    ASSERT_FALSE(errors.empty());
    bool found = false;
    for (const auto& error : errors) {
        found = found || (error.Location == GetParam().Location && error.Message.find(GetParam().Message) != std::string::npos);
    }
    EXPECT_TRUE(found) << dbtool::Format(errors.front());
    EXPECT_FALSE(std::filesystem::exists(scratch.File("bad.db")));
    EXPECT_FALSE(std::filesystem::exists(scratch.File("bad.db.partial")));
}

INSTANTIATE_TEST_SUITE_P(
    BadSources, DatabaseBuildRejects,
    ::testing::Values(
        BadSource{"WrongType", [](Json& s) { s["databanks"][0]["values"][0]["numbers"][0] = "hot"; },
                  "databanks[0].values[0].numbers[0]", "must be a number"},
        BadSource{"UnknownProperty", [](Json& s) { s["databanks"][1]["values"][2]["property"] = "NRTL2"; },
                  "databanks[1].values[2].property", "unknown property \"NRTL2\""},
        BadSource{"UnknownCompound", [](Json& s) { s["databanks"][1]["values"][1]["compounds"][1] = 99; },
                  "databanks[1].values[1].compounds[1]", "unknown compound 99"},
        BadSource{"CompoundNotHeld", [](Json& s) { s["databanks"][0]["values"][0]["compound"] = 5; },
                  "databanks[0].values[0].compound", "do not list"},
        BadSource{"RepeatedValue", [](Json& s) { s["databanks"][0]["values"][1]["compound"] = 1; },
                  "databanks[0].values[1]", "repeats the value of values[0]"},
        BadSource{"BadCasNumber", [](Json& s) { s["compounds"][3]["identifiers"]["CASRN"][0] = "64-17-6"; },
                  "compounds[3].identifiers.CASRN[0]", "check digit"},
        BadSource{"RepeatedCompoundId", [](Json& s) { s["compounds"][2]["id"] = 1; }, "compounds[2].id",
                  "repeats the compound id 1"},
        BadSource{"UndeclaredLabel", [](Json& s) { s["databanks"][1]["values"][0]["labels"][2] = 9; },
                  "databanks[1].values[0].labels[2]", "not a label"},
        BadSource{"WrongElementCount", [](Json& s) { s["databanks"][0]["values"][2]["numbers"].erase(0); },
                  "databanks[0].values[2].numbers", "elementCount (3)"},
        BadSource{"UnknownMember", [](Json& s) { s["databanks"][2]["reactions"][0]["eqConst"] = 1; },
                  "databanks[2].reactions[0].eqConst", "not a member"},
        BadSource{"PropertyNamesFoldingAlike",
                  [](Json& s) { s["properties"][2]["name"] = "ΣHF", s["properties"][3]["name"] = "ςhf"; },
                  "properties[3].name", "repeats the property \"ςhf\""},
        BadSource{"IdentifierTypesFoldingAlike", [](Json& s) { s["compounds"][0]["identifiers"]["ALIAſ"] = {"x"}; },
                  "compounds[0].identifiers.ALIAſ", "repeated identifier type"},
        BadSource{"MissingAlias", [](Json& s) { s["database"].erase("alias"); }, "database.alias", "is missing"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DatabaseBuild, ReportsRepeatedKeysWhereTheyStand)
{
    ScratchDirectory scratch;
    scratch.Write("dup.json", R"({"format": "moru-property-db 1",
  "database": {"alias": "D", "version": 1},
  "compounds": [{"id": 1, "identifiers": {"NAME": ["A"]}}, {"id": 2, "id": 3, "identifiers": {"NAME": ["B"]}}]})");
    auto errors = dbtool::BuildDatabaseFromFile(scratch.File("dup.json"), scratch.File("dup.db"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Location, "compounds[1].id");
    EXPECT_NE(errors[0].Message.find("duplicate key"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(scratch.File("dup.db")));
}

TEST(DatabaseBuild, ReportsTruncatedTextByLineAndColumn)
{
    ScratchDirectory scratch;
    std::string text = RichSource().dump(1);
    scratch.Write("cut.json", text.substr(0, text.size() / 2));
    auto errors = dbtool::BuildDatabaseFromFile(scratch.File("cut.json"), scratch.File("cut.db"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Location.rfind("line ", 0), 0u);
    EXPECT_NE(errors[0].Message.find("truncated"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(scratch.File("cut.db")));
}

TEST(DatabaseBuild, KeepsAnEarlierDatabaseWhenTheNewSourceFails)
{
    ScratchDirectory scratch;
    Build(RichSource(), scratch.File("kept.db"));
    Json spoiled = RichSource();
    spoiled["databanks"][0]["values"][0]["property"] = "NOPE";
    EXPECT_FALSE(dbtool::BuildDatabase(spoiled, scratch.File("kept.db")).empty());
    EXPECT_EQ(dbtool::DumpDatabase(scratch.File("kept.db")), RichSource());
}

} // namespace
} // namespace moru::sqlite::testing
