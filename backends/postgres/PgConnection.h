#pragma once

// One connection to a PostgreSQL server: statements prepared once and run with their parameters,
// results read in libpq's binary form. A failure raises ServiceError with the server's message.

#include "Libpq.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::postgres {

// The server's limit on one statement unless MORU_PG_STATEMENT_TIMEOUT says otherwise.
inline constexpr int kStatementTimeoutSeconds = 30;

// Whole seconds from 1 to 3600 read from `variable`, else `fallback`.
int TimeoutSeconds(const char* variable, int fallback);

// The parameters of one statement, in text form except bytes.
class PgParams {
public:
    PgParams& Int(long long value);
    PgParams& Double(double value);
    PgParams& Text(std::string_view text);
    PgParams& OptionalText(const std::optional<std::string>& text);
    PgParams& Bytes(std::string_view bytes);
    PgParams& Null();
    PgParams& IntArray(const std::vector<int>& values);
    PgParams& TextArray(const std::vector<std::string>& texts);

    int Count() const { return static_cast<int>(m_values.size()); }
    // Pointers into this object, valid while it is unchanged.
    std::vector<const char*> Values() const;
    const int* Lengths() const { return m_lengths.data(); }
    const int* Formats() const { return m_formats.data(); }

private:
    PgParams& Add(std::string value, bool null, int format);

    std::vector<std::string> m_values;
    std::vector<bool> m_null;
    std::vector<int> m_lengths, m_formats;
};

class PgResult {
public:
    PgResult(const Libpq& libpq, PgResultHandle* result) : m_libpq(&libpq), m_result(result) {}
    ~PgResult();
    PgResult(PgResult&& other) noexcept : m_libpq(other.m_libpq), m_result(other.m_result) { other.m_result = nullptr; }
    PgResult(const PgResult&) = delete;
    PgResult& operator=(const PgResult&) = delete;
    PgResult& operator=(PgResult&&) = delete;

    int Rows() const;
    bool IsNull(int row, int column) const;
    // Integers of any width (smallint, integer, bigint), and booleans as 0 or 1.
    long long Int64(int row, int column) const;
    int Int(int row, int column) const { return static_cast<int>(Int64(row, column)); }
    double Double(int row, int column) const;
    std::string Text(int row, int column) const;
    std::string_view Bytes(int row, int column) const;
    std::optional<std::string> OptionalText(int row, int column) const;
    std::optional<double> OptionalDouble(int row, int column) const;
    std::optional<int> OptionalInt(int row, int column) const;

private:
    const Libpq* m_libpq;
    PgResultHandle* m_result;
};

class PgConnection {
public:
    // Connects with libpq's keywords and values; throws ServiceError when the server cannot be
    // reached or refuses, without the password in the message. `needsPassword` and `usedPassword`
    // tell a refused password apart.
    struct Refusal {
        std::string reason;
        bool needsPassword = false;
        bool usedPassword = false;
    };
    static std::unique_ptr<PgConnection> Open(const std::vector<std::pair<std::string, std::string>>& settings,
                                              Refusal& refusal);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // Runs one of the backend's statements, prepared on this connection at its first use.
    PgResult Run(const char* sqlText, const PgParams& params = PgParams());
    // Runs a text once, unprepared (the loader's statements, made for one use).
    PgResult RunOnce(const std::string& sqlText, const PgParams& params = PgParams());
    // Runs statements without parameters or rows (the schema, transactions).
    void Execute(const std::string& sqlText);

    // Inside an export call, the first statement opens a read-only transaction that the call's
    // other statements share, so that they see one snapshot; EndCall ends it.
    static void BeginCall() noexcept;
    static void EndCall();

private:
    PgConnection(const Libpq& libpq, PgConnHandle* handle);
    void EnterCallTransaction();
    // The last result of the statements just sent (nullptr when `sent` is false), waited for no
    // longer than the server's statement timeout and a margin: a server process that stops
    // without ending its connection makes the connection lost instead of hanging the host.
    PgResultHandle* Answer(bool sent, const char* what);
    PgResultHandle* Exec(const char* sqlText, const char* what);
    // Connects again when the connection was lost (the server restarted, the session was ended):
    // statements prepared on the old session are prepared again on first use.
    void Reconnect();
    PgResult Checked(PgResultHandle* result, const char* what);
    // Whether a statement failed because the session ended.
    bool Lost(const PgResultHandle* result) const;

    const Libpq& m_libpq;
    PgConnHandle* m_handle;
    int m_answerSeconds;                           // how long a statement's answer is waited for
    std::map<const char*, std::string> m_prepared; // statement text to its name on the server
    bool m_broken = false;                         // a statement found the session ended
    bool m_lostInCall = false;                     // the connection was lost during the call under way
    PgConnection* m_previous = nullptr;
    PgConnection* m_next = nullptr;
};

} // namespace moru::postgres
