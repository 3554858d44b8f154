#include "DialogScript.h"
#include "HostSession.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace moru::host;

namespace {

std::vector<std::string>& Actions()
{
    static std::vector<std::string> actions;
    return actions;
}

std::string Text(const char* text) { return text ? text : "<null>"; }

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void MORU_CDECL Action(const char* windowTitle, const char* propName, const char* tabName, int code, double value1,
                       double value2, int intValue, double value3, const char* text)
{
    Actions().push_back(Text(windowTitle) + "|" + Text(propName) + "|" + Text(tabName) + "|" + std::to_string(code) +
                        "|" + Number(value1) + "|" + Number(value2) + "|" + std::to_string(intValue) + "|" +
                        Number(value3) + "|" + Text(text));
}

// The title the NIST window takes from the host's window name "TDE"; the scriptable dialog takes
// the script's, so both give the host the same calls.
const std::string kTitle = "TDE - NIST ThermoData Engine";

void StagePure()
{
    ASSERT_TRUE(MORU_EXPORT_OF(InitializeTDEdialog)("water"));
    const double values[] = {75.3, 0.1};
    const double temperatures[] = {298.15, 310.0, 320.0};
    for (const char* name : {"CP", "PVAP", "DENL"}) {
        ASSERT_TRUE(MORU_EXPORT_OF(PushPropertyValue_GetPropNameValue)(
            name, "", "", "", 1, "T", "", "J/mol/K", 1, values, 0, 3, temperatures, temperatures, nullptr, nullptr,
            nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr,
            nullptr, "", ""));
    }
}

class NistTabOnTheSample : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(MORU_SAMPLE_CONFIG)) GTEST_SKIP() << "no sample database in this build";
        ASSERT_TRUE(ConnectAndList(MORU_SAMPLE_CONFIG));
        Actions().clear();
    }
    void TearDown() override
    {
        MORU_EXPORT_OF(ForceClose)();
        ClearScript();
    }
    static void Launch() { MORU_EXPORT_OF(LaunchNISTTab)(&Action, "HostClass", "TDE", "", "", "", "", "", ""); }
};

#ifdef _WIN32
BOOL CALLBACK AppendText(HWND child, LPARAM all)
{
    char text[4096] = "";
    GetWindowTextA(child, text, sizeof text);
    *reinterpret_cast<std::string*>(all) += std::string(text) + "\n";
    return TRUE;
}

// Every text the open NIST window shows, one control a line.
std::string WindowTexts()
{
    const HWND window = FindWindowW(L"MoruNistData", nullptr);
    if (!window) return "<no window>";
    std::string texts;
    EnumChildWindows(window, &AppendText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}
#endif

} // namespace

TEST_F(NistTabOnTheSample, EachActionAPersonChoosesReachesTheHostAsItsSeriesOfCalls)
{
    StagePure();
    PlayScript("click 7 | " + kTitle +
               " | Pure\n"
               "click 110 | " +
               kTitle +
               " | Pure | CP, PVAP\n"
               "click 8 | " +
               kTitle +
               " | Pure | CP, PVAP | 1.5, 2.5, 3, 4.5\n"
               "click 125 | " +
               kTitle +
               " | Pure | DENL | set1, set2\n"
               "click 102 | " +
               kTitle +
               " | Pure | CP | r0\n"
               "click 4 | " +
               kTitle +
               " | Pure | PVAP\n"
               "click 40 | " +
               kTitle +
               " | Pure | DENL\n"
               "click -999 | " +
               kTitle +
               " | Pure\n"
               "shot nist-pure-actions\n");
    Launch();
    const std::string t = kTitle;
    EXPECT_EQ(Actions(), (std::vector<std::string>{
                             "|||7|0|0|0|0|",
                             "|CP|Pure|110|0|0|0|0|",
                             "|PVAP|Pure|110|0|0|0|0|",
                             t + "|||999|0|0|0|0|",
                             "|CP||8|1.5|2.5|3|4.5|PVAP",
                             "|DENL|Pure|125|0|0|0|0|",
                             "|ParameterSet|Pure|125|0|0|0|0|set1",
                             "|ParameterSet|Pure|125|0|0|0|0|set2",
                             t + "|||999|0|0|0|0|",
                             "|CP|Pure|102|0|0|0|0|r0",
                             t + "|||999|0|0|0|0|",
                             t + "|PVAP|Pure|4|0|0|0|0|",
                             "|||0|0|0|0|0|",
                             "|DENL|Pure|40|0|0|0|0|",
                             t + "|||0|0|0|0|0|",
                             "|||-999|0|0|0|0|",
                         }));
}

TEST_F(NistTabOnTheSample, TheMixtureTabReportsItsActionsUnderItsOwnTab)
{
    ASSERT_TRUE(MORU_EXPORT_OF(InitializeTDEdialogMix)("water", "ethanol"));
    const double points[] = {0.1, 0.5};
    ASSERT_TRUE(MORU_EXPORT_OF(PushMixPropertyValue_GetMixPropNameValue)(
        "VLE", "1", "2", "3", 2, points, points, points, points, nullptr, nullptr, nullptr, nullptr, nullptr, 2,
        "A citation", "kPa", "2001", "300-350 K", "1 bar", "VLE", false));
    PlayScript("click 152 | " + kTitle + " | Mixture | VLE | p0, p1, r0\nshot nist-mixture-actions\n");
    MORU_EXPORT_OF(LaunchNISTMixTab)(&Action, "HostClass", "TDE", "", "", "", "", "", "");
    EXPECT_EQ(Actions(), (std::vector<std::string>{
                             "|VLE|Mixture|152|0|0|0|0|r0",
                             "|ParameterSet|Mixture|152|0|0|0|0|p0",
                             "|ParameterSet|Mixture|152|0|0|0|0|p1",
                             kTitle + "|||999|0|0|0|0|",
                         }));
#ifdef _WIN32
    MORU_EXPORT_OF(PushDRSDefaultPropertyBack)("VLE");
    const double x[] = {0.1, 0.2}, y[] = {1.0, 2.0};
    MORU_EXPORT_OF(PushFittingBack)(1, "VLE", 2, x, y, x, y);
    const std::string texts = WindowTexts();
    EXPECT_NE(texts.find("Mixture of water and ethanol"), std::string::npos) << texts;
    EXPECT_NE(texts.find("Default property: VLE"), std::string::npos) << texts;
    EXPECT_NE(texts.find("Fitting 1 of VLE, 2 points: values [0.1, 0.2], x1 [1, 2]"), std::string::npos) << texts;
#endif
}

#ifdef _WIN32
TEST_F(NistTabOnTheSample, WhatTheHostPushesBackShowsInTheWindowWhichTheHostResizesAndCloses)
{
    StagePure();
    PlayScript("# the person only looks\n");
    Launch();
    ASSERT_NE(FindWindowW(L"MoruNistData", nullptr), nullptr);
    MORU_EXPORT_OF(PushCitation)("CP", "1", "J. Chem. Data 12 (2001) 34");
    const double x[] = {300.0, 310.0}, y[] = {75.1, 75.6};
    MORU_EXPORT_OF(PushReevalBack)(2, x, y);
    const double six[] = {1, 2, 3, 4, 5, 6}, ten[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    MORU_EXPORT_OF(PushFittingBack)(2000, "CP", 0, six, ten, nullptr, nullptr);
    const double herington[] = {1, 2, 3, 4, 5, 6}, vanNess[] = {1, 2, 3, 4, 5, 6, 7, 8},
                 infinite[] = {1, 2, 3, 4, 5, 6, 7};
    MORU_EXPORT_OF(PushConsistencyTestBack)("CP", 0.75, herington, vanNess, nullptr, infinite);
    MORU_EXPORT_OF(PushDRSDefaultPropertyBack)("PVAP");
    MORU_EXPORT_OF(TEDResultFormResize)(640, 480);

    const std::string texts = WindowTexts();
    for (
        const char* shown :
        {"Compound: water", "Citation 1 of CP: J. Chem. Data 12 (2001) 34",
         "Re-evaluated at 2 points: x [300, 310], y [75.1, 75.6]",
         "Fitting 2000 of CP, 0 points: values [1, 2, 3, 4, 5, 6], x1 [1, 2, 3, 4, 5, 6, 7, 8, 9, 10], T not given",
         "Consistency of CP: quality 0.75, Herington [1, 2, 3, 4, 5, 6], Van Ness [1, 2, 3, 4, 5, 6, 7, 8], point not given",
         "Default property: PVAP", "Result form resized to 640 by 480"})
        EXPECT_NE(texts.find(shown), std::string::npos) << shown << " is not in\n" << texts;
    RECT frame{};
    GetWindowRect(FindWindowW(L"MoruNistData", nullptr), &frame);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(frame.right - frame.left, MulDiv(640, dpi, 96));

    MORU_EXPORT_OF(ForceClose)();
    EXPECT_EQ(FindWindowW(L"MoruNistData", nullptr), nullptr);
    MORU_EXPORT_OF(ForceClose)(); // a second close finds nothing to close
}
#endif
