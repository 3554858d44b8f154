// A failed call of the value families says why in the trace.

#include "fake/TraceCapture.h"
#include "properties/PropertyWorld.h"

#include <string>
#include <vector>

using namespace moru::service;

namespace moru::fake {
namespace {

class PropertyTrace : public PropertyWorld {
protected:
    TraceCapture trace;
};

TEST_F(PropertyTrace, ValueObjectsNameTheDatabankTheShapeAndTheBuffer)
{
    int handle = 0;
    EXPECT_EQ(0, CompoundProperties_GetCompoundProperty("DB", "NOPE", "WATER", "NAME", "TB", &handle));
    EXPECT_EQ("databank DB.NOPE is not listed", trace.ReasonOf("CompoundProperties_GetCompoundProperty"));

    Store(MakeValue(MakeProperty("TB", 1, {{"TEMPERATURE", "K"}, {"PRESSURE", "Pa"}}), NumericElements{373.15}));
    const int value = ValueHandle("TB");
    char text[4] = "";
    EXPECT_EQ(0, PropertyValueObject_ValueText(value, text, sizeof text));
    EXPECT_EQ("property TB holds numbers, not a text", trace.ReasonOf("PropertyValueObject_ValueText"));
    EXPECT_EQ(0, PropertyValueObject_PropertyId(value, text, 2));
    EXPECT_EQ("buffer of 2 bytes, text needs 3", trace.ReasonOf("PropertyValueObject_PropertyId"));
    char row[16], unit[16];
    char* rows[] = {row, nullptr};
    char* units[] = {unit, unit};
    EXPECT_EQ(0, PropertyValueObject_UnitsOfMeasure(value, rows, units, 16));
    EXPECT_EQ("buffer 2 of 2 is null", trace.ReasonOf("PropertyValueObject_UnitsOfMeasure"));
    PropertyValueObject_ReleaseHandle(value);
}

TEST_F(PropertyTrace, EnumerationsAndListsSayWhereTheyStand)
{
    db->propertyValues->allValues[FakePropertyValueManager::Key("PURE", "WATER")] = {
        MakeValue(MakeProperty("TB", 1), NumericElements{373.15})};
    int enumerator = 0, value = 0;
    ASSERT_EQ(1, CompoundProperties_GetAllCompoundProperties("DB", "PURE", "WATER", "NAME", &enumerator));
    EXPECT_EQ(0, PropertyValueCollectionEnum_GetItem(enumerator, &value));
    EXPECT_EQ("the enumeration stands before its first value", trace.ReasonOf("PropertyValueCollectionEnum_GetItem"));
    PropertyValueCollectionEnum_ReleaseHandle(enumerator);

    db->propertyValues->vantaValues[{pure->id, 9}] = {{"PLXANT", {1.0, std::nullopt}},
                                                      {"LONG", NumericElements(MORU_MAX_UNARY_ELEMENTS + 1, 1.0)}};
    int list = 0, size = 0;
    ASSERT_EQ(2, CompoundProperties_GetAllUnaryPropertyValues_Vanta("DB", "PURE", 9, &list));
    char name[MORU_MAX_PROPERTY_NAME_BYTES + 1];
    double numbers[MORU_MAX_UNARY_ELEMENTS];
    EXPECT_EQ(0, CompoundProperties_GetNextUnaryPropertyValue(list, -1, name, &size, numbers));
    EXPECT_EQ("position -1 is before the first", trace.ReasonOf("CompoundProperties_GetNextUnaryPropertyValue"));
    EXPECT_EQ(0, CompoundProperties_GetNextUnaryPropertyValue(list, 0, name, &size, numbers));
    EXPECT_EQ("65 elements in a unary value; hosts read at most 64",
              trace.ReasonOf("CompoundProperties_GetNextUnaryPropertyValue"));
    EXPECT_EQ(0, CompoundProperties_GetNextUnaryPropertyValue(list, 1, name, &size, numbers));
    EXPECT_EQ("element 2 of PLXANT is not stored", trace.ReasonOf("CompoundProperties_GetNextUnaryPropertyValue"));
    EXPECT_EQ(0, CompoundProperties_GetAllUnaryPropertyValues_Vanta("DB", "PURE", 8, &list));
    EXPECT_EQ("databank DB.PURE holds no values of compound index 8",
              trace.ReasonOf("CompoundProperties_GetAllUnaryPropertyValues_Vanta"));
}

TEST_F(PropertyTrace, TheTypedFetchAndTheStructureControlSayWhyNothingCame)
{
    Store(MakeValue(MakeProperty("FOUR", 1), NumericElements{1.0, 2.0, 3.0, 4.0}));
    double numbers[3];
    int success = 1;
    GetPropertyValueFromDbank("DB", "PURE", "NAME", "WATER", "FOUR", 3, numbers, 3, 8, &success);
    EXPECT_EQ(0, success);
    EXPECT_EQ("value of 4 numbers, host array of 3", trace.ReasonOf("GetPropertyValueFromDbank"));
    GetPropertyValueFromDbank("DB", "PURE", "NAME", "WATER", "FOUR", 2, numbers, 3, 8, &success);
    EXPECT_EQ("value type 2 is not read; only 3 (doubles)", trace.ReasonOf("GetPropertyValueFromDbank"));
    GetPropertyValueFromDbank("DB", "PURE", "NAME", "WATER", "TC", 3, numbers, 3, 8, &success);
    EXPECT_EQ("databank DB.PURE holds no value of TC for WATER", trace.ReasonOf("GetPropertyValueFromDbank"));

    PushDataToMoleStructControl("DB", "WATER", "NAME", 2, nullptr);
    EXPECT_EQ("no structure control", trace.ReasonOf("PushDataToMoleStructControl"));
}

} // namespace
} // namespace moru::fake
