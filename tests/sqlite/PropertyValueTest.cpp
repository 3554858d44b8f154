#include "TestDatabase.h"

#include <sstream>

namespace moru::sqlite::testing {
namespace {

using namespace moru::service;

// The rich database, connected as RICH, with its value and structure managers.
class StoredValues : public ::testing::Test {
protected:
    void SetUp() override
    {
        Build(RichSource(), scratch.File("rich.db"));
        const std::string config = R"({"databases": [{"alias": "RICH", "path": "rich.db"}]})";
        scratch.Write("databases.json", config);
        std::istringstream stream(config);
        collection.InitializeFromConfigurationFile(&stream, scratch.File("databases.json"), "");
        database = collection.Find("RICH");
        ASSERT_TRUE(database);
        const auto databanks = database->EnumerateDatabanks();
        ASSERT_TRUE(databanks);
        pure = databanks->Find("PURE");
        binary = databanks->Find("BINARY");
        values = database->PropertyValueManager();
        ASSERT_TRUE(pure && binary && values);
    }

    ScratchDirectory scratch;
    SqliteDatabaseCollection collection{std::make_shared<DatabankCollection>()};
    DatabasePtr database;
    DatabankPtr pure, binary;
    std::shared_ptr<IPropertyValueManager> values;
};

TEST_F(StoredValues, EveryShapeComesBackWithItsProperty)
{
    const auto antoine = values->GetUnaryPropertyValue(*pure, "water", "name", "antoine");
    ASSERT_TRUE(antoine && antoine->Property);
    EXPECT_EQ("ANTOINE", antoine->Property->Name());
    EXPECT_EQ(2u, antoine->Property->UnitsTypeList().size());
    EXPECT_EQ((NumericElements{23.2, std::nullopt, -1e-300}), std::get<NumericElements>(antoine->Data));

    const auto family = values->GetUnaryPropertyValue(*pure, "7087-68-5", "CASRN", "FAMILY");
    ASSERT_TRUE(family);
    EXPECT_EQ("amine's family", std::get<std::string>(family->Data));
    const auto hazards = values->GetUnaryPropertyValue(*pure, "7087-68-5", "CASRN", "HAZARDS");
    ASSERT_TRUE(hazards);
    EXPECT_EQ((TextList{"flammable", "", "toxic ☠"}), std::get<TextList>(hazards->Data));
}

TEST_F(StoredValues, WhatIsNotStoredIsNull)
{
    EXPECT_FALSE(values->GetUnaryPropertyValue(*pure, "WATER", "NAME", "FAMILY")); // no such value
    EXPECT_FALSE(values->GetUnaryPropertyValue(*pure, "STEAM", "NAME", "TB"));     // no such compound
    EXPECT_FALSE(values->GetUnaryPropertyValue(*pure, "WATER", "NAME", "NOPROP")); // no such property
    EXPECT_FALSE(values->GetUnaryPropertyValue(*pure, "WATER", "FORMULA", "TB"));  // no such identifier type
    EXPECT_FALSE(values->GetUnaryPropertyValue(*binary, "WATER", "NAME", "TB"));   // another databank
    EXPECT_FALSE(values->GetUnaryPropertyValue(*binary, "WATER", "NAME", "NRTL")); // not a unary property
    EXPECT_TRUE(values->GetUnaryPropertyValue(*pure, "1", "CompoundIndex", "TB"));
}

TEST_F(StoredValues, AllUnaryValuesOfACompoundInPropertyOrder)
{
    const auto all = values->GetAllUnaryPropertyValues(*pure, "WATER", "NAME");
    ASSERT_TRUE(all);
    ASSERT_EQ(2u, all->size());
    ASSERT_TRUE((*all)[0]->Property && (*all)[1]->Property);
    EXPECT_EQ("TB", (*all)[0]->Property->Name());
    EXPECT_EQ("ANTOINE", (*all)[1]->Property->Name());
    EXPECT_FALSE(values->GetAllUnaryPropertyValues(*pure, "STEAM", "NAME"));
    const auto none = values->GetAllUnaryPropertyValues(*binary, "WATER", "NAME");
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());
}

TEST_F(StoredValues, TheSimulatorsMapHoldsNumbersOnly)
{
    const auto water = values->GetAllUnaryPropertyValues_Vanta(pure->Id(), 1);
    ASSERT_TRUE(water);
    EXPECT_EQ((UnaryValueMap{{"ANTOINE", {23.2, std::nullopt, -1e-300}}, {"TB", {373.124}}}), *water);
    EXPECT_FALSE(values->GetAllUnaryPropertyValues_Vanta(pure->Id(), 2)); // texts only
    EXPECT_FALSE(values->GetAllUnaryPropertyValues_Vanta(pure->Id(), 99));
    EXPECT_FALSE(values->GetAllUnaryPropertyValues_Vanta(999, 1));
}

TEST_F(StoredValues, StructuresByIdentifierAndType)
{
    const auto molData = database->MolDataManager();
    ASSERT_TRUE(molData);
    std::string text = "untouched";
    EXPECT_TRUE(molData->GetStructureByName("H2O", "ALIAS", text, 2));
    EXPECT_EQ("O", text);
    EXPECT_TRUE(molData->GetStructureByName("water", "NAME", text, 1));
    EXPECT_EQ("<molecule id=\"water\"/>", text);
    text = "untouched";
    EXPECT_FALSE(molData->GetStructureByName("WATER", "NAME", text, 3));
    EXPECT_FALSE(molData->GetStructureByName("ÉTHANOL", "NAME", text, 1));
    EXPECT_FALSE(molData->GetStructureByName("STEAM", "NAME", text, 1));
    EXPECT_EQ("untouched", text);
}

} // namespace
} // namespace moru::sqlite::testing
