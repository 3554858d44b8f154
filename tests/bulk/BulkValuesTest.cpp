#include "bulk/BulkWorld.h"

#include <climits>
#include <map>
#include <string>
#include <utility>
#include <vector>

using namespace moru::service;

using namespace moru;
using namespace moru::fake;

namespace {

struct Scalar {
    int databank = -7, compound = -7, property = -7;
    double value = -7;
};

class BulkValues : public BulkWorld {
protected:
    BulkValues()
    {
        const std::vector<PropertyPtr> known = {
            std::make_shared<FakeProperty>("TC", 0, 1), std::make_shared<FakeProperty>("PC", 0, 1),
            std::make_shared<FakeProperty>("CPIG", 0, 3), std::make_shared<FakeProperty>("NRTL", 1, 2)};
        db1->Bulk().properties = known;
        db2->Bulk().properties = known;
    }
    static std::map<int, Scalar> ReadScalars(int handle, int count)
    {
        std::map<int, Scalar> read;
        for (int i = 0; i < count; ++i) {
            Scalar s;
            EXPECT_EQ(Optimized_GetNextScalarPropertyValue(handle, i, &s.databank, &s.compound, &s.property, &s.value),
                      1);
            read[s.compound * 100 + s.property] = s;
        }
        return read;
    }
    // Loads, finds compounds and properties.
    void Prepare(std::vector<const char*> banks, std::vector<const char*> compounds,
                 std::vector<const char*> properties)
    {
        ASSERT_EQ(Load(std::move(banks), std::move(compounds), std::move(properties)), 1);
        int handle = 0;
        Optimized_GetAllCompoundsIdentifiers(&handle);
        Optimized_GetAllProperties(&handle);
    }
};

TEST_F(BulkValues, ScalarKeysDecodeIntoCompoundAndPropertyPositions)
{
    // Compound position 2 and property position 1 of three properties: key 7.
    db1->Bulk().storedValues = {
        {"a", 1, "PC", {{1, 22.06}}}, {"a", 7, "TC", {{1, 513.9}}}, {"a", 7, "CPIG", {{1, 1.0}}}};
    Prepare({"DB1.a"}, {"x", "y", "water", "ethanol"}, {"TC", "PC", "CPIG"});
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllScalarPropertyValues(&handle), 2); // CPIG is a vector property
    auto read = ReadScalars(handle, 2);
    ASSERT_EQ(read.count(201), 1u);
    EXPECT_EQ(read[201].value, 22.06);
    EXPECT_EQ(read[201].databank, 0);
    ASSERT_EQ(read.count(300), 1u);
    EXPECT_EQ(read[300].value, 513.9);
    Scalar s;
    EXPECT_EQ(Optimized_GetNextScalarPropertyValue(handle, 2, &s.databank, &s.compound, &s.property, &s.value), -1);
    EXPECT_EQ(Optimized_GetNextScalarPropertyValue(handle, -1, &s.databank, &s.compound, &s.property, &s.value), 0);
    EXPECT_EQ(Optimized_GetNextScalarPropertyValue(handle, 0, nullptr, &s.compound, &s.property, &s.value), 0);
}

TEST_F(BulkValues, EachRunIsAskedOnceAndRepeatedIdentifiersGetTheirValues)
{
    db1->Bulk().storedValues = {{"b", 1, "TC", {{1, 647.1}}}, {"a", 1, "TC", {{1, 600.0}}}, {"d", 7, "TC", {{1, 1.5}}}};
    db2->Bulk().storedValues = {{"c", 5, "TC", {{1, 150.7}}}};
    Prepare({"DB1.a", "DB1.b", "DB2.c", "DB1.d"}, {"water", "argon", "ethanol", "water"}, {"TC"});
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllScalarPropertyValues(&handle), 4);
    EXPECT_EQ(service.log.Matching("OptimizedGetAll"),
              (std::vector<std::string>{"OptimizedGetAllScalarPropertyValues DB1 [a,b]",
                                        "OptimizedGetAllScalarPropertyValues DB2 [c]",
                                        "OptimizedGetAllScalarPropertyValues DB1 [d]"}));
    auto read = ReadScalars(handle, 4);
    EXPECT_EQ(read[0].value, 600.0); // the first databank of the run wins
    EXPECT_EQ(read[300].value, 600.0);
    EXPECT_EQ(read[300].databank, 0);
    EXPECT_EQ(read[100].value, 150.7);
    EXPECT_EQ(read[100].databank, 2);
    EXPECT_EQ(read[200].databank, 3);
}

TEST_F(BulkValues, VectorElementsKeepTheirPlacesWhateverSizeTheCallerExpects)
{
    db1->Bulk().storedValues = {{"a", 1, "CPIG", {{1, 10.0}, {3, 30.0}}}};
    Prepare({"DB1.a"}, {"water"}, {"TC", "CPIG"});
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllVectorPropertyValues(&handle), 1);
    for (int expected : {3, 0, 2}) {
        int size = expected, databank = -7, compound = -7, property = -7;
        double values[4] = {-7, -7, -7, -7};
        ASSERT_EQ(Optimized_GetNextVectorPropertyValue(handle, 0, &size, &databank, &compound, &property, values), 1);
        EXPECT_EQ(size, 3);
        EXPECT_EQ(values[0], 10.0);
        EXPECT_EQ(values[1], MORU_MISSING_NUMBER); // the absent element keeps its place
        EXPECT_EQ(values[2], 30.0);
        EXPECT_EQ(values[3], -7); // nothing beyond the element count
        EXPECT_EQ(compound, 0);
        EXPECT_EQ(property, 1);
    }
    int size = 3, databank = 0, compound = 0, property = 0;
    double values[4];
    EXPECT_EQ(Optimized_GetNextVectorPropertyValue(handle, 1, &size, &databank, &compound, &property, values), -1);
    EXPECT_EQ(Optimized_GetNextVectorPropertyValue(handle, 0, &size, &databank, &compound, &property, nullptr), 0);
}

TEST_F(BulkValues, FetchesOutOfOrderOrWithTooManyKeysFail)
{
    int handle = -1;
    EXPECT_EQ(Optimized_GetAllScalarPropertyValues(&handle), 0); // nothing loaded
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(Optimized_GetAllScalarPropertyValues(nullptr), 0);
    ASSERT_EQ(Load({"DB1.a"}, {"water"}, {"TC", "PC"}), 1);
    EXPECT_EQ(Optimized_GetAllVectorPropertyValues(&handle), 0); // compounds not looked up yet
    EXPECT_EQ(handle, 0);
    Optimized_GetAllCompoundsIdentifiers(&handle);
    bulk::Tables().compCount = INT_MAX / 2 + 1; // two properties: the last keys would not fit
    handle = -1;
    EXPECT_EQ(Optimized_GetAllScalarPropertyValues(&handle), 0);
    EXPECT_EQ(handle, 0);
    EXPECT_TRUE(service.log.Matching("OptimizedGetAll").empty());
    bulk::Tables().compCount = INT_MAX / 2;
    EXPECT_EQ(Optimized_GetAllScalarPropertyValues(&handle), 0); // fits, and finds nothing
    EXPECT_NE(handle, 0);
}

// A handle is laid out by the properties of the load it was fetched in: a later load with a longer
// property at the same position must not make it write more than the host sized for.
TEST_F(BulkValues, VectorHandlesKeepTheSizesOfTheirOwnLoad)
{
    db1->Bulk().properties->push_back(std::make_shared<FakeProperty>("CPL", 0, 5));
    db1->Bulk().storedValues = {{"a", 1, "CPIG", {{1, 10.0}, {3, 30.0}}}, {"a", 1, "CPL", {{5, 50.0}}}};
    Prepare({"DB1.a"}, {"water"}, {"CPIG"});
    int old = 0;
    ASSERT_EQ(Optimized_GetAllVectorPropertyValues(&old), 1);
    auto read = [](int handle) {
        std::vector<double> values(8, -7.0);
        int size = -7, databank = -7, compound = -7, property = -7;
        EXPECT_EQ(
            Optimized_GetNextVectorPropertyValue(handle, 0, &size, &databank, &compound, &property, values.data()), 1);
        return std::make_pair(size, values);
    };
    const auto before = read(old);
    ASSERT_EQ(before.first, 3);

    Prepare({"DB1.a"}, {"water"}, {"CPL"}); // five elements at the same position
    int fresh = 0;
    ASSERT_EQ(Optimized_GetAllVectorPropertyValues(&fresh), 1);
    EXPECT_EQ(read(fresh).first, 5);
    EXPECT_EQ(read(old), before);

    Optimized_UnInitializeAllLists();
    EXPECT_EQ(read(old), before);
}

TEST_F(BulkValues, VectorReadsOfALoadThatDescribedNoPropertiesFail)
{
    db1->Bulk().storedValues = {{"a", 1, "CPIG", {{1, 10.0}}}};
    ASSERT_EQ(Load({"DB1.a"}, {"water"}, {"CPIG"}), 1);
    int handle = 0;
    Optimized_GetAllCompoundsIdentifiers(&handle);
    ASSERT_EQ(Optimized_GetAllVectorPropertyValues(&handle), 1);
    Optimized_UnInitializeAllLists();
    int size = 1, databank = 0, compound = 0, property = 0;
    double values[3];
    EXPECT_EQ(Optimized_GetNextVectorPropertyValue(handle, 0, &size, &databank, &compound, &property, values), 0);
}

// Every value a pass hands out, in handle order: scalars, vectors (numbers as read) and binary
// positions, one line each.
std::vector<std::string> ReadWholePass()
{
    std::vector<std::string> lines;
    int handle = 0, databank = 0, compound = 0, compound2 = 0, property = 0, size = 0;
    double numbers[8];
    const int scalars = Optimized_GetAllScalarPropertyValues(&handle);
    for (int i = 0; i < scalars; ++i) {
        EXPECT_EQ(Optimized_GetNextScalarPropertyValue(handle, i, &databank, &compound, &property, numbers), 1);
        lines.push_back("s " + std::to_string(databank) + " " + std::to_string(compound) + " " +
                        std::to_string(property) + " " + std::to_string(numbers[0]));
    }
    const int vectors = Optimized_GetAllVectorPropertyValues(&handle);
    for (int i = 0; i < vectors; ++i) {
        size = 8;
        EXPECT_EQ(Optimized_GetNextVectorPropertyValue(handle, i, &size, &databank, &compound, &property, numbers), 1);
        std::string line =
            "v " + std::to_string(databank) + " " + std::to_string(compound) + " " + std::to_string(property);
        for (int k = 0; k < size; ++k) line += " " + std::to_string(numbers[k]);
        lines.push_back(line);
    }
    const int binaries = Optimized_GetAllBinaryPropertyValues(&handle);
    for (int i = 0; i < binaries; ++i) {
        size = 8;
        EXPECT_EQ(Optimized_GetNextBinaryPropertyValue(handle, i, &size, &databank, &compound, &compound2, &property,
                                                       numbers),
                  1);
        lines.push_back("b " + std::to_string(databank) + " " + std::to_string(compound) + " " +
                        std::to_string(compound2) + " " + std::to_string(property));
    }
    return lines;
}

class BulkValuesTogether : public BulkValues {
protected:
    BulkValuesTogether()
    {
        db1->Bulk().storedValues = {
            {"b", 1, "TC", {{1, 647.1}}},     {"a", 1, "TC", {{1, 600.0}}},
            {"d", 7, "TC", {{1, 1.5}}},       {"a", 7, "CPIG", {{1, 10.0}, {3, 30.0}}},
            {"d", 7, "CPIG", {{2, 20.0}}},    {"b", 1, "NRTL", {{1, 0.5}}, 7},
            {"a", 7, "NRTL", {{1, 0.25}}, 1}, {"a", 1, "NRTL", {{1, 0.75}}, 99}}; // a compound not asked about
        db2->Bulk().storedValues = {{"c", 5, "TC", {{1, 150.7}}}, {"c", 5, "CPIG", {{3, 3.0}}}};
    }
    void PrepareAll()
    {
        Prepare({"DB1.a", "DB1.b", "DB2.c", "DB1.d"}, {"water", "argon", "ethanol"}, {"TC", "CPIG", "NRTL"});
    }
};

TEST_F(BulkValuesTogether, AFirstFetchReadsEveryKindOncePerDatabaseAndHandsOutWhatTheKindByKindReadsDo)
{
    PrepareAll();
    const auto kindByKind = ReadWholePass();
    ASSERT_EQ(kindByKind.size(), 7u); // three scalars, two vectors, two pairs
    EXPECT_TRUE(service.log.Matching("OptimizedGetAllKinds").empty());

    db1->Bulk().readsAllKindsTogether = true;
    db2->Bulk().readsAllKindsTogether = true;
    PrepareAll();
    service.log.Clear();
    EXPECT_EQ(ReadWholePass(), kindByKind);
    // One read a database, its runs together; the vector and binary fetches ask nothing more.
    EXPECT_EQ(service.log.Matching("OptimizedGetAll"),
              (std::vector<std::string>{"OptimizedGetAllKindsOfPropertyValues DB1 [a,b,d]",
                                        "OptimizedGetAllKindsOfPropertyValues DB2 [c]"}));

    // A kind fetched again in the same load is read on its own, run by run.
    service.log.Clear();
    int handle = 0;
    EXPECT_EQ(Optimized_GetAllScalarPropertyValues(&handle), 3);
    EXPECT_EQ(service.log.Matching("OptimizedGetAll"),
              (std::vector<std::string>{"OptimizedGetAllScalarPropertyValues DB1 [a,b]",
                                        "OptimizedGetAllScalarPropertyValues DB2 [c]",
                                        "OptimizedGetAllScalarPropertyValues DB1 [d]"}));
}

TEST_F(BulkValuesTogether, ANewLoadDropsTheValuesReadAhead)
{
    db1->Bulk().readsAllKindsTogether = true;
    db2->Bulk().readsAllKindsTogether = true;
    PrepareAll();
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllScalarPropertyValues(&handle), 3);
    // The vector values read ahead belong to that load: this one lists CPIG alone, for ethanol only.
    Prepare({"DB1.a"}, {"ethanol"}, {"CPIG"});
    service.log.Clear();
    EXPECT_EQ(Optimized_GetAllVectorPropertyValues(&handle), 1);
    EXPECT_EQ(service.log.Matching("OptimizedGetAll"),
              (std::vector<std::string>{"OptimizedGetAllKindsOfPropertyValues DB1 [a]"}));
    int size = 8, databank = -7, compound = -7, property = -7;
    double numbers[8];
    ASSERT_EQ(Optimized_GetNextVectorPropertyValue(handle, 0, &size, &databank, &compound, &property, numbers), 1);
    EXPECT_EQ(compound, 0);
    EXPECT_EQ(property, 0);
    EXPECT_EQ(numbers[0], 10.0);
    Optimized_UnInitializeAllLists();
    EXPECT_EQ(Optimized_GetAllBinaryPropertyValues(&handle), 0); // nothing loaded, nothing kept
}

TEST_F(BulkValuesTogether, ALoadWithABackendThatReadsKindByKindIsReadKindByKind)
{
    db1->Bulk().readsAllKindsTogether = true; // DB2 does not
    PrepareAll();
    int handle = 0;
    ASSERT_EQ(Optimized_GetAllScalarPropertyValues(&handle), 3);
    EXPECT_TRUE(service.log.Matching("OptimizedGetAllKinds").empty());
    EXPECT_EQ(service.log.Matching("OptimizedGetAllScalar").size(), 3u);
}

} // namespace
