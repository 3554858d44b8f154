#include "HostSession.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

using namespace moru::host;

namespace {

std::string Text(const std::vector<char>& buffer) { return buffer.data(); }

class SampleValues : public ConnectedSuite<SampleDatabases> {
protected:
    // Water's value of a property, through a value object.
    static double WaterConstant(const char* property)
    {
        int handle = 0;
        EXPECT_EQ(1, MORU_EXPORT_OF(CompoundProperties_GetCompoundProperty)("SAMPLE", "PURE", "7732-18-5", "CASRN",
                                                                            property, &handle));
        double value = 0;
        EXPECT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_ValueConstant)(handle, &value));
        MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(handle);
        return value;
    }
};

TEST_F(SampleValues, ReadsMolecularWeightAndBoilingPointAsValueObjects)
{
    EXPECT_NEAR(18.0153, WaterConstant("MW"), 1e-9);
    int handle = 0;
    ASSERT_EQ(1, MORU_EXPORT_OF(CompoundProperties_GetCompoundProperty)("SAMPLE", "PURE", "7732-18-5", "CASRN", "TB",
                                                                        &handle));
    int type = 0;
    EXPECT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_Type)(handle, &type));
    EXPECT_EQ(1, type);
    ASSERT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_NumberOfElements)(handle));
    double tb = 0;
    EXPECT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_ValueVector)(handle, &tb));
    EXPECT_NEAR(373.15, tb, 1e-9);
    std::vector<char> row(64), unit(64);
    char* rows[] = {row.data()};
    char* units[] = {unit.data()};
    EXPECT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_UnitsOfMeasure)(handle, rows, units, 64));
    EXPECT_EQ("TEMPERATURE", Text(row));
    EXPECT_EQ("K", Text(unit));
    MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(handle);
}

TEST_F(SampleValues, ReadsTextAndTextListValues)
{
    int state = 0;
    ASSERT_EQ(1, MORU_EXPORT_OF(CompoundProperties_GetCompoundProperty)("SAMPLE", "PURE", "64-17-5", "CASRN", "STATE",
                                                                        &state));
    int type = 0;
    MORU_EXPORT_OF(PropertyValueObject_Type)(state, &type);
    EXPECT_EQ(2, type);
    std::vector<char> text(32);
    EXPECT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_ValueText)(state, text.data(), 32));
    EXPECT_EQ("liquid", Text(text));
    MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(state);

    int groups = 0;
    ASSERT_EQ(1, MORU_EXPORT_OF(CompoundProperties_GetCompoundProperty)("SAMPLE", "PURE", "2-aminoethanol", "SYNONYM",
                                                                        "FUNCTIONAL-GROUPS", &groups));
    MORU_EXPORT_OF(PropertyValueObject_Type)(groups, &type);
    EXPECT_EQ(3, type);
    ASSERT_EQ(2, MORU_EXPORT_OF(PropertyValueObject_NumberOfElements)(groups));
    std::vector<char> first(16), second(16);
    char* list[] = {first.data(), second.data()};
    EXPECT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_ValueTextList)(groups, list, 16));
    EXPECT_EQ("amino", Text(first));
    EXPECT_EQ("hydroxy", Text(second));
    MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(groups);
}

TEST_F(SampleValues, FetchesTheSameValuesIntoAnArray)
{
    double values[3] = {-1, -1, -1};
    int success = 0;
    MORU_EXPORT_OF(GetPropertyValueFromDbank)("SAMPLE", "PURE", "CASRN", "7732-18-5", "TB", 3, values, 3, 8, &success);
    EXPECT_EQ(1, success);
    EXPECT_NEAR(373.15, values[0], 1e-9);
    EXPECT_EQ(-1, values[1]);
    MORU_EXPORT_OF(GetPropertyValueFromDbank)("SAMPLE", "PURE", "CASRN", "7732-18-5", "MW", 3, values, 3, 8, &success);
    EXPECT_EQ(1, success);
    EXPECT_NEAR(18.0153, values[0], 1e-9);
    MORU_EXPORT_OF(GetPropertyValueFromDbank)
    ("SAMPLE", "PURE", "CASRN", "7732-18-5", "NOPROP", 3, values, 3, 8, &success);
    EXPECT_EQ(0, success);
}

TEST_F(SampleValues, WalksEveryUnaryValueOfACompound)
{
    int index = 0;
    MORU_EXPORT_OF(GetCompidFromIdInDbank)("SAMPLE", "PURE", "CASRN", "7732-18-5", &index);
    ASSERT_NE(0, index);
    int list = 0;
    const int count =
        MORU_EXPORT_OF(CompoundProperties_GetAllUnaryPropertyValues_Vanta)("SAMPLE", "PURE", index, &list);
    ASSERT_GE(count, 3);
    std::map<std::string, std::vector<double>> walked;
    for (int position = 0; position < count; ++position) {
        char name[MORU_MAX_PROPERTY_NAME_BYTES + 1];
        double values[MORU_MAX_UNARY_ELEMENTS];
        int size = 0;
        ASSERT_EQ(1, MORU_EXPORT_OF(CompoundProperties_GetNextUnaryPropertyValue)(list, position, name, &size, values));
        walked[name].assign(values, values + size);
    }
    char name[MORU_MAX_PROPERTY_NAME_BYTES + 1];
    double values[MORU_MAX_UNARY_ELEMENTS];
    int size = 0;
    EXPECT_EQ(-1, MORU_EXPORT_OF(CompoundProperties_GetNextUnaryPropertyValue)(list, count, name, &size, values));
    MORU_EXPORT_OF(CompoundProperties_ReleaseHandle)(list);
    EXPECT_EQ(std::vector<double>{18.0153}, walked["MW"]);
    EXPECT_EQ(std::vector<double>{273.15}, walked["TFP"]);

    int enumerator = 0, seen = 0;
    ASSERT_EQ(1, MORU_EXPORT_OF(CompoundProperties_GetAllCompoundProperties)("SAMPLE", "PURE", "7732-18-5", "CASRN",
                                                                             &enumerator));
    while (MORU_EXPORT_OF(PropertyValueCollectionEnum_MoveNext)(enumerator) == 1) ++seen;
    MORU_EXPORT_OF(PropertyValueCollectionEnum_ReleaseHandle)(enumerator);
    EXPECT_GE(seen, count); // the enumerator also holds the values that are not numbers
}

TEST_F(SampleValues, ReadsAStructureText)
{
    std::vector<char> structure(4097, 'x');
    EXPECT_TRUE(MORU_EXPORT_OF(GetMolecularStructureString)("SAMPLE", "7732-18-5", "CASRN", 1, structure.data()));
    const std::string text = structure.data();
    EXPECT_NE(std::string::npos, text.find("<molecule")) << text.substr(0, 200);
    EXPECT_TRUE(MORU_EXPORT_OF(GetMolecularStructureString)("SAMPLE", "7732-18-5", "CASRN", 9, structure.data()));
    EXPECT_EQ("", Text(structure));
    EXPECT_TRUE(MORU_EXPORT_OF(GetMolecularStructureString)("NODB", "7732-18-5", "CASRN", 1, structure.data()));
    EXPECT_EQ("", Text(structure));
}

} // namespace
