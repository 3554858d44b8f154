// The library reads database files that other programs may write at any time: it writes nothing
// beside or into a database, and holds no lock on it between calls, so that a writer gets through
// and the next call reads what it wrote.

#include "HostSession.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

using namespace moru::host;

namespace {

namespace fs = std::filesystem;

// A copy of the sample database of its own, in a folder of its own, with its configuration.
class FileAccess : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(MORU_SAMPLE_CONFIG)) GTEST_SKIP() << "no sample database was built";
        directory = fs::temp_directory_path() /
                    ("moru-e2e-file-access-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        fs::remove_all(directory);
        fs::create_directories(directory);
        fs::copy_file(fs::path(MORU_SAMPLE_CONFIG).parent_path() / "sample.db", directory / "copy.db");
        std::ofstream(directory / "databases.json") << "{\"databases\": [{\"alias\": \"COPY\", \"path\": \""
                                                    << HostPath((directory / "copy.db").generic_string()) << "\"}]}";
    }
    void TearDown() override
    {
        if (directory.empty()) return;
        ConnectAndList(MORU_SAMPLE_CONFIG); // the other suites' databases, and this copy closed
        fs::remove_all(directory);
    }

    // The names in the folder.
    std::set<std::string> Files() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(directory)) names.insert(entry.path().filename().string());
        return names;
    }

    // Runs `sqlText` on a connection of this test's own, as another program would; the SQLite result.
    int Write(const char* sqlText) const
    {
        sqlite3* db = nullptr;
        int result = sqlite3_open((directory / "copy.db").string().c_str(), &db);
        if (result == SQLITE_OK) result = sqlite3_exec(db, sqlText, nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return result;
    }

    // The name of the compound with CAS number 64-17-5; empty when the search fails.
    static std::string NameOfEthanol()
    {
        const char* source[] = {"COPY.PURE", nullptr};
        int handle = 0;
        if (MORU_EXPORT_OF(FoundCompounds_FindByIdentifierType)(source, "64-17-5", "CASRN", nullptr, &handle) != 1)
            return "";
        char db[256], bank[256], name[256] = "", alias[256], cas[256], property[256];
        int index = 0;
        double value = 0;
        MORU_EXPORT_OF(FoundCompounds_GetObjectDetails)(handle, db, bank, &index, name, alias, cas, property, &value);
        MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle);
        return name;
    }

    // Calls that read the file in several ways and keep nothing open on purpose.
    static void ReadAround()
    {
        int types = 0, table = 0;
        MORU_EXPORT_OF(Databank_GetDatabankTypeAndPropertyList)("COPY", "PURE", &types, &table);
        MORU_EXPORT_OF(Databank_ReleaseHandle)(table);
        int enumerator = 0;
        MORU_EXPORT_OF(CompoundProperties_GetAllCompoundProperties)("COPY", "PURE", "64-17-5", "CASRN", &enumerator);
        MORU_EXPORT_OF(PropertyValueCollectionEnum_MoveNext)(enumerator);
        MORU_EXPORT_OF(PropertyValueCollectionEnum_ReleaseHandle)(enumerator);
        int index = 0;
        MORU_EXPORT_OF(GetCompidFromIdInDbank)("COPY", "PURE", "NAME", "water", &index);
        char structure[4097];
        MORU_EXPORT_OF(GetMolecularStructureString)("COPY", "ethanol", "NAME", 2, structure);
    }

    fs::path directory;
};

TEST_F(FileAccess, AnotherProgramWritesBetweenCallsAndTheNextCallReadsIt)
{
    ASSERT_TRUE(ConnectAndList((directory / "databases.json").generic_string()));
    ASSERT_EQ(NameOfEthanol(), "Ethanol");
    ReadAround();
    EXPECT_EQ(Write("PRAGMA busy_timeout = 0; UPDATE identifier SET value = 'renamed ethanol' WHERE type = 'NAME' AND "
                    "compound_id = (SELECT compound_id FROM identifier WHERE type = 'CASRN' AND value = '64-17-5')"),
              SQLITE_OK);
    EXPECT_EQ(NameOfEthanol(), "renamed ethanol");
    EXPECT_EQ(Files(), (std::set<std::string>{"copy.db", "databases.json"}));
}

// Reading a database in write-ahead-log mode would make and write its log and index beside it.
TEST_F(FileAccess, ADatabaseInWriteAheadLogModeIsRefusedAndNothingIsWrittenBesideIt)
{
    ASSERT_EQ(Write("PRAGMA journal_mode = WAL"), SQLITE_OK);
    ASSERT_EQ(Files(), (std::set<std::string>{"copy.db", "databases.json"}));
    const auto before = fs::last_write_time(directory / "copy.db");
    int size = 0, success = 0, codes = 0;
    const std::string config = HostPath((directory / "databases.json").generic_string());
    const int messages =
        MORU_EXPORT_OF(InitVNFromConfigFileWithReturnMsgs)(config.c_str(), "", &size, &success, &codes);
    EXPECT_EQ(success, 0);
    EXPECT_EQ(MORU_EXPORT_OF(GetNextDatabaseSuccessCode)(codes, 0), 2);
    const int bytes = MORU_EXPORT_OF(GetNextDatabaseErrorMessageSize)(messages, 0);
    ASSERT_GT(bytes, 1);
    std::string message(static_cast<std::size_t>(bytes), '\0');
    MORU_EXPORT_OF(GetNextDatabaseErrorMessage)(messages, 0, message.data(), bytes);
    EXPECT_NE(message.find("write-ahead-log mode"), std::string::npos) << message;
    MORU_EXPORT_OF(Databank_ReleaseHandle)(messages);
    MORU_EXPORT_OF(Databank_ReleaseHandle)(codes);
    EXPECT_EQ(Files(), (std::set<std::string>{"copy.db", "databases.json"}));
    EXPECT_EQ(fs::last_write_time(directory / "copy.db"), before);
}

} // namespace
