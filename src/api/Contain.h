#pragma once

#include <type_traits>
#include <utility>

namespace moru::api {

// Runs the body of an export and turns every failure that escapes it into the export's
// failure value. The one place where failures stop; nothing crosses the ABI.
template <class Result, class Body>
Result Contain(Result failureValue, Body&& body) noexcept
{
    try {
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
        std::forward<Body>(body)();
    } catch (...) {
    }
}

} // namespace moru::api
