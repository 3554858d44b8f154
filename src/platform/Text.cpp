#include "platform/Text.h"

#include <algorithm>
#include <iterator>

namespace moru::platform {

namespace {

struct Folding {
    char32_t From;
    char32_t To;
};

// Simple case folding (status C and S) of the Unicode Character Database, by code point.
constexpr Folding FoldingTable[] = {
#include "CaseFoldingTable.inc"
};

constexpr bool IsStrictlyAscending()
{
    for (std::size_t i = 1; i < std::size(FoldingTable); ++i) {
        if (FoldingTable[i - 1].From >= FoldingTable[i].From) return false;
    }
    return true;
}
static_assert(IsStrictlyAscending(), "the folding table must be ordered for its binary search");

char32_t Fold(char32_t code)
{
    if (code < 0x80) return code >= U'A' && code <= U'Z' ? code + (U'a' - U'A') : code;
    const auto* end = std::end(FoldingTable);
    const auto* found = std::lower_bound(std::begin(FoldingTable), end, code,
                                         [](const Folding& entry, char32_t wanted) { return entry.From < wanted; });
    return found != end && found->From == code ? found->To : code;
}

// One unit of text: a code point of a well-formed UTF-8 sequence, or a byte that is not part of one.
struct Unit {
    char32_t Code = 0;
    bool WellFormed = false;
    std::size_t Length = 1;
};

// Reads the unit at `pos` (< text.size()) without looking past the text. Overlong forms, surrogates
// and values beyond U+10FFFF are not well-formed, so that each byte of them is kept as it is.
Unit Read(std::string_view text, std::size_t pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {lead, true, 1};
    std::size_t length = 0;
    unsigned char secondLow = 0x80, secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) secondLow = 0xA0;
        if (lead == 0xED) secondHigh = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) secondLow = 0x90;
        if (lead == 0xF4) secondHigh = 0x8F;
    }
    if (length == 0 || text.size() - pos < length) return {lead, false, 1};
    if (byte(1) < secondLow || byte(1) > secondHigh) return {lead, false, 1};
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return {lead, false, 1};
        code = (code << 6) | (byte(i) & 0x3F);
    }
    return {code, true, length};
}

void Append(char32_t code, std::string& out)
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

} // namespace

namespace {
// Below 0x80 simple case folding maps A to Z and nothing else; most names are ASCII throughout.
constexpr bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }
constexpr char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
} // namespace

std::string FoldCase(std::string_view utf8)
{
    std::string folded;
    AppendFoldedCase(utf8, folded);
    return folded;
}

void AppendFoldedCase(std::string_view utf8, std::string& folded)
{
    folded.reserve(folded.size() + utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        // A run of ASCII is written in one go: names and CAS numbers are mostly nothing else.
        std::size_t end = pos;
        while (end < utf8.size() && IsAscii(utf8[end])) ++end;
        if (end > pos) {
            const std::size_t start = folded.size();
            folded.resize(start + (end - pos));
            for (std::size_t i = 0; pos < end; ++i, ++pos) folded[start + i] = FoldAscii(utf8[pos]);
            continue;
        }
        const Unit unit = Read(utf8, pos);
        if (unit.WellFormed) Append(Fold(unit.Code), folded);
        else folded += utf8[pos];
        pos += unit.Length;
    }
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    std::size_t posA = 0, posB = 0;
    while (posA < a.size() && posB < b.size()) {
        if (IsAscii(a[posA]) && IsAscii(b[posB])) {
            if (FoldAscii(a[posA++]) != FoldAscii(b[posB++])) return false;
            continue;
        }
        const Unit unitA = Read(a, posA);
        const Unit unitB = Read(b, posB);
        if (unitA.WellFormed != unitB.WellFormed) return false;
        if (unitA.WellFormed ? Fold(unitA.Code) != Fold(unitB.Code) : unitA.Code != unitB.Code) return false;
        posA += unitA.Length;
        posB += unitB.Length;
    }
    return posA == a.size() && posB == b.size();
}

bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    });
}

} // namespace moru::platform
