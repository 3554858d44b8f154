#pragma once

#include "service/Model.h"

namespace moru::binary {

// What the host receives for an element that is not stored.
inline constexpr double kMissingNumber = 1e35;

// Writes every element, an absent one as kMissingNumber. Nothing here can fail, so a host array
// is never left half written by a failure.
inline void WriteNumbers(const service::NumericElements& numbers, double* out)
{
    for (std::size_t i = 0; i < numbers.size(); ++i) out[i] = numbers[i].value_or(kMissingNumber);
}

} // namespace moru::binary
