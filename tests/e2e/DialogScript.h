#pragma once

// The person at the library's dialogs, as a script that the dialog component reads from the file
// named by MORU_DIALOG_SCRIPT in the process's environment (see components/dialogs/Script.h).

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace moru::host {

inline void SetScriptVariable(const std::string& value)
{
#ifdef _WIN32
    SetEnvironmentVariableA("MORU_DIALOG_SCRIPT", value.empty() ? nullptr : value.c_str());
#else
    if (value.empty()) unsetenv("MORU_DIALOG_SCRIPT");
    else setenv("MORU_DIALOG_SCRIPT", value.c_str(), 1);
#endif
}

// The next dialogs play `script`; an empty name clears it.
inline void PlayScript(const std::string& script)
{
    const auto file = std::filesystem::temp_directory_path() / "moru-e2e-dialog.script";
    std::ofstream(file) << script;
    SetScriptVariable(file.string());
}

inline void ClearScript() { SetScriptVariable(""); }

} // namespace moru::host
