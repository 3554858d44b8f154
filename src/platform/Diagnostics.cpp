#include "Diagnostics.h"

#include "Environment.h"
#include "Files.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <exception>
#include <mutex>
#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace moru::platform {

namespace detail {
void* g_trace = nullptr;
} // namespace detail

namespace {

std::FILE* TraceFile() { return static_cast<std::FILE*>(detail::g_trace); }

// Lines come from the door, which holds the library's lock, but a reason may also be written by a
// dialog's own thread; the file is written under its own lock.
std::mutex& TraceLock()
{
    static std::mutex lock;
    return lock;
}

// The reason of the call under way on this thread.
std::string& CurrentReason()
{
    thread_local std::string reason;
    return reason;
}

unsigned long ThreadNumber()
{
#ifdef _WIN32
    return GetCurrentThreadId();
#else
    return static_cast<unsigned long>(syscall(SYS_gettid));
#endif
}

std::string TimeNow()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count() % 1000000;
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text + length, sizeof text - length, ".%06ldZ", static_cast<long>(micros));
    return text;
}

// Opens the trace the environment names when the library is loaded, and closes it at unload.
struct TraceOfEnvironment {
    TraceOfEnvironment()
    {
        try {
            if (const auto path = EnvironmentVariable("MORU_TRACE"); path && !path->empty()) StartTrace(*path);
        } catch (...) {
            // A trace that cannot be opened is no trace; the library works without it.
        }
    }
    ~TraceOfEnvironment() { StopTrace(); }
    TraceOfEnvironment(const TraceOfEnvironment&) = delete;
    TraceOfEnvironment& operator=(const TraceOfEnvironment&) = delete;
};

const TraceOfEnvironment traceOfEnvironment;

} // namespace

namespace detail {

void NoteReason(std::string reason)
{
    std::string& current = CurrentReason();
    if (current.empty()) current = std::move(reason);
}

std::string CaughtText()
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "out of memory";
    } catch (const std::exception& failure) {
        return failure.what();
    } catch (...) {
        return "an unexpected failure";
    }
}

void AppendPart(std::string& text, double part)
{
    char number[32];
    std::snprintf(number, sizeof number, "%.17g", part);
    text.append(number);
}

} // namespace detail

std::string TakeFailureReason()
{
    std::string reason;
    reason.swap(CurrentReason());
    return reason;
}

void FailureScope::Enter()
{
    m_outer.swap(CurrentReason());
    m_entered = true;
}

void FailureScope::Leave() noexcept { m_outer.swap(CurrentReason()); }

void WriteTraceLine(std::string_view line) noexcept
{
    try {
        const std::lock_guard<std::mutex> lock(TraceLock());
        std::FILE* file = TraceFile();
        if (!file) return;
        const std::string prefix = TimeNow() + " thread " + std::to_string(ThreadNumber()) + " ";
        std::fwrite(prefix.data(), 1, prefix.size(), file);
        std::fwrite(line.data(), 1, line.size(), file);
        std::fputc('\n', file);
        std::fflush(file);
    } catch (...) {
        // The trace never fails a call.
    }
}

bool StartTrace(const std::string& utf8Path)
{
    StopTrace();
    if (utf8Path.empty()) return false;
#ifdef _WIN32
    std::FILE* file = _wfopen(PathFromUtf8(utf8Path).c_str(), L"ab");
#else
    std::FILE* file = std::fopen(utf8Path.c_str(), "ab");
#endif
    if (!file) return false;
    const std::lock_guard<std::mutex> lock(TraceLock());
    detail::g_trace = file;
    return true;
}

void StopTrace() noexcept
{
    const std::lock_guard<std::mutex> lock(TraceLock());
    if (std::FILE* file = TraceFile()) {
        detail::g_trace = nullptr;
        std::fclose(file);
    }
}

} // namespace moru::platform
