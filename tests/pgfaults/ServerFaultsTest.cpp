// A server that goes away under a host, through the exports: stopped in the middle of a listing
// and of a bulk pass, its session ended, a schema of another format, a server that never answers,
// a server process that stops without ending its connection.
// Each call returns its failure value with the reason in the trace, nothing hangs, and once the
// server is back the next call connects again and works.

#include "ServerHarness.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <iterator>
#include <mutex>
#include <thread>

using namespace moru::pgfaults;
using moru::host::HostLibrary;
using moru::host::LibraryFileIn;

namespace {

// In the build directory, so that builds testing at once keep apart.
const std::filesystem::path kScratch = std::filesystem::path(MORU_TEST_POSTGRES_DIR).parent_path() / "pgfaults-scratch";

class ServerFaults : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (ServerAbsent()) return;
        std::filesystem::create_directories(kScratch);
        std::filesystem::remove(kScratch / "trace.txt");
        // Read by the library when it is loaded (the trace) and at each connect (the timeout).
        setenv("MORU_TRACE", (kScratch / "trace.txt").c_str(), 1);
        setenv("MORU_PG_CONNECT_TIMEOUT", "2", 1);
        setenv("PGPASSFILE", "/nonexistent/pgpass", 1);
        HostLibrary::Instance(LibraryFileIn(MORU_LIBRARY_DIR));
        pushed = Push(MORU_SAMPLE_DB, "faults_sample");
    }
    static void TearDownTestSuite()
    {
        std::error_code ignored;
        if (!std::getenv("MORU_KEEP_SCRATCH")) std::filesystem::remove_all(kScratch, ignored);
    }
    void SetUp() override
    {
        if (auto absent = ServerAbsent()) GTEST_SKIP() << *absent;
        ASSERT_TRUE(pushed) << "moru-db push did not load the sample database";
        const auto connected = Initialise(ServerConfiguration(kScratch / "databases.json", "faults_sample"));
        ASSERT_EQ(1, connected.success) << (connected.messages.empty() ? "" : connected.messages[0]);
    }
    void TearDown() override
    {
        // Each reason on the line of its call: every line of the trace begins with its time.
        std::ifstream trace(std::getenv("MORU_TRACE"));
        for (std::string line; std::getline(trace, line);) {
            if (!line.empty()) {
                EXPECT_EQ(0u, line.find("20")) << "a reason broke its line: " << line;
            }
        }
        // A test that failed half way leaves the server running for the next.
        if (!ServerAbsent()) ServerScript("resume");
    }

    static int Find(const char* text)
    {
        const char* source[] = {"SAMPLE.PURE", nullptr};
        int handle = 0;
        const int found = MORU_EXPORT_OF(FoundCompounds_Find)(source, text, nullptr, &handle);
        MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle);
        return found;
    }

    static std::optional<std::vector<ScalarValue>> Pass()
    {
        auto values = ScalarPass({"SAMPLE.PURE"}, {"64-17-5", "7732-18-5", "67-64-1"}, {"MW", "TB"});
        if (values) {
            std::sort(values->begin(), values->end(), [](const ScalarValue& a, const ScalarValue& b) {
                return std::tie(a.compound, a.property) < std::tie(b.compound, b.property);
            });
        }
        return values;
    }

    static inline bool pushed = false;
};

// What the process writes to its standard error while this lives.
class StandardError {
public:
    StandardError() : m_file(kScratch / "stderr.txt")
    {
        std::fflush(stderr);
        m_saved = dup(2);
        const int file = open(m_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(file, 2);
        close(file);
    }
    ~StandardError() { Restore(); }
    StandardError(const StandardError&) = delete;
    StandardError& operator=(const StandardError&) = delete;
    std::string Text()
    {
        Restore();
        std::ifstream file(m_file);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

private:
    void Restore()
    {
        if (m_saved < 0) return;
        std::fflush(stderr);
        dup2(m_saved, 2);
        close(m_saved);
        m_saved = -1;
    }
    std::filesystem::path m_file;
    int m_saved = -1;
};

// The trace line of a call says, on that one line, that it failed because of the connection.
void ExpectConnectionReason(const std::string& line)
{
    EXPECT_NE(std::string::npos, line.find("connection")) << line;
    EXPECT_EQ(std::string::npos, line.find(kReaderPassword)) << line;
}

TEST_F(ServerFaults, AServerStoppedInTheMiddleOfAListingFailsItsCallsUntilItIsBack)
{
    int collection = 0, enumerator = 0;
    MORU_EXPORT_OF(Databank_GetIdentifiersOfCompoundsWithData)("SAMPLE", "PURE", &collection);
    ASSERT_NE(0, collection);
    MORU_EXPORT_OF(CompoundCollection_GetEnumerator)(collection, &enumerator);
    int listed = 0;
    char name[256], alias[256];
    int index = 0;
    for (; listed < 10 && MORU_EXPORT_OF(CompoundCollectionEnum_MoveNext)(enumerator) == 1; ++listed) {
        EXPECT_EQ(1, MORU_EXPORT_OF(CompoundCollectionEnum_GetItem)(enumerator, &index, name, sizeof name, alias,
                                                                    sizeof alias));
    }
    ASSERT_EQ(10, listed);

    ASSERT_TRUE(ServerScript("halt"));
    // The listing holds what it read: it goes on to its end.
    while (MORU_EXPORT_OF(CompoundCollectionEnum_MoveNext)(enumerator) == 1) {
        EXPECT_EQ(1, MORU_EXPORT_OF(CompoundCollectionEnum_GetItem)(enumerator, &index, name, sizeof name, alias,
                                                                    sizeof alias));
        ++listed;
    }
    EXPECT_GT(listed, 100);
    MORU_EXPORT_OF(CompoundCollectionEnum_ReleaseHandle)(enumerator);
    MORU_EXPORT_OF(CompoundCollection_ReleaseHandle)(collection);
    // What needs the server fails, at once, with the reason; so does a new listing.
    const auto start = std::chrono::steady_clock::now();
    {
        StandardError error;
        EXPECT_EQ(0, Find("64-17-5"));
        EXPECT_EQ("", error.Text()) << "the server's notices go to the host's standard error";
    }
    ExpectConnectionReason(TraceLineOf("FoundCompounds_Find"));
    MORU_EXPORT_OF(Databank_GetIdentifiersOfCompoundsWithData)("SAMPLE", "PURE", &collection);
    EXPECT_EQ(0, collection);
    ExpectConnectionReason(TraceLineOf("Databank_GetIdentifiersOfCompoundsWithData"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

    ASSERT_TRUE(ServerScript("resume"));
    EXPECT_EQ(1, Find("64-17-5")) << TraceLineOf("FoundCompounds_Find");
    MORU_EXPORT_OF(Databank_GetIdentifiersOfCompoundsWithData)("SAMPLE", "PURE", &collection);
    EXPECT_NE(0, collection);
    MORU_EXPORT_OF(CompoundCollection_ReleaseHandle)(collection);
}

TEST_F(ServerFaults, AServerStoppedInTheMiddleOfABulkPassFailsThePassAndTheNextPassIsWhole)
{
    const auto before = Pass();
    ASSERT_TRUE(before);
    ASSERT_EQ(6u, before->size());

    const char* banks[] = {"SAMPLE.PURE", nullptr};
    const char* compounds[] = {"64-17-5", "7732-18-5", nullptr};
    const char* properties[] = {"MW", nullptr};
    ASSERT_EQ(1, MORU_EXPORT_OF(Optimized_InitializeAllLists)(banks, compounds, properties));
    int handle = 0;
    EXPECT_EQ(2, MORU_EXPORT_OF(Optimized_GetAllCompoundsIdentifiers)(&handle));
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(handle);
    ASSERT_TRUE(ServerScript("halt"));
    EXPECT_EQ(0, MORU_EXPORT_OF(Optimized_GetAllScalarPropertyValues)(&handle));
    EXPECT_EQ(0, handle);
    ExpectConnectionReason(TraceLineOf("Optimized_GetAllScalarPropertyValues"));

    ASSERT_TRUE(ServerScript("resume"));
    EXPECT_EQ(before, Pass()) << TraceLineOf("Optimized_GetAllScalarPropertyValues");
}

TEST_F(ServerFaults, ASessionEndedByTheServerIsMadeAgainAtTheNextCall)
{
    ASSERT_EQ(1, Find("64-17-5"));
    ASSERT_TRUE(ServerScript("sql", "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                    "WHERE usename = 'moru_reader'"));
    // Nothing was read in the call yet: it goes on in a new session.
    EXPECT_EQ(1, Find("64-17-5")) << TraceLineOf("FoundCompounds_Find");
    ASSERT_TRUE(ServerScript("sql", "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                    "WHERE usename = 'moru_reader'"));
    const auto after = Pass();
    ASSERT_TRUE(after) << TraceLineOf("Optimized_GetAllScalarPropertyValues");
    EXPECT_EQ(6u, after->size());
}

TEST_F(ServerFaults, ASchemaOfAnotherFormatIsRefusedWithTheFormatNamed)
{
    ASSERT_TRUE(Push(MORU_SAMPLE_DB, "faults_other"));
    ASSERT_TRUE(ServerScript("sql", "UPDATE faults_other.meta SET value = 'moru-property-db 99' WHERE key = 'format'"));
    const auto other = Initialise(ServerConfiguration(kScratch / "other.json", "faults_other"));
    EXPECT_EQ(0, other.success);
    ASSERT_EQ(1u, other.messages.size());
    EXPECT_NE(std::string::npos, other.messages[0].find("moru-property-db 99")) << other.messages[0];
    // Nothing of it was listed.
    EXPECT_EQ(0, Find("64-17-5"));
}

// A listener that takes connections and never says a word.
class SilentServer {
public:
    SilentServer()
    {
        m_socket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(m_socket, 8) != 0 ||
            getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
    }
    ~SilentServer() { close(m_socket); }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    int Port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};

TEST_F(ServerFaults, AServerThatNeverAnswersFailsWithinTheConnectTimeoutAndFilesBesideItConnect)
{
    SilentServer silent;
    ASSERT_NE(0, silent.Port());
    const std::string url = "postgresql://moru_reader@127.0.0.1:" + std::to_string(silent.Port()) + "/postgres";
    const std::string file = R"(, {"alias": "FILE", "path": ")" + std::string(MORU_SAMPLE_DB) + "\"}";
    const auto start = std::chrono::steady_clock::now();
    const auto result = Initialise(ServerConfiguration(kScratch / "silent.json", "faults_sample", url, file));
    const auto waited = std::chrono::steady_clock::now() - start;
    // Two seconds (MORU_PG_CONNECT_TIMEOUT) for each address libpq tries, no more.
    EXPECT_LT(waited, std::chrono::seconds(8));
    EXPECT_GE(waited, std::chrono::milliseconds(1500));
    EXPECT_EQ(1, result.success);
    ASSERT_EQ(2u, result.messages.size());
    EXPECT_NE(std::string::npos, result.messages[0].find("timeout")) << result.messages[0];
    const char* source[] = {"FILE.PURE", nullptr};
    int handle = 0;
    EXPECT_EQ(1, MORU_EXPORT_OF(FoundCompounds_Find)(source, "64-17-5", nullptr, &handle));
    MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle);
}

// The server processes of the reader's sessions, as the server lists them.
std::vector<pid_t> ReaderProcesses()
{
    const std::filesystem::path file = ServerLine("host").value_or("") + "/reader-processes.txt";
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    if (!ServerScript("sql", "COPY (SELECT pid FROM pg_stat_activity WHERE usename = 'moru_reader') TO '" +
                                 file.string() + "'"))
        return {};
    std::vector<pid_t> processes;
    std::ifstream list(file);
    for (pid_t process = 0; list >> process;) processes.push_back(process);
    std::filesystem::remove(file, ignored);
    return processes;
}

// Server processes stopped (not ended) while this lives; they go on again however the test ends,
// and after `limit` at the latest, so that a call that waits for them fails its test instead of
// hanging it.
class StoppedProcesses {
public:
    StoppedProcesses(std::vector<pid_t> processes, std::chrono::seconds limit) : m_processes(std::move(processes))
    {
        for (pid_t process : m_processes) kill(process, SIGSTOP);
        m_watchdog = std::thread([this, limit] {
            std::unique_lock lock(m_mutex);
            m_ended.wait_for(lock, limit, [this] { return m_resumed; });
            ResumeLocked();
        });
    }
    ~StoppedProcesses()
    {
        Resume();
        m_watchdog.join();
    }
    StoppedProcesses(const StoppedProcesses&) = delete;
    StoppedProcesses& operator=(const StoppedProcesses&) = delete;
    void Resume()
    {
        std::lock_guard lock(m_mutex);
        ResumeLocked();
        m_ended.notify_all();
    }

private:
    void ResumeLocked()
    {
        if (m_resumed) return;
        for (pid_t process : m_processes) kill(process, SIGCONT);
        m_resumed = true;
    }
    std::vector<pid_t> m_processes;
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_resumed = false;
    std::thread m_watchdog;
};

// MORU_PG_STATEMENT_TIMEOUT while this lives, read by the connections made meanwhile.
class StatementTimeout {
public:
    explicit StatementTimeout(const char* seconds) { setenv("MORU_PG_STATEMENT_TIMEOUT", seconds, 1); }
    ~StatementTimeout() { unsetenv("MORU_PG_STATEMENT_TIMEOUT"); }
    StatementTimeout(const StatementTimeout&) = delete;
    StatementTimeout& operator=(const StatementTimeout&) = delete;
};

TEST_F(ServerFaults, AServerProcessThatStopsAnsweringFailsTheCallWithinTheTimeoutAndTheNextCallConnectsAgain)
{
    // One second for the server, five more for the client: the call ends after six.
    const StatementTimeout timeout("1");
    const auto connected = Initialise(ServerConfiguration(kScratch / "databases.json", "faults_sample"));
    ASSERT_EQ(1, connected.success) << (connected.messages.empty() ? "" : connected.messages[0]);
    ASSERT_EQ(1, Find("64-17-5"));
    const auto processes = ReaderProcesses();
    ASSERT_FALSE(processes.empty());
    {
        // Its host still holds the connection: nothing tells libpq that the process is gone.
        StoppedProcesses stopped(processes, std::chrono::seconds(15));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(0, Find("64-17-5"));
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_GE(waited, std::chrono::seconds(5));
        EXPECT_LT(waited, std::chrono::seconds(10));
        const std::string line = TraceLineOf("FoundCompounds_Find");
        ExpectConnectionReason(line);
        EXPECT_NE(std::string::npos, line.find("did not answer within 6 s")) << line;
        // The next call connects again, beside the process that still stands still.
        EXPECT_EQ(1, Find("64-17-5")) << TraceLineOf("FoundCompounds_Find");
    }
    EXPECT_EQ(1, Find("64-17-5")) << TraceLineOf("FoundCompounds_Find");
    const auto after = Pass();
    ASSERT_TRUE(after) << TraceLineOf("Optimized_GetAllScalarPropertyValues");
    EXPECT_EQ(6u, after->size());
}

} // namespace
