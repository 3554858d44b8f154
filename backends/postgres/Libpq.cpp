#include "Libpq.h"

#include "platform/Environment.h"
#include "platform/SharedLibrary.h"
#include "service/Errors.h"

#include <memory>
#include <string>

namespace moru::postgres {

namespace {

#ifdef _WIN32
constexpr const char* kLibpqFile = "libpq.dll";
#else
constexpr const char* kLibpqFile = "libpq.so.5";
#endif

struct Loaded {
    std::unique_ptr<platform::SharedLibrary> library;
    Libpq functions{};
};

template <class Function>
void Find(const platform::SharedLibrary& library, const std::string& file, Function& slot, const char* name)
{
    void* address = library.Symbol(name);
    if (!address) throw service::ServiceError("the PostgreSQL client library " + file + " lacks " + name);
    slot = reinterpret_cast<Function>(address);
}

} // namespace

const Libpq& LoadLibpq()
{
    // Loaded once, under the library's lock, and kept until the process ends: connections closed
    // at unload still call it. A failed attempt is tried again at the next connect, so that
    // installing the library needs no restart of the host.
    static Loaded& loaded = *new Loaded();
    if (loaded.library) return loaded.functions;
    const std::string file = platform::EnvironmentVariable("MORU_LIBPQ").value_or(kLibpqFile);
    auto library = std::make_unique<platform::SharedLibrary>(file);
    if (!library->Loaded()) {
        throw service::ServiceError("the PostgreSQL client library " + file + " could not be loaded (" +
                                    library->Error() + ")");
    }
    Libpq functions{};
    Find(*library, file, functions.ConnectDbParams, "PQconnectdbParams");
    Find(*library, file, functions.Status, "PQstatus");
    Find(*library, file, functions.ErrorMessage, "PQerrorMessage");
    Find(*library, file, functions.ConnectionNeedsPassword, "PQconnectionNeedsPassword");
    Find(*library, file, functions.ConnectionUsedPassword, "PQconnectionUsedPassword");
    Find(*library, file, functions.Finish, "PQfinish");
    Find(*library, file, functions.Reset, "PQreset");
    Find(*library, file, functions.SetErrorVerbosity, "PQsetErrorVerbosity");
    Find(*library, file, functions.SetNoticeProcessor, "PQsetNoticeProcessor");
    Find(*library, file, functions.TransactionStatus, "PQtransactionStatus");
    Find(*library, file, functions.ResultStatus, "PQresultStatus");
    Find(*library, file, functions.ResultErrorMessage, "PQresultErrorMessage");
    Find(*library, file, functions.ResultErrorField, "PQresultErrorField");
    Find(*library, file, functions.Tuples, "PQntuples");
    Find(*library, file, functions.Fields, "PQnfields");
    Find(*library, file, functions.GetValue, "PQgetvalue");
    Find(*library, file, functions.GetLength, "PQgetlength");
    Find(*library, file, functions.GetIsNull, "PQgetisnull");
    Find(*library, file, functions.Clear, "PQclear");
    Find(*library, file, functions.SetNonblocking, "PQsetnonblocking");
    Find(*library, file, functions.SendQuery, "PQsendQuery");
    Find(*library, file, functions.SendQueryParams, "PQsendQueryParams");
    Find(*library, file, functions.SendPrepare, "PQsendPrepare");
    Find(*library, file, functions.SendQueryPrepared, "PQsendQueryPrepared");
    Find(*library, file, functions.Flush, "PQflush");
    Find(*library, file, functions.Socket, "PQsocket");
    Find(*library, file, functions.ConsumeInput, "PQconsumeInput");
    Find(*library, file, functions.IsBusy, "PQisBusy");
    Find(*library, file, functions.GetResult, "PQgetResult");
    loaded.functions = functions;
    loaded.library = std::move(library);
    return loaded.functions;
}

} // namespace moru::postgres
