#include "Script.h"

#include "platform/Environment.h"
#include "platform/Files.h"
#include "service/Errors.h"

#include <sstream>

namespace moru::components {

namespace {

// Read from the process's own environment, which a host sets with SetEnvironmentVariable on Windows.
std::string ScriptFileName() { return platform::EnvironmentVariable("MORU_DIALOG_SCRIPT").value_or(std::string()); }

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
