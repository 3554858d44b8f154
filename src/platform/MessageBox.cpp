#include "platform/MessageBox.h"

#include <cstdio>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace moru::platform {

namespace {

MessageSink& InstalledSink()
{
    static MessageSink sink;
    return sink;
}

#ifdef _WIN32
std::wstring Wide(const std::string& utf8)
{
    if (utf8.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}
#endif

} // namespace

void ShowMessageBox(const std::string& text, const std::string& caption)
{
    if (const auto& sink = InstalledSink()) {
        sink(text, caption);
        return;
    }
#ifdef _WIN32
    MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), MB_OK);
#else
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
#endif
}

MessageSink SetMessageSink(MessageSink sink) { return std::exchange(InstalledSink(), std::move(sink)); }

} // namespace moru::platform
