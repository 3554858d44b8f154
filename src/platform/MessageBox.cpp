#include "platform/MessageBox.h"

#include "platform/CodePage.h"

#include <cstdio>
#include <stdexcept>
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
// A text that is not UTF-8 shows empty rather than keep the message from showing.
std::wstring Wide(const std::string& utf8)
{
    try {
        return Utf8ToWide(utf8);
    } catch (const std::runtime_error&) {
        return {};
    }
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
