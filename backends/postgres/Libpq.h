#pragma once

// The few functions of PostgreSQL's client library that the server backend uses, declared here and
// found at run time: the library is loaded only when a configuration names a server, and the build
// needs neither its headers nor its import library.

namespace moru::postgres {

struct PgConnHandle;   // libpq's PGconn
struct PgResultHandle; // libpq's PGresult
using Oid = unsigned int;

// Values of libpq's enumerations that the backend compares with.
inline constexpr int kConnectionOk = 0;
inline constexpr int kCommandOk = 1;
inline constexpr int kTuplesOk = 2;
inline constexpr int kTransactionIdle = 0;
inline constexpr int kErrorsDefault = 1;
inline constexpr int kDiagnosticSqlState = 'C';

struct Libpq {
    PgConnHandle* (*ConnectDbParams)(const char* const* keywords, const char* const* values, int expandDbname);
    int (*Status)(const PgConnHandle* connection);
    char* (*ErrorMessage)(const PgConnHandle* connection);
    int (*ConnectionNeedsPassword)(const PgConnHandle* connection);
    int (*ConnectionUsedPassword)(const PgConnHandle* connection);
    void (*Finish)(PgConnHandle* connection);
    void (*Reset)(PgConnHandle* connection);
    int (*SetErrorVerbosity)(PgConnHandle* connection, int verbosity);
    using NoticeProcessor = void (*)(void* argument, const char* message);
    NoticeProcessor (*SetNoticeProcessor)(PgConnHandle* connection, NoticeProcessor processor, void* argument);
    int (*TransactionStatus)(const PgConnHandle* connection);
    int (*ResultStatus)(const PgResultHandle* result);
    char* (*ResultErrorMessage)(const PgResultHandle* result);
    char* (*ResultErrorField)(const PgResultHandle* result, int field);
    int (*Tuples)(const PgResultHandle* result);
    int (*Fields)(const PgResultHandle* result);
    char* (*GetValue)(const PgResultHandle* result, int row, int column);
    int (*GetLength)(const PgResultHandle* result, int row, int column);
    int (*GetIsNull)(const PgResultHandle* result, int row, int column);
    void (*Clear)(PgResultHandle* result);
    // Statements sent without waiting, so that the wait for the answer has a deadline.
    int (*SetNonblocking)(PgConnHandle* connection, int on);
    int (*SendQuery)(PgConnHandle* connection, const char* command);
    int (*SendQueryParams)(PgConnHandle* connection, const char* command, int parameterCount, const Oid* parameterTypes,
                           const char* const* values, const int* lengths, const int* formats, int resultFormat);
    int (*SendPrepare)(PgConnHandle* connection, const char* name, const char* query, int parameterCount,
                       const Oid* parameterTypes);
    int (*SendQueryPrepared)(PgConnHandle* connection, const char* name, int parameterCount, const char* const* values,
                             const int* lengths, const int* formats, int resultFormat);
    int (*Flush)(PgConnHandle* connection);
    int (*Socket)(const PgConnHandle* connection);
    int (*ConsumeInput)(PgConnHandle* connection);
    int (*IsBusy)(PgConnHandle* connection);
    PgResultHandle* (*GetResult)(PgConnHandle* connection);
};

// The client library, loaded on first use (libpq.dll on Windows, libpq.so.5 elsewhere; the
// environment variable MORU_LIBPQ names another file). Throws ServiceError saying which file could
// not be loaded, or which function it lacks, and why.
const Libpq& LoadLibpq();

} // namespace moru::postgres
