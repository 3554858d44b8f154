#include "HostLibrary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace moru::host;

namespace {

struct ListedDatabank {
    std::string database, databank;
    int pureInfo, binaryCount, reactionCount, simulator, viewer;
};
std::vector<ListedDatabank> g_listed;
std::vector<std::string> g_binaryParameters;

int MORU_CALL OnDatabank(const char* bank, const char* alias, const char*, const char*, const char*, const char*, int,
                         const char*, const char*, const char*, int pure, int binaryCount, int reactions, int simulator,
                         int viewer)
{
    g_listed.push_back(
        {alias ? alias : "<null>", bank ? bank : "<null>", pure, binaryCount, reactions, simulator, viewer});
    return 0;
}

int MORU_CALL OnBinaryParameter(const char* alias, const char* bank, const char* parameter, const char*, const char*)
{
    g_binaryParameters.push_back(std::string(alias) + "." + bank + ":" + parameter);
    return 0;
}

int MORU_CALL OnDatabankNameOnly(const char*, const char*, const char*, const char*, const char*, const char*, int,
                                 const char*, const char*, const char*, int, int, int)
{
    return 0;
}

class SampleDatabase : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!std::filesystem::exists(MORU_SAMPLE_CONFIG)) return;
#ifndef _WIN32
        HostLibrary::Instance(LibraryFileIn(MORU_LIBRARY_DIR));
#endif
        int size = 0, success = 0, codes = 0;
        const std::string config = HostPath(MORU_SAMPLE_CONFIG);
        const int messages =
            MORU_EXPORT_OF(InitVNFromConfigFileWithReturnMsgs)(config.c_str(), "", &size, &success, &codes);
        connected = success == 1;
        MORU_EXPORT_OF(Reactions_ReleaseHandle)(messages);
        MORU_EXPORT_OF(Reactions_ReleaseHandle)(codes);
        g_listed.clear();
        MORU_EXPORT_OF(ListMoruDatabanks_WithDBAccessFlag)
        (reinterpret_cast<void*>(&OnDatabank), nullptr, reinterpret_cast<void*>(&OnBinaryParameter), 1);
    }
    void SetUp() override
    {
        if (!std::filesystem::exists(MORU_SAMPLE_CONFIG)) GTEST_SKIP() << "no sample database was built";
        ASSERT_TRUE(connected);
    }

    struct Hit {
        std::string database, databank, name, alias, cas;
        int index = -1;
    };
    static std::optional<Hit> Find(const char* text, const char* type = nullptr)
    {
        const char* source[] = {"SAMPLE.PURE", nullptr};
        int handle = 0;
        const int found =
            type ? MORU_EXPORT_OF(FoundCompounds_FindByIdentifierType)(source, text, type, nullptr, &handle)
                 : MORU_EXPORT_OF(FoundCompounds_Find)(source, text, nullptr, &handle);
        if (!found) return std::nullopt;
        char db[256], bank[256], name[256], alias[256], cas[256], prop[256];
        double value = 0;
        Hit hit;
        const int details = MORU_EXPORT_OF(FoundCompounds_GetObjectDetails)(handle, db, bank, &hit.index, name, alias,
                                                                            cas, prop, &value);
        MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle);
        if (details != 1) return std::nullopt;
        hit.database = db;
        hit.databank = bank;
        hit.name = name;
        hit.alias = alias;
        hit.cas = cas;
        return hit;
    }

    static inline bool connected = false;
};

} // namespace

TEST_F(SampleDatabase, ListsItsDatabanksThroughStdcallCallbacks)
{
    std::set<std::string> names;
    for (const auto& databank : g_listed) {
        EXPECT_EQ(databank.database, "SAMPLE");
        EXPECT_EQ(databank.simulator, 1);
        EXPECT_EQ(databank.viewer, 1);
        names.insert(databank.databank);
    }
    EXPECT_TRUE(names.count("PURE"));
    EXPECT_TRUE(names.count("NRTL-SAMPLE"));
    EXPECT_FALSE(g_binaryParameters.empty());
    for (const auto& databank : g_listed) {
        if (databank.databank == "NRTL-SAMPLE") {
            EXPECT_GE(databank.binaryCount, 1);
        } else if (databank.databank == "PURE") {
            EXPECT_EQ(databank.pureInfo, 1);
        } else if (databank.databank == "AQUEOUS") {
            EXPECT_GE(databank.reactionCount, 1);
        }
    }
}

TEST_F(SampleDatabase, ReadsADatabanksTypeAndPropertyNames)
{
    int type = -1, table = 0;
    const int count = MORU_EXPORT_OF(Databank_GetDatabankTypeAndPropertyList)("sample", "pure", &type, &table);
    ASSERT_GT(count, 0);
    EXPECT_EQ(type, 1);
    std::set<std::string> names;
    char name[512];
    int position = 0;
    for (int result; (result = MORU_EXPORT_OF(Databank_GetNextPropertyName)(table, position, name)) != -1; ++position) {
        if (result == 1) names.insert(name);
    }
    EXPECT_EQ(position, count);
    EXPECT_TRUE(names.count("MW"));
    MORU_EXPORT_OF(Databank_ReleaseHandle)(table);

    MORU_EXPORT_OF(Databank_GetDatabankTypeAndPropertyList)("SAMPLE", "NRTL-SAMPLE", &type, &table);
    EXPECT_EQ(type, 2);
    MORU_EXPORT_OF(Databank_ReleaseHandle)(table);
}

TEST_F(SampleDatabase, FindsACompoundByCasNumberNameAndAlias)
{
    const auto byCas = Find("7732-18-5", "CASRN");
    ASSERT_TRUE(byCas);
    EXPECT_EQ(byCas->database, "SAMPLE");
    EXPECT_EQ(byCas->databank, "PURE");
    EXPECT_EQ(byCas->cas, "7732-18-5");
    ASSERT_FALSE(byCas->name.empty());

    const auto byName = Find(byCas->name.c_str());
    ASSERT_TRUE(byName);
    EXPECT_EQ(byName->index, byCas->index);
    if (!byCas->alias.empty()) {
        const auto byAlias = Find(byCas->alias.c_str(), "ALIAS");
        ASSERT_TRUE(byAlias);
        EXPECT_EQ(byAlias->index, byCas->index);
    }
    EXPECT_FALSE(Find("no such compound"));
    EXPECT_FALSE(Find("O'Brien's acid"));
}

TEST_F(SampleDatabase, EnumeratesAllCompounds)
{
    const char* source[] = {"SAMPLE.PURE", nullptr};
    int handle = 0, count = 0;
    ASSERT_EQ(MORU_EXPORT_OF(GetAllCompounds)(source, &handle, &count), 1);
    EXPECT_GT(count, 100);
    char name[256], alias[256], cas[256];
    int named = 0;
    for (int i = 0; i < count; ++i) {
        if (MORU_EXPORT_OF(GetAllCompounds_Identifiers)(handle, i, name, alias, cas) == 1 && name[0]) ++named;
    }
    EXPECT_EQ(named, count);
    EXPECT_EQ(MORU_EXPORT_OF(GetAllCompounds_Identifiers)(handle, count, name, alias, cas), 0);
    MORU_EXPORT_OF(GetAllCompounds_ReleaseHandle)(handle);

    int collection = 0, enumerator = 0, walked = 0;
    MORU_EXPORT_OF(Databank_GetIdentifiersOfCompoundsWithData)("SAMPLE", "PURE", &collection);
    ASSERT_NE(collection, 0);
    MORU_EXPORT_OF(CompoundCollection_GetEnumerator)(collection, &enumerator);
    MORU_EXPORT_OF(CompoundCollection_ReleaseHandle)(collection);
    int index = 0;
    while (MORU_EXPORT_OF(CompoundCollectionEnum_MoveNext)(enumerator) == 1) {
        ASSERT_EQ(
            MORU_EXPORT_OF(CompoundCollectionEnum_GetItem)(enumerator, &index, name, sizeof name, alias, sizeof alias),
            1);
        ++walked;
    }
    EXPECT_EQ(walked, count);
    MORU_EXPORT_OF(CompoundCollectionEnum_ReleaseHandle)(enumerator);
}

TEST_F(SampleDatabase, ConvertsAnIndexToANameAndBack)
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
    MORU_EXPORT_OF(GetCompidFromIdInDbank)("SAMPLE", "PURE", "NAME", "O'Brien's acid", &index);
    EXPECT_EQ(index, 0);
}

TEST_F(SampleDatabase, OneGoodAndOneMissingDatabase)
{
    const auto directory = std::filesystem::temp_directory_path() / "moru-e2e-two-databases";
    std::filesystem::create_directories(directory);
    const auto sampleDb = std::filesystem::path(MORU_SAMPLE_CONFIG).parent_path() / "sample.db";
    std::ofstream(directory / "databases.json")
        << "{\"databases\": [{\"alias\": \"GOOD\", \"path\": \"" << HostPath(sampleDb.generic_string())
        << "\"}, {\"alias\": \"GONE\", \"path\": \"missing.db\"}]}";
    int size = 0, success = 0, codes = 0;
    const std::string config = HostPath((directory / "databases.json").generic_string());
    const int messages =
        MORU_EXPORT_OF(InitVNFromConfigFileWithReturnMsgs)(config.c_str(), "", &size, &success, &codes);
    EXPECT_EQ(size, 2);
    EXPECT_EQ(success, 1);
    std::multiset<int> results = {MORU_EXPORT_OF(GetNextDatabaseSuccessCode)(codes, 0),
                                  MORU_EXPORT_OF(GetNextDatabaseSuccessCode)(codes, 1)};
    EXPECT_EQ(results, (std::multiset<int>{0, 2}));
    for (int position = 0; position < size; ++position) {
        const int bytes = MORU_EXPORT_OF(GetNextDatabaseErrorMessageSize)(messages, position);
        ASSERT_GT(bytes, 1);
        std::string message(static_cast<std::size_t>(bytes), '\0');
        EXPECT_EQ(MORU_EXPORT_OF(GetNextDatabaseErrorMessage)(messages, position, message.data(), bytes), 1);
    }
    MORU_EXPORT_OF(Reactions_ReleaseHandle)(messages);
    MORU_EXPORT_OF(Reactions_ReleaseHandle)(codes);
    std::filesystem::remove_all(directory);
    // The catalogue entries of the replaced sample database resolve no more.
    EXPECT_FALSE(Find("water"));
    // Back to the sample configuration, listed again, for the other tests.
    const std::string sample = HostPath(MORU_SAMPLE_CONFIG);
    EXPECT_EQ(MORU_EXPORT_OF(InitializeVNFromConfigFile)(sample.c_str(), ""), 1);
    MORU_EXPORT_OF(ListMoruDatabanks_Vanta)(reinterpret_cast<void*>(&OnDatabankNameOnly));
}

TEST_F(SampleDatabase, BadInputGetsDefinedResults)
{
    EXPECT_EQ(MORU_EXPORT_OF(InitVNFromConfigFileWithReturnMsgs)("x", "", nullptr, nullptr, nullptr), 0);
    MORU_EXPORT_OF(ListMoruDatabanks)(nullptr, nullptr, nullptr);
    EXPECT_TRUE(Find("water")) << "a listing without callbacks changes nothing";
    int handle = -1;
    EXPECT_EQ(MORU_EXPORT_OF(FoundCompounds_Find)(nullptr, "water", nullptr, &handle), 0);
    const char* badSource[] = {"SAMPLEPURE", nullptr};
    EXPECT_EQ(MORU_EXPORT_OF(FoundCompounds_Find)(badSource, "water", nullptr, &handle), 0);
    EXPECT_EQ(MORU_EXPORT_OF(GetNextDatabaseSuccessCode)(12345, 0), -1);
    char name[8];
    EXPECT_EQ(MORU_EXPORT_OF(Databank_GetNextPropertyName)(12345, 0, name), 0);
}

TEST_F(SampleDatabase, MalformedAndHugeTextsFindNothingAndBreakNothing)
{
    // Truncated and stray UTF-8 sequences, at the end of the text too, and a text of 4 MB.
    for (const char* text : {"\xC3", "water\xE2\x82", "\x80\x80", "\xFF\xFEwater", "W\xC3\x28TER"})
        EXPECT_FALSE(Find(text)) << text;
    const std::string huge(4 << 20, 'A');
    EXPECT_FALSE(Find(huge.c_str()));
    EXPECT_FALSE(Find(huge.c_str(), "NAME"));
    int index = -1;
    MORU_EXPORT_OF(GetCompidFromIdInDbank)("SAMPLE", "PURE", "NAME", huge.c_str(), &index);
    EXPECT_EQ(index, 0);
    char value[64];
    EXPECT_EQ(MORU_EXPORT_OF(GetDescription)(huge.c_str(), value, sizeof value), 0);
    EXPECT_TRUE(Find("water"));
}

TEST_F(SampleDatabase, LifeCycleCallsKeepHandlesAndTheSession)
{
    const char* source[] = {"SAMPLE.PURE", nullptr};
    int handle = 0, count = 0;
    ASSERT_EQ(MORU_EXPORT_OF(GetAllCompounds)(source, &handle, &count), 1);
    MORU_EXPORT_OF(DllEnsureInit)();
    MORU_EXPORT_OF(DllForceTerm)();
    char name[256], alias[256], cas[256];
    EXPECT_EQ(MORU_EXPORT_OF(GetAllCompounds_Identifiers)(handle, 0, name, alias, cas), 1);
    MORU_EXPORT_OF(GetAllCompounds_ReleaseHandle)(handle);
    EXPECT_TRUE(Find("water"));
}

TEST_F(SampleDatabase, LetterCaseDoesNotMatterForAsciiNames)
{
    // Z is the last letter of the alphabet: a folding that stops short of it loses these.
    const auto benzene = Find("Benzene");
    ASSERT_TRUE(benzene);
    EXPECT_EQ(benzene->name, "Benzene");
    EXPECT_EQ(Find("BENZENE").value().index, benzene->index);
    EXPECT_EQ(Find("bEnZeNe").value().index, benzene->index);
    EXPECT_EQ(Find("BENZENE", "name").value().index, benzene->index);
}

TEST_F(SampleDatabase, TheSessionLeavesTheDatabaseFileByteIdentical)
{
    const auto sampleDb = std::filesystem::path(MORU_SAMPLE_CONFIG).parent_path() / "sample.db";
    const auto read = [&] {
        std::ifstream file(sampleDb, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    const std::string before = read();
    const auto modified = std::filesystem::last_write_time(sampleDb);
    // Connect again, list, search and enumerate: everything a session does to a database.
    const std::string config = HostPath(MORU_SAMPLE_CONFIG);
    ASSERT_EQ(MORU_EXPORT_OF(InitializeVNFromConfigFile)(config.c_str(), ""), 1);
    MORU_EXPORT_OF(ListMoruDatabanks_WithDBAccessFlag)
    (reinterpret_cast<void*>(&OnDatabank), nullptr, reinterpret_cast<void*>(&OnBinaryParameter), 1);
    EXPECT_TRUE(Find("water"));
    const char* source[] = {"SAMPLE.PURE", nullptr};
    int handle = 0, count = 0;
    ASSERT_EQ(MORU_EXPORT_OF(GetAllCompounds)(source, &handle, &count), 1);
    MORU_EXPORT_OF(GetAllCompounds_ReleaseHandle)(handle);
    EXPECT_EQ(read(), before);
    EXPECT_EQ(std::filesystem::last_write_time(sampleDb), modified);
    for (const char* leftover : {"-journal", "-wal", "-shm"})
        EXPECT_FALSE(std::filesystem::exists(sampleDb.string() + leftover)) << leftover;
}

TEST_F(SampleDatabase, NonAsciiSearchTextsAreData)
{
#ifdef _WIN32
    // Code page 1252 has no Greek letters; an accented Latin letter must still pass through safely.
    EXPECT_FALSE(Find("caf\xE9 ol\xE9"));
#else
    const auto gaba = Find("\xCE\xB3-aminobutyric acid"); // a synonym with a Greek gamma
    ASSERT_TRUE(gaba);
    EXPECT_EQ(gaba->name, "4-Aminobutanoic acid");
    EXPECT_EQ(Find("4-aminobutanoic ACID").value().index, gaba->index); // letter case does not matter
#endif
}
