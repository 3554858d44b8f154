// Repeats what a long-running host does and shows that nothing accumulates: re-initialising and
// listing (two configurations in turn, a search after each), or loading, connecting and unloading
// the whole library. Prints descriptors (handles on Windows) and memory after a warm-up and at the
// end; exits 1 when the descriptors grew or memory grew beyond the allowed amount.
//
//   moru_cycles reinit|load COUNT LIBRARY_DIR SAMPLE_CONFIG [MAX_GROWTH_KIB]

#include "HostLibrary.h"
#include "MoruIntegration.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <dlfcn.h>
#endif

using moru::host::HostLibrary;

namespace {

// AddressSanitizer keeps freed memory aside to catch late uses, so memory grows under it by design;
// there only the descriptors are checked.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryIsMeasurable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemoryIsMeasurable = false;
#else
constexpr bool kMemoryIsMeasurable = true;
#endif
#else
constexpr bool kMemoryIsMeasurable = true;
#endif

struct Usage {
    long descriptors = 0;
    long kibibytes = 0;
};

Usage Measure()
{
    Usage usage;
#ifdef _WIN32
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    usage.descriptors = static_cast<long>(handles);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        usage.kibibytes = static_cast<long>(counters.PagefileUsage / 1024);
#else
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++usage.descriptors;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) usage.kibibytes = std::atol(line.c_str() + 6);
    }
#endif
    return usage;
}

// One load of the library, unloaded at the end of its scope.
struct Library : HostLibrary {
    using HostLibrary::HostLibrary;
    ~Library() { Unload(); }
};

#define EXPORT_OF(library, name) (library).Get<decltype(&::name)>(#name)

int MORU_CALL IgnoreDatabank(const char*, const char*, const char*, const char*, const char*, const char*, int,
                             const char*, const char*, const char*, int, int, int)
{
    return 0;
}

// Connects, lists and finds water; throws when any step fails.
void Connect(const Library& library, const std::string& config)
{
    if (EXPORT_OF(library, InitializeVNFromConfigFile)(config.c_str(), "") != 1)
        throw std::runtime_error("no database connected from " + config);
    EXPORT_OF(library, ListMoruDatabanks_Vanta)(reinterpret_cast<void*>(&IgnoreDatabank));
    const char* source[] = {"SAMPLE.PURE", nullptr};
    int handle = 0;
    if (EXPORT_OF(library, FoundCompounds_Find)(source, "water", nullptr, &handle) != 1)
        throw std::runtime_error("water was not found after connecting " + config);
    char db[256], bank[256], name[256], alias[256], cas[256], property[256];
    int index = 0;
    double value = 0;
    EXPORT_OF(library, FoundCompounds_GetObjectDetails)(handle, db, bank, &index, name, alias, cas, property, &value);
    EXPORT_OF(library, FoundCompounds_ReleaseHandle)(handle);
}

std::string HostPath(std::string path)
{
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
#endif
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: moru_cycles reinit|load COUNT LIBRARY_DIR SAMPLE_CONFIG [MAX_GROWTH_KIB]\n");
        return 2;
    }
    const std::string kind = argv[1];
    const int count = std::atoi(argv[2]);
    const std::string directory = argv[3];
    const std::string configA = HostPath(argv[4]);
    const long allowedGrowth = argc > 5 ? std::atol(argv[5]) : 1024;
    try {
        // Configuration B: a copy of the sample database under the same alias.
        const auto scratch = std::filesystem::temp_directory_path() / ("moru-cycles-" + kind);
        std::filesystem::create_directories(scratch);
        std::filesystem::copy_file(std::filesystem::path(argv[4]).parent_path() / "sample.db", scratch / "copy.db",
                                   std::filesystem::copy_options::overwrite_existing);
        std::ofstream(scratch / "databases.json") << R"({"databases": [{"alias": "SAMPLE", "path": "copy.db"}]})";
        const std::string configB = HostPath((scratch / "databases.json").generic_string());

        const int warmUp = count / 10 > 0 ? count / 10 : 1;
        Usage before;
        const auto start = std::chrono::steady_clock::now();
        if (kind == "reinit") {
            Library library(moru::host::LibraryFileIn(directory));
            for (int cycle = 0; cycle < count + warmUp; ++cycle) {
                if (cycle == warmUp) before = Measure();
                Connect(library, configA);
                Connect(library, configB);
            }
        } else if (kind == "load") {
            for (int cycle = 0; cycle < count + warmUp; ++cycle) {
                if (cycle == warmUp) before = Measure();
                Library library(moru::host::LibraryFileIn(directory));
                Connect(library, cycle % 2 ? configB : configA);
            }
        } else {
            std::fprintf(stderr, "unknown kind %s\n", kind.c_str());
            return 2;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const Usage after = Measure();
        std::filesystem::remove_all(scratch);
        std::printf("%s: %d cycles after %d to warm up, %.3f ms per cycle; descriptors %ld -> %ld; memory %ld KiB -> "
                    "%ld KiB (%+ld KiB)\n",
                    kind.c_str(), count, warmUp, seconds * 1000.0 / (count + warmUp), before.descriptors,
                    after.descriptors, before.kibibytes, after.kibibytes, after.kibibytes - before.kibibytes);
        if (after.descriptors > before.descriptors) {
            std::printf("FAILED: descriptors grew\n");
            return 1;
        }
        if (!kMemoryIsMeasurable) {
            std::printf("(memory is not checked under AddressSanitizer)\n");
        } else if (after.kibibytes - before.kibibytes > allowedGrowth) {
            std::printf("FAILED: memory grew by more than %ld KiB\n", allowedGrowth);
            return 1;
        }
    } catch (const std::exception& error) {
        std::printf("FAILED: %s\n", error.what());
        return 1;
    }
    return 0;
}
