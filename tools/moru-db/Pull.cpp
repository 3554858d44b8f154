#include "Pull.h"

#include "Checks.h"
#include "Schema.h"
#include "Sqlite.h"

#include "PgConnection.h"
#include "PgSchema.h"
#include "PgService.h"

#include "common/Configuration.h"
#include "platform/Files.h"

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string_view>

namespace moru::dbtool {

namespace {

using postgres::PgConnection;
using postgres::PgResult;

// Rows fetched at a time, so that a large table never sits whole in memory.
constexpr int kRowsPerFetch = 5000;

struct Column {
    std::string Name;
    std::string Type; // as the database file declares it
};

std::vector<Column> FileColumns(sqlite::Connection& file, const char* table)
{
    std::vector<Column> columns;
    sqlite::Statement info(file, (std::string("PRAGMA table_info(") + table + ")").c_str());
    while (info.Step()) columns.push_back({info.Text(1), info.Text(2)});
    return columns;
}

void CopyTable(PgConnection& server, sqlite::Connection& file, const char* table)
{
    const auto columns = FileColumns(file, table);
    std::string select = "SELECT ";
    std::string insert = std::string("INSERT INTO ") + table + " (";
    std::string placeholders;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        select += (c ? ", " : "") + postgres::QuotedIdentifier(columns[c].Name);
        insert += (c ? ", " : "") + columns[c].Name;
        placeholders += (c ? ", ?" : "?") + std::to_string(c + 1);
    }
    select += std::string(" FROM ") + table;
    // Memberships stay readable for databanks hidden from the role (see Access.h): a reader's copy
    // holds only those of databanks it reads, so that it is whole.
    if (std::string_view(table) == "compound_databank") select += " WHERE databank_id IN (SELECT id FROM databank)";
    insert += ") VALUES (" + placeholders + ")";

    server.Execute("DECLARE pulled NO SCROLL CURSOR FOR " + select);
    sqlite::Statement row(file, insert.c_str());
    while (true) {
        const PgResult rows = server.RunOnce("FETCH " + std::to_string(kRowsPerFetch) + " FROM pulled");
        for (int r = 0; r < rows.Rows(); ++r) {
            row.Reset();
            for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
                const std::string& type = columns[static_cast<std::size_t>(c)].Type;
                if (rows.IsNull(r, c)) row.BindNull(c + 1);
                else if (type == "INTEGER") row.Bind(c + 1, rows.Int64(r, c));
                else if (type == "REAL") row.Bind(c + 1, rows.Double(r, c));
                else if (type == "BLOB") row.BindBlob(c + 1, rows.Bytes(r, c));
                else row.Bind(c + 1, rows.Text(r, c));
            }
            row.Execute();
        }
        if (rows.Rows() < kRowsPerFetch) break;
    }
    server.Execute("CLOSE pulled");
}

// A new file's name in the temporary directory.
std::filesystem::path TemporaryDatabase()
{
    std::random_device random;
    return std::filesystem::temp_directory_path() /
           ("moru-db-pull-" + std::to_string(random()) + std::to_string(random()) + ".db");
}

// Removes the file when it goes out of scope.
class RemovedAfterwards {
public:
    explicit RemovedAfterwards(std::filesystem::path path) : m_path(std::move(path)) {}
    ~RemovedAfterwards()
    {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    RemovedAfterwards(const RemovedAfterwards&) = delete;
    RemovedAfterwards& operator=(const RemovedAfterwards&) = delete;
    std::string Path() const { return platform::Utf8FromPath(m_path); }

private:
    std::filesystem::path m_path;
};

} // namespace

void PullDatabase(const std::string& url, const std::optional<std::string>& schema, const std::string& databasePath)
{
    if (schema && schema->empty()) throw std::runtime_error("the schema name is empty");
    if ((schema && !postgres::Storable(*schema)) || !postgres::Storable(url))
        throw std::runtime_error("the url and the schema name must be UTF-8 text");
    common::DatabaseEntry entry;
    entry.Url = url;
    entry.Schema = schema;
    PgConnection::Refusal refusal;
    auto connection = PgConnection::Open(postgres::ConnectionSettings(entry, "", true), refusal);
    if (!connection) throw std::runtime_error("cannot connect to the server: " + refusal.reason);
    // The library's own reading of the schema: its format record and what it needs at connect.
    postgres::PgDatabase database("", std::move(connection));
    database.Load();
    PgConnection& server = database.Db();

    const auto path = platform::PathFromUtf8(databasePath);
    if (std::filesystem::exists(path)) throw std::runtime_error(databasePath + " exists already");
    try {
        sqlite::Connection file(databasePath, sqlite::Connection::Mode::Create);
        file.Execute("PRAGMA journal_mode = OFF");
        file.Execute(sqlite::sql::CreateSchema);
        file.Execute(sqlite::sql::CreateOptionalSchema);
        file.Execute("BEGIN");
        // Every table from one snapshot, so that a push meanwhile gives the old database or the new.
        server.Execute("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
        for (const char* table : postgres::sql::kTables) CopyTable(server, file, table);
        server.Execute("COMMIT");
        file.Execute(sqlite::sql::CreateIndexes);
        file.Execute(sqlite::sql::Analyze);
        file.Execute("COMMIT");
    } catch (const std::exception& failure) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw std::runtime_error(std::string("the database was not read: ") + failure.what());
    }
}

Json PullSource(const std::string& url, const std::optional<std::string>& schema)
{
    const RemovedAfterwards file(TemporaryDatabase());
    PullDatabase(url, schema, file.Path());
    return DumpDatabase(file.Path());
}

std::vector<std::string> CheckServerDatabase(const std::string& url, const std::optional<std::string>& schema)
{
    const RemovedAfterwards file(TemporaryDatabase());
    try {
        PullDatabase(url, schema, file.Path());
    } catch (const std::exception& failure) {
        return {failure.what()};
    }
    return CheckDatabase(file.Path());
}

} // namespace moru::dbtool
