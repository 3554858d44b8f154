#include "TestDatabase.h"

#include "MoruIntegration.h"

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
    EXPECT_EQ("properties[2].name: is 256 bytes long; hosts read names of at most 255 bytes",
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
    EXPECT_EQ("properties[0].units: holds 17 unit rows; hosts read at most 16",
              FirstError([&](Json& s) { s["properties"][0]["units"] = rows(MORU_MAX_UNIT_ROWS + 1); }));
}

TEST(HostLimits, UnaryValuesWithMoreElementsThanHostsReadAreRefused)
{
    EXPECT_EQ("properties[2].elementCount: is 65; hosts read values of one compound of at most 64 elements",
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

} // namespace
} // namespace moru::sqlite::testing
