#include "MoruIntegration.h"
#include "fake/FakeService.h"

#include <gtest/gtest.h>

#include <vector>

using namespace moru::fake;

// The value families given nulls, handle 0, released handles and handles of other kinds: each gives
// its failure value and writes nothing (the sanitizer build watches for stray writes).
TEST(PropertyValuesBadInput, EveryExportSurvivesNullsAndForeignHandles)
{
    FakeService service;
    service.AddDatabase("DB")->AddDatabank("BANK");
    ListAllDatabanks();
    int released = 0, typeList = 0, kinds = 0;
    Databank_GetDatabankTypeAndPropertyList("DB", "BANK", &kinds, &released);
    PropertyValueObject_ReleaseHandle(released);
    Databank_GetDatabankTypeAndPropertyList("DB", "BANK", &kinds, &typeList);
    const std::vector<int> handles = {0, -1, 123456789, released, typeList};

    char text[8] = "keep";
    char* texts[] = {text, text};
    double number = -7;
    int value = 55, size = 55;
    for (int handle : handles) {
        EXPECT_EQ(0, PropertyValueCollectionEnum_MoveNext(handle));
        EXPECT_EQ(0, PropertyValueCollectionEnum_GetItem(handle, &value));
        EXPECT_EQ(0, PropertyValueObject_NumberOfElements(handle));
        EXPECT_EQ(0, PropertyValueObject_Type(handle, &value));
        EXPECT_EQ(0, PropertyValueObject_PropertyId(handle, text, 8));
        EXPECT_EQ(0, PropertyValueObject_ValueText(handle, text, 8));
        EXPECT_EQ(0, PropertyValueObject_ValueConstant(handle, &number));
        EXPECT_EQ(0, PropertyValueObject_ValueVector(handle, &number));
        EXPECT_EQ(0, PropertyValueObject_ValueTextList(handle, texts, 8));
        EXPECT_EQ(0, PropertyValueObject_UnitsOfMeasure(handle, texts, texts, 8));
        EXPECT_EQ(0, CompoundProperties_GetNextUnaryPropertyValue(handle, 0, text, &size, &number));
    }
    EXPECT_EQ(55, value);
    EXPECT_EQ(55, size);
    EXPECT_EQ(-7, number);
    EXPECT_STREQ("keep", text);

    EXPECT_EQ(0, CompoundProperties_GetCompoundProperty(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(0, CompoundProperties_GetAllCompoundProperties(nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(0, CompoundProperties_GetAllUnaryPropertyValues_Vanta(nullptr, nullptr, 0, nullptr));
    EXPECT_EQ(0, PropertyValueObject_ValueTextList(0, nullptr, 8));
    GetPropertyValueFromDbank(nullptr, nullptr, nullptr, nullptr, nullptr, 3, nullptr, 0, 0, nullptr);
    EXPECT_FALSE(GetMolecularStructureString(nullptr, nullptr, nullptr, 1, nullptr));
    PushDataToMoleStructControl(nullptr, nullptr, nullptr, 1, nullptr);
    CompoundProperties_ReleaseHandle(typeList);
}
