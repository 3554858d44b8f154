#include "TestDatabase.h"

#include <functional>
#include <iterator>

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

// A registry number has 2 to 7 digits before its first hyphen, and the check digit counts them all.
// 1234567-89-5: the digits before the check digit, from the right, 9 8 7 6 5 4 3 2 1, weighted 1 to 9:
// 9 + 16 + 21 + 24 + 25 + 24 + 21 + 16 + 9 = 165, check digit 5.
// 12345678-90-0: 0 9 8 7 6 5 4 3 2 1 weighted 1 to 10: 0 + 18 + 24 + 28 + 30 + 30 + 28 + 24 + 18 + 10 = 210,
// check digit 0: correct, so only its length refuses it. Likewise 4-17-1: 7 + 2 + 12 = 21.
TEST(DatabaseBuild, TakesTwoToSevenDigitsBeforeTheFirstHyphenOfACasNumber)
{
    EXPECT_EQ(dbtool::CheckCasNumber("1234567-89-5"), "");
    EXPECT_NE(dbtool::CheckCasNumber("1234567-89-4").find("check digit (expected 5)"), std::string::npos);
    EXPECT_NE(dbtool::CheckCasNumber("12345678-90-0").find("is not a CAS registry number"), std::string::npos);
    EXPECT_NE(dbtool::CheckCasNumber("4-17-1").find("is not a CAS registry number"), std::string::npos);

    ScratchDirectory scratch;
    Json source = RichSource();
    source["compounds"][3]["identifiers"]["CASRN"][0] = "1234567-89-5";
    Build(source, scratch.File("seven.db"));
    EXPECT_EQ(dbtool::DumpDatabase(scratch.File("seven.db")), source);
}

// The build writes a new file of its own beside the output and renames it; a user's file that
// looks like a temporary one is no business of the build, even when the build fails.
TEST(DatabaseBuild, LeavesAUsersFilesBesideTheOutputAlone)
{
    ScratchDirectory scratch;
    const std::string mine(8192, 'x');
    scratch.Write("out.db.partial", mine);
    auto errors = dbtool::BuildDatabase(RichSource(), scratch.File("out.db"));
    ASSERT_TRUE(errors.empty()) << dbtool::Format(errors.front());
    EXPECT_EQ(dbtool::DumpDatabase(scratch.File("out.db")), RichSource());
    Json spoiled = RichSource();
    spoiled["database"].erase("alias");
    EXPECT_FALSE(dbtool::BuildDatabase(spoiled, scratch.File("other.db")).empty());
    std::ifstream file(scratch.File("out.db.partial"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), mine);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(scratch.Path())) ++files;
    EXPECT_EQ(files, 2u) << "only out.db and the user's file";
}

TEST(DatabaseBuild, NeverDestroysTheSourceOrAFileOfAnotherKind)
{
    ScratchDirectory scratch;
    scratch.Write("s.json", RichSource().dump(1));
    auto sameFile = dbtool::BuildDatabaseFromFile(scratch.File("s.json"), scratch.File("s.json"));
    ASSERT_EQ(sameFile.size(), 1u);
    EXPECT_NE(sameFile[0].Message.find("is the source itself"), std::string::npos);
    EXPECT_EQ(
        dbtool::ParseSource(
            std::string(std::istreambuf_iterator<char>(*std::make_unique<std::ifstream>(scratch.File("s.json"))), {}),
            sameFile),
        RichSource());

    scratch.Write("notes.txt", "my notes");
    auto refused = dbtool::BuildDatabase(RichSource(), scratch.File("notes.txt"));
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_NE(refused[0].Message.find("--force"), std::string::npos);
    std::ifstream notes(scratch.File("notes.txt"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(notes), {}), "my notes");
    EXPECT_TRUE(dbtool::BuildDatabase(RichSource(), scratch.File("notes.txt"), true).empty());

    // A database of this service is replaced without asking.
    Build(RichSource(), scratch.File("db.db"));
    Json changed = RichSource();
    changed["database"]["description"] = "changed";
    EXPECT_TRUE(dbtool::BuildDatabase(changed, scratch.File("db.db")).empty());
    EXPECT_EQ(dbtool::DumpDatabase(scratch.File("db.db")), changed);
    EXPECT_TRUE(dbtool::SameFile(scratch.File("db.db"), scratch.Path().string() + "/./db.db"));
}

TEST(DatabaseBuild, ReadsOnlyFilesOfThisServiceNamingTheFile)
{
    ScratchDirectory scratch;
    scratch.Write("s.json", RichSource().dump(1));
    try {
        dbtool::DescribeDatabase(scratch.File("s.json"));
        ADD_FAILURE() << "a JSON text was described as a database";
    } catch (const std::exception& failure) {
        EXPECT_NE(std::string(failure.what()).find(scratch.File("s.json")), std::string::npos) << failure.what();
    }
    EXPECT_THROW(dbtool::DumpDatabase(scratch.File("missing.db")), std::exception);
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
        found = found ||
                (error.Location == GetParam().Location && error.Message.find(GetParam().Message) != std::string::npos);
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
        BadSource{"MissingAlias", [](Json& s) { s["database"].erase("alias"); }, "database.alias", "is missing"},
        BadSource{"SpeciesNameTooLongForItsBuffer",
                  [](Json& s) { s["databanks"][2]["reactions"][0]["species"][0]["name"] = std::string(20, 'S'); },
                  "databanks[2].reactions[0].species[0].name", "at most 19"},
        BadSource{"TooManyEquilibriumConstants",
                  [](Json& s) { s["databanks"][2]["reactions"][0]["eqConsts"] = Json(std::vector<double>(17, 1.0)); },
                  "databanks[2].reactions[0].eqConsts", "at most 16"},
        BadSource{"TooManySpecies",
                  [](Json& s) {
                      Json& species = s["databanks"][2]["reactions"][0]["species"];
                      while (species.size() < 33) species.push_back({{"name", "X"}, {"coefficient", 1}});
                  },
                  "databanks[2].reactions[0].species", "at most 32"},
        BadSource{"AliasWithSeparator", [](Json& s) { s["database"]["alias"] = "OK<?>X"; }, "database.alias",
                  "separates the entries"},
        BadSource{"AliasWithNul", [](Json& s) { s["database"]["alias"] = std::string("A\0B", 3); }, "database.alias",
                  "NUL"},
        BadSource{"AliasOf20Bytes", [](Json& s) { s["database"]["alias"] = std::string(20, 'A'); }, "database.alias",
                  "shorter than 20 bytes"},
        BadSource{"DatabankNameWithSeparator", [](Json& s) { s["databanks"][0]["name"] = "A<?>B"; },
                  "databanks[0].name", "separates the entries"},
        BadSource{"EmptyIdentifierValue", [](Json& s) { s["compounds"][0]["identifiers"]["NAME"][0] = ""; },
                  "compounds[0].identifiers.NAME[0]", "must not be empty"},
        BadSource{"EmptyPassword", [](Json& s) { s["database"]["password"] = ""; }, "database.password",
                  "protects nothing"},
        BadSource{"IdWithAFraction", [](Json& s) { s["compounds"][0]["id"] = 1.0; }, "compounds[0].id",
                  "without a fraction or exponent (such as 1), not 1.0"}),
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

TEST(DatabaseBuild, RefusesNumbersTooSmallToStore)
{
    ScratchDirectory scratch;
    std::string text = RichSource().dump(1);
    const std::string boiling = "373.124";
    ASSERT_NE(text.find(boiling), std::string::npos);
    text.replace(text.find(boiling), boiling.size(), "1e-400");
    scratch.Write("tiny.json", text);
    auto errors = dbtool::BuildDatabaseFromFile(scratch.File("tiny.json"), scratch.File("tiny.db"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Location, "databanks[0].values[0].numbers[0]");
    EXPECT_NE(errors[0].Message.find("too small"), std::string::npos) << errors[0].Message;
    EXPECT_FALSE(std::filesystem::exists(scratch.File("tiny.db")));
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

// A source is read whole: one larger than the bound, or a device that never ends, is refused with
// its size instead of read until memory runs out.
TEST(DatabaseBuild, RefusesASourceBeyondItsSizeBound)
{
    ScratchDirectory scratch;
    scratch.Write("large.json", std::string(4096, ' ') + "{}");
    const auto errors = dbtool::BuildDatabaseFromFile(scratch.File("large.json"), scratch.File("out.db"), false, 4096);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Message, "holds more than 4096 bytes, the most a source may hold");
    EXPECT_FALSE(std::filesystem::exists(scratch.File("out.db")));
#ifndef _WIN32
    const auto endless = dbtool::BuildDatabaseFromFile("/dev/zero", scratch.File("out.db"), false, 1 << 20);
    ASSERT_EQ(endless.size(), 1u);
    EXPECT_EQ(endless[0].Message, "holds more than 1048576 bytes, the most a source may hold");
#endif
}

} // namespace
} // namespace moru::sqlite::testing
