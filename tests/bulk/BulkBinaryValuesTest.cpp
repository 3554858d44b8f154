#include "bulk/BulkWorld.h"

#include <climits>
#include <map>
#include <set>
#include <utility>
#include <string>
#include <vector>

using namespace moru::service;

using namespace moru;
using namespace moru::fake;

namespace {

constexpr double M = MORU_MISSING_NUMBER;

// What one binary read wrote.
struct Binary {
    int result = -7, size = -7, databank = -7, compound1 = -7, compound2 = -7, property = -7;
    std::vector<double> values;
};

std::shared_ptr<FakeProperty> BinaryProperty(const std::string& name, std::vector<int> symmetry)
{
    const int count = static_cast<int>(symmetry.size());
    auto property = std::make_shared<FakeProperty>(name, InteractionBinary, count);
    property->labelIJ.emplace();
    property->labelJI.emplace();
    for (int k = 0; k < count; ++k) {
        property->labelIJ->push_back(2 * k + 1);
        property->labelJI->push_back(2 * k + 2);
    }
    property->symmetry = std::move(symmetry);
    return property;
}

class BinaryBulkValues : public BulkWorld {
protected:
    BinaryBulkValues()
    {
        db1->Bulk().compounds["methanol"] = {3, "METHANOL", "CH4O", "67-56-1", 3.0, 0.0, 0.0};
        db1->Bulk().compounds["acetone"] = {4, "ACETONE", "C3H6O", "67-64-1", 3.0, 0.0, 0.0};
        db1->Bulk().properties = std::vector<PropertyPtr>{std::make_shared<FakeProperty>("TC", InteractionUnary, 1),
                                                          BinaryProperty("TWO0", {0, 0}),
                                                          BinaryProperty("ONE-TWO", {1, 2}),
                                                          BinaryProperty("NEG", {3}),
                                                          BinaryProperty("ONE-ZERO", {1, 0}),
                                                          BinaryProperty("ONES", {1, 1, 1})};
    }
    // Water at position 2 and methanol at 1 of four compounds.
    void Prepare(std::vector<const char*> properties)
    {
        ASSERT_EQ(Load({"DB1.a"}, {"acetone", "methanol", "water", "ethanol"}, std::move(properties)), 1);
        int handle = 0;
        Optimized_GetAllCompoundsIdentifiers(&handle);
        Optimized_GetAllProperties(&handle);
    }
    void Store(const std::string& property, std::map<int, double> elements)
    {
        db1->Bulk().storedValues.push_back({"a", 1, property, std::move(elements), 3}); // water, methanol
    }
    static Binary Read(int handle, int position, int condensed)
    {
        Binary b;
        b.values.assign(8, -7);
        b.result = Optimized_GetNextBinaryPropertyValueWithCondensedFlag(handle, position, &b.size, &b.databank,
                                                                         &b.compound1, &b.compound2, &b.property,
                                                                         b.values.data(), &condensed);
        if (b.size >= 0 && b.size <= 8) b.values.resize(static_cast<std::size_t>(b.size));
        return b;
    }
    // Fetches the one stored value and reads it in both forms.
    void FetchOne(Binary& full, Binary& condensed)
    {
        int handle = 0;
        ASSERT_EQ(Optimized_GetAllBinaryPropertyValues(&handle), 1);
        full = Read(handle, 0, 0);
        condensed = Read(handle, 0, 1);
        ASSERT_EQ(full.result, 1);
        ASSERT_EQ(condensed.result, 1);
    }
};

TEST_F(BinaryBulkValues, KeysDecodeIntoBothCompoundPositionsAndThePropertyPosition)
{
    // Compound 1 at 2, compound 2 at 1, property 2 of three, four compounds: key 29.
    Store("ONE-TWO", {{1, 5.0}, {3, 0.3}});
    Prepare({"TC", "TWO0", "ONE-TWO"});
    Binary full, condensed;
    FetchOne(full, condensed);
    EXPECT_EQ(service.log.Matching("OptimizedGetAllBinary"),
              (std::vector<std::string>{"OptimizedGetAllBinaryPropertyValues DB1 [a] C4"}));
    EXPECT_EQ(full.compound1, 2);
    EXPECT_EQ(full.compound2, 1);
    EXPECT_EQ(full.property, 2);
    EXPECT_EQ(full.databank, 0);
    // Element 0 (code 1) stored for IJ: the code-2 element keeps its IJ half only.
    EXPECT_EQ(full.values, (std::vector<double>{5.0, M, 0.3, M}));
    EXPECT_EQ(condensed.values, (std::vector<double>{5.0, 0.3}));
    EXPECT_EQ(condensed.compound1, 2);
}

TEST_F(BinaryBulkValues, ACodeOneElementStoredForTheReverseOrderExchangesTheCondensedPositions)
{
    Store("ONE-TWO", {{2, 7.0}, {3, 0.3}});
    Prepare({"TC", "TWO0", "ONE-TWO"});
    Binary full, condensed;
    FetchOne(full, condensed);
    EXPECT_EQ(full.values, (std::vector<double>{M, 7.0, M, 0.3}));
    EXPECT_EQ(full.compound1, 2);
    EXPECT_EQ(full.compound2, 1);
    EXPECT_EQ(condensed.values, (std::vector<double>{7.0, 0.3}));
    EXPECT_EQ(condensed.compound1, 1);
    EXPECT_EQ(condensed.compound2, 2);
}

TEST_F(BinaryBulkValues, IndependentElementsKeepTheirPlacesWithOneHalfStored)
{
    Store("TWO0", {{3, 4.5}});
    Prepare({"TWO0"});
    Binary full, condensed;
    FetchOne(full, condensed);
    EXPECT_EQ(full.values, (std::vector<double>{M, M, 4.5, M}));
    EXPECT_EQ(condensed.values, full.values);
}

TEST_F(BinaryBulkValues, ANegatedElementGivesBothSignsInBothForms)
{
    Store("NEG", {{1, 2.5}});
    Prepare({"NEG"});
    Binary full, condensed;
    FetchOne(full, condensed);
    EXPECT_EQ(full.values, (std::vector<double>{2.5, -2.5}));
    EXPECT_EQ(condensed.values, full.values);
}

TEST_F(BinaryBulkValues, AnExchangedCondensedValueIsLaidOutWholeForTheReverseOrder)
{
    // Code 1 stored for JI only, then an independent element: its halves follow the exchanged
    // positions too.
    Store("ONE-ZERO", {{2, 1.0}, {3, 2.0}, {4, 3.0}});
    Prepare({"ONE-ZERO"});
    Binary full, condensed;
    FetchOne(full, condensed);
    EXPECT_EQ(full.values, (std::vector<double>{M, 1.0, 2.0, 3.0}));
    EXPECT_EQ(condensed.values, (std::vector<double>{1.0, 3.0, 2.0}));
    EXPECT_EQ(condensed.compound1, 1);
}

TEST_F(BinaryBulkValues, SeveralCodeOneElementsDecideTheCondensedOrderOnce)
{
    // Two elements stored for JI and one stored for neither: exchanged once, the empty one the marker.
    Store("ONES", {{2, 1.0}, {4, 2.0}});
    Prepare({"ONES"});
    Binary full, condensed;
    FetchOne(full, condensed);
    EXPECT_EQ(condensed.values, (std::vector<double>{1.0, 2.0, M}));
    EXPECT_EQ(condensed.compound1, 1);
    EXPECT_EQ(condensed.compound2, 2);
    EXPECT_EQ(full.values, (std::vector<double>{M, 1.0, M, 2.0, M, M}));
}

TEST_F(BinaryBulkValues, ARepeatedIdentifierGetsThePairAtEachOfItsPositions)
{
    Store("TWO0", {{1, 1.0}});
    ASSERT_EQ(Load({"DB1.a"}, {"water", "methanol", "argon", "water"}, {"TWO0"}), 1);
    int handle = 0;
    Optimized_GetAllCompoundsIdentifiers(&handle);
    Optimized_GetAllProperties(&handle);
    ASSERT_EQ(Optimized_GetAllBinaryPropertyValues(&handle), 2);
    std::set<std::pair<int, int>> pairs;
    for (int i = 0; i < 2; ++i) {
        const Binary b = Read(handle, i, 0);
        ASSERT_EQ(b.result, 1);
        pairs.emplace(b.compound1, b.compound2);
    }
    EXPECT_EQ(pairs, (std::set<std::pair<int, int>>{{0, 1}, {3, 1}}));
}

TEST_F(BinaryBulkValues, KeysThatWouldOverflowAreRefusedBeforeTheServiceIsAsked)
{
    Prepare({"TC", "TWO0", "ONE-TWO"});
    bulk::Tables().compCount = 26755; // 26755 x 26755 x 3 > 2147483647
    int handle = -1;
    EXPECT_EQ(Optimized_GetAllBinaryPropertyValues(&handle), 0);
    EXPECT_EQ(handle, 0);
    EXPECT_TRUE(service.log.Matching("OptimizedGetAllBinary").empty());
    bulk::Tables().compCount = 26754;                            // the largest that fits
    EXPECT_EQ(Optimized_GetAllBinaryPropertyValues(&handle), 0); // fits, and finds nothing
    EXPECT_NE(handle, 0);
}

TEST_F(BinaryBulkValues, BadArgumentsAndCallsOutOfOrderGiveDefinedResults)
{
    int handle = -1;
    EXPECT_EQ(Optimized_GetAllBinaryPropertyValues(&handle), 0); // nothing loaded
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(Optimized_GetAllBinaryPropertyValues(nullptr), 0);

    Store("NEG", {{1, 2.5}});
    ASSERT_EQ(Load({"DB1.a"}, {"acetone", "methanol", "water"}, {"NEG"}), 1);
    EXPECT_EQ(Optimized_GetAllBinaryPropertyValues(&handle), 0); // compounds not looked up yet
    Optimized_GetAllCompoundsIdentifiers(&handle);
    ASSERT_EQ(Optimized_GetAllBinaryPropertyValues(&handle), 1);
    EXPECT_EQ(Read(handle, 0, 0).result, 0); // properties not looked up yet
    int properties = 0;
    Optimized_GetAllProperties(&properties);
    EXPECT_EQ(Read(handle, 0, 0).result, 1);

    int size = 0, databank = 0, compound1 = 0, compound2 = 0, property = 0;
    double values[2];
    EXPECT_EQ(Optimized_GetNextBinaryPropertyValueWithCondensedFlag(handle, 0, &size, &databank, &compound1, &compound2,
                                                                    &property, values, nullptr),
              0);
    EXPECT_EQ(
        Optimized_GetNextBinaryPropertyValue(handle, 0, &size, &databank, &compound1, &compound2, nullptr, values), 0);
    EXPECT_EQ(
        Optimized_GetNextBinaryPropertyValue(handle, 1, &size, &databank, &compound1, &compound2, &property, values),
        -1);
    EXPECT_EQ(
        Optimized_GetNextBinaryPropertyValue(handle, -1, &size, &databank, &compound1, &compound2, &property, values),
        0);
    EXPECT_EQ(Optimized_GetNextBinaryPropertyValue(0, 0, &size, &databank, &compound1, &compound2, &property, values),
              0);

    // A handle of unary values is no handle of binary values, nor the reverse.
    int scalars = 0;
    Optimized_GetAllScalarPropertyValues(&scalars);
    EXPECT_EQ(
        Optimized_GetNextBinaryPropertyValue(scalars, 0, &size, &databank, &compound1, &compound2, &property, values),
        0);
    double scalar = 0;
    EXPECT_EQ(Optimized_GetNextScalarPropertyValue(handle, 0, &databank, &compound1, &property, &scalar), 0);
}

// The host sizes its array by the properties of the load it fetched in; a reload that puts a longer
// property at the same position must not change how an old handle lays its values out.
TEST_F(BinaryBulkValues, AHandleKeepsTheLayoutOfTheLoadItWasFetchedIn)
{
    Store("NEG", {{1, 7.0}});
    Store("ONES", {{1, 1.0}, {3, 3.0}, {5, 5.0}});
    Prepare({"NEG"});
    int old = 0;
    ASSERT_EQ(Optimized_GetAllBinaryPropertyValues(&old), 1);
    const Binary before = Read(old, 0, 0);
    ASSERT_EQ(before.values, (std::vector<double>{7.0, -7.0}));

    Prepare({"ONES"}); // three elements at position 0, described again
    int fresh = 0;
    ASSERT_EQ(Optimized_GetAllBinaryPropertyValues(&fresh), 1);
    EXPECT_EQ(Read(fresh, 0, 0).values, (std::vector<double>{1.0, M, 3.0, M, 5.0, M}));
    const Binary after = Read(old, 0, 0);
    EXPECT_EQ(after.result, 1);
    EXPECT_EQ(after.values, before.values);

    Optimized_UnInitializeAllLists();
    EXPECT_EQ(Read(old, 0, 0).values, before.values);
    EXPECT_EQ(Read(fresh, 0, 0).size, 6);
}

} // namespace

// Labels need not ascend with the elements, and one label may stand for halves of two elements:
// each half gets the number stored under its label.
TEST_F(BinaryBulkValues, ElementsFindTheirHalvesWhateverTheOrderOfTheirLabels)
{
    auto shared = std::make_shared<FakeProperty>("SHARED", InteractionBinary, 2);
    shared->labelIJ = std::vector<int>{5, 2};
    shared->labelJI = std::vector<int>{2, 9};
    shared->symmetry = std::vector<int>{0, 0};
    db1->Bulk().properties->push_back(shared);
    Store("SHARED", {{9, 3.5}, {2, 1.5}, {5, 2.5}, {7, 8.0}});
    Prepare({"SHARED"});
    Binary full, condensed;
    FetchOne(full, condensed);
    EXPECT_EQ(full.values, (std::vector<double>{2.5, 1.5, 1.5, 3.5}));
    EXPECT_EQ(condensed.values, full.values);
}
