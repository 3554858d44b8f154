#pragma once

#include <string>
#include <string_view>

namespace moru::platform {

// Culture-independent case mapping of UTF-8 text. Letters of the Latin, Greek and Cyrillic
// alphabets are mapped; everything else, malformed bytes included, is kept as it is.
std::string ToLowerInvariant(std::string_view text);
std::string ToUpperInvariant(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// True when the text is empty or holds only blanks, tabs, line ends and similar white space.
bool IsBlank(std::string_view text);

} // namespace moru::platform
