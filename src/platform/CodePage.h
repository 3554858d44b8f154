#pragma once

#include <string>
#include <string_view>

namespace moru::platform {

// Conversion between the library's UTF-8 text and the host's ANSI code page. On Windows this is
// the system's ANSI code page (characters it lacks become its default character); elsewhere
// hosts speak UTF-8 and the text passes unchanged.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

} // namespace moru::platform
