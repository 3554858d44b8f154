#pragma once

// Why a call failed, for the host developer whose call returned its failure value.
//
// A failure notes its reason where it is detected, in words that name what was wrong ("buffer of
// 20 bytes, text needs 37", "databank SAMPLE.PURE2 is not listed"); the door writes the reason with
// its line of the trace. With no trace (MORU_TRACE unset when the library was loaded) noting a
// reason is one test of a pointer: the words are never made.
//
// A reason never holds a password or a whole host text; names of databases, databanks, compounds
// and identifiers are fine.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace moru::platform {

namespace detail {
// The open trace, null when calls are not traced.
extern void* g_trace;
void NoteReason(std::string reason);
// What the exception being handled says; only inside a catch block.
std::string CaughtText();
inline void AppendPart(std::string& text, std::string_view part) { text.append(part); }
inline void AppendPart(std::string& text, const char* part) { text.append(part ? part : "(null)"); }
inline void AppendPart(std::string& text, const std::string& part) { text.append(part); }
void AppendPart(std::string& text, double part);
template <class Integer, std::enable_if_t<std::is_integral_v<Integer>, int> = 0>
void AppendPart(std::string& text, Integer part)
{
    if constexpr (std::is_same_v<Integer, bool>) {
        text.append(part ? "true" : "false");
    } else {
        text.append(std::to_string(part));
    }
}
} // namespace detail

// True while calls are traced.
inline bool Tracing() noexcept { return detail::g_trace != nullptr; }

// Notes why the call under way fails: the parts (texts and numbers) joined as they are. The first
// reason a call notes is kept, since the place that detected the failure knows most; what an outer
// layer notes after it adds nothing.
// Never fails: a reason that cannot be made is left out.
template <class... Parts>
void NoteFailure(const Parts&... parts) noexcept
{
    if (!Tracing()) return;
    try {
        std::string reason;
        (detail::AppendPart(reason, parts), ...);
        detail::NoteReason(std::move(reason));
    } catch (...) {
    }
}

// Inside a catch block: notes the context and what was caught ("out of memory", an exception's
// own text).
template <class... Parts>
void NoteCaught(const Parts&... context) noexcept
{
    if (!Tracing()) return;
    try {
        NoteFailure(context..., detail::CaughtText());
    } catch (...) {
    }
}

// The reason noted since the call began, and none from then on.
std::string TakeFailureReason();

// One call's span for its reason: a call made from a callback inside another call keeps its reason
// apart, and the outer call's reason is back when it returns.
class FailureScope {
public:
    FailureScope()
    {
        if (Tracing()) Enter();
    }
    ~FailureScope()
    {
        if (m_entered) Leave();
    }
    FailureScope(const FailureScope&) = delete;
    FailureScope& operator=(const FailureScope&) = delete;

private:
    void Enter();
    void Leave() noexcept;

    bool m_entered = false;
    std::string m_outer;
};

// Appends one line to the trace, after the time (UTC) and the calling thread's number; nothing
// when calls are not traced. Each line is flushed, so a trace read while the host runs is whole.
void WriteTraceLine(std::string_view line) noexcept;

// The trace follows the file MORU_TRACE names, read when the library is loaded. A host that links
// the library's code in (the tests) starts and stops it here; an empty path stops it. Returns
// whether the file could be opened for appending.
bool StartTrace(const std::string& utf8Path);
void StopTrace() noexcept;

} // namespace moru::platform
