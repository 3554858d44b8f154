#pragma once

#include <filesystem>
#include <istream>
#include <memory>
#include <string>

namespace moru::platform {

// Paths are UTF-8 text everywhere inside; these convert to and from the file system's own form
// (UTF-16 on Windows), so that names outside the ANSI code page survive.
std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// `path` is UTF-8.
bool FileExists(const std::string& path);

// Opens a file for reading while letting others read it but not write it. Null when it cannot be opened.
std::unique_ptr<std::istream> OpenSharedForReading(const std::string& path);

} // namespace moru::platform
