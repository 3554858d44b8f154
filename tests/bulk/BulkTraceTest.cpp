// A failed bulk call writes why to the trace.

#include "bulk/BulkWorld.h"
#include "fake/TraceCapture.h"

#include <string>

using namespace moru::service;

using namespace moru;
using namespace moru::fake;

namespace {

class BulkTrace : public BulkWorld {
protected:
    BulkTrace()
    {
        db1->Bulk().properties = std::vector<PropertyPtr>{std::make_shared<FakeProperty>("TC", 0, 1)};
        db1->Bulk().storedValues = {{"a", 1, "TC", {{1, 647.1}}}};
    }
    // The reason of the last call of the export: what follows its result.
    std::string ReasonOf(const std::string& exportName) const
    {
        const std::string line = trace.LastCallOf(exportName);
        const std::size_t colon = line.find(" = 0: ");
        return colon == std::string::npos ? "<no reason in: " + line + ">" : line.substr(colon + 6);
    }

    TraceCapture trace;
};

TEST_F(BulkTrace, AFailedBulkCallSaysWhy)
{
    EXPECT_EQ(Load({"DB1.a"}, {"water"}, {"TC", "PC", "TC"}), 0);
    EXPECT_EQ(ReasonOf("Optimized_InitializeAllLists"), "property TC is listed twice (positions 0 and 2)");
    EXPECT_EQ(Load({"DB1.a", "DB2.c", "db1.A"}, {"water"}, {"TC"}), 0);
    EXPECT_EQ(ReasonOf("Optimized_InitializeAllLists"), "databank db1.A is listed twice (positions 0 and 2)");
    EXPECT_EQ(Load({"DB1a"}, {"water"}, {"TC"}), 0);
    EXPECT_EQ(ReasonOf("Optimized_InitializeAllLists"), "source databank 0 is not of the form DATABASE.DATABANK");

    int handle = -1;
    EXPECT_EQ(Optimized_GetAllScalarPropertyValues(&handle), 0);
    EXPECT_EQ(ReasonOf("Optimized_GetAllScalarPropertyValues"), "no bulk lists are loaded");

    ASSERT_EQ(Load({"DB1.a"}, {"water", "ethanol"}, {"TC", "PC"}), 1);
    EXPECT_EQ(Optimized_GetAllBinaryPropertyValues(&handle), 0);
    EXPECT_EQ(ReasonOf("Optimized_GetAllBinaryPropertyValues"), "the compounds of database DB1 were not looked up");

    int compounds = 0;
    ASSERT_EQ(Optimized_GetAllCompoundsIdentifiers(&compounds), 2);
    EXPECT_EQ(Optimized_GetAllCompoundsIdentifiers(&handle), 0);
    EXPECT_EQ(ReasonOf("Optimized_GetAllCompoundsIdentifiers"),
              "the compounds of database DB1 were already found for these lists");

    // A compound handle where a property list is wanted, and positions out of range.
    int position = -1, elements = -1;
    EXPECT_EQ(Optimized_GetNextProperty(compounds, 0, &position, &elements), 0);
    EXPECT_EQ(ReasonOf("Optimized_GetNextProperty"),
              "handle " + std::to_string(compounds) + " is a EngineCompoundTable, not a GatewayPropertyTable");
    CompoundEntry e;
    EXPECT_EQ(Next(compounds, -2, e), 0);
    EXPECT_EQ(ReasonOf("Optimized_GetNextCompoundIdentifier"), "position -2 is negative");

    // A scalar list read as binary values.
    int properties = 0, scalars = 0;
    ASSERT_EQ(Optimized_GetAllProperties(&properties), 1);
    ASSERT_EQ(Optimized_GetAllScalarPropertyValues(&scalars), 1);
    int size = 0, databank = 0, compound1 = 0, compound2 = 0, property = 0, condensed = 0;
    double values[4];
    EXPECT_EQ(Optimized_GetNextBinaryPropertyValueWithCondensedFlag(scalars, 0, &size, &databank, &compound1,
                                                                    &compound2, &property, values, &condensed),
              0);
    EXPECT_EQ(ReasonOf("Optimized_GetNextBinaryPropertyValueWithCondensedFlag"),
              "the handle holds unary values, not binary values");

    // Keys that would not fit.
    bulk::Tables().compCount = 40000;
    EXPECT_EQ(Optimized_GetAllBinaryPropertyValues(&handle), 0);
    EXPECT_EQ(ReasonOf("Optimized_GetAllBinaryPropertyValues"),
              "compound count 40000 with 2 properties passes the binary key limit of 2147483647");
}

} // namespace
