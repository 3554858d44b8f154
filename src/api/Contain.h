#pragma once

#include "service/Factory.h"

#include <cfenv>
#include <mutex>
#include <type_traits>
#include <utility>

namespace moru::api {

// The one lock of the library. Hosts call from worker threads, and the session, the handle
// registry, the bulk tables and the connections are shared by every call, so each export holds
// this lock for its whole run. It is recursive: a host callback that calls back into the library
// runs on the thread that holds it.
inline std::recursive_mutex& DoorLock()
{
    static std::recursive_mutex lock;
    return lock;
}

// What every export holds while it runs: the lock, and the caller's floating-point environment,
// given back as it was; at its end the service lets go of the database files. Spreadsheet hosts read a raised exception flag as an error of their own,
// and SQLite and the number parsers raise inexact and other flags in the ordinary course.
class Door {
public:
    Door() : m_lock(DoorLock()) { std::fegetenv(&m_environment); }
    ~Door()
    {
        try {
            service::EndOfCall();
        } catch (...) {
            // Nothing the service lets go of can fail the call that is returning.
        }
        std::fesetenv(&m_environment);
    }
    Door(const Door&) = delete;
    Door& operator=(const Door&) = delete;

private:
    std::lock_guard<std::recursive_mutex> m_lock;
    std::fenv_t m_environment;
};

// Runs the body of an export and turns every failure that escapes it into the export's
// failure value. The one place where failures stop; nothing crosses the ABI.
template <class Result, class Body>
Result Contain(Result failureValue, Body&& body) noexcept
{
    try {
        const Door door;
        return static_cast<Result>(std::forward<Body>(body)());
    } catch (...) {
        return failureValue;
    }
}

// For exports without a result.
template <class Body>
void Contain(Body&& body) noexcept
{
    try {
        const Door door;
        std::forward<Body>(body)();
    } catch (...) {
    }
}

} // namespace moru::api
