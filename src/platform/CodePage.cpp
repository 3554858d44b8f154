#include "platform/CodePage.h"

#ifdef _WIN32
#include <windows.h>
#include <stdexcept>
#endif

namespace moru::platform {

#ifdef _WIN32

namespace {
std::wstring ToWide(std::string_view text, UINT codePage)
{
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) throw std::runtime_error("text cannot be converted");
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string FromWide(const std::wstring& wide, UINT codePage)
{
    if (wide.empty()) return {};
    const int length =
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) throw std::runtime_error("text cannot be converted");
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr, nullptr);
    return text;
}

bool IsAscii(std::string_view text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}
} // namespace

std::string Utf8ToAnsi(std::string_view utf8)
{
    if (IsAscii(utf8)) return std::string(utf8);
    return FromWide(ToWide(utf8, CP_UTF8), CP_ACP);
}

std::string AnsiToUtf8(std::string_view ansi)
{
    if (IsAscii(ansi)) return std::string(ansi);
    return FromWide(ToWide(ansi, CP_ACP), CP_UTF8);
}

std::string_view Utf8AsAnsi(std::string_view utf8, std::string& converted)
{
    if (IsAscii(utf8)) return utf8;
    converted = FromWide(ToWide(utf8, CP_UTF8), CP_ACP);
    return converted;
}

std::wstring Utf8ToWide(std::string_view utf8) { return ToWide(utf8, CP_UTF8); }
std::string WideToUtf8(const std::wstring& wide) { return FromWide(wide, CP_UTF8); }

#else

std::string Utf8ToAnsi(std::string_view utf8) { return std::string(utf8); }
std::string AnsiToUtf8(std::string_view ansi) { return std::string(ansi); }
std::string_view Utf8AsAnsi(std::string_view utf8, std::string&) { return utf8; }

#endif

} // namespace moru::platform
