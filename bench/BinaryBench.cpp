// All binary parameters among 300 working compounds of the shared data bundle, fetched and read
// entry by entry through the library's C interface, beside one set-based SQL statement on a raw
// SQLite connection that returns the same rows.

#include "MoruDb.h"
#include "MoruIntegration.h"
#include "Schema.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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
            for (auto cas : {line.substr(first + 1, second - first - 1), line.substr(second + 1, third - second - 1)}) {
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

// Fetches every value and reads each entry with its numbers; returns the number of entries.
std::size_t ThroughTheLibrary(const Bundle& bundle)
{
    std::vector<const char*> working, banks, models;
    std::vector<std::string> references;
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
    }
    benchmark::DoNotOptimize(sum);
    BinaryPropertyValueObjects_ReleaseHandle(handle);
    return entries;
}

// The raw side: one statement over the working compounds, the databanks and the properties,
// decoding the stored numbers of each row.
struct Raw {
    sqlite3* Db = nullptr;
    sqlite3_stmt* Select = nullptr;

    explicit Raw(const Bundle& bundle)
    {
        sqlite3_open_v2(bundle.DatabasePath.c_str(), &Db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
        std::string working, banks, models;
        for (std::size_t i = 0; i < bundle.Working.size(); ++i)
            working += (i ? ",(?" : "(?") + std::to_string(i + 1) + ")";
        for (const auto& bank : kDatabanks) banks += (banks.empty() ? "'" : ",'") + bank + "'";
        for (const auto& model : kModels) models += (models.empty() ? "'" : ",'") + model + "'";
        const std::string sql =
            "WITH working(cas) AS (VALUES " + working +
            "), "
            "ids(id) AS (SELECT compound_id FROM identifier WHERE type = 'CASRN' AND value IN (SELECT cas FROM working)) "
            "SELECT v.compound1_id, v.compound2_id, v.databank_id, v.property_id, v.labels, v.numbers "
            "FROM value v JOIN databank d ON d.id = v.databank_id JOIN property p ON p.id = v.property_id "
            "WHERE d.name IN (" +
            banks + ") AND p.name IN (" + models +
            ") "
            "AND v.compound1_id IN ids AND v.compound2_id IN ids";
        sqlite3_prepare_v2(Db, sql.c_str(), -1, &Select, nullptr);
        for (std::size_t i = 0; i < bundle.Working.size(); ++i)
            sqlite3_bind_text(Select, static_cast<int>(i) + 1, bundle.Working[i].c_str(), -1, SQLITE_STATIC);
    }
    ~Raw()
    {
        sqlite3_finalize(Select);
        sqlite3_close(Db);
    }
    std::size_t Rows()
    {
        sqlite3_reset(Select);
        std::size_t rows = 0;
        double sum = 0;
        while (sqlite3_step(Select) == SQLITE_ROW) {
            ++rows;
            auto numbers = sqlite::DecodeNumbers(sqlite3_column_blob(Select, 5), sqlite3_column_bytes(Select, 5));
            auto labels = sqlite::DecodeLabels(sqlite3_column_blob(Select, 4), sqlite3_column_bytes(Select, 4));
            if (!numbers.empty() && numbers[0]) sum += *numbers[0];
            benchmark::DoNotOptimize(labels);
        }
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
    Raw raw(*bundle);
    if (entries != raw.Rows()) state.SkipWithError("the library and the raw statement disagree");
}
BENCHMARK(BinaryValuesOf300CompoundsLibrary)->Unit(benchmark::kMillisecond);

void BinaryValuesOf300CompoundsRawSqlite(benchmark::State& state)
{
    const Bundle* bundle = GetBundle();
    if (!bundle) return state.SkipWithError("MORU_SHARED_DATA names no data bundle");
    Raw raw(*bundle);
    std::size_t rows = 0;
    for (auto _ : state) rows = raw.Rows();
    state.counters["entries"] = static_cast<double>(rows);
}
BENCHMARK(BinaryValuesOf300CompoundsRawSqlite)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
