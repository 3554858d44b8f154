#pragma once

// How text crosses the boundary. Inside, text is UTF-8; the host speaks its ANSI code page.
// Sizes count bytes of the converted text, NUL included.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::api {

// Host text to UTF-8; a null pointer reads as the empty text.
std::string FromHost(const char* hostText);
// UTF-8 to the bytes the host receives.
std::string ToHost(std::string_view text);

// Sized copy of text already in host bytes: all or nothing. A text of at most size - 1 bytes is
// copied whole with its NUL; a longer one leaves an empty string. Returns whether it was copied.
// Nothing is written when the buffer is null or the size is below 1.
bool CopyHostBytes(std::string_view hostBytes, char* buffer, int size);

// Sized copy of UTF-8 text (converted first).
bool SizedCopy(std::string_view text, char* buffer, int size);
// The same, then the last byte of the buffer is set to NUL as well.
bool SizedCopyTerminated(std::string_view text, char* buffer, int size);

// Host buffers of a size fixed by the interface.
inline constexpr int kDatabaseNameBufferSize = 20;
inline constexpr int kShortTextBufferSize = 256;
inline constexpr int kStructureBufferSize = 4097;

// Unbounded copy: the whole text and its NUL; the host's buffer must hold it.
void UnboundedCopy(std::string_view text, char* buffer);

// Copies a non-empty text into a buffer by the sized copy. False, with the buffer untouched, for
// an empty text; otherwise true when the buffer now starts with neither NUL nor a blank.
bool CopyStringToCharBuffer(std::string_view text, char* buffer, int size);

// Text handed to a host callback: a copy in host bytes that lives as long as this object.
// An absent value is passed as a null pointer.
class CallbackText {
public:
    CallbackText() = default;
    explicit CallbackText(std::optional<std::string_view> text);
    const char* get() const { return m_text ? m_text->c_str() : nullptr; }

private:
    std::optional<std::string> m_text;
};

// A host list: entries up to the first null pointer or empty string, converted to UTF-8.
std::vector<std::string> ReadHostList(const char* const* list);
// A host list of `count` entries; a null entry reads as the empty text.
std::vector<std::string> ReadHostList(const char* const* list, int count);

} // namespace moru::api
