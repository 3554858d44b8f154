// Databanks restricted to some roles on the server: the same schema read through the exports by a
// role that may read the restricted databanks and by one that may not.

#include "HostSession.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace moru::host;

// Native builds only: the restricted schema is loaded by the tool from the test.
#if defined(MORU_TEST_POSTGRES_DIR) && defined(MORU_DB_PROGRAM)
namespace {

std::optional<std::string> ReadServerLine(const char* name)
{
    std::ifstream file(std::filesystem::path(MORU_TEST_POSTGRES_DIR) / name);
    std::string line;
    if (!file || !std::getline(file, line)) return std::nullopt;
    return line;
}

std::string UrlOf(const std::string& user)
{
    std::string host;
    for (char c : ReadServerLine("host").value_or("")) host += c == '/' ? std::string("%2F") : std::string(1, c);
    return "postgresql://" + user + "@" + host + ":" + ReadServerLine("port").value_or("") + "/postgres";
}

// OPEN is every reader's; SECRET (pure), SECRETBIN (binary) and SECRETRX (reactions) only the
// partner's. SECRETOL belongs to SECRET alone, WATER to OPEN as well.
constexpr const char* kSource = R"JSON({
  "format": "moru-property-db 1",
  "database": {"alias": "ACCESS", "version": 1},
  "properties": [
    {"name": "TB", "dataType": 1, "interactionType": 0, "elementCount": 1,
     "units": [{"row": "TEMPERATURE", "default": "K"}]},
    {"name": "NRTL", "dataType": 1, "interactionType": 1, "elementCount": 1,
     "elements": [{"ij": 1, "ji": 2, "symmetry": 0}]}
  ],
  "compounds": [
    {"id": 1, "identifiers": {"NAME": ["WATER"], "CASRN": ["7732-18-5"]}, "structures": [{"type": 2, "text": "O"}]},
    {"id": 2, "identifiers": {"NAME": ["SECRETOL"], "CASRN": ["50-00-0"]}, "structures": [{"type": 2, "text": "C=O"}]}
  ],
  "databanks": [
    {"name": "OPEN", "id": 1, "compounds": [1], "values": [{"property": "TB", "compound": 1, "numbers": [373.15]}]},
    {"name": "SECRET", "id": 2, "compounds": [1, 2],
     "values": [{"property": "TB", "compound": 1, "numbers": [373.0]},
                {"property": "TB", "compound": 2, "numbers": [254.0]}]},
    {"name": "SECRETBIN", "id": 3, "binaryInfo": [{"parameter": "NRTL", "gammaModel": "NRTL"}], "compounds": [1, 2],
     "values": [{"property": "NRTL", "compounds": [1, 2], "labels": [1, 2], "numbers": [1.5, 2.5]}]},
    {"name": "SECRETRX", "id": 4, "compounds": [1],
     "reactions": [{"id": 1, "type": "DISS", "basis": "MOLALITY",
                    "species": [{"name": "H2O", "compound": 1, "coefficient": -1}, {"name": "H+", "coefficient": 1},
                                {"name": "OH-", "coefficient": 1}],
                    "eqConsts": [-14.0], "symmetricEqConsts": []}]}
  ]
})JSON";

std::filesystem::path Directory() { return std::filesystem::temp_directory_path() / "moru-e2e-access"; }

std::set<std::string>* listed = nullptr;

int MORU_CALL Record(const char* databankName, const char* databaseAlias, const char*, const char*, const char*,
                     const char*, int, const char*, const char*, const char*, int, int, int)
{
    if (listed) listed->insert(std::string(databaseAlias) + "." + databankName);
    return 0;
}
constexpr MoruDatabankInfoCallback kRecord = &Record;

// READER connects as moru_reader, PARTNER as moru_partner, both to the same schema.
class RestrictedDatabanks : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (ReadServerLine("absent") || !ReadServerLine("host")) return;
        std::filesystem::create_directories(Directory());
        std::ofstream(Directory() / "access.json") << kSource;
        const std::string push = std::string("\"") + MORU_DB_PROGRAM + "\" push \"" +
                                 (Directory() / "access.json").string() + "\" \"" + UrlOf("postgres") +
                                 "\" --schema e2e_access --grant moru_reader --restrict SECRET=moru_partner "
                                 "--restrict SECRETBIN=moru_partner --restrict SECRETRX=moru_partner >/dev/null";
        pushed = std::system(push.c_str()) == 0;
        std::ofstream(Directory() / "databases.json")
            << R"({"databases": [{"alias": "READER", "url": ")" << UrlOf("moru_reader")
            << R"(", "schema": "e2e_access", "password": "moru-reader-password"}, {"alias": "PARTNER", "url": ")"
            << UrlOf("moru_partner") << R"(", "schema": "e2e_access", "password": "moru-partner-password"}]})";
    }
    static void TearDownTestSuite()
    {
        if (pushed && std::filesystem::exists(MORU_SAMPLE_CONFIG)) ConnectAndList(MORU_SAMPLE_CONFIG);
        std::error_code ignored;
        std::filesystem::remove_all(Directory(), ignored);
    }
    void SetUp() override
    {
        if (auto absent = ReadServerLine("absent")) GTEST_SKIP() << *absent;
        if (!ReadServerLine("host")) GTEST_SKIP() << "no test server is running (ctest starts one)";
        ASSERT_TRUE(pushed) << "moru-db push did not load the database";
#ifndef _WIN32
        HostLibrary::Instance(LibraryFileIn(MORU_LIBRARY_DIR));
#endif
        const std::string config = (Directory() / "databases.json").string();
        int size = 0, success = 0, codes = 0;
        const int messages =
            MORU_EXPORT_OF(InitVNFromConfigFileWithReturnMsgs)(config.c_str(), "", &size, &success, &codes);
        MORU_EXPORT_OF(Databank_ReleaseHandle)(messages);
        MORU_EXPORT_OF(Databank_ReleaseHandle)(codes);
        ASSERT_EQ(1, success);
        std::set<std::string> names;
        listed = &names;
        MORU_EXPORT_OF(ListMoruDatabanks_Vanta)(reinterpret_cast<void*>(kRecord));
        listed = nullptr;
        databanks = names;
    }

    static inline bool pushed = false;
    std::set<std::string> databanks;
};

TEST_F(RestrictedDatabanks, ARoleWithoutTheGrantDoesNotSeeThemListed)
{
    EXPECT_EQ((std::set<std::string>{"PARTNER.OPEN", "PARTNER.SECRET", "PARTNER.SECRETBIN", "PARTNER.SECRETRX",
                                     "READER.OPEN"}),
              databanks);
}

TEST_F(RestrictedDatabanks, ARoleWithoutTheGrantCannotSearchThem)
{
    for (const char* database : {"READER", "PARTNER"}) {
        const std::string bank = std::string(database) + ".SECRET";
        const char* source[] = {bank.c_str(), nullptr};
        int handle = 0;
        const int found = MORU_EXPORT_OF(FoundCompounds_Find)(source, "SECRETOL", nullptr, &handle);
        EXPECT_EQ(std::string(database) == "PARTNER" ? 1 : 0, found) << database;
        MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle);
        int compounds = 0, count = 0;
        EXPECT_EQ(std::string(database) == "PARTNER" ? 1 : 0,
                  MORU_EXPORT_OF(GetAllCompounds)(source, &compounds, &count))
            << database;
        MORU_EXPORT_OF(GetAllCompounds_ReleaseHandle)(compounds);
    }
}

TEST_F(RestrictedDatabanks, ARoleWithoutTheGrantReadsNoneOfTheirValues)
{
    // Pure values.
    for (const char* database : {"READER", "PARTNER"}) {
        int handle = 0;
        const int asked = MORU_EXPORT_OF(CompoundProperties_GetCompoundProperty)(database, "SECRET", "SECRETOL", "NAME",
                                                                                 "TB", &handle);
        if (std::string(database) == "READER") {
            EXPECT_EQ(0, asked);
            EXPECT_EQ(0, handle);
            continue;
        }
        ASSERT_EQ(1, asked);
        ASSERT_NE(0, handle);
        double tb = 0;
        EXPECT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_ValueVector)(handle, &tb));
        EXPECT_EQ(254.0, tb);
        MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(handle);
    }
    // The open databank reads alike for both.
    for (const char* database : {"READER", "PARTNER"}) {
        int handle = 0;
        ASSERT_EQ(1, MORU_EXPORT_OF(CompoundProperties_GetCompoundProperty)(database, "OPEN", "WATER", "NAME", "TB",
                                                                            &handle));
        double tb = 0;
        EXPECT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_ValueVector)(handle, &tb));
        EXPECT_EQ(373.15, tb) << database;
        MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(handle);
    }
    // Binary values.
    for (const char* database : {"READER", "PARTNER"}) {
        int condensed = 0, handle = 0;
        const int asked = MORU_EXPORT_OF(InteractionParameters_GetBinaryIp)(database, "SECRETBIN", "NRTL", "WATER",
                                                                            "SECRETOL", "NAME", &condensed, &handle);
        EXPECT_EQ(std::string(database) == "PARTNER" ? 1 : 0, asked) << database;
        EXPECT_EQ(std::string(database) == "PARTNER", handle != 0) << database;
        MORU_EXPORT_OF(BinaryPropertyValueObjects_ReleaseHandle)(handle);
    }
}

TEST_F(RestrictedDatabanks, ARoleWithoutTheGrantGetsNothingFromTheBulkPass)
{
    const char* compounds[] = {"WATER", "SECRETOL", nullptr};
    const char* properties[] = {"TB", nullptr};
    const char* readerSources[] = {"READER.SECRET", nullptr};
    EXPECT_EQ(0, MORU_EXPORT_OF(Optimized_InitializeAllLists)(readerSources, compounds, properties));
    MORU_EXPORT_OF(Optimized_UnInitializeAllLists)();
    const char* partnerSources[] = {"PARTNER.SECRET", nullptr};
    ASSERT_EQ(1, MORU_EXPORT_OF(Optimized_InitializeAllLists)(partnerSources, compounds, properties));
    int found = 0, values = 0;
    EXPECT_EQ(2, MORU_EXPORT_OF(Optimized_GetAllCompoundsIdentifiers)(&found));
    EXPECT_EQ(2, MORU_EXPORT_OF(Optimized_GetAllScalarPropertyValues)(&values));
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(found);
    MORU_EXPORT_OF(Optimized_ReleaseHandle)(values);
    MORU_EXPORT_OF(Optimized_UnInitializeAllLists)();
}

TEST_F(RestrictedDatabanks, ARoleWithoutTheGrantReadsNeitherTheirReactionsNorTheStructuresOfTheirOwnCompounds)
{
    const char* compounds[] = {"WATER", nullptr};
    for (const char* database : {"READER", "PARTNER"}) {
        const std::string bank = std::string(database) + ".SECRETRX";
        const char* banks[] = {bank.c_str(), nullptr};
        int handle = 0;
        const int reactions = MORU_EXPORT_OF(Reactions_GetAllReactionObjects)(compounds, banks, "NAME", 0, &handle);
        EXPECT_EQ(std::string(database) == "PARTNER" ? 1 : -1, reactions) << database;
        MORU_EXPORT_OF(Reactions_ReleaseHandle)(handle);
    }
    char structure[4097];
    for (const char* database : {"READER", "PARTNER"}) {
        // WATER belongs to a databank that both see; SECRETOL only to a restricted one.
        ASSERT_TRUE(MORU_EXPORT_OF(GetMolecularStructureString)(database, "WATER", "NAME", 2, structure));
        EXPECT_STREQ("O", structure) << database;
        ASSERT_TRUE(MORU_EXPORT_OF(GetMolecularStructureString)(database, "SECRETOL", "NAME", 2, structure));
        EXPECT_STREQ(std::string(database) == "PARTNER" ? "C=O" : "", structure) << database;
    }
}

} // namespace
#endif
