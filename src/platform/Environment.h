#pragma once

#include <optional>
#include <string>

namespace moru::platform {

// A variable of the process's own environment as UTF-8; nullopt when it is not set. On Windows it
// is read from the process environment block, which a host sets with SetEnvironmentVariable, not
// from a C runtime's copy of it.
std::optional<std::string> EnvironmentVariable(const char* name);

} // namespace moru::platform
