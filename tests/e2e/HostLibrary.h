#pragma once

// The library as a host sees it: loaded at run time, functions found by their export names.

#include "MoruIntegration.h"

#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace moru::e2e {

class HostLibrary {
public:
    HostLibrary()
    {
#ifdef _WIN32
        // The DLL stands beside the test program, where the loader looks first.
        m_handle = LoadLibraryA(MORU_LIBRARY_FILE);
#else
        m_handle = dlopen(MORU_LIBRARY_DIR "/" MORU_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL);
#endif
        if (!m_handle) throw std::runtime_error("cannot load " MORU_LIBRARY_FILE);
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

    // Loaded once per process: the library keeps its session until the process ends.
    static const HostLibrary& Instance()
    {
        static HostLibrary library;
        return library;
    }

private:
    void* m_handle = nullptr;
};

// The export of that name, typed as the header declares it.
#define MORU_EXPORT_OF(name) ::moru::e2e::HostLibrary::Instance().Get<decltype(&::name)>(#name)

// A path as the library's host on this platform writes it.
inline std::string HostPath(std::string path)
{
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') path = "Z:" + path; // Wine maps the Unix root to Z:
#endif
    return path;
}

} // namespace moru::e2e
