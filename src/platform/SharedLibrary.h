#pragma once

#include <string>

namespace moru::platform {

// A library loaded at run time, found by its file name where the platform's loader looks, and
// unloaded with the object. Used for what the product needs only for some configurations, so that
// the rest works on a machine without it.
class SharedLibrary {
public:
    // `fileName` is UTF-8; on failure the object is not loaded and Error() says why, in the
    // loader's words.
    explicit SharedLibrary(const std::string& fileName);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    bool Loaded() const { return m_handle != nullptr; }
    const std::string& Error() const { return m_error; }
    // The address of an exported function; null when the library lacks it (or is not loaded).
    void* Symbol(const char* name) const;

private:
    void* m_handle = nullptr;
    std::string m_error;
};

} // namespace moru::platform
