#pragma once

// moru's commands that live in files of their own. Each prints what it found and returns the
// program's exit status.

#include <string>
#include <vector>

namespace moru::host {

// Text from the library or the databases as it may reach the terminal: control characters as \xNN,
// so that a name cannot start a line of its own or send the terminal escape sequences. "-" for null.
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

// Every unary value of a compound (or the one of `property` when not empty), aligned, with units.
int ShowValues(const std::string& database, const std::string& databank, const std::string& compound,
               const std::string& property);

// The structure texts of a compound, of each type the database holds.
int ShowStructure(const std::string& database, const std::string& compound);

// The reactions of one databank ("DB.BANK") among `compounds`, written as identifiers of `type`;
// `widen` takes only reactions that can run and widens the compounds by their species.
int ShowReactions(const std::string& reference, const std::vector<std::string>& compounds, const std::string& type,
                  bool widen);

} // namespace moru::host
