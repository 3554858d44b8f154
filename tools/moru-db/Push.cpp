#include "Push.h"

#include "Access.h"

#include "Checks.h"
#include "Sqlite.h"

#include "PgConnection.h"
#include "PgSchema.h"
#include "PgService.h"

#include "common/Stored.h"
#include "service/Errors.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace moru::dbtool {

namespace {

using postgres::PgConnection;
using postgres::PgParams;

using postgres::QuotedIdentifier;

bool TableExists(sqlite::Connection& file, const char* table)
{
    sqlite::Statement probe(file, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1");
    probe.Bind(1, table);
    return probe.Step();
}

// Copies one table in statements of many rows each; returns the rows copied.
long long CopyTable(sqlite::Connection& file, PgConnection& server, const char* table)
{
    sqlite3_stmt* rows = nullptr;
    const std::string select = std::string("SELECT * FROM ") + table;
    if (sqlite3_prepare_v2(file.Handle(), select.c_str(), -1, &rows, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("cannot read the table ") + table + ": " + sqlite3_errmsg(file.Handle()));
    const int columns = sqlite3_column_count(rows);
    std::string head = std::string("INSERT INTO ") + table + " (";
    for (int c = 0; c < columns; ++c) head += (c ? ", " : "") + QuotedIdentifier(sqlite3_column_name(rows, c));
    head += ") VALUES ";
    // Within the server's limit of 65535 parameters a statement.
    const int rowsPerStatement = std::max(1, 30000 / std::max(1, columns));

    long long copied = 0;
    PgParams params;
    std::string values;
    int pending = 0;
    auto flush = [&] {
        if (!pending) return;
        server.RunOnce(head + values, params);
        params = PgParams();
        values.clear();
        pending = 0;
    };
    int status = SQLITE_ROW;
    try {
        while ((status = sqlite3_step(rows)) == SQLITE_ROW) {
            values += pending ? ",(" : "(";
            for (int c = 0; c < columns; ++c) {
                values += (c ? ",$" : "$") + std::to_string(params.Count() + 1);
                switch (sqlite3_column_type(rows, c)) {
                case SQLITE_NULL: params.Null(); break;
                case SQLITE_INTEGER: params.Int(sqlite3_column_int64(rows, c)); break;
                case SQLITE_FLOAT: params.Double(sqlite3_column_double(rows, c)); break;
                case SQLITE_BLOB:
                    params.Bytes(std::string_view(static_cast<const char*>(sqlite3_column_blob(rows, c)),
                                                  static_cast<std::size_t>(sqlite3_column_bytes(rows, c))));
                    break;
                default:
                    params.Text(std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(rows, c)),
                                                 static_cast<std::size_t>(sqlite3_column_bytes(rows, c))));
                    break;
                }
            }
            values += ')';
            ++copied;
            if (++pending == rowsPerStatement) flush();
        }
        flush();
    } catch (...) {
        sqlite3_finalize(rows);
        throw;
    }
    sqlite3_finalize(rows);
    if (status != SQLITE_DONE)
        throw std::runtime_error(std::string("cannot read the table ") + table + ": " + sqlite3_errmsg(file.Handle()));
    return copied;
}

// A role this push no longer grants loses the replaced data too, not only the new.
void RevokeFromReplaced(PgConnection& server, const std::string& replaced, const std::vector<std::string>& roles)
{
    const auto granted =
        server.RunOnce("SELECT DISTINCT a.grantee::regrole::text, r.rolname::text FROM pg_namespace n, "
                       "aclexplode(n.nspacl) a JOIN pg_roles r ON r.oid = a.grantee "
                       "WHERE n.nspname = $1::text AND a.privilege_type = 'USAGE' AND a.grantee <> n.nspowner",
                       PgParams().Text(replaced));
    for (int r = 0; r < granted.Rows(); ++r) {
        if (std::find(roles.begin(), roles.end(), granted.Text(r, 1)) == roles.end())
            server.Execute("REVOKE USAGE ON SCHEMA " + QuotedIdentifier(replaced) + " FROM " + granted.Text(r, 0));
    }
}

} // namespace

void PushDatabase(const std::string& databasePath, const std::string& url, const std::string& schema,
                  const std::vector<std::string>& readerRoles, const std::vector<Restriction>& restrictions)
{
    if (schema.empty()) throw std::runtime_error("the schema name is empty");
    if (!postgres::Storable(schema) || !postgres::Storable(url))
        throw std::runtime_error("the url and the schema name must be UTF-8 text");
    sqlite::CheckDatabaseFile(databasePath);
    sqlite::Connection file(databasePath, sqlite::Connection::Mode::ReadOnly);
    sqlite::CheckDatabaseFormat(file);

    common::DatabaseEntry entry;
    entry.Url = url;
    postgres::PgConnection::Refusal refusal;
    auto server = PgConnection::Open(postgres::ConnectionSettings(entry, "", false), refusal);
    if (!server) throw std::runtime_error("cannot connect to the server: " + refusal.reason);

    const std::string target = QuotedIdentifier(schema);
    const std::string staging = QuotedIdentifier(schema + "_loading");
    const std::string retired = QuotedIdentifier(schema + "_replaced");
    // One transaction from the first statement to the swap: a failure leaves nothing behind.
    server->Execute("BEGIN");
    try {
        server->Execute("DROP SCHEMA IF EXISTS " + staging + " CASCADE");
        server->Execute("CREATE SCHEMA " + staging);
        server->Execute("SET LOCAL search_path TO " + staging);
        server->Execute(postgres::sql::CreateSchema);
        for (const char* table : postgres::sql::kTables) {
            if (!TableExists(file, table)) continue; // a table that older files lack stays empty
            const long long copied = CopyTable(file, *server, table);
            const auto counted = server->RunOnce(std::string("SELECT count(*) FROM ") + table);
            if (counted.Int64(0, 0) != copied)
                throw std::runtime_error(std::string("the table ") + table + " did not arrive whole");
        }
        server->Execute(postgres::sql::CreateIndexes);
        const auto format = server->RunOnce(postgres::sql::SelectFormat);
        if (format.Rows() != 1 || format.Text(0, 0) != common::FormatName)
            throw std::runtime_error("the loaded schema has no format record of this service");
        server->Execute("ANALYZE");
        // Restrictions outlive a reload: those of the schema replaced stay unless given anew.
        std::vector<std::string> roles = readerRoles;
        for (auto& role : ApplyRestrictions(*server, CurrentRestrictions(*server, schema), restrictions)) {
            if (std::find(roles.begin(), roles.end(), role) == roles.end()) roles.push_back(std::move(role));
        }

        const auto existing =
            server->RunOnce("SELECT 1 FROM pg_namespace WHERE nspname = $1::text", PgParams().Text(schema));
        if (existing.Rows() > 0) {
            // Readers lock the format table before their snapshot (PgConnection): holding it, the
            // swap waits for the calls under way, and the calls that come next wait for the swap and
            // then see the new tables whole. No call is under way either when the data replaced last
            // time is dropped, so none loses the data it reads.
            const auto meta = server->RunOnce("SELECT to_regclass($1::text)", PgParams().Text(target + ".meta"));
            if (!meta.IsNull(0, 0)) server->Execute("LOCK TABLE " + target + ".meta IN ACCESS EXCLUSIVE MODE");
            server->Execute("DROP SCHEMA IF EXISTS " + retired + " CASCADE");
            server->Execute("ALTER SCHEMA " + target + " RENAME TO " + retired);
        }
        // The replaced data stays, under the retired name, until the next push: an engine pass that
        // began before this one reads it to its end.
        server->Execute("ALTER SCHEMA " + staging + " RENAME TO " + target);
        for (const auto& role : roles) {
            if (!postgres::Storable(role)) throw std::runtime_error("a role name is not UTF-8 text");
            server->Execute("GRANT USAGE ON SCHEMA " + target + " TO " + QuotedIdentifier(role));
            server->Execute("GRANT SELECT ON ALL TABLES IN SCHEMA " + target + " TO " + QuotedIdentifier(role));
        }
        if (existing.Rows() > 0) RevokeFromReplaced(*server, schema + "_replaced", roles);
        server->Execute("COMMIT");
    } catch (const std::exception& error) {
        try {
            server->Execute("ROLLBACK");
        } catch (const std::exception&) {
            // The connection is gone: the server ends the transaction itself.
        }
        throw std::runtime_error(std::string("the database was not loaded: ") + error.what());
    }
}

} // namespace moru::dbtool
