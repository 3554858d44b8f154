// The simulation engine's whole pass over the shared data bundle (load the lists, find the
// compounds and properties, fetch every scalar, vector and binary value and read each through the
// next-functions) for 500 to 4000 compounds and 27 properties, beside raw SQLite programs that
// read the same values from the same file: the first one set-based statement (kept for
// comparison with earlier figures, and slow), then the fastest we could write, with an index seek
// per databank and property (RawSeek) and with one scan of the value table (RawScan).
//
// Run plainly for Google Benchmark's timings (wall and CPU). Run with --check to compare every
// value's positions and databank between the library and both fast raw programs, and with
// --memory for the peak resident memory of the library and of each raw program, each measured in
// a process of its own (this program run again with --once).

#include "MoruDb.h"
#include "MoruIntegration.h"
#include "Schema.h"
#include "Workloads.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace {

using namespace moru;

const std::vector<std::string> kProperties = {
    "MW",         "TC",        "PC",       "VC",        "OMEGA",    "TB",    "TFP",   "TT",         "DHFORM",
    "DGFORM",     "S0IG",      "DIPOLE",   "HFUS",      "ZC",       "PT",    "VPANT", "VPWAGNER25", "RHOL_EQ105",
    "HVAP_EQ106", "CPL_EQ100", "CPIG_TRC", "MUL_EQ101", "KL_EQ100", "PRKIJ", "NRTL",  "UNIQUAC",    "WILSON"};

std::filesystem::path Directory() { return std::filesystem::temp_directory_path() / "moru-engine-bench"; }

struct Bundle {
    std::string DatabasePath, ConfigPath;
    std::vector<std::string> Databanks; // every databank, in stored order
    std::vector<std::string> Compounds; // CAS numbers: those of binary parameters first
};

int MORU_CALL IgnoreDatabank(const char*, const char*, const char*, const char*, const char*, const char*, int,
                             const char*, const char*, const char*, int, int, int)
{
    return 0;
}

std::vector<std::string> Column(const std::filesystem::path& file, const std::vector<int>& columns)
{
    std::vector<std::string> values;
    std::ifstream rows(file);
    std::string line;
    std::getline(rows, line);
    while (std::getline(rows, line)) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        for (int column : columns) {
            if (static_cast<std::size_t>(column) < fields.size() && !fields[static_cast<std::size_t>(column)].empty())
                values.push_back(fields[static_cast<std::size_t>(column)]);
        }
    }
    return values;
}

// Builds the database once (a child process finds it built) and connects the library when asked.
const Bundle* GetBundle(bool build, bool connect)
{
    static std::unique_ptr<Bundle> bundle = [&]() -> std::unique_ptr<Bundle> {
        const char* data = std::getenv("MORU_SHARED_DATA");
        if (!data || !std::filesystem::exists(std::filesystem::path(data) / "compounds.tsv")) return nullptr;
        auto made = std::make_unique<Bundle>();
        std::filesystem::create_directories(Directory());
        made->DatabasePath = (Directory() / "bundle.db").string();
        made->ConfigPath = (Directory() / "databases.json").string();
        if (build || !std::filesystem::exists(made->DatabasePath)) {
            std::ofstream(made->ConfigPath) << R"({"databases": [{"alias": "BUNDLE", "path": "bundle.db"}]})";
            if (!dbtool::BuildDatabase(dbtool::ConvertBundle(data), made->DatabasePath, true).empty()) return nullptr;
        }
        std::set<std::string> seen;
        for (const auto& list : {Column(std::filesystem::path(data) / "binary_params.tsv", {1, 2}),
                                 Column(std::filesystem::path(data) / "compounds.tsv", {0})}) {
            for (const auto& cas : list) {
                if (seen.insert(cas).second) made->Compounds.push_back(cas);
            }
        }
        sqlite3* db = nullptr;
        sqlite3_stmt* select = nullptr;
        sqlite3_open_v2(made->DatabasePath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_prepare_v2(db, "SELECT name FROM databank ORDER BY position", -1, &select, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW)
            made->Databanks.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(select, 0)));
        sqlite3_finalize(select);
        sqlite3_close(db);
        return made;
    }();
    static bool connected = false;
    if (bundle && connect && !connected) {
        InitializeFromConfigFile(bundle->ConfigPath.c_str(), "");
        constexpr MoruDatabankInfoCallback ignore = &IgnoreDatabank;
        ListMoruDatabanks_Vanta(reinterpret_cast<void*>(ignore));
        connected = true;
    }
    return bundle.get();
}

// The engine's lists of a pass over the first `compoundCount` compounds.
bench::EngineLists ListsOf(const Bundle& bundle, std::size_t compoundCount)
{
    bench::EngineLists lists;
    for (const auto& bank : bundle.Databanks) lists.databanks.push_back("BUNDLE." + bank);
    for (std::size_t i = 0; i < compoundCount && i < bundle.Compounds.size(); ++i)
        lists.compounds.push_back(bundle.Compounds[i]);
    lists.properties = kProperties;
    return lists;
}

std::size_t ThroughTheLibrary(const Bundle& bundle, std::size_t compoundCount, bench::Dump* dump = nullptr)
{
    return bench::LibraryEnginePass(ListsOf(bundle, compoundCount), dump);
}

std::size_t RawBest(const Bundle& bundle, std::size_t compoundCount, bool scan, bench::Dump* dump)
{
    return bench::RawEnginePass(bundle.DatabasePath, ListsOf(bundle, compoundCount),
                                scan ? bench::RawPlan::Scan : bench::RawPlan::Seek, dump);
}

// The raw side: one statement returns every numeric value of the properties among the compounds;
// the first databank in list order that holds a value of a compound (or pair) and property gives it.
std::size_t RawSqlite(const Bundle& bundle, std::size_t compoundCount)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(bundle.DatabasePath.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    const std::size_t n = std::min(compoundCount, bundle.Compounds.size());
    std::string compounds, properties;
    for (std::size_t i = 0; i < n; ++i) compounds += (i ? ",(?" : "(?") + std::to_string(i + 1) + ")";
    for (const auto& property : kProperties) properties += (properties.empty() ? "'" : ",'") + property + "'";
    const std::string sql =
        "WITH listed(cas) AS (VALUES " + compounds +
        "), "
        "found(id) AS (SELECT compound_id FROM identifier WHERE type = 'CASRN' AND value IN listed) "
        "SELECT d.position, v.compound1_id, v.compound2_id, v.property_id, v.labels, v.numbers "
        "FROM value v JOIN databank d ON d.id = v.databank_id JOIN property p ON p.id = v.property_id "
        "WHERE p.name IN (" +
        properties +
        ") AND v.kind = 1 AND v.compound3_id IS NULL "
        "AND v.compound1_id IN found AND (v.compound2_id IS NULL OR v.compound2_id IN found)";
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &select, nullptr);
    for (std::size_t i = 0; i < n; ++i)
        sqlite3_bind_text(select, static_cast<int>(i) + 1, bundle.Compounds[i].c_str(), -1, SQLITE_STATIC);
    struct Value {
        int databank;
        std::vector<std::optional<double>> numbers;
        std::vector<int> labels;
    };
    std::map<std::tuple<int, int, int>, Value> values;
    while (sqlite3_step(select) == SQLITE_ROW) {
        const int databank = sqlite3_column_int(select, 0);
        const std::tuple<int, int, int> key{sqlite3_column_int(select, 1), sqlite3_column_int(select, 2),
                                            sqlite3_column_int(select, 3)};
        auto known = values.find(key);
        if (known != values.end() && known->second.databank < databank) continue;
        Value value{databank, sqlite::DecodeNumbers(sqlite3_column_blob(select, 5), sqlite3_column_bytes(select, 5)),
                    sqlite::DecodeLabels(sqlite3_column_blob(select, 4), sqlite3_column_bytes(select, 4))};
        values.insert_or_assign(key, std::move(value));
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    double sum = 0;
    for (const auto& [key, value] : values) sum += value.numbers.empty() || !value.numbers[0] ? 0.0 : *value.numbers[0];
    benchmark::DoNotOptimize(sum);
    return values.size();
}

void EnginePassLibrary(benchmark::State& state)
{
    const Bundle* bundle = GetBundle(false, true);
    if (!bundle) return state.SkipWithError("MORU_SHARED_DATA names no data bundle");
    std::size_t values = 0;
    for (auto _ : state) values = ThroughTheLibrary(*bundle, static_cast<std::size_t>(state.range(0)));
    state.counters["values"] = static_cast<double>(values);
    state.counters["values/s"] =
        benchmark::Counter(static_cast<double>(values), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(EnginePassLibrary)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

void EnginePassRawSqlite(benchmark::State& state)
{
    const Bundle* bundle = GetBundle(false, false);
    if (!bundle) return state.SkipWithError("MORU_SHARED_DATA names no data bundle");
    std::size_t values = 0;
    for (auto _ : state) values = RawSqlite(*bundle, static_cast<std::size_t>(state.range(0)));
    state.counters["values"] = static_cast<double>(values);
    state.counters["values/s"] =
        benchmark::Counter(static_cast<double>(values), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(EnginePassRawSqlite)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

void EnginePassRawSeek(benchmark::State& state)
{
    const Bundle* bundle = GetBundle(false, false);
    if (!bundle) return state.SkipWithError("MORU_SHARED_DATA names no data bundle");
    std::size_t values = 0;
    for (auto _ : state) values = RawBest(*bundle, static_cast<std::size_t>(state.range(0)), false, nullptr);
    state.counters["values"] = static_cast<double>(values);
}
BENCHMARK(EnginePassRawSeek)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

void EnginePassRawScan(benchmark::State& state)
{
    const Bundle* bundle = GetBundle(false, false);
    if (!bundle) return state.SkipWithError("MORU_SHARED_DATA names no data bundle");
    std::size_t values = 0;
    for (auto _ : state) values = RawBest(*bundle, static_cast<std::size_t>(state.range(0)), true, nullptr);
    state.counters["values"] = static_cast<double>(values);
}
BENCHMARK(EnginePassRawScan)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// One pass of one side in this process ("library", the raw plans "seek" and "scan", or the
// set-based "set"): prints values, seconds and the peak resident kilobytes.
int Once(const std::string& side, std::size_t compounds)
{
    const Bundle* bundle = GetBundle(false, side == "library");
    if (!bundle) return 1;
    const auto start = std::chrono::steady_clock::now();
    std::size_t values = 0;
    if (side == "library") values = ThroughTheLibrary(*bundle, compounds);
    else if (side == "seek" || side == "scan") values = RawBest(*bundle, compounds, side == "scan", nullptr);
    else values = RawSqlite(*bundle, compounds);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu %.6f %ld\n", values, seconds, PeakKilobytes());
    return 0;
}

// Runs each side for each size in a process of its own and prints a table.
int Memory(const char* program)
{
    if (!GetBundle(true, false)) {
        std::fprintf(stderr, "MORU_SHARED_DATA names no data bundle\n");
        return 1;
    }
    std::printf("%-9s %-8s %9s %10s %12s %12s\n", "compounds", "side", "values", "seconds", "values/s", "peak KiB");
    for (int compounds : {500, 1000, 2000, 4000}) {
        for (const char* side : {"library", "seek", "scan", "set"}) {
            const std::string command =
                std::string("\"") + program + "\" --once " + side + " " + std::to_string(compounds);
            FILE* child = popen(command.c_str(), "r");
            std::size_t values = 0;
            double seconds = 0;
            long peak = 0;
            if (!child || std::fscanf(child, "%zu %lf %ld", &values, &seconds, &peak) != 3) return 1;
            pclose(child);
            std::printf("%-9d %-8s %9zu %10.4f %12.0f %12ld\n", compounds, side, values, seconds,
                        seconds > 0 ? static_cast<double>(values) / seconds : 0.0, peak);
        }
    }
    return 0;
}

} // namespace

// Compares what the library and both raw plans return for each size; status 1 on a difference.
int Check()
{
    const Bundle* bundle = GetBundle(true, true);
    if (!bundle) return 1;
    int status = 0;
    for (std::size_t compounds : {500, 1000, 2000, 4000}) {
        bench::Dump library, seek, scan;
        ThroughTheLibrary(*bundle, compounds, &library);
        RawBest(*bundle, compounds, false, &seek);
        RawBest(*bundle, compounds, true, &scan);
        const bool same = library == seek && library == scan;
        std::printf("%zu compounds: library %zu, seek %zu, scan %zu values: %s\n", compounds, library.size(),
                    seek.size(), scan.size(), same ? "identical" : "DIFFERENT");
        if (!same) status = 1;
    }
    return status;
}

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--check") == 0) return Check();
    if (argc == 4 && std::strcmp(argv[1], "--once") == 0) return Once(argv[2], std::strtoul(argv[3], nullptr, 10));
    if (argc == 2 && std::strcmp(argv[1], "--memory") == 0) return Memory(argv[0]);
    GetBundle(true, false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
