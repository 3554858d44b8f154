// A failed call of the binary families says why in the trace.

#include "binary/BinaryWorld.h"
#include "fake/TraceCapture.h"

#include <string>
#include <vector>

using namespace moru::service;

namespace moru::fake {
namespace {

class BinaryTrace : public BinaryWorld {
protected:
    int GetAll(std::vector<const char*> banks, std::vector<const char*> properties, int type, int& handle)
    {
        const char* working[] = {"A", "B", nullptr};
        banks.push_back(nullptr);
        properties.push_back(nullptr);
        int condensed = 0;
        return BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(
            working, "NAME", banks.data(), properties.data(), &type, &condensed, &handle);
    }

    TraceCapture trace;
};

TEST_F(BinaryTrace, ValueSetsNameTheEntryThatWasRefused)
{
    const char* call = "BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects";
    int handle = 0;
    EXPECT_EQ(GetAll({"A.A1"}, {"NRTL", "nrtl"}, 1, handle), 0);
    EXPECT_EQ(trace.ReasonOf(call), "property nrtl is named twice");
    EXPECT_EQ(GetAll({"A.A1", "A"}, {"NRTL"}, 1, handle), 0);
    EXPECT_EQ(trace.ReasonOf(call), "databank entry 2 has no full stop");
    EXPECT_EQ(GetAll({"A.NOPE"}, {"NRTL"}, 1, handle), 0);
    EXPECT_EQ(trace.ReasonOf(call), "databank A.NOPE is not listed");
    EXPECT_EQ(GetAll({"A.A1", "a.a1"}, {"NRTL"}, 1, handle), 0);
    EXPECT_EQ(trace.ReasonOf(call), "databank entry 2 names databank a.a1 again");

    dbA->BinaryValues().onGetAll = [&](auto&, auto&, auto&, bool, int) {
        return BinaryPropertyValueList{MakeBinaryValue(a1, "NRTL", 1, {"A", "Z"}, {1}),
                                       MakeBinaryValue(a1, "NRTL", 1, {"A", "B"}, {2})};
    };
    ASSERT_EQ(GetAll({"A.A1"}, {"NRTL"}, 1, handle), 1);
    int i = 0, flag = 0;
    double numbers[4];
    EXPECT_EQ(BinaryPropertyValueObjects_GetNextPropertyValueObject(handle, &i, &i, &i, &i, &i, &i, &i, &flag, numbers),
              0);
    EXPECT_EQ(trace.ReasonOf("BinaryPropertyValueObjects_GetNextPropertyValueObject"),
              "entry 1 of 2 names compound Z, which is not in the working list");
    EXPECT_EQ(BinaryPropertyValueObjects_GetNextPropertyValueObject_Vanta(handle, &i, &i, &i, &i, &i, &i, &i, numbers),
              0);
    EXPECT_EQ(trace.ReasonOf("BinaryPropertyValueObjects_GetNextPropertyValueObject_Vanta"),
              "entry 1 of 2 is no engine pair value");
    BinaryPropertyValueObjects_ReleaseHandle(handle);
}

TEST_F(BinaryTrace, ParameterSetsAndRegressionInformationSayWhy)
{
    int handle = 0, flag = 0;
    EXPECT_EQ(InteractionParameters_GetBinaryIp("B", "NOPE", "NRTL", "E", "W", "NAME", &flag, &handle), 0);
    EXPECT_EQ(trace.ReasonOf("InteractionParameters_GetBinaryIp"), "databank B.NOPE is not listed");

    EXPECT_EQ(BinaryPropertyValueObjects_GetRegInfoObject("A", "NRTL", "E", "W", "NAME", &handle), 0);
    EXPECT_EQ(trace.ReasonOf("BinaryPropertyValueObjects_GetRegInfoObject"), "the databank entry has no full stop");
    ASSERT_EQ(BinaryPropertyValueObjects_GetRegInfoObject("A.A1", "NRTL", "E", "W", "NAME", &handle), 1);

    // A regression information's handle where a parameter set is wanted.
    double numbers[4];
    EXPECT_EQ(InteractionParameterValueObject_Parameters(handle, numbers), 0);
    const std::string wrongKind = trace.ReasonOf("InteractionParameterValueObject_Parameters");
    EXPECT_EQ(wrongKind.rfind("handle " + std::to_string(handle) + " is a ", 0), 0u) << wrongKind;
    BinaryPropertyValueObjects_ReleaseHandle(handle);
}

} // namespace
} // namespace moru::fake
