#include "HostSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

using namespace moru::host;

namespace {

// One reaction as the host reads it.
struct Equation {
    std::string type;
    std::vector<std::string> reactants, products;
    std::vector<double> eqConsts;
    bool Names(const std::string& species) const
    {
        return std::count(reactants.begin(), reactants.end(), species) +
                   std::count(products.begin(), products.end(), species) >
               0;
    }
};

// The sample database and, when it was built, the database of the property data bundle, both
// connected and listed; the sample configuration alone is connected again afterwards.
class Reactions : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!std::filesystem::exists(MORU_SAMPLE_CONFIG)) return;
        const auto directory = std::filesystem::temp_directory_path() / "moru-e2e-reactions";
        std::filesystem::create_directories(directory);
        const auto sampleDb = std::filesystem::path(MORU_SAMPLE_CONFIG).parent_path() / "sample.db";
        std::string databases = "{\"alias\": \"SAMPLE\", \"path\": \"" + HostPath(sampleDb.generic_string()) + "\"}";
        hasBundle = !std::string(MORU_BUNDLE_CONFIG).empty() && std::filesystem::exists(MORU_BUNDLE_CONFIG);
        if (hasBundle) {
            const auto bundleDb = std::filesystem::path(MORU_BUNDLE_CONFIG).parent_path() / "bundle.db";
            databases += ", {\"alias\": \"BUNDLE\", \"path\": \"" + HostPath(bundleDb.generic_string()) + "\"}";
        }
        std::ofstream(directory / "databases.json") << "{\"databases\": [" << databases << "]}";
        connected = ConnectAndList((directory / "databases.json").generic_string());
        std::filesystem::remove_all(directory);
    }
    static void TearDownTestSuite()
    {
        if (!std::filesystem::exists(MORU_SAMPLE_CONFIG)) return;
        ConnectAndList(MORU_SAMPLE_CONFIG);
    }
    void SetUp() override
    {
        if (!std::filesystem::exists(MORU_SAMPLE_CONFIG)) GTEST_SKIP() << "no sample database was built";
        ASSERT_TRUE(connected);
    }

    static std::vector<Equation> Collect(std::vector<const char*> compounds, const char* databank, int searchType)
    {
        compounds.push_back(nullptr);
        const char* databanks[] = {databank, nullptr};
        int handle = 0;
        const int count =
            MORU_EXPORT_OF(Reactions_GetAllReactionObjects)(compounds.data(), databanks, "ALIAS", searchType, &handle);
        EXPECT_GE(count, 0);
        std::vector<Equation> equations;
        for (int position = 0; position < count; ++position) {
            char type[256], basis[256];
            std::array<std::array<char, 20>, 32> aliasBuffers{};
            std::array<char*, 32> aliases{};
            for (std::size_t i = 0; i < aliases.size(); ++i) aliases[i] = aliasBuffers[i].data();
            std::array<double, 32> coefficients{};
            std::array<double, 16> eqConsts{}, symmetric{};
            eqConsts.fill(-7);
            int species = 0;
            EXPECT_EQ(MORU_EXPORT_OF(Reactions_GetNextReactionObject)(handle, position, type, basis, &species,
                                                                      aliases.data(), coefficients.data(),
                                                                      eqConsts.data(), symmetric.data(), nullptr),
                      1);
            Equation equation;
            equation.type = type;
            for (int i = 0; i < species; ++i) {
                const auto index = static_cast<std::size_t>(i);
                (coefficients[index] < 0 ? equation.reactants : equation.products).emplace_back(aliases[index]);
            }
            for (double value : eqConsts)
                if (value != -7) equation.eqConsts.push_back(value);
            equations.push_back(std::move(equation));
        }
        EXPECT_EQ(MORU_EXPORT_OF(Reactions_GetNextReactionObject)(handle, count, nullptr, nullptr, nullptr, nullptr,
                                                                  nullptr, nullptr, nullptr, nullptr),
                  0);
        MORU_EXPORT_OF(Reactions_ReleaseHandle)(handle);
        return equations;
    }

    static inline bool connected = false;
    static inline bool hasBundle = false;
};

std::set<std::string> AllSpecies(const std::vector<Equation>& equations)
{
    std::set<std::string> species;
    for (const auto& equation : equations) {
        species.insert(equation.reactants.begin(), equation.reactants.end());
        species.insert(equation.products.begin(), equation.products.end());
    }
    return species;
}

} // namespace

TEST_F(Reactions, SampleWideningFromCarbonDioxideTakesOnlyWhatCanRun)
{
    // Water ionises (its reactant is at hand) and CO2 dissolves backwards from CO2; the two
    // dissociations of carbonic acid need H2CO3 or HCO3-, which nothing provides.
    const auto equations = Collect({"CO2"}, "SAMPLE.AQUEOUS", 1);
    ASSERT_EQ(equations.size(), 2u);
    EXPECT_EQ(equations[0].type, "DISS");
    EXPECT_EQ(equations[0].reactants, (std::vector<std::string>{"H2O"}));
    EXPECT_EQ(equations[0].eqConsts, (std::vector<double>{-13.995}));
    EXPECT_EQ(equations[1].type, "EQUIL");
    EXPECT_EQ(equations[1].reactants, (std::vector<std::string>{"CO2(g)"}));
    EXPECT_EQ(equations[1].eqConsts, (std::vector<double>{-1.468}));
}

TEST_F(Reactions, SamplePlainSearchTakesEveryReactionNamingTheSpecies)
{
    const auto equations = Collect({"HCO3-"}, "SAMPLE.AQUEOUS", 0);
    ASSERT_EQ(equations.size(), 3u); // water's (H2O is always added) and both carbonic acid steps
    for (const auto& equation : equations) EXPECT_TRUE(equation.Names("HCO3-") || equation.Names("H2O"));
    EXPECT_TRUE(Collect({"HCO3-"}, "SAMPLE.AQUEOUS", 2).empty());
}

TEST_F(Reactions, BundleWideningFromCarbonDioxideFindsTheCarbonateSystemAndStops)
{
    if (!hasBundle) GTEST_SKIP() << "the property data bundle was not built";
    const auto equations = Collect({"CO2"}, "BUNDLE.PHREEQC", 1);
    const auto species = AllSpecies(equations);
    for (const char* member : {"CO2", "H2O", "H+", "CO3-2", "HCO3-"}) EXPECT_TRUE(species.count(member)) << member;
    // Water's own redox steps run from water (and bring electrons, hence methane), but nothing that
    // needs a metal ion can run from carbon dioxide and water alone.
    for (const char* absent : {"Ca+2", "CaCO3", "Na+", "Mg+2", "Fe+2"}) EXPECT_FALSE(species.count(absent)) << absent;
    // The plain search takes exactly the reactions that name bicarbonate or water.
    const auto named = Collect({"HCO3-"}, "BUNDLE.PHREEQC", 0);
    ASSERT_FALSE(named.empty());
    for (const auto& equation : named) EXPECT_TRUE(equation.Names("HCO3-") || equation.Names("H2O"));
    EXPECT_GT(named.size(), equations.size() / 2);
}
