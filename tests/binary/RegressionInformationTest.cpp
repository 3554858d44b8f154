#include "binary/BinaryWorld.h"
#include "binary/RegressionInformation.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace moru::service;

using namespace moru::fake;
namespace binary = moru::binary;

namespace {

// Host buffers for the details, each filled with a marker so that untouched fields show.
struct Details {
    explicit Details(int standard = 256, int table = 1024, int citation = 512)
        : stdSize(standard), tableSize(table), citationSize(citation)
    {
        for (auto* field : Fields()) std::strcpy(field, "old");
    }
    std::vector<char*> Fields()
    {
        return {sigma, t, p, x, x1, x2, henry, henryDev, tDev, pDev, xDev, x1Dev, x2Dev, xT, citation, basis};
    }
    int Read(int handle)
    {
        return BinaryPropertyValueObjects_GetRegInfoObjectDetails(handle, &kind, sigma, t, p, x, x1, x2, henry,
                                                                  henryDev, tDev, pDev, xDev, x1Dev, x2Dev, xT,
                                                                  citation, basis, stdSize, tableSize, citationSize);
    }
    int kind = -7;
    char sigma[256], t[256], p[256], x[256], x1[256], x2[256], henry[256], henryDev[256], tDev[256], pDev[256],
        xDev[256], x1Dev[256], x2Dev[256], xT[1024], citation[512], basis[256];
    int stdSize, tableSize, citationSize;
};

class RegressionInformation : public BinaryWorld {
protected:
    int Fetch(std::function<void(IpHelpInfoObject&)> fill)
    {
        dbA->BinaryValues().onFetchExistingHelpInfo = std::move(fill);
        int handle = 0;
        EXPECT_EQ(BinaryPropertyValueObjects_GetRegInfoObject("a.a1", "NRTL", "ETHANOL", "WATER", "NAME", &handle), 1);
        return handle;
    }
};

IpRegressDeviations Deviations(double points, double aard, double aad, double max) { return {points, aard, aad, max}; }

} // namespace

TEST(NumberText, UsesUpToFifteenDigitsAndTheExponentFormBelowTenToTheMinusFour)
{
    EXPECT_EQ(binary::FormatNumber(298.15), "298.15");
    EXPECT_EQ(binary::FormatNumber(0.0001), "0.0001");
    EXPECT_EQ(binary::FormatNumber(0.00001), "1E-05");
    EXPECT_EQ(binary::FormatNumber(12.0), "12");
    EXPECT_EQ(binary::FormatNumber(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(binary::FormatNumber(123456789012345678.0), "1.23456789012346E+17");
    EXPECT_EQ(binary::FormatNumber(-2.5e-7), "-2.5E-07");
    EXPECT_EQ(binary::FormatNumber(std::nullopt), "");
}

TEST(NumberText, KeepsAFullStopUnderALocaleWithADecimalComma)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
#ifdef MORU_TEST_LOCPATH
    setenv("LOCPATH", MORU_TEST_LOCPATH, 1);
#endif
    bool comma = false;
    for (const char* name : {"de_DE.UTF-8", "German_Germany.1252", "de-DE"}) {
        if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',') {
            comma = true;
            break;
        }
    }
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma is available";
    EXPECT_EQ(binary::FormatRange({298.15, 373.15}), "298.15 - 373.15");
    EXPECT_EQ(binary::FormatNumber(0.0001), "0.0001");
    EXPECT_EQ(binary::FormatNumber(0.00001), "1E-05");
    std::setlocale(LC_ALL, previous.c_str());
}

TEST_F(RegressionInformation, BindsTheObjectToTheDatabaseAndAsksWithTheTypeTwice)
{
    int handle = -1;
    EXPECT_EQ(BinaryPropertyValueObjects_GetRegInfoObject("A.A1.x", "NRTL", "ETHANOL", "WATER", "NAME", &handle), 1);
    EXPECT_EQ(service.log.Calls(),
              (std::vector<std::string>{"FetchExistingHelpInfo A[A1] NRTL|ETHANOL|NAME|WATER|NAME|database A"}));
    Details d;
    ASSERT_EQ(d.Read(handle), 1);
    EXPECT_EQ(d.kind, 0); // nothing was found: every field is empty
    for (auto* field : d.Fields()) EXPECT_STREQ(field, "");
}

TEST_F(RegressionInformation, FailsWithHandleZeroOnBadEntriesAndServiceErrors)
{
    int handle = -1;
    EXPECT_EQ(BinaryPropertyValueObjects_GetRegInfoObject("A", "NRTL", "E", "W", "NAME", &handle), 0);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(BinaryPropertyValueObjects_GetRegInfoObject("A.NOPE", "NRTL", "E", "W", "NAME", &handle), 0);
    EXPECT_EQ(BinaryPropertyValueObjects_GetRegInfoObject("A.A1", nullptr, "E", "W", "NAME", &handle), 0);
    EXPECT_EQ(BinaryPropertyValueObjects_GetRegInfoObject("A.A1", "NRTL", "E", "W", "NAME", nullptr), 0);
    EXPECT_TRUE(service.log.Calls().empty());
    service.log.failing.insert("FetchExistingHelpInfo");
    EXPECT_EQ(BinaryPropertyValueObjects_GetRegInfoObject("A.A1", "NRTL", "E", "W", "NAME", &handle), 0);
    EXPECT_EQ(handle, 0);
}

TEST_F(RegressionInformation, WritesVapourLiquidFieldsAndEmptiesTheRest)
{
    int handle = Fetch([](IpHelpInfoObject& info) {
        info.ParamType = HelpInfoVle;
        info.FirstCompound = "ETHANOL";
        VleIpRegressHelpInfo vle;
        vle.Sigma = 0.00001;
        vle.Temp_Limits = {298.15, 373.15};
        vle.Pres_Limits = {101.325, std::nullopt};
        vle.X_Limits = {0, 1};
        vle.Temp_Deviation = Deviations(12, 0.5, 0.01, 1.2);
        vle.Pres_Deviation = Deviations(3, 0.0001, 2, 4);
        info.VleInfo = vle;
    });
    Details d;
    ASSERT_EQ(d.Read(handle), 1);
    EXPECT_EQ(d.kind, 1);
    EXPECT_STREQ(d.basis, "ETHANOL");
    EXPECT_STREQ(d.sigma, "1E-05");
    EXPECT_STREQ(d.t, "298.15 - 373.15");
    EXPECT_STREQ(d.p, "101.325 - ");
    EXPECT_STREQ(d.x, "0 - 1");
    EXPECT_STREQ(d.tDev, "12  0.5  0.01  1.2  ");
    EXPECT_STREQ(d.pDev, "3  0.0001  2  4  ");
    EXPECT_STREQ(d.xDev, "        ");
    for (auto* field : {d.x1, d.x2, d.henry, d.henryDev, d.x1Dev, d.x2Dev, d.xT, d.citation}) EXPECT_STREQ(field, "");
}

TEST_F(RegressionInformation, WritesLiquidLiquidAndHenryKinds)
{
    int lle = Fetch([](IpHelpInfoObject& info) {
        info.ParamType = HelpInfoLle;
        info.LleInfo = LleIpRegressHelpInfo{
            0.2, {280, 300}, {0.1, 0.2}, {0.8, 0.9}, Deviations(5, 1, 2, 3), Deviations(6, 0.5, 0.25, 0.125)};
    });
    int henry = Fetch([](IpHelpInfoObject& info) {
        info.ParamType = HelpInfoHenry;
        info.HenryInfo = HenryIpRegressHelpInfo{1, {280, 300}, {1, 2}, {0, 0.01}, {1000, 2000}, Deviations(4, 1, 1, 1)};
    });
    Details d;
    ASSERT_EQ(d.Read(lle), 1);
    EXPECT_EQ(d.kind, 2);
    EXPECT_STREQ(d.x1, "0.1 - 0.2");
    EXPECT_STREQ(d.x2, "0.8 - 0.9");
    EXPECT_STREQ(d.x1Dev, "5  1  2  3  ");
    EXPECT_STREQ(d.x2Dev, "6  0.5  0.25  0.125  ");
    EXPECT_STREQ(d.p, "");
    EXPECT_STREQ(d.basis, ""); // an absent first compound does not keep the old text
    ASSERT_EQ(d.Read(henry), 1);
    EXPECT_EQ(d.kind, 3);
    EXPECT_STREQ(d.henry, "1000 - 2000");
    EXPECT_STREQ(d.henryDev, "4  1  1  1  ");
    EXPECT_STREQ(d.x1, "");
    EXPECT_STREQ(d.x1Dev, "");
}

TEST_F(RegressionInformation, WritesTheNistTableWithLabelsAndCitationsThatFit)
{
    int handle = Fetch([](IpHelpInfoObject& info) {
        info.ParamType = HelpInfoNist;
        NistIpRegressHelpInfo nist;
        nist.Sigma = 0.3;
        nist.RegErrors = {{"P", Deviations(1, 2, 3, 4)},
                          {"Y", Deviations(5, 6, 7, 8)},
                          {"", Deviations(1, 1, 1, 1)},
                          {"GAMMA", Deviations(9, 9, 9, 9)}};
        nist.Citations = {"first", "", "second", "a citation too long to fit", "third"};
        info.NistInfo = nist;
    });
    Details d(256, 1024, 20);
    ASSERT_EQ(d.Read(handle), 1);
    EXPECT_EQ(d.kind, 4);
    EXPECT_STREQ(d.xT, "Pressure, kPa  1  2  3  4  Vapor mole fraction  5  6  7  8  1  1  1  1  GAMMA  9  9  9  9  ");
    EXPECT_STREQ(d.citation, "first  second  "); // stops at the first that does not fit: "third" is not tried
    EXPECT_STREQ(d.tDev, "");
}

TEST_F(RegressionInformation, ACitationThatWouldLeaveNoRoomForTheClosingNulIsDropped)
{
    int handle = Fetch([](IpHelpInfoObject& info) {
        info.ParamType = HelpInfoNist;
        NistIpRegressHelpInfo nist;
        nist.Citations = {"first", "second"}; // "first  second  " is 15 bytes
        info.NistInfo = nist;
    });
    Details exact(256, 1024, 15);
    ASSERT_EQ(exact.Read(handle), 1);
    EXPECT_STREQ(exact.citation, "first  ");
    Details roomy(256, 1024, 16);
    ASSERT_EQ(roomy.Read(handle), 1);
    EXPECT_STREQ(roomy.citation, "first  second  ");
}

TEST_F(RegressionInformation, TenRegressedPropertiesOrATooSmallBufferLeaveTheFieldEmpty)
{
    int handle = Fetch([](IpHelpInfoObject& info) {
        info.ParamType = HelpInfoNist;
        NistIpRegressHelpInfo nist;
        for (int i = 0; i < 10; ++i) nist.RegErrors.push_back({"P", Deviations(i, 0, 0, 0)});
        nist.Temp_Limits = {298.15, 373.15};
        info.NistInfo = nist;
        info.FirstCompound = "ETHANOL";
    });
    Details d(16, 1024, 512);
    ASSERT_EQ(d.Read(handle), 1);
    EXPECT_STREQ(d.xT, "");
    EXPECT_STREQ(d.t, "298.15 - 373.15");
    Details small(15, 1024, 512);
    ASSERT_EQ(small.Read(handle), 1);
    EXPECT_STREQ(small.t, ""); // 15 bytes do not hold 15 characters and the NUL
    EXPECT_STREQ(small.basis, "ETHANOL");
}

TEST_F(RegressionInformation, AnUnknownKindWritesKindZeroAndEmptiesEveryField)
{
    int handle = Fetch([](IpHelpInfoObject& info) {
        info.ParamType = 9;
        info.FirstCompound = "ETHANOL";
    });
    Details d;
    ASSERT_EQ(d.Read(handle), 1);
    EXPECT_EQ(d.kind, 0);
    EXPECT_STREQ(d.basis, "ETHANOL");
    EXPECT_STREQ(d.sigma, "");
    EXPECT_STREQ(d.citation, "");
}

TEST_F(RegressionInformation, DetailsRefuseNullBuffersAndForeignHandlesWithoutWriting)
{
    int handle = Fetch([](IpHelpInfoObject& info) {
        info.ParamType = HelpInfoVle;
        info.VleInfo.emplace();
    });
    Details d;
    EXPECT_EQ(BinaryPropertyValueObjects_GetRegInfoObjectDetails(handle, nullptr, d.sigma, d.t, d.p, d.x, d.x1, d.x2,
                                                                 d.henry, d.henryDev, d.tDev, d.pDev, d.xDev, d.x1Dev,
                                                                 d.x2Dev, d.xT, d.citation, d.basis, 256, 1024, 512),
              0);
    EXPECT_EQ(BinaryPropertyValueObjects_GetRegInfoObjectDetails(handle, &d.kind, d.sigma, d.t, d.p, d.x, d.x1, d.x2,
                                                                 d.henry, d.henryDev, d.tDev, d.pDev, d.xDev, d.x1Dev,
                                                                 d.x2Dev, d.xT, nullptr, d.basis, 256, 1024, 512),
              0);
    EXPECT_EQ(d.Read(0), 0);
    int type = 1, condensed = 0, sets = 0;
    const char* list[] = {"A", nullptr};
    const char* banks[] = {"A.A1", nullptr};
    ASSERT_EQ(BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(list, "NAME", banks, list, &type, &condensed,
                                                                          &sets),
              1);
    EXPECT_EQ(d.Read(sets), 0);
    EXPECT_EQ(d.kind, -7);
    EXPECT_STREQ(d.sigma, "old");
}
