#pragma once

// What every end-to-end suite does first, as a host does: load the library, connect the databases
// of a configuration and list their databanks, so that their names resolve.

#include "HostLibrary.h"

#include <gtest/gtest.h>

#include <filesystem>
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
    HostLibrary::Instance(LibraryFileIn(MORU_LIBRARY_DIR));
#endif
    int size = 0, success = 0, codes = 0;
    const std::string path = HostPath(configuration);
    const int messages = MORU_EXPORT_OF(InitVNFromConfigFileWithReturnMsgs)(path.c_str(), "", &size, &success, &codes);
    MORU_EXPORT_OF(Databank_ReleaseHandle)(messages);
    MORU_EXPORT_OF(Databank_ReleaseHandle)(codes);
    MORU_EXPORT_OF(ListMoruDatabanks_Vanta)(reinterpret_cast<void*>(kIgnoreDatabank));
    return success == 1;
}

// The databases a suite runs on: the sample, and the data bundle (built only when the shared data
// is present).
struct SampleDatabases {
    static constexpr const char* config = MORU_SAMPLE_CONFIG;
    static constexpr const char* absent = "no sample database was built";
};
struct BundleDatabases {
    static constexpr const char* config = MORU_BUNDLE_CONFIG;
    static constexpr const char* absent = "no data bundle database was built";
};

// A suite connected once to the databases of `Databases`, with every databank listed; each test
// skips when the build made no such databases.
template <class Databases>
class ConnectedSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!std::filesystem::exists(Databases::config)) return;
        connected = ConnectAndList(Databases::config);
    }
    void SetUp() override
    {
        if (!std::filesystem::exists(Databases::config)) GTEST_SKIP() << Databases::absent;
        ASSERT_TRUE(connected);
    }

    static inline bool connected = false;
};

} // namespace moru::host
