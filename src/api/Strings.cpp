#include "api/Strings.h"

#include "platform/CodePage.h"

#include <cstring>

namespace moru::api {

std::string FromHost(const char* hostText)
{
    if (!hostText) return {};
    return platform::AnsiToUtf8(hostText);
}

std::string ToHost(std::string_view text) { return platform::Utf8ToAnsi(text); }

bool CopyHostBytes(std::string_view hostBytes, char* buffer, int size)
{
    if (!buffer || size < 1) return false;
    // Text after an embedded NUL would never be seen by the host.
    hostBytes = hostBytes.substr(0, hostBytes.find('\0'));
    if (hostBytes.size() > static_cast<std::size_t>(size) - 1) {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, hostBytes.data(), hostBytes.size());
    buffer[hostBytes.size()] = '\0';
    return true;
}

bool SizedCopy(std::string_view text, char* buffer, int size) { return CopyHostBytes(ToHost(text), buffer, size); }

bool SizedCopyTerminated(std::string_view text, char* buffer, int size)
{
    const bool copied = SizedCopy(text, buffer, size);
    if (buffer && size >= 1) buffer[size - 1] = '\0';
    return copied;
}

void UnboundedCopy(std::string_view text, char* buffer)
{
    if (!buffer) return;
    std::string hostText = ToHost(text);
    hostText = hostText.substr(0, hostText.find('\0'));
    std::memcpy(buffer, hostText.c_str(), hostText.size() + 1);
}

bool CopyStringToCharBuffer(std::string_view text, char* buffer, int size)
{
    const std::string hostText = ToHost(text);
    if (hostText.empty() || hostText[0] == '\0' || !buffer) return false;
    CopyHostBytes(hostText, buffer, size);
    return size >= 1 && buffer[0] != '\0' && buffer[0] != ' ';
}

CallbackText::CallbackText(std::optional<std::string_view> text)
{
    if (text) m_text = ToHost(*text);
}

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

} // namespace moru::api
