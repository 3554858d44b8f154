#pragma once

// Host arrays that come with a count: each read gives a list of exactly `count` elements, from
// index 0 upwards, or no list at all (nullopt) for a null array or a count below 1, so that the
// difference between "not given" and "given empty" survives. The host's array must hold `count`.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace moru::interop {

std::optional<std::vector<double>> ReadHostNumbers(const double* values, int count);
std::optional<std::vector<std::int32_t>> ReadHostWholeNumbers(const int* values, int count);
// Host strings, converted; a null entry reads as the empty text.
std::optional<std::vector<std::string>> ReadHostTexts(const char* const* texts, int count);

} // namespace moru::interop
