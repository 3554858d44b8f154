#pragma once

// The library as a host sees it: loaded at run time, functions found by their export names.
// Shared by the moru host and the end-to-end tests, which both reach the library only this way.

#include "MoruIntegration.h"

#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace moru::host {

#ifdef _WIN32
inline constexpr const char* kLibraryFile = "MoruIntegration.dll";
#else
inline constexpr const char* kLibraryFile = "MoruIntegration.so";
#endif

class HostLibrary {
public:
    // `directory` holds the library; empty: where the platform's loader looks (on Windows the
    // program's own folder first).
    explicit HostLibrary(const std::string& directory)
    {
        const std::string path = directory.empty() ? kLibraryFile : directory + "/" + kLibraryFile;
#ifdef _WIN32
        m_handle = LoadLibraryA(path.c_str());
#else
        m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
        if (!m_handle) throw std::runtime_error("cannot load " + path);
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

    // The library loaded once for the process, from `directory` on first use: it keeps its
    // session until the process ends.
    static const HostLibrary& Instance(const std::string& directory = "")
    {
        static HostLibrary library(directory);
        return library;
    }

private:
    void* m_handle = nullptr;
};

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
