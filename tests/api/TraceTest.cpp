// The call trace: one line a call, with the export, its arguments, its result and why it failed.

#include "MoruIntegration.h"
#include "fake/TraceCapture.h"
#include "fake/TwoDatabases.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

using namespace moru::fake;

namespace {

class Trace : public TwoDatabases {
protected:
    Trace() { dbA->properties->properties["A1"] = {std::make_shared<FakeProperty>("TC", 0)}; }

    TraceCapture trace;
};

} // namespace

TEST_F(Trace, AFailedCallSaysWhyWithItsArguments)
{
    int types = 0, table = 0;
    EXPECT_EQ(Databank_GetDatabankTypeAndPropertyList("A", "NOPE", &types, &table), 0);
    EXPECT_EQ(trace.LastCallOf("Databank_GetDatabankTypeAndPropertyList"),
              "Databank_GetDatabankTypeAndPropertyList(databaseName=text[1], databankName=text[4], "
              "databankTypes=out, propertyCollectionHandle=out) = 0: databank A.NOPE is not listed");

    EXPECT_EQ(Databank_GetDatabankTypeAndPropertyList("A", "A1", nullptr, &table), 0);
    EXPECT_NE(trace.LastCallOf("Databank_GetDatabankTypeAndPropertyList").find("databankTypes=null"),
              std::string::npos);
}

TEST_F(Trace, HandlesOfAnotherKindOrReleasedAreNamed)
{
    int types = 0, table = 0;
    ASSERT_EQ(Databank_GetDatabankTypeAndPropertyList("A", "A1", &types, &table), 1);
    ASSERT_NE(table, 0);

    // A property list's handle where a list of success codes is wanted.
    EXPECT_EQ(GetNextDatabaseSuccessCode(table, 0), -1);
    const std::string wrongKind = trace.LastCallOf("GetNextDatabaseSuccessCode");
    EXPECT_NE(wrongKind.find(" = -1: handle " + std::to_string(table) + " is a "), std::string::npos) << wrongKind;
    EXPECT_NE(wrongKind.find(", not a "), std::string::npos) << wrongKind;

    Databank_ReleaseHandle(table);
    char name[64];
    Databank_GetNextPropertyName(table, 0, name);
    EXPECT_NE(trace.LastCallOf("Databank_GetNextPropertyName").find("is not a live handle"), std::string::npos);
}

TEST_F(Trace, ABufferTooSmallGivesBothSizes)
{
    char version[4] = "xxx";
    MoruIntegration_GetVersion(version, sizeof version);
    const std::string needed = std::to_string(std::string(MORU_VERSION_TEXT).size() + 1);
    EXPECT_EQ(trace.LastCallOf("MoruIntegration_GetVersion"),
              "MoruIntegration_GetVersion(version=buffer, versionBufSize=4): buffer of 4 bytes, text needs " + needed);
}

TEST_F(Trace, PasswordsAndTextsNeverReachTheTrace)
{
    const auto config = std::filesystem::temp_directory_path() / "moru-trace-secret.cfg";
    std::ofstream(config) << "databases: A";
    InitializeVNFromConfigFile(config.string().c_str(), "s3cret-Pw");
    int size = 0, overall = 0, codes = 0;
    InitVNFromConfigFileWithReturnMsgs(config.string().c_str(), "s3cret-Pw", &size, &overall, &codes);
    std::filesystem::remove(config);

    const std::string text = trace.Text();
    EXPECT_EQ(text.find("s3cret"), std::string::npos);
    EXPECT_EQ(text.find("moru-trace-secret"), std::string::npos); // a text shows only its length
    EXPECT_NE(trace.LastCallOf("InitializeVNFromConfigFile").find("appPwd=(set)"), std::string::npos);
}

TEST_F(Trace, EveryCallIsOneLineAndNothingOnceStopped)
{
    char version[64];
    MoruIntegration_GetVersion(version, sizeof version);
    int types = 0, table = 0;
    Databank_GetDatabankTypeAndPropertyList("A", "A1", &types, &table);
    Databank_ReleaseHandle(table);
    EXPECT_EQ(trace.Calls().size(), 3u);
    EXPECT_EQ(trace.LastCallOf("Databank_ReleaseHandle"),
              "Databank_ReleaseHandle(handle=" + std::to_string(table) + ")");
    // A successful call with a result shows no reason, even where an inner step noted one.
    EXPECT_EQ(trace.LastCallOf("Databank_GetDatabankTypeAndPropertyList").find(':'), std::string::npos);

    moru::platform::StopTrace();
    MoruIntegration_GetVersion(version, sizeof version);
    EXPECT_EQ(trace.Calls().size(), 3u);
}

TEST_F(Trace, HostListsShowAsListsNotOutputs)
{
    const char* monikers[] = {"A A1", nullptr};
    SetPureDatabankList(monikers, 1);
    EXPECT_EQ(trace.LastCallOf("SetPureDatabankList"), "SetPureDatabankList(pureDatabankList=list, numOfDB=1)");
}
