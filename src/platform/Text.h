#pragma once

#include <string>
#include <string_view>

namespace moru::platform {

// Letter case is folded by Unicode simple case folding: "É" and "é", "Σ", "σ" and "ς", "K" and the
// Kelvin sign fold alike. Bytes that are not well-formed UTF-8 are kept as they are. Every build
// folds with the same table.
std::string FoldCase(std::string_view utf8);
// The same, appended to `folded`: a caller that keeps the string keeps its room.
void AppendFoldedCase(std::string_view utf8, std::string& folded);

// True when both texts fold to the same text.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// True when the text is empty or holds only blanks, tabs, line ends and similar white space.
bool IsBlank(std::string_view text);

} // namespace moru::platform
