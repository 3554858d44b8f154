#pragma once

// The library's one user-visible message: a box with a text, a caption and an OK button.

#include <functional>
#include <string>

namespace moru::platform {

// Shows the message and returns when the user has acknowledged it. On Windows the system's
// message box; elsewhere the message goes to standard error. Text is UTF-8.
void ShowMessageBox(const std::string& text, const std::string& caption);

// Where messages go instead, for tests, which must never wait on a window. Returns the sink it
// replaces; an empty sink restores the default.
using MessageSink = std::function<void(const std::string& text, const std::string& caption)>;
MessageSink SetMessageSink(MessageSink sink);

} // namespace moru::platform
