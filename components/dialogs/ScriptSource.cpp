#include "Script.h"

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "service/Errors.h"

#include <cstdlib>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace moru::components {

namespace {

std::string ScriptFileName()
{
#ifdef _WIN32
    // Read from the process's own environment, which a host sets with SetEnvironmentVariable.
    char name[4096];
    const DWORD length = GetEnvironmentVariableA("MORU_DIALOG_SCRIPT", name, sizeof name);
    return length > 0 && length < sizeof name ? platform::AnsiToUtf8(std::string(name, length)) : std::string();
#else
    const char* name = std::getenv("MORU_DIALOG_SCRIPT");
    return name ? name : "";
#endif
}

} // namespace

std::optional<Script> ScriptOfEnvironment()
{
    const std::string fileName = ScriptFileName();
    if (fileName.empty()) return std::nullopt;
    // A script is a few lines a dialog; a larger file is refused rather than read whole.
    constexpr std::size_t maxScriptBytes = 1 << 20;
    const auto file = platform::OpenSharedForReading(fileName, maxScriptBytes);
    if (!file) throw service::ServiceError("cannot read the dialog script " + fileName);
    const auto text = platform::ReadAtMost(*file, maxScriptBytes);
    if (!text) throw service::ServiceError("the dialog script " + fileName + " is larger than 1 MiB");
    std::istringstream script(*text);
    return ParseScript(script);
}

} // namespace moru::components
