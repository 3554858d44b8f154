// Eight hosts run bulk passes while moru-db push replaces their schema twice: every pass sees the
// old data or the new whole, and none fails.

#include "ServerHarness.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <thread>

using namespace moru::pgfaults;

namespace {

// In the build directory, so that builds testing at once keep apart.
const std::filesystem::path kScratch = std::filesystem::path(MORU_TEST_POSTGRES_DIR).parent_path() / "pgswap-scratch";

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The sample source with every MW and TB value raised by 100000, built into a database; and the
// names of the PURE compounds, one a line.
bool MakeNewDatabase(const std::filesystem::path& database, const std::filesystem::path& names)
{
    auto source =
        nlohmann::ordered_json::parse(ReadAll(std::filesystem::path(MORU_SAMPLE_DB).parent_path() / "sample.json"));
    std::ofstream list(names);
    for (const auto& compound : source["compounds"]) {
        const auto& identifiers = compound["identifiers"];
        if (identifiers.contains("NAME")) list << identifiers["NAME"][0].get<std::string>() << "\n";
    }
    for (auto& databank : source["databanks"]) {
        if (databank["name"] != "PURE") continue;
        for (auto& value : databank["values"]) {
            if (value["property"] != "MW" && value["property"] != "TB") continue;
            for (auto& number : value["numbers"]) number = number.get<double>() + 100000;
        }
    }
    const auto json = kScratch / "new.json";
    std::ofstream(json) << source.dump();
    const std::string build = std::string("\"") + MORU_DB_PROGRAM + "\" build \"" + json.string() + "\" \"" +
                              database.string() + "\" >/dev/null";
    return std::system(build.c_str()) == 0;
}

pid_t StartWorker(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

TEST(ConcurrentSchemaSwap, EveryPassOfEightHostsSeesTheOldOrTheNewDataWhole)
{
    if (auto absent = ServerAbsent()) GTEST_SKIP() << *absent;
    std::filesystem::remove_all(kScratch);
    std::filesystem::create_directories(kScratch);
    const auto newDatabase = kScratch / "new.db", names = kScratch / "names.txt", stop = kScratch / "stop";
    ASSERT_TRUE(MakeNewDatabase(newDatabase, names));
    ASSERT_TRUE(Push(MORU_SAMPLE_DB, "swap_sample"));
    const std::string configuration = ServerConfiguration(kScratch / "databases.json", "swap_sample");

    constexpr int kHosts = 8;
    std::vector<pid_t> hosts;
    hosts.reserve(kHosts);
    for (int i = 0; i < kHosts; ++i) {
        hosts.push_back(StartWorker({MORU_PASS_WORKER, configuration, names.string(), stop.string(),
                                     (kScratch / ("passes" + std::to_string(i) + ".txt")).string()}));
    }
    // Every host has made a pass before the first swap.
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < kHosts; ++i) {
        while (ReadAll(kScratch / ("passes" + std::to_string(i) + ".txt")).empty() &&
               std::chrono::steady_clock::now() - started < std::chrono::seconds(20))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const bool swappedToNew = Push(newDatabase.string(), "swap_sample");
    const bool swappedBack = Push(MORU_SAMPLE_DB, "swap_sample");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::ofstream(stop).put('\n');
    for (pid_t host : hosts) {
        int status = 0;
        waitpid(host, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_TRUE(swappedToNew);
    EXPECT_TRUE(swappedBack);

    std::map<std::string, int> seen;
    std::set<std::string> counts;
    for (int i = 0; i < kHosts; ++i) {
        std::istringstream passes(ReadAll(kScratch / ("passes" + std::to_string(i) + ".txt")));
        for (std::string line; std::getline(passes, line);) {
            const std::string kind = line.substr(0, line.find(' '));
            ++seen[kind];
            if (kind == "old" || kind == "new") counts.insert(line.substr(4));
            else ADD_FAILURE() << "host " << i << ": " << line;
        }
    }
    EXPECT_EQ(1u, counts.size()) << "passes read different numbers of values";
    EXPECT_GT(seen["old"], 0);
    EXPECT_GT(seen["new"], 0);
    std::printf("passes: %d old, %d new, %d mixed, %d failed\n", seen["old"], seen["new"], seen["mixed"],
                seen["failed"]);
    std::filesystem::remove_all(kScratch);
}

} // namespace
