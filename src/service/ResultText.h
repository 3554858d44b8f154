#pragma once

// The result text of an initialisation is read by its separators and endings, so no name, path or
// message that goes into it may forge either.

#include "service/Contract.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace moru::service {

// An alias is written into 20-byte host buffers with its NUL.
inline constexpr std::size_t kAliasLimit = 20;

// `text` as it may stand inside an entry: a backslash after every "<" that a "?" follows, so the
// separator cannot arise, and control characters as \xNN, so a host printing the entry shows them.
inline std::string ResultTextSafe(std::string_view text)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string safe;
    safe.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            safe += "\\x";
            safe += digits[byte >> 4];
            safe += digits[byte & 0xF];
            continue;
        }
        safe += text[i];
        if (text[i] == kResultSeparator[0] && i + 1 < text.size() && text[i + 1] == kResultSeparator[1]) safe += '\\';
    }
    return safe;
}

} // namespace moru::service
