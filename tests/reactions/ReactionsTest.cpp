#include "MoruIntegration.h"
#include "fake/TraceCapture.h"
#include "fake/TwoDatabases.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

using namespace moru::service;

using namespace moru::fake;

namespace {

// The last of some texts, "<none>" for none: a comparison rather than a crash.
std::string LastOf(const std::vector<std::string>& texts) { return texts.empty() ? "<none>" : texts.back(); }

ReactionRecord Reaction(int id, std::string type, const std::vector<std::pair<std::string, double>>& species,
                        std::vector<std::optional<double>> eqConsts = {},
                        std::vector<std::optional<double>> symmetricEqConsts = {})
{
    ReactionRecord reaction;
    reaction.Id = id;
    reaction.Type = std::move(type);
    reaction.Basis = "MOLALITY";
    for (auto& [name, coefficient] : species) {
        reaction.Synonyms.push_back(name);
        reaction.Coefficients.push_back(coefficient);
    }
    reaction.EqConsts = std::move(eqConsts);
    reaction.SymmetricEqConsts = std::move(symmetricEqConsts);
    return reaction;
}

class Reactions : public TwoDatabases {
protected:
    int Collect(std::vector<const char*> compounds, std::vector<const char*> databanks, int searchType, int* handle)
    {
        compounds.push_back(nullptr);
        databanks.push_back(nullptr);
        return Reactions_GetAllReactionObjects(compounds.data(), databanks.data(), "ALIAS", searchType, handle);
    }

    // One reaction read back through the export.
    struct Read {
        int result = 0;
        std::string type, basis;
        int species = -1;
        std::vector<std::string> aliases;
        std::vector<double> coefficients, eqConsts, symmetric;
    };
    Read ReadAt(int handle, int position, bool withSymmetric = true)
    {
        Read read;
        char type[256] = "old", basis[256] = "old";
        std::array<std::array<char, 20>, 8> aliasBuffers{};
        std::array<char*, 8> aliases{};
        for (std::size_t i = 0; i < aliases.size(); ++i) aliases[i] = aliasBuffers[i].data();
        std::array<double, 8> coefficients{}, eqConsts{}, symmetric{};
        coefficients.fill(-7);
        eqConsts.fill(-7);
        symmetric.fill(-7);
        read.result = Reactions_GetNextReactionObject(handle, position, type, basis, &read.species, aliases.data(),
                                                      coefficients.data(), eqConsts.data(),
                                                      withSymmetric ? symmetric.data() : nullptr, nullptr);
        read.type = type;
        read.basis = basis;
        for (int i = 0; i < std::max(read.species, 0); ++i) {
            read.aliases.emplace_back(aliases[static_cast<std::size_t>(i)]);
            read.coefficients.push_back(coefficients[static_cast<std::size_t>(i)]);
        }
        for (double value : eqConsts)
            if (value != -7) read.eqConsts.push_back(value);
        for (double value : symmetric)
            if (value != -7) read.symmetric.push_back(value);
        return read;
    }

    std::vector<std::string> Queries() const { return service.log.Matching("GetCompoundsReactions"); }
};

} // namespace

TEST_F(Reactions, AnEmptyCompoundListSearchesWithWaterAlone)
{
    int handle = -1;
    EXPECT_EQ(Collect({}, {"A.A1"}, 0, &handle), 0);
    EXPECT_NE(handle, 0);
    EXPECT_EQ(Queries(), (std::vector<std::string>{"GetCompoundsReactions [H2O]|ALIAS|[A1]"}));
    Reactions_ReleaseHandle(handle);
}

TEST_F(Reactions, WaterIsAppendedUnlessTheListHoldsItExactly)
{
    int handle = 0;
    Collect({"h2o", "CO2"}, {"A.A1"}, 0, &handle);
    Collect({"H2O", "CO2"}, {"A.A1"}, 0, &handle);
    EXPECT_EQ(Queries(), (std::vector<std::string>{"GetCompoundsReactions [h2o,CO2,H2O]|ALIAS|[A1]",
                                                   "GetCompoundsReactions [H2O,CO2]|ALIAS|[A1]"}));
}

TEST_F(Reactions, AnEmptyDatabankListGivesNoReactionsAndAHandle)
{
    int handle = 0;
    EXPECT_EQ(Collect({"CO2"}, {}, 0, &handle), 0);
    EXPECT_NE(handle, 0);
    EXPECT_EQ(ReadAt(handle, 0).result, -1);
    EXPECT_TRUE(Queries().empty());
    Reactions_ReleaseHandle(handle);
}

TEST_F(Reactions, ADatabaseOfTheVersionWithoutReactionsHandsOutNone)
{
    dbA->version = 2006;
    dbA->reactions->reactions = {{"A1", Reaction(7, "EQUIL", {{"CO2", -1}, {"X", 1}})}};
    dbB->reactions->reactions = {{"B1", Reaction(8, "EQUIL", {{"CO2", -1}, {"Y", 1}})}};
    int handle = 0;
    EXPECT_EQ(Collect({"CO2"}, {"A.A1", "B.B1"}, 0, &handle), 1);
    EXPECT_EQ(Queries(), (std::vector<std::string>{"GetCompoundsReactions [CO2,H2O]|ALIAS|[B1]"}));
    EXPECT_EQ(ReadAt(handle, 0).aliases, (std::vector<std::string>{"CO2", "Y"}));
    Reactions_ReleaseHandle(handle);
}

TEST_F(Reactions, BadDatabankEntriesFailWithTheirOwnValues)
{
    int handle = -1;
    EXPECT_EQ(Collect({"CO2"}, {"A.A1", "a.a1"}, 0, &handle), 0); // repeated in another case
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(Collect({"CO2"}, {"AA1"}, 0, &handle), 0);     // no full stop
    EXPECT_EQ(Collect({"CO2"}, {"A.NOPE"}, 0, &handle), -1); // not listed
    EXPECT_EQ(handle, 0);
    EXPECT_TRUE(Queries().empty());
    // A third field is ignored.
    EXPECT_EQ(Collect({"CO2"}, {"A.A1.x"}, 0, &handle), 0);
    EXPECT_NE(handle, 0);
    // Null arguments.
    const char* list[] = {"CO2", nullptr};
    EXPECT_EQ(Reactions_GetAllReactionObjects(list, list, "ALIAS", 0, nullptr), -1);
    EXPECT_EQ(Reactions_GetAllReactionObjects(nullptr, list, "ALIAS", 0, &handle), -1);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(Reactions_GetAllReactionObjects(list, nullptr, "ALIAS", 0, &handle), -1);
    EXPECT_EQ(Reactions_GetAllReactionObjects(list, list, nullptr, 0, &handle), -1);
}

TEST_F(Reactions, PlainSearchTakesEveryReactionOnceAndAsksOnce)
{
    dbA->reactions->reactions = {{"A1", Reaction(7, "EQUIL", {{"CO2", -1}, {"X", 1}})},
                                 {"A2", Reaction(7, "EQUIL", {{"CO2", -1}, {"X", 1}})},
                                 {"A1", Reaction(3, "EQUIL", {{"Y", -1}, {"Z", 1}})},
                                 {"A2", Reaction(5, "DISS", {{"H2O", -1}, {"OH-", 1}, {"H+", 1}})}};
    int handle = 0;
    EXPECT_EQ(Collect({"CO2"}, {"A.A1", "A.A2"}, 0, &handle), 2);
    EXPECT_EQ(Queries(), (std::vector<std::string>{"GetCompoundsReactions [CO2,H2O]|ALIAS|[A1,A2]"}));
    EXPECT_EQ(ReadAt(handle, 0).type, "DISS"); // by Id: 5 before 7
    EXPECT_EQ(ReadAt(handle, 1).aliases, (std::vector<std::string>{"CO2", "X"}));
    Reactions_ReleaseHandle(handle);
}

TEST_F(Reactions, WideningTakesReactionsFromEitherCompleteSideAndStopsWhenNothingIsAdded)
{
    // A + B = C + D runs backwards from C and D, and adds A and B; the same as a dissociation
    // would need its reactants.
    dbA->reactions->reactions = {{"A1", Reaction(1, "EQUIL", {{"A", -1}, {"B", -1}, {"C", 1}, {"D", 1}})},
                                 {"A1", Reaction(2, "EQUIL", {{"A", -1}, {"E", 1}})}};
    int handle = 0;
    EXPECT_EQ(Collect({"C", "D"}, {"A.A1"}, 1, &handle), 2);
    // A reaches reaction 2 only in the second query; the third adds nothing and ends the search.
    EXPECT_EQ(Queries(), (std::vector<std::string>{"GetCompoundsReactions [C,D,H2O]|ALIAS|[A1]",
                                                   "GetCompoundsReactions [C,D,H2O,A,B]|ALIAS|[A1]",
                                                   "GetCompoundsReactions [C,D,H2O,A,B,E]|ALIAS|[A1]"}));
    Reactions_ReleaseHandle(handle);

    service.log.Clear();
    dbA->reactions->reactions = {{"A1", Reaction(1, "DISS", {{"A", -1}, {"B", -1}, {"C", 1}, {"D", 1}})}};
    EXPECT_EQ(Collect({"C", "D"}, {"A.A1"}, 1, &handle), 0);
    EXPECT_EQ(Queries().size(), 1u);
}

TEST_F(Reactions, ADissociationAddsOnlyItsProducts)
{
    dbA->reactions->reactions = {{"A1", Reaction(1, "DISS", {{"AB", -1}, {"A", 1}, {"B", 1}})},
                                 {"A1", Reaction(2, "EQUIL", {{"Q", -1}, {"AB", 1}, {"R", 1}})}};
    int handle = 0;
    // Reaction 2 is not valid (Q missing, R missing), so AB's products alone are added.
    EXPECT_EQ(Collect({"AB"}, {"A.A1"}, 1, &handle), 1);
    EXPECT_EQ(service.log.Last("GetCompoundsReactions"), "GetCompoundsReactions [AB,H2O,A,B]|ALIAS|[A1]");
}

TEST_F(Reactions, OtherSearchTypesCollectNothingButStillGiveAHandle)
{
    dbA->reactions->reactions = {{"A1", Reaction(1, "EQUIL", {{"CO2", -1}, {"X", 1}})}};
    int handle = 0;
    EXPECT_EQ(Collect({"CO2"}, {"A.A1"}, 2, &handle), 0);
    EXPECT_NE(handle, 0);
}

TEST_F(Reactions, EachDatabaseStartsAfreshFromTheHostsList)
{
    dbA->reactions->reactions = {{"A1", Reaction(1, "EQUIL", {{"CO2", -1}, {"P", 1}})}};
    dbB->reactions->reactions = {{"B1", Reaction(1, "EQUIL", {{"CO2", -1}, {"Q", 1}})}};
    int handle = 0;
    EXPECT_EQ(Collect({"CO2"}, {"B.B1", "A.A1"}, 1, &handle), 2);
    EXPECT_EQ(Queries(), (std::vector<std::string>{"GetCompoundsReactions [CO2,H2O]|ALIAS|[B1]",
                                                   "GetCompoundsReactions [CO2,H2O,Q]|ALIAS|[B1]",
                                                   "GetCompoundsReactions [CO2,H2O]|ALIAS|[A1]",
                                                   "GetCompoundsReactions [CO2,H2O,P]|ALIAS|[A1]"}));
    // The same Id from two databases is listed twice, database by database.
    EXPECT_EQ(LastOf(ReadAt(handle, 0).aliases), "Q");
    EXPECT_EQ(LastOf(ReadAt(handle, 1).aliases), "P");
}

TEST_F(Reactions, DatabaseWithoutReactionsOrFailingServiceGivesZero)
{
    int handle = -1;
    dbA->reactions = nullptr;
    EXPECT_EQ(Collect({"CO2"}, {"A.A1"}, 0, &handle), 0);
    EXPECT_EQ(handle, 0);
    service.log.failing.insert("GetCompoundsReactions");
    EXPECT_EQ(Collect({"CO2"}, {"B.B1"}, 0, &handle), 0);
    EXPECT_EQ(handle, 0);
}

TEST_F(Reactions, ReadingWritesEverythingWithAbsentConstantsAsTheMarker)
{
    dbA->reactions->reactions = {
        {"A1", Reaction(1, "", {{"CO3-2", -1}, {"H+", -1}, {"HCO3-", 1}}, {10.329, std::nullopt}, {1.5})}};
    int handle = 0;
    ASSERT_EQ(Collect({"H+"}, {"A.A1"}, 0, &handle), 1);
    const Read read = ReadAt(handle, 0);
    EXPECT_EQ(read.result, 1);
    EXPECT_EQ(read.type, "");
    EXPECT_EQ(read.basis, "MOLALITY");
    EXPECT_EQ(read.species, 3);
    EXPECT_EQ(read.aliases, (std::vector<std::string>{"CO3-2", "H+", "HCO3-"}));
    EXPECT_EQ(read.coefficients, (std::vector<double>{-1, -1, 1}));
    EXPECT_EQ(read.eqConsts, (std::vector<double>{10.329, 1e35}));
    EXPECT_EQ(read.symmetric, (std::vector<double>{1.5}));
    EXPECT_EQ(ReadAt(handle, 1).result, -1);
    EXPECT_EQ(ReadAt(handle, -1).result, 0);
    EXPECT_EQ(ReadAt(0, 0).result, 0);
}

TEST_F(Reactions, AReactionTheBuffersCannotTakeWholeIsNotWrittenAtAll)
{
    dbA->reactions->reactions = {{"A1", Reaction(1, "EQUIL", {{"CO2", -1}, {std::string(20, 'x'), 1}}, {1.0})},
                                 {"A1", Reaction(2, "EQUIL", {{"CO2", -1}, {std::string(19, 'y'), 1}}, {1.0}, {2.0})}};
    int handle = 0;
    ASSERT_EQ(Collect({"CO2"}, {"A.A1"}, 0, &handle), 2);
    Read tooLong = ReadAt(handle, 0);
    EXPECT_EQ(tooLong.result, 0);
    EXPECT_EQ(tooLong.type, "old");
    EXPECT_EQ(tooLong.species, -1);
    EXPECT_TRUE(tooLong.eqConsts.empty());
    // Symmetric constants with nowhere to go.
    Read noSymmetric = ReadAt(handle, 1, false);
    EXPECT_EQ(noSymmetric.result, 0);
    EXPECT_EQ(noSymmetric.type, "old");
    // 19 bytes fit.
    Read fits = ReadAt(handle, 1);
    EXPECT_EQ(fits.result, 1);
    EXPECT_EQ(LastOf(fits.aliases), std::string(19, 'y'));
    // A null alias buffer for a species.
    char type[256], basis[256], alias0[20];
    char* aliases[] = {alias0, nullptr};
    int count = -1;
    double coefficients[2], eqConsts[2], symmetric[2];
    EXPECT_EQ(Reactions_GetNextReactionObject(handle, 1, type, basis, &count, aliases, coefficients, eqConsts,
                                              symmetric, nullptr),
              0);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(Reactions_GetNextReactionObject(handle, 1, type, basis, nullptr, aliases, coefficients, eqConsts,
                                              symmetric, nullptr),
              0);
}

// A database edited outside moru-db may hold more than the host's fixed arrays: such a reaction is
// refused whole, and nothing lands in or beyond the arrays the header sizes.
TEST_F(Reactions, AReactionBeyondTheHostLimitsIsRefusedBeforeAnythingIsWritten)
{
    std::vector<std::pair<std::string, double>> many;
    many.reserve(MORU_MAX_REACTION_SPECIES + 11);
    for (int i = 0; i < MORU_MAX_REACTION_SPECIES + 11; ++i)
        many.emplace_back(i ? "S" + std::to_string(i) : "CO2", i ? 1 : -1);
    std::vector<std::optional<double>> constants(MORU_MAX_EQUILIBRIUM_CONSTANTS + 8, 1.0);
    std::vector<std::pair<std::string, double>> two = {{"CO2", -1}, {"H2O", 1}};
    dbA->reactions->reactions = {{"A1", Reaction(1, "EQUIL", many, {1.0})},
                                 {"A1", Reaction(2, "EQUIL", two, constants)},
                                 {"A1", Reaction(3, "EQUIL", two, {1.0}, constants)},
                                 {"A1", Reaction(4, "EQUIL", two, {1.0, 2.0})}};
    int handle = 0;
    ASSERT_EQ(Collect({"CO2"}, {"A.A1"}, 0, &handle), 4);

    // The documented sizes, each followed by a guard that must stay untouched.
    constexpr int guard = 4;
    std::vector<std::array<char, MORU_SPECIES_ALIAS_BUFFER_SIZE>> aliasBuffers(MORU_MAX_REACTION_SPECIES + guard);
    std::vector<char*> aliases(MORU_MAX_REACTION_SPECIES + guard, nullptr);
    for (int i = 0; i < MORU_MAX_REACTION_SPECIES; ++i)
        aliases[static_cast<std::size_t>(i)] = aliasBuffers[static_cast<std::size_t>(i)].data();
    for (int position = 0; position < 3; ++position) {
        std::vector<double> coefficients(MORU_MAX_REACTION_SPECIES + guard, -7);
        std::vector<double> eqConsts(MORU_MAX_EQUILIBRIUM_CONSTANTS + guard, -7);
        std::vector<double> symmetric(MORU_MAX_EQUILIBRIUM_CONSTANTS + guard, -7);
        char type[256] = "old", basis[256] = "old";
        int count = -1;
        EXPECT_EQ(Reactions_GetNextReactionObject(handle, position, type, basis, &count, aliases.data(),
                                                  coefficients.data(), eqConsts.data(), symmetric.data(), nullptr),
                  0)
            << "reaction at " << position;
        EXPECT_EQ(count, -1);
        EXPECT_STREQ(type, "old");
        EXPECT_EQ(coefficients, std::vector<double>(MORU_MAX_REACTION_SPECIES + guard, -7));
        EXPECT_EQ(eqConsts, std::vector<double>(MORU_MAX_EQUILIBRIUM_CONSTANTS + guard, -7));
        EXPECT_EQ(symmetric, std::vector<double>(MORU_MAX_EQUILIBRIUM_CONSTANTS + guard, -7));
    }
    EXPECT_EQ(ReadAt(handle, 3).result, 1); // the reactions within the limits still read
}

TEST_F(Reactions, FailedCallsSayWhyInTheTrace)
{
    std::vector<std::pair<std::string, double>> many;
    for (int i = 0; i <= MORU_MAX_REACTION_SPECIES; ++i) many.emplace_back("S" + std::to_string(i), i ? 1 : -1);
    dbA->reactions->reactions = {{"A1", Reaction(1, "EQUIL", {{"CO2", -1}, {std::string(20, 'x'), 1}}, {1.0})},
                                 {"A1", Reaction(2, "EQUIL", {{"CO2", -1}, {"X", 1}}, {1.0}, {2.0})},
                                 {"A1", Reaction(3, "EQUIL", many, {1.0})}};
    TraceCapture trace;
    const auto reason = [&] { return trace.ReasonOf("Reactions_GetAllReactionObjects"); };
    int handle = 0;
    EXPECT_EQ(Collect({"CO2"}, {"A.A1", "a.a1"}, 0, &handle), 0);
    EXPECT_EQ(reason(), "databank a.a1 is named twice");
    EXPECT_EQ(Collect({"CO2"}, {"AA1"}, 0, &handle), 0);
    EXPECT_EQ(reason(), "databank reference AA1 has no full stop");

    ASSERT_EQ(Collect({"CO2", "S0"}, {"A.A1"}, 0, &handle), 3);
    const auto readReason = [&](int position, bool withSymmetric = true) {
        ReadAt(handle, position, withSymmetric);
        return trace.ReasonOf("Reactions_GetNextReactionObject");
    };
    EXPECT_EQ(readReason(0), "species xxxxxxxxxxxxxxxxxxxx of reaction 1 needs 21 bytes; an alias buffer holds 20");
    EXPECT_EQ(readReason(1, false), "reaction 2 has symmetric constants and no array was given for them");
    EXPECT_EQ(readReason(2), "reaction 3: 33 species in a reaction; hosts read at most 32");
    EXPECT_EQ(readReason(-1), "position -1 is negative");
    Reactions_ReleaseHandle(handle);
}
