#include "Environment.h"

#include <cstdlib>

#ifdef _WIN32
#include "CodePage.h"

#include <windows.h>

#include <vector>
#endif

namespace moru::platform {

std::optional<std::string> EnvironmentVariable(const char* name)
{
#ifdef _WIN32
    const std::wstring wideName = Utf8ToWide(name);
    // The value may change between the two calls; a value that grew since is read as unset.
    const DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::vector<wchar_t> value(needed);
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), needed);
    if (length >= needed) return std::nullopt;
    return WideToUtf8(std::wstring(value.data(), length));
#else
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
#endif
}

} // namespace moru::platform
