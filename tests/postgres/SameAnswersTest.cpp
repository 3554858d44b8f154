#include "ServiceWalk.h"
#include "TestServer.h"

#include "MoruDb.h"
#include "Push.h"
#include "TestDatabase.h"

#include "PgService.h"
#include "Service.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace moru::postgres::testing {
namespace {

using sqlite::testing::ScratchDirectory;

common::DatabaseEntry ServerEntry(const std::string& schema)
{
    common::DatabaseEntry entry;
    entry.Alias = "RICH";
    entry.Url = ServerUrl(kReader);
    entry.Schema = schema;
    entry.Password = kReaderPassword;
    return entry;
}

// The database file and the same database loaded into the server, both opened through their
// backends, walked through every operation: the texts agree line by line.
void ExpectSameAnswers(const std::string& file, const std::string& schema)
{
    dbtool::PushDatabase(file, ServerUrl("postgres"), schema, {kReader});
    common::DatabaseEntry fileEntry;
    fileEntry.Alias = "RICH";
    fileEntry.Path = file;
    auto local = sqlite::OpenDatabaseFile(fileEntry, "pw");
    ASSERT_EQ(common::Admission::Connected, local.Result);
    auto server = OpenServerDatabase(ServerEntry(schema), "");
    ASSERT_EQ(common::Admission::Connected, server.Result);
    const std::string expected = WalkDatabase(*local.Database);
    const std::string actual = WalkDatabase(*server.Database);
    EXPECT_GT(expected.size(), 1000u);
    if (const char* keep = std::getenv("MORU_KEEP_WALKS")) {
        std::ofstream(std::string(keep) + "/" + schema + ".file.txt") << expected;
        std::ofstream(std::string(keep) + "/" + schema + ".server.txt") << actual;
    }
    // Line by line, so that a difference shows where it is.
    std::istringstream expectedLines(expected), actualLines(actual);
    std::string expectedLine, actualLine;
    int line = 0, differences = 0;
    while (std::getline(expectedLines, expectedLine) && differences < 10) {
        ++line;
        if (!std::getline(actualLines, actualLine)) actualLine = "(end)";
        if (expectedLine != actualLine) {
            ++differences;
            ADD_FAILURE() << "line " << line << "\n file:   " << expectedLine << "\n server: " << actualLine;
        }
    }
    EXPECT_EQ(expected.size(), actual.size());
}

TEST(ServerAnswers, EqualTheFilesForEveryKindOfRecord)
{
    MORU_NEEDS_SERVER();
    ScratchDirectory scratch;
    sqlite::testing::Build(sqlite::testing::RichSource(), scratch.File("rich.db"));
    ExpectSameAnswers(scratch.File("rich.db"), "rich_answers");
}

TEST(ServerAnswers, EqualTheFilesForTheSampleDatabase)
{
    MORU_NEEDS_SERVER();
    if (!std::filesystem::exists(MORU_SAMPLE_DB)) GTEST_SKIP() << "no sample database was built";
    ExpectSameAnswers(MORU_SAMPLE_DB, "sample_answers");
}

} // namespace
} // namespace moru::postgres::testing
