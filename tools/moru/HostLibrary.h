#pragma once

// The library as a host sees it: loaded at run time, functions found by their export names.
// Shared by the moru host and the end-to-end tests, which both reach the library only this way.

#include "MoruIntegration.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace moru::host {

#define MORU_HOST_TEXT_OF(number) #number
#define MORU_HOST_TEXT(number) MORU_HOST_TEXT_OF(number)
#ifdef _WIN32
inline constexpr const char* kLibraryFile = "MoruIntegration.dll";
#else
// The SONAME: while the major version is 0 it carries the minor version as well.
static_assert(MORU_VERSION_MAJOR == 0, "the SONAME of a major version from 1 on is libMoruIntegration.so.MAJOR");
inline constexpr const char* kLibraryFile =
    "libMoruIntegration.so." MORU_HOST_TEXT(MORU_VERSION_MAJOR) "." MORU_HOST_TEXT(MORU_VERSION_MINOR);
#endif

// The library file in `directory`; empty: the bare file name, which the platform's loader looks
// for where it looks (on Windows the program's own folder first).
inline std::string LibraryFileIn(const std::string& directory)
{
    return directory.empty() ? kLibraryFile : directory + "/" + kLibraryFile;
}

class HostLibrary {
public:
    // `path` names the library file; a failure to load it says why, in the loader's words.
    explicit HostLibrary(const std::string& path)
    {
#ifdef _WIN32
        m_handle = LoadLibraryA(path.c_str());
        if (!m_handle) throw std::runtime_error("cannot load " + path + ": " + LastErrorText());
#else
        m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!m_handle) {
            const char* reason = dlerror();
            throw std::runtime_error("cannot load " + path + (reason ? std::string(": ") + reason : std::string()));
        }
#endif
    }
    HostLibrary(const HostLibrary&) = delete;
    HostLibrary& operator=(const HostLibrary&) = delete;

    template <class Function>
    Function Get(const char* name) const
    {
#ifdef _WIN32
        auto address = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), name));
#else
        void* address = dlsym(m_handle, name);
#endif
        if (!address) throw std::runtime_error(std::string("no export named ") + name);
        return reinterpret_cast<Function>(address);
    }

    // Unloads the library; none of its functions may be called afterwards.
    void Unload()
    {
        if (!m_handle) return;
#ifdef _WIN32
        FreeLibrary(static_cast<HMODULE>(m_handle));
#else
        dlclose(m_handle);
#endif
        m_handle = nullptr;
    }

    // The library loaded once for the process, from `path` on first use: it keeps its session
    // until the process ends. A view, so that a call after the first allocates nothing (the
    // exports are looked up through it at every call, also under injected allocation failures).
    static const HostLibrary& Instance(std::string_view path = kLibraryFile)
    {
        static HostLibrary library{std::string(path)};
        return library;
    }

private:
#ifdef _WIN32
    static std::string LastErrorText()
    {
        const DWORD code = GetLastError();
        char text[512] = "";
        const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                            0, text, sizeof text, nullptr);
        std::string reason(text, length);
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
            reason.pop_back();
        return (reason.empty() ? "error" : reason) + " (" + std::to_string(code) + ")";
    }
#endif
    void* m_handle = nullptr;
};

// Sets a variable of the process's environment for the library to read (empty: removes it). On
// Windows in the process's environment block, which the library reads with GetEnvironmentVariableW,
// not in a C runtime's copy of it; `value` is in the ANSI code page, as the program's arguments are.
inline void SetLibraryEnvironment(const char* name, const std::string& value)
{
#ifdef _WIN32
    const auto wide = [](const std::string& text) {
        // No more UTF-16 units than bytes in any code page, and the terminator.
        std::wstring converted(text.size() + 1, L'\0');
        const int length =
            MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, converted.data(), static_cast<int>(converted.size()));
        converted.resize(length > 0 ? static_cast<std::size_t>(length) - 1 : 0);
        return converted;
    };
    SetEnvironmentVariableW(wide(name).c_str(), value.empty() ? nullptr : wide(value).c_str());
#else
    if (value.empty()) unsetenv(name);
    else setenv(name, value.c_str(), 1);
#endif
}

// The export of that name, typed as the header declares it.
#define MORU_EXPORT_OF(name) ::moru::host::HostLibrary::Instance().Get<decltype(&::name)>(#name)

// A path as the library's host on this platform writes it.
inline std::string HostPath(std::string path)
{
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') path = "Z:" + path; // Wine maps the Unix root to Z:
#endif
    return path;
}

} // namespace moru::host
