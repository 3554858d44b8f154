#pragma once

// Numbers handed to the host: an element that is not stored arrives as the missing-number marker.

#include "MoruIntegration.h"
#include "service/Model.h"

#include <optional>
#include <span>

namespace moru::interop {

inline constexpr double kMissingNumber = MORU_MISSING_NUMBER;

// Writes every element into the host's array, an absent one as kMissingNumber. Nothing here can
// fail, so a host array is never left half written by a failure.
inline void WriteNumbers(std::span<const std::optional<double>> numbers, double* out)
{
    for (std::size_t i = 0; i < numbers.size(); ++i) out[i] = numbers[i].value_or(kMissingNumber);
}

} // namespace moru::interop
