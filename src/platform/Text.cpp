#include "platform/Text.h"

#include <algorithm>
#include <cstdint>

namespace moru::platform {

namespace {

// Decodes one UTF-8 sequence at `pos`; returns the code point and its length, or length 0
// for a malformed sequence.
std::pair<char32_t, std::size_t> Decode(std::string_view text, std::size_t pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead >= 0xF8 || pos + length > text.size()) return {0, 0};
    char32_t code = lead & (0x3F >> (length - 1));
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return {0, 0};
        code = (code << 6) | (byte(i) & 0x3F);
    }
    return {code, length};
}

void Encode(char32_t code, std::string& out)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

char32_t Lower(char32_t c)
{
    if (c >= U'A' && c <= U'Z') return c + 32;
    if (c < 0x80) return c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;               // Latin-1
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
        // Latin Extended-A pairs: even upper/odd lower, except 0x139..0x148 and 0x179..0x17E odd/even.
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddUpper ? (c % 2 == 1) : (c % 2 == 0)) return c + 1;
        return c;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;             // Greek
    if (c >= 0x410 && c <= 0x42F) return c + 32;                             // Cyrillic
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

char32_t Upper(char32_t c)
{
    if (c >= U'a' && c <= U'z') return c - 32;
    if (c < 0x80) return c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddUpper ? (c % 2 == 0) : (c % 2 == 1)) return c - 1;
        return c;
    }
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 32;
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    return c;
}

template <class Map>
std::string MapLetters(std::string_view text, Map map)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto [code, length] = Decode(text, pos);
        if (length == 0) {
            out += text[pos++];
            continue;
        }
        if (length == 1) {
            out += static_cast<char>(map(code));
        } else {
            Encode(map(code), out);
        }
        pos += length;
    }
    return out;
}

} // namespace

std::string ToLowerInvariant(std::string_view text) { return MapLetters(text, Lower); }
std::string ToUpperInvariant(std::string_view text) { return MapLetters(text, Upper); }

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    const bool ascii = std::all_of(a.begin(), a.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }) &&
                       std::all_of(b.begin(), b.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return Lower(static_cast<unsigned char>(x)) == Lower(static_cast<unsigned char>(y));
               });
    }
    return ToLowerInvariant(a) == ToLowerInvariant(b);
}

bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    });
}

} // namespace moru::platform
