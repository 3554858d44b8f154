#include "properties/PropertyWorld.h"

#include <cstring>
#include <string>
#include <vector>

using namespace moru::service;

namespace moru::fake {
namespace {

constexpr double kSentinel = -7.0;

class UnaryPropertyLists : public PropertyWorld {
protected:
    UnaryPropertyLists()
    {
        db->propertyValues->vantaValues[{pure->id, 7}] = {
            {"MW", {18.015}},
            {"PC", {22064000.0}},
            {"PLXANT", {73.649, -7258.2, 0.0, 0.0, -7.3037, 4.1653e-6, 2.0}},
            {"TB", {373.15}},
            {"TC", {647.1}}};
    }

    int List(int compoundIndex = 7)
    {
        int handle = 0;
        count = CompoundProperties_GetAllUnaryPropertyValues_Vanta("DB", "PURE", compoundIndex, &handle);
        return handle;
    }

    struct Entry {
        int result = 0;
        std::string name;
        int size = -1;
        std::vector<double> values;
    };
    static Entry Read(int handle, int position)
    {
        Entry entry;
        char name[MORU_MAX_PROPERTY_NAME_BYTES + 1] = "";
        double values[MORU_MAX_UNARY_ELEMENTS];
        std::fill(std::begin(values), std::end(values), kSentinel);
        entry.result = CompoundProperties_GetNextUnaryPropertyValue(handle, position, name, &entry.size, values);
        entry.name = name;
        entry.values.assign(values, values + (entry.size > 0 ? entry.size : 0));
        return entry;
    }

    int count = -1;
};

TEST_F(UnaryPropertyLists, PositionsRunFromZeroToTheCountThenMinusOne)
{
    const int handle = List();
    ASSERT_EQ(5, count);
    for (int position = 0; position < 5; ++position) EXPECT_EQ(1, Read(handle, position).result) << position;
    EXPECT_EQ(-1, Read(handle, 5).result);
    EXPECT_EQ(0, Read(handle, -1).result);
    EXPECT_EQ(std::vector<std::string>{"GetAllUnaryPropertyValues_Vanta 1|7"}, service.log.Calls());
    CompoundProperties_ReleaseHandle(handle);
}

TEST_F(UnaryPropertyLists, APositionReadTwiceGivesTheSameNameAndValues)
{
    const int handle = List();
    const Entry first = Read(handle, 2), again = Read(handle, 2);
    EXPECT_EQ(first.name, again.name);
    EXPECT_EQ(first.values, again.values);
    EXPECT_EQ("PLXANT", first.name);
    EXPECT_EQ(7, first.size);
    EXPECT_EQ(-7258.2, first.values[1]);
}

TEST_F(UnaryPropertyLists, NothingFromTheServiceIsZeroWithHandleZero)
{
    int handle = 99;
    EXPECT_EQ(0, CompoundProperties_GetAllUnaryPropertyValues_Vanta("DB", "PURE", 8, &handle));
    EXPECT_EQ(0, handle);
    handle = 99;
    EXPECT_EQ(0, CompoundProperties_GetAllUnaryPropertyValues_Vanta("DB", "NOBANK", 7, &handle));
    EXPECT_EQ(0, handle);
    handle = 99;
    EXPECT_EQ(0, CompoundProperties_GetAllUnaryPropertyValues_Vanta(nullptr, "PURE", 7, &handle));
    EXPECT_EQ(99, handle); // a null name fails before the handle is written
}

TEST_F(UnaryPropertyLists, AnAbsentElementFailsAfterTheElementsBeforeIt)
{
    db->propertyValues->vantaValues[{pure->id, 9}] = {{"PLXANT", {1.0, std::nullopt, 3.0}}};
    const int handle = List(9);
    const Entry entry = Read(handle, 0);
    EXPECT_EQ(0, entry.result);
    EXPECT_EQ("PLXANT", entry.name);
    EXPECT_EQ(3, entry.size);
    EXPECT_EQ((std::vector<double>{1.0, kSentinel, kSentinel}), entry.values);
}

TEST_F(UnaryPropertyLists, ValuesBeyondTheDocumentedLimitsAreRefusedUnwritten)
{
    db->propertyValues->vantaValues[{pure->id, 9}] = {{std::string(MORU_MAX_PROPERTY_NAME_BYTES + 1, 'N'), {1.0}},
                                                      {"LONG", NumericElements(MORU_MAX_UNARY_ELEMENTS + 1, 1.0)}};
    const int handle = List(9);
    for (int position = 0; position < 2; ++position) {
        const Entry entry = Read(handle, position);
        EXPECT_EQ(0, entry.result);
        EXPECT_EQ("", entry.name);
        EXPECT_EQ(-1, entry.size);
    }
}

TEST_F(UnaryPropertyLists, AListIsNoValueObjectAndAValueIsNoList)
{
    const int list = List();
    EXPECT_EQ(0, PropertyValueObject_NumberOfElements(list));
    Store(MakeValue(MakeProperty("TB", 1), NumericElements{373.15}));
    EXPECT_EQ(0, Read(ValueHandle("TB"), 0).result);
}

TEST_F(UnaryPropertyLists, NullOutputsFail)
{
    const int handle = List();
    char name[64];
    int size = 0;
    double values[8];
    EXPECT_EQ(0, CompoundProperties_GetNextUnaryPropertyValue(handle, 0, nullptr, &size, values));
    EXPECT_EQ(0, CompoundProperties_GetNextUnaryPropertyValue(handle, 0, name, nullptr, values));
    EXPECT_EQ(0, CompoundProperties_GetNextUnaryPropertyValue(handle, 0, name, &size, nullptr));
    EXPECT_EQ(0, CompoundProperties_GetNextUnaryPropertyValue(0, 0, name, &size, values));
}

class TypedFetch : public PropertyWorld {
protected:
    TypedFetch()
    {
        Store(MakeValue(MakeProperty("FOUR", 1), NumericElements{1.0, 2.0, std::nullopt, 4.0}));
        Store(MakeValue(MakeProperty("FAMILY", 2), std::string("alcohol")));
        std::fill(std::begin(retvals), std::end(retvals), kSentinel);
    }

    int Fetch(const char* property, int valueType, int capacity)
    {
        int success = 55;
        GetPropertyValueFromDbank("DB", "PURE", "NAME", "WATER", property, valueType, retvals, capacity, 8, &success);
        return success;
    }

    double retvals[10];
};

TEST_F(TypedFetch, AValueLargerThanTheArrayWritesNothing)
{
    EXPECT_EQ(0, Fetch("FOUR", 3, 3));
    EXPECT_EQ(kSentinel, retvals[0]);
}

TEST_F(TypedFetch, AnArrayExactlyAsLongAsTheValueTakesItWhole)
{
    EXPECT_EQ(1, Fetch("FOUR", 3, 4));
    EXPECT_EQ((std::vector<double>{1.0, 2.0, 1e35, 4.0}), std::vector<double>(retvals, retvals + 4));
    EXPECT_EQ(kSentinel, retvals[4]);
}

TEST_F(TypedFetch, AnArrayLargerThanTheValueKeepsItsRest)
{
    EXPECT_EQ(1, Fetch("FOUR", 3, 10));
    EXPECT_EQ(1.0, retvals[0]);
    EXPECT_EQ(1e35, retvals[2]); // absent: the marker, never a plausible 0
    EXPECT_EQ(4.0, retvals[3]);
    for (int i = 4; i < 10; ++i) EXPECT_EQ(kSentinel, retvals[i]);
    EXPECT_EQ(std::vector<std::string>{"GetUnaryPropertyValue PURE WATER|NAME|FOUR"}, service.log.Calls());
}

TEST_F(TypedFetch, OnlyDoublesOfNumericPropertiesAreFetched)
{
    EXPECT_EQ(0, Fetch("FOUR", 2, 10));
    EXPECT_EQ(0, Fetch("FAMILY", 3, 10));
    EXPECT_EQ(0, Fetch("FOUR", 3, 0));
    EXPECT_EQ(kSentinel, retvals[0]);
}

TEST_F(TypedFetch, MissingValuesAndNamesLeaveSuccessZero)
{
    EXPECT_EQ(0, Fetch("TB", 3, 10));
    int success = 55;
    GetPropertyValueFromDbank("DB", nullptr, "NAME", "WATER", "FOUR", 3, retvals, 10, 8, &success);
    EXPECT_EQ(0, success);
    success = 55;
    GetPropertyValueFromDbank("DB", "PURE", "NAME", "WATER", "FOUR", 3, nullptr, 10, 8, &success);
    EXPECT_EQ(0, success);
    GetPropertyValueFromDbank("DB", "PURE", "NAME", "WATER", "FOUR", 3, retvals, 10, 8, nullptr);
    EXPECT_EQ(kSentinel, retvals[0]);
    service.log.failing.insert("GetUnaryPropertyValue");
    EXPECT_EQ(0, Fetch("FOUR", 3, 10));
}

} // namespace
} // namespace moru::fake
