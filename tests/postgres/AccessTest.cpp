#include "TestServer.h"

#include "Push.h"
#include "TestDatabase.h"

#include "PgService.h"
#include "Service.h"

#include "service/Errors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace moru::postgres::testing {
namespace {

using sqlite::testing::ScratchDirectory;

// A file and the same database in the schema `schema`, readable by the reader role unless
// `granted` is false.
class ServerAccess : public ::testing::Test {
protected:
    void SetUp() override
    {
        MORU_NEEDS_SERVER();
        IgnoreAccountPasswords();
        sqlite::testing::Build(sqlite::testing::RichSource(), scratch.File("rich.db"));
    }

    void Push(const std::string& schema, bool granted = true)
    {
        dbtool::PushDatabase(scratch.File("rich.db"), ServerUrl("postgres"), schema,
                             granted ? std::vector<std::string>{kReader} : std::vector<std::string>{});
    }

    static common::DatabaseEntry Entry(const std::string& schema, std::optional<std::string> password)
    {
        common::DatabaseEntry entry;
        entry.Alias = "TEAM";
        entry.Url = ServerUrl(kReader);
        entry.Schema = schema;
        entry.Password = std::move(password);
        return entry;
    }

    std::string Initialize(const std::string& configuration, const std::string& password = "")
    {
        common::DatabaseCollection collection(std::make_shared<service::DatabankCollection>(), sqlite::OpenDatabaseFile,
                                              OpenServerDatabase);
        std::istringstream text(configuration);
        return collection.InitializeFromConfigurationFile(&text, scratch.File("databases.json"), password);
    }

    ScratchDirectory scratch;
};

TEST_F(ServerAccess, APasswordThatTheServerRefusesIsWrongAndNoneIsSecured)
{
    Push("rich_access");
    EXPECT_EQ(common::Admission::WrongPassword, OpenServerDatabase(Entry("rich_access", "not-it"), "").Result);
    EXPECT_EQ(common::Admission::NeedsPassword, OpenServerDatabase(Entry("rich_access", std::nullopt), "").Result);
    // The application's password stands in for an entry without one.
    EXPECT_EQ(common::Admission::Connected,
              OpenServerDatabase(Entry("rich_access", std::nullopt), kReaderPassword).Result);
}

TEST_F(ServerAccess, ResultTextsOfMixedConfigurationsNeverHoldThePassword)
{
    Push("rich_access");
    const std::string url = ServerUrl(kReader);
    const std::string result = Initialize(R"({"databases": [
        {"alias": "FILE", "path": "rich.db", "password": "pw"},
        {"alias": "RIGHT", "url": ")" + url +
                                          R"(", "schema": "rich_access", "password": "moru-reader-password"},
        {"alias": "WRONG", "url": ")" + url +
                                          R"(", "schema": "rich_access", "password": "moru-reader-passwort"},
        {"alias": "NONE", "url": ")" + url +
                                          R"(", "schema": "rich_access"}]})");
    const auto entries = sqlite::testing::Entries(result);
    ASSERT_EQ(4u, entries.size()) << result;
    EXPECT_TRUE(sqlite::testing::EndsWith(entries[0], "connected: OK")) << entries[0];
    EXPECT_TRUE(sqlite::testing::EndsWith(entries[1], "connected: OK")) << entries[1];
    EXPECT_TRUE(sqlite::testing::EndsWith(entries[2], "is secured and was not connected: the password is wrong."))
        << entries[2];
    EXPECT_TRUE(sqlite::testing::EndsWith(entries[3], "is secured and was not connected without its password: SECURED"))
        << entries[3];
    EXPECT_EQ(std::string::npos, result.find("moru-reader-pass")) << result;
}

TEST_F(ServerAccess, ASchemaThatIsNoDatabaseOrOfAnotherFormatIsNotConnected)
{
    Push("rich_other_format");
    AdministerServer("UPDATE rich_other_format.meta SET value = 'moru-property-db 2' WHERE key = 'format'");
    EXPECT_THROW(
        {
            try {
                OpenServerDatabase(Entry("rich_other_format", kReaderPassword), "");
            } catch (const service::ServiceError& error) {
                EXPECT_NE(std::string::npos, std::string(error.what()).find("another format")) << error.what();
                throw;
            }
        },
        service::ServiceError);
    EXPECT_THROW(OpenServerDatabase(Entry("no_such_schema", kReaderPassword), ""), service::ServiceError);
}

TEST_F(ServerAccess, ARoleWithoutTheGrantReadsNothing)
{
    Push("rich_ungranted", false);
    EXPECT_THROW(OpenServerDatabase(Entry("rich_ungranted", kReaderPassword), ""), service::ServiceError);
}

TEST_F(ServerAccess, APushWithoutTheGrantTakesTheReplacedDataFromTheRoleToo)
{
    Push("rich_regrant");
    EXPECT_EQ(common::Admission::Connected, OpenServerDatabase(Entry("rich_regrant", kReaderPassword), "").Result);
    Push("rich_regrant"); // the replaced data, kept for passes under way, stays readable by the role
    EXPECT_EQ(common::Admission::Connected,
              OpenServerDatabase(Entry("rich_regrant_replaced", kReaderPassword), "").Result);
    Push("rich_regrant", false);
    EXPECT_THROW(OpenServerDatabase(Entry("rich_regrant", kReaderPassword), ""), service::ServiceError);
    EXPECT_THROW(OpenServerDatabase(Entry("rich_regrant_replaced", kReaderPassword), ""), service::ServiceError);
}

TEST_F(ServerAccess, TheLibrarysConnectionCannotWrite)
{
    Push("rich_access");
    AdministerServer("GRANT CREATE ON SCHEMA rich_access TO moru_reader");
    auto opened = OpenServerDatabase(Entry("rich_access", kReaderPassword), "");
    ASSERT_EQ(common::Admission::Connected, opened.Result);
    auto& database = dynamic_cast<PgDatabase&>(*opened.Database);
    EXPECT_THROW(database.Db().Execute("CREATE TABLE written (a integer)"), service::ServiceError);
}

TEST_F(ServerAccess, ARetiredDatabaseFailsEveryCall)
{
    Push("rich_access");
    auto opened = OpenServerDatabase(Entry("rich_access", kReaderPassword), "");
    ASSERT_EQ(common::Admission::Connected, opened.Result);
    auto databanks = opened.Database->EnumerateDatabanks();
    auto compounds = opened.Database->CompoundManager();
    opened.Database->Retire();
    EXPECT_THROW(compounds->GetAllCompounds(databanks->Items().front().get()), service::ServiceError);
    EXPECT_THROW(compounds->GetCompound("WATER", PgIdentifier("NAME")), service::ServiceError);
}

TEST_F(ServerAccess, ALoadThatFailsLeavesTheSchemaAsItWas)
{
    Push("rich_kept");
    // A file that is no database: the load fails before touching the server's schema.
    scratch.Write("broken.db", "not a database");
    EXPECT_THROW(dbtool::PushDatabase(scratch.File("broken.db"), ServerUrl("postgres"), "rich_kept", {kReader}),
                 std::exception);
    EXPECT_EQ(common::Admission::Connected, OpenServerDatabase(Entry("rich_kept", kReaderPassword), "").Result);
}

TEST_F(ServerAccess, AServerThatIsNotThereFailsAtOnceWithTheReason)
{
    common::DatabaseEntry entry = Entry("rich_access", kReaderPassword);
    entry.Url = "postgresql://moru_reader@%2Fnonexistent%2Fsocket:5432/postgres";
    try {
        OpenServerDatabase(entry, "");
        ADD_FAILURE() << "connected to nothing";
    } catch (const service::ServiceError& error) {
        EXPECT_NE(std::string::npos, std::string(error.what()).find("/nonexistent/socket")) << error.what();
    }
}

// Run by ctest with MORU_LIBPQ naming a library that is not there.
TEST(WithoutLibpq, ServerEntriesFailWithTheReasonAndFilesStillConnect)
{
    const char* absent = std::getenv("MORU_LIBPQ");
    if (!absent) GTEST_SKIP() << "runs with MORU_LIBPQ naming a missing library";
    ScratchDirectory scratch;
    sqlite::testing::Build(sqlite::testing::RichSource(), scratch.File("rich.db"));
    common::DatabaseCollection collection(std::make_shared<service::DatabankCollection>(), sqlite::OpenDatabaseFile,
                                          OpenServerDatabase);
    std::istringstream text(R"({"databases": [{"alias": "TEAM", "url": "postgresql://reader@host/db"},
                                              {"alias": "FILE", "path": "rich.db"}]})");
    const auto entries = sqlite::testing::Entries(
        collection.InitializeFromConfigurationFile(&text, scratch.File("databases.json"), "pw"));
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(0u, entries[0].rfind("Database 'TEAM' (postgresql://reader@host/db) could not be connected: the "
                                   "PostgreSQL client library " +
                                       std::string(absent) + " could not be loaded (",
                                   0))
        << entries[0];
    EXPECT_TRUE(sqlite::testing::EndsWith(entries[1], "connected: OK")) << entries[1];
    EXPECT_EQ(1, collection.Count());
}

} // namespace
} // namespace moru::postgres::testing
