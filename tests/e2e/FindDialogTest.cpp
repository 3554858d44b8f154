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

// The component reads the script named by this variable of the process's environment.
void SetScriptVariable(const std::string& value)
{
#ifdef _WIN32
    SetEnvironmentVariableA("MORU_DIALOG_SCRIPT", value.empty() ? nullptr : value.c_str());
#else
    if (value.empty()) unsetenv("MORU_DIALOG_SCRIPT");
    else setenv("MORU_DIALOG_SCRIPT", value.c_str(), 1);
#endif
}

class FindDialogOnTheSample : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(MORU_SAMPLE_CONFIG)) GTEST_SKIP() << "no sample database in this build";
        ASSERT_TRUE(ConnectAndList(MORU_SAMPLE_CONFIG));
        Received().clear();
    }
    void TearDown() override { SetScriptVariable(""); }

    void Play(const std::string& script)
    {
        const auto file = std::filesystem::temp_directory_path() / "moru-e2e-find-dialog.script";
        std::ofstream(file) << script;
        SetScriptVariable(file.string());
    }
};

} // namespace

TEST_F(FindDialogOnTheSample, TheScriptedUserSearchesAndPicksTwoCompoundsThatReachTheHost)
{
    Play("search water\npick 1\nsearch 64-17-5\npick 1\nadd\nselect SAMPLE.PURE\n");
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

TEST_F(FindDialogOnTheSample, WithoutAScriptTheDialogClosesWithoutCallbacks)
{
    MORU_EXPORT_OF(LaunchFindDialogWithWindowName)(&Added, &NoSelection, &Selected, 0, "water", nullptr, nullptr);
    EXPECT_TRUE(Received().empty());
}
