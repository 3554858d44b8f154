#include "TestServer.h"

#include "Access.h"
#include "Pull.h"
#include "Push.h"
#include "TestDatabase.h"

#include "PgConnection.h"
#include "PgService.h"

#include "service/Errors.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace moru::postgres::testing {
namespace {

using sqlite::testing::ScratchDirectory;

// The rich database file, and the server's superuser to load it and to plant faults.
class ServerTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        MORU_NEEDS_SERVER();
        IgnoreAccountPasswords();
        sqlite::testing::Build(sqlite::testing::RichSource(), scratch.File("rich.db"));
    }

    // The reader's url with its password in it.
    static std::string ReaderUrlWithPassword(const std::string& password)
    {
        std::string url = ServerUrl(kReader);
        url.insert(url.find('@'), ":" + password);
        return url;
    }

    // The names of the databanks that the reader sees in `schema`.
    static std::vector<std::string> ReadersDatabanks(const std::string& schema)
    {
        const auto source = dbtool::PullSource(ReaderUrlWithPassword(kReaderPassword), schema);
        std::vector<std::string> names;
        for (const auto& databank : source["databanks"]) names.push_back(databank["name"]);
        return names;
    }

    ScratchDirectory scratch;
};

TEST_F(ServerTool, APushedDatabasePullsBackAsItsDump)
{
    dbtool::PushDatabase(scratch.File("rich.db"), ServerUrl("postgres"), "rich_pulled");
    EXPECT_EQ(dbtool::DumpDatabase(scratch.File("rich.db")), dbtool::PullSource(ServerUrl("postgres"), "rich_pulled"));
    // As a database file too, which then checks sound.
    dbtool::PullDatabase(ServerUrl("postgres"), "rich_pulled", scratch.File("pulled.db"));
    EXPECT_TRUE(dbtool::CheckDatabase(scratch.File("pulled.db")).empty());
    // An existing file is never written over.
    EXPECT_THROW(dbtool::PullDatabase(ServerUrl("postgres"), "rich_pulled", scratch.File("rich.db")),
                 std::runtime_error);
    EXPECT_TRUE(dbtool::CheckDatabase(scratch.File("rich.db")).empty());
}

// Through the tool's commands: push, pull, dump, check.
TEST_F(ServerTool, TheSampleDatabasePullsBackAsItsDumpThroughTheTool)
{
    if (!std::filesystem::exists(MORU_SAMPLE_DB)) GTEST_SKIP() << "no sample database was built";
    const std::string tool = std::string("\"") + MORU_DB_PROGRAM + "\" ";
    const std::string url = "\"" + ServerUrl("postgres") + "\"";
    ASSERT_EQ(0, std::system(
                     (tool + "push \"" + MORU_SAMPLE_DB + "\" " + url + " --schema sample_pulled >/dev/null").c_str()));
    ASSERT_EQ(0,
              std::system(
                  (tool + "pull " + url + " --schema sample_pulled \"" + scratch.File("pulled.json") + "\"").c_str()));
    ASSERT_EQ(0,
              std::system((tool + "dump \"" + MORU_SAMPLE_DB + "\" \"" + scratch.File("dumped.json") + "\"").c_str()));
    std::ifstream pulled(scratch.File("pulled.json")), dumped(scratch.File("dumped.json"));
    const std::string pulledText((std::istreambuf_iterator<char>(pulled)), std::istreambuf_iterator<char>());
    const std::string dumpedText((std::istreambuf_iterator<char>(dumped)), std::istreambuf_iterator<char>());
    EXPECT_GT(dumpedText.size(), 1000u);
    EXPECT_TRUE(pulledText == dumpedText) << "the pulled source differs from the dump";
    // The output is not written over without --force; the check passes.
    EXPECT_NE(0, std::system((tool + "pull " + url + " --schema sample_pulled \"" + scratch.File("pulled.json") +
                              "\" 2>/dev/null")
                                 .c_str()));
    EXPECT_EQ(0, std::system(
                     (tool + "pull " + url + " --schema sample_pulled --force \"" + scratch.File("pulled.json") + "\"")
                         .c_str()));
    EXPECT_EQ(0, std::system((tool + "check " + url + " --schema sample_pulled >/dev/null").c_str()));
    // --schema belongs to a server.
    EXPECT_NE(0, std::system((tool + "check \"" + MORU_SAMPLE_DB + "\" --schema sample_pulled 2>/dev/null").c_str()));
}

TEST_F(ServerTool, CheckPassesASoundSchemaAndNamesEachPlantedFault)
{
    dbtool::PushDatabase(scratch.File("rich.db"), ServerUrl("postgres"), "rich_checked");
    EXPECT_EQ(std::vector<std::string>{}, dbtool::CheckServerDatabase(ServerUrl("postgres"), "rich_checked"));

    // A value of a databank that does not exist.
    AdministerServer("INSERT INTO rich_checked.value (id, databank_id, property_id, compound1_id, kind) "
                     "VALUES (999999, 77, 1, 1, 1)");
    auto problems = dbtool::CheckServerDatabase(ServerUrl("postgres"), "rich_checked");
    ASSERT_EQ(1u, problems.size());
    EXPECT_EQ("a row of table \"value\" refers to a missing row of table \"databank\"", problems[0]);

    // Two databanks of one name, which a database file cannot hold.
    AdministerServer("DELETE FROM rich_checked.value WHERE id = 999999; "
                     "INSERT INTO rich_checked.databank (id, position, name) VALUES (99, 99, 'pure')");
    problems = dbtool::CheckServerDatabase(ServerUrl("postgres"), "rich_checked");
    ASSERT_EQ(1u, problems.size());
    EXPECT_NE(std::string::npos, problems[0].find("UNIQUE constraint failed: databank.name")) << problems[0];

    // Another format.
    AdministerServer("DELETE FROM rich_checked.databank WHERE id = 99; "
                     "UPDATE rich_checked.meta SET value = 'moru-property-db 2' WHERE key = 'format'");
    problems = dbtool::CheckServerDatabase(ServerUrl("postgres"), "rich_checked");
    ASSERT_EQ(1u, problems.size());
    EXPECT_NE(std::string::npos, problems[0].find("another format")) << problems[0];

    problems = dbtool::CheckServerDatabase(ServerUrl("postgres"), "no_such_schema");
    ASSERT_EQ(1u, problems.size());
    EXPECT_NE(std::string::npos, problems[0].find("no format record")) << problems[0];
}

TEST_F(ServerTool, NoMessageOfPullOrCheckHoldsThePassword)
{
    dbtool::PushDatabase(scratch.File("rich.db"), ServerUrl("postgres"), "rich_secret", {kReader});
    // A wrong password, one that libpq cannot decode, and one given as a parameter.
    for (const std::string& url : {ReaderUrlWithPassword("wrong-secret-pw"), ReaderUrlWithPassword("bad%zzsecret"),
                                   ServerUrl(kReader) + "?password=param-secret-pw"}) {
        const auto problems = dbtool::CheckServerDatabase(url, "rich_secret");
        ASSERT_EQ(1u, problems.size()) << url;
        for (const char* secret : {"wrong-secret", "zzsecret", "param-secret"})
            EXPECT_EQ(std::string::npos, problems[0].find(secret)) << problems[0];
        try {
            dbtool::PullSource(url, "rich_secret");
            ADD_FAILURE() << "pulled with a wrong password";
        } catch (const std::exception& error) {
            for (const char* secret : {"wrong-secret", "zzsecret", "param-secret"})
                EXPECT_EQ(std::string::npos, std::string(error.what()).find(secret)) << error.what();
        }
    }
    // The tool's own output, standard error included.
    const std::string command = std::string("\"") + MORU_DB_PROGRAM + "\" check \"" +
                                ReaderUrlWithPassword("wrong-secret-pw") + "\" --schema rich_secret 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 512> buffer{};
        while (fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
        EXPECT_NE(0, pclose(pipe));
    }
    EXPECT_NE(std::string::npos, output.find("password authentication failed")) << output;
    EXPECT_EQ(std::string::npos, output.find("wrong-secret")) << output;
}

TEST_F(ServerTool, ARestrictedDatabankIsHiddenFromOtherRolesAndKeptAcrossLoads)
{
    const std::vector<std::string> all{"PURE", "BINARY", "REACT"};
    dbtool::PushDatabase(scratch.File("rich.db"), ServerUrl("postgres"), "rich_restricted", {kReader},
                         {dbtool::ParseRestriction("binary=moru_partner")});
    EXPECT_EQ((std::vector<std::string>{"PURE", "REACT"}), ReadersDatabanks("rich_restricted"));
    // What the reader sees is a whole database.
    EXPECT_EQ(std::vector<std::string>{},
              dbtool::CheckServerDatabase(ReaderUrlWithPassword(kReaderPassword), "rich_restricted"));
    // The loader reads everything.
    EXPECT_EQ(3u, dbtool::PullSource(ServerUrl("postgres"), "rich_restricted")["databanks"].size());

    // A load without restrictions keeps those the schema had.
    dbtool::PushDatabase(scratch.File("rich.db"), ServerUrl("postgres"), "rich_restricted", {kReader});
    EXPECT_EQ((std::vector<std::string>{"PURE", "REACT"}), ReadersDatabanks("rich_restricted"));

    // Membership of a role that may read it is enough.
    AdministerServer("GRANT moru_partner TO moru_reader");
    EXPECT_EQ(all, ReadersDatabanks("rich_restricted"));
    AdministerServer("REVOKE moru_partner FROM moru_reader");

    // Restrictions that fail leave the schema as it was.
    for (const char* wrong : {"NOBANK=moru_partner", "PURE=no_such_role"}) {
        EXPECT_THROW(dbtool::PushDatabase(scratch.File("rich.db"), ServerUrl("postgres"), "rich_restricted", {kReader},
                                          {dbtool::ParseRestriction(wrong)}),
                     std::runtime_error)
            << wrong;
        EXPECT_EQ((std::vector<std::string>{"PURE", "REACT"}), ReadersDatabanks("rich_restricted"));
    }

    // "BANK=" lifts it.
    dbtool::PushDatabase(scratch.File("rich.db"), ServerUrl("postgres"), "rich_restricted", {kReader},
                         {dbtool::ParseRestriction("BINARY=")});
    EXPECT_EQ(all, ReadersDatabanks("rich_restricted"));
}

// The host's output and the library's trace of a failed initialisation, with passwords in the entry,
// in the url, and in a url that libpq cannot decode.
TEST_F(ServerTool, NeitherTheResultTextsNorTheTraceHoldAPassword)
{
    std::string host = ServerUrl(kReader);
    host = host.substr(host.find('@'));
    scratch.Write("databases.json", R"({"databases": [{"alias": "F", "path": "rich.db"},
        {"alias": "A", "url": "postgresql://moru_reader:bad%zzsecret)" +
                                        host + R"(", "schema": "x"},
        {"alias": "B", "url": "postgresql://moru_reader)" +
                                        host + R"(", "schema": "x", "password": "entry-secret"},
        {"alias": "C", "url": "postgresql://moru_reader:url-secret)" +
                                        host + R"(", "schema": "x"}]})");
    const std::string command = std::string("\"") + MORU_HOST_PROGRAM + "\" --trace \"" + scratch.File("trace") +
                                "\" connect \"" + scratch.File("databases.json") + "\" 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 512> buffer{};
        while (fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
        pclose(pipe); // one database connected: status 0
    }
    std::ifstream file(scratch.File("trace"));
    const std::string trace((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, output.find("Database 'C'")) << output;
    EXPECT_NE(std::string::npos, trace.find("InitVNFromConfigFileWithReturnMsgs")) << trace;
    EXPECT_EQ(std::string::npos, output.find("secret")) << output;
    EXPECT_EQ(std::string::npos, trace.find("secret")) << trace;
}

// libpq repeats a url's part that it cannot decode: the library's result text must not.
TEST_F(ServerTool, APasswordThatLibpqCannotReadIsNotRepeated)
{
    // The second holds the word that stands in for it.
    for (const std::string& password : std::vector<std::string>{"bad%zzsecret", "password%zz"}) {
        common::DatabaseEntry entry;
        entry.Alias = "TEAM";
        entry.Url = ReaderUrlWithPassword(password);
        entry.Schema = "anything";
        try {
            OpenServerDatabase(entry, "");
            ADD_FAILURE() << "connected with " << password;
        } catch (const service::ServiceError& error) {
            EXPECT_EQ(std::string::npos, std::string(error.what()).find(password)) << error.what();
            EXPECT_NE(std::string::npos, std::string(error.what()).find("(password)")) << error.what();
        }
    }
}

TEST(Restrictions, AreWrittenBankEqualsRoles)
{
    const auto two = dbtool::ParseRestriction("PURE=team_a,team_b");
    EXPECT_EQ("PURE", two.Databank);
    EXPECT_EQ((std::vector<std::string>{"team_a", "team_b"}), two.Roles);
    EXPECT_TRUE(dbtool::ParseRestriction("PURE=").Roles.empty());
    for (const char* wrong : {"PURE", "=team_a", "PURE=team_a,", "PURE=,team_a", "PURE=team_a,,team_b"})
        EXPECT_THROW(dbtool::ParseRestriction(wrong), std::runtime_error) << wrong;
}

// The administrator's text in the documentation is the one that the tool runs.
TEST(Restrictions, AreDocumentedWithTheSqlThatTheToolRuns)
{
    std::ifstream file(MORU_SERVER_DOC);
    const std::string doc((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::istringstream sql(dbtool::kRestrictAccessSql);
    int lines = 0;
    for (std::string line; std::getline(sql, line);) {
        if (line.empty()) continue;
        EXPECT_NE(std::string::npos, doc.find(line)) << line;
        ++lines;
    }
    EXPECT_GT(lines, 30);
}

} // namespace
} // namespace moru::postgres::testing
