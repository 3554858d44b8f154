#include "PgConnection.h"

#include "platform/Environment.h"
#include "service/Errors.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <cerrno>
#include <poll.h>
#endif

#include <algorithm>
#include <bit>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace moru::postgres {

using service::ServiceError;

namespace {

constexpr int kTextFormat = 0;
constexpr int kBinaryFormat = 1;
// Beyond the statement timeout, so that the server's own timeout, with its message, comes first.
constexpr int kAnswerMarginSeconds = 5;

// Open connections, for EndCall; made and closed under the library's lock.
PgConnection* g_connections = nullptr;
bool g_inCall = false;

// libpq's message on one line: its lines (a lost connection gives two, the second indented) joined
// by single spaces, since a reason is one line of the trace and of an initialisation's messages.
std::string Trimmed(const char* text)
{
    std::string trimmed;
    for (const char* c = text ? text : ""; *c; ++c) {
        const bool space = *c == '\n' || *c == '\r' || *c == '\t' || *c == ' ';
        if (!space) trimmed += *c;
        else if (!trimmed.empty() && trimmed.back() != ' ') trimmed += ' ';
    }
    if (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    return trimmed;
}

// A percent-encoded text decoded; nullopt when it is not well formed.
std::optional<std::string> PercentDecoded(std::string_view text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        unsigned value = 0;
        if (i + 2 >= text.size()) return std::nullopt;
        const auto [end, error] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
        if (error != std::errc() || end != text.data() + i + 3) return std::nullopt;
        decoded += static_cast<char>(value);
        i += 2;
    }
    return decoded;
}

// Every password among libpq's settings, as written and decoded: the "password" setting, and in a
// url the one of "user:password@" and of a "password=" parameter.
std::vector<std::string> PasswordsOf(const std::vector<std::pair<std::string, std::string>>& settings)
{
    std::vector<std::string> passwords;
    auto add = [&](std::string_view written) {
        if (written.empty()) return;
        passwords.emplace_back(written);
        if (auto decoded = PercentDecoded(written); decoded && !decoded->empty()) passwords.push_back(*decoded);
    };
    for (const auto& [keyword, value] : settings) {
        if (keyword == "password") add(value);
        if (keyword != "dbname") continue;
        const std::string_view url = value;
        const auto scheme = url.find("://");
        if (scheme == std::string_view::npos) continue;
        const auto authorityEnd = std::min(url.find_first_of("/?", scheme + 3), url.size());
        const std::string_view authority = url.substr(scheme + 3, authorityEnd - scheme - 3);
        if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
            const std::string_view user = authority.substr(0, at);
            if (const auto colon = user.find(':'); colon != std::string_view::npos) add(user.substr(colon + 1));
        }
        const auto query = url.find('?');
        std::size_t start = query == std::string_view::npos ? url.size() : query + 1;
        while (start < url.size()) {
            const auto end = std::min(url.find('&', start), url.size());
            const std::string_view parameter = url.substr(start, end - start);
            if (parameter.starts_with("password=")) add(parameter.substr(9));
            start = end + 1;
        }
    }
    return passwords;
}

// libpq repeats parts of a url it cannot read, a password among them: those go.
std::string WithoutPasswords(std::string message, const std::vector<std::string>& passwords)
{
    const std::string hidden = "(password)";
    for (const auto& password : passwords) {
        for (auto at = message.find(password); at != std::string::npos; at = message.find(password, at + hidden.size()))
            message.replace(at, password.size(), hidden);
    }
    return message;
}

// The server's notices and warnings (a shutdown under way) are not for the host's standard error,
// where libpq writes them by default.
void IgnoreNotice(void*, const char*) {}

std::uint64_t BigEndian(const char* bytes, int length)
{
    std::uint64_t value = 0;
    for (int i = 0; i < length; ++i) value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

using Clock = std::chrono::steady_clock;

// Waits until `socket` can be read (or written, with `writing`); false once `deadline` passed.
// An error of the wait counts as ready: libpq's next read reports it.
bool WaitForSocket(int socket, bool writing, Clock::time_point deadline)
{
    if (socket < 0) return true;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
#ifdef _WIN32
        fd_set readable, writable;
        FD_ZERO(&readable);
        FD_ZERO(&writable);
        FD_SET(static_cast<SOCKET>(socket), &readable);
        if (writing) FD_SET(static_cast<SOCKET>(socket), &writable);
        timeval wait{static_cast<long>(left / 1000), static_cast<long>(left % 1000 * 1000)};
        if (select(0, &readable, &writable, nullptr, &wait) != 0) return true;
#else
        pollfd descriptor{socket, static_cast<short>(POLLIN | (writing ? POLLOUT : 0)), 0};
        const int ready = poll(&descriptor, 1, static_cast<int>(std::min<long long>(left, 60'000)));
        if (ready > 0 || (ready < 0 && errno != EINTR)) return true;
#endif
    }
}

} // namespace

int TimeoutSeconds(const char* variable, int fallback)
{
    const auto text = platform::EnvironmentVariable(variable);
    if (!text) return fallback;
    int seconds = 0;
    const auto* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, seconds);
    if (error != std::errc() || stop != end || seconds < 1 || seconds > 3600) return fallback;
    return seconds;
}

PgParams& PgParams::Add(std::string value, bool null, int format)
{
    m_lengths.push_back(static_cast<int>(value.size()));
    m_values.push_back(std::move(value));
    m_null.push_back(null);
    m_formats.push_back(format);
    return *this;
}

PgParams& PgParams::Int(long long value) { return Add(std::to_string(value), false, kTextFormat); }

PgParams& PgParams::Double(double value)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    (void)error;
    return Add(std::string(text, end), false, kTextFormat);
}

// Text travels as a C string: the callers never pass one holding a NUL (see Storable).
PgParams& PgParams::Text(std::string_view text) { return Add(std::string(text), false, kTextFormat); }

PgParams& PgParams::OptionalText(const std::optional<std::string>& text) { return text ? Text(*text) : Null(); }

PgParams& PgParams::Bytes(std::string_view bytes) { return Add(std::string(bytes), false, kBinaryFormat); }

PgParams& PgParams::Null() { return Add(std::string(), true, kTextFormat); }

PgParams& PgParams::IntArray(const std::vector<int>& values)
{
    std::string literal = "{";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) literal += ',';
        literal += std::to_string(values[i]);
    }
    literal += '}';
    return Add(std::move(literal), false, kTextFormat);
}

PgParams& PgParams::TextArray(const std::vector<std::string>& texts)
{
    std::string literal = "{";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i) literal += ',';
        literal += '"';
        for (char c : texts[i]) {
            if (c == '"' || c == '\\') literal += '\\';
            literal += c;
        }
        literal += '"';
    }
    literal += '}';
    return Add(std::move(literal), false, kTextFormat);
}

std::vector<const char*> PgParams::Values() const
{
    std::vector<const char*> values(m_values.size());
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = m_null[i] ? nullptr : m_values[i].c_str();
    return values;
}

PgResult::~PgResult()
{
    if (m_result) m_libpq->Clear(m_result);
}

int PgResult::Rows() const { return m_libpq->Tuples(m_result); }

bool PgResult::IsNull(int row, int column) const { return m_libpq->GetIsNull(m_result, row, column) != 0; }

long long PgResult::Int64(int row, int column) const
{
    if (IsNull(row, column)) return 0;
    const int length = m_libpq->GetLength(m_result, row, column);
    const std::uint64_t bits = BigEndian(m_libpq->GetValue(m_result, row, column), length);
    switch (length) {
    case 1: return static_cast<long long>(bits);
    case 2: return static_cast<std::int16_t>(bits);
    case 4: return static_cast<std::int32_t>(bits);
    case 8: return static_cast<long long>(bits);
    default: throw ServiceError("the server returned an integer of " + std::to_string(length) + " bytes");
    }
}

double PgResult::Double(int row, int column) const
{
    if (IsNull(row, column)) return 0.0;
    const int length = m_libpq->GetLength(m_result, row, column);
    if (length != 8) throw ServiceError("the server returned a number of " + std::to_string(length) + " bytes");
    return std::bit_cast<double>(BigEndian(m_libpq->GetValue(m_result, row, column), 8));
}

std::string_view PgResult::Bytes(int row, int column) const
{
    return {m_libpq->GetValue(m_result, row, column),
            static_cast<std::size_t>(m_libpq->GetLength(m_result, row, column))};
}

std::string PgResult::Text(int row, int column) const { return std::string(Bytes(row, column)); }

std::optional<std::string> PgResult::OptionalText(int row, int column) const
{
    if (IsNull(row, column)) return std::nullopt;
    return Text(row, column);
}

std::optional<double> PgResult::OptionalDouble(int row, int column) const
{
    if (IsNull(row, column)) return std::nullopt;
    return Double(row, column);
}

std::optional<int> PgResult::OptionalInt(int row, int column) const
{
    if (IsNull(row, column)) return std::nullopt;
    return Int(row, column);
}

std::unique_ptr<PgConnection> PgConnection::Open(const std::vector<std::pair<std::string, std::string>>& settings,
                                                 Refusal& refusal)
{
    const Libpq& libpq = LoadLibpq();
    std::vector<const char*> keywords, values;
    for (const auto& [keyword, value] : settings) {
        keywords.push_back(keyword.c_str());
        values.push_back(value.c_str());
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);
    PgConnHandle* handle = libpq.ConnectDbParams(keywords.data(), values.data(), 1);
    if (!handle) throw ServiceError("the PostgreSQL client library could not make a connection");
    if (libpq.Status(handle) != kConnectionOk) {
        refusal.reason = WithoutPasswords(Trimmed(libpq.ErrorMessage(handle)), PasswordsOf(settings));
        refusal.needsPassword = libpq.ConnectionNeedsPassword(handle) != 0;
        refusal.usedPassword = libpq.ConnectionUsedPassword(handle) != 0;
        libpq.Finish(handle);
        return nullptr;
    }
    libpq.SetErrorVerbosity(handle, kErrorsDefault);
    libpq.SetNoticeProcessor(handle, IgnoreNotice, nullptr);
    libpq.SetNonblocking(handle, 1);
    return std::unique_ptr<PgConnection>(new PgConnection(libpq, handle));
}

PgConnection::PgConnection(const Libpq& libpq, PgConnHandle* handle)
    : m_libpq(libpq), m_handle(handle),
      m_answerSeconds(TimeoutSeconds("MORU_PG_STATEMENT_TIMEOUT", kStatementTimeoutSeconds) + kAnswerMarginSeconds)
{
    m_next = g_connections;
    if (m_next) m_next->m_previous = this;
    g_connections = this;
}

PgConnection::~PgConnection()
{
    if (m_previous) m_previous->m_next = m_next;
    else g_connections = m_next;
    if (m_next) m_next->m_previous = m_previous;
    m_libpq.Finish(m_handle);
}

bool PgConnection::Lost(const PgResultHandle* result) const
{
    if (m_libpq.Status(m_handle) != kConnectionOk || !result) return true;
    const int status = m_libpq.ResultStatus(result);
    if (status == kCommandOk || status == kTuplesOk) return false;
    // libpq's own errors (a closed socket that it has not marked yet) carry no state; the server's
    // classes 08 (connection) and 57P (shut down, ended by an administrator) end the session.
    const char* state = m_libpq.ResultErrorField(result, kDiagnosticSqlState);
    const std::string_view code = state ? state : "";
    return code.empty() || code.starts_with("08") || code.starts_with("57P");
}

PgResult PgConnection::Checked(PgResultHandle* result, const char* what)
{
    PgResult owned(m_libpq, result);
    if (Lost(result)) {
        m_broken = true;
        m_lostInCall = g_inCall;
        std::string message = result ? Trimmed(m_libpq.ResultErrorMessage(result)) : std::string();
        if (message.empty()) message = Trimmed(m_libpq.ErrorMessage(m_handle));
        throw ServiceError(std::string("the connection to the server was lost (") + what + ")" +
                           (message.empty() ? "" : ": " + message));
    }
    const int status = m_libpq.ResultStatus(result);
    if (status != kCommandOk && status != kTuplesOk) {
        std::string message = Trimmed(m_libpq.ResultErrorMessage(result));
        if (message.empty()) message = Trimmed(m_libpq.ErrorMessage(m_handle));
        throw ServiceError("the server refused a statement: " + message);
    }
    return owned;
}

void PgConnection::Reconnect()
{
    if (!m_broken && m_libpq.Status(m_handle) == kConnectionOk) return;
    m_libpq.Reset(m_handle);
    m_prepared.clear();
    m_broken = false;
    if (m_libpq.Status(m_handle) != kConnectionOk) {
        const std::string reason = Trimmed(m_libpq.ErrorMessage(m_handle));
        throw ServiceError("the connection to the server was lost and could not be made again" +
                           (reason.empty() ? "" : ": " + reason));
    }
    m_libpq.SetErrorVerbosity(m_handle, kErrorsDefault);
    m_libpq.SetNoticeProcessor(m_handle, IgnoreNotice, nullptr);
    m_libpq.SetNonblocking(m_handle, 1);
}

PgResultHandle* PgConnection::Answer(bool sent, const char* what)
{
    if (!sent) return nullptr;
    const auto deadline = Clock::now() + std::chrono::seconds(m_answerSeconds);
    const int socket = m_libpq.Socket(m_handle);
    // No cancel request: it could wait on a server that stopped as a whole, and the server's own
    // statement timeout, long passed by then, ends the statement as soon as the process runs again.
    const auto notAnswered = [&](PgResultHandle* held) {
        if (held) m_libpq.Clear(held);
        m_broken = true;
        m_lostInCall = g_inCall;
        throw ServiceError(std::string("the connection to the server was lost (") + what +
                           "): the server did not answer within " + std::to_string(m_answerSeconds) + " s");
    };
    // What is left of the statement goes out (a server that stops reading fills the socket's
    // buffer); a failure here is reported by the results.
    for (int unsent = m_libpq.Flush(m_handle); unsent > 0; unsent = m_libpq.Flush(m_handle)) {
        if (!WaitForSocket(socket, true, deadline)) notAnswered(nullptr);
        if (!m_libpq.ConsumeInput(m_handle)) break;
    }
    // Like libpq's own synchronous calls: every result read, the last one kept.
    PgResultHandle* last = nullptr;
    for (;;) {
        while (m_libpq.IsBusy(m_handle)) {
            if (!WaitForSocket(socket, false, deadline)) notAnswered(last);
            if (!m_libpq.ConsumeInput(m_handle)) break; // the connection failed: the next result says why
        }
        PgResultHandle* result = m_libpq.GetResult(m_handle);
        if (!result) return last;
        if (last) m_libpq.Clear(last);
        last = result;
    }
}

PgResultHandle* PgConnection::Exec(const char* sqlText, const char* what)
{
    return Answer(m_libpq.SendQuery(m_handle, sqlText) != 0, what);
}

void PgConnection::EnterCallTransaction()
{
    if (!g_inCall) return;
    // Only at the start of a call: one that lost its connection half way must not go on in a new
    // session with another snapshot. The loader (outside calls) never reconnects in the middle of
    // its transaction.
    if (!m_lostInCall) Reconnect();
    if (m_libpq.TransactionStatus(m_handle) != kTransactionIdle) return;
    // The format table is locked before the snapshot is taken (a lock takes none): moru-db push
    // locks it exclusively before it swaps a schema, so a call starts either wholly before a swap,
    // which then waits for it, or after it, and never reads the new tables with an older snapshot,
    // which would show them empty.
    constexpr const char* begin = "BEGIN TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY;"
                                  "LOCK TABLE meta IN ACCESS SHARE MODE";
    PgResultHandle* result = Exec(begin, "beginning a transaction");
    if (Lost(result)) {
        // Lost since the last call (the server restarted, the session was ended): nothing was read
        // yet, so the call goes on in a new session.
        if (result) m_libpq.Clear(result);
        m_broken = true;
        Reconnect();
        result = Exec(begin, "beginning a transaction");
    }
    Checked(result, "beginning a transaction");
}

PgResult PgConnection::Run(const char* sqlText, const PgParams& params)
{
    EnterCallTransaction();
    auto prepared = m_prepared.find(sqlText);
    if (prepared == m_prepared.end()) {
        std::string name = "moru" + std::to_string(m_prepared.size() + 1);
        Checked(Answer(m_libpq.SendPrepare(m_handle, name.c_str(), sqlText, 0, nullptr) != 0, "preparing a statement"),
                "preparing a statement");
        prepared = m_prepared.emplace(sqlText, std::move(name)).first;
    }
    const auto values = params.Values();
    const bool sent = m_libpq.SendQueryPrepared(m_handle, prepared->second.c_str(), params.Count(), values.data(),
                                                params.Lengths(), params.Formats(), kBinaryFormat) != 0;
    return Checked(Answer(sent, "a statement"), "a statement");
}

PgResult PgConnection::RunOnce(const std::string& sqlText, const PgParams& params)
{
    EnterCallTransaction();
    const auto values = params.Values();
    const bool sent = m_libpq.SendQueryParams(m_handle, sqlText.c_str(), params.Count(), nullptr, values.data(),
                                              params.Lengths(), params.Formats(), kBinaryFormat) != 0;
    return Checked(Answer(sent, "a statement"), "a statement");
}

void PgConnection::Execute(const std::string& sqlText) { Checked(Exec(sqlText.c_str(), "a statement"), "a statement"); }

void PgConnection::BeginCall() noexcept { g_inCall = true; }

void PgConnection::EndCall()
{
    g_inCall = false;
    for (PgConnection* connection = g_connections; connection; connection = connection->m_next) {
        connection->m_lostInCall = false;
        if (connection->m_broken || connection->m_libpq.TransactionStatus(connection->m_handle) == kTransactionIdle)
            continue;
        // A read-only transaction: ending it keeps nothing, whether it ended well or not. A
        // connection that was lost stays lost (one whose server did not answer may still wait
        // for it); its next statement reports it.
        try {
            PgResultHandle* result = connection->Exec("ROLLBACK", "ending a transaction");
            if (result) connection->m_libpq.Clear(result);
        } catch (const ServiceError&) {
            // Not answered: the connection is lost, and the next call connects again.
        }
    }
}

} // namespace moru::postgres
