// A guard on the library's speed that a busy machine cannot fool: it counts the instructions
// (callgrind) of a batch of searches and of small engine passes on the sample database, through
// the library and through the fastest raw SQLite program for the same answer, and fails when the
// library needs more than a set multiple of the raw program's instructions.
//
//   moru_speed_guard DATABASE                   runs itself under callgrind and judges (status 0
//                                               pass, 1 fail, 77 skipped: no valgrind)
//   moru_speed_guard --measure CONFIG DATABASE  the measured run itself, one callgrind dump a phase
//
// The library connects the sample under several aliases, so that its catalogue holds about as
// many databanks as a real installation's and a search that walked it would show.
// Each side runs once before counting starts: the first search of a connection reads what is
// cached from then on (identifier types, the catalogue), which a host pays once, not per search.

#include "MoruIntegration.h"
#include "Workloads.h"

#include <sqlite3.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define MORU_HAVE_CALLGRIND 1
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace moru::bench;

constexpr const char* kSearchBank = "PURE";
constexpr int kSearchRounds = 4;
constexpr int kEnginePasses = 20;
constexpr int kAliases = 15;

// The highest library/raw ratios of instructions that pass, set a little above what the library
// achieves, so that a change that makes either path measurably dearer fails here.
struct Limit {
    const char* phase;
    double ratio;
};
constexpr Limit kLimits[] = {{"search", 1.43}, {"engine", 0.76}};

struct Sample {
    std::string databasePath, bankReference;
    std::vector<std::string> searchTexts; // names and CAS numbers of compounds of the search databank
    EngineLists engine;
};

std::vector<std::string> Texts(sqlite3* db, const char* sql)
{
    std::vector<std::string> texts;
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &select, nullptr);
    while (sqlite3_step(select) == SQLITE_ROW)
        texts.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(select, 0)));
    sqlite3_finalize(select);
    return texts;
}

bool ReadSample(const std::string& databasePath, Sample& sample)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(databasePath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    sample.databasePath = databasePath;
    sample.searchTexts = Texts(db, "SELECT i.value FROM identifier i "
                                   "JOIN compound_databank c ON c.compound_id = i.compound_id "
                                   "JOIN databank d ON d.id = c.databank_id "
                                   "WHERE d.name = 'PURE' AND i.type IN ('NAME', 'CASRN') "
                                   "ORDER BY i.compound_id, i.type, i.position");
    for (const auto& bank : Texts(db, "SELECT name FROM databank ORDER BY position"))
        sample.engine.databanks.push_back("SAMPLE." + bank);
    sample.engine.compounds = Texts(db, "SELECT value FROM identifier WHERE type = 'CASRN' ORDER BY compound_id");
    sample.engine.properties = Texts(db, "SELECT name FROM property WHERE data_type = 1 ORDER BY id");
    sqlite3_close(db);
    sample.bankReference = std::string("SAMPLE.") + kSearchBank;
    return !sample.searchTexts.empty() && !sample.engine.compounds.empty();
}

int MORU_CALL IgnoreDatabank(const char*, const char*, const char*, const char*, const char*, const char*, int,
                             const char*, const char*, const char*, int, int, int)
{
    return 0;
}

// Both sides must give the same answer, or the counts compare nothing.
bool SameAnswers(const Sample& sample, RawSearch& raw)
{
    bool same = true;
    for (const auto& text : sample.searchTexts) {
        int rawHit = 0;
        raw.Search(text, "", &rawHit);
        const int libraryHit = LibrarySearch(sample.bankReference.c_str(), text);
        if (rawHit != libraryHit) {
            std::fprintf(stderr, "search %s: library found %d, raw %d\n", text.c_str(), libraryHit, rawHit);
            same = false;
        }
    }
    Dump library, seek, scan;
    LibraryEnginePass(sample.engine, &library);
    RawEnginePass(sample.databasePath, sample.engine, RawPlan::Seek, &seek);
    RawEnginePass(sample.databasePath, sample.engine, RawPlan::Scan, &scan);
    if (library.empty() || library != seek || library != scan) {
        std::fprintf(stderr, "engine pass: library %zu values, raw seek %zu, raw scan %zu, not the same\n",
                     library.size(), seek.size(), scan.size());
        same = false;
    }
    return same;
}

int Measure(const std::string& config, const std::string& databasePath)
{
#ifndef MORU_HAVE_CALLGRIND
    (void)config;
    (void)databasePath;
    std::fprintf(stderr, "built without valgrind's callgrind.h: nothing to count\n");
    return 77;
#else
    Sample sample;
    if (!ReadSample(databasePath, sample)) {
        std::fprintf(stderr, "%s: not a sample database\n", databasePath.c_str());
        return 2;
    }
    if (InitializeVNFromConfigFile(config.c_str(), "") != 1) {
        std::fprintf(stderr, "%s did not connect\n", config.c_str());
        return 2;
    }
    ListMoruDatabanks_Vanta(reinterpret_cast<void*>(&IgnoreDatabank));
    RawSearch raw(databasePath, kSearchBank);
    if (!SameAnswers(sample, raw)) return 1;

    CALLGRIND_START_INSTRUMENTATION;
    CALLGRIND_ZERO_STATS;
    for (int round = 0; round < kSearchRounds; ++round) {
        for (const auto& text : sample.searchTexts) LibrarySearch(sample.bankReference.c_str(), text);
    }
    CALLGRIND_DUMP_STATS_AT("library search");
    for (int round = 0; round < kSearchRounds; ++round) {
        for (const auto& text : sample.searchTexts) raw.Search(text, "");
    }
    CALLGRIND_DUMP_STATS_AT("raw search");
    for (int pass = 0; pass < kEnginePasses; ++pass) LibraryEnginePass(sample.engine);
    CALLGRIND_DUMP_STATS_AT("library engine");
    for (int pass = 0; pass < kEnginePasses; ++pass) RawEnginePass(sample.databasePath, sample.engine, RawPlan::Seek);
    CALLGRIND_DUMP_STATS_AT("raw engine seek");
    for (int pass = 0; pass < kEnginePasses; ++pass) RawEnginePass(sample.databasePath, sample.engine, RawPlan::Scan);
    CALLGRIND_DUMP_STATS_AT("raw engine scan");
    CALLGRIND_STOP_INSTRUMENTATION;
    return 0;
#endif
}

// Instructions of each dump that callgrind wrote, by the name the measured run gave it.
std::map<std::string, double> ReadDumps(const std::filesystem::path& directory)
{
    std::map<std::string, double> counts;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        std::ifstream dump(entry.path());
        std::string line, phase;
        double instructions = -1;
        while (std::getline(dump, line)) {
            constexpr std::string_view trigger = "desc: Trigger: Client Request: ";
            if (line.rfind(trigger, 0) == 0) phase = line.substr(trigger.size());
            else if (line.rfind("totals: ", 0) == 0 || line.rfind("summary: ", 0) == 0)
                instructions = std::strtod(line.c_str() + line.find(' ') + 1, nullptr);
        }
        if (!phase.empty() && instructions >= 0) counts[phase] = instructions;
    }
    return counts;
}

int Guard(const char* self, const std::string& databasePath)
{
    if (std::system("valgrind --version >/dev/null 2>&1") != 0) {
        std::printf("valgrind is not installed: the instruction counts are skipped\n");
        return 77;
    }
    const auto directory = std::filesystem::temp_directory_path() / ("moru-speed-guard-" + std::to_string(getpid()));
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    const std::string config = (directory / "databases.json").string();
    {
        std::ofstream file(config);
        file << "{\"databases\": [";
        for (int alias = 0; alias < kAliases; ++alias) {
            file << (alias ? ", " : "") << "{\"alias\": \"" << (alias ? "SAMPLE" + std::to_string(alias) : "SAMPLE")
                 << "\", \"path\": \"" << std::filesystem::absolute(databasePath).generic_string() << "\"}";
        }
        file << "]}\n";
    }
    const std::string command = "valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file=\"" +
                                (directory / "callgrind.out").string() + "\" \"" + self + "\" --measure \"" + config +
                                "\" \"" + databasePath + "\" 2>\"" + (directory / "valgrind.log").string() + "\"";
    const int status = std::system(command.c_str());
    const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (exitCode != 0) {
        std::ifstream log(directory / "valgrind.log");
        std::printf("the measured run ended with status %d:\n%s\n", exitCode,
                    std::string(std::istreambuf_iterator<char>(log), {}).c_str());
        std::filesystem::remove_all(directory);
        return exitCode == 77 ? 77 : 1;
    }
    auto counts = ReadDumps(directory);
    std::filesystem::remove_all(directory);

    auto count = [&](const std::string& phase) {
        const auto found = counts.find(phase);
        return found == counts.end() ? 0.0 : found->second;
    };
    Sample sample;
    ReadSample(databasePath, sample);
    const double searches = static_cast<double>(kSearchRounds * sample.searchTexts.size());
    const double rawEngine = std::min(count("raw engine seek"), count("raw engine scan"));
    struct Row {
        const char* phase;
        double library, raw, per;
    };
    const Row rows[] = {{"search", count("library search"), count("raw search"), searches},
                        {"engine", count("library engine"), rawEngine, kEnginePasses}};
    std::printf("%zu searches of %zu texts; %d engine passes of %zu compounds, %zu properties, %zu databanks\n",
                kSearchRounds * sample.searchTexts.size(), sample.searchTexts.size(), kEnginePasses,
                sample.engine.compounds.size(), sample.engine.properties.size(), sample.engine.databanks.size());
    int result = 0;
    std::printf("%-8s %14s %14s %8s %8s\n", "work", "library/item", "raw/item", "ratio", "limit");
    for (const Row& row : rows) {
        double limit = 0;
        for (const Limit& known : kLimits) {
            if (std::strcmp(known.phase, row.phase) == 0) limit = known.ratio;
        }
        if (row.library <= 0 || row.raw <= 0) {
            std::printf("%-8s no count\n", row.phase);
            result = 1;
            continue;
        }
        const double ratio = row.library / row.raw;
        std::printf("%-8s %14.0f %14.0f %8.2f %8.2f%s\n", row.phase, row.library / row.per, row.raw / row.per, ratio,
                    limit, ratio > limit ? "  TOO SLOW" : "");
        if (ratio > limit) result = 1;
    }
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--measure") == 0) return Measure(argv[2], argv[3]);
    if (argc == 2) return Guard(argv[0], argv[1]);
    std::fprintf(stderr, "usage: moru_speed_guard DATABASE | --measure CONFIG DATABASE\n");
    return 2;
}
