#pragma once

#include "api/Contain.h"
#include "interop/Handles.h"

namespace moru::api {

// What every family's release function does: release any handle, contain any failure.
inline void ReleaseAnyHandle(int handle, const char* exportName = __builtin_FUNCTION()) noexcept
{
    Contain(
        MORU_ARGUMENTS(handle), [&] { interop::ReleaseHandle(handle); }, exportName);
}

} // namespace moru::api
