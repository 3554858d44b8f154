#include "interop/HostText.h"

#include "platform/CodePage.h"
#include "platform/Diagnostics.h"

#include <cstring>

namespace moru::interop {

namespace {

// The host reads up to the first NUL; anything after an embedded one would never be seen.
std::string_view UpToNul(std::string_view hostBytes) { return hostBytes.substr(0, hostBytes.find('\0')); }

bool CopyHostBytes(std::string_view hostBytes, char* buffer, int size)
{
    if (!buffer) {
        platform::NoteFailure("no buffer for a text of ", UpToNul(hostBytes).size() + 1, " bytes");
        return false;
    }
    if (size < 1) {
        platform::NoteFailure("buffer size ", size);
        return false;
    }
    hostBytes = UpToNul(hostBytes);
    if (hostBytes.size() > static_cast<std::size_t>(size) - 1) {
        platform::NoteFailure("buffer of ", size, " bytes, text needs ", hostBytes.size() + 1);
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, hostBytes.data(), hostBytes.size());
    buffer[hostBytes.size()] = '\0';
    return true;
}

} // namespace

std::string FromHost(const char* hostText)
{
    if (!hostText) return {};
    return platform::AnsiToUtf8(hostText);
}

std::optional<std::string> FromHostOptional(const char* hostText)
{
    if (!hostText) return std::nullopt;
    return platform::AnsiToUtf8(hostText);
}

std::string ToHost(std::string_view text) { return platform::Utf8ToAnsi(text); }

std::vector<std::string> ReadHostList(const char* const* list)
{
    std::vector<std::string> entries;
    if (!list) return entries;
    for (; *list && **list; ++list) entries.push_back(FromHost(*list));
    return entries;
}

std::vector<std::string> ReadHostList(const char* const* list, int count)
{
    std::vector<std::string> entries;
    if (!list) return entries;
    for (int i = 0; i < count; ++i) entries.push_back(FromHost(list[i]));
    return entries;
}

bool CopySized(std::string_view text, char* buffer, int size)
{
    if (!buffer || size < 1) return CopyHostBytes(text, buffer, size);
    return CopyHostBytes(ToHost(text), buffer, size);
}

bool CopySizedClosingLastByte(std::string_view text, char* buffer, int size)
{
    const bool copied = CopySized(text, buffer, size);
    if (buffer && size >= 1) buffer[size - 1] = '\0';
    return copied;
}

void CopyUnbounded(std::string_view text, char* buffer)
{
    if (!buffer) return;
    const std::string hostText = ToHost(text);
    const std::string_view visible = UpToNul(hostText);
    std::memcpy(buffer, visible.data(), visible.size());
    buffer[visible.size()] = '\0';
}

bool CopyStringToCharBuffer(std::string_view text, char* buffer, int size)
{
    if (!buffer) return false;
    std::string converted;
    const std::string_view hostText = platform::Utf8AsAnsi(text, converted);
    if (UpToNul(hostText).empty()) return false;
    CopyHostBytes(hostText, buffer, size);
    return size >= 1 && buffer[0] != '\0' && buffer[0] != ' ';
}

bool CopyToFixedBuffer(std::string_view text, char* buffer, FixedBuffer size)
{
    if (!buffer) return false;
    const int bytes = static_cast<int>(size);
    const bool copied = CopyStringToCharBuffer(text, buffer, bytes);
    buffer[bytes - 1] = '\0';
    return copied;
}

CallbackText::CallbackText(std::optional<std::string_view> text)
{
    if (text) m_text = ToHost(*text);
}

} // namespace moru::interop
