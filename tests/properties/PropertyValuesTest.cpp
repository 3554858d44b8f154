#include "properties/PropertyWorld.h"

#include <cstring>
#include <string>
#include <vector>

using namespace moru::service;

namespace moru::fake {
namespace {

using PropertyValueObjects = PropertyWorld;

constexpr double kSentinel = -7.0;

TEST_F(PropertyValueObjects, AValueTheServiceLacksIsOneWithHandleZero)
{
    int handle = 99;
    EXPECT_EQ(1, CompoundProperties_GetCompoundProperty("DB", "PURE", "WATER", "NAME", "TB", &handle));
    EXPECT_EQ(0, handle);
    EXPECT_EQ(std::vector<std::string>{"GetUnaryPropertyValue PURE WATER|NAME|TB"}, service.log.Calls());
}

TEST_F(PropertyValueObjects, NullCompoundArgumentsReachTheServiceAsEmptyTexts)
{
    int handle = 99;
    EXPECT_EQ(1, CompoundProperties_GetCompoundProperty("DB", "PURE", nullptr, nullptr, nullptr, &handle));
    EXPECT_EQ(std::vector<std::string>{"GetUnaryPropertyValue PURE ||"}, service.log.Calls());
}

TEST_F(PropertyValueObjects, NamesThatDoNotResolveFailWithTheHandleCleared)
{
    int handle = 99;
    EXPECT_EQ(0, CompoundProperties_GetCompoundProperty(nullptr, "PURE", "WATER", "NAME", "TB", &handle));
    EXPECT_EQ(0, handle);
    handle = 99;
    EXPECT_EQ(0, CompoundProperties_GetCompoundProperty("DB", "OTHER", "WATER", "NAME", "TB", &handle));
    EXPECT_EQ(0, handle);
    EXPECT_EQ(0, CompoundProperties_GetCompoundProperty("DB", "PURE", "WATER", "NAME", "TB", nullptr));
    EXPECT_TRUE(service.log.Calls().empty());
}

TEST_F(PropertyValueObjects, AServiceFailureIsZero)
{
    service.log.failing.insert("GetUnaryPropertyValue");
    int handle = 99;
    EXPECT_EQ(0, CompoundProperties_GetCompoundProperty("DB", "PURE", "WATER", "NAME", "TB", &handle));
    EXPECT_EQ(0, handle);
}

TEST_F(PropertyValueObjects, AbsentNumbersReadAsTheMissingMarker)
{
    Store(MakeValue(MakeProperty("PLXANT", 1), NumericElements{std::nullopt, 2.5, std::nullopt}));
    const int handle = ValueHandle("PLXANT");
    EXPECT_EQ(3, PropertyValueObject_NumberOfElements(handle));
    double values[4] = {kSentinel, kSentinel, kSentinel, kSentinel};
    EXPECT_EQ(1, PropertyValueObject_ValueVector(handle, values));
    EXPECT_EQ(1e35, values[0]);
    EXPECT_EQ(2.5, values[1]);
    EXPECT_EQ(1e35, values[2]);
    EXPECT_EQ(kSentinel, values[3]);
    double constant = kSentinel;
    EXPECT_EQ(1, PropertyValueObject_ValueConstant(handle, &constant));
    EXPECT_EQ(1e35, constant);
    PropertyValueObject_ReleaseHandle(handle);
}

TEST_F(PropertyValueObjects, TypeMinusOneHasNoElementsAndTheArrayReadersWriteNothing)
{
    Store(MakeValue(MakeProperty("ODD", -1), NumericElements{1.0, 2.0}));
    Store(MakeValue(MakeProperty("ODDTEXTS", -1), TextList{"a", "b"}));
    const int numbers = ValueHandle("ODD");
    const int texts = ValueHandle("ODDTEXTS");
    EXPECT_EQ(0, PropertyValueObject_NumberOfElements(numbers));
    EXPECT_EQ(0, PropertyValueObject_NumberOfElements(texts));
    int type = 0;
    EXPECT_EQ(1, PropertyValueObject_Type(numbers, &type));
    EXPECT_EQ(-1, type);

    double values[2] = {kSentinel, kSentinel};
    PropertyValueObject_ValueVector(numbers, values);
    EXPECT_EQ(kSentinel, values[0]);
    char buffer[8] = "keep";
    char* list[] = {buffer};
    PropertyValueObject_ValueTextList(texts, list, sizeof buffer);
    EXPECT_STREQ("keep", buffer);
}

TEST_F(PropertyValueObjects, ReadersRefuseValuesOfAnotherShape)
{
    Store(MakeValue(MakeProperty("TB", 1), NumericElements{373.15}));
    Store(MakeValue(MakeProperty("FAMILY", 2), std::string("alcohol")));
    const int number = ValueHandle("TB");
    const int text = ValueHandle("FAMILY");
    char buffer[32] = "keep";
    EXPECT_EQ(0, PropertyValueObject_ValueText(number, buffer, sizeof buffer));
    double value = kSentinel;
    EXPECT_EQ(0, PropertyValueObject_ValueConstant(text, &value));
    EXPECT_EQ(kSentinel, value);
    EXPECT_EQ(0, PropertyValueObject_ValueVector(text, &value));
    EXPECT_EQ(0, PropertyValueObject_NumberOfElements(text));
    EXPECT_EQ(1, PropertyValueObject_ValueText(text, buffer, sizeof buffer));
    EXPECT_STREQ("alcohol", buffer);
}

TEST_F(PropertyValueObjects, AnArrayWithoutALeadingNumberFailsTheConstantWithTheMarkerLeft)
{
    Store(MakeValue(MakeProperty("EMPTY", 1), NumericElements{}));
    Store(MakeValue(MakeProperty("SYNONYMS", 3), TextList{"one"}));
    double value = kSentinel;
    EXPECT_EQ(0, PropertyValueObject_ValueConstant(ValueHandle("EMPTY"), &value));
    EXPECT_EQ(1e35, value);
    value = kSentinel;
    EXPECT_EQ(0, PropertyValueObject_ValueConstant(ValueHandle("SYNONYMS"), &value));
    EXPECT_EQ(1e35, value);
}

TEST_F(PropertyValueObjects, ATextThatDoesNotFitFailsWithAnEmptyBuffer)
{
    Store(MakeValue(MakeProperty("FIFTEEN_LETTERS", 2), std::string("0123456789abcde")));
    const int handle = ValueHandle("FIFTEEN_LETTERS");
    char name[16];
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(1, PropertyValueObject_PropertyId(handle, name, 16));
    EXPECT_STREQ("FIFTEEN_LETTERS", name);
    EXPECT_EQ(0, PropertyValueObject_PropertyId(handle, name, 15));
    EXPECT_STREQ("", name);
    char text[15] = "keep";
    EXPECT_EQ(0, PropertyValueObject_ValueText(handle, text, sizeof text));
    EXPECT_STREQ("", text);
}

TEST_F(PropertyValueObjects, TextListsNeedEveryBufferBeforeAnythingIsWritten)
{
    Store(MakeValue(MakeProperty("SYNONYMS", 3), TextList{"one", "two", "three"}));
    const int handle = ValueHandle("SYNONYMS");
    ASSERT_EQ(3, PropertyValueObject_NumberOfElements(handle));
    char first[8] = "keep", second[8] = "keep", third[8] = "keep";
    char* missing[] = {first, nullptr, third};
    EXPECT_EQ(0, PropertyValueObject_ValueTextList(handle, missing, 8));
    EXPECT_STREQ("keep", first);
    char* all[] = {first, second, third};
    EXPECT_EQ(1, PropertyValueObject_ValueTextList(handle, all, 8));
    EXPECT_STREQ("one", first);
    EXPECT_STREQ("three", third);
    EXPECT_EQ(0, PropertyValueObject_ValueTextList(handle, all, 5)); // "three" needs 6 bytes
    EXPECT_STREQ("", third);
}

TEST_F(PropertyValueObjects, UnitRowsAreCountedAndWrittenInPairs)
{
    Store(MakeValue(MakeProperty("PLXANT", 1, {{"PRESSURE", "Pa"}, {"TEMPERATURE", "K"}, {"TEMPERATURE", "K"}}),
                    NumericElements{1.0}));
    Store(MakeValue(MakeProperty("DIMENSIONLESS", 1), NumericElements{1.0}));
    char rows[4][16] = {"r", "r", "r", "keep"}, units[4][16] = {"u", "u", "u", "keep"};
    char* rowNames[] = {rows[0], rows[1], rows[2], rows[3]};
    char* defaults[] = {units[0], units[1], units[2], units[3]};
    EXPECT_EQ(3, PropertyValueObject_UnitsOfMeasure(ValueHandle("PLXANT"), rowNames, defaults, 16));
    EXPECT_STREQ("PRESSURE", rows[0]);
    EXPECT_STREQ("Pa", units[0]);
    EXPECT_STREQ("K", units[2]);
    EXPECT_STREQ("keep", rows[3]);
    EXPECT_EQ(0, PropertyValueObject_UnitsOfMeasure(ValueHandle("DIMENSIONLESS"), rowNames, defaults, 16));
}

TEST_F(PropertyValueObjects, UnitRowsBeyondTheLimitOrWithoutBuffersWriteNothing)
{
    std::vector<UnitRow> many(MORU_MAX_UNIT_ROWS + 1, UnitRow{"ROW", "U"});
    Store(MakeValue(MakeProperty("MANY", 1, many), NumericElements{1.0}));
    Store(MakeValue(MakeProperty("TWO", 1, {{"A", "a"}, {"B", "b"}}), NumericElements{1.0}));
    char row[8] = "keep", unit[8] = "keep";
    std::vector<char*> rowNames(MORU_MAX_UNIT_ROWS + 1, row), defaults(MORU_MAX_UNIT_ROWS + 1, unit);
    EXPECT_EQ(0, PropertyValueObject_UnitsOfMeasure(ValueHandle("MANY"), rowNames.data(), defaults.data(), 8));
    EXPECT_STREQ("keep", row);
    char* oneRow[] = {row, nullptr};
    char* oneUnit[] = {unit, unit};
    EXPECT_EQ(0, PropertyValueObject_UnitsOfMeasure(ValueHandle("TWO"), oneRow, oneUnit, 8));
    EXPECT_STREQ("keep", row);
}

TEST_F(PropertyValueObjects, AValueWithoutAPropertyFailsEveryReader)
{
    Store(MakeValue(MakeProperty("TB", 1), NumericElements{1.0}));
    db->propertyValues->values[FakePropertyValueManager::Key("PURE", "WATER")]["TB"]->Property = nullptr;
    const int handle = ValueHandle("TB");
    int type = 5;
    EXPECT_EQ(0, PropertyValueObject_Type(handle, &type));
    EXPECT_EQ(0, PropertyValueObject_NumberOfElements(handle));
    double value = 0;
    EXPECT_EQ(0, PropertyValueObject_ValueVector(handle, &value));
}

TEST_F(PropertyValueObjects, HandleZeroAndNullOutputsFail)
{
    double value = 0;
    int type = 0;
    char text[8];
    EXPECT_EQ(0, PropertyValueObject_NumberOfElements(0));
    EXPECT_EQ(0, PropertyValueObject_Type(0, &type));
    EXPECT_EQ(0, PropertyValueObject_ValueConstant(0, &value));
    EXPECT_EQ(0, PropertyValueObject_ValueText(0, text, 8));
    Store(MakeValue(MakeProperty("TB", 1), NumericElements{1.0}));
    const int handle = ValueHandle("TB");
    EXPECT_EQ(0, PropertyValueObject_Type(handle, nullptr));
    EXPECT_EQ(0, PropertyValueObject_ValueVector(handle, nullptr));
    EXPECT_EQ(0, PropertyValueObject_ValueConstant(handle, nullptr));
    EXPECT_EQ(0, PropertyValueObject_UnitsOfMeasure(handle, nullptr, nullptr, 8));
    PropertyValueObject_ReleaseHandle(0);
    PropertyValueCollectionEnum_ReleaseHandle(0);
}

class PropertyValueEnumeration : public PropertyWorld {
protected:
    PropertyValueEnumeration()
    {
        db->compounds->onGetCompound = [](const std::string&, const IIdentifier&) {
            return std::make_shared<FakeCompound>(7);
        };
        db->propertyValues->allValues[FakePropertyValueManager::Key("PURE", "WATER")] = {
            MakeValue(MakeProperty("MW", 1), NumericElements{18.015}),
            MakeValue(MakeProperty("TB", 1), NumericElements{373.15})};
    }

    int Enumerator()
    {
        int enumerator = 0;
        EXPECT_EQ(1, CompoundProperties_GetAllCompoundProperties("DB", "PURE", "WATER", "NAME", &enumerator));
        return enumerator;
    }

    static std::string NameOf(int valueHandle)
    {
        char name[32] = "";
        PropertyValueObject_PropertyId(valueHandle, name, sizeof name);
        return name;
    }
};

TEST_F(PropertyValueEnumeration, WalksTheValuesInTheServicesOrder)
{
    const int enumerator = Enumerator();
    std::vector<std::string> names;
    while (PropertyValueCollectionEnum_MoveNext(enumerator) == 1) {
        int value = 0;
        ASSERT_EQ(1, PropertyValueCollectionEnum_GetItem(enumerator, &value));
        names.push_back(NameOf(value));
        PropertyValueObject_ReleaseHandle(value);
    }
    EXPECT_EQ((std::vector<std::string>{"MW", "TB"}), names);
    EXPECT_EQ(0, PropertyValueCollectionEnum_MoveNext(enumerator));
    int value = 55;
    EXPECT_EQ(0, PropertyValueCollectionEnum_GetItem(enumerator, &value));
    EXPECT_EQ(55, value);
    PropertyValueCollectionEnum_ReleaseHandle(enumerator);
}

TEST_F(PropertyValueEnumeration, MakesTheCompoundTheWorkingSetBeforeAsking)
{
    Enumerator();
    EXPECT_EQ((std::vector<std::string>{"GetIdentifier DB NAME", "GetCompound DB WATER|NAME",
                                        "SetWorkingCompounds DB [7]", "GetAllUnaryPropertyValues PURE WATER|NAME"}),
              service.log.Calls());
}

TEST_F(PropertyValueEnumeration, AnUnknownIdentifierTypeSetsANullWorkingCompound)
{
    db->compounds->onGetIdentifier = [](const std::string&) { return IdentifierPtr(); };
    Enumerator();
    EXPECT_EQ((std::vector<std::string>{"GetIdentifier DB NAME", "SetWorkingCompounds DB [<null>]",
                                        "GetAllUnaryPropertyValues PURE WATER|NAME"}),
              service.log.Calls());
}

TEST_F(PropertyValueEnumeration, ReadingBeforeTheFirstMoveLeavesTheHandle)
{
    const int enumerator = Enumerator();
    int value = 55;
    EXPECT_EQ(0, PropertyValueCollectionEnum_GetItem(enumerator, &value));
    EXPECT_EQ(55, value);
    EXPECT_EQ(0, PropertyValueCollectionEnum_GetItem(enumerator, nullptr));
    EXPECT_EQ(0, PropertyValueCollectionEnum_MoveNext(0));
}

TEST_F(PropertyValueEnumeration, ValueHandlesOutliveTheirEnumerator)
{
    const int enumerator = Enumerator();
    ASSERT_EQ(1, PropertyValueCollectionEnum_MoveNext(enumerator));
    int first = 0, again = 0;
    ASSERT_EQ(1, PropertyValueCollectionEnum_GetItem(enumerator, &first));
    ASSERT_EQ(1, PropertyValueCollectionEnum_GetItem(enumerator, &again));
    EXPECT_NE(first, again);
    PropertyValueCollectionEnum_ReleaseHandle(enumerator);
    PropertyValueObject_ReleaseHandle(again);
    EXPECT_EQ("MW", NameOf(first));
    EXPECT_EQ(1, PropertyValueObject_NumberOfElements(first));
    PropertyValueObject_ReleaseHandle(first);
}

TEST_F(PropertyValueEnumeration, NoCollectionIsZeroWithTheHandleCleared)
{
    int enumerator = 99;
    EXPECT_EQ(0, CompoundProperties_GetAllCompoundProperties("DB", "PURE", "STEAM", "NAME", &enumerator));
    EXPECT_EQ(0, enumerator);
    enumerator = 99;
    EXPECT_EQ(0, CompoundProperties_GetAllCompoundProperties("DB", nullptr, "WATER", "NAME", &enumerator));
    EXPECT_EQ(0, enumerator);
}

TEST_F(PropertyValueEnumeration, AnEnumeratorIsNoValueAndAValueIsNoEnumerator)
{
    const int enumerator = Enumerator();
    EXPECT_EQ(0, PropertyValueObject_NumberOfElements(enumerator));
    ASSERT_EQ(1, PropertyValueCollectionEnum_MoveNext(enumerator));
    int value = 0;
    ASSERT_EQ(1, PropertyValueCollectionEnum_GetItem(enumerator, &value));
    EXPECT_EQ(0, PropertyValueCollectionEnum_MoveNext(value));
}

} // namespace
} // namespace moru::fake
