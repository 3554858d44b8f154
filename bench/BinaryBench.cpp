// All binary parameters among 300 working compounds of the shared data bundle, fetched and read
// entry by entry through the library's C interface, beside one set-based SQL statement on a raw
// SQLite connection that returns the same rows.

#include "MoruDb.h"
#include "MoruIntegration.h"
#include "Schema.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define MORU_HAVE_CALLGRIND 1
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace moru;

const std::vector<std::string> kDatabanks = {"CHEMSEP_NRTL", "CHEMSEP_UNIQUAC", "CHEMSEP_WILSON",
                                             "CHEMSEP_PR",   "EPPR78_PRED",     "PHREEQC_GAS_KIJ"};
const std::vector<std::string> kModels = {"NRTL", "UNIQUAC", "WILSON", "PRKIJ"};
constexpr std::size_t kWorkingCount = 300;

struct Bundle {
    std::string DatabasePath, ConfigPath;
    std::vector<std::string> Working; // CAS numbers
};

int MORU_CALL IgnoreDatabank(const char*, const char*, const char*, const char*, const char*, const char*, int,
                             const char*, const char*, const char*, int, int, int)
{
    return 0;
}

const Bundle* GetBundle()
{
    static std::unique_ptr<Bundle> bundle = []() -> std::unique_ptr<Bundle> {
        const char* data = std::getenv("MORU_SHARED_DATA");
        if (!data || !std::filesystem::exists(std::filesystem::path(data) / "binary_params.tsv")) return nullptr;
        auto made = std::make_unique<Bundle>();
        auto directory = std::filesystem::temp_directory_path() / "moru-binary-bench";
        std::filesystem::create_directories(directory);
        made->DatabasePath = (directory / "bundle.db").string();
        made->ConfigPath = (directory / "databases.json").string();
        std::ofstream(made->ConfigPath) << R"({"databases": [{"alias": "BUNDLE", "path": "bundle.db"}]})";
        if (!dbtool::BuildDatabase(dbtool::ConvertBundle(data), made->DatabasePath).empty()) return nullptr;
        // The first compounds to appear in the binary parameters, in their order.
        std::ifstream rows(std::filesystem::path(data) / "binary_params.tsv");
        std::string line;
        std::getline(rows, line);
        std::set<std::string> seen;
        while (made->Working.size() < kWorkingCount && std::getline(rows, line)) {
            auto first = line.find('\t'), second = line.find('\t', first + 1), third = line.find('\t', second + 1);
            for (const auto& cas :
                 {line.substr(first + 1, second - first - 1), line.substr(second + 1, third - second - 1)}) {
                if (made->Working.size() < kWorkingCount && seen.insert(cas).second) made->Working.push_back(cas);
            }
        }
        InitializeFromConfigFile(made->ConfigPath.c_str(), "");
        constexpr MoruDatabankInfoCallback ignore = &IgnoreDatabank;
        ListMoruDatabanks_Vanta(reinterpret_cast<void*>(ignore));
        return made;
    }();
    return bundle.get();
}

// What a side returned, one line per value: first and second compound's positions, databank and
// property positions, and the parameter array bit for bit (absent numbers as the library's 1e35).
using Dump = std::set<std::string>;

void Note(Dump* dump, int c1, int c2, int bank, int property, const double* numbers, int count)
{
    if (!dump) return;
    std::string line = std::to_string(c1) + " " + std::to_string(c2) + " " + std::to_string(bank) + " " +
                       std::to_string(property) + ":";
    char number[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(number, sizeof number, " %a", numbers[i]);
        line += number;
    }
    dump->insert(std::move(line));
}

// Fetches every value and reads each entry with its numbers; returns the number of entries.
std::size_t ThroughTheLibrary(const Bundle& bundle, Dump* dump = nullptr)
{
    std::vector<const char*> working, banks, models;
    std::vector<std::string> references;
    working.reserve(bundle.Working.size());
    references.reserve(kDatabanks.size());
    banks.reserve(kDatabanks.size() + 1);
    models.reserve(kModels.size() + 1);
    for (const auto& cas : bundle.Working) working.push_back(cas.c_str());
    for (const auto& bank : kDatabanks) references.push_back("BUNDLE." + bank);
    for (const auto& reference : references) banks.push_back(reference.c_str());
    for (const auto& model : kModels) models.push_back(model.c_str());
    working.push_back(nullptr);
    banks.push_back(nullptr);
    models.push_back(nullptr);
    int type = 1, condensed = 0, handle = 0;
    if (!BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(working.data(), "CASRN", banks.data(),
                                                                     models.data(), &type, &condensed, &handle))
        return 0;
    std::size_t entries = 0;
    int c1, c2, c3, c4, bank, prop, size, regInfo;
    double values[64];
    double sum = 0;
    while (BinaryPropertyValueObjects_GetNextPropertyValueObject(handle, &c1, &c2, &c3, &c4, &bank, &prop, &size,
                                                                 &regInfo, values) == 1) {
        ++entries;
        sum += values[0];
        Note(dump, c1, c2, bank, prop, values, size);
    }
    benchmark::DoNotOptimize(sum);
    BinaryPropertyValueObjects_ReleaseHandle(handle);
    return entries;
}

// The raw side, the fastest we could write, in two plans, each with its statements prepared once
// and flat tables by id, each value's stored numbers arranged as the model's elements say (the
// parameter array the library returns). Seek: per databank and property that has values there (one
// probe), one statement that walks the index from the working compounds (a JSON set) and tests the
// second compound on the index entry. Scan: per databank and property, every value of the property
// through value_by_property, the compounds tested in C++.
struct Raw {
    sqlite3* Db = nullptr;
    sqlite3_stmt* Seek = nullptr;
    sqlite3_stmt* Scan = nullptr;
    sqlite3_stmt* Probe = nullptr;
    std::vector<int> PositionOf;                              // compound id -> first working position, -1
    std::string CompoundSet;                                  // JSON array of the working compound ids
    std::vector<std::pair<int, int>> Banks, Models;           // id, position
    std::vector<std::vector<common::BinaryElement>> Elements; // of each model, as Models

    explicit Raw(const Bundle& bundle)
    {
        sqlite3_open_v2(bundle.DatabasePath.c_str(), &Db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(Db, "SELECT min(compound_id) FROM identifier WHERE search_key = ?1 AND type = 'CASRN'", -1,
                           &select, nullptr);
        for (std::size_t i = 0; i < bundle.Working.size(); ++i) {
            sqlite3_bind_text(select, 1, bundle.Working[i].c_str(), -1, SQLITE_STATIC);
            if (sqlite3_step(select) == SQLITE_ROW && sqlite3_column_type(select, 0) != SQLITE_NULL) {
                const int id = sqlite3_column_int(select, 0);
                if (id >= static_cast<int>(PositionOf.size())) PositionOf.resize(static_cast<std::size_t>(id) + 1, -1);
                if (PositionOf[static_cast<std::size_t>(id)] < 0) {
                    PositionOf[static_cast<std::size_t>(id)] = static_cast<int>(i);
                    CompoundSet += (CompoundSet.empty() ? "[" : ",") + std::to_string(id);
                }
            }
            sqlite3_reset(select);
        }
        CompoundSet += CompoundSet.empty() ? "[]" : "]";
        sqlite3_finalize(select);
        auto ids = [&](const char* sql, const std::vector<std::string>& names, std::vector<std::pair<int, int>>& out) {
            sqlite3_prepare_v2(Db, sql, -1, &select, nullptr);
            for (std::size_t i = 0; i < names.size(); ++i) {
                sqlite3_bind_text(select, 1, names[i].c_str(), -1, SQLITE_STATIC);
                if (sqlite3_step(select) == SQLITE_ROW) out.emplace_back(sqlite3_column_int(select, 0), int(i));
                sqlite3_reset(select);
            }
            sqlite3_finalize(select);
        };
        ids("SELECT id FROM databank WHERE name = ?1", kDatabanks, Banks);
        ids("SELECT id FROM property WHERE name = ?1", kModels, Models);
        sqlite3_prepare_v2(
            Db, "SELECT label_ij, label_ji, symmetry FROM property_element WHERE property_id = ?1 ORDER BY position",
            -1, &select, nullptr);
        for (const auto& model : Models) {
            auto& elements = Elements.emplace_back();
            sqlite3_bind_int(select, 1, model.first);
            while (sqlite3_step(select) == SQLITE_ROW)
                elements.push_back(
                    {sqlite3_column_int(select, 0), sqlite3_column_int(select, 1), sqlite3_column_int(select, 2)});
            sqlite3_reset(select);
        }
        sqlite3_finalize(select);
        sqlite3_prepare_v2(Db, "SELECT 1 FROM value WHERE databank_id = ?1 AND property_id = ?2 LIMIT 1", -1, &Probe,
                           nullptr);
        sqlite3_prepare_v2(Db,
                           "SELECT compound1_id, compound2_id, labels, numbers FROM value WHERE databank_id = ?1 "
                           "AND compound1_id IN (SELECT value FROM json_each(?3)) AND property_id = ?2 "
                           "AND compound2_id IN (SELECT value FROM json_each(?3)) AND compound3_id IS NULL",
                           -1, &Seek, nullptr);
        sqlite3_prepare_v2(Db,
                           "SELECT compound1_id, compound2_id, labels, numbers FROM value "
                           "WHERE databank_id = ?1 AND property_id = ?2 AND compound2_id IS NOT NULL "
                           "AND compound3_id IS NULL",
                           -1, &Scan, nullptr);
    }
    ~Raw()
    {
        sqlite3_finalize(Seek);
        sqlite3_finalize(Scan);
        sqlite3_finalize(Probe);
        sqlite3_close(Db);
    }
    int Position(int id) const
    {
        return id >= 0 && id < static_cast<int>(PositionOf.size()) ? PositionOf[static_cast<std::size_t>(id)] : -1;
    }
    std::size_t Rows(bool scan, Dump* dump = nullptr)
    {
        sqlite3_stmt* select = scan ? Scan : Seek;
        std::size_t rows = 0;
        double sum = 0;
        std::vector<std::optional<double>> numbers, array;
        std::vector<int> labels;
        std::vector<double> written;
        // Every row is read whole, in the same transaction, as the library's fetch is.
        sqlite3_exec(Db, "BEGIN", nullptr, nullptr, nullptr);
        for (const auto& [bank, bankPosition] : Banks) {
            for (std::size_t m = 0; m < Models.size(); ++m) {
                const auto& [model, modelPosition] = Models[m];
                if (!scan) {
                    sqlite3_bind_int(Probe, 1, bank);
                    sqlite3_bind_int(Probe, 2, model);
                    const bool any = sqlite3_step(Probe) == SQLITE_ROW;
                    sqlite3_reset(Probe);
                    if (!any) continue;
                }
                sqlite3_bind_int(select, 1, bank);
                sqlite3_bind_int(select, 2, model);
                if (!scan) sqlite3_bind_text(select, 3, CompoundSet.c_str(), -1, SQLITE_STATIC);
                while (sqlite3_step(select) == SQLITE_ROW) {
                    const int c1 = Position(sqlite3_column_int(select, 0)),
                              c2 = Position(sqlite3_column_int(select, 1));
                    if (c1 < 0 || c2 < 0) continue;
                    ++rows;
                    numbers.clear();
                    labels.clear();
                    array.clear();
                    sqlite::DecodeNumbersInto(sqlite3_column_blob(select, 3), sqlite3_column_bytes(select, 3), numbers);
                    sqlite::DecodeLabelsInto(sqlite3_column_blob(select, 2), sqlite3_column_bytes(select, 2), labels);
                    common::AppendParameterArray(Elements[m], labels, numbers, false, false, array);
                    if (!array.empty() && array[0]) sum += *array[0];
                    if (dump) {
                        written.clear();
                        for (const auto& number : array) written.push_back(number.value_or(1e35));
                        Note(dump, c1, c2, bankPosition, modelPosition, written.data(),
                             static_cast<int>(written.size()));
                    }
                }
                sqlite3_reset(select);
            }
        }
        sqlite3_exec(Db, "COMMIT", nullptr, nullptr, nullptr);
        benchmark::DoNotOptimize(sum);
        return rows;
    }
};

void BinaryValuesOf300CompoundsLibrary(benchmark::State& state)
{
    const Bundle* bundle = GetBundle();
    if (!bundle) return state.SkipWithError("MORU_SHARED_DATA names no data bundle");
    std::size_t entries = 0;
    for (auto _ : state) entries = ThroughTheLibrary(*bundle);
    state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BinaryValuesOf300CompoundsLibrary)->Unit(benchmark::kMillisecond);

void BinaryValuesOf300CompoundsRawSeek(benchmark::State& state)
{
    const Bundle* bundle = GetBundle();
    if (!bundle) return state.SkipWithError("MORU_SHARED_DATA names no data bundle");
    Raw raw(*bundle);
    std::size_t rows = 0;
    for (auto _ : state) rows = raw.Rows(false);
    state.counters["entries"] = static_cast<double>(rows);
}
BENCHMARK(BinaryValuesOf300CompoundsRawSeek)->Unit(benchmark::kMillisecond);

void BinaryValuesOf300CompoundsRawScan(benchmark::State& state)
{
    const Bundle* bundle = GetBundle();
    if (!bundle) return state.SkipWithError("MORU_SHARED_DATA names no data bundle");
    Raw raw(*bundle);
    std::size_t rows = 0;
    for (auto _ : state) rows = raw.Rows(true);
    state.counters["entries"] = static_cast<double>(rows);
}
BENCHMARK(BinaryValuesOf300CompoundsRawScan)->Unit(benchmark::kMillisecond);

// Compares what the library and both raw plans return; status 1 on a difference.
int Check()
{
    const Bundle* bundle = GetBundle();
    if (!bundle) return 1;
    Dump library, seek, scan;
    ThroughTheLibrary(*bundle, &library);
    Raw raw(*bundle);
    raw.Rows(false, &seek);
    raw.Rows(true, &scan);
    const bool same = library == seek && library == scan;
    std::printf("library %zu, seek %zu, scan %zu values: %s\n", library.size(), seek.size(), scan.size(),
                same ? "identical" : "DIFFERENT");
    return same ? 0 : 1;
}

// One warm pass of each side, counted by callgrind when run under it (--instr-atstart=no): one
// dump per side, named "library" and "raw seek".
int Count()
{
#ifndef MORU_HAVE_CALLGRIND
    std::fprintf(stderr, "built without valgrind's callgrind.h: nothing to count\n");
    return 77;
#else
    const Bundle* bundle = GetBundle();
    if (!bundle) return 1;
    Raw raw(*bundle);
    ThroughTheLibrary(*bundle);
    raw.Rows(false);
    CALLGRIND_START_INSTRUMENTATION;
    CALLGRIND_ZERO_STATS;
    const std::size_t entries = ThroughTheLibrary(*bundle);
    CALLGRIND_DUMP_STATS_AT("library");
    const std::size_t rows = raw.Rows(false);
    CALLGRIND_DUMP_STATS_AT("raw seek");
    CALLGRIND_STOP_INSTRUMENTATION;
    std::printf("library %zu entries, raw seek %zu rows\n", entries, rows);
    return 0;
#endif
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--check") == 0) return Check();
    if (argc == 2 && std::strcmp(argv[1], "--count") == 0) return Count();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
