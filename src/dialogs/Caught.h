#pragma once

// What a catch-all below the door caught, noted as the reason of the call under way.

#include "platform/Diagnostics.h"

#include <exception>
#include <string_view>

namespace moru::dialogs {

// Call only inside a catch block: notes "<what failed>: <the exception's words>".
inline void NoteCaught(std::string_view whatFailed) noexcept
{
    if (!platform::Tracing()) return;
    try {
        throw;
    } catch (const std::exception& failure) {
        platform::NoteFailure(whatFailed, ": ", failure.what());
    } catch (...) {
        platform::NoteFailure(whatFailed, ": an unexpected failure");
    }
}

} // namespace moru::dialogs
