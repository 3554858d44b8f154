#pragma once

// Numbers handed to the host: an element that is not stored arrives as the missing-number marker.

#include "MoruIntegration.h"
#include "service/Model.h"

namespace moru::interop {

inline constexpr double kMissingNumber = MORU_MISSING_NUMBER;

// Writes every element into the host's array, an absent one as kMissingNumber. Nothing here can
// fail, so a host array is never left half written by a failure.
inline void WriteNumbers(const service::NumericElements& numbers, double* out)
{
    for (std::size_t i = 0; i < numbers.size(); ++i) out[i] = numbers[i].value_or(kMissingNumber);
}

} // namespace moru::interop
