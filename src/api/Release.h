#pragma once

#include "api/Contain.h"
#include "interop/Handles.h"

namespace moru::api {

// What every family's release function does: release any handle, contain any failure.
inline void ReleaseAnyHandle(int handle) noexcept
{
    Contain([&] { interop::ReleaseHandle(handle); });
}

} // namespace moru::api
