#pragma once

#include <istream>
#include <memory>
#include <string>

namespace moru::platform {

// `path` is UTF-8.
bool FileExists(const std::string& path);

// Opens a file for reading while letting others read it but not write it. Null when it cannot be opened.
std::unique_ptr<std::istream> OpenSharedForReading(const std::string& path);

} // namespace moru::platform
