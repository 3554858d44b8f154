#include "binary/BinaryWorld.h"

#include <vector>

using namespace moru::fake;

// Every binary export, given nulls, handle 0, released handles and handles of other kinds: each
// gives its failure value and nothing crashes (the sanitizer build watches for stray writes).
TEST_F(BinaryWorld, EveryBinaryExportSurvivesNullsAndForeignHandles)
{
    dbA->BinaryValues().onGetBinaryPropertyValue = [&](auto&, auto&, auto&, auto&, auto&, bool) {
        return MakeBinaryValue(a1, "NRTL", 1, {"E", "W"}, {1, 2});
    };
    int flag = 0, parameterSet = 0, released = 0, regression = 0;
    ASSERT_EQ(InteractionParameters_GetBinaryIp("A", "A1", "NRTL", "E", "W", "NAME", &flag, &parameterSet), 1);
    ASSERT_EQ(InteractionParameters_GetBinaryIp("A", "A1", "NRTL", "E", "W", "NAME", &flag, &released), 1);
    InteractionParameterValueObject_ReleaseHandle(released);
    ASSERT_EQ(BinaryPropertyValueObjects_GetRegInfoObject("A.A1", "NRTL", "E", "W", "NAME", &regression), 1);
    const std::vector<int> foreign = {0, -1, 123456789, released, parameterSet, regression};

    const char* list[] = {"A", nullptr};
    const char* banks[] = {"A.A1", nullptr};
    int i = 0, handle = -1;
    double numbers[8];
    char text[256];
    EXPECT_EQ(InteractionParameters_GetBinaryIp(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              0);
    EXPECT_EQ(BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(nullptr, nullptr, nullptr, nullptr, nullptr,
                                                                          nullptr, nullptr),
              0);
    for (const auto& arrays : std::vector<std::vector<const char**>>{
             {nullptr, banks, list}, {list, nullptr, list}, {list, banks, nullptr}}) {
        EXPECT_EQ(BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(arrays[0], nullptr, arrays[1], arrays[2],
                                                                              &i, &flag, &handle),
                  0);
        EXPECT_EQ(handle, 0);
    }
    EXPECT_EQ(BinaryPropertyValueObjects_GetRegInfoObject(nullptr, nullptr, nullptr, nullptr, nullptr, &handle), 0);
    for (int h : foreign) {
        if (h == parameterSet) {
            EXPECT_EQ(InteractionParameterValueObject_NumberOfElements(h), 2);
        } else {
            EXPECT_EQ(InteractionParameterValueObject_NumberOfElements(h), 0);
            EXPECT_EQ(InteractionParameterValueObject_Parameters(h, numbers), 0);
        }
        EXPECT_EQ(BinaryPropertyValueObjects_NumberOfElements(h), 0);
        EXPECT_EQ(BinaryPropertyValueObjects_GetNextPropertyValueObject(h, &i, &i, &i, &i, &i, &i, &i, &i, numbers), 0);
        EXPECT_EQ(BinaryPropertyValueObjects_GetNextPropertyValueObject_Vanta(h, &i, &i, &i, &i, &i, &i, &i, numbers),
                  0);
        if (h != regression) {
            EXPECT_EQ(BinaryPropertyValueObjects_GetRegInfoObjectDetails(h, &i, text, text, text, text, text, text,
                                                                         text, text, text, text, text, text, text, text,
                                                                         text, text, 256, 256, 256),
                      0);
        }
    }
    // Sizes below one write nothing, not even a NUL.
    char untouched[4] = "abc";
    EXPECT_EQ(BinaryPropertyValueObjects_GetRegInfoObjectDetails(regression, &i, untouched, untouched, untouched,
                                                                 untouched, untouched, untouched, untouched, untouched,
                                                                 untouched, untouched, untouched, untouched, untouched,
                                                                 untouched, untouched, untouched, 0, -5, 0),
              1);
    EXPECT_STREQ(untouched, "abc");
    for (int h : foreign) BinaryPropertyValueObjects_ReleaseHandle(h);
}
