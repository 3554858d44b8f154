#include "Checks.h"

#include "Schema.h"

#include "platform/Files.h"
#include "service/Errors.h"
#include "service/HostLimits.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <new>
#include <set>
#include <string_view>

namespace moru::sqlite {

using service::ServiceError;

namespace {

using ColumnsByTable = std::map<std::string, std::set<std::string>>;

ColumnsByTable ReadColumns(Connection& db)
{
    ColumnsByTable columns;
    Statement query(db, "SELECT m.name, p.name FROM sqlite_schema AS m JOIN pragma_table_info(m.name) AS p "
                        "WHERE m.type = 'table'");
    while (query.Step()) columns[query.Text(0)].insert(query.Text(1));
    return columns;
}

// The tables and columns of a database that `moru-db build` makes, read once from the schema itself.
const ColumnsByTable& RequiredColumns()
{
    static const ColumnsByTable required = [] {
        Connection memory(":memory:", Connection::Mode::Create);
        memory.Execute(sql::CreateSchema);
        return ReadColumns(memory);
    }();
    return required;
}

const char* QueryBeyond(service::HostLimit limit)
{
    using service::HostLimit;
    switch (limit) {
    case HostLimit::ReactionSpecies: return sql::BeyondReactionSpecies;
    case HostLimit::EquilibriumConstants: return sql::BeyondEquilibriumConstants;
    case HostLimit::SpeciesAliasBytes: return sql::BeyondSpeciesAliasBytes;
    case HostLimit::PropertyNameBytes: return sql::BeyondPropertyNameBytes;
    case HostLimit::UnitRows: return sql::BeyondUnitRows;
    case HostLimit::UnaryElements: return sql::BeyondUnaryElements;
    }
    return nullptr;
}

} // namespace

std::vector<std::string> CheckHostLimits(Connection& db)
{
    std::vector<std::string> problems;
    for (const auto& entry : service::kHostLimits) {
        Statement beyond(db, QueryBeyond(entry.limit));
        beyond.Bind(1, static_cast<long long>(entry.most));
        while (beyond.Step()) {
            const auto count = static_cast<std::size_t>(beyond.Int64(1));
            if (auto reason = service::BeyondHostLimit(entry.limit, count))
                problems.push_back(beyond.Text(0) + ": " + *reason);
        }
    }
    return problems;
}

void CheckDatabaseFile(const std::string& path)
{
    std::error_code error;
    const auto fsPath = platform::PathFromUtf8(path);
    const auto status = std::filesystem::status(fsPath, error);
    if (status.type() == std::filesystem::file_type::not_found) throw ServiceError("the file does not exist");
    if (error) throw ServiceError("the file cannot be examined: " + error.message());
    if (std::filesystem::is_directory(status)) throw ServiceError("the path names a directory, not a database file");
    if (!std::filesystem::is_regular_file(status)) {
        throw ServiceError("the path names a pipe, device or other special file, not a database file");
    }
    // A database in write-ahead-log mode cannot be read without making and writing files beside it
    // (its log and shared-memory index), and nothing is ever written beside a database. Bytes 18
    // and 19 of the header are its write and read versions, 2 for that mode.
    const auto head = platform::ReadFileHead(fsPath, 20);
    if (!head) {
        const bool denied = errno == EACCES || errno == EPERM;
        throw ServiceError(denied ? "the file cannot be read: permission denied"
                                  : "the file cannot be opened for reading");
    }
    if (head->empty()) throw ServiceError("the file is empty, not a database");
    constexpr std::string_view magic("SQLite format 3\0", 16);
    if (head->size() == 20 && std::string_view(*head).substr(0, magic.size()) == magic &&
        ((*head)[18] == 2 || (*head)[19] == 2)) {
        throw ServiceError("the database is in write-ahead-log mode, which would need files beside it; convert it "
                           "to a rollback journal (journal_mode DELETE) or rebuild it with moru-db");
    }
}

namespace {

// True when the database has the table (and the column, unless null), read from the schema SQLite
// has loaded, without running a statement: connecting stays cheap however many columns there are.
bool HasColumn(Connection& db, const char* table, const char* column)
{
    const int result =
        sqlite3_table_column_metadata(db.Handle(), "main", table, column, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (result == SQLITE_OK) return true;
    const int code = sqlite3_errcode(db.Handle()) & 0xFF;
    if (code == SQLITE_NOTADB) throw ServiceError("the file is not a database");
    if (code == SQLITE_CORRUPT) throw ServiceError("the database file is corrupt");
    if (code == SQLITE_NOMEM || result == SQLITE_NOMEM) throw std::bad_alloc();
    if (code == SQLITE_IOERR || code == SQLITE_CANTOPEN || code == SQLITE_BUSY || code == SQLITE_LOCKED)
        throw ServiceError(std::string("the database's schema cannot be read: ") + sqlite3_errmsg(db.Handle()));
    return false;
}

} // namespace

std::map<std::string, std::string> CheckDatabaseFormat(Connection& db)
{
    if (!HasColumn(db, "meta", nullptr)) {
        throw ServiceError("the file is an SQLite database of another kind, not a property database of this service");
    }
    std::map<std::string, std::string> meta;
    {
        Statement rows(db, sql::SelectMeta);
        while (rows.Step()) meta[rows.Text(0)] = rows.Text(1);
        const auto format = meta.find("format");
        if (format == meta.end())
            throw ServiceError("the file has no format record, so it is not a property database of this service");
        const std::string& record = format->second;
        if (record != FormatName) {
            const std::string_view family = FormatName.substr(0, FormatName.find(' ') + 1);
            if (record.starts_with(family)) {
                throw ServiceError("the file is a property database of format \"" + record +
                                   "\", which this service does not read");
            }
            throw ServiceError("the file's format record is malformed");
        }
    }
    // A column found is a table found: the table alone is asked after a column that is missing.
    for (const auto& [table, columns] : RequiredColumns()) {
        for (const auto& column : columns) {
            if (HasColumn(db, table.c_str(), column.c_str())) continue;
            if (!HasColumn(db, table.c_str(), nullptr))
                throw ServiceError("the database lacks its table \"" + table + "\"");
            throw ServiceError("the database's table \"" + table + "\" lacks its column \"" + column + "\"");
        }
    }
    return meta;
}

std::vector<std::string> CheckDatabaseIntegrity(const std::string& path)
{
    std::vector<std::string> problems;
    try {
        CheckDatabaseFile(path);
        Connection db(path, Connection::Mode::ReadOnly);
        CheckDatabaseFormat(db);
        Statement integrity(db, "PRAGMA integrity_check(100)");
        while (integrity.Step()) {
            const std::string line = integrity.Text(0);
            if (line != "ok") problems.push_back(line);
        }
        Statement references(db, "PRAGMA foreign_key_check");
        while (references.Step()) {
            problems.push_back("a row of table \"" + references.Text(0) + "\" refers to a missing row of table \"" +
                               references.Text(2) + "\"");
        }
        for (auto& problem : CheckHostLimits(db)) problems.push_back(std::move(problem));
    } catch (const ServiceError& error) {
        problems.push_back(error.what());
    }
    return problems;
}

} // namespace moru::sqlite
