#pragma once

// Text from sources, databases, the library and the command line as the tools print it: control
// characters as \xNN, so that a name cannot start a line of its own or send the terminal escape
// sequences. "-" for null.

#include <string>
#include <string_view>

namespace moru::tools {

inline std::string Printable(const char* text)
{
    if (!text) return "-";
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string printable;
    for (const char* c = text; *c; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte < 0x20 || byte == 0x7F) {
            printable += "\\x";
            printable += digits[byte >> 4];
            printable += digits[byte & 0xF];
        } else {
            printable += *c;
        }
    }
    return printable;
}
inline std::string Printable(const std::string& text) { return Printable(text.c_str()); }

// Printable line by line: the line breaks of a text of several lines stay.
inline std::string PrintableLines(std::string_view text)
{
    std::string printable;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        printable += Printable(std::string(text.substr(start, stop - start)));
        if (end == std::string_view::npos) break;
        printable += '\n';
        start = end + 1;
    }
    return printable;
}

} // namespace moru::tools
