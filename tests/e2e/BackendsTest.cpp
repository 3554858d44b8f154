// The same calls through the exports give the same answers whichever backend serves the sample
// database: the file itself, or the same database loaded into a PostgreSQL server.

#include "HostSession.h"
#include "Relay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace moru::host;

namespace {

enum class Backend { File, Server };

std::string Name(const ::testing::TestParamInfo<Backend>& info)
{
    return info.param == Backend::File ? "File" : "Server";
}

#ifdef MORU_TEST_POSTGRES_DIR
std::optional<std::string> ReadLine(const char* name)
{
    std::ifstream file(std::filesystem::path(MORU_TEST_POSTGRES_DIR) / name);
    std::string line;
    if (!file || !std::getline(file, line)) return std::nullopt;
    return line;
}

std::string ServerUrl(const std::string& user)
{
#ifdef MORU_TEST_POSTGRES_TCP
    // A Windows program under Wine reaches the server on 127.0.0.1, not through its socket.
    const std::string host = "127.0.0.1";
#else
    std::string host;
    for (char c : ReadLine("host").value_or("")) host += c == '/' ? std::string("%2F") : std::string(1, c);
#endif
    return "postgresql://" + user + "@" + host + ":" + ReadLine("port").value_or("") + "/postgres";
}
#endif

// Why the server's half of the suite cannot run here, or nullopt.
std::optional<std::string> ServerAbsent()
{
#ifdef MORU_TEST_POSTGRES_DIR
    if (auto absent = ReadLine("absent")) return *absent;
    if (!ReadLine("host")) return "no test server is running (ctest starts one)";
    return std::nullopt;
#else
    return "the server backend's suite runs on the native build";
#endif
}

// The server's configurations, in the build directory: two builds tested at once keep theirs apart.
std::filesystem::path ServerDirectory()
{
#ifdef MORU_TEST_POSTGRES_DIR
    return std::filesystem::path(MORU_TEST_POSTGRES_DIR).parent_path() / "e2e-server-configurations";
#else
    return std::filesystem::temp_directory_path() / "moru-e2e-server";
#endif
}

// A configuration naming the sample database on the server as SAMPLE, with `password` (none when
// empty), reached at `url` (the server's own, by default).
std::string WriteServerConfiguration(const std::string& name, const std::string& password, std::string url = {})
{
#ifdef MORU_TEST_POSTGRES_DIR
    if (url.empty()) url = ServerUrl("moru_reader");
    std::filesystem::create_directories(ServerDirectory());
    const auto path = ServerDirectory() / name;
    std::ofstream(path) << R"({"databases": [{"alias": "SAMPLE", "url": ")" << url << R"(", "schema": "e2e_sample")"
                        << (password.empty() ? "" : R"(, "password": ")" + password + "\"") << "}]}";
    return path.string();
#else
    (void)name, (void)password, (void)url;
    return {};
#endif
}

// The sample database loaded into the server once, readable by the reader role: by the tests'
// fixture for a Windows build, which cannot run the tool, else here through the tool.
bool SampleOnServer()
{
#if defined(MORU_TEST_POSTGRES_DIR) && !defined(MORU_DB_PROGRAM)
    return true;
#elif defined(MORU_TEST_POSTGRES_DIR)
    static const bool pushed = [] {
        const std::string sampleDb = (std::filesystem::path(MORU_SAMPLE_CONFIG).parent_path() / "sample.db").string();
        const std::string push = std::string("\"") + MORU_DB_PROGRAM + "\" push \"" + sampleDb + "\" \"" +
                                 ServerUrl("postgres") + "\" --schema e2e_sample --grant moru_reader >/dev/null";
        return std::system(push.c_str()) == 0;
    }();
    return pushed;
#else
    return false;
#endif
}

struct Hit {
    std::string database, databank, name, alias, cas;
    int index = -1;
};

std::optional<Hit> Find(const char* text, const char* type = nullptr)
{
    const char* source[] = {"SAMPLE.PURE", nullptr};
    int handle = 0;
    const int found = type ? MORU_EXPORT_OF(FoundCompounds_FindByIdentifierType)(source, text, type, nullptr, &handle)
                           : MORU_EXPORT_OF(FoundCompounds_Find)(source, text, nullptr, &handle);
    if (!found) return std::nullopt;
    char db[256], bank[256], name[256], alias[256], cas[256], prop[256];
    double value = 0;
    Hit hit;
    const int details =
        MORU_EXPORT_OF(FoundCompounds_GetObjectDetails)(handle, db, bank, &hit.index, name, alias, cas, prop, &value);
    MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle);
    if (details != 1) return std::nullopt;
    hit = {db, bank, name, alias, cas, hit.index};
    return hit;
}

class Backends : public ::testing::TestWithParam<Backend> {
protected:
    static void SetUpTestSuite()
    {
        if (!std::filesystem::exists(MORU_SAMPLE_CONFIG) || ServerAbsent()) return;
        pushed = SampleOnServer();
    }
    static void TearDownTestSuite()
    {
        // The other suites expect the sample file connected.
        if (std::filesystem::exists(MORU_SAMPLE_CONFIG)) ConnectAndList(MORU_SAMPLE_CONFIG);
        std::error_code ignored;
        std::filesystem::remove_all(ServerDirectory(), ignored);
    }
    void SetUp() override
    {
        if (!std::filesystem::exists(MORU_SAMPLE_CONFIG)) GTEST_SKIP() << "no sample database was built";
        if (GetParam() == Backend::Server) {
            if (auto absent = ServerAbsent()) GTEST_SKIP() << *absent;
            ASSERT_TRUE(pushed) << "moru-db push did not load the sample database";
        }
        ASSERT_TRUE(ConnectAndList(Configuration()));
    }

    static std::string Configuration()
    {
        return GetParam() == Backend::File ? std::string(MORU_SAMPLE_CONFIG)
                                           : WriteServerConfiguration("databases.json", "moru-reader-password");
    }

    static inline bool pushed = false;
};

TEST_P(Backends, ReadADatabanksTypeAndPropertyNames)
{
    int type = -1, table = 0;
    const int count = MORU_EXPORT_OF(Databank_GetDatabankTypeAndPropertyList)("sample", "pure", &type, &table);
    ASSERT_GT(count, 0);
    EXPECT_EQ(type, 1);
    std::set<std::string> names;
    char name[512];
    for (int position = 0; MORU_EXPORT_OF(Databank_GetNextPropertyName)(table, position, name) == 1; ++position)
        names.insert(name);
    EXPECT_TRUE(names.count("MW"));
    EXPECT_TRUE(names.count("TB"));
    MORU_EXPORT_OF(Databank_ReleaseHandle)(table);
    MORU_EXPORT_OF(Databank_GetDatabankTypeAndPropertyList)("SAMPLE", "NRTL-SAMPLE", &type, &table);
    EXPECT_EQ(type, 2);
    MORU_EXPORT_OF(Databank_ReleaseHandle)(table);
}

TEST_P(Backends, FindCompoundsByCasNumberNameAndAliasInAnyLetterCase)
{
    const auto water = Find("7732-18-5", "CASRN");
    ASSERT_TRUE(water);
    EXPECT_EQ(water->database, "SAMPLE");
    EXPECT_EQ(water->databank, "PURE");
    EXPECT_EQ(Find(water->name.c_str()).value().index, water->index);
    EXPECT_EQ(Find(water->alias.c_str(), "ALIAS").value().index, water->index);
    const auto benzene = Find("bEnZeNe");
    ASSERT_TRUE(benzene);
    EXPECT_EQ(benzene->name, "Benzene");
    EXPECT_EQ(Find("BENZENE", "name").value().index, benzene->index);
#ifndef _WIN32 // the host's texts are in its code page there, which has no Greek letters
    const auto gaba = Find("\xCE\xB3-aminobutyric acid");
    ASSERT_TRUE(gaba);
    EXPECT_EQ(gaba->name, "4-Aminobutanoic acid");
#endif
    EXPECT_FALSE(Find("no such compound"));
    EXPECT_FALSE(Find("O'Brien's acid"));
    for (const char* text : {"\xC3", "water\xE2\x82", "\xFF\xFEwater"}) EXPECT_FALSE(Find(text)) << text;
}

TEST_P(Backends, EnumerateEveryCompoundWithItsNames)
{
    const char* source[] = {"SAMPLE.PURE", nullptr};
    int handle = 0, count = 0;
    ASSERT_EQ(MORU_EXPORT_OF(GetAllCompounds)(source, &handle, &count), 1);
    EXPECT_GT(count, 100);
    char name[256], alias[256], cas[256];
    ASSERT_EQ(MORU_EXPORT_OF(GetAllCompounds_Identifiers)(handle, 0, name, alias, cas), 1);
    EXPECT_NE(name[0], '\0');
    MORU_EXPORT_OF(GetAllCompounds_ReleaseHandle)(handle);
}

TEST_P(Backends, ConvertAnIndexToANameAndBack)
{
    const auto water = Find("7732-18-5", "CASRN");
    ASSERT_TRUE(water);
    char name[256] = "", cas[256] = "";
    MORU_EXPORT_OF(GetIdValueFromDbank)("SAMPLE", "PURE", "CASRN", water->index, name, sizeof name, cas, sizeof cas);
    EXPECT_EQ(name, water->name);
    EXPECT_STREQ(cas, "7732-18-5");
    int index = 0;
    MORU_EXPORT_OF(GetCompidFromIdInDbank)("SAMPLE", "PURE", "NAME", name, &index);
    EXPECT_EQ(index, water->index);
}

TEST_P(Backends, ReadPureValuesWithTheirUnits)
{
    int handle = 0;
    ASSERT_EQ(1, MORU_EXPORT_OF(CompoundProperties_GetCompoundProperty)("SAMPLE", "PURE", "7732-18-5", "CASRN", "TB",
                                                                        &handle));
    double tb = 0;
    ASSERT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_NumberOfElements)(handle));
    EXPECT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_ValueVector)(handle, &tb));
    EXPECT_NEAR(373.15, tb, 1e-9);
    std::vector<char> row(64), unit(64);
    char* rows[] = {row.data()};
    char* units[] = {unit.data()};
    EXPECT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_UnitsOfMeasure)(handle, rows, units, 64));
    EXPECT_STREQ("K", unit.data());
    MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(handle);
}

TEST_P(Backends, RunTheEnginesPass)
{
    const char* sources[] = {"SAMPLE.PURE", nullptr};
    const char* compounds[] = {"WATER", "7732-18-5", "Benzene", "no such compound", nullptr};
    const char* properties[] = {"MW", "TB", nullptr};
    ASSERT_EQ(1, MORU_EXPORT_OF(Optimized_InitializeAllLists)(sources, compounds, properties));
    int found = 0, values = 0;
    EXPECT_EQ(3, MORU_EXPORT_OF(Optimized_GetAllCompoundsIdentifiers)(&found));
    EXPECT_EQ(6, MORU_EXPORT_OF(Optimized_GetAllScalarPropertyValues)(&values));
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(found);
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(values);
    MORU_EXPORT_OF(Optimized_UnInitializeAllLists)();
}

INSTANTIATE_TEST_SUITE_P(, Backends, ::testing::Values(Backend::File, Backend::Server), Name);

#ifdef MORU_TEST_POSTGRES_DIR
// A server that refuses the password: the documented codes, and no password in any message.
TEST(ServerPasswords, WrongAndMissingPasswordsGiveTheSecuredResults)
{
    if (!std::filesystem::exists(MORU_SAMPLE_CONFIG)) GTEST_SKIP() << "no sample database was built";
    if (auto absent = ServerAbsent()) GTEST_SKIP() << *absent;
#ifndef _WIN32
    HostLibrary::Instance(LibraryFileIn(MORU_LIBRARY_DIR));
#endif
#ifndef _WIN32 // a password file of the account's would answer for the missing password
    setenv("PGPASSFILE", "/nonexistent/pgpass", 1);
#endif
    for (const auto& [password, code] : {std::pair<std::string, int>{"not-the-password", 2}, {"", 1}}) {
        const std::string config = WriteServerConfiguration("refused.json", password);
        int size = 0, success = 0, codes = 0;
        const int messages =
            MORU_EXPORT_OF(InitVNFromConfigFileWithReturnMsgs)(config.c_str(), "", &size, &success, &codes);
        ASSERT_EQ(1, size);
        EXPECT_EQ(0, success);
        EXPECT_EQ(code, MORU_EXPORT_OF(GetNextDatabaseSuccessCode)(codes, 0)) << password;
        const int bytes = MORU_EXPORT_OF(GetNextDatabaseErrorMessageSize)(messages, 0);
        ASSERT_GT(bytes, 1);
        std::string message(static_cast<std::size_t>(bytes), '\0');
        MORU_EXPORT_OF(GetNextDatabaseErrorMessage)(messages, 0, message.data(), bytes);
        if (!password.empty()) {
            EXPECT_EQ(std::string::npos, message.find(password)) << message;
        }
        MORU_EXPORT_OF(Reactions_ReleaseHandle)(messages);
        MORU_EXPORT_OF(Reactions_ReleaseHandle)(codes);
    }
#ifndef _WIN32
    unsetenv("PGPASSFILE");
#endif
    ConnectAndList(MORU_SAMPLE_CONFIG);
}

void SetEnvironment(const char* name, const char* value)
{
#ifdef _WIN32
    SetEnvironmentVariableA(name, *value ? value : nullptr);
#else
    if (*value) setenv(name, value, 1);
    else unsetenv(name);
#endif
}

// A server that stops answering in the middle of a session (seen through a relay that stops passing
// bytes on): the call under way fails with its failure value once the statement timeout and its
// margin have passed, the calls while it stays silent fail within the connect timeout, and the
// first call after it answers again works. On Windows this is the library's own wait on the socket.
TEST(ServerSilence, CallsFailWithinTheTimeoutsAndWorkAgainOnceTheServerAnswers)
{
    using Clock = std::chrono::steady_clock;
    if (!std::filesystem::exists(MORU_SAMPLE_CONFIG)) GTEST_SKIP() << "no sample database was built";
    if (auto absent = ServerAbsent()) GTEST_SKIP() << *absent;
    ASSERT_TRUE(SampleOnServer()) << "moru-db push did not load the sample database";
    const int port = std::stoi(ReadLine("port").value_or("0"));
#ifdef MORU_TEST_POSTGRES_TCP
    Relay relay(port);
#else
    Relay relay(port, ReadLine("host").value_or("") + "/.s.PGSQL." + std::to_string(port));
#endif
    ASSERT_NE(0, relay.Port());
    SetEnvironment("MORU_PG_STATEMENT_TIMEOUT", "1"); // answers are awaited 1 + 5 s
    SetEnvironment("MORU_PG_CONNECT_TIMEOUT", "2");
    const std::string url = "postgresql://moru_reader@127.0.0.1:" + std::to_string(relay.Port()) + "/postgres";
    ASSERT_TRUE(ConnectAndList(WriteServerConfiguration("relayed.json", "moru-reader-password", url)));
    ASSERT_TRUE(Find("7732-18-5", "CASRN"));

    relay.Hold(true);
    auto start = Clock::now();
    EXPECT_FALSE(Find("7732-18-5", "CASRN"));
    const auto underWay = Clock::now() - start;
    EXPECT_GE(underWay, std::chrono::seconds(5));
    EXPECT_LT(underWay, std::chrono::seconds(20));
    start = Clock::now();
    EXPECT_FALSE(Find("Benzene"));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));

    relay.Hold(false);
    const auto water = Find("7732-18-5", "CASRN");
    ASSERT_TRUE(water);
    EXPECT_EQ("SAMPLE", water->database);

    SetEnvironment("MORU_PG_STATEMENT_TIMEOUT", "");
    SetEnvironment("MORU_PG_CONNECT_TIMEOUT", "");
    ConnectAndList(MORU_SAMPLE_CONFIG);
}

#endif

} // namespace
