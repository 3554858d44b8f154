#include "platform/SharedLibrary.h"

#include "platform/Files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace moru::platform {

#ifdef _WIN32
namespace {
std::string LastErrorText()
{
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason;
    if (length && text) {
        std::wstring wide(text, length);
        while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ')) wide.pop_back();
        reason = Utf8FromPath(std::filesystem::path(wide));
    }
    if (text) LocalFree(text);
    return "error " + std::to_string(code) + (reason.empty() ? std::string() : ": " + reason);
}
} // namespace

SharedLibrary::SharedLibrary(const std::string& fileName)
{
    // No message box for a library that is absent: the caller reports it.
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    m_handle = LoadLibraryW(PathFromUtf8(fileName).c_str());
    if (!m_handle) m_error = LastErrorText();
    SetErrorMode(previous);
}

SharedLibrary::~SharedLibrary()
{
    if (m_handle) FreeLibrary(static_cast<HMODULE>(m_handle));
}

void* SharedLibrary::Symbol(const char* name) const
{
    if (!m_handle) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), name));
}
#else
SharedLibrary::SharedLibrary(const std::string& fileName)
{
    m_handle = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* reason = dlerror();
        m_error = reason ? reason : "the loader gave no reason";
    }
}

SharedLibrary::~SharedLibrary()
{
    if (m_handle) dlclose(m_handle);
}

void* SharedLibrary::Symbol(const char* name) const { return m_handle ? dlsym(m_handle, name) : nullptr; }
#endif

} // namespace moru::platform
