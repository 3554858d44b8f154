#include "MoruIntegration.h"

#include "api/Contain.h"
#include "interop/HostText.h"
#include "platform/ProcessState.h"

// The session and the registry come into being on first use; there is nothing to do here.
MORU_API void MORU_CALL DllEnsureInit(void) {}
MORU_API void MORU_CALL DllForceTerm(void) {}

MORU_API int MORU_CALL MoruIntegration_GetVersion(char* version, int versionBufSize)
{
    moru::api::Contain(MORU_ARGUMENTS(version, versionBufSize), [&] {
        if (version) moru::interop::CopySized(MORU_VERSION_TEXT, version, versionBufSize);
    });
    return MORU_VERSION_NUMBER;
}

#ifdef _WIN32
// The C++ runtime is linked into the Windows library: its emergency buffer for exceptions, made
// when the library is loaded, goes with the library, or each load and unload would keep one.
namespace __gnu_cxx {
void __freeres();
}
#endif

namespace {

// Runs when the library is unloaded (or the process ends): releases every result the host did
// not release and closes every database, so that loading and unloading the library again and
// again holds nothing. Results first: they may share ownership of the session's databases.
struct ReleaseAtUnload {
    ReleaseAtUnload() = default;
    ReleaseAtUnload(const ReleaseAtUnload&) = delete;
    ReleaseAtUnload& operator=(const ReleaseAtUnload&) = delete;
    ~ReleaseAtUnload()
    {
        try {
            moru::platform::ProcessState::Destroy();
        } catch (...) {
            // Nothing can be reported at unload; what was not released goes with the process.
        }
#ifdef _WIN32
        __gnu_cxx::__freeres();
#endif
    }
} g_releaseAtUnload;

} // namespace
