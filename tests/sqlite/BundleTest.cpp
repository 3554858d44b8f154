#include "TestDatabase.h"

#include <cstdlib>

namespace moru::sqlite::testing {
namespace {

using namespace moru::service;

std::string BundleDirectory()
{
    const char* directory = std::getenv("MORU_SHARED_DATA");
    if (!directory || !std::filesystem::exists(std::filesystem::path(directory) / "compounds.tsv")) return {};
    return directory;
}

TEST(SharedDataBundle, ConvertsAndBuildsWithEveryRow)
{
    std::string directory = BundleDirectory();
    if (directory.empty()) GTEST_SKIP() << "MORU_SHARED_DATA names no data bundle";
    ScratchDirectory scratch;
    dbtool::Json source = dbtool::ConvertBundle(directory);

    std::size_t scalars = 0, correlations = 0, binaryRows = 0, reactions = 0;
    for (const auto& databank : source["databanks"]) {
        for (const auto& value : databank.value("values", dbtool::Json::array())) {
            if (value.contains("text")) continue; // a correlation's equation form
            if (value.contains("compound")) (value["numbers"].size() == 1 ? scalars : correlations)++;
            // Labels 3 and 4 of PRKIJ hold the lower temperature limit, not a parameter.
            for (const auto& label : value.value("labels", dbtool::Json::array())) {
                binaryRows += !(value["property"] == "PRKIJ" && label.get<int>() > 2);
            }
        }
        reactions += databank.value("reactions", dbtool::Json::array()).size();
    }
    EXPECT_EQ(source["compounds"].size(), 6442u);
    EXPECT_EQ(scalars, 67026u);
    EXPECT_EQ(correlations, 9839u);
    EXPECT_EQ(binaryRows, 91049u);
    EXPECT_EQ(reactions, 280u);

    Build(source, scratch.File("bundle.db"));

    SqliteDatabaseCollection collection(std::make_shared<DatabankCollection>());
    scratch.Write("databases.json", R"({"databases": [{"alias": "BUNDLE", "path": "bundle.db"}]})");
    std::ifstream config(scratch.File("databases.json"));
    ASSERT_EQ(collection.InitializeFromConfigurationFile(&config, scratch.File("databases.json"), "").substr(0, 8),
              "Database");
    auto bundle = collection.Find("BUNDLE");
    ASSERT_TRUE(bundle);
    const auto compounds = bundle->CompoundManager();
    const auto reactionManager = bundle->ReactionManager();
    const auto databanks = bundle->EnumerateDatabanks();
    ASSERT_TRUE(compounds && reactionManager && databanks);
    const auto all = compounds->GetAllCompounds(nullptr);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->size(), 6442u);
    EXPECT_EQ(reactionManager->GetAllReactionsCount(nullptr), 280);
    const auto ethanol = Texts(compounds->GetCompoundIdentifier("64-17-5", "CASRN", "NAME"));
    ASSERT_FALSE(ethanol.empty());
    EXPECT_EQ(ethanol.front(), "ETHANOL");

    DatabankCollection group;
    group.Add(databanks->Find("CHEMSEP_NRTL"));
    auto hits = compounds->FindForMM(group, "water", "NAME", "");
    ASSERT_TRUE(hits);
    EXPECT_EQ(hits->size(), 1u);
}

} // namespace
} // namespace moru::sqlite::testing
