#include "TestDatabase.h"

#include "Checks.h"
#include "Sqlite.h"

#include "MoruIntegration.h"
#include "service/HostLimits.h"

namespace moru::sqlite::testing {
namespace {

using dbtool::Json;

// The first error of a build of the rich source changed by `spoil`, as "location: message".
std::string FirstError(const std::function<void(Json&)>& spoil)
{
    ScratchDirectory scratch;
    Json source = RichSource();
    spoil(source);
    const auto errors = dbtool::BuildDatabase(source, scratch.File("limits.db"));
    return errors.empty() ? "" : dbtool::Format(errors.front());
}

TEST(HostLimits, APropertyNameLongerThanHostsReadIsRefused)
{
    const std::string longest(MORU_MAX_PROPERTY_NAME_BYTES, 'N');
    EXPECT_EQ("", FirstError([&](Json& s) {
                  s["properties"][2]["name"] = longest;
                  s["databanks"][0]["values"][3]["property"] = longest;
              }));
    EXPECT_EQ("properties[2].name: 256 bytes in a property name; hosts read at most 255",
              FirstError([&](Json& s) { s["properties"][2]["name"] = longest + "N"; }));
}

TEST(HostLimits, MoreUnitRowsThanHostsReadAreRefused)
{
    auto rows = [](int count) {
        Json units = Json::array();
        for (int i = 0; i < count; ++i) units.push_back({{"row", "ROW"}, {"default", "U"}});
        return units;
    };
    EXPECT_EQ("", FirstError([&](Json& s) { s["properties"][0]["units"] = rows(MORU_MAX_UNIT_ROWS); }));
    EXPECT_EQ("properties[0].units: 17 unit rows of a property; hosts read at most 16",
              FirstError([&](Json& s) { s["properties"][0]["units"] = rows(MORU_MAX_UNIT_ROWS + 1); }));
}

TEST(HostLimits, UnaryValuesWithMoreElementsThanHostsReadAreRefused)
{
    EXPECT_EQ("properties[2].elementCount: 65 elements in a unary value; hosts read at most 64",
              FirstError([](Json& s) { s["properties"][2]["elementCount"] = MORU_MAX_UNARY_ELEMENTS + 1; }));
}

TEST(HostLimits, AReactionAtEveryLimitBuildsAndOnePastAnyIsRefused)
{
    const auto fill = [](Json& s, int constants, int symmetric, int species) {
        Json& reaction = s["databanks"][2]["reactions"][0];
        reaction["eqConsts"] = Json(std::vector<double>(static_cast<std::size_t>(constants), 1.0));
        reaction["symmetricEqConsts"] = Json(std::vector<double>(static_cast<std::size_t>(symmetric), 2.0));
        Json& list = reaction["species"];
        while (static_cast<int>(list.size()) < species)
            list.push_back({{"name", std::string(MORU_SPECIES_ALIAS_BUFFER_SIZE - 1, 'S')}, {"coefficient", 1}});
    };
    constexpr int constants = MORU_MAX_EQUILIBRIUM_CONSTANTS, species = MORU_MAX_REACTION_SPECIES;
    EXPECT_EQ("", FirstError([&](Json& s) { fill(s, constants, constants, species); }));
    EXPECT_NE("", FirstError([&](Json& s) { fill(s, constants + 1, constants, species); }));
    EXPECT_NE("", FirstError([&](Json& s) { fill(s, constants, constants + 1, species); }));
    EXPECT_NE("", FirstError([&](Json& s) { fill(s, constants, constants, species + 1); }));
}

// The library's limits are the header's.
TEST(HostLimits, TheSharedTableIsWhatTheHeaderDocuments)
{
    using service::HostLimit;
    EXPECT_EQ(service::MostOf(HostLimit::ReactionSpecies), std::size_t{MORU_MAX_REACTION_SPECIES});
    EXPECT_EQ(service::MostOf(HostLimit::EquilibriumConstants), std::size_t{MORU_MAX_EQUILIBRIUM_CONSTANTS});
    EXPECT_EQ(service::MostOf(HostLimit::SpeciesAliasBytes) + 1, std::size_t{MORU_SPECIES_ALIAS_BUFFER_SIZE});
    EXPECT_EQ(service::MostOf(HostLimit::PropertyNameBytes), std::size_t{MORU_MAX_PROPERTY_NAME_BYTES});
    EXPECT_EQ(service::MostOf(HostLimit::UnitRows), std::size_t{MORU_MAX_UNIT_ROWS});
    EXPECT_EQ(service::MostOf(HostLimit::UnaryElements), std::size_t{MORU_MAX_UNARY_ELEMENTS});
}

TEST(HostLimits, ReactionsBeyondTheLimitsAreRefused)
{
    EXPECT_EQ(
        "databanks[2].reactions[0].eqConsts: 17 equilibrium constants of one kind in a reaction; hosts read at most 16",
        FirstError([](Json& s) {
            s["databanks"][2]["reactions"][0]["eqConsts"] =
                std::vector<double>(MORU_MAX_EQUILIBRIUM_CONSTANTS + 1, 1.0);
        }));
}

// A database edited with another tool past every limit: `moru-db check` names each one, as the
// library would refuse each value.
TEST(HostLimits, CheckReportsEveryLimitThatAnEditedDatabaseBreaks)
{
    ScratchDirectory scratch;
    const std::string path = scratch.File("edited.db");
    Build(RichSource(), path);
    ASSERT_EQ(CheckDatabaseIntegrity(path), std::vector<std::string>{});
    {
        Connection db(path, Connection::Mode::Create);
        db.Execute(R"SQL(
            CREATE TEMP TABLE n AS WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 50) SELECT i FROM c;
            INSERT INTO reaction_species SELECT (SELECT min(id) FROM reaction), 100 + i, 'X', NULL, 1 FROM temp.n WHERE i <= 43;
            UPDATE reaction SET eq_consts = zeroblob(24 * 8) WHERE id = (SELECT min(id) FROM reaction);
            UPDATE reaction_species SET name = 'a species of 25 bytes....' WHERE position = 101;
            UPDATE property SET name = replace(hex(zeroblob(150)), '0', 'N') WHERE id = (SELECT min(id) FROM property);
            INSERT INTO unit_row SELECT (SELECT min(id) FROM property), 100 + i, 'ROW', 'U' FROM temp.n WHERE i <= 17;
            UPDATE property SET element_count = 65
              WHERE id = (SELECT max(id) FROM property WHERE interaction_type = 0);
        )SQL");
    }
    const auto problems = CheckDatabaseIntegrity(path);
    for (const auto& entry : service::kHostLimits) {
        const bool reported = std::any_of(problems.begin(), problems.end(), [&](const std::string& problem) {
            return problem.find(entry.counted) != std::string::npos;
        });
        EXPECT_TRUE(reported) << "no problem names the " << entry.counted;
    }
    EXPECT_NE(
        std::find(problems.begin(), problems.end(), "property 1: 300 bytes in a property name; hosts read at most 255"),
        problems.end());
}

} // namespace
} // namespace moru::sqlite::testing
