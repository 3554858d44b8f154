#pragma once

#include "platform/FloatingPoint.h"
#include "service/Factory.h"

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
// given back as it was; at its end the service lets go of the database files.
class Door {
public:
    Door() : m_lock(DoorLock()) { ++Depth(); }
    ~Door()
    {
        // A call made from a callback returns into the call that made the callback, which may still
        // be reading: only the outermost call lets go.
        if (--Depth() == 0) {
            try {
                service::EndOfCall();
            } catch (...) {
                // Nothing the service lets go of can fail the call that is returning.
            }
        }
    }
    Door(const Door&) = delete;
    Door& operator=(const Door&) = delete;

private:
    // How many exports the thread that holds the lock is inside; read and written under the lock.
    static int& Depth()
    {
        static int depth = 0;
        return depth;
    }

    std::lock_guard<std::recursive_mutex> m_lock;
    // Made after the lock and so ended before it: the environment is given back before another
    // thread may enter.
    platform::FloatingPointGuard m_floatingPoint;
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
