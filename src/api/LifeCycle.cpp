#include "MoruIntegration.h"

#include "interop/Handles.h"
#include "session/Session.h"

// The session and the registry come into being on first use; there is nothing to do here.
MORU_API void MORU_CALL DllEnsureInit(void) {}
MORU_API void MORU_CALL DllForceTerm(void) {}

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
            moru::interop::HandleRegistry::DestroyInstance();
            moru::session::MoruGUIDataFunctions::DestroyInstance();
        } catch (...) {
            // Nothing can be reported at unload; what was not released goes with the process.
        }
    }
} g_releaseAtUnload;

} // namespace
