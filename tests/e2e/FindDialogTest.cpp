#include "DialogScript.h"
#include "HostSession.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace moru::host;

namespace {

std::vector<std::string>& Received()
{
    static std::vector<std::string> received;
    return received;
}

std::string Text(const char* text) { return text ? text : "<null>"; }

int MORU_CDECL Added(const char* databank, const char* alias, int row, const char* name, const char* cas, const char*,
                     const char*, double weight, double, int id)
{
    char weightText[32];
    std::snprintf(weightText, sizeof weightText, "%.2f", weight);
    Received().push_back(Text(databank) + "|" + Text(alias) + "|" + std::to_string(row) + "|" + Text(name) + "|" +
                         Text(cas) + "|" + weightText + "|" + (id > 0 ? "id" : "no id"));
    return 0;
}

int MORU_CDECL AddedWithClass(const char*, const char*, int, const char* name, const char*, const char* compoundClass,
                              const char* synonym, double, double, int)
{
    Received().push_back(Text(name) + "|" + Text(compoundClass) + "|" + Text(synonym));
    return 0;
}

void MORU_CDECL Selected(char** monikers, int count)
{
    std::string line = "selected";
    for (int i = 0; i < count; ++i) line += " [" + Text(monikers[i]) + "]";
    Received().push_back(line);
}

const char* MORU_CDECL NoSelection(int) { return nullptr; }

class FindDialogOnTheSample : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(MORU_SAMPLE_CONFIG)) GTEST_SKIP() << "no sample database in this build";
        ASSERT_TRUE(ConnectAndList(MORU_SAMPLE_CONFIG));
        Received().clear();
    }
    void TearDown() override { ClearScript(); }
    void Play(const std::string& script) { PlayScript(script); }
};

} // namespace

TEST_F(FindDialogOnTheSample, TheScriptedUserSearchesAndPicksTwoCompoundsThatReachTheHost)
{
    Play("search water\npick 1\nsearch 64-17-5\npick 1\nshot find-results\nadd\nselect SAMPLE.PURE\n");
    MORU_EXPORT_OF(LaunchFindDialogWithWindowName)(&Added, &NoSelection, &Selected, 2, "", "HostClass", "Host");
    EXPECT_EQ(Received(), (std::vector<std::string>{
                              "SAMPLE.PURE|H2O|2|Oxidane|7732-18-5|18.02|id",
                              "SAMPLE.PURE|C2H6O|-1|Ethanol|64-17-5|46.07|id",
                              "selected [SAMPLE PURE]",
                          }));
}

TEST_F(FindDialogOnTheSample, AnAddedCompoundCarriesItsClassAndTheSynonymThatMatched)
{
    Play("search Ethyl Alcohol\npick 1\nsearch 64-17-5\npick 1\nadd\n");
    MORU_EXPORT_OF(LaunchFindDialogWithWindowName)(&AddedWithClass, &NoSelection, &Selected, 0, "", "", "");
    EXPECT_EQ(Received(), (std::vector<std::string>{
                              "Ethanol|alcohols|ethyl alcohol",
                              "Ethanol|alcohols|", // found by its CAS number: no synonym matched
                          }));
}

TEST_F(FindDialogOnTheSample, AnEmptyScriptOpensTheDialogAndClosesItWithoutCallbacks)
{
    Play("# nobody does anything\n");
    MORU_EXPORT_OF(LaunchFindDialogWithWindowName)(&Added, &NoSelection, &Selected, 0, "water", nullptr, nullptr);
    EXPECT_TRUE(Received().empty());
}

#ifndef _WIN32
// On Windows the window would wait for a person.
TEST_F(FindDialogOnTheSample, WithoutAScriptTheDialogClosesWithoutCallbacks)
{
    MORU_EXPORT_OF(LaunchFindDialogWithWindowName)(&Added, &NoSelection, &Selected, 0, "water", nullptr, nullptr);
    EXPECT_TRUE(Received().empty());
}
#endif

#ifdef _WIN32

namespace {

void MORU_CDECL Help(int topic) { Received().push_back("help " + std::to_string(topic)); }

} // namespace

// A person with no mouse: Tab walks the controls, Enter acts on the focused list, space selects,
// arrows switch tabs and Esc closes.
TEST_F(FindDialogOnTheSample, APersonUsesTheWindowWithTheKeyboardAlone)
{
    Play("type water\nkey enter\n"                            // search what was typed
         "key tab tab tab space\nkey enter\n"                 // to the results: select the first, pick it
         "key tab tab tab\nshot find-keyboard\nkey space\n"   // past Pick and the chosen list to Add
         "key tab tab tab right\nshot find-databanks\n"       // past Help and Close to the tabs: the databanks
         "key tab tab tab tab space enter\n"                  // the available list: select the first, move it
         "key shift+tab shift+tab shift+tab shift+tab left\n" // back to the search tab
         "key tab tab tab tab tab tab tab tab space\n"        // to Help
         "key esc\n");
    MORU_EXPORT_OF(LaunchFindDialogWithKELDA)(&Added, &NoSelection, &Selected, 0, "", "HostClass", "Host", &Help);
    EXPECT_EQ(Received(), (std::vector<std::string>{
                              "SAMPLE.PURE|H2O|-1|Oxidane|7732-18-5|18.02|id",
                              "selected [SAMPLE PURE]",
                              "help 110021",
                          }));
}

namespace {

std::vector<std::string>& MessagesShown()
{
    static std::vector<std::string> messages;
    return messages;
}

BOOL CALLBACK ReadStaticText(HWND child, LPARAM text)
{
    char childClass[32] = "";
    GetClassNameA(child, childClass, sizeof childClass);
    if (std::string(childClass) == "Static" && GetWindowTextLengthA(child) > 0)
        GetWindowTextA(child, reinterpret_cast<char*>(text), 256);
    return TRUE;
}

// Refuses the find window, as a system out of window resources would, and reads and acknowledges
// any message box shown instead.
LRESULT CALLBACK RefuseFindWindow(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const auto* creation = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (!IS_INTRESOURCE(creation->lpszClass) && std::wstring(creation->lpszClass) == L"MoruFindCompounds") return 1;
    } else if (code == HCBT_ACTIVATE) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t className[64] = L"";
        GetClassNameW(box, className, 64);
        if (std::wstring(className) == L"#32770") {
            char caption[256] = "", text[256] = "";
            GetWindowTextA(box, caption, sizeof caption);
            EnumChildWindows(box, &ReadStaticText, reinterpret_cast<LPARAM>(text));
            MessagesShown().push_back(std::string(caption) + ": " + text);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(FindDialogOnTheSample, AWindowThatCannotBeCreatedShowsTheFailureAndNothingReachesTheHost)
{
    Play("search water\npick 1\nadd\n");
    MessagesShown().clear();
    HHOOK hook = SetWindowsHookExW(WH_CBT, &RefuseFindWindow, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    MORU_EXPORT_OF(LaunchFindDialogWithWindowName)(&Added, &NoSelection, &Selected, 0, "water", nullptr, nullptr);
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(MessagesShown(), (std::vector<std::string>{"MORU: Failed to launch FindCompounds Dialog"}));
}

#endif
