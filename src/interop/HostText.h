#pragma once

// How text crosses the boundary. Inside, text is UTF-8; the host speaks its ANSI code page.
// Conversion happens here and nowhere else: host input at the door, host output in the copy rules.
// Sizes count bytes of the converted text, NUL included.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::interop {

// Host text to UTF-8; a null pointer reads as the empty text.
std::string FromHost(const char* hostText);
// Host text to UTF-8, keeping a null pointer apart from the empty text.
std::optional<std::string> FromHostOptional(const char* hostText);
// UTF-8 to the bytes the host receives.
std::string ToHost(std::string_view text);

// A host list: entries up to the first null pointer or empty string, converted to UTF-8.
// A null list reads as an empty one.
std::vector<std::string> ReadHostList(const char* const* list);
// A host list of `count` entries; a null entry reads as the empty text.
std::vector<std::string> ReadHostList(const char* const* list, int count);

// ---- The copy rules: every host output buffer is written through one of these. ----
//
// All of them convert to the host's code page first and write nothing into a null buffer.

// All-or-nothing sized copy: a text of at most size - 1 bytes is copied whole with its NUL; a
// longer one leaves an empty string. Returns whether the text was copied. A size below 1 writes
// nothing.
bool CopySized(std::string_view text, char* buffer, int size);

// The sized copy, then the last byte of the buffer (index size - 1) is set to NUL as well.
bool CopySizedClosingLastByte(std::string_view text, char* buffer, int size);

// Unbounded copy: the whole text and its NUL; the host's buffer must hold it.
void CopyUnbounded(std::string_view text, char* buffer);

// The session's copy of a value: nothing at all for an empty text (false, buffer untouched);
// otherwise the sized copy, and true when the buffer now starts with neither NUL nor a blank, so
// that a value beginning with a blank reads as no value.
bool CopyStringToCharBuffer(std::string_view text, char* buffer, int size);

// Host buffers whose size the interface fixes instead of passing it.
enum class FixedBuffer : int { DatabaseName = 20, SpeciesAlias = 20, ShortText = 256, StructureText = 4097 };

// A value into a buffer of fixed size by CopyStringToCharBuffer; the buffer's last byte is then
// always NUL.
bool CopyToFixedBuffer(std::string_view text, char* buffer, FixedBuffer size);

// Text handed to a host callback: a copy in host bytes that lives as long as this object and is
// valid only during the call. An absent value is passed as a null pointer.
class CallbackText {
public:
    CallbackText() = default;
    explicit CallbackText(std::optional<std::string_view> text);
    const char* get() const { return m_text ? m_text->c_str() : nullptr; }

private:
    std::optional<std::string> m_text;
};

} // namespace moru::interop
