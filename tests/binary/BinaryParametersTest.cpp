#include "binary/BinaryWorld.h"

#include <vector>

using namespace moru::fake;

namespace {
class BinaryParameters : public BinaryWorld {
protected:
    int Fetch(const char* model, int condensed, int& handle, const char* bank = "a1")
    {
        return InteractionParameters_GetBinaryIp("a", bank, model, "ETHANOL", "WATER", "NAME", &condensed, &handle);
    }
};
} // namespace

TEST_F(BinaryParameters, PassesTheModelAfterTheIdentifierTypeAndAnyNonZeroFlagAsCondensed)
{
    int handle = -1;
    EXPECT_EQ(Fetch("NRTL", 2, handle), 1);
    EXPECT_EQ(Fetch(nullptr, 0, handle), 1);
    EXPECT_EQ(service.log.Calls(),
              (std::vector<std::string>{"GetBinaryPropertyValue A[A1] ETHANOL|WATER|NAME|NRTL|condensed",
                                        "GetBinaryPropertyValue A[A1] ETHANOL|WATER|NAME||full"}));
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(InteractionParameterValueObject_NumberOfElements(handle), 0);
}

TEST_F(BinaryParameters, DeliversEveryElementWithAbsentOnesAsTheMissingNumber)
{
    dbA->BinaryValues().onGetBinaryPropertyValue = [&](auto&, auto&, auto&, auto&, auto&, bool) {
        return MakeBinaryValue(a1, "NRTL", 1, {"ETHANOL", "WATER"}, {-253.88, std::nullopt, 0.3});
    };
    int handle = 0;
    ASSERT_EQ(Fetch("NRTL", 0, handle), 1);
    ASSERT_NE(handle, 0);
    EXPECT_EQ(InteractionParameterValueObject_NumberOfElements(handle), 3);
    EXPECT_EQ(InteractionParameterValueObject_Parameters(handle, nullptr), 0);
    double parameters[4] = {7, 7, 7, 7};
    ASSERT_EQ(InteractionParameterValueObject_Parameters(handle, parameters), 1);
    EXPECT_EQ(std::vector<double>(parameters, parameters + 4), (std::vector<double>{-253.88, 1e35, 0.3, 7}));
    InteractionParameterValueObject_ReleaseHandle(handle);
    EXPECT_EQ(InteractionParameterValueObject_NumberOfElements(handle), 0);
    EXPECT_EQ(InteractionParameterValueObject_Parameters(handle, parameters), 0);
}

TEST_F(BinaryParameters, FailsWithHandleZeroOnMissingArgumentsUnknownDatabanksAndServiceErrors)
{
    int handle = -1, condensed = 0;
    EXPECT_EQ(InteractionParameters_GetBinaryIp("A", "A1", "NRTL", "X", "Y", "NAME", &condensed, nullptr), 0);
    EXPECT_EQ(InteractionParameters_GetBinaryIp(nullptr, "A1", "NRTL", "X", "Y", "NAME", &condensed, &handle), 0);
    EXPECT_EQ(handle, 0);
    handle = -1;
    EXPECT_EQ(InteractionParameters_GetBinaryIp("A", "A1", "NRTL", "X", "Y", "NAME", nullptr, &handle), 0);
    EXPECT_EQ(handle, 0);
    handle = -1;
    EXPECT_EQ(Fetch("NRTL", 0, handle, "B1"), 0); // B1 belongs to database B
    EXPECT_EQ(handle, 0);
    EXPECT_TRUE(service.log.Calls().empty());
    service.log.failing.insert("GetBinaryPropertyValue");
    handle = -1;
    EXPECT_EQ(Fetch("NRTL", 0, handle), 0);
    EXPECT_EQ(handle, 0);
}

TEST_F(BinaryParameters, ReadsNothingFromAHandleOfAnotherKind)
{
    const char* working[] = {"A", nullptr};
    const char* banks[] = {"A.A1", nullptr};
    const char* properties[] = {"NRTL", nullptr};
    int type = 1, condensed = 0, sets = 0;
    ASSERT_EQ(BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(working, "NAME", banks, properties, &type,
                                                                          &condensed, &sets),
              1);
    double parameters[1] = {7};
    EXPECT_EQ(InteractionParameterValueObject_NumberOfElements(sets), 0);
    EXPECT_EQ(InteractionParameterValueObject_Parameters(sets, parameters), 0);
    EXPECT_EQ(parameters[0], 7);
    BinaryPropertyValueObjects_ReleaseHandle(sets);
}
