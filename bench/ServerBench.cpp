// The server backend beside the SQLite one on the shared data bundle, both connected at once
// through the library's exports: searches, binary value sets and the engine's whole pass at 500 to
// 4,000 compounds. The bundle is built into a temporary file and pushed into a throwaway server of
// the bench's own (scripts/postgres, a Unix socket), which the bench stops at its end. Each
// workload runs in alternating rounds, file then server; the medians of wall time, of this
// process's CPU time and of the server's CPU time (its processes, from /proc) are printed, once
// both sides were found to give the same answers.
//   moru_server_bench [ROUNDS]     (MORU_SHARED_DATA names the bundle)

#include "MoruDb.h"
#include "MoruIntegration.h"
#include "Push.h"
#include "Workloads.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace moru;

const std::filesystem::path kDirectory = std::filesystem::temp_directory_path() / "moru-server-bench";
const std::string kServerDir = (kDirectory / "server").string();

const std::vector<std::string> kProperties = {
    "MW",         "TC",        "PC",       "VC",        "OMEGA",    "TB",    "TFP",   "TT",         "DHFORM",
    "DGFORM",     "S0IG",      "DIPOLE",   "HFUS",      "ZC",       "PT",    "VPANT", "VPWAGNER25", "RHOL_EQ105",
    "HVAP_EQ106", "CPL_EQ100", "CPIG_TRC", "MUL_EQ101", "KL_EQ100", "PRKIJ", "NRTL",  "UNIQUAC",    "WILSON"};
const std::vector<std::string> kBinaryDatabanks = {"CHEMSEP_NRTL", "CHEMSEP_UNIQUAC", "CHEMSEP_WILSON",
                                                   "CHEMSEP_PR",   "EPPR78_PRED",     "PHREEQC_GAS_KIJ"};
const std::vector<std::string> kModels = {"NRTL", "UNIQUAC", "WILSON", "PRKIJ"};
constexpr const char* kSearchDatabank = "IDENT_PUBCHEM_SMALL";

int MORU_CALL IgnoreDatabank(const char*, const char*, const char*, const char*, const char*, const char*, int,
                             const char*, const char*, const char*, int, int, int)
{
    return 0;
}

std::string Line(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string ServerUrl(const std::string& user)
{
    std::string host;
    for (char c : Line(std::filesystem::path(kServerDir) / "host"))
        host += c == '/' ? std::string("%2F") : std::string(1, c);
    return "postgresql://" + user + "@" + host + ":" + Line(std::filesystem::path(kServerDir) / "port") + "/postgres";
}

// Columns of a tab-separated file of the bundle, after its header.
std::vector<std::string> Column(const std::filesystem::path& file, const std::vector<int>& columns)
{
    std::vector<std::string> values;
    std::ifstream rows(file);
    std::string line;
    std::getline(rows, line);
    while (std::getline(rows, line)) {
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
        for (int column : columns) {
            if (static_cast<std::size_t>(column) < fields.size() && !fields[static_cast<std::size_t>(column)].empty())
                values.push_back(fields[static_cast<std::size_t>(column)]);
        }
    }
    return values;
}

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// CPU seconds of the server: its postmaster and every process it started.
double ServerCpuSeconds()
{
    const std::string cluster = Line(std::filesystem::path(kServerDir) / "host");
    const long postmaster = std::atol(Line(std::filesystem::path(cluster) / "data" / "postmaster.pid").c_str());
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    double seconds = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string text((std::istreambuf_iterator<char>(stat)), {});
        const auto close = text.rfind(')');
        if (close == std::string::npos) continue;
        std::stringstream fields(text.substr(close + 2));
        std::string state;
        long parent = 0;
        fields >> state >> parent;
        const long pid = std::atol(name.c_str());
        if (pid != postmaster && parent != postmaster) continue;
        std::string skip;
        for (int i = 0; i < 9; ++i) fields >> skip; // pgrp .. cmajflt
        double user = 0, system = 0;
        fields >> user >> system;
        seconds += (user + system) / tick;
    }
    return seconds;
}

struct Sample {
    double wall = 0, cpu = 0, serverCpu = 0;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Runs `work` for the file and the server in alternating rounds and prints the medians.
void Compare(const std::string& name, int rounds, const std::function<std::size_t(const std::string&)>& work)
{
    std::vector<double> wall[2], cpu[2], serverCpu[2];
    std::size_t results[2] = {0, 0};
    for (int round = 0; round < rounds; ++round) {
        for (int side = 0; side < 2; ++side) {
            const std::string alias = side == 0 ? "FILE" : "SERVER";
            const double serverBefore = ServerCpuSeconds(), cpuBefore = ProcessCpuSeconds();
            const auto start = std::chrono::steady_clock::now();
            results[side] = work(alias);
            wall[side].push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            cpu[side].push_back(ProcessCpuSeconds() - cpuBefore);
            serverCpu[side].push_back(ServerCpuSeconds() - serverBefore);
        }
    }
    const double ratio = Median(wall[1]) / Median(wall[0]);
    std::printf("| %-28s | %9.1f | %9.1f | %9.1f | %9.1f | %9.1f | %5.2f | %zu%s\n", name.c_str(),
                Median(wall[0]) * 1e3, Median(cpu[0]) * 1e3, Median(wall[1]) * 1e3, Median(cpu[1]) * 1e3,
                Median(serverCpu[1]) * 1e3, ratio, results[0],
                results[0] == results[1] ? "" : (" (server: " + std::to_string(results[1]) + ")").c_str());
    std::fflush(stdout);
}

std::size_t EnginePass(const std::string& alias, const std::vector<std::string>& databanks,
                       const std::vector<std::string>& compounds, std::size_t count)
{
    bench::EngineLists lists;
    for (const auto& bank : databanks) lists.databanks.push_back(alias + "." + bank);
    lists.compounds.assign(compounds.begin(), compounds.begin() + static_cast<long>(std::min(count, compounds.size())));
    lists.properties = kProperties;
    return bench::LibraryEnginePass(lists);
}

// The engine pass's full dump on each side (every value's compounds, property, databank and
// numbers bit for bit): true when they are the same.
bool SameEnginePass(const std::vector<std::string>& databanks, const std::vector<std::string>& compounds,
                    std::size_t count)
{
    bench::Dump dumps[2];
    const char* aliases[2] = {"FILE", "SERVER"};
    for (int side = 0; side < 2; ++side) {
        bench::EngineLists lists;
        for (const auto& bank : databanks) lists.databanks.push_back(std::string(aliases[side]) + "." + bank);
        lists.compounds.assign(compounds.begin(),
                               compounds.begin() + static_cast<long>(std::min(count, compounds.size())));
        lists.properties = kProperties;
        bench::LibraryEnginePass(lists, &dumps[side]);
    }
    return dumps[0] == dumps[1] && !dumps[0].empty();
}

// Every entry of the binary value set, in the order the library hands them out: its positions,
// regression flag and numbers bit for bit.
using EntryDump = std::vector<std::string>;

std::size_t BinarySets(const std::string& alias, const std::vector<std::string>& working, EntryDump* dump = nullptr)
{
    std::vector<const char*> compounds, banks, models;
    std::vector<std::string> references;
    references.reserve(kBinaryDatabanks.size());
    for (const auto& cas : working) compounds.push_back(cas.c_str());
    for (const auto& bank : kBinaryDatabanks) references.push_back(alias + "." + bank);
    for (const auto& reference : references) banks.push_back(reference.c_str());
    for (const auto& model : kModels) models.push_back(model.c_str());
    compounds.push_back(nullptr);
    banks.push_back(nullptr);
    models.push_back(nullptr);
    int type = 1, condensed = 0, handle = 0;
    if (!BinaryPropertyValueObjects_GetAllBinaryPropertyValueObjects(compounds.data(), "CASRN", banks.data(),
                                                                     models.data(), &type, &condensed, &handle))
        return 0;
    std::size_t entries = 0;
    int c1, c2, c3, c4, bank, prop, size, regInfo;
    double values[64];
    while (BinaryPropertyValueObjects_GetNextPropertyValueObject(handle, &c1, &c2, &c3, &c4, &bank, &prop, &size,
                                                                 &regInfo, values) == 1) {
        ++entries;
        if (!dump) continue;
        std::string line;
        for (int field : {c1, c2, c3, c4, bank, prop, regInfo}) line += std::to_string(field) + " ";
        char number[32];
        for (int i = 0; i < size; ++i) {
            std::snprintf(number, sizeof number, " %a", values[i]);
            line += number;
        }
        dump->push_back(std::move(line));
    }
    BinaryPropertyValueObjects_ReleaseHandle(handle);
    return entries;
}

// The binary value sets of both sides, entry by entry in order: true when they are the same.
bool SameBinarySets(const std::vector<std::string>& working)
{
    EntryDump dumps[2];
    BinarySets("FILE", working, &dumps[0]);
    BinarySets("SERVER", working, &dumps[1]);
    return dumps[0] == dumps[1] && !dumps[0].empty();
}

int Run(int rounds)
{
    const char* data = std::getenv("MORU_SHARED_DATA");
    if (!data || !std::filesystem::exists(std::filesystem::path(data) / "compounds.tsv")) {
        std::fprintf(stderr, "MORU_SHARED_DATA names no data bundle\n");
        return 1;
    }
    std::filesystem::create_directories(kDirectory);
    const std::string database = (kDirectory / "bundle.db").string();
    if (!dbtool::BuildDatabase(dbtool::ConvertBundle(data), database, true).empty()) {
        std::fprintf(stderr, "the bundle did not build\n");
        return 1;
    }
    const std::string script = std::string("\"") + MORU_SOURCE_DIR + "/scripts/postgres\" ";
    if (std::system((script + "start \"" + kServerDir + "\" >/dev/null").c_str()) != 0 ||
        std::filesystem::exists(std::filesystem::path(kServerDir) / "absent")) {
        std::fprintf(stderr, "no server could be started (scripts/postgres)\n");
        return 1;
    }
    struct Stop {
        std::string line;
        ~Stop() { (void)std::system(line.c_str()); }
    } stop{script + "stop \"" + kServerDir + "\""};
    const auto pushStart = std::chrono::steady_clock::now();
    dbtool::PushDatabase(database, ServerUrl("postgres"), "bench_bundle", {"moru_reader"});
    std::printf("push of the bundle: %.1f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - pushStart).count());

    const std::string config = (kDirectory / "databases.json").string();
    std::ofstream(config) << R"({"databases": [{"alias": "FILE", "path": "bundle.db"}, {"alias": "SERVER", "url": ")"
                          << ServerUrl("moru_reader")
                          << R"(", "schema": "bench_bundle", "password": "moru-reader-password"}]})";
    int size = 0, success = 0, codes = 0;
    const int messages = InitVNFromConfigFileWithReturnMsgs(config.c_str(), "", &size, &success, &codes);
    Databank_ReleaseHandle(messages);
    Databank_ReleaseHandle(codes);
    ListMoruDatabanks_Vanta(reinterpret_cast<void*>(static_cast<MoruDatabankInfoCallback>(&IgnoreDatabank)));

    // The engine's compounds: those of the binary parameters first, then the rest, as the engine
    // bench takes them; the working set of the binary sets: the first 300 of the same.
    std::vector<std::string> compounds;
    std::set<std::string> seen;
    for (const auto& list : {Column(std::filesystem::path(data) / "binary_params.tsv", {1, 2}),
                             Column(std::filesystem::path(data) / "compounds.tsv", {0})}) {
        for (const auto& cas : list) {
            if (seen.insert(cas).second) compounds.push_back(cas);
        }
    }
    std::vector<std::string> databanks;
    {
        sqlite3* db = nullptr;
        sqlite3_stmt* select = nullptr;
        sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_prepare_v2(db, "SELECT name FROM databank ORDER BY position", -1, &select, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW)
            databanks.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(select, 0)));
        sqlite3_finalize(select);
        sqlite3_close(db);
    }
    const std::vector<std::string> working(compounds.begin(), compounds.begin() + 300);
    const auto names = Column(std::filesystem::path(data) / "compounds.tsv", {1});

    // Both sides must give the same answers before their times mean anything.
    for (std::size_t i = 0; i < 200 && i < names.size(); ++i) {
        const std::string& name = names[i * 7 % names.size()];
        const std::string file = std::string("FILE.") + kSearchDatabank,
                          server = std::string("SERVER.") + kSearchDatabank;
        if (bench::LibrarySearch(file.c_str(), name) != bench::LibrarySearch(server.c_str(), name)) {
            std::fprintf(stderr, "search %s: the file and the server found different compounds\n", name.c_str());
            return 1;
        }
    }
    for (std::size_t count : {500, 1000, 2000, 4000}) {
        if (!SameEnginePass(databanks, compounds, count)) {
            std::fprintf(stderr, "engine pass of %zu compounds: the file and the server gave different values\n",
                         count);
            return 1;
        }
    }
    if (!SameBinarySets(working)) {
        std::fprintf(stderr, "binary sets of 300 compounds: the file and the server gave different entries\n");
        return 1;
    }
    std::printf("searches, binary sets and engine passes: the same answers from the file and the server, values bit "
                "for bit\n");

    std::printf("\n%d alternating rounds, medians in ms; server CPU: the server's processes\n\n", rounds);
    std::printf("| %-28s | file wall | file  CPU | srv  wall | srv   CPU | srv sCPU | ratio | results\n", "workload");
    Compare("search 200 names", rounds, [&](const std::string& alias) {
        const std::string source = alias + "." + kSearchDatabank;
        std::size_t hits = 0;
        for (std::size_t i = 0; i < 200 && i < names.size(); ++i)
            hits += bench::LibrarySearch(source.c_str(), names[i * 7 % names.size()]) != 0 ? 1 : 0;
        return hits;
    });
    Compare("binary sets, 300 compounds", rounds, [&](const std::string& alias) { return BinarySets(alias, working); });
    for (std::size_t count : {500, 1000, 2000, 4000}) {
        Compare("engine pass " + std::to_string(count), rounds,
                [&](const std::string& alias) { return EnginePass(alias, databanks, compounds, count); });
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    try {
        return Run(rounds);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "moru_server_bench: %s\n", error.what());
        return 1;
    }
}
