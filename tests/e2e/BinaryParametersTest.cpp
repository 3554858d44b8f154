#include "HostSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace moru::host;

namespace {

std::vector<double> Parameters(const char* bank, const char* model, const char* first, const char* second,
                               const char* type, int condensed = 0)
{
    int handle = 0;
    if (MORU_EXPORT_OF(InteractionParameters_GetBinaryIp)("BUNDLE", bank, model, first, second, type, &condensed,
                                                          &handle) != 1 ||
        handle == 0)
        return {};
    std::vector<double> values(
        static_cast<std::size_t>(MORU_EXPORT_OF(InteractionParameterValueObject_NumberOfElements)(handle)));
    if (MORU_EXPORT_OF(InteractionParameterValueObject_Parameters)(handle, values.data()) != 1) values.clear();
    MORU_EXPORT_OF(InteractionParameterValueObject_ReleaseHandle)(handle);
    return values;
}

// Rows of a tab-separated file of the shared data bundle, by column name.
std::vector<std::map<std::string, std::string>> ReadBundleTable(const std::string& name)
{
    std::vector<std::map<std::string, std::string>> rows;
    const char* directory = std::getenv("MORU_SHARED_DATA");
    if (!directory) return rows;
    std::ifstream file(std::filesystem::path(HostPath(directory)) / name);
    std::string line;
    std::vector<std::string> header;
    auto split = [](const std::string& text) {
        std::vector<std::string> fields;
        std::stringstream stream(text);
        std::string field;
        while (std::getline(stream, field, '\t')) fields.push_back(field);
        if (!text.empty() && text.back() == '\t') fields.emplace_back();
        return fields;
    };
    if (!std::getline(file, line)) return rows;
    header = split(line);
    while (std::getline(file, line)) {
        auto fields = split(line);
        std::map<std::string, std::string> row;
        for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i) row[header[i]] = fields[i];
        rows.push_back(std::move(row));
    }
    return rows;
}

class BundleBinaryParameters : public ConnectedSuite<BundleDatabases> {
protected:
};

} // namespace

TEST_F(BundleBinaryParameters, EthanolWaterNrtlInBothOrdersGivesTheSamePartsExchanged)
{
    const auto forward = Parameters("CHEMSEP_NRTL", "NRTL", "ETHANOL", "WATER", "NAME");
    const auto backward = Parameters("chemsep_nrtl", "NRTL", "water", "ethanol", "name");
    ASSERT_EQ(forward.size(), 4u);
    ASSERT_EQ(backward.size(), 4u);
    // b12 and b21 in K, then alpha for both orders.
    EXPECT_NEAR(forward[0], -29.1666544835, 1e-9);
    EXPECT_NEAR(forward[1], 624.867622239, 1e-8);
    EXPECT_EQ(forward[2], 0.2937);
    EXPECT_EQ(forward[3], 0.2937);
    EXPECT_EQ(backward, (std::vector<double>{forward[1], forward[0], forward[3], forward[2]}));
    EXPECT_EQ(Parameters("CHEMSEP_NRTL", "NRTL", "64-17-5", "7732-18-5", "CASRN", 1),
              (std::vector<double>{forward[0], forward[1], 0.2937}));
}

TEST_F(BundleBinaryParameters, PengRobinsonKijAndTminHoldForBothOrders)
{
    // Methane (74-82-8) and ethane (74-84-0), stored in that order.
    EXPECT_EQ(Parameters("CHEMSEP_PR", "PRKIJ", "74-84-0", "74-82-8", "CASRN"),
              (std::vector<double>{-0.0059, -0.0059, 144.26, 144.26}));
    EXPECT_EQ(Parameters("EPPR78_PRED", "PRKIJ", "74-84-0", "74-82-8", "CASRN", 1),
              (std::vector<double>{0.0058, 1e35}));
}

TEST_F(BundleBinaryParameters, WalksEveryValueAmongTenWorkingCompounds)
{
    const std::vector<std::string> cas = {"7732-18-5", "64-17-5", "67-56-1", "67-64-1", "71-43-2",
                                          "108-88-3",  "71-23-8", "56-23-5", "67-66-3", "141-78-6"};
    const std::vector<std::string> banks = {"BUNDLE.CHEMSEP_NRTL", "BUNDLE.CHEMSEP_UNIQUAC", "BUNDLE.CHEMSEP_WILSON",
                                            "BUNDLE.CHEMSEP_PR"};
    const std::vector<std::string> models = {"NRTL", "UNIQUAC", "WILSON", "PRKIJ"};
    // Expected: the unordered pairs of the bundle among the ten, per source.
    std::map<std::string, std::set<std::pair<std::string, std::string>>> expected;
    std::set<std::string> working(cas.begin(), cas.end());
    for (const auto& row : ReadBundleTable("binary_params.tsv")) {
        if (!working.count(row.at("cas1")) || !working.count(row.at("cas2"))) continue;
        auto pair = std::minmax(row.at("cas1"), row.at("cas2"));
        expected["BUNDLE." + row.at("source")].insert({pair.first, pair.second});
    }
    if (expected.empty()) GTEST_SKIP() << "MORU_SHARED_DATA is not readable here";

    std::vector<const char*> workingList, bankList, modelList;
    for (const auto& c : cas) workingList.push_back(c.c_str());
    for (const auto& b : banks) bankList.push_back(b.c_str());
    for (const auto& m : models) modelList.push_back(m.c_str());
    workingList.push_back(nullptr);
    bankList.push_back(nullptr);
    modelList.push_back(nullptr);
    int type = 1, condensed = 0, handle = 0;
    ASSERT_EQ(MORU_EXPORT_OF(BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects)(
                  workingList.data(), "CASRN", bankList.data(), modelList.data(), &type, &condensed, &handle),
              1);
    std::map<std::string, std::set<std::pair<std::string, std::string>>> walked;
    int c1, c2, c3, c4, bank, prop, size, regInfo;
    double values[16];
    int read = 0;
    while (MORU_EXPORT_OF(BinaryPropertyValueObjects_GetNextPropertyValueObject)(handle, &c1, &c2, &c3, &c4, &bank,
                                                                                 &prop, &size, &regInfo, values) == 1) {
        ++read;
        ASSERT_TRUE(c1 >= 0 && c1 < 10 && c2 >= 0 && c2 < 10 && c1 != c2);
        ASSERT_EQ(c3, -1);
        ASSERT_EQ(c4, -1);
        ASSERT_EQ(prop, bank); // each source holds its own model, listed at the same position
        auto pair = std::minmax(cas[static_cast<std::size_t>(c1)], cas[static_cast<std::size_t>(c2)]);
        walked[banks[static_cast<std::size_t>(bank)]].insert({pair.first, pair.second});
    }
    EXPECT_EQ(read, MORU_EXPORT_OF(BinaryPropertyValueObjects_NumberOfElements)(handle));
    for (const auto& b : banks) EXPECT_EQ(walked[b], expected[b]) << b;
    MORU_EXPORT_OF(BinaryPropertyValueObjects_ReleaseHandle)(handle);
}

namespace {
class RegressionText : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::string(MORU_REGRESS_CONFIG).empty()) GTEST_SKIP() << "no moru-db for this build";
        ASSERT_TRUE(ConnectAndList(MORU_REGRESS_CONFIG));
    }
    struct Details {
        int kind = -1;
        char f[15][256] = {};
        char xT[512] = {}, citation[64] = {}, basis[256] = {};
    };
    static int Read(int handle, Details& d)
    {
        return MORU_EXPORT_OF(BinaryPropertyValueObjects_GetRegInfoObjectDetails)(
            handle, &d.kind, d.f[0], d.f[1], d.f[2], d.f[3], d.f[4], d.f[5], d.f[6], d.f[7], d.f[8], d.f[9], d.f[10],
            d.f[11], d.f[12], d.xT, d.citation, d.basis, 256, 512, 64);
    }
};
} // namespace

TEST_F(RegressionText, ReadsVapourLiquidInformationAsText)
{
    int handle = 0;
    ASSERT_EQ(MORU_EXPORT_OF(BinaryPropertyValueObjects_GetRegInfoObject)("REGRESS.FITTED", "NRTL", "WATER", "ETHANOL",
                                                                          "NAME", &handle),
              1);
    Details d;
    ASSERT_EQ(Read(handle, d), 1);
    EXPECT_EQ(d.kind, 1);
    EXPECT_STREQ(d.basis, "ETHANOL");
    EXPECT_STREQ(d.f[0], "1E-05");                // sigma
    EXPECT_STREQ(d.f[1], "298.15 - 373.15");      // temperature range
    EXPECT_STREQ(d.f[2], "0.0001 - 101.325");     // pressure range
    EXPECT_STREQ(d.f[9], "12  0.5  0.01  1.2  "); // pressure deviations
    EXPECT_STREQ(d.citation, "");
    MORU_EXPORT_OF(BinaryPropertyValueObjects_ReleaseHandle)(handle);
}

TEST_F(RegressionText, ReadsLiquidLiquidInformationWithBothPhasesDeviations)
{
    int handle = 0;
    ASSERT_EQ(MORU_EXPORT_OF(BinaryPropertyValueObjects_GetRegInfoObject)("REGRESS.FITTED", "NRTL", "ETHANOL",
                                                                          "BENZENE", "NAME", &handle),
              1);
    Details d;
    ASSERT_EQ(Read(handle, d), 1);
    EXPECT_EQ(d.kind, 2);
    EXPECT_STREQ(d.f[4], "0.1 - 0.2");              // first liquid's range
    EXPECT_STREQ(d.f[5], "0.8 - 0.9");              // second liquid's range
    EXPECT_STREQ(d.f[11], "5  1  2  3  ");          // first liquid's deviations
    EXPECT_STREQ(d.f[12], "6  0.5  0.25  0.125  "); // second liquid's deviations
    EXPECT_STREQ(d.f[2], "");                       // no pressure in this kind
    MORU_EXPORT_OF(BinaryPropertyValueObjects_ReleaseHandle)(handle);
}

TEST_F(RegressionText, ReadsNistRowsAndTheCitationsThatFit)
{
    int handle = 0;
    ASSERT_EQ(MORU_EXPORT_OF(BinaryPropertyValueObjects_GetRegInfoObject)("regress.fitted", "NRTL", "BENZENE", "WATER",
                                                                          "NAME", &handle),
              1);
    Details d;
    ASSERT_EQ(Read(handle, d), 1);
    EXPECT_EQ(d.kind, 4);
    EXPECT_STREQ(d.xT, "Pressure, kPa  3  1  2  3  Vapor mole fraction  4  5  6  7  ");
    EXPECT_STREQ(d.citation, "First citation  Second citation  ");
    MORU_EXPORT_OF(BinaryPropertyValueObjects_ReleaseHandle)(handle);
}
