#pragma once

// What every end-to-end suite does first, as a host does: load the library, connect the databases
// of a configuration and list their databanks, so that their names resolve.

#include "HostLibrary.h"

#include <string>

namespace moru::host {

inline int MORU_CALL IgnoreDatabank(const char*, const char*, const char*, const char*, const char*, const char*, int,
                                    const char*, const char*, const char*, int, int, int)
{
    return 0;
}
// Taken through the header's callback type, so that a wrong argument list does not compile: under
// 32-bit stdcall it would break the stack.
inline constexpr MoruDatabankInfoCallback kIgnoreDatabank = &IgnoreDatabank;

// True when at least one database connected.
inline bool ConnectAndList(const std::string& configuration)
{
#ifndef _WIN32
    HostLibrary::Instance(MORU_LIBRARY_DIR);
#endif
    int size = 0, success = 0, codes = 0;
    const std::string path = HostPath(configuration);
    const int messages = MORU_EXPORT_OF(InitVNFromConfigFileWithReturnMsgs)(path.c_str(), "", &size, &success, &codes);
    MORU_EXPORT_OF(Databank_ReleaseHandle)(messages);
    MORU_EXPORT_OF(Databank_ReleaseHandle)(codes);
    MORU_EXPORT_OF(ListMoruDatabanks_Vanta)(reinterpret_cast<void*>(kIgnoreDatabank));
    return success == 1;
}

} // namespace moru::host
