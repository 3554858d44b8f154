#pragma once

#include "api/Trace.h"
#include "platform/Diagnostics.h"
#include "platform/FloatingPoint.h"
#include "service/Factory.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>

namespace moru::api {

// The one lock of the library. Hosts call from worker threads, and the session, the handle
// registry, the bulk tables and the connections are shared by every call, so each export holds
// this lock for its whole run. It is recursive: a host callback that calls back into the library
// runs on the thread that holds it. A plain mutex with its owner beside it: the engine takes it
// once per value read, and a recursive mutex costs twice as much to take and give back.
class DoorMutex {
public:
    void lock()
    {
        const std::thread::id self = std::this_thread::get_id();
        // Only this thread stores its own id here, and clears it before it lets go.
        if (m_owner.load(std::memory_order_relaxed) == self) {
            ++m_depth;
            return;
        }
        m_mutex.lock();
        m_owner.store(self, std::memory_order_relaxed);
        m_depth = 1;
    }
    void unlock()
    {
        if (--m_depth > 0) return;
        m_owner.store(std::thread::id(), std::memory_order_relaxed);
        m_mutex.unlock();
    }

private:
    std::mutex m_mutex;
    std::atomic<std::thread::id> m_owner{};
    int m_depth = 0; // read and written by the owner only
};

inline DoorMutex& DoorLock()
{
    static DoorMutex lock;
    return lock;
}

// What every export holds while it runs: the lock, and the caller's floating-point environment,
// given back as it was; at its end the service lets go of the database files.
class Door {
public:
    Door() : m_lock(DoorLock())
    {
        if (++Depth() == 1) service::BeginOfCall();
    }
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

    std::lock_guard<DoorMutex> m_lock;
    // Made after the lock and so ended before it: the environment is given back before another
    // thread may enter.
    platform::FloatingPointGuard m_floatingPoint;
};

namespace detail {

template <class T>
constexpr bool kIsArguments = false;
template <class... Values>
constexpr bool kIsArguments<Arguments<Values...>> = true;

} // namespace detail

// Runs the body of an export and turns every failure that escapes it into the export's failure
// value. The one place where failures stop; nothing crosses the ABI. When calls are traced, the
// call's line is written here: the export, its arguments, its result and, for a failure, why.
//
//   return api::Contain(MORU_ARGUMENTS(handle, buffer, size), 0, [&] { ... });
template <class Result, class Body, class... Values>
Result Contain(const Arguments<Values...>& arguments, Result failureValue, Body&& body,
               const char* exportName = __builtin_FUNCTION()) noexcept
{
    try {
        const Door door;
        const platform::FailureScope scope;
        Result result = failureValue;
        try {
            result = static_cast<Result>(std::forward<Body>(body)());
        } catch (...) {
            platform::NoteCaught();
        }
        if (platform::Tracing()) TraceCall(exportName, arguments, result);
        return result;
    } catch (...) {
        return failureValue;
    }
}

// For exports without a result.
template <class Body, class... Values>
void Contain(const Arguments<Values...>& arguments, Body&& body, const char* exportName = __builtin_FUNCTION()) noexcept
{
    try {
        const Door door;
        const platform::FailureScope scope;
        try {
            std::forward<Body>(body)();
        } catch (...) {
            platform::NoteCaught();
        }
        if (platform::Tracing()) TraceCall(exportName, arguments, std::nullopt);
    } catch (...) {
    }
}

// Exports without arguments.
template <class Result, class Body>
requires(!detail::kIsArguments<Result>) Result
    Contain(Result failureValue, Body&& body, const char* exportName = __builtin_FUNCTION())
noexcept { return Contain(Arguments<>(""), failureValue, std::forward<Body>(body), exportName); }

template <class Body>
requires(!detail::kIsArguments<std::remove_cvref_t<Body>>) void Contain(
    Body&& body, const char* exportName = __builtin_FUNCTION()) noexcept
{
    Contain(Arguments<>(""), std::forward<Body>(body), exportName);
}

} // namespace moru::api
