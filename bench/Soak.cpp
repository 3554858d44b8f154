// What a simulator does over days, at full size: a million handle cycles, ten thousand search
// rounds, a thousand re-initialisations, each phase printing resident memory and the time of one
// name lookup at intervals, so that one sees whether they stay flat.
//
//   moru_soak LIBRARY_DIR CONFIG [HANDLE_CYCLES SEARCH_ROUNDS REINITIALISATIONS]
//
// CONFIG must connect a database aliased SAMPLE with the sample's databank PURE (the sample's
// configuration). Exits 1 when a call fails that succeeded at the start.

#include "HostLibrary.h"
#include "MoruIntegration.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

using moru::host::HostLibrary;

namespace {

long ResidentKib()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

int MORU_CALL IgnoreDatabank(const char*, const char*, const char*, const char*, const char*, const char*, int,
                             const char*, const char*, const char*, int, int, int)
{
    return 0;
}

const char* kSource[] = {"SAMPLE.PURE", nullptr};

// Microseconds of one FoundCompounds_Find and the details of its hit: a name resolved, a compound
// found, a handle taken and released. The median of 201, so that a busy moment does not show.
double LookupMicroseconds()
{
    double times[201];
    for (double& time : times) {
        const auto start = std::chrono::steady_clock::now();
        int hit = 0;
        if (MORU_EXPORT_OF(FoundCompounds_Find)(kSource, "water", nullptr, &hit) != 1) {
            std::fprintf(stderr, "moru_soak: the lookup failed\n");
            std::exit(1);
        }
        MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(hit);
        time = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    }
    std::sort(std::begin(times), std::end(times));
    return times[100];
}

void Report(const char* phase, long done, long total)
{
    std::printf("%-8s %9ld / %-9ld  rss %8ld KiB  lookup %8.2f us\n", phase, done, total, ResidentKib(),
                LookupMicroseconds());
    std::fflush(stdout);
}

void Connect(const std::string& config)
{
    if (MORU_EXPORT_OF(InitializeVNFromConfigFile)(config.c_str(), "") != 1) {
        std::fprintf(stderr, "moru_soak: cannot connect %s\n", config.c_str());
        std::exit(1);
    }
    MORU_EXPORT_OF(ListMoruDatabanks_Vanta)(reinterpret_cast<void*>(&IgnoreDatabank));
}

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "moru_soak: %s\n", what);
        std::exit(1);
    }
}

// A handle taken and released: a property table read once, then read again after its release.
void HandleCycles(long count)
{
    const long every = count / 10 > 0 ? count / 10 : 1;
    for (long i = 1; i <= count; ++i) {
        int types = 0, table = 0;
        const int properties =
            MORU_EXPORT_OF(Databank_GetDatabankTypeAndPropertyList)("SAMPLE", "PURE", &types, &table);
        char name[MORU_MAX_PROPERTY_NAME_BYTES + 1];
        Require(properties > 0 && MORU_EXPORT_OF(Databank_GetNextPropertyName)(table, 0, name) == 1,
                "a property table could not be read");
        MORU_EXPORT_OF(Databank_ReleaseHandle)(table);
        Require(MORU_EXPORT_OF(Databank_GetNextPropertyName)(table, 0, name) == 0, "a released handle still reads");
        if (i % every == 0) Report("handles", i, count);
    }
}

// A round of the searches a host makes: by each identifier type, several texts, every detail read.
void SearchRounds(long count)
{
    const long every = count / 10 > 0 ? count / 10 : 1;
    const char* texts[] = {"methanol", "64-17-5", "WATER", "benzene", "no such compound", nullptr};
    for (long i = 1; i <= count; ++i) {
        for (int t = 0; texts[t]; ++t) {
            int hit = 0;
            if (MORU_EXPORT_OF(FoundCompounds_Find)(kSource, texts[t], "MW", &hit) == 1) {
                char db[256], bank[256], compound[256], alias[256], cas[256], property[256];
                int index = 0;
                double value = 0;
                MORU_EXPORT_OF(FoundCompounds_GetObjectDetails)
                (hit, db, bank, &index, compound, alias, cas, property, &value);
            }
            MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(hit);
        }
        int hits = 0;
        Require(MORU_EXPORT_OF(FoundCompounds_FindMultiple)(kSource, "NAME", texts, nullptr, &hits) > 0,
                "a multiple search found nothing");
        MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(hits);
        if (i % every == 0) Report("search", i, count);
    }
}

void Reinitialisations(const std::string& config, long count)
{
    const long every = count / 10 > 0 ? count / 10 : 1;
    for (long i = 1; i <= count; ++i) {
        Connect(config);
        if (i % every == 0) Report("reinit", i, count);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 6) {
        std::fprintf(stderr, "usage: moru_soak LIBRARY_DIR CONFIG [HANDLE_CYCLES SEARCH_ROUNDS REINITIALISATIONS]\n");
        return 2;
    }
    HostLibrary::Instance(moru::host::LibraryFileIn(argv[1]));
    const std::string config = argv[2];
    const long handles = argc == 6 ? std::atol(argv[3]) : 1000000;
    const long searches = argc == 6 ? std::atol(argv[4]) : 10000;
    const long reinits = argc == 6 ? std::atol(argv[5]) : 1000;

    Connect(config);
    Report("start", 0, 0);
    const auto start = std::chrono::steady_clock::now();
    HandleCycles(handles);
    SearchRounds(searches);
    Reinitialisations(config, reinits);
    std::printf("done in %.1f s\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return 0;
}
