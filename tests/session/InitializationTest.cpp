#include "MoruIntegration.h"
#include "fake/FakeService.h"
#include "session/Session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

using namespace moru::fake;

namespace {

class Initialization : public ::testing::Test {
protected:
    Initialization()
    {
        configPath = (std::filesystem::temp_directory_path() / "moru-init-test.cfg").string();
        std::ofstream(configPath) << "databases: DB1";
    }
    ~Initialization() override { std::filesystem::remove(configPath); }

    struct Report {
        int result = 0, size = -1, overAllSuccess = -1, codeHandle = -1;
    };
    Report InitWithMessages(const char* path)
    {
        Report report;
        report.result =
            InitVNFromConfigFileWithReturnMsgs(path, "pw", &report.size, &report.overAllSuccess, &report.codeHandle);
        return report;
    }
    static std::string Message(int handle, int position)
    {
        const int size = GetNextDatabaseErrorMessageSize(handle, position);
        if (size < 1) return "<none>";
        std::string buffer(static_cast<std::size_t>(size), 'x');
        GetNextDatabaseErrorMessage(handle, position, buffer.data(), size);
        return buffer.substr(0, buffer.find('\0'));
    }

    FakeService service;
    std::string configPath;
};

} // namespace

TEST_F(Initialization, ClassifiesEntriesAndDropsEmptyOnes)
{
    service.collection->resultText = "DB1 OK<?>DB2: wrong password<?><?>DB3 SECURED";
    const Report report = InitWithMessages(configPath.c_str());
    EXPECT_EQ(report.size, 3);
    EXPECT_EQ(report.overAllSuccess, 1);
    ASSERT_NE(report.result, 0);
    ASSERT_NE(report.codeHandle, 0);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, 0), 0);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, 1), 2);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, 2), 1);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, 3), -1);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, -1), -1);
    EXPECT_EQ(Message(report.result, 1), "DB2: wrong password");
    EXPECT_EQ(InitializeVNFromConfigFile(configPath.c_str(), "pw"), 1);
    EXPECT_EQ(service.collection->lastConfiguration, "databases: DB1");
    EXPECT_EQ(service.log.Last("InitializeFromConfigurationFile"),
              "InitializeFromConfigurationFile " + configPath + "|pw");
    Optimized_ReleaseHandle(report.result);
    Optimized_ReleaseHandle(report.codeHandle);
}

TEST_F(Initialization, RxmEntriesCarryNoCodeSoPositionsDrift)
{
    service.collection->resultText = "reactions in KINETICS.RXM<?>DB1 OK";
    const Report report = InitWithMessages(configPath.c_str());
    EXPECT_EQ(report.size, 2);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, 0), 0);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, 1), -1);
    EXPECT_EQ(Message(report.result, 1), "DB1 OK");
}

TEST_F(Initialization, EmptyResultTextMakesNoHandles)
{
    service.collection->resultText = "";
    const Report report = InitWithMessages(configPath.c_str());
    EXPECT_EQ(report.result, 0);
    EXPECT_EQ(report.size, 0);
    EXPECT_EQ(report.overAllSuccess, 0);
    EXPECT_EQ(report.codeHandle, 0);
}

TEST_F(Initialization, SeparatorsOnlyGiveAnEmptyCodeList)
{
    service.collection->resultText = "<?><?>";
    const Report report = InitWithMessages(configPath.c_str());
    EXPECT_EQ(report.result, 0);
    EXPECT_EQ(report.size, 0);
    EXPECT_NE(report.codeHandle, 0);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, 0), -1);
}

TEST_F(Initialization, MissingFileIsReportedAsAnErrorEntry)
{
    const std::string missing = configPath + ".absent";
    const Report report = InitWithMessages(missing.c_str());
    EXPECT_EQ(report.size, 1);
    EXPECT_EQ(report.overAllSuccess, 0);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, 0), 2);
    EXPECT_EQ(Message(report.result, 0), "Configuration file that was specified could not be found - " + missing);
    EXPECT_TRUE(service.log.Matching("InitializeFromConfigurationFile").empty());
}

TEST_F(Initialization, MissingFileNameTooLongForTheMessageGivesNoText)
{
    const std::string fits(196, 'n');
    EXPECT_EQ(InitWithMessages(fits.c_str()).size, 1);
    const std::string tooLong(197, 'n');
    const Report report = InitWithMessages(tooLong.c_str());
    EXPECT_EQ(report.result, 0);
    EXPECT_EQ(report.size, 0);
}

TEST_F(Initialization, NoFileNameAsksTheServiceWithoutAStream)
{
    service.collection->resultText = "DEFAULT OK";
    EXPECT_EQ(InitializeVNFromConfigFile(nullptr, nullptr), 1);
    EXPECT_EQ(service.collection->lastConfiguration, "<none>");
    EXPECT_EQ(service.log.Last("InitializeFromConfigurationFile"), "InitializeFromConfigurationFile |");
}

TEST_F(Initialization, ServiceFailureBecomesTheResultText)
{
    service.log.failing.insert("InitializeFromConfigurationFile");
    const Report report = InitWithMessages(configPath.c_str());
    EXPECT_EQ(report.size, 1);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, 0), 2);
    EXPECT_EQ(Message(report.result, 0), "InitializeFromConfigurationFile failed");
}

TEST_F(Initialization, InstallerFailureGivesOneMessageAndNoCodeList)
{
    service.log.failing.insert("CreateConfigurationFile");
    const Report report = InitWithMessages(configPath.c_str());
    EXPECT_NE(report.result, 0);
    EXPECT_EQ(report.size, 1);
    EXPECT_EQ(report.overAllSuccess, 0);
    EXPECT_EQ(report.codeHandle, 0);
    EXPECT_EQ(Message(report.result, 0), "CreateConfigurationFile failed");
    EXPECT_EQ(InitializeVNFromConfigFile(configPath.c_str(), "pw"), 0);
    InitializeFromConfigFile(configPath.c_str(), "pw"); // contained
    // A failed installer stops every initialisation before the databases are asked.
    EXPECT_TRUE(service.log.Matching("InitializeFromConfigurationFile").empty());
}

TEST_F(Initialization, AnErrorEntryContainingOkWithoutEndingInItIsAnError)
{
    service.collection->resultText = "BOOKS could not be opened<?>DB2 connected";
    const Report report = InitWithMessages(configPath.c_str());
    EXPECT_EQ(report.size, 2);
    EXPECT_EQ(report.overAllSuccess, 0);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, 0), 2);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, 1), 2);
    EXPECT_EQ(InitializeVNFromConfigFile(configPath.c_str(), "pw"), 0);
    // Only the exact ending counts: neither "ok" nor "SECURED" in another case.
    service.collection->resultText = "DB1 ok<?>DB2 secured";
    const Report lower = InitWithMessages(configPath.c_str());
    EXPECT_EQ(lower.overAllSuccess, 0);
    EXPECT_EQ(GetNextDatabaseSuccessCode(lower.codeHandle, 0), 2);
    EXPECT_EQ(GetNextDatabaseSuccessCode(lower.codeHandle, 1), 2);
}

TEST_F(Initialization, NullOutParametersFailWithoutConnecting)
{
    int size = 0, success = 0;
    EXPECT_EQ(InitVNFromConfigFileWithReturnMsgs(configPath.c_str(), "", &size, &success, nullptr), 0);
    EXPECT_TRUE(service.log.Matching("InitializeFromConfigurationFile").empty());
}

TEST_F(Initialization, MessageReadersTellTheListsApart)
{
    service.collection->resultText = " leading blank<?>DB1 OK";
    const Report report = InitWithMessages(configPath.c_str());
    // A message list is no code list, and the other way round.
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.result, 0), -1);
    EXPECT_EQ(GetNextDatabaseErrorMessageSize(report.codeHandle, 0), -1);
    char buffer[64] = "untouched";
    EXPECT_EQ(GetNextDatabaseErrorMessage(report.codeHandle, 0, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "untouched");
    // A message with a leading blank is copied, and reported as no message.
    EXPECT_EQ(GetNextDatabaseErrorMessage(report.result, 0, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, " leading blank");
    EXPECT_EQ(GetNextDatabaseErrorMessageSize(report.result, 1), 7);
    // A buffer one byte short receives nothing.
    EXPECT_EQ(GetNextDatabaseErrorMessage(report.result, 1, buffer, 6), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetNextDatabaseErrorMessage(report.result, 1, nullptr, 6), 0);
    EXPECT_EQ(GetNextDatabaseErrorMessage(report.result, 2, buffer, sizeof buffer), 0);
}

TEST_F(Initialization, SessionAndCatalogueSurviveASecondInitialisation)
{
    service.collection->resultText = "DB1 OK";
    service.AddDatabase("DB1")->AddDatabank("BANK");
    InitializeFromConfigFile(configPath.c_str(), "");
    ListAllDatabanks();
    InitializeFromConfigFile(configPath.c_str(), "");
    int types = 0, table = 0;
    EXPECT_EQ(Databank_GetDatabankTypeAndPropertyList("db1", "bank", &types, &table), 0);
    // Resolved (the property manager was asked), though the databank has no property list.
    EXPECT_EQ(service.log.Matching("GetAllProperties").size(), 1u);
}

TEST(SessionSettings, DescriptionsOfDatabasesAndDatabanks)
{
    FakeService service;
    auto database = service.AddDatabase("DB1");
    database->description = "Pure components";
    database->AddDatabank("BANK")->description = "Main bank";
    database->AddDatabank("NODESC");
    char value[32];
    EXPECT_EQ(GetDescription("DB1", value, sizeof value), 1);
    EXPECT_STREQ(value, "Pure components");
    EXPECT_EQ(GetDescription("DB1.BANK", value, sizeof value), 1);
    EXPECT_STREQ(value, "Main bank");
    EXPECT_EQ(GetDescription("DB1.BANK", value, 9), 1); // does not fit: empty, still 1
    EXPECT_STREQ(value, "");
    std::strcpy(value, "old");
    EXPECT_EQ(GetDescription("DB1.BANK.X", value, sizeof value), 0);
    EXPECT_STREQ(value, "");
    std::strcpy(value, "old");
    EXPECT_EQ(GetDescription("DB1.NODESC", value, sizeof value), 0);
    EXPECT_STREQ(value, "");
    EXPECT_EQ(GetDescription("NODB", value, sizeof value), 0);
    std::strcpy(value, "old");
    EXPECT_EQ(GetDescription("DB1", value, 0), 0);
    EXPECT_EQ(GetDescription(nullptr, value, sizeof value), 0);
    EXPECT_STREQ(value, "old");
}

namespace {
int g_helpTopic = 0;
int MORU_CALL RecordHelpTopic(int topic)
{
    g_helpTopic = topic;
    return 99;
}
} // namespace

TEST(SessionSettings, HelpTopicAndServiceCalls)
{
    FakeService service;
    FindCompHelpID(nullptr);
    FindCompHelpID(reinterpret_cast<void*>(&RecordHelpTopic));
    EXPECT_EQ(g_helpTopic, 110021);
    CheckExceptions();
    CreateDBConfigFile();
    EXPECT_EQ(service.log.Matching("GetExceptionResults").size(), 1u);
    EXPECT_EQ(service.log.Matching("CreateConfigurationFile").size(), 1u);
    service.log.failing.insert("GetExceptionResults");
    CheckExceptions(); // contained
    EXPECT_EQ(service.log.Matching("GetExceptionResults").size(), 2u);
}

TEST(SessionSettings, DatabankTabFlagIsTrueUntilTheHostChangesIt)
{
    FakeService service;
    auto& session = moru::session::MoruGUIDataFunctions::Instance();
    EXPECT_TRUE(session.GetDatabankTabFlag());
    SetDatabankTabFlag(false);
    EXPECT_FALSE(session.GetDatabankTabFlag());
    SetDatabankTabFlag(true);
    EXPECT_TRUE(session.GetDatabankTabFlag());
}

TEST_F(Initialization, AMissingFileNameCannotForgeEntriesOrSuccess)
{
    const std::string forged = configPath + ".absent<?>DB connected: OK";
    const Report report = InitWithMessages(forged.c_str());
    EXPECT_EQ(report.size, 1);
    EXPECT_EQ(report.overAllSuccess, 0);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, 0), 2);
    const std::string message = Message(report.result, 0);
    EXPECT_EQ(message.find("<?>"), std::string::npos) << message;
    EXPECT_EQ(InitializeVNFromConfigFile("gone-SECURED", ""), 0);
    const Report secured = InitWithMessages("gone-SECURED");
    EXPECT_EQ(GetNextDatabaseSuccessCode(secured.codeHandle, 0), 2);
}

TEST_F(Initialization, ServiceMessagesCannotForgeEntries)
{
    service.log.failing.insert("InitializeFromConfigurationFile");
    service.log.failureMessage = "broken<?>DB connected: OK";
    const Report report = InitWithMessages(configPath.c_str());
    EXPECT_EQ(report.size, 1);
    EXPECT_EQ(report.overAllSuccess, 0);
    EXPECT_EQ(GetNextDatabaseSuccessCode(report.codeHandle, 0), 2);
}
