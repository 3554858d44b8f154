#pragma once

#include <string>
#include <string_view>

namespace moru::platform {

// Conversion between the library's UTF-8 text and the host's ANSI code page. On Windows this is
// the system's ANSI code page (characters it lacks become its default character); elsewhere
// hosts speak UTF-8 and the text passes unchanged.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);
// The host's text of `utf8` without a copy where it is the same text (ASCII, or anything off
// Windows); else converted into `converted`, whose contents the view then shows.
std::string_view Utf8AsAnsi(std::string_view utf8, std::string& converted);

#ifdef _WIN32
// The system's own text (UTF-16), for the W functions of windows and message boxes. Text that is
// not valid UTF-8 or UTF-16 throws std::runtime_error.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(const std::wstring& wide);
#endif

} // namespace moru::platform
