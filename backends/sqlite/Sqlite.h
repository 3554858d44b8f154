#pragma once

// Thin RAII over the SQLite C API: a connection and its prepared statements. A failing call
// raises ServiceError with SQLite's own message.

#include <sqlite3.h>

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::sqlite {

class Connection;

class Statement {
public:
    Statement(Connection& connection, const char* sqlText);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binding starts a new execution: the statement is reset and its old bindings are cleared.
    Statement& Reset();
    Statement& Bind(int index, int value);
    Statement& Bind(int index, long long value);
    Statement& Bind(int index, double value);
    Statement& Bind(int index, std::string_view text);
    Statement& Bind(int index, const std::string& text) { return Bind(index, std::string_view(text)); }
    Statement& Bind(int index, const char* text) { return Bind(index, std::string_view(text)); }
    // Binds the text without a copy: it must stay as it is while the statement steps, until the
    // statement is bound anew.
    Statement& BindUnchanged(int index, std::string_view text);
    Statement& Bind(int index, const std::optional<std::string>& text);
    Statement& Bind(int index, const std::optional<double>& value);
    Statement& Bind(int index, const std::optional<int>& value);
    Statement& BindBlob(int index, std::string_view bytes);
    Statement& BindNull(int index);

    bool Step();    // true while a row is available
    void Execute(); // runs a statement that yields no rows

    bool IsNull(int column) const;
    int Int(int column) const;
    long long Int64(int column) const;
    double Double(int column) const;
    std::string Text(int column) const;
    // Valid until the statement steps, resets or reads the column as another type.
    std::string_view TextView(int column) const;
    std::optional<std::string> OptionalText(int column) const;
    std::optional<double> OptionalDouble(int column) const;
    std::optional<int> OptionalInt(int column) const;
    // A blob's bytes and their count, read with one question to SQLite: null and 0 for NULL or an
    // empty blob. Valid as TextView is.
    struct BlobBytes {
        const void* data = nullptr;
        int size = 0;
    };
    BlobBytes BlobView(int column) const;

private:
    friend void ReleaseReadLocks();
    friend class Connection;

    Statement& Checked(int resultCode);

    Connection& m_connection;
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
    bool m_stepped = false; // on its connection's list of statements stepped since ReleaseReadLocks
};

class Connection {
public:
    enum class Mode { ReadOnly, Create };
    // Throws ServiceError naming the file when it cannot be opened.
    Connection(const std::string& path, Mode mode);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* Handle() const { return m_db; }
    void Execute(const char* sqlText);
    // Prepared once per connection and reused; the caller resets it through Bind or Reset.
    Statement& Cached(const char* sqlText);
    // Within a call, takes the call's read lock before anything reads the schema, so that the
    // schema loads under it rather than under a lock of its own that the call's first statement
    // would then take again. A failure is left to the reads that follow, which say why.
    void TakeReadLock() noexcept;

private:
    friend class Statement;
    friend void ReleaseReadLocks();

    // Puts the connection on the list that ReleaseReadLocks walks, and opens the call's read
    // transaction when it is read-only and has none (see BeginCall).
    void EnterCall();
    // Steps one of the connection's own statements, prepared on first use; returns SQLite's result.
    int RunOwn(sqlite3_stmt*& statement, const char* sqlText) noexcept;

    sqlite3* m_db = nullptr;
    bool m_readOnly = false;
    sqlite3_stmt* m_begin = nullptr;
    sqlite3_stmt* m_commit = nullptr;
    std::map<const char*, std::unique_ptr<Statement>> m_cache;
    // Every open connection, for ReleaseReadLocks; made and closed under the library's lock.
    Connection* m_previous = nullptr;
    Connection* m_next = nullptr;
    // The connections stepped on since the last ReleaseReadLocks, so that it need not visit the
    // others: a host may connect many databases and search one.
    bool m_inCall = false;
    Connection* m_nextInCall = nullptr;
    // Its statements stepped since the last ReleaseReadLocks, which need look at no others.
    std::vector<Statement*> m_stepped;
};

// From here until ReleaseReadLocks, the first statement stepped on a read-only connection opens a
// read transaction that the others share: the call's reads see one snapshot of the file, and the
// file's lock is taken and its header checked once a call instead of once a statement.
void BeginCall() noexcept;

// Resets every statement left standing on a row and ends the call's read transactions, on each
// connection stepped on since the last time, so that no read lock (and no snapshot of the file)
// outlives the call that took it: other programs may write the file between calls, and the next
// call reads what they wrote. Costs nothing for connections the call did not use.
void ReleaseReadLocks();

} // namespace moru::sqlite
