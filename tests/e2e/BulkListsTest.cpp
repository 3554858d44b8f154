#include "HostSession.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

using namespace moru::host;

namespace {

class SampleBulkLists : public ConnectedSuite<SampleDatabases> {
protected:
    void TearDown() override { MORU_EXPORT_OF(Optimized_UnInitializeAllLists)(); }
};

struct Found {
    int index = -1;
    char database[20] = {};
    char name[256] = {}, alias[256] = {}, cas[256] = {};
    double compoundClass = -1, kelda = -1, plx = -1;
};

TEST_F(SampleBulkLists, TheEngineFindsItsCompoundsAndPropertiesByPosition)
{
    const char* banks[] = {"sample.PURE", "SAMPLE.NRTL-SAMPLE", nullptr};
    const char* compounds[] = {"7732-18-5", "no such compound", "2-Aminoethanol", "7732-18-5", ""};
    const char* properties[] = {"NRTL", "MW", "KelIdx", "NOT-A-PROPERTY", nullptr};
    ASSERT_EQ(1, MORU_EXPORT_OF(Optimized_InitializeAllLists)(banks, compounds, properties));

    int handle = 0;
    ASSERT_EQ(3, MORU_EXPORT_OF(Optimized_GetAllCompoundsIdentifiers)(&handle));
    std::map<int, Found> byPosition;
    for (int i = 0; i < 3; ++i) {
        Found f;
        int position = -1;
        ASSERT_EQ(1, MORU_EXPORT_OF(Optimized_GetNextCompoundIdentifier)(handle, i, &position, f.database, &f.index,
                                                                         f.name, f.alias, f.cas, &f.compoundClass,
                                                                         &f.kelda, &f.plx));
        byPosition[position] = f;
    }
    Found none;
    int position = -1;
    EXPECT_EQ(0, MORU_EXPORT_OF(Optimized_GetNextCompoundIdentifier)(handle, 3, &position, none.database, &none.index,
                                                                     none.name, none.alias, none.cas,
                                                                     &none.compoundClass, &none.kelda, &none.plx));
    EXPECT_EQ(-1, MORU_EXPORT_OF(Optimized_GetNextCompoundIdentifier)(handle, 4, &position, none.database, &none.index,
                                                                      none.name, none.alias, none.cas,
                                                                      &none.compoundClass, &none.kelda, &none.plx));
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    ASSERT_EQ(byPosition.size(), 3u);
    EXPECT_STREQ(byPosition[0].database, "SAMPLE");
    EXPECT_STREQ(byPosition[0].cas, "7732-18-5");
    EXPECT_STREQ(byPosition[3].name, byPosition[0].name);
    EXPECT_EQ(byPosition[3].index, byPosition[0].index);
    EXPECT_STREQ(byPosition[2].name, "2-Aminoethanol");
    EXPECT_STREQ(byPosition[2].cas, ""); // the sample has no CAS number for it
    EXPECT_EQ(byPosition[2].kelda, 0.0);

    ASSERT_EQ(2, MORU_EXPORT_OF(Optimized_GetAllProperties)(&handle));
    std::map<int, int> elements;
    for (int i = 0; i < 2; ++i) {
        int property = -1, count = -1;
        ASSERT_EQ(1, MORU_EXPORT_OF(Optimized_GetNextProperty)(handle, i, &property, &count));
        elements[property] = count;
    }
    int property = -1, count = -1;
    EXPECT_EQ(-1, MORU_EXPORT_OF(Optimized_GetNextProperty)(handle, 2, &property, &count));
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    EXPECT_EQ(elements, (std::map<int, int>{{0, 2}, {1, 1}}));
}

TEST_F(SampleBulkLists, UnknownDatabanksAndOutOfOrderCallsGiveDefinedResults)
{
    const char* unknown[] = {"SAMPLE.NO-SUCH-BANK", nullptr};
    const char* noStop[] = {"SAMPLE", nullptr};
    const char* compounds[] = {"7732-18-5", nullptr};
    const char* properties[] = {"MW", nullptr};
    EXPECT_EQ(0, MORU_EXPORT_OF(Optimized_InitializeAllLists)(unknown, compounds, properties));
    EXPECT_EQ(0, MORU_EXPORT_OF(Optimized_InitializeAllLists)(noStop, compounds, properties));
    EXPECT_EQ(0, MORU_EXPORT_OF(Optimized_InitializeAllLists)(nullptr, compounds, properties));
    int handle = -1;
    EXPECT_EQ(0, MORU_EXPORT_OF(Optimized_GetAllCompoundsIdentifiers)(&handle));
    EXPECT_EQ(0, handle);
    EXPECT_EQ(0, MORU_EXPORT_OF(Optimized_GetAllProperties)(&handle));
    EXPECT_EQ(1, MORU_EXPORT_OF(Optimized_UnInitializeAllLists)());
}

} // namespace
