#include "Sqlite.h"

#include "platform/Text.h"
#include "service/Errors.h"

#include <new>

namespace moru::sqlite {

using service::ServiceError;

namespace {
[[noreturn]] void Fail(sqlite3* db, const char* what)
{
    // A damaged file is a file the user can act on; SQLite's own texts for it mean nothing to them.
    const int code = db ? sqlite3_errcode(db) & 0xFF : SQLITE_NOMEM;
    if (code == SQLITE_CORRUPT) throw ServiceError("the database file is corrupt");
    if (code == SQLITE_NOTADB) throw ServiceError("the file is not a database");
    throw ServiceError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

// Plain globals without destructors: connections are closed at the library's unload, which may
// run after the function statics of this file are gone.
Connection* g_firstConnection = nullptr;
Connection* g_firstInCall = nullptr;
// Set between BeginCall and ReleaseReadLocks.
std::atomic<bool> g_callOpen{false};

bool IsReadOnly(sqlite3* db) { return sqlite3_db_readonly(db, "main") == 1; }
} // namespace

// Connections that write keep their own transactions.
void Connection::EnterCall()
{
    if (!m_inCall) {
        m_inCall = true;
        m_nextInCall = g_firstInCall;
        g_firstInCall = this;
    }
    if (!g_callOpen.load(std::memory_order_relaxed) || !m_readOnly || !sqlite3_get_autocommit(m_db)) return;
    if (RunOwn(m_begin, "BEGIN") != SQLITE_DONE) Fail(m_db, "cannot begin reading");
}

void Connection::TakeReadLock() noexcept
{
    try {
        EnterCall();
    } catch (...) {
        return;
    }
    if (sqlite3_get_autocommit(m_db)) return; // not within a call: there is no lock to share
    // The one statement that reads the file without needing its schema.
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, "PRAGMA schema_version", -1, &statement, nullptr) == SQLITE_OK)
        sqlite3_step(statement);
    sqlite3_finalize(statement);
}

int Connection::RunOwn(sqlite3_stmt*& statement, const char* sqlText) noexcept
{
    if (!statement) {
        const int prepared = sqlite3_prepare_v2(m_db, sqlText, -1, &statement, nullptr);
        if (prepared != SQLITE_OK) return prepared;
    }
    const int result = sqlite3_step(statement);
    sqlite3_reset(statement);
    return result;
}

Statement::Statement(Connection& connection, const char* sqlText) : m_connection(connection), m_db(connection.m_db)
{
    if (sqlite3_prepare_v2(m_db, sqlText, -1, &m_statement, nullptr) != SQLITE_OK) Fail(m_db, "cannot prepare a query");
}

Statement::~Statement()
{
    if (m_stepped) std::erase(m_connection.m_stepped, this);
    sqlite3_finalize(m_statement);
}

Statement& Statement::Reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    return *this;
}

// A bind that fails (out of memory, for a text's copy) leaves its parameter NULL: a query would
// then quietly find nothing, so it fails the call instead.
Statement& Statement::Checked(int resultCode)
{
    if (resultCode != SQLITE_OK) Fail(m_db, "cannot bind a query's parameter");
    return *this;
}

Statement& Statement::Bind(int index, int value) { return Checked(sqlite3_bind_int(m_statement, index, value)); }

Statement& Statement::Bind(int index, long long value)
{
    return Checked(sqlite3_bind_int64(m_statement, index, value));
}

Statement& Statement::Bind(int index, double value) { return Checked(sqlite3_bind_double(m_statement, index, value)); }

Statement& Statement::Bind(int index, std::string_view text)
{
    return Checked(sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
}

Statement& Statement::BindUnchanged(int index, std::string_view text)
{
    return Checked(sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC));
}

Statement& Statement::Bind(int index, const std::optional<std::string>& text)
{
    return text ? Bind(index, std::string_view(*text)) : BindNull(index);
}

Statement& Statement::Bind(int index, const std::optional<double>& value)
{
    return value ? Bind(index, *value) : BindNull(index);
}

Statement& Statement::Bind(int index, const std::optional<int>& value)
{
    return value ? Bind(index, *value) : BindNull(index);
}

Statement& Statement::BindBlob(int index, std::string_view bytes)
{
    if (bytes.empty()) return Checked(sqlite3_bind_zeroblob(m_statement, index, 0));
    return Checked(
        sqlite3_bind_blob(m_statement, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT));
}

Statement& Statement::BindNull(int index) { return Checked(sqlite3_bind_null(m_statement, index)); }

bool Statement::Step()
{
    m_connection.EnterCall();
    if (!m_stepped) {
        m_connection.m_stepped.push_back(this);
        m_stepped = true;
    }
    int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail(m_db, "query failed");
}

void Statement::Execute()
{
    while (Step()) {
    }
}

bool Statement::IsNull(int column) const { return sqlite3_column_type(m_statement, column) == SQLITE_NULL; }
int Statement::Int(int column) const { return sqlite3_column_int(m_statement, column); }
long long Statement::Int64(int column) const { return sqlite3_column_int64(m_statement, column); }
double Statement::Double(int column) const { return sqlite3_column_double(m_statement, column); }

std::string Statement::Text(int column) const { return std::string(TextView(column)); }

std::string_view Statement::TextView(int column) const
{
    // The column's value read in place: the connection has no mutex of its own (NOMUTEX, under the
    // library's lock), so the value needs none of the protection that sqlite3_column_text takes
    // anew for its text and again for its length.
    sqlite3_value* value = sqlite3_column_value(m_statement, column);
    const auto* text = sqlite3_value_text(value);
    if (!text) {
        // Null for a value that is not NULL: its conversion to text ran out of memory.
        if (sqlite3_value_type(value) != SQLITE_NULL) throw std::bad_alloc();
        return {};
    }
    return {reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_value_bytes(value))};
}

std::optional<std::string> Statement::OptionalText(int column) const
{
    // The column's value asked for once, for its type and its text.
    sqlite3_value* value = sqlite3_column_value(m_statement, column);
    if (sqlite3_value_type(value) == SQLITE_NULL) return std::nullopt;
    const auto* text = sqlite3_value_text(value);
    // Null for a value that is not NULL: its conversion to text ran out of memory.
    if (!text) throw std::bad_alloc();
    return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_value_bytes(value)));
}

std::optional<double> Statement::OptionalDouble(int column) const
{
    if (IsNull(column)) return std::nullopt;
    return Double(column);
}

std::optional<int> Statement::OptionalInt(int column) const
{
    // One read of the column for both its type and its number (see TextView).
    sqlite3_value* value = sqlite3_column_value(m_statement, column);
    if (sqlite3_value_type(value) == SQLITE_NULL) return std::nullopt;
    return sqlite3_value_int(value);
}

Statement::BlobBytes Statement::BlobView(int column) const
{
    // In place, as TextView reads a text. A stored blob is handed out as it lies; only a value
    // that had to be converted can lack its bytes, when memory runs out.
    sqlite3_value* value = sqlite3_column_value(m_statement, column);
    BlobBytes bytes{sqlite3_value_blob(value), 0};
    bytes.size = sqlite3_value_bytes(value);
    if (!bytes.data && bytes.size > 0) throw std::bad_alloc();
    return bytes;
}

namespace {

// fold_case(text) in SQL: the text in the library's case folding, so that SQL compares identifier
// types by the same rule as the library rather than by NOCASE, which folds ASCII letters only.
void FoldCaseFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    if (!text) {
        // A value that is not NULL yet has no text: its conversion ran out of memory.
        if (sqlite3_value_type(arguments[0]) != SQLITE_NULL) return sqlite3_result_error_nomem(context);
        return sqlite3_result_null(context);
    }
    try {
        std::string folded =
            platform::FoldCase(std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(arguments[0]))));
        sqlite3_result_text(context, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(context);
    }
}

} // namespace

Connection::Connection(const std::string& path, Mode mode)
{
    int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(path.c_str(), &m_db, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw ServiceError(message);
    }
    sqlite3_extended_result_codes(m_db, 1);
    if (sqlite3_create_function(m_db, "fold_case", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, FoldCaseFunction,
                                nullptr, nullptr) != SQLITE_OK) {
        std::string message = sqlite3_errmsg(m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw ServiceError(message);
    }
    // Fixed at the opening: a file that cannot be written is opened read-only whatever was asked.
    m_readOnly = IsReadOnly(m_db);
    m_next = g_firstConnection;
    if (m_next) m_next->m_previous = this;
    g_firstConnection = this;
}

Connection::~Connection()
{
    if (m_previous) m_previous->m_next = m_next;
    else if (g_firstConnection == this) g_firstConnection = m_next;
    if (m_next) m_next->m_previous = m_previous;
    for (Connection** link = &g_firstInCall; m_inCall && *link; link = &(*link)->m_nextInCall) {
        if (*link == this) {
            *link = m_nextInCall;
            break;
        }
    }
    m_cache.clear();
    sqlite3_finalize(m_begin);
    sqlite3_finalize(m_commit);
    sqlite3_close(m_db);
}

void BeginCall() noexcept { g_callOpen.store(true, std::memory_order_relaxed); }

void ReleaseReadLocks()
{
    g_callOpen.store(false, std::memory_order_relaxed);
    Connection* next = g_firstInCall;
    g_firstInCall = nullptr;
    while (Connection* connection = next) {
        next = connection->m_nextInCall;
        connection->m_inCall = false;
        connection->m_nextInCall = nullptr;
        // Only Statement steps the connection's statements (its own BEGIN and COMMIT are reset
        // where they run, and Execute's finish), so these are all that may stand on a row.
        for (Statement* statement : connection->m_stepped) {
            statement->m_stepped = false;
            if (sqlite3_stmt_busy(statement->m_statement)) sqlite3_reset(statement->m_statement);
        }
        connection->m_stepped.clear();
        // A read transaction ends without fail once its statements are reset.
        if (connection->m_readOnly && !sqlite3_get_autocommit(connection->m_db))
            connection->RunOwn(connection->m_commit, "COMMIT");
    }
}

void Connection::Execute(const char* sqlText)
{
    char* error = nullptr;
    if (sqlite3_exec(m_db, sqlText, nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errmsg(m_db);
        sqlite3_free(error);
        throw ServiceError(message);
    }
}

Statement& Connection::Cached(const char* sqlText)
{
    auto& slot = m_cache[sqlText];
    if (!slot) slot = std::make_unique<Statement>(*this, sqlText);
    return slot->Reset();
}

} // namespace moru::sqlite
