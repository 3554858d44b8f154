// Read errors and exhausted memory at every point of a listing, a search and an engine pass, through
// the C interface. Below the library sit a VFS that fails the Nth read (once, or from then on) and
// allocators, SQLite's and C++'s, that fail the Nth allocation. Each call must then return its
// failure value or the right answer, never a wrong one; the next call after the fault passes must
// answer right again; and nothing is ever written to any file.
//
// Linux only: the test installs its VFS and allocator in the process's SQLite, which the library
// shares there (the Windows DLL carries its own).

#include "HostLibrary.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <string_view>
#include <unistd.h>

using namespace moru::host;
namespace fs = std::filesystem;

namespace {

// ---- what to fail ---------------------------------------------------------------------------

enum class Kind { Read, SqliteAllocation, CxxAllocation };

struct Injection {
    bool armed = false;
    Kind kind = Kind::Read;
    long failAt = 0; // the Nth event of `kind` fails (0: none)
    bool persistent = false;
    long reads = 0, sqliteAllocations = 0, cxxAllocations = 0;
    long writes = 0; // writes, truncations, deletions and files created: must stay 0
    long failures = 0;

    bool Fail(Kind event, long& counter)
    {
        if (!armed) return false;
        ++counter;
        if (event != kind || failAt == 0) return false;
        const bool fail = persistent ? counter >= failAt : counter == failAt;
        if (fail) ++failures;
        return fail;
    }
};
Injection g_injection;

// ---- the VFS: the default one, with reads that fail on demand --------------------------------

sqlite3_vfs* g_real = nullptr;

struct ShimFile {
    sqlite3_file base;
    sqlite3_file* real;
};
sqlite3_file* Real(sqlite3_file* file) { return reinterpret_cast<ShimFile*>(file)->real; }

int ShimClose(sqlite3_file* file)
{
    int rc = Real(file)->pMethods ? Real(file)->pMethods->xClose(Real(file)) : SQLITE_OK;
    return rc;
}
int ShimRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset)
{
    if (g_injection.Fail(Kind::Read, g_injection.reads)) return SQLITE_IOERR_READ;
    const int rc = Real(file)->pMethods->xRead(Real(file), buffer, amount, offset);
    // Another change counter each time the header is read: the connection takes the file for
    // changed and reads its pages again, so that every call meets its reads, not a warm cache.
    if (rc == SQLITE_OK && offset == 0 && amount >= 28) {
        auto* bytes = static_cast<unsigned char*>(buffer);
        static unsigned counter = 0;
        ++counter;
        bytes[24] = static_cast<unsigned char>(counter >> 24);
        bytes[25] = static_cast<unsigned char>(counter >> 16);
        bytes[26] = static_cast<unsigned char>(counter >> 8);
        bytes[27] = static_cast<unsigned char>(counter);
    }
    return rc;
}
int ShimWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset)
{
    ++g_injection.writes;
    return Real(file)->pMethods->xWrite(Real(file), buffer, amount, offset);
}
int ShimTruncate(sqlite3_file* file, sqlite3_int64 size)
{
    ++g_injection.writes;
    return Real(file)->pMethods->xTruncate(Real(file), size);
}
int ShimSync(sqlite3_file* file, int flags) { return Real(file)->pMethods->xSync(Real(file), flags); }
int ShimFileSize(sqlite3_file* file, sqlite3_int64* size)
{
    if (g_injection.Fail(Kind::Read, g_injection.reads)) return SQLITE_IOERR_FSTAT;
    return Real(file)->pMethods->xFileSize(Real(file), size);
}
int ShimLock(sqlite3_file* file, int level) { return Real(file)->pMethods->xLock(Real(file), level); }
int ShimUnlock(sqlite3_file* file, int level) { return Real(file)->pMethods->xUnlock(Real(file), level); }
int ShimCheckReserved(sqlite3_file* file, int* out)
{
    return Real(file)->pMethods->xCheckReservedLock(Real(file), out);
}
int ShimControl(sqlite3_file* file, int op, void* arg)
{
    return Real(file)->pMethods->xFileControl(Real(file), op, arg);
}
int ShimSectorSize(sqlite3_file* file) { return Real(file)->pMethods->xSectorSize(Real(file)); }
int ShimDevice(sqlite3_file* file) { return Real(file)->pMethods->xDeviceCharacteristics(Real(file)); }
int ShimShmMap(sqlite3_file* file, int page, int size, int extend, void volatile** out)
{
    if (extend) ++g_injection.writes;
    return Real(file)->pMethods->xShmMap(Real(file), page, size, extend, out);
}
int ShimShmLock(sqlite3_file* file, int offset, int n, int flags)
{
    return Real(file)->pMethods->xShmLock(Real(file), offset, n, flags);
}
void ShimShmBarrier(sqlite3_file* file) { Real(file)->pMethods->xShmBarrier(Real(file)); }
int ShimShmUnmap(sqlite3_file* file, int deleteFlag) { return Real(file)->pMethods->xShmUnmap(Real(file), deleteFlag); }
int ShimFetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** out)
{
    // No memory-mapped pages: every page goes through xRead, where the faults are.
    *out = nullptr;
    (void)file, (void)offset, (void)amount;
    return SQLITE_OK;
}
int ShimUnfetch(sqlite3_file* file, sqlite3_int64 offset, void* page)
{
    return Real(file)->pMethods->xUnfetch(Real(file), offset, page);
}

const sqlite3_io_methods kShimMethods = {
    3,           ShimClose,      ShimRead,          ShimWrite,   ShimTruncate,   ShimSync,   ShimFileSize,
    ShimLock,    ShimUnlock,     ShimCheckReserved, ShimControl, ShimSectorSize, ShimDevice, ShimShmMap,
    ShimShmLock, ShimShmBarrier, ShimShmUnmap,      ShimFetch,   ShimUnfetch};

int ShimOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* shim = reinterpret_cast<ShimFile*>(file);
    shim->base.pMethods = nullptr;
    if (flags & (SQLITE_OPEN_CREATE | SQLITE_OPEN_DELETEONCLOSE)) ++g_injection.writes;
    if (g_injection.Fail(Kind::Read, g_injection.reads)) return SQLITE_CANTOPEN;
    shim->real = reinterpret_cast<sqlite3_file*>(shim + 1);
    const int rc = g_real->xOpen(g_real, name, shim->real, flags, outFlags);
    if (shim->real->pMethods) shim->base.pMethods = &kShimMethods;
    return rc;
}
int ShimDelete(sqlite3_vfs*, const char* name, int sync)
{
    ++g_injection.writes;
    return g_real->xDelete(g_real, name, sync);
}
int ShimAccess(sqlite3_vfs*, const char* name, int flags, int* out)
{
    if (g_injection.Fail(Kind::Read, g_injection.reads)) return SQLITE_IOERR_ACCESS;
    return g_real->xAccess(g_real, name, flags, out);
}
int ShimFullPath(sqlite3_vfs*, const char* name, int size, char* out)
{
    return g_real->xFullPathname(g_real, name, size, out);
}
void* ShimDlOpen(sqlite3_vfs*, const char* name) { return g_real->xDlOpen(g_real, name); }
void ShimDlError(sqlite3_vfs*, int size, char* out) { g_real->xDlError(g_real, size, out); }
void (*ShimDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void)
{
    return g_real->xDlSym(g_real, handle, symbol);
}
void ShimDlClose(sqlite3_vfs*, void* handle) { g_real->xDlClose(g_real, handle); }
int ShimRandomness(sqlite3_vfs*, int size, char* out) { return g_real->xRandomness(g_real, size, out); }
int ShimSleep(sqlite3_vfs*, int microseconds) { return g_real->xSleep(g_real, microseconds); }
int ShimCurrentTime(sqlite3_vfs*, double* out) { return g_real->xCurrentTime(g_real, out); }
int ShimLastError(sqlite3_vfs*, int size, char* out) { return g_real->xGetLastError(g_real, size, out); }
int ShimCurrentTime64(sqlite3_vfs*, sqlite3_int64* out) { return g_real->xCurrentTimeInt64(g_real, out); }

sqlite3_vfs g_shim;

// ---- SQLite's allocator: the system's, failing on demand ---------------------------------------

constexpr std::size_t kHeader = 16; // keeps the 8-byte alignment SQLite needs, and records the size

void* CountingMalloc(int size)
{
    if (g_injection.Fail(Kind::SqliteAllocation, g_injection.sqliteAllocations)) return nullptr;
    auto* block = static_cast<char*>(std::malloc(static_cast<std::size_t>(size) + kHeader));
    if (!block) return nullptr;
    std::memcpy(block, &size, sizeof size);
    return block + kHeader;
}
void CountingFree(void* memory)
{
    if (memory) std::free(static_cast<char*>(memory) - kHeader);
}
int CountingSize(void* memory)
{
    int size = 0;
    if (memory) std::memcpy(&size, static_cast<char*>(memory) - kHeader, sizeof size);
    return size;
}
void* CountingRealloc(void* memory, int size)
{
    if (g_injection.Fail(Kind::SqliteAllocation, g_injection.sqliteAllocations)) return nullptr;
    auto* block = static_cast<char*>(std::realloc(memory ? static_cast<char*>(memory) - kHeader : nullptr,
                                                  static_cast<std::size_t>(size) + kHeader));
    if (!block) return nullptr;
    std::memcpy(block, &size, sizeof size);
    return block + kHeader;
}
int CountingRoundup(int size) { return (size + 7) & ~7; }
int CountingInit(void*) { return SQLITE_OK; }
void CountingShutdown(void*) {}

const sqlite3_mem_methods kCountingAllocator = {CountingMalloc,  CountingFree, CountingRealloc,  CountingSize,
                                                CountingRoundup, CountingInit, CountingShutdown, nullptr};

bool InstallBelowTheLibrary()
{
    // Before SQLite starts: its allocator can be replaced only then. No lookaside, so that every
    // allocation reaches the allocator.
    if (sqlite3_config(SQLITE_CONFIG_MALLOC, &kCountingAllocator) != SQLITE_OK) return false;
    if (sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0) != SQLITE_OK) return false;
    if (sqlite3_initialize() != SQLITE_OK) return false;
    g_real = sqlite3_vfs_find(nullptr);
    if (!g_real) return false;
    g_shim = *g_real;
    g_shim.iVersion = 3;
    g_shim.szOsFile = static_cast<int>(sizeof(ShimFile)) + g_real->szOsFile;
    g_shim.zName = "moru-faults";
    g_shim.pAppData = nullptr;
    g_shim.xOpen = ShimOpen;
    g_shim.xDelete = ShimDelete;
    g_shim.xAccess = ShimAccess;
    g_shim.xFullPathname = ShimFullPath;
    g_shim.xDlOpen = ShimDlOpen;
    g_shim.xDlError = ShimDlError;
    g_shim.xDlSym = ShimDlSym;
    g_shim.xDlClose = ShimDlClose;
    g_shim.xRandomness = ShimRandomness;
    g_shim.xSleep = ShimSleep;
    g_shim.xCurrentTime = ShimCurrentTime;
    g_shim.xGetLastError = ShimLastError;
    g_shim.xCurrentTimeInt64 = ShimCurrentTime64;
    g_shim.xSetSystemCall = nullptr;
    g_shim.xGetSystemCall = nullptr;
    g_shim.xNextSystemCall = nullptr;
    return sqlite3_vfs_register(&g_shim, 1) == SQLITE_OK;
}

} // namespace

// ---- C++'s allocator: the process's operator new, failing on demand --------------------------

[[gnu::noinline]] void* operator new(std::size_t size)
{
    if (g_injection.Fail(Kind::CxxAllocation, g_injection.cxxAllocations)) throw std::bad_alloc();
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
// Not inlined: the compiler would see free() where `new` was called and take it for a mismatch.
[[gnu::noinline]] void operator delete(void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete[](void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

// ---- what a scenario delivered ------------------------------------------------------------------

// Every result, number and text (hashed) in order, with room fixed in advance: recording must
// not allocate while allocations fail.
struct Transcript {
    static constexpr int kRoom = 1 << 16;
    double entries[kRoom];
    int count = 0;
    bool failed = false; // a call returned its failure value; the scenario stopped there
    int checked = kRoom; // entries from here on come from a call without a result: not compared under a fault
    char message[1024] = {};

    void Add(double value)
    {
        if (count < kRoom) entries[count++] = value;
    }
    void Add(const char* text)
    {
        unsigned long long hash = 1469598103934665603ull;
        for (const char* c = text ? text : "<null>"; *c; ++c)
            hash = (hash ^ static_cast<unsigned char>(*c)) * 1099511628211ull;
        Add(static_cast<double>(hash >> 12));
    }
    // True when the call gave what a sound run gives; otherwise the scenario stops.
    bool Expect(bool sound)
    {
        if (!sound) failed = true;
        return sound;
    }
};

Transcript* g_transcript = nullptr;

int MORU_CALL RecordDatabank(const char* bank, const char* alias, const char* password, const char* display,
                             const char* base, const char* help, int code, const char* product, const char* type,
                             const char* prompt, int pure, int binary, int reactions, int simulator, int viewer)
{
    for (const char* text : {bank, alias, password, display, base, help, product, type, prompt})
        g_transcript->Add(text);
    for (int number : {code, pure, binary, reactions, simulator, viewer}) g_transcript->Add(number);
    return 0;
}
int MORU_CALL RecordBinaryParameter(const char* alias, const char* bank, const char* parameter, const char* gamma,
                                    const char* vapour)
{
    for (const char* text : {alias, bank, parameter, gamma, vapour}) g_transcript->Add(text);
    return 0;
}
int MORU_CALL IgnoreDatabank(const char*, const char*, const char*, const char*, const char*, const char*, int,
                             const char*, const char*, const char*, int, int, int)
{
    return 0;
}

struct Paths {
    fs::path directory, database, config;
};

// Connects and lists; records the connection's result and message and every databank reported.
void Listing(const Paths& paths, Transcript& t)
{
    int size = 0, success = 0, codes = 0;
    const int messages =
        MORU_EXPORT_OF(InitVNFromConfigFileWithReturnMsgs)(paths.config.c_str(), "", &size, &success, &codes);
    const int code = MORU_EXPORT_OF(GetNextDatabaseSuccessCode)(codes, 0);
    char text[1024] = {};
    if (MORU_EXPORT_OF(GetNextDatabaseErrorMessage)(messages, 0, text, sizeof text) == 1)
        std::memcpy(t.message, text, sizeof text);
    // Writing the default configuration file is best-effort: a fault there is a warning after the
    // databases' results, not a wrong answer.
    char last[1024] = {};
    if (size > 1 && MORU_EXPORT_OF(GetNextDatabaseErrorMessage)(messages, size - 1, last, sizeof last) == 1 &&
        std::string_view(last).starts_with("Warning: the default configuration file "))
        --size;
    MORU_EXPORT_OF(Databank_ReleaseHandle)(messages);
    MORU_EXPORT_OF(Databank_ReleaseHandle)(codes);
    if (!t.Expect(success == 1 && code == 0)) return;
    t.Add(size);
    // A listing has no result: what it reports while a read fails may lack settings it could not
    // read (they read as absent), which the host cannot tell from absent ones.
    t.checked = t.count;
    g_transcript = &t;
    MORU_EXPORT_OF(ListMoruDatabanks_WithDBAccessFlag)
    (reinterpret_cast<void*>(&RecordDatabank), nullptr, reinterpret_cast<void*>(&RecordBinaryParameter), 1);
    g_transcript = nullptr;
}

// Searches by each identifier type and reads every detail of each hit, then a multiple search.
void Search(const Paths&, Transcript& t)
{
    const char* source[] = {"SAMPLE.PURE", nullptr};
    for (const char* text : {"methanol", "64-17-5", "WATER", "benzene"}) {
        int hit = 0;
        if (!t.Expect(MORU_EXPORT_OF(FoundCompounds_Find)(source, text, "MW", &hit) == 1)) return;
        char db[256], bank[256], name[256], alias[256], cas[256], property[256];
        int index = 0;
        double value = 0;
        const int details =
            MORU_EXPORT_OF(FoundCompounds_GetObjectDetails)(hit, db, bank, &index, name, alias, cas, property, &value);
        MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(hit);
        if (!t.Expect(details == 1)) return;
        for (const char* field : {db, bank, name, alias, cas, property}) t.Add(field);
        t.Add(index);
        t.Add(value);
    }
    const char* texts[] = {"methanol", "nothing such", "water", "ethanol", nullptr};
    int hits = 0;
    const int count = MORU_EXPORT_OF(FoundCompounds_FindMultiple)(source, "NAME", texts, "MW", &hits);
    if (!t.Expect(count > 0)) return MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(hits);
    t.Add(count);
    for (int i = 0; i < count; ++i) {
        char db[256], bank[256], name[256], alias[256], cas[256], property[256];
        int position = 0, index = 0;
        double value = 0;
        if (!t.Expect(MORU_EXPORT_OF(FoundCompounds_GetNextCompoundIdentifier)(
                          hits, i, &position, db, bank, &index, name, alias, cas, property, &value) == 1))
            break;
        for (const char* field : {db, bank, name, alias, cas, property}) t.Add(field);
        t.Add(position);
        t.Add(value);
    }
    MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(hits);
}

// The engine's pass: load, find the compounds and properties, fetch and read every value.
void EnginePass(const Paths&, Transcript& t)
{
    const char* banks[] = {"SAMPLE.PURE", "SAMPLE.NRTL-SAMPLE", "SAMPLE.PR-SAMPLE", nullptr};
    const char* compounds[] = {"methanol", "water", "methane", "ethane", "propane", "METHANOL", nullptr};
    const char* properties[] = {"MW", "NRTL", "PRKIJ", "STATE", "TB", nullptr};
    struct Unload {
        ~Unload() { MORU_EXPORT_OF(Optimized_UnInitializeAllLists)(); }
    } unload;
    if (!t.Expect(MORU_EXPORT_OF(Optimized_InitializeAllLists)(banks, compounds, properties) == 1)) return;
    int handle = 0;
    const int found = MORU_EXPORT_OF(Optimized_GetAllCompoundsIdentifiers)(&handle);
    if (!t.Expect(found > 0)) return MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    t.Add(found);
    for (int i = 0; i < found; ++i) {
        char db[20], name[256], alias[256], cas[256];
        int position = 0, index = 0;
        double compoundClass = 0, kelda = 0, plx = 0;
        if (!t.Expect(MORU_EXPORT_OF(Optimized_GetNextCompoundIdentifier)(handle, i, &position, db, &index, name, alias,
                                                                          cas, &compoundClass, &kelda, &plx) == 1))
            return MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
        for (const char* field : {db, name, alias, cas}) t.Add(field);
        t.Add(position), t.Add(index), t.Add(compoundClass);
    }
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    const int propertiesFound = MORU_EXPORT_OF(Optimized_GetAllProperties)(&handle);
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    if (!t.Expect(propertiesFound > 0)) return;
    t.Add(propertiesFound);
    double numbers[128];
    int size = 0, bank = 0, c1 = 0, c2 = 0, property = 0;
    const int scalars = MORU_EXPORT_OF(Optimized_GetAllScalarPropertyValues)(&handle);
    if (!t.Expect(scalars > 0)) return MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    t.Add(scalars);
    for (int i = 0; i < scalars; ++i) {
        if (!t.Expect(MORU_EXPORT_OF(Optimized_GetNextScalarPropertyValue)(handle, i, &bank, &c1, &property, numbers) ==
                      1))
            break;
        t.Add(bank), t.Add(c1), t.Add(property), t.Add(numbers[0]);
    }
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    const int binaries = MORU_EXPORT_OF(Optimized_GetAllBinaryPropertyValues)(&handle);
    if (!t.Expect(binaries > 0)) return MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    t.Add(binaries);
    for (int i = 0; i < binaries; ++i) {
        if (!t.Expect(MORU_EXPORT_OF(Optimized_GetNextBinaryPropertyValue)(handle, i, &size, &bank, &c1, &c2, &property,
                                                                           numbers) == 1))
            break;
        t.Add(bank), t.Add(c1), t.Add(c2), t.Add(property);
        for (int k = 0; k < size && k < 128; ++k) t.Add(numbers[k]);
    }
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
}

// Values in no defined order come in the same order on every run of the same pass, so a
// transcript compares entry by entry.
::testing::AssertionResult StartsLike(const Transcript& run, const Transcript& sound)
{
    if (run.count > sound.count && run.checked >= run.count)
        return ::testing::AssertionFailure() << run.count << " entries, a sound run gives " << sound.count;
    for (int i = 0; i < std::min(run.count, run.checked); ++i)
        if (std::bit_cast<std::uint64_t>(run.entries[i]) != std::bit_cast<std::uint64_t>(sound.entries[i]))
            return ::testing::AssertionFailure() << "entry " << i << " of " << run.count << " is " << run.entries[i]
                                                 << ", a sound run gives " << sound.entries[i];
    return ::testing::AssertionSuccess();
}

std::string FileBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class FaultInjection : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        HostLibrary::Instance(LibraryFileIn(MORU_LIBRARY_DIR));
        s_paths.directory = fs::temp_directory_path() / ("moru-faults-" + std::to_string(::getpid()));
        fs::create_directories(s_paths.directory);
        s_paths.database = s_paths.directory / "sample.db";
        s_paths.config = s_paths.directory / "databases.json";
        fs::copy_file(fs::path(MORU_SAMPLE_CONFIG).parent_path() / "sample.db", s_paths.database,
                      fs::copy_options::overwrite_existing);
        std::ofstream(s_paths.config) << R"({"databases": [{"alias": "SAMPLE", "path": "sample.db"}]})"
                                      << "\n";
        s_bytes = FileBytes(s_paths.database);
    }
    static void TearDownTestSuite()
    {
        std::error_code ignored;
        fs::remove_all(s_paths.directory, ignored);
    }

    static void Connect()
    {
        int size = 0, success = 0, codes = 0;
        const int messages =
            MORU_EXPORT_OF(InitVNFromConfigFileWithReturnMsgs)(s_paths.config.c_str(), "", &size, &success, &codes);
        MORU_EXPORT_OF(Databank_ReleaseHandle)(messages);
        MORU_EXPORT_OF(Databank_ReleaseHandle)(codes);
        ASSERT_EQ(success, 1);
        MORU_EXPORT_OF(ListMoruDatabanks_Vanta)(reinterpret_cast<void*>(&IgnoreDatabank));
    }

    static void Run(void (*scenario)(const Paths&, Transcript&), Transcript& t, Kind kind, long failAt, bool persistent)
    {
        t.count = 0;
        t.checked = Transcript::kRoom;
        t.failed = false;
        t.message[0] = '\0';
        g_injection.reads = g_injection.sqliteAllocations = g_injection.cxxAllocations = 0;
        g_injection.failures = 0;
        g_injection.kind = kind;
        g_injection.failAt = failAt;
        g_injection.persistent = persistent;
        g_injection.armed = true;
        scenario(s_paths, t);
        g_injection.armed = false;
    }

    static long Events(Kind kind)
    {
        switch (kind) {
        case Kind::Read: return g_injection.reads;
        case Kind::SqliteAllocation: return g_injection.sqliteAllocations;
        default: return g_injection.cxxAllocations;
        }
    }

    // Every read is failed; of the allocations, which are many more, the first 20, the last 5 and
    // about a hundred evenly between, unless MORU_FAULTS_EVERY_POINT is set (a longer run).
    static long Stride(Kind kind, long points)
    {
        if (kind == Kind::Read || std::getenv("MORU_FAULTS_EVERY_POINT")) return 1;
        return std::max(1L, points / 100);
    }

    // Fails each point of the scenario in turn, once and for good; returns the number of points.
    // `connectFirst`: the scenario runs on a session connected once, before the sound run.
    static long FailEveryPoint(void (*scenario)(const Paths&, Transcript&), Kind kind, bool connectFirst)
    {
        static Transcript sound, run, after;
        if (connectFirst) Connect();
        Run(scenario, sound, kind, 0, false);
        EXPECT_FALSE(sound.failed) << "the scenario fails without a fault";
        const long points = Events(kind);
        EXPECT_GT(points, 0) << "the scenario meets no point to fail";
        const long stride = Stride(kind, points);
        for (long n = 1; n <= points; ++n) {
            if (n > 20 && n <= points - 5 && n % stride != 0) continue;
            for (bool persistent : {false, true}) {
                SCOPED_TRACE(::testing::Message() << "point " << n << " of " << points
                                                  << (persistent ? ", failing from then on" : ", failing once"));
                Run(scenario, run, kind, n, persistent);
                // A fault gives failure values, never a wrong answer delivered as right.
                EXPECT_TRUE(StartsLike(run, sound));
                if (!run.failed && run.checked == Transcript::kRoom) {
                    EXPECT_EQ(run.count, sound.count);
                }
                if (run.failed && run.message[0]) {
                    // A sentence of what happened, naming the database when it happened there; not
                    // the text of an exception type.
                    const std::string message = run.message;
                    EXPECT_EQ(message.find("std::"), std::string::npos) << message;
                    EXPECT_EQ(message.back(), '.') << message;
                    if (message.rfind("Database ", 0) == 0) {
                        EXPECT_EQ(message.rfind("Database 'SAMPLE' (", 0), 0u) << message;
                    }
                }
                // The fault has passed: the next call answers right again, on the same connection.
                Run(scenario, after, kind, 0, false);
                EXPECT_FALSE(after.failed);
                EXPECT_TRUE(StartsLike(after, sound));
                EXPECT_EQ(after.count, sound.count);
                EXPECT_EQ(g_injection.writes, 0);
                if (::testing::Test::HasFailure()) return points;
            }
        }
        return points;
    }

    void TearDown() override
    {
        EXPECT_EQ(g_injection.writes, 0) << "a file was written";
        EXPECT_EQ(FileBytes(s_paths.database), s_bytes) << "the database file changed";
        for (const auto& entry : fs::directory_iterator(s_paths.directory)) {
            const auto name = entry.path().filename().string();
            EXPECT_TRUE(name == "sample.db" || name == "databases.json") << "a file beside the database: " << name;
        }
    }

    static inline Paths s_paths;
    static inline std::string s_bytes;
};

TEST_F(FaultInjection, ReadErrorsInAListing)
{
    std::printf("%ld points\n", FailEveryPoint(Listing, Kind::Read, false));
}
TEST_F(FaultInjection, ReadErrorsInASearch) { std::printf("%ld points\n", FailEveryPoint(Search, Kind::Read, true)); }
TEST_F(FaultInjection, ReadErrorsInAnEnginePass)
{
    std::printf("%ld points\n", FailEveryPoint(EnginePass, Kind::Read, true));
}

TEST_F(FaultInjection, SqliteOutOfMemoryInAListing)
{
    std::printf("%ld points\n", FailEveryPoint(Listing, Kind::SqliteAllocation, false));
}
TEST_F(FaultInjection, SqliteOutOfMemoryInASearch)
{
    std::printf("%ld points\n", FailEveryPoint(Search, Kind::SqliteAllocation, true));
}
TEST_F(FaultInjection, SqliteOutOfMemoryInAnEnginePass)
{
    std::printf("%ld points\n", FailEveryPoint(EnginePass, Kind::SqliteAllocation, true));
}

TEST_F(FaultInjection, OutOfMemoryInAListing)
{
    std::printf("%ld points\n", FailEveryPoint(Listing, Kind::CxxAllocation, false));
}
TEST_F(FaultInjection, OutOfMemoryInASearch)
{
    std::printf("%ld points\n", FailEveryPoint(Search, Kind::CxxAllocation, true));
}
TEST_F(FaultInjection, OutOfMemoryInAnEnginePass)
{
    std::printf("%ld points\n", FailEveryPoint(EnginePass, Kind::CxxAllocation, true));
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!InstallBelowTheLibrary()) {
        std::fprintf(stderr, "cannot install the VFS and the allocator in SQLite\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
