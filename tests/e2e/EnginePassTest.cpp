#include "HostSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

using namespace moru::host;

namespace {

constexpr double M = MORU_MISSING_NUMBER;

// One value of the engine's pass, as the next-functions delivered it.
struct EngineValue {
    int databank = -1, compound1 = -1, compound2 = -1, property = -1;
    std::vector<double> numbers;
};

// The whole pass as an engine makes it: load the lists, find the compounds and properties, fetch
// and read every scalar, vector and binary value. Values come by kind: 0 scalar, 1 vector, 2 binary.
std::map<int, std::vector<EngineValue>> EnginePass(std::vector<const char*> banks, std::vector<const char*> compounds,
                                                   std::vector<const char*> properties, int condensed = 0)
{
    std::map<int, std::vector<EngineValue>> pass;
    banks.push_back(nullptr);
    compounds.push_back(nullptr);
    properties.push_back(nullptr);
    EXPECT_EQ(1, MORU_EXPORT_OF(Optimized_InitializeAllLists)(banks.data(), compounds.data(), properties.data()));
    int handle = 0;
    MORU_EXPORT_OF(Optimized_GetAllCompoundsIdentifiers)(&handle);
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    MORU_EXPORT_OF(Optimized_GetAllProperties)(&handle);
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);

    double numbers[64];
    const int scalars = MORU_EXPORT_OF(Optimized_GetAllScalarPropertyValues)(&handle);
    for (int i = 0; i < scalars; ++i) {
        EngineValue v;
        EXPECT_EQ(1, MORU_EXPORT_OF(Optimized_GetNextScalarPropertyValue)(handle, i, &v.databank, &v.compound1,
                                                                          &v.property, numbers));
        v.numbers.assign(numbers, numbers + 1);
        pass[0].push_back(v);
    }
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    const int vectors = MORU_EXPORT_OF(Optimized_GetAllVectorPropertyValues)(&handle);
    for (int i = 0; i < vectors; ++i) {
        EngineValue v;
        int size = 0;
        EXPECT_EQ(1, MORU_EXPORT_OF(Optimized_GetNextVectorPropertyValue)(handle, i, &size, &v.databank, &v.compound1,
                                                                          &v.property, numbers));
        v.numbers.assign(numbers, numbers + size);
        pass[1].push_back(v);
    }
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    const int binaries = MORU_EXPORT_OF(Optimized_GetAllBinaryPropertyValues)(&handle);
    for (int i = 0; i < binaries; ++i) {
        EngineValue v;
        int size = 0;
        EXPECT_EQ(1, MORU_EXPORT_OF(Optimized_GetNextBinaryPropertyValueWithCondensedFlag)(
                         handle, i, &size, &v.databank, &v.compound1, &v.compound2, &v.property, numbers, &condensed));
        v.numbers.assign(numbers, numbers + size);
        pass[2].push_back(v);
    }
    int size = 0, databank = 0, compound1 = 0, compound2 = 0, property = 0;
    EXPECT_EQ(-1, MORU_EXPORT_OF(Optimized_GetNextBinaryPropertyValue)(handle, binaries, &size, &databank, &compound1,
                                                                       &compound2, &property, numbers));
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    return pass;
}

class SampleEnginePass : public ConnectedSuite<SampleDatabases> {
protected:
    void TearDown() override { MORU_EXPORT_OF(Optimized_UnInitializeAllLists)(); }
};

// Binary values by compound 1, compound 2 and property position.
std::map<std::tuple<int, int, int>, EngineValue> ByPositions(const std::vector<EngineValue>& values)
{
    std::map<std::tuple<int, int, int>, EngineValue> byPositions;
    for (const auto& v : values) byPositions[{v.compound1, v.compound2, v.property}] = v;
    return byPositions;
}

TEST_F(SampleEnginePass, DeliversScalarAndBinaryValuesOfEveryPositionOfACompound)
{
    const std::vector<const char*> banks = {"SAMPLE.PURE", "SAMPLE.NRTL-SAMPLE", "SAMPLE.PR-SAMPLE"};
    const std::vector<const char*> compounds = {"methanol", "water", "methane", "ethane", "propane", "METHANOL"};
    const std::vector<const char*> properties = {"MW", "NRTL", "PRKIJ", "STATE"};
    auto pass = EnginePass(banks, compounds, properties);
    EXPECT_EQ(pass[0].size(), 6u); // MW of every listed compound; STATE is text
    EXPECT_TRUE(pass[1].empty());
    const auto binary = ByPositions(pass[2]);
    ASSERT_EQ(binary.size(), 5u);
    // The stored pair (methanol, water) at both of methanol's positions: two independent elements.
    for (int methanol : {0, 5}) {
        ASSERT_EQ(binary.count({methanol, 1, 1}), 1u);
        const EngineValue& nrtl = binary.at({methanol, 1, 1});
        EXPECT_EQ(nrtl.numbers, (std::vector<double>{-253.88, 845.21, 0.2994, 0.2994}));
        EXPECT_EQ(nrtl.databank, 1);
    }
    // One number for one order: the other half is the marker.
    ASSERT_EQ(binary.count({2, 3, 2}), 1u);
    EXPECT_EQ(binary.at({2, 3, 2}).numbers, (std::vector<double>{-0.0026, M}));
    EXPECT_EQ(binary.at({2, 3, 2}).databank, 2);
    EXPECT_EQ(binary.count({3, 4, 2}), 1u);
    EXPECT_EQ(binary.count({2, 4, 2}), 1u);

    MORU_EXPORT_OF(Optimized_UnInitializeAllLists)();
    const auto condensed = ByPositions(EnginePass(banks, compounds, properties, 1)[2]);
    ASSERT_EQ(condensed.size(), 5u);
    EXPECT_EQ(condensed.at({0, 1, 1}).numbers, (std::vector<double>{-253.88, 845.21, 0.2994}));
    EXPECT_EQ(condensed.at({2, 3, 2}).numbers, (std::vector<double>{-0.0026}));
}

TEST_F(SampleEnginePass, BinaryHandlesStillReadWhatTheyWereGivenAfterTheListsAreUnloaded)
{
    const char* banks[] = {"SAMPLE.NRTL-SAMPLE", nullptr};
    const char* compounds[] = {"methanol", "water", nullptr};
    const char* properties[] = {"NRTL", nullptr};
    ASSERT_EQ(1, MORU_EXPORT_OF(Optimized_InitializeAllLists)(banks, compounds, properties));
    int handle = 0, found = 0;
    MORU_EXPORT_OF(Optimized_GetAllCompoundsIdentifiers)(&found);
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(found);
    MORU_EXPORT_OF(Optimized_GetAllProperties)(&found);
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(found);
    ASSERT_EQ(1, MORU_EXPORT_OF(Optimized_GetAllBinaryPropertyValues)(&handle));
    int size = 0, databank = 0, compound1 = 0, compound2 = 0, property = 0, flag = 0;
    double before[4], after[4];
    ASSERT_EQ(1, MORU_EXPORT_OF(Optimized_GetNextBinaryPropertyValueWithCondensedFlag)(
                     handle, 0, &size, &databank, &compound1, &compound2, &property, before, &flag));
    MORU_EXPORT_OF(Optimized_UnInitializeAllLists)();
    int sizeAfter = 0;
    EXPECT_EQ(1, MORU_EXPORT_OF(Optimized_GetNextBinaryPropertyValueWithCondensedFlag)(
                     handle, 0, &sizeAfter, &databank, &compound1, &compound2, &property, after, &flag));
    ASSERT_EQ(sizeAfter, size);
    EXPECT_TRUE(std::equal(before, before + size, after));
    EXPECT_EQ(0, MORU_EXPORT_OF(Optimized_GetNextBinaryPropertyValueWithCondensedFlag)(
                     handle, 0, &size, &databank, &compound1, &compound2, &property, after, nullptr));
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
}

// The bundle database: the pass's values equal those read one at a time through the value objects.
class BundleEnginePass : public ConnectedSuite<BundleDatabases> {
protected:
    void TearDown() override { MORU_EXPORT_OF(Optimized_UnInitializeAllLists)(); }
};

TEST_F(BundleEnginePass, EveryValueEqualsTheValueObjectOfItsDatabank)
{
    const std::vector<const char*> banks = {"BUNDLE.YAWS_CRIT",      "BUNDLE.CRC_ORG_PHYS", "BUNDLE.PERRY_2_8",
                                            "BUNDLE.JASPER_LANGE",   "BUNDLE.POLING_CP",    "BUNDLE.CHEMSEP_NRTL",
                                            "BUNDLE.CHEMSEP_PR",     "BUNDLE.EPPR78_PRED",  "BUNDLE.CHEMSEP_WILSON",
                                            "BUNDLE.CHEMSEP_UNIQUAC"};
    // Common solvents and gases, by CAS number.
    const std::vector<const char*> compounds = {
        "7732-18-5", "67-56-1",  "64-17-5",   "67-64-1",   "71-43-2",  "108-88-3",  "74-82-8",   "74-84-0", "74-98-6",
        "106-97-8",  "124-38-9", "7727-37-9", "7782-44-7", "110-54-3", "142-82-5",  "111-65-9",  "67-63-0", "71-23-8",
        "75-09-2",   "67-66-3",  "56-23-5",   "141-78-6",  "64-19-7",  "110-82-7",  "100-41-4",  "95-47-6", "106-42-3",
        "108-38-3",  "75-07-0",  "50-00-0",   "7783-06-4", "630-08-0", "1333-74-0", "7664-41-7", "99-87-6"};
    const std::vector<const char*> properties = {"MW",           "TC",           "PC",   "OMEGA", "TB",     "VPANT",
                                                 "SIGMA_JASPER", "CPIG_POLY4_R", "NRTL", "PRKIJ", "WILSON", "UNIQUAC"};
    auto pass = EnginePass(banks, compounds, properties);
    ASSERT_GT(pass[0].size(), 50u);
    ASSERT_GT(pass[1].size(), 5u);
    ASSERT_GT(pass[2].size(), 50u);

    auto databank = [&](int position) { return std::string(banks.at(static_cast<std::size_t>(position))).substr(7); };
    for (int kind : {0, 1}) {
        for (const EngineValue& v : pass[kind]) {
            const char* compound = compounds.at(static_cast<std::size_t>(v.compound1));
            const char* property = properties.at(static_cast<std::size_t>(v.property));
            int handle = 0;
            ASSERT_EQ(1, MORU_EXPORT_OF(CompoundProperties_GetCompoundProperty)("BUNDLE", databank(v.databank).c_str(),
                                                                                compound, "CASRN", property, &handle));
            ASSERT_NE(handle, 0) << compound << " " << property;
            std::vector<double> expected(
                static_cast<std::size_t>(MORU_EXPORT_OF(PropertyValueObject_NumberOfElements)(handle)));
            MORU_EXPORT_OF(PropertyValueObject_ValueVector)(handle, expected.data());
            MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(handle);
            EXPECT_EQ(v.numbers, expected) << compound << " " << property << " in " << databank(v.databank);
        }
    }
    for (const EngineValue& v : pass[2]) {
        const char* compound1 = compounds.at(static_cast<std::size_t>(v.compound1));
        const char* compound2 = compounds.at(static_cast<std::size_t>(v.compound2));
        const char* property = properties.at(static_cast<std::size_t>(v.property));
        int full = 0, handle = 0;
        ASSERT_EQ(1, MORU_EXPORT_OF(InteractionParameters_GetBinaryIp)("BUNDLE", databank(v.databank).c_str(), property,
                                                                       compound1, compound2, "CASRN", &full, &handle));
        ASSERT_NE(handle, 0) << compound1 << " " << compound2 << " " << property;
        std::vector<double> expected(
            static_cast<std::size_t>(MORU_EXPORT_OF(InteractionParameterValueObject_NumberOfElements)(handle)));
        MORU_EXPORT_OF(InteractionParameterValueObject_Parameters)(handle, expected.data());
        MORU_EXPORT_OF(InteractionParameterValueObject_ReleaseHandle)(handle);
        // The value object fills the half that an element of one number leaves open; the pass
        // leaves the marker there. Every number the pass gives is the value object's, and every
        // element the value object holds the pass gives at least one half of.
        ASSERT_EQ(v.numbers.size(), expected.size()) << compound1 << " " << compound2 << " " << property;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (v.numbers[i] != M) {
                EXPECT_EQ(v.numbers[i], expected[i]) << property << " element half " << i;
            }
            if (i % 2 == 1 && (expected[i - 1] != M || expected[i] != M)) {
                EXPECT_TRUE(v.numbers[i - 1] != M || v.numbers[i] != M) << property << " element " << i / 2;
            }
        }
    }
}

} // namespace

namespace {

struct RegressDatabases {
    static constexpr const char* config = MORU_REGRESS_CONFIG;
    static constexpr const char* absent = "no moru-db for this build";
};

class RegressEnginePass : public ConnectedSuite<RegressDatabases> {
protected:
    void TearDown() override { MORU_EXPORT_OF(Optimized_UnInitializeAllLists)(); }

    // The one value of the binary value objects (interaction type 1) for the same lists.
    static std::vector<double> ValueObject(std::vector<const char*> compounds, std::vector<const char*> banks,
                                           std::vector<const char*> properties, int condensed)
    {
        compounds.push_back(nullptr);
        banks.push_back(nullptr);
        properties.push_back(nullptr);
        int type = 1, handle = 0;
        EXPECT_EQ(1, MORU_EXPORT_OF(BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects)(
                         compounds.data(), "NAME", banks.data(), properties.data(), &type, &condensed, &handle));
        int c1 = 0, c2 = 0, c3 = 0, c4 = 0, bank = 0, property = 0, size = 0, regression = 0;
        double numbers[64];
        std::vector<double> value;
        if (MORU_EXPORT_OF(BinaryPropertyValueObjects_GetNextPropertyValueObject)(
                handle, &c1, &c2, &c3, &c4, &bank, &property, &size, &regression, numbers) == 1)
            value.assign(numbers, numbers + size);
        MORU_EXPORT_OF(BinaryPropertyValueObjects_ReleaseHandle)(handle);
        return value;
    }
};

} // namespace

// MIXED: an independent element (10, 20), one without symmetry (30; its JI label holds nothing)
// and one the same for both orders (50).
TEST_F(RegressEnginePass, EngineLayoutAndValueObjectsGiveAnElementWithoutSymmetryOneNumber)
{
    const std::vector<const char*> banks = {"REGRESS.FITTED"}, compounds = {"ETHANOL", "WATER"}, properties = {"MIXED"};
    const std::vector<double> expected[2] = {{10, 20, 30, 50, 50}, {10, 20, 30, 50}};
    for (int condensed : {0, 1}) {
        auto pass = EnginePass(banks, compounds, properties, condensed);
        MORU_EXPORT_OF(Optimized_UnInitializeAllLists)();
        ASSERT_EQ(pass[2].size(), 1u) << "condensed " << condensed;
        EXPECT_EQ(pass[2][0].numbers, expected[condensed]) << "condensed " << condensed;
        EXPECT_EQ(ValueObject(compounds, banks, properties, condensed), pass[2][0].numbers)
            << "condensed " << condensed;
    }
}
