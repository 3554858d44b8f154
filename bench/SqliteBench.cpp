// Building the shared data bundle into a database, and point lookups in it through the service
// beside the raw SQLite statements that answer the same question.

#include "MoruDb.h"
#include "MoruIntegration.h"
#include "Schema.h"
#include "Service.h"
#include "Workloads.h"
#include "platform/Text.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define MORU_HAVE_CALLGRIND 1
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using namespace moru;

struct Bundle {
    std::string DatabasePath;
    std::string ConfigPath;
    double BuildSeconds = 0;
    std::vector<std::pair<int, std::string>> Names; // compound index and name, of one databank
    std::vector<std::string> CasNumbers;
};

const Bundle* GetBundle()
{
    static std::unique_ptr<Bundle> bundle = [] {
        const char* data = std::getenv("MORU_SHARED_DATA");
        if (!data || !std::filesystem::exists(std::filesystem::path(data) / "compounds.tsv"))
            return std::unique_ptr<Bundle>();
        auto made = std::make_unique<Bundle>();
        auto directory = std::filesystem::temp_directory_path() / "moru-bench";
        std::filesystem::create_directories(directory);
        made->DatabasePath = (directory / "bundle.db").string();
        made->ConfigPath = (directory / "databases.json").string();
        std::ofstream(made->ConfigPath) << R"({"databases": [{"alias": "BUNDLE", "path": "bundle.db"}]})";
        auto start = std::chrono::steady_clock::now();
        auto errors = dbtool::BuildDatabase(dbtool::ConvertBundle(data), made->DatabasePath);
        made->BuildSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!errors.empty()) return std::unique_ptr<Bundle>();
        return made;
    }();
    return bundle.get();
}

constexpr const char* Databank = "IDENT_PUBCHEM_SMALL";

// The service side: the bundle connected through a configuration, and a group of one databank.
struct Service {
    sqlite::SqliteDatabaseCollection Collection{std::make_shared<service::DatabankCollection>()};
    service::DatabasePtr Database;
    service::DatabankCollection Group;
    std::shared_ptr<service::ICompoundManager> Compounds;

    explicit Service(const Bundle& bundle)
    {
        std::ifstream config(bundle.ConfigPath);
        Collection.InitializeFromConfigurationFile(&config, bundle.ConfigPath, "");
        Database = Collection.Find("BUNDLE");
        auto databanks = Database->EnumerateDatabanks();
        for (const auto& databank : databanks->Items()) {
            if (databank->Name() == Databank) Group.Add(databank);
        }
        Compounds = Database->CompoundManager();
    }
};

// The raw side: the same statements on a connection of its own.
struct Raw : bench::RawSearch {
    explicit Raw(const Bundle& bundle) : bench::RawSearch(bundle.DatabasePath, Databank) {}
};

const Bundle* Prepare(benchmark::State& state)
{
    const Bundle* bundle = GetBundle();
    if (!bundle) {
        state.SkipWithError("MORU_SHARED_DATA names no data bundle");
        return nullptr;
    }
    auto& names = const_cast<Bundle*>(bundle)->Names;
    if (names.empty()) {
        Service service(*bundle);
        auto held = service.Group[0]->GetIdentifiersOfCompoundsWithData();
        for (std::size_t i = 0; i < held->size() && names.size() < 256; i += 7)
            names.emplace_back((*held)[i].first, *(*held)[i].second.Name);
        for (const auto& [id, name] : names) {
            auto cas = service.Compounds->GetCompoundIdentifier(std::to_string(id), "CompoundIndex", "CASRN");
            const_cast<Bundle*>(bundle)->CasNumbers.push_back(cas->ValueList->front());
        }
    }
    return bundle;
}

void BuildBundle(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    for (auto _ : state) {
        if (bundle) state.SetIterationTime(bundle->BuildSeconds);
    }
    if (bundle) state.counters["seconds"] = bundle->BuildSeconds;
}
BENCHMARK(BuildBundle)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void FindByNameService(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    if (!bundle) return;
    Service service(*bundle);
    std::size_t i = 0;
    for (auto _ : state) {
        auto hits =
            service.Compounds->FindForMM(service.Group, bundle->Names[i++ % bundle->Names.size()].second, "NAME", "");
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(FindByNameService);

void FindByNameRawSqlite(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    if (!bundle) return;
    Raw raw(*bundle);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(raw.Search(bundle->Names[i++ % bundle->Names.size()].second, "NAME"));
}
BENCHMARK(FindByNameRawSqlite);

void FindByCasService(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    if (!bundle) return;
    Service service(*bundle);
    std::size_t i = 0;
    for (auto _ : state) {
        auto hits = service.Compounds->FindForMM(service.Group, bundle->CasNumbers[i++ % bundle->CasNumbers.size()],
                                                 "CASRN", "");
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(FindByCasService);

void FindByCasRawSqlite(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    if (!bundle) return;
    Raw raw(*bundle);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(raw.Search(bundle->CasNumbers[i++ % bundle->CasNumbers.size()], "CASRN"));
}
BENCHMARK(FindByCasRawSqlite);

void NameByCompoundIndexService(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    if (!bundle) return;
    Service service(*bundle);
    std::size_t i = 0;
    for (auto _ : state) {
        auto name = service.Compounds->GetCompoundIdentifier(
            std::to_string(bundle->Names[i++ % bundle->Names.size()].first), "CompoundIndex", "NAME");
        benchmark::DoNotOptimize(name);
    }
}
BENCHMARK(NameByCompoundIndexService);

void NameByCompoundIndexRawSqlite(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    if (!bundle) return;
    Raw raw(*bundle);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(raw.NameOf(bundle->Names[i++ % bundle->Names.size()].first));
}
BENCHMARK(NameByCompoundIndexRawSqlite);

// The library through its exports, as a host searches: the databank list resolved, the service
// asked, the first hit kept behind a handle, its details copied into host buffers, the handle
// released. Compared with the raw statements above, which answer the same question.
int MORU_CALL IgnoreDatabank(const char*, const char*, const char*, const char*, const char*, const char*, int,
                             const char*, const char*, const char*, int, int, int)
{
    return 0;
}

bool ConnectLibrary(const Bundle& bundle)
{
    static const bool connected = [&] {
        const int ok = InitializeVNFromConfigFile(bundle.ConfigPath.c_str(), "");
        ListMoruDatabanks_Vanta(reinterpret_cast<void*>(&IgnoreDatabank));
        return ok == 1;
    }();
    return connected;
}

void FindWithDetails(benchmark::State& state, const std::vector<std::string>& texts)
{
    const std::string source = std::string("BUNDLE.") + Databank;
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(bench::LibrarySearch(source.c_str(), texts[i++ % texts.size()]));
}

void FindByNameLibrary(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    if (!bundle || !ConnectLibrary(*bundle)) return;
    std::vector<std::string> names;
    for (const auto& [id, name] : bundle->Names) names.push_back(name);
    FindWithDetails(state, names);
}
BENCHMARK(FindByNameLibrary);

void FindByNameAnyTypeRawSqlite(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    if (!bundle) return;
    Raw raw(*bundle);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(raw.Search(bundle->Names[i++ % bundle->Names.size()].second, ""));
}
BENCHMARK(FindByNameAnyTypeRawSqlite);

// The same raw search with a lock of the file for each statement, as SQLite does outside a
// transaction: the slower of the two raw plans (the other shares one read transaction).
void FindByNameAnyTypeRawSqliteLockPerStatement(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    if (!bundle) return;
    bench::RawSearch raw(bundle->DatabasePath, Databank, false);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(raw.Search(bundle->Names[i++ % bundle->Names.size()].second, ""));
}
BENCHMARK(FindByNameAnyTypeRawSqliteLockPerStatement);

void FindByCasLibrary(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    if (!bundle || !ConnectLibrary(*bundle)) return;
    FindWithDetails(state, bundle->CasNumbers);
}
BENCHMARK(FindByCasLibrary);

void FindByCasAnyTypeRawSqlite(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    if (!bundle) return;
    Raw raw(*bundle);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(raw.Search(bundle->CasNumbers[i++ % bundle->CasNumbers.size()], ""));
}
BENCHMARK(FindByCasAnyTypeRawSqlite);

// Connecting: the library's initialisation and full listing through its exports, beside opening
// the file raw and preparing the search statement, on databases of 500, 2,000 and all compounds of
// the bundle (copies of the bundle with the other compounds deleted).
int MORU_CALL IgnoreDatabankInfo(const char*, const char*, const char*, const char*, const char*, const char*, int,
                                 const char*, const char*, const char*, int, int, int)
{
    return 0;
}

int MORU_CALL IgnoreBinaryParameter(const char*, const char*, const char*, const char*, const char*) { return 0; }

// A copy of the bundle holding its first `compounds` compounds (all for 0), and its configuration.
const std::string& ConfigWithCompounds(const Bundle& bundle, int compounds)
{
    static std::map<int, std::string> configs;
    auto& config = configs[compounds];
    if (!config.empty()) return config;
    if (compounds == 0) return config = bundle.ConfigPath;
    const auto directory =
        std::filesystem::path(bundle.DatabasePath).parent_path() / ("size-" + std::to_string(compounds));
    std::filesystem::create_directories(directory);
    const auto database = directory / "bundle.db";
    std::filesystem::copy_file(bundle.DatabasePath, database, std::filesystem::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    sqlite3_open(database.string().c_str(), &db);
    const std::string keep = "DELETE FROM compound WHERE position >= " + std::to_string(compounds) + ";";
    const std::string cleanup = keep +
                                "DELETE FROM identifier WHERE compound_id NOT IN (SELECT id FROM compound);"
                                "DELETE FROM structure WHERE compound_id NOT IN (SELECT id FROM compound);"
                                "DELETE FROM compound_databank WHERE compound_id NOT IN (SELECT id FROM compound);"
                                "DELETE FROM value WHERE compound1_id NOT IN (SELECT id FROM compound) "
                                "OR (compound2_id IS NOT NULL AND compound2_id NOT IN (SELECT id FROM compound));"
                                "VACUUM;";
    sqlite3_exec(db, cleanup.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    std::ofstream((directory / "databases.json").string())
        << R"({"databases": [{"alias": "BUNDLE", "path": "bundle.db"}]})";
    return config = (directory / "databases.json").string();
}

void ConnectAndList(const std::string& config)
{
    if (InitializeVNFromConfigFile(config.c_str(), "") != 1) std::fprintf(stderr, "the database did not connect\n");
    ListMoruDatabanks(reinterpret_cast<void*>(&IgnoreDatabankInfo), nullptr,
                      reinterpret_cast<void*>(&IgnoreBinaryParameter));
}

void OpenAndPrepare(const std::string& database)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_stmt* find = nullptr;
    sqlite3_prepare_v2(db, sqlite::sql::FindCompoundsByKey, -1, &find, nullptr);
    benchmark::DoNotOptimize(find);
    sqlite3_finalize(find);
    sqlite3_close(db);
}

void ConnectAndListLibrary(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    if (!bundle) return;
    const std::string& config = ConfigWithCompounds(*bundle, static_cast<int>(state.range(0)));
    for (auto _ : state) ConnectAndList(config);
    state.counters["bytes"] =
        static_cast<double>(std::filesystem::file_size(std::filesystem::path(config).parent_path() / "bundle.db"));
}
BENCHMARK(ConnectAndListLibrary)->Arg(500)->Arg(2000)->Arg(0)->Unit(benchmark::kMicrosecond);

void OpenAndPrepareRawSqlite(benchmark::State& state)
{
    const Bundle* bundle = Prepare(state);
    if (!bundle) return;
    const std::string& config = ConfigWithCompounds(*bundle, static_cast<int>(state.range(0)));
    const std::string database = (std::filesystem::path(config).parent_path() / "bundle.db").string();
    for (auto _ : state) OpenAndPrepare(database);
}
BENCHMARK(OpenAndPrepareRawSqlite)->Arg(500)->Arg(2000)->Arg(0)->Unit(benchmark::kMicrosecond);

// Ten warm rounds of connecting and listing the whole bundle, then of the raw open and prepare,
// counted by callgrind when run under it (--instr-atstart=no): one dump per side, named "library
// connect" and "raw open".
int Count()
{
#ifndef MORU_HAVE_CALLGRIND
    std::fprintf(stderr, "built without valgrind's callgrind.h: nothing to count\n");
    return 77;
#else
    const Bundle* bundle = GetBundle();
    if (!bundle) return 1;
    constexpr int kRounds = 10;
    ConnectAndList(bundle->ConfigPath);
    OpenAndPrepare(bundle->DatabasePath);
    CALLGRIND_START_INSTRUMENTATION;
    CALLGRIND_ZERO_STATS;
    for (int round = 0; round < kRounds; ++round) ConnectAndList(bundle->ConfigPath);
    CALLGRIND_DUMP_STATS_AT("library connect");
    for (int round = 0; round < kRounds; ++round) OpenAndPrepare(bundle->DatabasePath);
    CALLGRIND_DUMP_STATS_AT("raw open");
    CALLGRIND_STOP_INSTRUMENTATION;
    std::printf("%d rounds each\n", kRounds);
    return 0;
#endif
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--count") == 0) return Count();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
