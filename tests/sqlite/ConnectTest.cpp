// What connecting a file costs and says: the checks that make a file a database of this service,
// the messages that name the file, and result texts that no name or path can forge.

#include "TestDatabase.h"

#include "Checks.h"
#include "Sqlite.h"

#include "service/Errors.h"

#include <algorithm>
#include <iterator>
#include <sstream>
#include <streambuf>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace moru::sqlite::testing {
namespace {

using namespace moru::service;

class Connecting : public ::testing::Test {
protected:
    void SetUp() override { Build(RichSource(), scratch.File("good.db")); }

    // The result entry of connecting `path` as alias `alias`.
    std::string ConnectOne(const std::string& alias, const std::string& path)
    {
        nlohmann::json config = {{"databases", {{{"alias", alias}, {"path", path}}}}};
        std::istringstream stream(config.dump());
        return collection.InitializeFromConfigurationFile(&stream, scratch.File("databases.json"), "");
    }

    // Changes the good database with `sqlText` in a copy named `name`.
    std::string DamagedCopy(const std::string& name, const char* sqlText)
    {
        std::filesystem::copy_file(scratch.File("good.db"), scratch.File(name));
        Connection db(scratch.File(name), Connection::Mode::Create);
        db.Execute(sqlText);
        return scratch.File(name);
    }

    // A copy of the good database named `name` whose pages of `table` (and its indexes) hold garbage.
    std::string DamagedPages(const std::string& name, const char* table)
    {
        std::string path = scratch.File(name);
        std::filesystem::copy_file(scratch.File("good.db"), path);
        std::vector<long long> pages;
        long long pageSize = 0;
        {
            Connection db(path, Connection::Mode::ReadOnly);
            Statement size(db, "PRAGMA page_size");
            EXPECT_TRUE(size.Step());
            pageSize = size.Int64(0);
            Statement roots(db, "SELECT rootpage FROM sqlite_schema WHERE tbl_name = ?1");
            roots.Bind(1, table);
            while (roots.Step()) pages.push_back(roots.Int64(0));
        }
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        const std::string garbage(static_cast<std::size_t>(pageSize), '\xA5');
        for (long long page : pages) {
            file.seekp((page - 1) * pageSize);
            file.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
        }
        return path;
    }

    ScratchDirectory scratch;
    SqliteDatabaseCollection collection{std::make_shared<DatabankCollection>()};
};

TEST_F(Connecting, RefusesFilesThatAreNotDatabasesOfThisServiceNamingTheFile)
{
    const std::string foreign = scratch.File("foreign.db");
    {
        Connection db(foreign, Connection::Mode::Create);
        db.Execute("CREATE TABLE t (x); INSERT INTO t VALUES (1);");
    }
    const struct {
        std::string path, expected;
    } cases[] = {
        {foreign, "SQLite database of another kind"},
        {DamagedCopy("format.db", "UPDATE meta SET value = 'garbage' WHERE key = 'format'"),
         "format record is malformed"},
        {DamagedCopy("noformat.db", "DELETE FROM meta WHERE key = 'format'"), "no format record"},
        {DamagedCopy("version.db", "UPDATE meta SET value = 'x1' WHERE key = 'version'"), "version record"},
        {DamagedCopy("dropped.db", "DROP TABLE reaction_species"), "lacks its table \"reaction_species\""},
        {DamagedCopy("column.db", "ALTER TABLE compound DROP COLUMN class"), "lacks its column \"class\""},
        {scratch.Path().string(), "directory"},
    };
    for (const auto& c : cases) {
        const std::string result = ConnectOne("X", c.path);
        EXPECT_NE(result.find(c.expected), std::string::npos) << result;
        EXPECT_NE(result.find(c.path), std::string::npos) << "names the file: " << result;
        EXPECT_FALSE(EndsWith(result, "OK")) << result;
        EXPECT_EQ(result.find("stoi"), std::string::npos) << result;
        EXPECT_EQ(collection.Count(), 0) << result;
    }
}

#ifndef _WIN32
TEST_F(Connecting, RefusesPipesDevicesAndUnreadableFiles)
{
    const std::string fifo = scratch.File("pipe.db");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_NE(ConnectOne("X", fifo).find("special file"), std::string::npos);
    EXPECT_NE(ConnectOne("X", "/dev/null").find("special file"), std::string::npos);
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    ::chmod(scratch.File("good.db").c_str(), 0);
    EXPECT_NE(ConnectOne("X", scratch.File("good.db")).find("permission denied"), std::string::npos);
}
#endif

// A stream of blanks that never ends, as a device would give.
class EndlessBlanks : public std::streambuf {
protected:
    int_type underflow() override
    {
        std::fill(std::begin(m_blanks), std::end(m_blanks), ' ');
        setg(m_blanks, m_blanks, m_blanks + sizeof m_blanks);
        return traits_type::to_int_type(' ');
    }

private:
    char m_blanks[4096];
};

TEST_F(Connecting, AConfigurationBeyondItsSizeBoundIsRefusedUnread)
{
    EndlessBlanks endless;
    std::istream stream(&endless);
    EXPECT_EQ(collection.InitializeFromConfigurationFile(&stream, scratch.File("databases.json"), ""),
              "The configuration file is larger than 1 MiB, so it was not read.");
    EXPECT_EQ(collection.Count(), 0);
    // Within the bound, blanks and all, it is read as before.
    nlohmann::json config = {{"databases", {{{"alias", "GOOD"}, {"path", scratch.File("good.db")}}}}};
    std::istringstream padded(config.dump() + std::string(kMaxConfigurationBytes - config.dump().size(), ' '));
    EXPECT_TRUE(
        EndsWith(collection.InitializeFromConfigurationFile(&padded, scratch.File("databases.json"), ""), "OK"));
}

TEST_F(Connecting, ReadsNoDataPagesToConnect)
{
    // A database whose compound rows are damaged still connects: the check reads the schema and
    // the small tables only. The damage is a clear failure of the call that meets it, and
    // `moru-db check` finds it.
    const std::string path = DamagedPages("rows.db", "identifier");
    const std::string result = ConnectOne("X", path);
    EXPECT_TRUE(EndsWith(result, "OK")) << result;
    auto database = collection.Find("X");
    ASSERT_TRUE(database);
    auto databanks = database->EnumerateDatabanks();
    const auto compounds = database->CompoundManager();
    ASSERT_TRUE(databanks && compounds);
    DatabankCollection group;
    group.Add(databanks->Find("PURE"));
    try {
        compounds->FindForMM(group, "WATER", "", "");
        ADD_FAILURE() << "the damaged rows were read";
    } catch (const ServiceError& error) {
        EXPECT_STREQ(error.what(), "the database file is corrupt");
    }
    EXPECT_FALSE(CheckDatabaseIntegrity(path).empty());
    EXPECT_TRUE(CheckDatabaseIntegrity(scratch.File("good.db")).empty());
}

// Databanks come in the order of their positions, those of one position in the order stored;
// rows already in order stay as they are.
TEST_F(Connecting, OrdersDatabanksByPositionKeepingTheStoredOrderOfEqualOnes)
{
    const auto namesOf = [&](const std::string& path) {
        std::vector<std::string> names;
        const std::string result = ConnectOne("X", path);
        EXPECT_TRUE(EndsWith(result, "OK")) << result;
        const auto database = collection.Find("X");
        if (!database) return names;
        const auto databanks = database->EnumerateDatabanks();
        for (const auto& databank : databanks->Items()) names.push_back(databank->Name());
        return names;
    };
    EXPECT_EQ(namesOf(scratch.File("good.db")), (std::vector<std::string>{"PURE", "BINARY", "REACT"}));
    EXPECT_EQ(namesOf(DamagedCopy("reversed.db", "UPDATE databank SET position = 10 - position")),
              (std::vector<std::string>{"REACT", "BINARY", "PURE"}));
    EXPECT_EQ(namesOf(DamagedCopy("tied.db", "UPDATE databank SET position = (name = 'PURE')")),
              (std::vector<std::string>{"BINARY", "REACT", "PURE"}));
}

// Damage met while connecting reads as the documented message, not as SQLite's own text.
TEST_F(Connecting, DamageMetWhileConnectingGivesTheDocumentedMessage)
{
    const std::string result = ConnectOne("X", DamagedPages("banks.db", "databank"));
    EXPECT_TRUE(EndsWith(result, "could not be connected: the database file is corrupt.")) << result;
    EXPECT_EQ(result.find("malformed"), std::string::npos) << result;
}

TEST_F(Connecting, RefusesAliasesThatCannotBeAddressed)
{
    for (const std::string& alias :
         {std::string("OK<?>X"), std::string("A.B"), std::string("A\0B", 3), std::string(20, 'L')}) {
        const std::string result = ConnectOne(alias, scratch.File("good.db"));
        const auto entries = Entries(result);
        ASSERT_EQ(entries.size(), 1u) << "the alias must not split the result: " << result;
        EXPECT_FALSE(EndsWith(result, "OK")) << result;
        EXPECT_EQ(result.find('\0'), std::string::npos);
        EXPECT_EQ(collection.Count(), 0) << result;
    }
    EXPECT_TRUE(EndsWith(ConnectOne(std::string(19, 'L'), scratch.File("good.db")), "OK"));
}

TEST_F(Connecting, PathsAndMessagesCannotForgeEntries)
{
    // A missing file whose path holds the separator and ends like a success.
    const std::string forged = scratch.File("x<?>Database 'Y' connected: OK");
    const std::string result = ConnectOne("X", forged);
    const auto entries = Entries(result);
    ASSERT_EQ(entries.size(), 1u) << result;
    EXPECT_FALSE(EndsWith(result, "OK")) << result;
    EXPECT_NE(result.find("does not exist"), std::string::npos) << result;
}

// The end of a call lets go of the file however its statements were left: on a row, run to
// their end, or stepped and gone before the call ended.
TEST_F(Connecting, TheEndOfACallLetsGoOfEveryStatementItStepped)
{
    Connection reader(scratch.File("good.db"), Connection::Mode::ReadOnly);
    for (int call = 0; call < 2; ++call) {
        BeginCall();
        auto& onARow = reader.Cached("SELECT id FROM compound ORDER BY id");
        ASSERT_TRUE(onARow.Step());
        auto& toTheEnd = reader.Cached("SELECT COUNT(*) FROM databank");
        while (toTheEnd.Step()) {
        }
        {
            Statement gone(reader, "SELECT name FROM databank");
            ASSERT_TRUE(gone.Step());
        }
        EXPECT_FALSE(sqlite3_get_autocommit(reader.Handle())); // the call's read transaction
        ReleaseReadLocks();
        EXPECT_TRUE(sqlite3_get_autocommit(reader.Handle()));
        for (sqlite3_stmt* statement = sqlite3_next_stmt(reader.Handle(), nullptr); statement;
             statement = sqlite3_next_stmt(reader.Handle(), statement))
            EXPECT_FALSE(sqlite3_stmt_busy(statement)) << sqlite3_sql(statement);
        // Another program may write now.
        Connection writer(scratch.File("good.db"), Connection::Mode::Create);
        writer.Execute("UPDATE databank SET description = 'changed' WHERE id = (SELECT MIN(id) FROM databank)");
    }
}

} // namespace
} // namespace moru::sqlite::testing
