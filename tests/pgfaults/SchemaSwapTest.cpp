// moru-db push replaces a schema under running hosts: a bulk pass sees the old data or the new
// whole, also across its calls. Eight hosts run passes while the schema is replaced twice, and
// none fails; one host's pass reads on while pushes come between its calls.

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

// "old", "new" or "mixed": whether the values are those of the sample or of the new database.
std::string DataOf(const std::vector<ScalarValue>& values)
{
    std::size_t changed = 0;
    for (const auto& value : values) changed += value.number > 50000 ? 1 : 0;
    return changed == 0 ? "old" : changed == values.size() ? "new" : "mixed";
}

TEST(SchemaSwapBetweenCalls, APassReadsTheDataItBeganWithToItsEndAndTheNextPassTheNewData)
{
    if (auto absent = ServerAbsent()) GTEST_SKIP() << *absent;
    std::filesystem::remove_all(kScratch);
    std::filesystem::create_directories(kScratch);
    const auto newDatabase = kScratch / "new.db";
    ASSERT_TRUE(MakeNewDatabase(newDatabase, kScratch / "names.txt"));
    ASSERT_TRUE(Push(MORU_SAMPLE_DB, "between_sample"));
    setenv("MORU_TRACE", (kScratch / "trace.txt").c_str(), 1);
    moru::host::HostLibrary::Instance(moru::host::LibraryFileIn(MORU_LIBRARY_DIR));
    const auto connected = Initialise(ServerConfiguration(kScratch / "databases.json", "between_sample"));
    ASSERT_EQ(1, connected.success) << (connected.messages.empty() ? "" : connected.messages[0]);
    const std::vector<const char*> banks = {"SAMPLE.PURE"}, compounds = {"64-17-5", "7732-18-5", "67-64-1"},
                                   properties = {"MW", "TB"};

    ASSERT_TRUE(StartPass(banks, compounds, properties));
    const auto before = ScalarValues();
    ASSERT_TRUE(before);
    ASSERT_EQ(6u, before->size());
    EXPECT_EQ("old", DataOf(*before));
    ASSERT_TRUE(Push(newDatabase.string(), "between_sample"));
    const auto after = ScalarValues();
    ASSERT_TRUE(after);
    EXPECT_EQ(*before, *after) << "a pass read data pushed after it began";

    const auto next = ScalarPass(banks, compounds, properties);
    ASSERT_TRUE(next);
    EXPECT_EQ("new", DataOf(*next));

    // Two pushes between two calls of a pass: the data it began with is gone, and the pass fails
    // saying so rather than going on with other data. The next pass reads the newest.
    ASSERT_TRUE(Push(MORU_SAMPLE_DB, "between_sample"));
    ASSERT_TRUE(Push(newDatabase.string(), "between_sample"));
    std::string failedCall;
    EXPECT_FALSE(ScalarValues(&failedCall));
    EXPECT_NE(std::string::npos, TraceLineOf(failedCall).find("was replaced twice since this bulk pass"))
        << TraceLineOf(failedCall);
    const auto last = ScalarPass(banks, compounds, properties);
    ASSERT_TRUE(last);
    EXPECT_EQ("new", DataOf(*last));
    std::filesystem::remove_all(kScratch);
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
