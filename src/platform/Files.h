#pragma once

#include <filesystem>
#include <istream>
#include <memory>
#include <optional>
#include <string>

namespace moru::platform {

// Paths are UTF-8 text everywhere inside; these convert to and from the file system's own form
// (UTF-16 on Windows), so that names outside the ANSI code page survive.
std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// `path` is UTF-8.
bool FileExists(const std::string& path);

// The first `count` bytes of a file (fewer when it is shorter), read without a stream: cheap enough
// for every connect. nullopt when the file cannot be opened, with errno saying why.
std::optional<std::string> ReadFileHead(const std::filesystem::path& path, std::size_t count);

// Opens a file for reading while letting others read it but not write it. Null when it cannot be
// opened. Reads at most `readLimit` bytes and one more, so that ReadAtMost can tell a longer file.
std::unique_ptr<std::istream> OpenSharedForReading(const std::string& path, std::size_t readLimit);

// What the stream holds, read to its end; nullopt when that is more than `limit` bytes, of which
// only limit + 1 are read (a device that never ends, a file of gigabytes).
std::optional<std::string> ReadAtMost(std::istream& stream, std::size_t limit);

} // namespace moru::platform
